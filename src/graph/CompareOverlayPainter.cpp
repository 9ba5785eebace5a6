#include "graph/CompareOverlayPainter.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

#include "graph/GraphFonts.h"

namespace acv {
namespace {

QString Utf8(const std::string& s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

void PaintLines(QPainter& p, const std::vector<std::vector<std::array<int, 2>>>& lines) {
  QPolygon polygon;
  for (const auto& line : lines) {
    if (line.size() == 1) {
      p.drawPoint(line[0][0], line[0][1]);
      continue;
    }
    polygon.clear();
    polygon.reserve(static_cast<qsizetype>(line.size()));
    for (const auto& pt : line) polygon << QPoint(pt[0], pt[1]);
    p.drawPolyline(polygon);
  }
}

// The legend: a short stroke in each span's shade (of CH1's colour, or
// CH2's when only CH2 is drawn) and its name, side by side where they fit,
// else one under the other. Returns the bottom of its last line.
int PaintLegend(QPainter& p, const QRect& area, const CompareOverlay& overlay,
                const PlotColours& colours) {
  const QColor base = colours.channels[overlay.HasChannel(0) ? 0 : 1];
  const QFontMetrics metrics(p.font());
  const int h = metrics.height();
  int x = area.left(), y = area.top();
  for (std::size_t s = 0; s < 2; ++s) {
    const QString text = Utf8(overlay.spans[s].legend);
    if (text.isEmpty()) continue;
    const int width = 30 + metrics.horizontalAdvance(text);
    if (x > area.left() && x + width > area.right()) {
      x = area.left();
      y += h;
    }
    p.setPen(QPen(s == 0 ? base : SpanBColour(base), 2));
    p.drawLine(x, y + h / 2, x + 24, y + h / 2);
    p.setPen(colours.text);
    p.drawText(QRect(x + 30, y, area.right() - x - 30, h), Qt::AlignLeft | Qt::AlignVCenter, text);
    x += width + 24;
  }
  return y + h;
}

void PaintChannel(QPainter& p, const QRect& row, const CompareOverlay& overlay, int channel,
                  const PlotColours& colours) {
  const int h = QFontMetrics(p.font()).height();
  const PlotArea area{row.left() + 62, row.top() + h + 6, row.right() + 1 - 16,
                      row.bottom() + 1 - 2 * h - 8};
  if (area.right <= area.left + 20 || area.bottom <= area.top + 20) return;
  const OverlayPlot plot = LayOutOverlay(overlay, channel, area);
  PaintPlotAxes(p, area, plot.x, plot.y, nullptr, colours,
                Utf8(OverlayTitle(overlay, plot, channel)), QStringLiteral("elapsed"),
                [](double t) { return ElapsedText(t); });
  const QColor colour = colours.channels[static_cast<std::size_t>(channel)];
  p.save();
  p.setClipRect(QRect(QPoint(area.left, area.top), QPoint(area.right - 1, area.bottom - 1)));
  // B first, A over it: where the two agree, the "before" stays in sight.
  p.setPen(QPen(SpanBColour(colour), 1));
  PaintLines(p, plot.lines[1]);
  p.setPen(QPen(colour, 1));
  PaintLines(p, plot.lines[0]);
  p.restore();
}

}  // namespace

QColor SpanBColour(const QColor& channel) {
  return channel.lighter(175);
}

void PaintCompareOverlay(QPainter& p, const QRect& rect, const CompareOverlay& overlay,
                         const PlotColours& colours, const std::string& note) {
  p.fillRect(rect, colours.background);
  p.setFont(AxisLabelFont());
  std::vector<int> shown;
  for (int c = 0; c < 2; ++c) {
    if (overlay.HasChannel(c)) shown.push_back(c);
  }
  if (shown.empty()) {
    p.setPen(colours.text);
    p.drawText(rect.adjusted(8, 8, -8, -8), Qt::AlignCenter | Qt::TextWordWrap,
               Utf8(note.empty() ? std::string("Compare two spans to see them here.") : note));
    return;
  }
  const int top =
      PaintLegend(p, QRect(rect.left() + 62, rect.top() + 4, rect.width() - 70, rect.height()),
                  overlay, colours) +
      4;
  const int rowHeight = (rect.bottom() + 1 - top) / static_cast<int>(shown.size());
  for (std::size_t i = 0; i < shown.size(); ++i) {
    const QRect row(rect.left(), top + static_cast<int>(i) * rowHeight, rect.width(), rowHeight);
    PaintChannel(p, row, overlay, shown[i], colours);
  }
}

void PaintComparePage(QPainter& p, const QRect& page, const std::string& title,
                      const std::vector<std::string>& figures, const CompareOverlay& overlay,
                      const PlotColours& colours, const std::string& note) {
  QFont heading = AxisLabelFont();
  heading.setPixelSize(std::max(12, page.height() / 40));
  heading.setBold(true);
  p.setPen(Qt::black);
  p.setFont(heading);
  const int headingHeight = QFontMetrics(heading).height();
  p.drawText(QRect(page.left(), page.top(), page.width(), headingHeight), Qt::AlignLeft,
             Utf8(title));
  // The figures in a column of their own at the left, in a fixed-width
  // font that keeps their columns aligned and leaves most of the page's
  // width to the plots.
  QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  fixed.setPixelSize(std::max(6, page.height() / 80));
  int widest = 0;
  for (const std::string& text : figures) {
    widest = std::max(widest, QFontMetrics(fixed).horizontalAdvance(Utf8(text)));
  }
  const int most = page.width() * 2 / 5;
  if (widest > most) {
    fixed.setPixelSize(std::max(4, fixed.pixelSize() * most / widest));
    widest = most;
  }
  p.setFont(fixed);
  const int line = QFontMetrics(fixed).height();
  const int top = page.top() + headingHeight + line / 2;
  int y = top;
  for (const std::string& text : figures) {
    p.drawText(QRect(page.left(), y, widest + line, line), Qt::AlignLeft, Utf8(text));
    y += line;
  }
  const int left = page.left() + widest + 2 * line;
  // The plots keep their screen proportions, so their labels stay legible
  // when the page is scaled down to them.
  const QRect plots(left, top, page.right() + 1 - left, page.bottom() + 1 - top);
  const double scale = std::max(1.0, plots.width() / 800.0);
  p.save();
  p.translate(plots.topLeft());
  p.scale(scale, scale);
  PaintCompareOverlay(p,
                      QRect(0, 0, static_cast<int>(plots.width() / scale),
                            static_cast<int>(plots.height() / scale)),
                      overlay, colours, note);
  p.restore();
}

}  // namespace acv
