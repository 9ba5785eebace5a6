#include "graph/CDTView.h"

#include <QPainter>
#include <QPainterPath>
#include <QResizeEvent>
#include <algorithm>
#include <cstdio>

#include "graph/geometry/Colours.h"
#include "graph/geometry/SeriesSource.h"

namespace acv {
namespace {

const QColor kStartScreenGrey(0xC8, 0xC8, 0xC8);
const QColor kStartWords(0x66, 0x7A, 0x9D);  // 0x9D7A66 as blue-green-red
const QColor kInfoGrey(230, 230, 230);

QColor ColourAt(int index) {
  const std::uint32_t rgb = ToRgb(colourOf(index));
  return QColor::fromRgb(static_cast<QRgb>(rgb | 0xFF000000u));
}

GraphMode GraphModeOf(DisplayMode mode) {
  switch (mode) {
    case DisplayMode::StoreTr:
      return GraphMode::StoreTr;
    case DisplayMode::RealTimeEpa:
      return GraphMode::RealTimeEpa;
    case DisplayMode::RealTimeRms:
      return GraphMode::RealTimeRms;
    case DisplayMode::RealTimeFreq:
      return GraphMode::RealTimeFreq;
    case DisplayMode::RealTimeS:
      return GraphMode::RealTimeS;
    default:
      return GraphMode::StoreRms;
  }
}

// "Arial", or a font with the same metrics where Arial itself is missing.
QFont ArialFont(int pixelSize, int weight) {
  QFont f;
  f.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
  f.setStyleHint(QFont::SansSerif);
  f.setPixelSize(pixelSize);
  f.setWeight(static_cast<QFont::Weight>(weight));
  return f;
}

}  // namespace

CDTView::CDTView(const CDTDoc& doc, QWidget* parent) : QWidget(parent), doc_(doc) {
  setObjectName(QStringLiteral("graphView"));
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumWidth(10);
}

void CDTView::SetStartScreenPanel(QWidget* panel) {
  startPanel_ = panel;
  if (panel == nullptr) return;
  panel->setParent(this);
  PlaceStartPanel();
}

void CDTView::TakeSettings(const AppSettings& settings) {
  look_ = settings;
  update();
}

void CDTView::ApplyDisplay(const DisplaySetup& setup) {
  setup_ = setup;
  PlaceStartPanel();
  update();
}

void CDTView::SetInfoTexts(const InfoTexts& info) {
  info_ = info;
  update(0, 0, width(), std::max(setup_.panelHeight, 0));
}

void CDTView::ZoomReset() {
  ++zoomResets_;
  update();
}

void CDTView::FitRealTimeSpan(int points) {
  realTimeSpan_ = points;
  update();
}

void CDTView::RealTimePointAdded() {
  update();
}

void CDTView::DataChanged() {
  PlaceStartPanel();
  update();
}

void CDTView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  PlaceStartPanel();
}

void CDTView::PlaceStartPanel() {
  if (startPanel_ == nullptr) return;
  if (!ShowsStartScreen()) {
    startPanel_->hide();
    return;
  }
  startPanel_->setGeometry(0, (height() - startPanel_->height()) / 2, startPanel_->width(),
                           startPanel_->height());
  startPanel_->show();
}

void CDTView::paintEvent(QPaintEvent*) {
  // One off-screen picture, copied in one step: the view never flickers.
  QImage image(size(), QImage::Format_RGB32);
  {
    QPainter p(&image);
    if (ShowsStartScreen()) {
      PaintStartScreen(p);
    } else {
      PaintGraph(p);
      PaintInfoStrip(p);
    }
  }
  QPainter(this).drawImage(0, 0, image);
}

void CDTView::PaintStartScreen(QPainter& p) {
  p.fillRect(rect(), kStartScreenGrey);
  QFont font;
  font.setFamilies({QStringLiteral("Arial Black"), QStringLiteral("Liberation Sans")});
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(90);
  font.setWeight(QFont::Black);
  // Narrow letters, about 40 pixels each, whatever heavy face is at hand.
  const int natural = QFontMetrics(font).horizontalAdvance(QStringLiteral("ELECTRIC"));
  if (natural > 0) font.setStretch(std::clamp(100 * 8 * 40 / natural, 30, 200));
  p.setFont(font);
  p.setPen(kStartWords);
  const QFontMetrics fm(font);
  int y = (height() - 350) / 2;
  for (const char* word : {"ELECTRIC", "POWER", "TEST"}) {
    p.drawText(280, y + fm.ascent(), QString::fromLatin1(word));
    y += 100;
  }
}

