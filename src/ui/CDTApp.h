#pragma once
// The application object: reads the command line, starts the simulated
// logger when asked, creates the main window, opens a data file named on the
// command line, and shows the start-up splash. It also sees every event
// first, so that a key or click during the splash only removes the splash.
#include <QApplication>
#include <memory>

#include "frame/CommandLine.h"

namespace acv {

class CMainFrame;
class SimulatorProcess;

class CDTApp : public QApplication {
  Q_OBJECT

 public:
  CDTApp(int& argc, char** argv);
  ~CDTApp() override;

  // Everything before the event loop. False when the program must end at
  // once with exitCode (a bad command line, a simulator that will not start).
  bool InitInstance(int& exitCode);
  CMainFrame* MainFrame() const { return frame_.get(); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ArrangeScreenshot();
  void TakeScreenshot();

  CommandLine line_;
  std::unique_ptr<SimulatorProcess> simulator_;
  std::unique_ptr<CMainFrame> frame_;
  bool screenshotArmed_ = false;
};

}  // namespace acv
