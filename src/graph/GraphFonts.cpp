#include "graph/GraphFonts.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QStringList>
#include <algorithm>
#include <cmath>

namespace acv {
namespace {

const QStringList& ArialFamilies() {
  static const QStringList families{QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                                    QStringLiteral("Arimo"), QStringLiteral("DejaVu Sans")};
  return families;
}

void StretchToAverageWidth(QFont& font, int averageWidth) {
  if (averageWidth <= 0) return;
  const qreal natural = QFontMetricsF(font).averageCharWidth();
  if (natural <= 0) return;
  const int stretch = static_cast<int>(std::lround(100.0 * averageWidth / natural));
  font.setStretch(std::clamp(stretch, 1, 4000));
}

QFont Build(const QStringList& families, int pixelHeight, int averageWidth, QFont::Weight weight) {
  QFont font;
  font.setFamilies(families);
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(std::max(1, pixelHeight));
  font.setWeight(weight);
  StretchToAverageWidth(font, averageWidth);
  return font;
}

}  // namespace

QFont SansFont(int pixelHeight, int averageWidth, QFont::Weight weight) {
  return Build(ArialFamilies(), pixelHeight, averageWidth, weight);
}

QFont AxisLabelFont() {
  return SansFont(12, 0, QFont::Medium);
}

QFont ReadoutFont() {
  return SansFont(20, 8, QFont::Thin);
}

QFont StartScreenFont() {
  const QString black = QStringLiteral("Arial Black");
  if (QFontDatabase::hasFamily(black)) return Build({black}, 90, 40, QFont::Black);
  return SansFont(90, 40, QFont::Black);
}

}  // namespace acv
