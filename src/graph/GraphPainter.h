#pragma once
// Paints the graph view's face into one image: the start screen, or the graph
// with its axes, grid, curves, legends, frame and cursor readout. The widget
// keeps the image, copies it to the screen in one step, and for the quick
// changes between two full paints (a real-time point, the cursor, the rubber
// band, the readout) asks for just that change, getting back the rectangle
// to update.
//
// Typical use by a widget:
//   paint:         painter.Paint(image, model, doc);           // image = client size
//   mouse move:    painter.ApplyCursorMove(image, model.state, MoveCursor(model, doc, x, y));
//   drag:          painter.ApplyBandUpdate(image, MoveDrag(model.state, x, y));
//   real time:     if (IncrementalUpdate(model, doc) == IncrementalAction::DrawNewest)
//                    update(painter.PaintNewestSegments(image, model, doc));
#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <memory>

#include "data/CDTDoc.h"
#include "graph/geometry/EventBands.h"
#include "graph/geometry/GraphFrame.h"
#include "graph/geometry/Readout.h"
#include "graph/geometry/Segments.h"
#include "graph/geometry/Zoom.h"

class QPainter;
class QPaintDevice;

namespace acv {

// The system's button-face colour, used for the grey box and the readout.
inline const QColor kButtonFace(240, 240, 240);
// Start screen background (grey) and the colour of its words.
inline const QColor kStartScreenBackground(0xC8, 0xC8, 0xC8);
inline const QColor kStartScreenText(0x66, 0x7A, 0x9D);

// A 0x00BBGGRR colour value as a QColor.
QColor ToQColor(std::uint32_t bgr);

class GraphPainter {
 public:
  struct Options {
    QColor buttonFace = kButtonFace;
    bool printing = false;  // white strip on top, black bar under the readout
    // Merge the segments inside a pixel column into one span (same pixels,
    // far fewer lines); off draws every segment, for comparison.
    bool decimate = true;
    // Write the curves' column spans and their short steps into the next
    // column straight into a 32-bit image (the same pixels QPainter gives
    // them, without its per-line set-up); off sends every line through
    // QPainter, for comparison.
    bool directSpans = true;
    // Events shaded under the curves, with their kinds in a legend under
    // the plot; none when null.
    std::shared_ptr<const EventShading> events;
    // The legend of the event kinds under the plot. On the screen the
    // horizontal scroll bar lies there, and the graph's toolbar shows the
    // legend instead.
    bool eventLegendUnderPlot = true;
  };

  GraphPainter();
  explicit GraphPainter(const Options& options);

  Options& options() { return options_; }

  // Paints the face of the state's displayMode into the whole image (the
  // image is the client area). A graph paint runs the geometry steps first.
  // An image with a device pixel ratio (a scaled screen) keeps the layout in
  // layout pixels and gets the finer raster: text, grid, curves and cursor
  // are drawn in device pixels. All rectangles returned are in layout pixels.
  void Paint(QImage& image, GraphModel& model, const CDTDoc& doc);
  // The same graph painted onto any device of that size (an SVG file: the
  // curves stay lines), with no direct pixel writes.
  void PaintVector(QPaintDevice& device, GraphModel& model, const CDTDoc& doc);

  // The real-time fast path: draws the newest segment of each shown channel
  // onto the picture of the last full paint. Returns the changed rectangle.
  QRect PaintNewestSegments(QImage& image, const GraphModel& model, const CDTDoc& doc);

  // The cursor line at x (dotted, inverting what lies under it, one device
  // pixel wide); drawing it again at the same x restores every pixel.
  QRect ToggleCursorLine(QImage& image, const GraphState& s, int x) const;
  // The rubber band (dotted focus-style frame, inverting); toggles like the cursor.
  QRect ToggleRubberBand(QImage& image, const Rect& band) const;
  // The readout bar with the state's readoutText.
  QRect PaintReadout(QImage& image, const GraphState& s);

  // Applies the screen changes of a cursor move or a drag move.
  QRect ApplyCursorMove(QImage& image, const GraphState& s, const CursorMove& move);
  QRect ApplyBandUpdate(QImage& image, const BandUpdate& update) const;

 private:
  void PaintStartScreen(QImage& image);
  // pixels: the device as an image when it is one (direct writes allowed).
  void PaintGraph(QPaintDevice& device, QImage* pixels, GraphModel& model, const CDTDoc& doc);
  void PaintBackdrop(QPainter& p, const GraphState& s);
  // Grid and ticks in the painter's pixels at the scale (device pixels of a
  // picture, layout pixels of a vector device).
  void PaintGrid(QPainter& p, const GraphState& s, const GraphFrame& frame, DeviceScale scale);
  void PaintTicks(QPainter& p, const GraphState& s, const GraphFrame& frame, DeviceScale scale);
  // Where curve lines may be written directly: the image's pixels
  // (null when they may not) and the rows and columns the curves may touch.
  struct PixelTarget {
    uchar* bits = nullptr;
    qsizetype stride = 0;
    QRect clip;
  };
  void PaintCurves(QPainter& p, const GraphModel& m, const SeriesSource& source,
                   const PixelTarget& target, DeviceScale scale);
  void PaintAxes(QPainter& p, const GraphState& s, const GraphFrame& frame);
  void PaintSurround(QPainter& p, const GraphState& s);
  void PaintLegends(QPainter& p, const GraphState& s);
  // The shown events' bands (clipped to the plot by the caller) and their legend.
  bool ShowsEvents(const GraphState& s) const;
  void PaintEventBands(QPainter& p, const GraphModel& m);
  void PaintEventLegend(QPainter& p, const GraphState& s);
  void DrawReadoutText(QPainter& p, const GraphState& s);
  // The solid lines of markers A and B in their colours down the plot, those
  // whose column lies within the rectangle (all when it is null).
  void PaintMarkers(QPainter& p, const GraphModel& m, const QRect& within) const;
  void DrawText(QPainter& p, int x, int y, const std::string& text, const QColor& colour);
  void EnsureFonts();
  // The image's pixels without its ratio, so that a painter on them works in
  // device pixels. Kept between paints: a painter's set-up on a new image
  // costs more than a real-time segment.
  QImage& DeviceView(QImage& image);

  Options options_;
  QImage deviceView_;
  bool fontsReady_ = false;
  QFont axisFont_;
  QFont readoutFont_;
  QFont startFont_;
  int axisAscent_ = 0;
  int readoutAscent_ = 0;
  int startAscent_ = 0;
  CurveBatch batch_;  // reused between paints
};

}  // namespace acv
