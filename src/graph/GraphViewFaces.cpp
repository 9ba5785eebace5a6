// The part of the graph view's face that the graph painter leaves out: the
// information strip across the top.
#include <QFontMetrics>
#include <QPainter>

#include "graph/CDTView.h"

namespace acv {
namespace {

const QColor kInfoGrey(230, 230, 230);

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

}  // namespace acv
