// The real-time connect dialog over the link: the status it shows, what
// "RUN" starts, the values handed over while typing, and the keys it ignores.
#include <QApplication>
#include <QLabel>
#include <QMessageBox>

#include "dialogs_fixture.h"
#include "frame/DialogRules.h"
#include "logger/CommandBuilders.h"
#include "ui/dialogs/ButtonArt.h"
#include "ui/dialogs/CNumberEdit.h"
#include "ui/dialogs/CRealTimeDlg.h"

namespace acv::test {
namespace {

class RealTimeDialogTest : public DialogTest {
 protected:
  // Opens with the logger known on port 1: the dialog's own check passes.
  void OpenConnected() {
    h.LoggerKnownOnPort1();
    dialog.SetPrompt([this](const QString& text) {
      if (!text.isEmpty()) prompts.push_back(text.toStdString());
    });
    ASSERT_TRUE(dialog.Open(h));
  }

  // Focus elsewhere or Enter: the field is left.
  static void Leave(QLineEdit* edit) { emit edit->editingFinished(); }

  CRealTimeDlg dialog;
  std::vector<std::string> prompts;
};

TEST_F(RealTimeDialogTest, OwnPortCheckConnectsAndShowsTheRunHint) {
  h.rtInterval = 15;
  h.realTimePoints = 250;
  OpenConnected();
  EXPECT_EQ(dialog.Status(), "Connected");
  EXPECT_EQ(dialog.windowTitle().toStdString(), "Connected");
  EXPECT_EQ(dialog.MessageText().toStdString(),
            "Press \"RUN\" to read real-time data,or \"Cancel\" to exit.");
  EXPECT_EQ(dialog.RateEdit()->text(), "15");
  EXPECT_EQ(dialog.PointsEdit()->text(), "250");
  ASSERT_EQ(h.open.size(), 1u);
  EXPECT_EQ(h.open[0]->Kind(), DialogKind::RealTime);
  EXPECT_TRUE(h.timers.IsActive(timer::kKeepAlive));  // the link's periodic check runs
  EXPECT_TRUE(prompts.empty());                       // filling the fields is not typing
}

TEST_F(RealTimeDialogTest, RunRefusesRateOneAndStartsWithRateTwo) {
  OpenConnected();
  // The "1" of "10" says nothing yet; leaving the field or RUN names the range.
  ReplaceText(dialog.RateEdit(), "1");
  EXPECT_TRUE(prompts.empty());
  Leave(dialog.RateEdit());
  ASSERT_EQ(prompts.size(), 1u);
  EXPECT_EQ(prompts.back(), "Please enter an integer between 2 and 3600.");
  dialog.RunButton()->click();
  EXPECT_EQ(prompts.size(), 2u);
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_TRUE(h.Frames().empty());
  EXPECT_EQ(h.realTime.starts, 0);

  ReplaceText(dialog.RateEdit(), "2");
  dialog.RunButton()->click();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  ASSERT_EQ(h.Frames().size(), 1u);
  EXPECT_EQ(h.Frames()[0], std::vector<std::uint8_t>(8, 0xC8));
  EXPECT_EQ(h.link.realTimeMode, 1);
  EXPECT_EQ(h.link.downloadMode, 0);
  EXPECT_EQ(h.rtInterval, 2);
  EXPECT_EQ(h.realTimePoints, 3600);
  EXPECT_EQ(h.serial.RThreshold(), 2365);
  EXPECT_FALSE(h.ConnectTimersRunning());
  EXPECT_TRUE(h.open.empty());
}

TEST_F(RealTimeDialogTest, TypedValuesAreKeptAfterCancelButHalfTypedOnesAreNot) {
  h.rtInterval = 10;
  OpenConnected();
  ReplaceText(dialog.PointsEdit(), "500");
  EXPECT_EQ(h.realTimePoints, 500);
  ReplaceText(dialog.RateEdit(), "30");
  EXPECT_EQ(h.rtInterval, 30);
  // Out of range or not an integer: prompted when left, and the last good
  // value stays.
  ReplaceText(dialog.PointsEdit(), "");
  Leave(dialog.PointsEdit());
  EXPECT_EQ(prompts.back(), "Please enter an integer.");
  ReplaceText(dialog.PointsEdit(), "0");
  Leave(dialog.PointsEdit());
  EXPECT_EQ(prompts.back(), "Please enter an integer between 1 and 100000.");
  EXPECT_EQ(h.realTimePoints, 500);
  TypeText(dialog.PointsEdit(), "-");  // "0-"
  Leave(dialog.PointsEdit());
  EXPECT_EQ(prompts.back(), "Please enter an integer.");
  EXPECT_EQ(h.realTimePoints, 500);
  ReplaceText(dialog.PointsEdit(), "750");

  Child<QPushButton>(&dialog, "2")->click();  // CANCEL
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_EQ(h.realTimePoints, 750);
  EXPECT_EQ(h.rtInterval, 30);
  EXPECT_TRUE(h.Frames().empty());
  EXPECT_EQ(h.link.realTimeMode, 0);
  EXPECT_FALSE(h.ConnectTimersRunning());
  EXPECT_TRUE(h.open.empty());
}

TEST_F(RealTimeDialogTest, EnterAndEscapeNeitherStartNorClose) {
  OpenConnected();
  dialog.RateEdit()->setFocus();
  PressKey(dialog.RateEdit(), Qt::Key_Return);
  PressKey(dialog.RateEdit(), Qt::Key_Enter);
  PressKey(dialog.RunButton(), Qt::Key_Return);
  PressKey(dialog.RateEdit(), Qt::Key_Escape);
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_TRUE(h.Frames().empty());
  EXPECT_EQ(h.realTime.starts, 0);
}

TEST_F(RealTimeDialogTest, RunFollowsTheStatusTheLinkSets) {
  // A logger never seen before: the link scans, probes and gets no answer.
  h.serial.AddPort(1);
  dialog.SetPrompt([](const QString&) {});
  ASSERT_TRUE(dialog.Open(h));
  EXPECT_EQ(dialog.Status(), "Connecting...");
  EXPECT_EQ(dialog.MessageText(), "");
  dialog.RunButton()->click();
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(dialog.MessageText(), "");

  h.clock.Advance(1200);  // scan at 100 ms, probes at 100, 600, cycle fails at 1100
  EXPECT_EQ(dialog.Status(), "Not Connected");
  dialog.RunButton()->click();
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(dialog.MessageText().toStdString(), kConnectingFailed);
  for (const auto& frame : h.Frames()) EXPECT_NE(frame[0], 0xC8);

  // The logger answers the next probe: the link switches the dialog over.
  h.serial.SetResponder([this](int, std::span<const std::uint8_t> bytes) {
    if (bytes.size() == 1 && bytes[0] == kProbeByte) h.serial.Feed({kProbeAnswer});
  });
  h.clock.Advance(1200);
  EXPECT_EQ(dialog.Status(), "Connected");
  EXPECT_EQ(dialog.MessageText().toStdString(), "Press \"RUN\" to read real time data,");
  dialog.RunButton()->click();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(h.realTime.starts, 1);
}

TEST_F(RealTimeDialogTest, DefaultPromptIsANonModalBoxThatGoesAwayOnceTheFieldIsGood) {
  h.LoggerKnownOnPort1();
  ASSERT_TRUE(dialog.Open(h));
  ReplaceText(dialog.RateEdit(), "1");
  EXPECT_EQ(dialog.findChild<QMessageBox*>(), nullptr);  // typing goes on undisturbed
  emit dialog.RateEdit()->editingFinished();             // must not block
  auto* box = dialog.findChild<QMessageBox*>();
  ASSERT_NE(box, nullptr);
  EXPECT_TRUE(box->isVisible());
  EXPECT_EQ(box->windowModality(), Qt::NonModal);
  EXPECT_EQ(box->text().toStdString(), "Please enter an integer between 2 and 3600.");
  TypeText(dialog.RateEdit(), "5");
  EXPECT_EQ(h.rtInterval, 15);
  EXPECT_FALSE(box->isVisible());
  ReplaceText(dialog.RateEdit(), "");
  EXPECT_FALSE(box->isVisible());
  emit dialog.RateEdit()->editingFinished();
  EXPECT_TRUE(box->isVisible());
  dialog.reject();
  EXPECT_FALSE(box->isVisible());
}

TEST_F(RealTimeDialogTest, SpinArrowsStepWithinTheirRangeAndHandTheValueOver) {
  h.rtInterval = 3600;
  OpenConnected();
  PressKey(dialog.RateEdit(), Qt::Key_Up);
  EXPECT_EQ(dialog.RateEdit()->text(), "3600");
  PressKey(dialog.RateEdit(), Qt::Key_Down);
  EXPECT_EQ(dialog.RateEdit()->text(), "3599");
  EXPECT_EQ(h.rtInterval, 3599);
  ReplaceText(dialog.RateEdit(), "1");
  PressKey(dialog.RateEdit(), Qt::Key_Up);
  EXPECT_EQ(dialog.RateEdit()->text(), "2");
  EXPECT_EQ(h.rtInterval, 2);
}

TEST_F(RealTimeDialogTest, ReopeningStartsAfreshAndNothingOpensDuringADownload) {
  OpenConnected();
  dialog.reject();
  h.serial.RemovePort(1);  // the adapter was pulled meanwhile
  ASSERT_TRUE(dialog.Open(h));
  EXPECT_EQ(dialog.Status(), "Not Connected");
  EXPECT_EQ(dialog.MessageText(), "");
  dialog.reject();

  h.loading.Begin(2, 1);  // a download is running
  EXPECT_FALSE(dialog.Open(h));
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_TRUE(h.open.empty());
  h.loading.Finish();
}

}  // namespace
}  // namespace acv::test
