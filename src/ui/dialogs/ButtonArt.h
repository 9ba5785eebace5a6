#pragma once
// The pictures on the logger dialogs' buttons: 120 x 42 pixels, a rounded,
// shaded face with the button's text, drawn at run time. PictureButton is a
// push button that paints its picture instead of the style's bevel; its text
// stays set, so it is still found, read out and clicked by its text.
#include <QPixmap>
#include <QPushButton>
#include <QString>

namespace acv {

inline constexpr int kButtonArtWidth = 120;
inline constexpr int kButtonArtHeight = 42;

enum class ButtonFace { Normal, Hover, Pressed, Disabled };

// The picture of a button with `text` in the given state, at the device
// pixel ratio of the screen it is shown on.
QPixmap DrawButtonArt(const QString& text, ButtonFace face, qreal devicePixelRatio = 1.0);

class PictureButton : public QPushButton {
  Q_OBJECT

 public:
  explicit PictureButton(const QString& text, QWidget* parent = nullptr);

  QSize sizeHint() const override { return {kButtonArtWidth, kButtonArtHeight}; }
  QSize minimumSizeHint() const override { return sizeHint(); }

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace acv
