#pragma once
// A tool window of the main window: it stays above its owner and goes with
// it, has a caption with a close box, and is destroyed when it closes. It is
// placed with its frame on a rectangle of the screen, as the lists and panels
// are placed over a part of the main window. The frame's edges are known only
// once the window manager has framed the window, so the place is taken again
// when they become known; a move by the user leaves the edges as they are and
// is kept. (On X11 the place is honoured; a Wayland compositor places tool
// windows itself.)
#include <QWidget>

namespace acv {

class ToolWindow : public QWidget {
  Q_OBJECT

 public:
  explicit ToolWindow(QWidget* owner);

  // Puts the window's frame (not only its client area) on the rectangle.
  void PlaceAt(const QRect& screenRect);
  // The user moved or sized the window away from where it was placed.
  bool MovedByUser() const { return target_.isValid() && frameGeometry() != target_; }

 signals:
  // The window is closing (its object goes a moment later).
  void closed();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void ApplyPlace();
  QSize FrameEdges() const;

  QRect target_;
  QSize edges_;  // the frame's edges when the window was last placed
  bool shownOnce_ = false;
};

}  // namespace acv
