#pragma once
// A picture of one logger window for the documentation: opens the dialog
// against the logger (usually the simulated one), waits until its title says
// "Connected" (for "loading": until a download's progress bar has moved a
// third of its way), and saves the window with its caption drawn above it,
// since a virtual screen has no window manager to draw one.
#include <QImage>
#include <QObject>
#include <QString>
#include <functional>

class QTimer;
class QWidget;

namespace acv {

class CMainFrame;

class DialogScreenshot : public QObject {
  Q_OBJECT

 public:
  // which: "download", "realtime", "setup", "clock" or "loading". done gets
  // whether the picture was saved and the window reached the wanted state.
  DialogScreenshot(CMainFrame& frame, QString which, QString file, int delayMs,
                   std::function<void(bool ok)> done);

  void Start();

  // The window's contents under a caption bar carrying its title.
  static QImage WithCaption(QWidget& window);

 private:
  void Poll();
  void Save(QWidget& window, bool reached);

  CMainFrame& frame_;
  QString which_;
  QString file_;
  int delayMs_;
  std::function<void(bool)> done_;
  QTimer* poll_;
  int waitedMs_ = 0;
  bool saving_ = false;
};

}  // namespace acv
