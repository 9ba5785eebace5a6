#include "ui/LoadingWindow.h"

#include <QGuiApplication>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>

namespace acv {

LoadingWindow::LoadingWindow(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowTitleHint | Qt::CustomizeWindowHint),
      bar_(new QProgressBar(this)) {
  setObjectName(QStringLiteral("loadingWindow"));
  setWindowTitle(QStringLiteral("Loading..."));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->addWidget(bar_);
  bar_->setTextVisible(false);
  setFixedSize(260, 36);
}

void LoadingWindow::SetRange(int maximum) {
  bar_->setRange(0, std::max(0, maximum));
}

void LoadingWindow::SetPosition(int position) {
  bar_->setValue(position);
}

int LoadingWindow::Position() const {
  return bar_->value();
}

int LoadingWindow::Maximum() const {
  return bar_->maximum();
}

void LoadingWindow::PlaceOver(const QRect& viewGlobalRect) {
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->availableGeometry().center() - rect().center());
  }
  move(viewGlobalRect.left() + (viewGlobalRect.width() - width()) / 2,
       viewGlobalRect.top() + 4 * height());
}

}  // namespace acv
