// The clock dialog: pre-filled with the PC's time, the fields clamped while
// typing, the year range that lets today's date through, and the command.
#include <QApplication>
#include <QFocusEvent>

#include "dialogs_fixture.h"
#include "frame/DialogRules.h"
#include "ui/dialogs/ButtonArt.h"
#include "ui/dialogs/CCorrectTimeDlg.h"
#include "ui/dialogs/CNumberEdit.h"
#include "ui/dialogs/SpinButtons.h"

namespace acv::test {
namespace {

class ClockDialogTest : public DialogTest {
 protected:
  void OpenConnected() {
    h.LoggerKnownOnPort1();
    ASSERT_TRUE(dialog.Open(h));
    ASSERT_EQ(dialog.Status(), "Connected");
  }
  CNumberEdit* Field(ClockField field) { return dialog.Field(field); }
  static void LeaveField(QWidget* field) {
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(field, &out);
  }
  void PressOk() { Child<QPushButton>(&dialog, "1")->click(); }

  CCorrectTimeDlg dialog;
};

TEST_F(ClockDialogTest, TodaysDateIsPreFilledAndSent) {
  const LocalFields today = BreakDownLocal(LocalNow());
  OpenConnected();
  EXPECT_EQ(Field(ClockField::Year)->text().toInt(), today.year);
  EXPECT_EQ(Field(ClockField::Month)->text().toInt(), today.month);
  EXPECT_EQ(Field(ClockField::Day)->text().toInt(), today.day);
  PressOk();
  const auto frames = h.Frames();
  ASSERT_EQ(frames.size(), 1u);
  const std::uint8_t yearOfCentury = static_cast<std::uint8_t>(today.year - 2000);
  EXPECT_EQ(frames[0][0], 0xAC);
  EXPECT_EQ(frames[0][1], ToBcd(yearOfCentury));
  EXPECT_EQ(frames[0][2], ToBcd(today.month));
  EXPECT_EQ(frames[0][3], ToBcd(today.day));
  EXPECT_EQ(frames[0][7], 0xFF);
  EXPECT_EQ(h.settings.lastClockText[0], std::to_string(today.year));
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_FALSE(h.ConnectTimersRunning());
}

TEST_F(ClockDialogTest, FixedTimeIsSentAsBcdAndStoredAsTexts) {
  h.fixedNow = MakeLocalTime({2009, 12, 31, 23, 59, 58});
  OpenConnected();
  EXPECT_EQ(dialog.Texts(), (ClockTexts{"2009", "12", "31", "23", "59", "58"}));
  PressOk();
  EXPECT_EQ(h.Frames().at(0), Bytes({0xAC, 0x09, 0x12, 0x31, 0x23, 0x59, 0x58, 0xFF}));
  EXPECT_EQ(h.settings.lastClockText, (ClockTexts{"2009", "12", "31", "23", "59", "58"}));
  EXPECT_EQ(h.serial.RThreshold(), 1);
}

TEST_F(ClockDialogTest, FieldsClampWhileTypingAndMonthZeroIsSent) {
  h.fixedNow = MakeLocalTime({2026, 5, 6, 7, 8, 9});
  OpenConnected();
  ReplaceText(Field(ClockField::Month), "0");
  EXPECT_EQ(Field(ClockField::Month)->text(), "0");
  ReplaceText(Field(ClockField::Day), "45");
  EXPECT_EQ(Field(ClockField::Day)->text(), "31");
  ReplaceText(Field(ClockField::Hour), "30");
  EXPECT_EQ(Field(ClockField::Hour)->text(), "23");
  ReplaceText(Field(ClockField::Second), "");
  EXPECT_EQ(Field(ClockField::Second)->text(), "0");
  ReplaceText(Field(ClockField::Year), "2150");
  EXPECT_EQ(Field(ClockField::Year)->text(), "2099");
  PressOk();
  EXPECT_EQ(h.Frames().at(0), Bytes({0xAC, 0x99, 0x00, 0x31, 0x23, 0x08, 0x00, 0xFF}));
}

TEST_F(ClockDialogTest, ADayTheMonthDoesNotHaveIsRefusedAndTheDialogStays) {
  h.fixedNow = MakeLocalTime({2030, 2, 3, 10, 0, 0});
  OpenConnected();
  ReplaceText(Field(ClockField::Day), "31");
  PressOk();
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(dialog.MessageText(), "February 2030 has no day 31.");
  EXPECT_TRUE(h.Frames().empty());
  EXPECT_EQ(h.settings.lastClockText[2], AppSettings().lastClockText[2]);  // nothing kept
  ReplaceText(Field(ClockField::Day), "28");
  PressOk();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(h.Frames().at(0)[3], 0x28);
}

TEST_F(ClockDialogTest, YearIsTypedFreelyAndSettlesWithinTheCentury) {
  OpenConnected();
  ReplaceText(Field(ClockField::Year), "2031");
  EXPECT_EQ(Field(ClockField::Year)->text(), "2031");
  ReplaceText(Field(ClockField::Year), "19");
  EXPECT_EQ(Field(ClockField::Year)->text(), "19");  // still being typed
  LeaveField(Field(ClockField::Year));               // leaving the field settles it
  EXPECT_EQ(Field(ClockField::Year)->text(), "2000");
  EXPECT_EQ(dialog.Spin(ClockField::Year)->Lowest(), 2000);
  EXPECT_EQ(dialog.Spin(ClockField::Year)->Highest(), 2099);
  ReplaceText(Field(ClockField::Year), "5");
  PressOk();  // OK settles a year still being typed before sending it
  EXPECT_EQ(Field(ClockField::Year)->text(), "2000");
  EXPECT_EQ(h.Frames().at(0)[1], 0x00);
  EXPECT_EQ(h.settings.lastClockText[0], "2000");
}

TEST_F(ClockDialogTest, StatusGateAndCancel) {
  h.serial.AddPort(1);
  ASSERT_TRUE(dialog.Open(h));
  PressOk();  // "Connecting...": nothing at all
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(dialog.MessageText(), "");
  h.clock.Advance(1200);
  ASSERT_EQ(dialog.Status(), "Not Connected");
  EXPECT_EQ(dialog.MessageText(), "");  // the link writes no hint here
  PressOk();
  EXPECT_EQ(dialog.MessageText().toStdString(), kConnectingFailed);

  const auto before = h.settings.lastClockText;
  Child<QPushButton>(&dialog, "2")->click();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_TRUE(h.Frames().empty());
  EXPECT_EQ(h.settings.lastClockText, before);
  EXPECT_FALSE(h.ConnectTimersRunning());
}

}  // namespace
}  // namespace acv::test
