#include "ui/FrameParts.h"

#include <QTimer>
#include <QWidget>

namespace acv {

void BringUp(QWidget* window) {
  window->show();
  window->raise();
  // The menu or button that chose the command gives the keyboard back to
  // its own window as it closes, so the window asks for it once that is done.
  QTimer::singleShot(0, window, [window] { window->activateWindow(); });
}

}  // namespace acv
