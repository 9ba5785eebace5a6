// The whole program against the simulated logger on a pseudo-terminal, with
// the real serial port and real timers: a download through its dialog, a
// real-time run of two points, a run stopped by closing the window, and the
// files left behind.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QPushButton>
#include <QSpinBox>
#include <cstdlib>

#include "WidgetTestSupport.h"
#include "frame/Commands.h"
#include "graph/CDTView.h"
#include "ui/SimulatorProcess.h"
#include "ui/dialogs/StandInConnectionDialog.h"

namespace acv::test {
namespace {

QString SimulatorPath() {
  const char* path = std::getenv("ACV_SIM");
  return path != nullptr ? QString::fromLocal8Bit(path) : QString();
}

// Opens a logger dialog and presses its start button once the logger answers.
void StartThroughDialog(CMainFrame& frame, int commandId, DialogKind kind,
                        const std::function<void(StandInConnectionDialog*)>& fill = {}) {
  frame.OnCommand(commandId);
  StandInConnectionDialog* dialog = frame.LoggerDialog(kind);
  ASSERT_TRUE(dialog->isVisible());
  if (fill) fill(dialog);
  ASSERT_TRUE(WaitUntil([dialog] { return dialog->Status() == kStatusConnected; }, 8000))
      << "status " << dialog->Status();
  dialog->StartButton()->click();
  EXPECT_FALSE(dialog->isVisible());
}

TEST(SimulatedLogger, DownloadRealTimeRunAndCloseLeaveTheirFiles) {
  App();
  const QString simPath = SimulatorPath();
  if (simPath.isEmpty()) GTEST_SKIP() << "ACV_SIM names no simulator";
  SimulatorProcess sim;
  ASSERT_TRUE(sim.Start(
      simPath, {"--synthetic", "channels=2,samples=300,tr=2,interval=10s", "--rt-stream", "300"}))
      << sim.Error().toStdString();

  FrameUnderTest ui(nullptr, nullptr, sim.DevicePath().toStdString());
  CMainFrame& frame = *ui.frame;

  // ---- download ------------------------------------------------------------
  bool downloaded = false;
  QObject::connect(&frame, &CMainFrame::downloadCompleted, [&downloaded] { downloaded = true; });
  StartThroughDialog(frame, cmd::kDownload, DialogKind::Download);
  ASSERT_TRUE(WaitUntil([&] { return downloaded; }, 15000))
      << ui.prompter.messages.join("|").toStdString();
  EXPECT_TRUE(ui.prompter.messages.isEmpty()) << ui.prompter.messages.join("|").toStdString();
  EXPECT_FALSE(frame.ProgressWindowOpen());
  EXPECT_EQ(frame.Doc().rmsCount, 300);
  EXPECT_EQ(frame.Doc().trCount, 2);
  EXPECT_TRUE(frame.State().IsActive(DisplayMode::StoreRms));
  EXPECT_TRUE(frame.Action(cmd::kStoreRms)->isChecked());
  EXPECT_TRUE(frame.Action(cmd::kSave)->isEnabled());
  EXPECT_EQ(frame.View()->Display().lastPoint, 300);
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
  StartThroughDialog(frame, cmd::kRun, DialogKind::RealTime, [](StandInConnectionDialog* d) {
    const auto spins = d->findChildren<QSpinBox*>();
    ASSERT_EQ(spins.size(), 2);
    spins[0]->setValue(2);  // seconds between points
    spins[1]->setValue(2);  // points
  });
  ASSERT_TRUE(WaitUntil([&] { return stopped; }, 15000));
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

  // ---- closing stops a run ---------------------------------------------------------
  frame.OnCommand(cmd::kRealTimeEpa);  // the wave display: 590 points on show
  EXPECT_EQ(frame.View()->Display().lastPoint, 590);
  stopped = false;
  int points = 0;
  QObject::connect(&frame, &CMainFrame::realTimePointTaken, [&points](int n) { points = n; });
  StartThroughDialog(frame, cmd::kRun, DialogKind::RealTime, [](StandInConnectionDialog* d) {
    d->findChildren<QSpinBox*>()[1]->setValue(100);
  });
  ASSERT_TRUE(WaitUntil([&] { return points >= 1; }, 10000));
  ui.prompter.answers = {false};  // do not save the points
  frame.close();
  EXPECT_TRUE(stopped);
  EXPECT_EQ(frame.Link().realTimeStopped, 1);
  EXPECT_EQ(ui.prompter.questions, QStringList({"Do you want to save the data before closing?"}));
  EXPECT_TRUE(WaitUntil([&] { return !frame.isVisible(); }, 3000));
  EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(frame.SettingsPath())));
  EXPECT_EQ(FileTag(frame.PreviousMeasurementPath()), "EPADATA");
}

}  // namespace
}  // namespace acv::test
