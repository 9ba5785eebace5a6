#include "ui/CStartupSplash.h"

#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>

#include "ui/Artwork.h"

namespace acv {

CStartupSplash* CStartupSplash::current_ = nullptr;
bool CStartupSplash::enabled_ = true;
int CStartupSplash::swallowKey_ = 0;

void CStartupSplash::EnableSplash(bool enabled) {
  enabled_ = enabled;
}

CStartupSplash::CStartupSplash(QWidget* owner)
    : QWidget(owner, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      picture_(SplashPicture()),
      owner_(owner) {
  setAttribute(Qt::WA_DeleteOnClose);
  setCursor(Qt::ArrowCursor);
  setFixedSize(picture_.size());
  QScreen* screen = owner != nullptr && owner->screen() != nullptr
                        ? owner->screen()
                        : QGuiApplication::primaryScreen();
  if (screen != nullptr) move(screen->geometry().center() - rect().center());
  timer_.setSingleShot(true);
  connect(&timer_, &QTimer::timeout, this, [] { HideSplashScreen(); });
  timer_.start(kShowMs);
}

CStartupSplash::~CStartupSplash() {
  if (current_ == this) current_ = nullptr;
}

void CStartupSplash::ShowSplashScreen(QWidget* mainWindow) {
  if (!enabled_ || current_ != nullptr) return;
  current_ = new CStartupSplash(mainWindow);
  current_->show();
  current_->repaint();
}

void CStartupSplash::HideSplashScreen() {
  CStartupSplash* splash = current_;
  if (splash == nullptr) return;
  current_ = nullptr;
  QPointer<QWidget> owner = splash->owner_;
  splash->close();  // deletes it
  if (owner != nullptr) owner->update();
}

bool CStartupSplash::PreTranslateAppMessage(QEvent* event) {
  if (swallowKey_ != 0 && event->type() == QEvent::KeyPress) {
    // The key press that follows the shortcut check which hid the splash.
    const bool same = static_cast<QKeyEvent*>(event)->key() == swallowKey_;
    swallowKey_ = 0;
    if (same) return true;
  }
  if (current_ == nullptr) return false;
  switch (event->type()) {
    case QEvent::ShortcutOverride:
      // Accepted, so that no shortcut fires for this key either.
      event->accept();
      swallowKey_ = static_cast<QKeyEvent*>(event)->key();
      HideSplashScreen();
      return true;
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonDblClick:
      HideSplashScreen();
      return true;
    default:
      return false;
  }
}

void CStartupSplash::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawPixmap(0, 0, picture_);
}

}  // namespace acv
