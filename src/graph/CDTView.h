#pragma once
// The graph view: the right-hand pane of the main window. Before any data are
// shown it is the start screen ("ELECTRIC POWER TEST" and the instrument
// button panel); afterwards it shows the display the main window chose, with
// axes, grid, legends, the cursor readout, the rubber-band zoom and the three
// scroll bars.
//
// The main window drives it through a few seams: Display()/ApplyDisplay()
// carry the display fields the mode commands set, ZoomReset() returns to the
// full view, FitRealTimeSpan() compresses the X axis during a run,
// RealTimePointAdded() is the incremental update after each new real-time
// point, and DataChanged() the repaint after any change of the data set.
// PlaceMarkerAOnGraphPoint() puts marker A on a chosen point (the Data List
// uses it); ZoomInAt() and ZoomOutOneLevel() zoom by one step.
//
// The pointer cursor, a dotted line inverting what lies under it, follows
// the mouse over the plot, and the readout under the plot shows the point
// nearest to it; it is for reading values and marks nothing.
//
// Markers A and B are the ends of a measured span, placed on purpose and
// drawn as solid lines in two colours of their own. A: a plain click on the
// plot (a press and release within a few pixels; a longer drag zooms), the
// arrow keys (with Shift ten points), Home and End (the first or last point
// on the screen). B: Shift+click, Alt+Left/Right (with Alt+Shift ten),
// Alt+Home/Alt+End. Delete or Alt+Backspace removes B, and then A. A marker
// not yet placed starts beside the other one. The markers' readout above the
// bar's right end names their points, says when one is off the screen, and
// with both adds the differences B - A (time and each shown channel). Both
// stay on their points through zooms, scrolls and pointer moves and go
// wherever the readout goes (another display, new data).
//
// The graph takes the keyboard focus by Tab and by a click and then shows a
// focus frame: Page Up/Down scroll a zoomed view, "+" zooms in around A (or
// the pointer cursor), "-" and Esc take back one zoom level.
//
// The face is painted by GraphPainter into one cached image that paintEvent
// copies to the screen. Quick changes (the cursor line, the rubber band, the
// readout, the newest real-time segment) are drawn onto that image and only
// their rectangle is updated; everything else marks the image stale, and the
// next paint renders it again from the data.
#include <QImage>
#include <QPoint>
#include <QPointer>
#include <QWidget>
#include <memory>
#include <utility>

#include "data/CDTDoc.h"
#include "data/Settings.h"
#include "frame/DisplayModes.h"
#include "graph/GraphPainter.h"
#include "graph/geometry/GraphKeys.h"
#include "graph/geometry/Markers.h"
#include "graph/geometry/PointBuffers.h"
#include "graph/geometry/Readout.h"

class QLabel;
class QScrollBar;
class QToolBar;

namespace acv {

class TimerHost;

// Timers of the graph view. Their ids differ from the main frame's (timer::)
// so that one timer host, such as a test's fake clock, can serve both.
namespace viewtimer {
inline constexpr int kResizeRepaint = 102;   // 50 ms once: repaint after a resize
inline constexpr int kDragWatch = 103;       // 10 ms: cancel a drag that left the plot
inline constexpr int kFirstZoomReset = 104;  // 50 ms once: zoom reset when the graph first shows
}  // namespace viewtimer

// Commands of the graph view's own toolbar.
namespace viewcmd {
inline constexpr int kZoomOut = 32792;
}  // namespace viewcmd

class CDTView : public QWidget {
  Q_OBJECT

 public:
  explicit CDTView(const CDTDoc& doc, QWidget* parent = nullptr);
  ~CDTView() override;

  // The start screen's button panel; the view places it while the start
  // screen is up and hides it as soon as a data display is painted.
  void SetStartScreenPanel(QWidget* panel);
  QWidget* StartScreenPanel() const { return startPanel_; }
  // The information panel: placed across the top, panelHeight pixels high,
  // while a data display is shown.
  void SetInfoPanel(QWidget* panel);

