#include "ui/dialogs/ButtonArt.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace acv {

namespace {

struct FaceColours {
  QColor top;
  QColor bottom;
  QColor border;
  QColor text;
};

FaceColours ColoursFor(ButtonFace face) {
  switch (face) {
    case ButtonFace::Hover:
      return {QColor(246, 250, 255), QColor(170, 196, 228), QColor(52, 86, 134),
              QColor(16, 40, 82)};
    case ButtonFace::Pressed:
      return {QColor(150, 178, 214), QColor(226, 236, 248), QColor(40, 70, 116),
              QColor(10, 30, 70)};
    case ButtonFace::Disabled:
      return {QColor(240, 240, 240), QColor(200, 200, 200), QColor(150, 150, 150),
              QColor(150, 150, 150)};
    case ButtonFace::Normal:
      break;
  }
  return {QColor(236, 243, 252), QColor(156, 184, 220), QColor(52, 86, 134), QColor(16, 40, 82)};
}

QFont ButtonFont() {
  // "Arial" resolves to a metric-compatible sans serif where it is missing.
  QFont font(QStringLiteral("Arial"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(15);
  font.setBold(true);
  return font;
}

}  // namespace

QPixmap DrawButtonArt(const QString& text, ButtonFace face, qreal devicePixelRatio) {
  QPixmap picture(QSize(kButtonArtWidth, kButtonArtHeight) * devicePixelRatio);
  picture.setDevicePixelRatio(devicePixelRatio);
  picture.fill(Qt::transparent);

  const FaceColours colours = ColoursFor(face);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF outline(1.5, 1.5, kButtonArtWidth - 3.0, kButtonArtHeight - 3.0);
  QPainterPath shape;
  shape.addRoundedRect(outline, 7, 7);

  QLinearGradient shade(outline.topLeft(), outline.bottomLeft());
  shade.setColorAt(0.0, colours.top);
  shade.setColorAt(0.55, colours.bottom.lighter(112));
  shade.setColorAt(1.0, colours.bottom);
  painter.fillPath(shape, shade);

  // A soft highlight over the upper half gives the face its rounded look.
  if (face != ButtonFace::Pressed) {
    QPainterPath gloss;
    gloss.addRoundedRect(outline.adjusted(3, 2, -3, -outline.height() / 2), 5, 5);
    QLinearGradient glossShade(outline.topLeft(), QPointF(outline.left(), outline.center().y()));
    glossShade.setColorAt(0.0, QColor(255, 255, 255, 150));
    glossShade.setColorAt(1.0, QColor(255, 255, 255, 20));
    painter.fillPath(gloss, glossShade);
  }

  painter.setPen(QPen(colours.border, 1.5));
  painter.drawPath(shape);

  painter.setFont(ButtonFont());
  const QRectF textBox = face == ButtonFace::Pressed ? outline.translated(1, 1) : outline;
  if (face != ButtonFace::Disabled) {
    painter.setPen(QColor(255, 255, 255, 140));
    painter.drawText(textBox.translated(0, 1), Qt::AlignCenter, text);
  }
  painter.setPen(colours.text);
  painter.drawText(textBox, Qt::AlignCenter, text);
  return picture;
}

PictureButton::PictureButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {
  setFixedSize(kButtonArtWidth, kButtonArtHeight);
  setAccessibleName(text);
  setAttribute(Qt::WA_Hover);
  // Dialogs decide themselves what Enter does.
  setAutoDefault(false);
}

void PictureButton::paintEvent(QPaintEvent*) {
  ButtonFace face = ButtonFace::Normal;
  if (!isEnabled())
    face = ButtonFace::Disabled;
  else if (isDown())
    face = ButtonFace::Pressed;
  else if (underMouse())
    face = ButtonFace::Hover;

  QStylePainter painter(this);
  painter.drawPixmap(0, 0, DrawButtonArt(text(), face, devicePixelRatio()));
  if (hasFocus()) {
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = rect().adjusted(5, 5, -5, -5);
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
  }
}

}  // namespace acv