void CDTView::PaintInfoStrip(QPainter& p) {
  const int h = setup_.panelHeight;
  if (h <= 0) return;
  p.fillRect(QRect(0, 0, width(), h), kInfoGrey);
  p.setPen(Qt::black);
  QFont heading;
  heading.setFamilies({QStringLiteral("Arial Black"), QStringLiteral("Liberation Sans")});
  heading.setPixelSize(12);
  heading.setWeight(QFont::Black);
  const bool thin = mode_ == DisplayMode::StoreTr || mode_ == DisplayMode::RealTimeEpa;
  if (thin) {
    p.setFont(heading);
    const QString start = QString::fromStdString(info_.startText);
    p.drawText(width() / 2 - 4 * static_cast<int>(start.size()), 15, start);
    return;
  }
  // The row labels carry runs of blanks that place their second label.
  const QString blanks57(57, QLatin1Char(' '));
  const QString blanks53(53, QLatin1Char(' '));
  const QString blanks48(48, QLatin1Char(' '));
  p.setFont(ArialFont(14, QFont::Normal));
  const int base = QFontMetrics(p.font()).ascent();
  auto text = [&](int x, int y, const QString& t) { p.drawText(x, y + base, t); };
  auto q = [](const std::string& t) { return QString::fromStdString(t); };
  text(50, 25, QStringLiteral(" MODE:") + blanks57 + QStringLiteral("SAMPLING RATE:"));
  text(150, 25, q(info_.modeText));
  text(490, 25, q(info_.rateText));
  p.drawLine(0, 40, width(), 40);
  text(50, 45, QStringLiteral(" STARTTIME:") + blanks48 + QStringLiteral("DATANO:"));
  text(150, 45, q(info_.startText));
  text(425, 45, q(info_.countText));
  const bool apparent = mode_ == DisplayMode::RealTimeS;
  if (setup_.plotCh1) {
    text(50, 65,
         apparent ? QStringLiteral(" S MAX:") + blanks57 + QStringLiteral("S MIN:")
                  : QStringLiteral(" CH1 MAX:") + blanks53 + QStringLiteral("CH1 MIN:"));
    text(125, 65, q(info_.max1Text));
    text(400, 65, q(info_.min1Text));
  }
  if (setup_.plotCh2 && !apparent) {
    text(50, 85, QStringLiteral(" CH2 MAX:") + blanks53 + QStringLiteral("CH2 MIN:"));
    text(125, 85, q(info_.max2Text));
    text(400, 85, q(info_.min2Text));
  }
  p.fillRect(0, 0, width(), 20, kInfoGrey);
  p.setFont(heading);
  p.drawText(width() / 2 - 60, QFontMetrics(heading).ascent(), QStringLiteral(" REC INFO "));
  p.drawLine(0, 19, width(), 19);
  p.drawLine(0, 20, width(), 20);
}

