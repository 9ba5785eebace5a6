#include "ui/CDTApp.h"

#include <QScreen>
#include <QTimer>
#include <cstdio>

#include "ProjectVersion.h"
#include "graph/GraphPictureFile.h"
#include "ui/CMainFrame.h"
#include "ui/CStartupSplash.h"
#include "ui/DialogScreenshot.h"
#include "ui/GraphScenario.h"
#include "ui/SimulatorProcess.h"

namespace acv {

CDTApp::CDTApp(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName(QStringLiteral("acvlogger"));
  setApplicationVersion(QString::fromLatin1(kProjectVersion));
  setDesktopFileName(QStringLiteral("acvlogger"));
}

CDTApp::~CDTApp() {
  // The window goes before the simulator whose terminal it may still hold.
  frame_.reset();
  simulator_.reset();
}

bool CDTApp::InitInstance(int& exitCode) {
  std::vector<std::string> args;
  const QStringList words = arguments();
  for (qsizetype i = 1; i < words.size(); ++i) args.push_back(words[i].toStdString());
  line_ = ParseCommandLine(args);
  if (!line_.error.empty()) {
    std::fprintf(stderr, "acvlogger: %s\n\n%s", line_.error.c_str(), UsageText().c_str());
    exitCode = 2;
    return false;
  }

  FrameServices services;
  services.preferredPort = line_.port;
  services.showSplash = line_.screenshot.empty();
  if (line_.simulate) {
    simulator_ = std::make_unique<SimulatorProcess>();
    const QString program = SimulatorProcess::Locate(applicationDirPath());
    QStringList simArgs;
    for (const std::string& a : line_.simArgs) simArgs << QString::fromStdString(a);
    if (program.isEmpty()) {
      std::fprintf(stderr, "acvlogger: the simulated logger (acvlogger-sim) was not found in:\n");
      for (const QString& c : SimulatorProcess::Candidates(applicationDirPath())) {
        std::fprintf(stderr, "  %s\n", qPrintable(c));
      }
      exitCode = 1;
      return false;
    }
    if (!simulator_->Start(program, simArgs)) {
      std::fprintf(stderr, "acvlogger: %s\n", qPrintable(simulator_->Error()));
      exitCode = 1;
      return false;
    }
    // The simulator's terminal is the logger's port, and the only one.
    services.preferredPort = simulator_->DevicePath().toStdString();
    services.onlyPreferredPort = true;
  }

  installEventFilter(this);
  CStartupSplash::EnableSplash(services.showSplash);
  frame_ = std::make_unique<CMainFrame>(services);
  // Without a window manager (a virtual screen) "maximized" means nothing;
  // the window then fills the screen by its geometry.
  if (const QScreen* screen = primaryScreen()) frame_->setGeometry(screen->availableGeometry());
  frame_->showMaximized();
  // Screenshots are taken unattended: no question may wait for an answer.
  if (line_.screenshot.empty()) frame_->OfferRecovery();
  if (!line_.file.empty()) frame_->OpenDataFile(QString::fromStdString(line_.file));
  if (line_.autoDownload || line_.autoRun) {
    QTimer::singleShot(300, frame_.get(), [this] {
      frame_->Logger().AutoStart(line_.autoDownload ? DialogKind::Download : DialogKind::RealTime);
    });
  }
  ArrangeScreenshot();
  return true;
}

bool CDTApp::eventFilter(QObject* watched, QEvent* event) {
  if (CStartupSplash::PreTranslateAppMessage(event)) return true;
  return QApplication::eventFilter(watched, event);
}

void CDTApp::ArrangeScreenshot() {
  if (line_.screenshot.empty()) return;
  if (!line_.screenshotDialog.empty()) {
    auto* shot = new DialogScreenshot(
        *frame_, QString::fromStdString(line_.screenshotDialog),
        QString::fromStdString(line_.screenshot), line_.screenshotDelayMs, [this](bool ok) {
          if (!ok) {
            std::fprintf(stderr, "acvlogger: the %s picture was not taken as asked\n",
                         line_.screenshotDialog.c_str());
          }
          exit(ok ? 0 : 1);
        });
    // After the window is on screen, as a user would open the dialog.
    QTimer::singleShot(300, shot, &DialogScreenshot::Start);
    return;
  }
  auto arm = [this] {
    if (screenshotArmed_) return;
    screenshotArmed_ = true;
    PlayGraphScenario(*frame_, line_);
    QTimer::singleShot(line_.screenshotDelayMs, this, &CDTApp::TakeScreenshot);
  };
  // After an automatic transfer the picture waits for its data.
  if (line_.autoDownload) {
    connect(frame_.get(), &CMainFrame::downloadCompleted, this, arm);
  } else if (line_.autoRun) {
    connect(frame_.get(), &CMainFrame::realTimePointTaken, this, arm);
  } else {
    arm();
  }
}

void CDTApp::TakeScreenshot() {
  const QString file = QString::fromStdString(line_.screenshot);
  // The screen over the main window, so that its tool windows (lists and
  // panels) are in the picture too.
  QScreen* screen = frame_->screen();
  const QRect area = frame_->frameGeometry();
  const std::string error = SavePictureFile(
      screen->grabWindow(0, area.x(), area.y(), area.width(), area.height()).toImage(), file);
  if (!error.empty()) std::fprintf(stderr, "acvlogger: %s\n", error.c_str());
  exit(error.empty() ? 0 : 1);
}

}  // namespace acv