  // Colours and view options (settings "ColorInfo" and "VIEWInfo").
  void TakeSettings(const AppSettings& settings);

  // ---- the main window's seams ---------------------------------------------
  const DisplaySetup& Display() const { return setup_; }
  void ApplyDisplay(const DisplaySetup& setup);
  const InfoTexts& Info() const { return info_; }
  void SetInfoTexts(const InfoTexts& info);
  // The active display mode (None on the start screen).
  void SetDisplayMode(DisplayMode mode);
  DisplayMode Mode() const { return mode_; }
  void SetRealTimeStopped(bool stopped);

  // The events to shade under the curves (null: none).
  void SetEventShading(std::shared_ptr<const EventShading> shading);

  // Back to the full view of the current range.
  void ZoomReset();
  // The hidden plot-style choice of the View dialog.
  void SetPlotStyle(std::uint8_t style) { model_.state.plotStyle = style; }
  // A run is in progress: the X axis must hold this many points.
  void FitRealTimeSpan(int points);
  // One more real-time point: redraw what changed.
  void RealTimePointAdded();
  // The data set changed in any way: redraw everything.
  void DataChanged();

  // Puts marker A on the 0-based point of the graph (a TR record's samples
  // counted in the array of all records, as the Data List's rows give them)
  // and shows its readout; a zoomed view first scrolls the point into view.
  void PlaceMarkerAOnGraphPoint(qint64 index);
  // Zooms in around x as a drag of half the plot width would.
  void ZoomInAt(int x);
  // Takes back the last zoom; false when the view is not zoomed.
  bool ZoomOutOneLevel();

  // ---- markers A and B and the visible span, in points of the series the
  // display shows (0-based; a TR record's samples count from its first) ----
  // The marker's point, -1 when it is not placed.
  qint64 MarkerPoint(Marker which) const;
  // Puts the marker on the point as a click there would (a zoomed view
  // scrolls it into view); -1 removes it.
  void PlaceMarker(Marker which, qint64 index);
  // Zooms from the full view so that the points first..last fill the plot
  // with a margin of about a tenth of the span on each side, then puts A on
  // `first` and B on `last` (taken in order: A on the earlier point). The
  // pointer cursor never moves them afterwards.
  void ShowSpan(qint64 first, qint64 last);
  // The first and last point on the screen as last painted (first > last
  // when none is).
  std::pair<qint64, qint64> VisiblePoints() const;

  bool ShowsStartScreen() const { return setup_.displayMode == 0; }
  int ZoomResets() const { return zoomResets_; }

  // Commands of the graph toolbar; false for a command the view does not know.
  bool OnCommand(int commandId);
  // The view's timers (viewtimer::) are delivered here.
  void OnViewTimer(int id);
  // Replaces the view's own timers, e.g. by a fake clock in tests.
  void UseTimerHost(TimerHost* timers);

  // The face as it is on the screen now (rendered first when stale).
  const QImage& Picture();
  // The graph as shown (mode, zoom, cursor and readout) painted afresh, at
  // its size on the screen or another. A picture leaves out the band of the
  // information strip; `printing` keeps it as the white top strip of the
  // printed page (view size by default) and adds its black readout bar.
  QImage GraphPicture(bool printing, QSize size = {});
  // The graph's size on the screen: the view without the information strip.
  QSize GraphPictureSize() const;
  // Height of the information strip's band at the top of the view.
  int StripHeight() const;
  // The whole face painted onto a device (an SVG file) as lines and text,
  // the strip's band included (a view box leaves it out).
  void PaintGraphOn(QPaintDevice& device);
  const GraphState& State() const { return model_.state; }
  // Full renders of the face so far; the quick changes do not count.
  int FullPaints() const { return fullPaints_; }
  QScrollBar* HorizontalBar() const { return hBar_; }
  QScrollBar* Channel1Bar() const { return ch1Bar_; }
  QScrollBar* Channel2Bar() const { return ch2Bar_; }
  QToolBar* GraphToolBar() const { return toolBar_; }
  QLabel* EventLegend() const { return eventLegend_; }

