#pragma once
// The start-up picture, shown centred over the screen for one second while
// the main window appears. Any key or mouse button pressed anywhere in the
// program while it is up hides it at once, and that press goes no further
// (it was meant for the picture, not for whatever lies under it).
#include <QTimer>
#include <QWidget>

namespace acv {

class CStartupSplash : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kShowMs = 1000;

  // Whether the splash may be shown at all (off for screenshots and tests).
  static void EnableSplash(bool enabled);
  // Shows the splash owned by mainWindow, unless it is disabled or shown.
  static void ShowSplashScreen(QWidget* mainWindow);
  // The splash that is up right now, or nullptr.
  static CStartupSplash* Current() { return current_; }
  // Installed on the application: hides the splash on a key or mouse press
  // and swallows that press. Returns true when the event was swallowed.
  static bool PreTranslateAppMessage(QEvent* event);
  static void HideSplashScreen();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  explicit CStartupSplash(QWidget* owner);
  ~CStartupSplash() override;

  QPixmap picture_;
  QTimer timer_;
  QWidget* owner_;
  static CStartupSplash* current_;
  static bool enabled_;
  static int swallowKey_;  // a key whose press is still to be swallowed
};

}  // namespace acv
