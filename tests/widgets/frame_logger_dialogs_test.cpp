// The logger dialogs as the main window runs them, on the fake port and the
// fake clock: one instance per command reused at every opening, a download
// under the "Loading..." window placed over the graph, and the values the
// dialogs hand over ending up in the settings file when the window closes.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>

#include "data/Settings.h"
#include "dialogs_fixture.h"
#include "frame/Commands.h"
#include "frame_fixture.h"
#include "graph/CDTView.h"
#include "logger/CommandBuilders.h"
#include "logger/MemoryImage.h"
#include "ui/dialogs/ButtonArt.h"
#include "ui/dialogs/CCorrectTimeDlg.h"
#include "ui/dialogs/CDownloadDlg.h"
#include "ui/dialogs/CLoadingDlg.h"
#include "ui/dialogs/CLoggerSetupDlg.h"
#include "ui/dialogs/CNumberEdit.h"
#include "ui/dialogs/CRealTimeDlg.h"

namespace acv::test {
namespace {

class FrameLoggerDialogs : public FrameTest {
 protected:
  // The logger answered before and sits on port 1: dialogs open "Connected".
  void LoggerKnownOnPort1() {
    serial.AddPort(1);
    Frame().Logger().Link().portNumber = 1;
    Frame().Logger().Link().loggerFound = 1;
  }
  std::vector<std::vector<std::uint8_t>> Frames() const {
    std::vector<std::vector<std::uint8_t>> frames;
    for (const auto& write : serial.writes) {
      if (write.bytes.size() == 8) frames.push_back(write.bytes);
    }
    return frames;
  }
  bool ConnectTimersRunning() const {
    return timers.IsActive(timer::kPortScan) || timers.IsActive(timer::kProbe) ||
           timers.IsActive(timer::kKeepAlive);
  }
};

TEST_F(FrameLoggerDialogs, EachCommandOpensItsOwnDialogAgainAndAgain) {
  serial.AddPort(1);
  struct Case {
    int command;
    DialogKind kind;
    const char* className;
  };
  for (const Case& c : {Case{cmd::kDownload, DialogKind::Download, "acv::CDownloadDlg"},
                        Case{cmd::kRun, DialogKind::RealTime, "acv::CRealTimeDlg"},
                        Case{cmd::kLoggerSetup, DialogKind::LoggerSetup, "acv::CLoggerSetupDlg"},
                        Case{cmd::kCorrectTime, DialogKind::CorrectTime, "acv::CCorrectTimeDlg"}}) {
    SCOPED_TRACE(c.className);
    LoggerDialogBase* dialog = Frame().Logger().Dialog(c.kind);
    ASSERT_NE(dialog, nullptr);
    EXPECT_STREQ(dialog->metaObject()->className(), c.className);
    for (int opening = 0; opening < 2; ++opening) {
      Frame().OnCommand(c.command);
      ASSERT_TRUE(dialog->isVisible());
      EXPECT_EQ(Frame().Logger().Dialog(c.kind), dialog);
      EXPECT_EQ(dialog->windowTitle(), "Connecting...");
      EXPECT_TRUE(dialog->isModal());
      // The link reaches exactly this dialog while it is open.
      ASSERT_EQ(Frame().Logger().OpenDialogs().size(), 1u);
      EXPECT_EQ(Frame().Logger().OpenDialogs()[0], dialog);
      EXPECT_TRUE(timers.IsActive(timer::kPortScan));
      // A second press of the command while it is open changes nothing.
      Frame().OnCommand(c.command);
      EXPECT_EQ(Frame().Logger().OpenDialogs().size(), 1u);
      dialog->CancelButton()->click();
      EXPECT_FALSE(dialog->isVisible());
      EXPECT_TRUE(Frame().Logger().OpenDialogs().empty());
      EXPECT_FALSE(ConnectTimersRunning());
    }
  }
  EXPECT_TRUE(Frames().empty());
}

TEST_F(FrameLoggerDialogs, ADownloadShowsTheLoadingWindowOverTheGraphAndThenStoreRms) {
  LoggerKnownOnPort1();
  constexpr int kTotal = 1000;
  bool answerBlocks = false;
  serial.SetResponder([&](int, std::span<const std::uint8_t> bytes) {
    if (bytes.size() != 8) return;
    if (bytes[0] == kCmdDownloadStart) serial.Feed(HeaderFor(kTotal));
    if (bytes[0] == kCmdBlockRequest && answerBlocks) {
      const int length = bytes[3] == kBlockFillPartial ? kTotal % 512 : 512;
      serial.Feed(std::vector<std::uint8_t>(static_cast<std::size_t>(length), 0x10));
    }
  });
  Frame().OnCommand(cmd::kDownload);
  CDownloadDlg* dialog = Frame().Logger().DownloadDialog();
  ASSERT_TRUE(dialog->isVisible());
  ASSERT_EQ(dialog->Status(), kStatusConnected);  // its own port check at opening
  dialog->DownloadButton()->click();
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(Frame().State().dataUnsaved, 1);
  EXPECT_FALSE(ConnectTimersRunning());

  clock.Advance(5);  // the header arrives, the first block is asked for
  CLoadingDlg* loading = Frame().Logger().Loading();
  ASSERT_NE(loading, nullptr);
  ASSERT_TRUE(Frame().Logger().ProgressWindowOpen());
  EXPECT_TRUE(loading->isVisible());
  EXPECT_EQ(loading->windowTitle(), "Loading...");
  EXPECT_EQ(loading->Maximum(), 2);
  EXPECT_EQ(loading->Position(), 1);
  const QPoint viewTopLeft = Frame().View()->mapToGlobal(QPoint(0, 0));
  EXPECT_EQ(loading->pos(),
            QPoint(viewTopLeft.x() + (Frame().View()->width() - loading->width()) / 2,
                   viewTopLeft.y() + 4 * loading->height()));

  // No logger command opens its dialog while the window is up.
  for (int command : {cmd::kDownload, cmd::kRun, cmd::kLoggerSetup, cmd::kCorrectTime}) {
    Frame().OnCommand(command);
  }
  EXPECT_TRUE(Frame().Logger().OpenDialogs().empty());
  EXPECT_FALSE(Frame().Logger().SetupDialog()->isVisible());

  answerBlocks = true;
  // The re-request fetches the block; the rest is asked for once the line
  // has been quiet for a while, so a late second answer cannot be taken for it.
  clock.Advance(3000);
  EXPECT_EQ(Frame().Logger().Loading(), nullptr);
  EXPECT_FALSE(Frame().Logger().ProgressWindowOpen());
  EXPECT_EQ(Frame().Doc().rmsCount, kTotal / 2);
  EXPECT_TRUE(Frame().Action(cmd::kStoreRms)->isChecked());
  EXPECT_EQ(Frame().View()->Display().lastPoint, kTotal / 2);
  EXPECT_EQ(FileTag(Frame().PreviousMeasurementPath()), "RMSTRDATA");

  // The logger commands are free again.
  Frame().OnCommand(cmd::kLoggerSetup);
  EXPECT_TRUE(Frame().Logger().SetupDialog()->isVisible());
  Frame().Logger().SetupDialog()->reject();
}

TEST_F(FrameLoggerDialogs, AnAbandonedDownloadTakesTheLoadingWindowAway) {
  LoggerKnownOnPort1();
  serial.SetResponder([&](int, std::span<const std::uint8_t> bytes) {
    if (bytes.size() == 8 && bytes[0] == kCmdDownloadStart) serial.Feed(HeaderFor(5000));
  });
  Frame().OnCommand(cmd::kDownload);
  Frame().Logger().DownloadDialog()->DownloadButton()->click();
  clock.Advance(5);
  ASSERT_NE(Frame().Logger().Loading(), nullptr);
  clock.Advance(20000);  // no block ever comes: the watchdog gives up
  EXPECT_EQ(Frame().Logger().Loading(), nullptr);
  EXPECT_EQ(Frame().Doc().rmsCount, 0);
  EXPECT_TRUE(Frame().Action(cmd::kDownload)->isEnabled());
  Frame().OnCommand(cmd::kDownload);
  EXPECT_TRUE(Frame().Logger().DownloadDialog()->isVisible());
  Frame().Logger().DownloadDialog()->reject();
}

TEST_F(FrameLoggerDialogs, ValuesTheDialogsHandOverReachTheSettingsFileAtClose) {
  LoggerKnownOnPort1();

  // Real time: typed values are kept even though the dialog is cancelled.
  Frame().OnCommand(cmd::kRun);
  CRealTimeDlg* realTime = Frame().Logger().RealTimeDialog();
  ReplaceText(realTime->RateEdit(), "7");
  ReplaceText(realTime->PointsEdit(), "12");
  realTime->CancelButton()->click();
  EXPECT_EQ(Frame().Doc().rtInterval, 7);
  EXPECT_EQ(Frame().Logger().RealTime().realTimePoints, 12);
  Frame().OnCommand(cmd::kRun);  // the next opening starts from them
  EXPECT_EQ(realTime->RateEdit()->text(), "7");
  EXPECT_EQ(realTime->PointsEdit()->text(), "12");
  realTime->CancelButton()->click();

  // Set-up: sent values become the frame's; a cancelled edit does not.
  Frame().OnCommand(cmd::kLoggerSetup);
  CLoggerSetupDlg* setup = Frame().Logger().SetupDialog();
  ReplaceText(setup->RateEdit(), "30");
  setup->UnitList()->setCurrentIndex(1);  // minutes
  setup->SetupButton()->click();
  ASSERT_FALSE(setup->isVisible());
  ASSERT_EQ(Frames().size(), 1u);
  EXPECT_EQ(Frames()[0], Bytes({0xAA, 0x10, 0x20, 30, 0x01, 0xF4, 0x00, 0x64}));
  EXPECT_EQ(Frame().State().storePromptArmed, 1);
  Frame().OnCommand(cmd::kLoggerSetup);
  EXPECT_EQ(setup->RateEdit()->text(), "30");
  EXPECT_EQ(setup->UnitList()->currentIndex(), 1);
  ReplaceText(setup->RateEdit(), "5");
  setup->CancelButton()->click();
  EXPECT_EQ(Frame().Settings().sampleRateText, "30");

  // Clock: the texts sent are remembered.
  Frame().OnCommand(cmd::kCorrectTime);
  CCorrectTimeDlg* clockDialog = Frame().Logger().ClockDialog();
  const char* texts[] = {"2012", "3", "15", "9", "41", "7"};
  for (int i = 0; i < kClockFields; ++i) {
    ReplaceText(clockDialog->Field(static_cast<ClockField>(i)), texts[i]);
  }
  clockDialog->StartButton()->click();
  ASSERT_FALSE(clockDialog->isVisible());
  ASSERT_EQ(Frames().size(), 2u);
  EXPECT_EQ(Frames()[1], Bytes({0xAC, 0x12, 0x03, 0x15, 0x09, 0x41, 0x07, 0xFF}));

  Frame().close();
  const AppSettings saved = LoadSettings(Frame().SettingsPath());
  EXPECT_EQ(saved.rtInterval, 7);
  EXPECT_EQ(saved.realTimePoints, 12);
  EXPECT_EQ(saved.sampleRateText, "30");
  EXPECT_EQ(saved.sampleRateUnit, 1);
  EXPECT_EQ(saved.lastClockText, (std::array<std::string, 6>{"2012", "3", "15", "9", "41", "7"}));
}

}  // namespace
}  // namespace acv::test
