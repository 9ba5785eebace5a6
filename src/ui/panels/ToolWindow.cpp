#include "ui/panels/ToolWindow.h"

#include <QCloseEvent>
#include <algorithm>

namespace acv {

ToolWindow::ToolWindow(QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint) {
  setAttribute(Qt::WA_DeleteOnClose);
}

QSize ToolWindow::FrameEdges() const {
  return frameGeometry().size() - geometry().size();
}

void ToolWindow::PlaceAt(const QRect& screenRect) {
  target_ = screenRect;
  ApplyPlace();
}

void ToolWindow::ApplyPlace() {
  edges_ = FrameEdges();
  // move() places the frame, resize() sizes the client area.
  resize(std::max(1, target_.width() - edges_.width()),
         std::max(1, target_.height() - edges_.height()));
  move(target_.topLeft());
}

void ToolWindow::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  if (target_.isValid() && FrameEdges() != edges_) ApplyPlace();
}

void ToolWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // A shown window has its frame where the platform reports it at once; a
  // later show (after a minimise) keeps where the user put it.
  if (!shownOnce_ && target_.isValid()) ApplyPlace();
  shownOnce_ = true;
}

void ToolWindow::closeEvent(QCloseEvent* event) {
  emit closed();
  QWidget::closeEvent(event);
}

}  // namespace acv