void CDTView::PaintGraph(QPainter& p) {
  const int h = std::max(setup_.panelHeight, 0);
  const QColor face = palette().color(QPalette::Button);
  p.fillRect(rect(), Qt::black);
  const QRect plot(QPoint(110, h + 70), QPoint(width() - 110, height() - 110));
  const QRect box(QPoint(20, plot.top() - 18), QPoint(width() - 20, plot.bottom() + 55));
  p.fillRect(box, face);
  if (plot.width() <= 0 || plot.height() <= 0) return;
  p.fillRect(plot, ColourAt(look_.backgroundColour));

  const QColor grid = ColourAt(look_.gridColour);
  QPen dotted(grid, 1);
  dotted.setDashPattern({1, 1});
  p.setPen(dotted);
  for (int k = 0; k <= 10; ++k) {
    const int y = plot.top() + plot.height() * k / 10;
    if (look_.xGrid) p.drawLine(plot.left() - 5, y, plot.right() + 5, y);
    const int x = plot.left() + plot.width() * k / 10;
    if (look_.yGrid && k < 10) p.drawLine(x, plot.bottom(), x, plot.top());
  }

  p.save();
  p.setClipRect(plot);
  p.setRenderHint(QPainter::Antialiasing);
  if (setup_.plotCh1 && look_.showCh1) PaintSeries(p, plot, 0, ColourAt(look_.ch1Colour));
  if (setup_.plotCh2 && look_.showCh2) PaintSeries(p, plot, 1, ColourAt(look_.ch2Colour));
  p.restore();

  // Y labels of both channels, X range at the ends.
  p.setFont(ArialFont(12, QFont::Medium));
  p.setPen(Qt::black);
  char text[48];
  for (int k = 0; k <= 10; ++k) {
    const int y = plot.bottom() - k * plot.height() / 10 + 4;
    if (setup_.plotCh1) {
      std::snprintf(text, sizeof text, "%.2f",
                    setup_.ch1From + (setup_.ch1To - setup_.ch1From) * k * 0.1);
      p.drawText(QRect(24, y - 12, 82, 16), Qt::AlignRight | Qt::AlignVCenter,
                 QString::fromLatin1(text));
    }
    if (setup_.plotCh2) {
      std::snprintf(text, sizeof text, "%.2f",
                    setup_.ch2From + (setup_.ch2To - setup_.ch2From) * k * 0.1);
      p.drawText(plot.right() + 6, y, QString::fromLatin1(text));
    }
  }
  if (setup_.plotCh1) p.drawText(40, plot.top() - 4, QString::fromStdString(setup_.ch1UnitText));
  if (setup_.plotCh2)
    p.drawText(plot.right() + 6, plot.top() - 4, QString::fromStdString(setup_.ch2UnitText));
  p.drawText(plot.left(), plot.bottom() + 18, QString::number(setup_.firstPoint));
  const QString last = QString::number(setup_.lastPoint);
  p.drawText(plot.right() - p.fontMetrics().horizontalAdvance(last), plot.bottom() + 18, last);
  p.drawText(plot.left(), plot.bottom() + 40, QString::fromUtf8(ModeName(mode_)));

  p.setPen(QPen(Qt::white, 2));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRect(QPoint(10, h + 10), QPoint(width() - 10, height() - 10)));
}

void CDTView::PaintSeries(QPainter& p, const QRect& plot, int channel, const QColor& colour) {
  const int first = setup_.firstPoint;
  const int last = setup_.lastPoint;
  if (mode_ == DisplayMode::None || first < 1 || last < first) return;
  const SeriesSource source(doc_, GraphModeOf(mode_));
  const std::int64_t offset = mode_ == DisplayMode::StoreTr
                                  ? static_cast<std::int64_t>(setup_.trRecord) * kTrWavePoints
                                  : 0;
  const double from = channel == 0 ? setup_.ch1From : setup_.ch2From;
  const double to = channel == 0 ? setup_.ch1To : setup_.ch2To;
  if (to == from) return;
  // During a run the axis holds at least the span asked for, so the curve
  // grows from the left instead of being stretched at every point.
  const int span = std::max({last - first, realTimeSpan_ - 1, 1});
  const double step = static_cast<double>(plot.width()) / span;
  // At most a few points per pixel column are needed for a faithful line.
  const int stride = std::max(1, (last - first + 1) / std::max(1, plot.width() * 2));
  QPainterPath path;
  bool open = false;
  for (std::int64_t i = first - 1; i < last; i += stride) {
    if (!source.Has(channel, i + offset)) {
      open = false;
      continue;
    }
    const double v = source.Value(channel, i + offset);
    const QPointF pt(plot.left() + (i - first + 1) * step,
                     plot.bottom() - (v - from) * plot.height() / (to - from));
    if (open)
      path.lineTo(pt);
    else
      path.moveTo(pt);
    open = true;
  }
  p.setPen(QPen(colour, 1));
  p.drawPath(path);
}

}  // namespace acv