 signals:
  // Marker A now stands on this 0-based point of the graph (-1: removed).
  void markerAMoved(qint64 graphIndex);
  // A double click on the mark of TR record `record` (STORE RMS).
  void trMarkActivated(int record);
  // The display, its info texts or its layout changed.
  void displayChanged();
  // Marker A or B was placed, moved to another point or removed.
  void markersChanged();
  // The points on the screen may be others: a zoom, a scroll, the full view
  // again, new data or another display. Sent once the view shows them.
  void visibleSpanChanged();
  // Points of a series read from the library could not be read and are
  // left out of the graph: the first reason, once for each.
  void libraryReadFailed(const QString& reason);

 protected:
  // Device pixels per layout pixel of the picture: the screen's ratio.
  virtual qreal PictureRatio() const;
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  // ---- children (GraphViewControls.cpp) --------------------------------------
  void CreateControls();
  void PlaceStartPanel();
  void PlaceInfoPanel();
  void PlaceControls();
  // The kinds of the events shaded in the display on show, at the right end
  // of the graph's toolbar.
  void UpdateEventLegend();
  void SyncScrollBars();
  void OnHorizontalAction(int action);
  void OnVerticalAction(int channel, int action);

  // ---- cursor, markers and keys (GraphViewKeys.cpp) ---------------------------
  // Carries out a pointer cursor move on the picture.
  void ShowCursorMove(const CursorMove& move);
  // Drops the markers and the readout: they describe what is gone.
  void ClearCursor();
  // The pointer cursor's line again where the pointer is, after a full
  // paint took it away.
  void RestoreCursorLine();
  // Sends markersChanged (and markerAMoved) when A's or B's point differs
  // from the last sent.
  void NoteMarkers();
  // Carries out a click or a marker key: the marker on the (graph) point,
  // -1 removes it.
  void MoveMarker(Marker which, qint64 graphIndex);
  // The graph's index of the shown series' first point (a TR record's offset).
  qint64 SeriesOffset() const;
  void UpdateFocusPolicy();
  void PaintFocusFrame(QPainter& p);

  // ---- the cached face -------------------------------------------------------
  void CopyDisplayIntoState();
  void MarkStale();
  // Renders the face when it is stale or the size changed; returns true when
  // it rendered.
  bool EnsurePicture();
  QSize PictureSize() const;
  bool PictureUsable() const;

  const CDTDoc& doc_;
  DisplaySetup setup_;
  InfoTexts info_;
  DisplayMode mode_ = DisplayMode::None;
  int zoomResets_ = 0;
  QPointer<QWidget> startPanel_;
  QPointer<QWidget> infoPanel_;
  AppSettings look_;  // colours and view options

  GraphModel model_;
  GraphPainter painter_;
  QImage picture_;
  bool stale_ = true;
  int fullPaints_ = 0;
  std::string toldReadFailure_;  // the last reason libraryReadFailed gave
  bool graphShownOnce_ = false;  // viewtimer::kFirstZoomReset runs once, on the first graph paint
  QPoint lastMouse_;
  QPoint pressedAt_;               // where the left button went down
  bool pressStartedDrag_ = false;  // that press began a drag (no Shift)
  WheelSteps wheel_;
  // What markersChanged and visibleSpanChanged told last.
  qint64 sentA_ = -1, sentB_ = -1;
  std::pair<qint64, qint64> sentSpan_{0, -1};
  bool spanOutdated_ = true;  // send visibleSpanChanged after the next full paint
  // The pointer cursor's line belongs on the picture: the pointer is over
  // the plot.
  bool cursorLineWanted_ = false;

  std::unique_ptr<TimerHost> ownTimers_;
  TimerHost* timers_ = nullptr;

  QScrollBar* hBar_ = nullptr;    // id 100
  QScrollBar* ch2Bar_ = nullptr;  // id 101, right
  QScrollBar* ch1Bar_ = nullptr;  // id 102, left
  QToolBar* toolBar_ = nullptr;
  QLabel* eventLegend_ = nullptr;  // on the toolbar
};

}  // namespace acv
