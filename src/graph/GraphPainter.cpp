#include "graph/GraphPainter.h"

#include <QFontMetrics>
#include <QLine>
#include <QPainter>
#include <QPen>
#include <QPoint>
#include <QString>
#include <QVector>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "graph/GraphFonts.h"
#include "graph/geometry/Colours.h"
#include "graph/geometry/Markers.h"
#include "graph/geometry/SeriesSource.h"
#include "graph/geometry/TrMarks.h"

namespace acv {
namespace {

QRect FromCorners(int left, int top, int right, int bottom) {
  return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

QPen SolidPen(const QColor& c) {
  QPen pen(c, 0);
  pen.setCosmetic(true);
  return pen;
}

// One device pixel wide, dots as long as a layout pixel: the same dotted
// look at every ratio.
QPen DottedPen(const QColor& c, int unit) {
  QPen pen(c, 1);
  pen.setCosmetic(true);
  pen.setCapStyle(Qt::FlatCap);
  pen.setDashPattern({static_cast<qreal>(unit), static_cast<qreal>(unit)});
  return pen;
}

DeviceScale ScaleOf(const QImage& image) {
  return DeviceScale{image.devicePixelRatio()};
}

// The image's size in layout pixels.
QSize LayoutSize(const QImage& image) {
  const double ratio = image.devicePixelRatio();
  return QSize(static_cast<int>(std::lround(image.width() / ratio)),
               static_cast<int>(std::lround(image.height() / ratio)));
}

// The first device pixel of layout pixel v, as a painter's fills place it:
// the first one whose centre lies at or past v.
int DeviceEdge(int v, double ratio) {
  return static_cast<int>(std::ceil(v * ratio - 0.5));
}

// The device pixels a painter fills for a rectangle in layout pixels: those
// whose centre lies inside it.
QRect DeviceRect(const QRect& r, double ratio) {
  return QRect(QPoint(DeviceEdge(r.left(), ratio), DeviceEdge(r.top(), ratio)),
               QPoint(DeviceEdge(r.right() + 1, ratio) - 1, DeviceEdge(r.bottom() + 1, ratio) - 1));
}

// The layout pixels that hold a rectangle of device pixels; at ratio 1 the
// rectangle itself.
QRect LayoutRect(const QRect& r, double ratio) {
  if (ratio == 1.0) return r;
  const int left = static_cast<int>(std::floor(r.left() / ratio));
  const int top = static_cast<int>(std::floor(r.top() / ratio));
  const int right = static_cast<int>(std::floor(r.right() / ratio));
  const int bottom = static_cast<int>(std::floor(r.bottom() / ratio));
  return QRect(QPoint(left, top), QPoint(right, bottom));
}

// Inverts the colour of one pixel of a 32-bit image (alpha stays).
inline void InvertPixel(QImage& image, int x, int y) {
  auto* line = reinterpret_cast<quint32*>(image.scanLine(y));
  line[x] ^= 0x00FFFFFFu;
}

bool CanInvert(const QImage& image) {
  return image.depth() == 32 && !image.isNull();
}

QRect Grow(const QRect& r, int by) {
  return r.adjusted(-by, -by, by, by);
}

QRect SegmentBounds(const SegmentLine& seg) {
  return QRect(QPoint(std::min(seg.a.x, seg.b.x), std::min(seg.a.y, seg.b.y)),
               QPoint(std::max(seg.a.x, seg.b.x), std::max(seg.a.y, seg.b.y)));
}

// Whether pixels can be written as a QPainter with a solid, opaque cosmetic
// pen and no transform would write them: one 32-bit word per pixel, device
// coordinates equal to image coordinates.
bool TakesDirectPixels(const QImage& image) {
  const QImage::Format f = image.format();
  const bool plain32 = f == QImage::Format_RGB32 || f == QImage::Format_ARGB32 ||
                       f == QImage::Format_ARGB32_Premultiplied;
  return plain32 && !image.isNull();
}

// A vertical line from row y1 to row y2 (both drawn) at column x, cut to the
// clip, as the pixel value of an opaque colour.
void WriteVerticalLine(uchar* bits, qsizetype stride, const QRect& clip, int x, int y1, int y2,
                       quint32 pixel) {
  if (x < clip.left() || x > clip.right()) return;
  const int from = std::max(std::min(y1, y2), clip.top());
  const int to = std::min(std::max(y1, y2), clip.bottom());
  uchar* at = bits + static_cast<qsizetype>(from) * stride +
              static_cast<qsizetype>(x) * static_cast<qsizetype>(sizeof(quint32));
  for (int y = from; y <= to; ++y, at += stride) *reinterpret_cast<quint32*>(at) = pixel;
}

// QPainter draws a line one column across (x to x + 1) with every row but
// the last in the left column and the last row in the right one; a level
// line is the two pixels. That holds for every line up to this many rows
// high; taller ones, where the painter's fixed-point stepping may move the
// last row, are left to it.
constexpr int kDirectStepRows = 128;

bool DirectStep(const SegmentLine& seg, const QRect& clip) {
  return seg.b.x == seg.a.x + 1 && std::abs(seg.b.y - seg.a.y) <= kDirectStepRows &&
         clip.contains(seg.a.x, seg.a.y) && clip.contains(seg.b.x, seg.b.y);
}

void WriteStep(uchar* bits, qsizetype stride, const SegmentLine& seg, quint32 pixel) {
  auto* right =
      reinterpret_cast<quint32*>(bits + static_cast<qsizetype>(seg.b.y) * stride) + seg.b.x;
  *right = pixel;
  const int rows = seg.b.y - seg.a.y;
  if (rows == 0) {
    right[-1] = pixel;
    return;
  }
  // The left column from the first row up to, not including, the last.
  const int direction = rows > 0 ? 1 : -1;
  uchar* at = bits + static_cast<qsizetype>(seg.a.y) * stride +
              static_cast<qsizetype>(seg.a.x) * static_cast<qsizetype>(sizeof(quint32));
  const qsizetype advance = direction * stride;
  for (int y = seg.a.y; y != seg.b.y; y += direction, at += advance) {
    *reinterpret_cast<quint32*>(at) = pixel;
  }
}

// Each of a mark's six pixels is unit x unit device pixels.
void DrawMarks(QPainter& p, const std::vector<PixelPoint>& marks, int unit) {
  if (marks.empty()) return;
  if (unit > 1) {
    const QColor colour = p.pen().color();
    for (const PixelPoint& m : marks) {
      for (const PixelPoint& d : kMarkOffsets) {
        p.fillRect(QRect(m.x + d.x * unit, m.y + d.y * unit, unit, unit), colour);
      }
    }
    return;
  }
  QVector<QPoint> points;
  points.reserve(static_cast<qsizetype>(marks.size()) * 6);
  for (const PixelPoint& m : marks) {
    for (const PixelPoint& d : kMarkOffsets) points.append(QPoint(m.x + d.x, m.y + d.y));
  }
  p.drawPoints(points.constData(), static_cast<int>(points.size()));
}

// The TR records' trigger times on the STORE RMS time axis, each in its
// channel's colour (screen only: a printed page keeps the plain graph).
void DrawTrMarks(QPainter& p, const GraphModel& m, const CDTDoc& doc) {
  const GraphState& s = m.state;
  for (const TrMark& mark : TrMarks(m, doc)) {
    const int colour = mark.channel == kChannel2 ? s.ch2Colour : s.ch1Colour;
    const Rect r = TrMarkRect(s, mark.x);
    p.fillRect(QRect(r.left, r.top, r.Width(), r.Height()), ToQColor(colourOf(colour)));
  }
}

}  // namespace

QColor ToQColor(std::uint32_t bgr) {
  return QColor(RedOf(bgr), GreenOf(bgr), BlueOf(bgr));
}

GraphPainter::GraphPainter() = default;

GraphPainter::GraphPainter(const Options& options) : options_(options) {}

QImage& GraphPainter::DeviceView(QImage& image) {
  uchar* bits = image.bits();  // the image's own pixels, detached if shared
  if (deviceView_.constBits() != bits || deviceView_.size() != image.size() ||
      deviceView_.bytesPerLine() != image.bytesPerLine() ||
      deviceView_.format() != image.format()) {
    deviceView_ = QImage(bits, image.width(), image.height(), image.bytesPerLine(), image.format());
  }
  return deviceView_;
}

void GraphPainter::EnsureFonts() {
  if (fontsReady_) return;
  axisFont_ = AxisLabelFont();
  readoutFont_ = ReadoutFont();
  startFont_ = StartScreenFont();
  axisAscent_ = QFontMetrics(axisFont_).ascent();
  readoutAscent_ = QFontMetrics(readoutFont_).ascent();
  startAscent_ = QFontMetrics(startFont_).ascent();
  fontsReady_ = true;
}

void GraphPainter::Paint(QImage& image, GraphModel& model, const CDTDoc& doc) {
  if (image.isNull()) return;
  EnsureFonts();
  if (model.state.displayMode == kStartScreen) {
    PaintStartScreen(image);
  } else {
    PaintGraph(image, &image, model, doc);
  }
}

void GraphPainter::PaintVector(QPaintDevice& device, GraphModel& model, const CDTDoc& doc) {
  if (model.state.displayMode == kStartScreen) return;
  EnsureFonts();
  PaintGraph(device, nullptr, model, doc);
}

void GraphPainter::PaintStartScreen(QImage& image) {
  const QSize size = LayoutSize(image);
  QPainter p(&image);
  p.fillRect(QRect(QPoint(0, 0), size), kStartScreenBackground);
  p.setFont(startFont_);
  p.setPen(kStartScreenText);
  const int x = 280;
  const int y = (size.height() - 350) / 2;
  const char* words[] = {"ELECTRIC", "POWER", "TEST"};
  for (int i = 0; i < 3; ++i) {
    p.drawText(QPoint(x, y + 100 * i + startAscent_), QString::fromLatin1(words[i]));
  }
}

void GraphPainter::DrawText(QPainter& p, int x, int y, const std::string& text,
                            const QColor& colour) {
  p.setPen(colour);
  p.drawText(QPoint(x, y + axisAscent_),
             QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
}

void GraphPainter::PaintGraph(QPaintDevice& device, QImage* pixels, GraphModel& model,
                              const CDTDoc& doc) {
  // A picture in pixels is laid out in layout pixels at its ratio; a vector
  // device (SVG, printer, PDF) at its own size, ratio 1.
  const QSize size =
      pixels != nullptr ? LayoutSize(*pixels) : QSize(device.width(), device.height());
  const Rect client{0, 0, size.width(), size.height()};
  const GraphFrame frame = PrepareGraphPaint(model, doc, client);
  const GraphState& s = model.state;
  const Rect& plot = s.plotRect;
  const int h = s.panelHeight;
  const DeviceScale scale = pixels != nullptr ? ScaleOf(*pixels) : DeviceScale{};

  QPainter p(&device);
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setRenderHint(QPainter::TextAntialiasing, true);
  // The fills of the painting order (black client, grey box, plot
  // background, and the covers and surround after the curves) are laid down
  // here once as the picture they leave: every pixel is written once.
  PaintBackdrop(p, s);
  // The grid and the curves, clipped to the plot with its right column and
  // bottom row: whatever they put outside is covered by the fills that
  // follow them, so the clip changes nothing but the work.
  const QRect curveClip(plot.left, plot.top, plot.Width() + 1, plot.Height() + 1);
  // The events' bands lie under the grid and the curves.
  if (ShowsEvents(s)) {
    p.setClipRect(curveClip);
    PaintEventBands(p, model);
  }
  if (pixels == nullptr) {
    // Vector output keeps the grid and every curve as lines of the painter.
    p.setClipRect(curveClip);
    PaintGrid(p, s, frame, scale);
    PixelTarget lines;
    lines.clip = curveClip & QRect(0, 0, size.width(), size.height());
    PaintCurves(p, model, SeriesSource(doc, s.mode), lines, scale);
  } else {
    p.end();
    // The grid and the curves go in device pixels, one device pixel thin,
    // most curve lines straight into the pixels. The grid lines sit on the
    // first device row or column of their layout pixel, where the plot's
    // fill begins, so at a fractional ratio none falls outside the plot.
    {
      QImage& view = DeviceView(*pixels);
      PixelTarget target;
      if (options_.directSpans && TakesDirectPixels(view)) {
        target.bits = view.bits();
        target.stride = view.bytesPerLine();
      }
      target.clip = DeviceRect(curveClip, scale.ratio) & view.rect();
      QPainter dp(&view);
      dp.setRenderHint(QPainter::Antialiasing, false);
      dp.setClipRect(target.clip);
      PaintGrid(dp, s, frame, scale);
      PaintCurves(dp, model, SeriesSource(doc, s.mode), target, scale);
    }
    p.begin(&device);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, true);
  }
  // The TR marks lie over the curves, inside the same clip; a page keeps
  // the plain graph.
  if (!options_.printing) {
    p.setClipRect(curveClip);
    DrawTrMarks(p, model, doc);
  }
  // The markers over everything in the plot, on pages too: they are part of
  // what the user set up. The pointer cursor's dots invert them like any
  // other pixel.
  p.setClipRect(curveClip);
  PaintMarkers(p, model, QRect());
  p.setClipping(false);
  // Labels, then the surround fills that trim labels too long for the box.
  PaintAxes(p, s, frame);
  PaintSurround(p, s);
  // The ticks, in device pixels like the grid they continue.
  if (pixels == nullptr) {
    PaintTicks(p, s, frame, scale);
  } else {
    p.end();
    {
      QPainter dp(&DeviceView(*pixels));
      dp.setRenderHint(QPainter::Antialiasing, false);
      PaintTicks(dp, s, frame, scale);
    }
    p.begin(&device);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, true);
  }
  // Readout, white frame, legends.
  DrawReadoutText(p, s);
  QPen framePen(Qt::white, 2);
  p.setPen(framePen);
  const QPoint corners[4] = {
      QPoint(client.left + 10, client.top + h + 10), QPoint(client.right - 10, client.top + h + 10),
      QPoint(client.right - 10, client.bottom - 10), QPoint(client.left + 10, client.bottom - 10)};
  p.drawPolygon(corners, 4);
  PaintLegends(p, s);
  if (ShowsEvents(s) && options_.eventLegendUnderPlot) PaintEventLegend(p, s);
  p.end();
  FinishGraphPaint(model.state);
}

void GraphPainter::PaintBackdrop(QPainter& p, const GraphState& s) {
  const Rect& c = s.clientRect;
  const Rect& box = s.graphBox;
  const Rect& plot = s.plotRect;
  const int stripBottom = c.top + s.panelHeight;
  const QColor face = options_.buttonFace;
  p.fillRect(FromCorners(c.left, c.top, c.right, stripBottom), face);
  p.fillRect(FromCorners(c.left, stripBottom, c.right, box.top), Qt::black);
  p.fillRect(FromCorners(c.left, box.bottom, c.right, c.bottom), Qt::black);
  p.fillRect(FromCorners(c.left, box.top, box.left, box.bottom), Qt::black);
  p.fillRect(FromCorners(box.right, box.top, c.right, box.bottom), Qt::black);
  // The background covers columns left .. right - 1 and rows top ..
  // bottom - 1; its column left of the plot is covered again by the grey
  // label column, and the plot's right column and bottom row stay grey.
  if (plot.Width() <= 0 || plot.Height() <= 0) {
    p.fillRect(FromCorners(box.left, box.top, box.right, box.bottom), face);
    return;
  }
  p.fillRect(FromCorners(box.left, box.top, box.right, plot.top), face);
  p.fillRect(FromCorners(box.left, plot.bottom, box.right, box.bottom), face);
  p.fillRect(FromCorners(box.left, plot.top, plot.left, plot.bottom), face);
  p.fillRect(FromCorners(plot.right, plot.top, box.right, plot.bottom), face);
  p.fillRect(FromCorners(plot.left, plot.top, plot.right, plot.bottom),
             ToQColor(colourOf(s.backgroundColour)));
}

void GraphPainter::PaintGrid(QPainter& p, const GraphState& s, const GraphFrame& frame,
                             DeviceScale scale) {
  const Rect& plot = s.plotRect;
  if (plot.Width() <= 0) return;
  auto at = [ratio = scale.ratio](int v) { return DeviceEdge(v, ratio); };
  p.setPen(DottedPen(ToQColor(colourOf(s.gridColour)), scale.Unit()));
  if (s.xGrid == 1) {
    for (int k = 0; k < kTickCount; ++k) {
      const int y = at(GridLineY(s, k));
      p.drawLine(at(plot.left - 5), y, at(plot.right + 5), y);
    }
  }
  if (s.yGrid == 1 && s.lastPoint > 0) {
    for (const XLabel& label : frame.xLabels) {
      if (label.shown) p.drawLine(at(label.x), at(plot.bottom - 1), at(label.x), at(plot.top));
    }
  }
}

void GraphPainter::PaintTicks(QPainter& p, const GraphState& s, const GraphFrame& frame,
                              DeviceScale scale) {
  const Rect& plot = s.plotRect;
  auto at = [ratio = scale.ratio](int v) { return DeviceEdge(v, ratio); };
  p.setPen(SolidPen(ToQColor(colourOf(s.gridColour))));
  if (plot.Width() > 0) {
    for (int k = 0; k < kTickCount; ++k) {
      const int y = at(YTickY(s, k));
      p.drawLine(at(plot.left - 5), y, at(plot.left), y);
      p.drawLine(at(plot.right), y, at(plot.right + 5), y);
    }
  }
  if (s.lastPoint <= 0 || s.firstPoint < 1 || frame.singleLabel) return;
  for (const XLabel& label : frame.xLabels) {
    if (label.shown) p.drawLine(at(label.x), at(plot.bottom), at(label.x), at(plot.bottom + 5));
  }
}

void GraphPainter::PaintCurves(QPainter& p, const GraphModel& m, const SeriesSource& source,
                               const PixelTarget& target, DeviceScale scale) {
  const GraphState& s = m.state;
  const std::array<int, 2> colours{s.ch1Colour, s.ch2Colour};
  QVector<QLine> lines;
  for (int c = 0; c < 2; ++c) {
    if (!ChannelShown(s, c) || !s.yScaleValid[c]) continue;
    BuildCurve(m, source, c, options_.decimate, s.markPoints == 1, batch_, scale);
    const QColor colour = ToQColor(colourOf(colours[c]));
    p.setPen(SolidPen(colour));
    // The pen is opaque, so a pixel it covers simply takes its colour; the
    // order of the lines of one channel does not matter, and the painter
    // writes each channel's lines before the next channel starts.
    const quint32 pixel = colour.rgba();
    lines.clear();
    lines.reserve(static_cast<qsizetype>(batch_.lines.size()));
    for (const SegmentLine& seg : batch_.lines) {
      if (target.bits != nullptr && seg.a.x == seg.b.x && seg.a.y != seg.b.y) {
        WriteVerticalLine(target.bits, target.stride, target.clip, seg.a.x, seg.a.y, seg.b.y,
                          pixel);
      } else if (target.bits != nullptr && DirectStep(seg, target.clip)) {
        WriteStep(target.bits, target.stride, seg, pixel);
      } else {
        lines.append(QLine(seg.a.x, seg.a.y, seg.b.x, seg.b.y));
      }
    }
    if (!lines.isEmpty()) p.drawLines(lines.constData(), static_cast<int>(lines.size()));
    DrawMarks(p, batch_.marks, scale.Unit());
  }
}

void GraphPainter::PaintAxes(QPainter& p, const GraphState& s, const GraphFrame& frame) {
  const Rect& plot = s.plotRect;
  p.setFont(axisFont_);
  for (int k = 0; k < kTickCount; ++k) {
    const int y = YLabelY(s, k);
    DrawText(p, YLabelX(s, 0, s.ch1Labels[k]), y, s.ch1Labels[k], Qt::black);
    DrawText(p, YLabelX(s, 1, s.ch2Labels[k]), y, s.ch2Labels[k], Qt::black);
  }
  if (s.lastPoint <= 0 || s.firstPoint < 1) return;
  if (frame.singleLabel) {
    DrawText(p, frame.single.textX, plot.bottom + 5, frame.single.text, Qt::black);
    if (!frame.single.date.empty()) {
      DrawText(p, frame.single.textX, plot.bottom + 17, frame.single.date, Qt::black);
    }
    return;
  }
  for (const XLabel& label : frame.xLabels) {
    if (!label.shown) continue;
    DrawText(p, label.textX, plot.bottom + 5, label.text, Qt::black);
    if (!label.date.empty()) DrawText(p, label.textX, plot.bottom + 17, label.date, Qt::black);
  }
}

void GraphPainter::PaintSurround(QPainter& p, const GraphState& s) {
  const Rect& c = s.clientRect;
  const Rect& box = s.graphBox;
  const int stripBottom = c.top + s.panelHeight;
  // The black margins trim labels too long for the box. The top label stays
  // whole: it lies inside the box, which the backdrop made grey already.
  p.fillRect(QRect(c.left, box.bottom, c.Width(), c.bottom - box.bottom), Qt::black);
  p.fillRect(QRect(c.left, stripBottom, box.left - c.left, c.bottom - stripBottom), Qt::black);
  p.fillRect(QRect(box.right, stripBottom, c.right - box.right, c.bottom - stripBottom), Qt::black);
  if (options_.printing) p.fillRect(QRect(0, 0, c.Width(), stripBottom + 5), Qt::white);
}

void GraphPainter::DrawReadoutText(QPainter& p, const GraphState& s) {
  const Rect bar = ReadoutBar(s);
  const Rect area = ReadoutArea(s);
  // On the screen the bar lies on the black surround already; printing
  // needs it drawn. Drawing it always gives the same picture.
  p.fillRect(FromCorners(area.left, area.top, area.right, area.bottom), Qt::black);
  p.setFont(readoutFont_);
  p.setPen(options_.buttonFace);
  const QString text =
      QString::fromLatin1(s.readoutText.data(), static_cast<qsizetype>(s.readoutText.size()));
  if (!text.isEmpty()) p.drawText(QPoint(bar.left, bar.top + readoutAscent_), text);
  if (s.markerText.empty()) return;
  // The markers and B - A at the right end of the bar, or on the black row
  // above it when the bar has no room beside the readout.
  const QFontMetrics metrics(readoutFont_);
  const QString delta =
      QString::fromUtf8(s.markerText.data(), static_cast<qsizetype>(s.markerText.size()));
  const Rect box =
      DeltaReadoutBox(s, metrics.horizontalAdvance(text), metrics.horizontalAdvance(delta));
  p.drawText(QPoint(box.left, box.top + readoutAscent_), delta);
}

bool GraphPainter::ShowsEvents(const GraphState& s) const {
  return options_.events && options_.events->mode == s.mode && !options_.events->events.empty();
}

void GraphPainter::PaintEventBands(QPainter& p, const GraphModel& m) {
  const GraphState& s = m.state;
  const EventShading& shading = *options_.events;
  const XMapping& x = m.buffers.pointX[static_cast<std::size_t>(CurrentSlot(s))];
  for (const EventBand& band : EventBands(shading.events, shading.series, s, x)) {
    QColor colour = QColor(static_cast<QRgb>(EventKindColour(band.kind)));
    colour.setAlpha(110);
    p.fillRect(QRect(band.left, s.plotRect.top, band.right - band.left, s.plotRect.Height() + 1),
               colour);
  }
}

// A square in the kind's colour and its name for each kind that occurs,
// centred under the plot on the line of the channel legends.
void GraphPainter::PaintEventLegend(QPainter& p, const GraphState& s) {
  p.setFont(axisFont_);
  const QFontMetrics metrics(axisFont_);
  const std::vector<EventKind> kinds = KindsPresent(options_.events->events);
  constexpr int kSquare = 10, kGap = 4, kSpace = 14;
  int width = 0;
  for (const EventKind kind : kinds) {
    width += kSquare + kGap + metrics.horizontalAdvance(QString::fromLatin1(EventKindName(kind)));
  }
  width += kSpace * static_cast<int>(kinds.size() - 1);
  int x = (s.plotRect.left + s.plotRect.right - width) / 2;
  const int y = s.plotRect.bottom + 31;
  p.setPen(Qt::black);
  for (const EventKind kind : kinds) {
    const QString name = QString::fromLatin1(EventKindName(kind));
    p.fillRect(QRect(x, y + 2, kSquare, kSquare), QColor(static_cast<QRgb>(EventKindColour(kind))));
    x += kSquare + kGap;
    p.drawText(QPoint(x, y + axisAscent_), name);
    x += metrics.horizontalAdvance(name) + kSpace;
  }
}

void GraphPainter::PaintLegends(QPainter& p, const GraphState& s) {
  p.setFont(axisFont_);
  const QFontMetrics metrics(axisFont_);
  const QColor background = ToQColor(colourOf(s.backgroundColour));
  const int y = s.plotRect.bottom + 31;
  auto legend = [&](int x, const std::string& text, int colourIndex) {
    const QString q = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    p.fillRect(QRect(x, y, metrics.horizontalAdvance(q), metrics.height()), background);
    p.setPen(ToQColor(colourOf(colourIndex)));
    p.drawText(QPoint(x, y + axisAscent_), q);
  };
  const int left = s.clientRect.left;
  if (s.plotCh1 == 1) {
    if (s.mode == GraphMode::RealTimeS) {
      legend(left + 60, s.ch1UnitText, s.ch1Colour);
    } else {
      legend(left - 5 * static_cast<int>(s.ch1UnitText.size()) + 50, "CH1 " + s.ch1UnitText,
             s.ch1Colour);
    }
  }
  if (s.plotCh2 == 1 && s.mode != GraphMode::RealTimeS) {
    legend(s.plotRect.right + 1, "CH2 " + s.ch2UnitText, s.ch2Colour);
  }
}

QRect GraphPainter::PaintNewestSegments(QImage& image, const GraphModel& model, const CDTDoc& doc) {
  const GraphState& s = model.state;
  QRect dirty;
  if (image.isNull()) return dirty;
  const DeviceScale scale = ScaleOf(image);
  const int unit = scale.Unit();
  // Lift the cursor first, so that its later erase by inversion stays exact.
  const bool cursorUp = !s.cursorHidden;
  if (cursorUp) dirty |= ToggleCursorLine(image, s, s.cursorX);
  {
    // In device pixels, as the full paint draws the curves.
    QPainter p(&DeviceView(image));
    p.setRenderHint(QPainter::Antialiasing, false);
    const std::array<int, 2> colours{s.ch1Colour, s.ch2Colour};
    const SeriesSource source(doc, s.mode);
    for (int c = 0; c < 2; ++c) {
      if (!ChannelShown(s, c)) continue;
      const auto seg = NewestSegment(model, source, c, doc.rtCount, scale);
      if (!seg || !SegmentDrawn(seg->a.y, seg->b.y, DeviceTop(s, scale), DeviceBottom(s, scale))) {
        continue;
      }
      p.setPen(SolidPen(ToQColor(colourOf(colours[c]))));
      p.drawLine(seg->a.x, seg->a.y, seg->b.x, seg->b.y);
      if (s.markPoints == 1) DrawMarks(p, {seg->a, seg->b}, unit);
      dirty |= LayoutRect(Grow(SegmentBounds(*seg), unit), scale.ratio).adjusted(0, 0, 1, 1);
    }
  }
  // The markers lie over the curves, as the full paint draws them.
  if (!dirty.isEmpty()) {
    QPainter p(&image);
    p.setClipRect(dirty);
    PaintMarkers(p, model, dirty);
  }
  if (cursorUp) ToggleCursorLine(image, s, s.cursorX);
  return dirty & QRect(QPoint(0, 0), LayoutSize(image));
}

void GraphPainter::PaintMarkers(QPainter& p, const GraphModel& m, const QRect& within) const {
  const Rect& plot = m.state.plotRect;
  // B first, so that A stays in sight where both stand on one column.
  for (const Marker which : {Marker::B, Marker::A}) {
    const std::optional<int> column = MarkerColumn(m, which);
    if (!column) continue;
    if (!within.isNull() && (*column < within.left() || *column > within.right())) continue;
    p.fillRect(QRect(*column, plot.top, 1, plot.Height()), ToQColor(MarkerColour(m.state, which)));
  }
}

QRect GraphPainter::ToggleCursorLine(QImage& image, const GraphState& s, int x) const {
  if (!CanInvert(image)) return {};
  const DeviceScale scale = ScaleOf(image);
  const int column = scale.Pixel(x);
  if (column < 0 || column >= image.width()) return {};
  const int lineTop = DeviceTop(s, scale);
  const int top = std::max(0, lineTop);
  const int bottom = std::min(image.height(), DeviceBottom(s, scale));
  if (top >= bottom) return {};
  // Every other dot (a layout pixel long) from the top line down is
  // inverted: the line shows in the complement of whatever lies under it
  // (white on the default black background, and over the curves alike), and
  // a second pass restores each pixel. A pen in the background's complement
  // combined as NOT (screen XOR pen) would change no pixel at all on the
  // default black background.
  const int unit = scale.Unit();
  for (int y = top; y < bottom; ++y) {
    if (((y - lineTop) / unit & 1) == 0) InvertPixel(image, column, y);
  }
  return LayoutRect(QRect(column, top, 1, bottom - top), scale.ratio);
}

QRect GraphPainter::ToggleRubberBand(QImage& image, const Rect& band) const {
  if (!CanInvert(image)) return {};
  const DeviceScale scale = ScaleOf(image);
  const int left = scale.Pixel(band.left);
  const int top = scale.Pixel(band.top);
  const int right = scale.Pixel(band.right);
  const int bottom = scale.Pixel(band.bottom);
  const QRect visible = FromCorners(left, top, right + 1, bottom + 1) & image.rect();
  if (visible.isEmpty()) return {};
  // Each pixel of the border once, every other dot along it, as a focus
  // frame shows; inverting twice leaves the picture as it was.
  const int unit = scale.Unit();
  auto dot = [&](int x, int y) {
    if (((x / unit + y / unit) & 1) == 0 && image.rect().contains(x, y)) InvertPixel(image, x, y);
  };
  for (int x = left; x <= right; ++x) {
    dot(x, top);
    if (bottom != top) dot(x, bottom);
  }
  for (int y = top + 1; y < bottom; ++y) {
    dot(left, y);
    if (right != left) dot(right, y);
  }
  return LayoutRect(visible, scale.ratio);
}

QRect GraphPainter::PaintReadout(QImage& image, const GraphState& s) {
  if (image.isNull()) return {};
  EnsureFonts();
  QPainter p(&image);
  DrawReadoutText(p, s);
  const Rect bar = ReadoutArea(s);
  return FromCorners(bar.left, bar.top, bar.right, bar.bottom) &
         QRect(QPoint(0, 0), LayoutSize(image));
}

QRect GraphPainter::ApplyCursorMove(QImage& image, const GraphState& s, const CursorMove& move) {
  QRect dirty;
  if (move.eraseOld) dirty |= ToggleCursorLine(image, s, move.oldX);
  if (move.drawNew) dirty |= ToggleCursorLine(image, s, s.cursorX);
  if (move.readoutChanged) dirty |= PaintReadout(image, s);
  return dirty;
}

QRect GraphPainter::ApplyBandUpdate(QImage& image, const BandUpdate& update) const {
  QRect dirty;
  if (update.eraseOld) dirty |= ToggleRubberBand(image, update.oldBand);
  if (update.drawNew) dirty |= ToggleRubberBand(image, update.newBand);
  return dirty;
}

}  // namespace acv
