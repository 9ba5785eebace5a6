#include "ui/GraphToolIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include "frame/Commands.h"

namespace acv {
namespace {

const QColor kInk(30, 30, 30);

void DrawColours(QPainter& p) {
  const QColor swatches[] = {Qt::red, QColor(0, 170, 0), Qt::blue, QColor(230, 200, 0)};
  for (int i = 0; i < 4; ++i) {
    // Two by two: the row and column of swatch i.
    const int row = i / 2;
    const int column = i % 2;
    p.setBrush(swatches[i]);
    p.drawRect(QRectF(1.5 + 7.0 * column, 1.5 + 7.0 * row, 6, 6));
  }
}

void DrawAxes(QPainter& p) {
  p.drawLine(QPointF(3, 1.5), QPointF(3, 13));
  p.drawLine(QPointF(3, 13), QPointF(14.5, 13));
  p.drawLine(QPointF(1.5, 3.5), QPointF(3, 1.5));
  p.drawLine(QPointF(4.5, 3.5), QPointF(3, 1.5));
  p.drawLine(QPointF(12.5, 11.5), QPointF(14.5, 13));
  p.drawLine(QPointF(12.5, 14.5), QPointF(14.5, 13));
  for (int y : {4, 7, 10}) p.drawLine(QPointF(2, y), QPointF(4, y));
}

void DrawViewOptions(QPainter& p) {
  p.setBrush(Qt::white);
  for (int row = 0; row < 2; ++row) {
    const double y = 2.5 + row * 7;
    p.drawRect(QRectF(1.5, y, 5, 5));
    p.drawLine(QPointF(9, y + 2.5), QPointF(14.5, y + 2.5));
  }
  p.drawLine(QPointF(2.5, 5), QPointF(4, 6.5));
  p.drawLine(QPointF(4, 6.5), QPointF(6.5, 2));
}

void DrawFit(QPainter& p) {
  QPainterPath wave;
  wave.moveTo(2, 8);
  wave.cubicTo(5, 1, 8, 1, 9, 8);
  wave.cubicTo(10, 15, 13, 15, 14, 8);
  p.setPen(QPen(QColor(200, 30, 30), 1.4));
  p.drawPath(wave);
  p.setPen(QPen(kInk, 1.2));
  p.drawLine(QPointF(1, 1.5), QPointF(15, 1.5));
  p.drawLine(QPointF(1, 14.5), QPointF(15, 14.5));
}

}  // namespace

QIcon GraphToolIcon(int commandId) {
  void (*draw)(QPainter&) = nullptr;
  switch (commandId) {
    case cmd::kColorSetup:
      draw = DrawColours;
      break;
    case cmd::kAxisSetup:
      draw = DrawAxes;
      break;
    case cmd::kViewOptions:
      draw = DrawViewOptions;
      break;
    case cmd::kFitAxes:
      draw = DrawFit;
      break;
    default:
      return {};
  }
  QIcon icon;
  for (int size : {16, 32}) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 16.0, size / 16.0);
    p.setPen(QPen(kInk, 1.2));
    draw(p);
    p.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

}  // namespace acv
