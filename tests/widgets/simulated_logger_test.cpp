// The whole program against the simulated logger on a pseudo-terminal, with
// the real serial port, real timers and the real logger dialogs: a download
// under the "Loading..." window, a real-time run of two points, the logger
// set up and its clock set, a run stopped by closing the window, and what the
// logger received, read back from the simulator's trace of every command.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QStatusBar>
#include <cstdlib>

#include "WidgetTestSupport.h"
#include "data/Settings.h"
#include "dialogs_fixture.h"
#include "frame/Commands.h"
#include "graph/CDTView.h"
#include "logger/LoggerLink.h"
#include "platform/QtSerialControl.h"
#include "ui/SimulatorProcess.h"
#include "ui/dialogs/ButtonArt.h"
#include "ui/dialogs/CCorrectTimeDlg.h"
#include "ui/dialogs/CDownloadDlg.h"
#include "ui/dialogs/CLoadingDlg.h"
#include "ui/dialogs/CLoggerSetupDlg.h"
#include "ui/dialogs/CNumberEdit.h"
#include "ui/dialogs/CRealTimeDlg.h"

namespace acv::test {
namespace {

QString SimulatorPath() {
  const char* path = std::getenv("ACV_SIM");
  return path != nullptr ? QString::fromLocal8Bit(path) : QString();
}

// Opens a logger dialog through its command, lets `fill` type into it, and
// presses its start button once the logger has answered.
void StartThroughDialog(CMainFrame& frame, int commandId, DialogKind kind,
                        const std::function<void(LoggerDialogBase*)>& fill = {}) {
  frame.OnCommand(commandId);
  LoggerDialogBase* dialog = frame.Logger().Dialog(kind);
  ASSERT_TRUE(dialog->isVisible());
  if (fill) fill(dialog);
  ASSERT_TRUE(WaitUntil([dialog] { return dialog->Status() == kStatusConnected; }, 8000))
      << "status " << dialog->Status();
  EXPECT_EQ(dialog->windowTitle(), "Connected");
  dialog->StartButton()->click();
  EXPECT_FALSE(dialog->isVisible()) << dialog->MessageText().toStdString();
}

QStringList TraceLines(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QString::fromLatin1(file.readAll()).split('\n', Qt::SkipEmptyParts);
}

// Index of the first line at or after `from` that starts with `prefix`, -1 if none.
qsizetype FindLine(const QStringList& lines, const QString& prefix, qsizetype from) {
  for (qsizetype i = std::max<qsizetype>(from, 0); i < lines.size(); ++i) {
    if (lines[i].startsWith(prefix)) return i;
  }
  return -1;
}

// Waits until no byte has reached the program's port for quietMs.
bool WaitForQuietLine(CMainFrame& frame, int quietMs, int timeoutMs) {
  const auto* port = dynamic_cast<const QtSerialControl*>(&frame.Logger().Link().Serial());
  if (port == nullptr) return false;
  std::uint64_t seen = port->BytesArrived();
  QElapsedTimer quiet;
  quiet.start();
  return WaitUntil(
      [&] {
        if (port->BytesArrived() != seen) {
          seen = port->BytesArrived();
          quiet.restart();
        }
        return quiet.elapsed() >= quietMs;
      },
      timeoutMs);
}

// The status line the frame shows when the logger acknowledges a set-up or
// clock command.
bool LoggerAccepted(CMainFrame& frame) {
  return frame.statusBar()->currentMessage() == "The logger accepted the command.";
}

TEST(SimulatedLogger, DownloadRunSetupClockAndCloseThroughTheRealDialogs) {
  App();
  const QString simPath = SimulatorPath();
  ASSERT_FALSE(simPath.isEmpty()) << "ACV_SIM names no simulator";
  QTemporaryDir traceDir;
  const QString trace = traceDir.filePath("trace.txt");
  SimulatorProcess sim;
  // Paced like a real line, so the download takes long enough to watch.
  // One real-time block per request: a stream of blocks back to back (which
  // a loaded machine's paced writes turn into) would be read off its block
  // starts, as the program reads each reply from its first byte.
  ASSERT_TRUE(sim.Start(simPath, {"--synthetic", "channels=2,samples=3000,tr=2,interval=10s",
                                  "--pace", "--trace", trace}))
      << sim.Error().toStdString();

  FrameUnderTest ui(nullptr, nullptr, sim.DevicePath().toStdString());
  CMainFrame& frame = *ui.frame;

  // ---- download ------------------------------------------------------------
  bool downloaded = false;
  int loadingMax = 0;
  int loadingPosition = 0;
  QObject::connect(&frame, &CMainFrame::downloadCompleted, [&downloaded] { downloaded = true; });
  StartThroughDialog(frame, cmd::kDownload, DialogKind::Download);
  EXPECT_EQ(frame.Logger().DownloadDialog()->MessageText(),
            "Press \"Download\" to load store data from the logger, or \"Cancel\" to exit.");
  ASSERT_TRUE(WaitUntil(
      [&] {
        if (CLoadingDlg* loading = frame.Logger().Loading()) {
          loadingMax = loading->Maximum();
          loadingPosition = std::max(loadingPosition, loading->Position());
        }
        return downloaded;
      },
      20000))
      << ui.prompter.messages.join("|").toStdString();
  EXPECT_TRUE(ui.prompter.messages.isEmpty()) << ui.prompter.messages.join("|").toStdString();
  EXPECT_GT(loadingMax, 2);
  EXPECT_GT(loadingPosition, 1);  // the bar moved with the blocks
  EXPECT_FALSE(frame.Logger().ProgressWindowOpen());
  EXPECT_EQ(frame.Doc().rmsCount, 3000);
  EXPECT_EQ(frame.Doc().trCount, 2);
  EXPECT_TRUE(frame.State().IsActive(DisplayMode::StoreRms));
  EXPECT_TRUE(frame.Action(cmd::kStoreRms)->isChecked());
  EXPECT_TRUE(frame.Action(cmd::kSave)->isEnabled());
  EXPECT_EQ(frame.View()->Display().lastPoint, 3000);
  EXPECT_EQ(frame.State().dataUnsaved, 1);
  EXPECT_EQ(FileTag(frame.PreviousMeasurementPath()), "RMSTRDATA");

  // ---- a real-time run of two points ------------------------------------------
  bool stopped = false;
  bool commandsDuringRun = false;
  QObject::connect(&frame, &CMainFrame::realTimeStopped, [&stopped] { stopped = true; });
  QObject::connect(&frame, &CMainFrame::realTimePointTaken, [&](int) {
    commandsDuringRun = frame.Action(cmd::kStop)->isEnabled() &&
                        !frame.Action(cmd::kDownload)->isEnabled() &&
                        !frame.Action(cmd::kOpen)->isEnabled();
  });
  StartThroughDialog(frame, cmd::kRun, DialogKind::RealTime, [&frame](LoggerDialogBase*) {
    ReplaceText(frame.Logger().RealTimeDialog()->RateEdit(), "2");
    ReplaceText(frame.Logger().RealTimeDialog()->PointsEdit(), "2");
  });
  ASSERT_TRUE(WaitUntil([&] { return stopped; }, 15000));
  // The simulated logger, paced like a real line, finishes what it was sending
  // when the stop frame came (a block takes 0.2 s); bytes of it read as the
  // set-up's acknowledgement would fail the next step.
  ASSERT_TRUE(WaitForQuietLine(frame, 300, 10000));
  EXPECT_TRUE(commandsDuringRun);
  EXPECT_EQ(frame.Doc().rtCount, 2);
  EXPECT_TRUE(frame.State().IsActive(DisplayMode::RealTimeEpa));
  EXPECT_TRUE(frame.Action(cmd::kRealTimeRms)->isEnabled());
  EXPECT_TRUE(frame.Action(cmd::kRealTimeS)->isEnabled());  // a voltage and a current
  EXPECT_FALSE(frame.Action(cmd::kStop)->isEnabled());
  EXPECT_EQ(FileTag(frame.PreviousMeasurementPath()), "EPADATA");
  frame.OnCommand(cmd::kRealTimeRms);
  EXPECT_EQ(frame.View()->Display().lastPoint, 2);
  EXPECT_EQ(frame.View()->Display().displayKind, 4);

  // ---- set-up and clock ---------------------------------------------------------
  StartThroughDialog(frame, cmd::kLoggerSetup, DialogKind::LoggerSetup,
                     [&frame](LoggerDialogBase*) {
                       ReplaceText(frame.Logger().SetupDialog()->RateEdit(), "30");
                       frame.Logger().SetupDialog()->UnitList()->setCurrentIndex(1);  // minutes
                     });
  EXPECT_EQ(frame.Settings().sampleRateText, "30");
  ASSERT_TRUE(WaitUntil([&frame] { return LoggerAccepted(frame); }, 3000));
  frame.statusBar()->clearMessage();
  StartThroughDialog(
      frame, cmd::kCorrectTime, DialogKind::CorrectTime, [&frame](LoggerDialogBase*) {
        const char* texts[] = {"2012", "3", "15", "9", "41", "7"};
        for (int i = 0; i < kClockFields; ++i) {
          ReplaceText(frame.Logger().ClockDialog()->Field(static_cast<ClockField>(i)), texts[i]);
        }
      });
  ASSERT_TRUE(WaitUntil([&frame] { return LoggerAccepted(frame); }, 3000));
  EXPECT_FALSE(frame.Logger().Link().Serial().PortOpen());  // the acknowledgement closed it
  EXPECT_TRUE(ui.prompter.messages.isEmpty()) << ui.prompter.messages.join("|").toStdString();

  // ---- closing stops a run ---------------------------------------------------------
  frame.OnCommand(cmd::kRealTimeEpa);  // the wave display: 590 points on show
  EXPECT_EQ(frame.View()->Display().lastPoint, 590);
  stopped = false;
  int points = 0;
  QObject::connect(&frame, &CMainFrame::realTimePointTaken, [&points](int n) { points = n; });
  // The first run's points are in no data file: the new run asks first.
  ui.prompter.answers = {false, false};  // save neither run
  StartThroughDialog(frame, cmd::kRun, DialogKind::RealTime, [&frame](LoggerDialogBase*) {
    ReplaceText(frame.Logger().RealTimeDialog()->PointsEdit(), "100");
  });
  ASSERT_TRUE(WaitUntil([&] { return points >= 1; }, 10000));
  frame.close();
  EXPECT_TRUE(stopped);
  EXPECT_EQ(frame.Logger().Link().realTimeStopped, 1);
  EXPECT_EQ(ui.prompter.questions,
            QStringList({"Do you want to save the existing graph data before continuing?",
                         "Do you want to save the data before closing?"}));
  EXPECT_TRUE(WaitUntil([&] { return !frame.isVisible(); }, 3000));
  EXPECT_EQ(FileTag(frame.PreviousMeasurementPath()), "EPADATA");
  const AppSettings saved = LoadSettings(frame.SettingsPath());
  EXPECT_EQ(saved.rtInterval, 2);
  EXPECT_EQ(saved.realTimePoints, 100);
  EXPECT_EQ(saved.sampleRateText, "30");
  EXPECT_EQ(saved.sampleRateUnit, 1);
  EXPECT_EQ(saved.lastClockText, (std::array<std::string, 6>{"2012", "3", "15", "9", "41", "7"}));

  // ---- what the logger received, in order ----------------------------------------
  QStringList lines;
  // The last stop frame is written to the line as the window closes; the
  // simulator logs it once it has read it.
  EXPECT_TRUE(WaitUntil(
      [&] {
        lines = TraceLines(trace);
        return FindLine(lines, "C8 C8 C8 C8 C8 C8 C8 C9",
                        FindLine(lines, "AC 12 03 15 09 41 07 FF", 0)) >= 0;
      },
      3000));
  ASSERT_FALSE(lines.isEmpty());
  EXPECT_EQ(lines.first(), "78");  // the first probe found the logger
  const qsizetype header = FindLine(lines, "68 68 68 68 68 68 68 68", 0);
  const qsizetype block = FindLine(lines, "D8 ", header);
  const qsizetype run = FindLine(lines, "C8 C8 C8 C8 C8 C8 C8 C8", block);
  const qsizetype stop = FindLine(lines, "C8 C8 C8 C8 C8 C8 C8 C9", run);
  const qsizetype setupFrame = FindLine(lines, "AA 10 20 1E 01 F4 00 64", stop);
  const qsizetype clockFrame = FindLine(lines, "AC 12 03 15 09 41 07 FF", setupFrame);
  const qsizetype lastStop = FindLine(lines, "C8 C8 C8 C8 C8 C8 C8 C9", clockFrame);
  for (qsizetype index : {header, block, run, stop, setupFrame, clockFrame, lastStop}) {
    EXPECT_GE(index, 0) << lines.join(" | ").toStdString();
  }
}

}  // namespace
}  // namespace acv::test
