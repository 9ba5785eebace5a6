#include "graph/DistributionPainter.h"

#include <QFontMetrics>
#include <QPainter>

#include "data/Settings.h"
#include "graph/GraphFonts.h"
#include "graph/geometry/Colours.h"

namespace acv {
namespace {

QString Utf8(const std::string& s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

QPolygon Polyline(const std::vector<std::array<int, 2>>& points) {
  QPolygon line;
  line.reserve(static_cast<qsizetype>(points.size()));
  for (const auto& pt : points) line << QPoint(pt[0], pt[1]);
  return line;
}

}  // namespace

void PaintPlotAxes(QPainter& p, const PlotArea& a, const PlotAxis& x, const PlotAxis& y,
                   const PlotAxis* right, const PlotColours& colours, const QString& title,
                   const QString& xUnit, const std::function<std::string(double)>& xText) {
  const QFontMetrics metrics(p.font());
  const int h = metrics.height();
  p.setPen(QPen(colours.grid, 1, Qt::DotLine));
  for (const double t : x.ticks) {
    const int px = XPixel(x, a, t);
    p.drawLine(px, a.top, px, a.bottom - 1);
  }
  for (const double t : y.ticks) {
    const int py = YPixel(y, a, t);
    p.drawLine(a.left, py, a.right - 1, py);
  }
  p.setPen(colours.text);
  p.drawRect(a.left, a.top, a.right - 1 - a.left, a.bottom - 1 - a.top);
  for (const double t : x.ticks) {
    const QString label = Utf8(xText ? xText(t) : TickText(t, x));
    const int px = XPixel(x, a, t);
    p.drawText(QRect(px - 40, a.bottom + 2, 80, h), Qt::AlignHCenter | Qt::AlignTop, label);
  }
  for (const double t : y.ticks) {
    const int py = YPixel(y, a, t);
    p.drawText(QRect(a.left - 58, py - h / 2, 54, h), Qt::AlignRight | Qt::AlignVCenter,
               Utf8(TickText(t, y)));
  }
  if (right != nullptr) {
    for (const double t : right->ticks) {
      const int py = YPixel(*right, a, t);
      p.drawText(QRect(a.right + 4, py - h / 2, 40, h), Qt::AlignLeft | Qt::AlignVCenter,
                 Utf8(TickText(t, *right)));
    }
  }
  // The title may run on over the right axis's labels, never the next
  // plot: too long for that, it ends in an ellipsis.
  const int titleWidth = a.right - a.left + 44;
  p.drawText(QRect(a.left, a.top - h - 2, titleWidth, h), Qt::AlignLeft | Qt::AlignBottom,
             metrics.elidedText(title, Qt::ElideRight, titleWidth));
  p.drawText(QRect(a.left, a.bottom + 2 + h, a.right - a.left, h), Qt::AlignRight | Qt::AlignTop,
             xUnit);
}

namespace {

void PaintChannel(QPainter& p, const QRect& row, const ChannelDistribution& c, int channel,
                  const PlotColours& colours) {
  const int h = QFontMetrics(p.font()).height();
  const QColor colour = colours.channels[static_cast<std::size_t>(channel)];
  const QString name = QStringLiteral("CH%1").arg(channel + 1);
  const QString unit = Utf8(c.unit);
  const int split = row.left() + row.width() * 11 / 20;
  const PlotArea histogram{row.left() + 62, row.top() + h + 6, split - 48,
                           row.bottom() + 1 - 2 * h - 8};
  const PlotArea profile{split + 62, histogram.top, row.right() + 1 - 12, histogram.bottom};
  if (histogram.right <= histogram.left + 20 || histogram.bottom <= histogram.top + 20) return;

  const HistogramPlot hp = LayOutHistogram(c, histogram);
  PaintPlotAxes(p, histogram, hp.x, hp.share, &hp.cumulative, colours,
                name + QStringLiteral(": % of points per bin, cumulative %"), unit);
  // The points of the bins left out, under the x axis where the title has
  // no room for them.
  if (hp.below + hp.above > 0) {
    p.drawText(
        QRect(histogram.left, histogram.bottom + 2 + h, histogram.right - histogram.left - 40, h),
        Qt::AlignLeft | Qt::AlignTop,
        QStringLiteral("%1 below, %2 above the plot").arg(hp.below).arg(hp.above));
  }
  QColor bars = colour;
  bars.setAlpha(150);
  for (const HistogramPlot::Bar& b : hp.bars) {
    p.fillRect(QRect(QPoint(b.left, b.top), QPoint(b.right - 1, histogram.bottom - 1)), bars);
  }
  p.setPen(QPen(colours.text, 1, Qt::DashLine));
  for (const int x : hp.percentileX) p.drawLine(x, histogram.top, x, histogram.bottom - 1);
  p.setPen(QPen(colour.lighter(150), 2));
  p.drawPolyline(Polyline(hp.cumulate));

  const ProfilePlot pp = LayOutProfile(c, profile);
  PaintPlotAxes(p, profile, pp.x, pp.y, nullptr, colours,
                name + QStringLiteral(": day profile, min / mean / max"),
                QStringLiteral("hour of day"));
  const std::array<QPen, 3> pens = {QPen(colour.darker(160), 1), QPen(colour, 2),
                                    QPen(colour.darker(160), 1)};
  for (std::size_t line = 0; line < pp.lines.size(); ++line) {
    p.setPen(pens[line]);
    for (const auto& run : pp.lines[line]) {
      if (run.size() == 1) {
        p.drawPoint(run[0][0], run[0][1]);
      } else {
        p.drawPolyline(Polyline(run));
      }
    }
  }
}

}  // namespace

PlotColours GraphPlotColours(const AppSettings& settings) {
  const auto colour = [](int index) {
    return QColor::fromRgb(static_cast<QRgb>(ToRgb(colourOf(index))));
  };
  PlotColours c;
  c.background = colour(settings.backgroundColour);
  c.grid = colour(settings.gridColour);
  c.text = c.background.lightness() < 128 ? QColor(Qt::white) : QColor(Qt::black);
  c.channels = {colour(settings.ch1Colour), colour(settings.ch2Colour)};
  return c;
}

void PaintDistribution(QPainter& p, const QRect& rect, const DistributionFigures& f,
                       const PlotColours& colours) {
  p.fillRect(rect, colours.background);
  p.setFont(AxisLabelFont());
  std::vector<int> shown;
  for (int c = 0; c < 2; ++c) {
    if (f.channels[static_cast<std::size_t>(c)].present) shown.push_back(c);
  }
  if (shown.empty()) {
    p.setPen(colours.text);
    p.drawText(rect, Qt::AlignCenter, QStringLiteral("No values in this span."));
    return;
  }
  const int rowHeight = rect.height() / static_cast<int>(shown.size());
  for (std::size_t i = 0; i < shown.size(); ++i) {
    const QRect row(rect.left(), rect.top() + static_cast<int>(i) * rowHeight, rect.width(),
                    rowHeight);
    PaintChannel(p, row, f.channels[static_cast<std::size_t>(shown[i])], shown[i], colours);
  }
}

void PaintDistributionPage(QPainter& p, const QRect& page, const DistributionFigures& f,
                           const PlotColours& colours) {
  QFont title = AxisLabelFont();
  title.setPixelSize(std::max(12, page.height() / 40));
  title.setBold(true);
  QFont body = AxisLabelFont();
  body.setPixelSize(std::max(10, page.height() / 70));
  p.setPen(Qt::black);
  p.setFont(title);
  const int titleHeight = QFontMetrics(title).height();
  p.drawText(QRect(page.left(), page.top(), page.width(), titleHeight), Qt::AlignLeft,
             QStringLiteral("Distribution"));
  p.setFont(body);
  const int line = QFontMetrics(body).height();
  int y = page.top() + titleHeight + line / 2;
  for (const std::string& text : DistributionHeading(f)) {
    p.drawText(QRect(page.left(), y, page.width(), line), Qt::AlignLeft, Utf8(text));
    y += line;
  }
  y += line / 2;
  // The plots keep their screen proportions: text sized for the screen
  // stays legible when the page is scaled down to them.
  const QRect plots(page.left(), y, page.width(), page.bottom() + 1 - y);
  const double scale = std::max(1.0, plots.width() / 980.0);
  p.save();
  p.translate(plots.topLeft());
  p.scale(scale, scale);
  PaintDistribution(p,
                    QRect(0, 0, static_cast<int>(plots.width() / scale),
                          static_cast<int>(std::min(plots.height() / scale, 1200.0))),
                    f, colours);
  p.restore();
}

}  // namespace acv
