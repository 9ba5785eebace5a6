// The logger set-up dialog: the rate clamped while typing and on a unit
// switch, "Default" then "Setup" on the wire and in the settings, the flag
// and level bytes, the status gate, and a cancel that changes nothing.
#include <QComboBox>
#include <QRadioButton>

#include "dialogs_fixture.h"
#include "ui/dialogs/ButtonArt.h"
#include "ui/dialogs/CLoggerSetupDlg.h"
#include "ui/dialogs/CNumberEdit.h"

namespace acv::test {
namespace {

class SetupDialogTest : public DialogTest {
 protected:
  void OpenConnected() {
    h.LoggerKnownOnPort1();
    ASSERT_TRUE(dialog.Open(h));
    ASSERT_EQ(dialog.Status(), "Connected");
  }
  void Click(const char* id) { Child<QAbstractButton>(&dialog, id)->click(); }
  std::vector<std::uint8_t> SentFrame() {
    const auto frames = h.Frames();
    EXPECT_EQ(frames.size(), 1u);
    return frames.empty() ? std::vector<std::uint8_t>{} : frames.back();
  }

  CLoggerSetupDlg dialog;
};

TEST_F(SetupDialogTest, RateIsClampedWhileTypingAndOnSwitchingToHours) {
  OpenConnected();
  ReplaceText(dialog.RateEdit(), "75");
  EXPECT_EQ(dialog.RateEdit()->text(), "60");
  ReplaceText(dialog.RateEdit(), "30");
  dialog.UnitList()->setCurrentIndex(kUnitHour);
  EXPECT_EQ(dialog.RateEdit()->text(), "24");
  ReplaceText(dialog.RateEdit(), "");
  EXPECT_EQ(dialog.RateEdit()->text(), "1");
  // The arrows write 0 (their range starts there); the field makes it 1.
  PressKey(dialog.RateEdit(), Qt::Key_Down);
  EXPECT_EQ(dialog.RateEdit()->text(), "1");
  TypeText(dialog.RateEdit(), "x");  // not a number character: ignored
  EXPECT_EQ(dialog.RateEdit()->text(), "1");
}

TEST_F(SetupDialogTest, DefaultThenSetupSendsAndStoresTheDefaults) {
  h.settings.sampleRateText = "5";
  h.settings.sampleRateUnit = kUnitMinute;
  h.settings.autoPowerOff = 2;
  h.settings.circulateLogging = 3;
  h.settings.riseLevelSetting = "800";
  h.settings.dropLevelSetting = "50";
  h.settings.riseLevelUnit = 0;
  h.settings.dropLevelUnit = 0;
  OpenConnected();
  EXPECT_EQ(dialog.RateEdit()->text(), "5");
  EXPECT_TRUE(Child<QRadioButton>(&dialog, "1150")->isChecked());
  EXPECT_TRUE(Child<QRadioButton>(&dialog, "1152")->isChecked());

  Click("1044");  // Default: the dialog only
  EXPECT_TRUE(h.Frames().empty());
  EXPECT_EQ(h.settings.sampleRateText, "5");
  EXPECT_TRUE(Child<QRadioButton>(&dialog, "1151")->isChecked());
  EXPECT_TRUE(Child<QRadioButton>(&dialog, "1153")->isChecked());

  Click("1");  // Setup
  EXPECT_EQ(SentFrame(), Bytes({0xAA, 0x10, 0x10, 0x0A, 0x01, 0xF4, 0x00, 0x64}));
  EXPECT_EQ(h.settings.sampleRateText, "10");
  EXPECT_EQ(h.settings.sampleRateUnit, kUnitSecond);
  EXPECT_EQ(h.settings.autoPowerOff, 0);
  EXPECT_EQ(h.settings.circulateLogging, 0);
  EXPECT_EQ(h.settings.riseLevelSetting, "500");
  EXPECT_EQ(h.settings.dropLevelSetting, "100");
  EXPECT_EQ(h.settings.riseLevelUnit, 1);
  EXPECT_EQ(h.settings.dropLevelUnit, 1);
  EXPECT_EQ(h.serial.RThreshold(), 1);
  EXPECT_EQ(h.savePromptsArmed, 1);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_FALSE(h.ConnectTimersRunning());
  EXPECT_TRUE(h.open.empty());
}

TEST_F(SetupDialogTest, OptionFlagsAndHiddenLevelsReachTheCommand) {
  h.settings.riseLevelSetting = "1000";
  OpenConnected();
  Child<QRadioButton>(&dialog, "1150")->click();  // auto power-off ON
  Child<QRadioButton>(&dialog, "1153")->click();  // circular logging OFF
  ReplaceText(dialog.RateEdit(), "20");
  dialog.UnitList()->setCurrentIndex(kUnitHour);
  Click("1");
  EXPECT_EQ(SentFrame(), Bytes({0xAA, 0x14, 0x30, 20, 0x03, 0xE8, 0x00, 0x64}));
  EXPECT_EQ(h.settings.autoPowerOff, 2);
  EXPECT_EQ(h.settings.sampleRateUnit, kUnitHour);
  EXPECT_EQ(h.settings.riseLevelSetting, "1000");
}

TEST_F(SetupDialogTest, BothOptionsOnGiveFlags1C) {
  OpenConnected();
  Child<QRadioButton>(&dialog, "1150")->click();
  Child<QRadioButton>(&dialog, "1152")->click();
  Click("1");
  EXPECT_EQ(SentFrame()[1], 0x1C);
  EXPECT_EQ(h.settings.circulateLogging, 3);
}

TEST_F(SetupDialogTest, StatusGatesSetupAndAFailedCheckDisablesIt) {
  h.serial.AddPort(1);  // never answered before: the link scans
  ASSERT_TRUE(dialog.Open(h));
  EXPECT_EQ(dialog.Status(), "Connecting...");
  Click("1");
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(dialog.MessageText(), "");
  h.clock.Advance(1200);  // no probe answered
  EXPECT_EQ(dialog.Status(), "Not Connected");
  EXPECT_TRUE(dialog.SetupButton()->isEnabled());
  Click("1");
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(dialog.MessageText().toStdString(), kConnectingFailed);
  EXPECT_TRUE(h.Frames().empty());
  dialog.reject();

  h.link.loggerFound = 1;
  h.link.portNumber = 2;  // a port that is not there
  ASSERT_TRUE(dialog.Open(h));
  EXPECT_EQ(dialog.Status(), "Not Connected");
  EXPECT_FALSE(dialog.SetupButton()->isEnabled());
  h.link.portNumber = 1;
  h.clock.Advance(3100);
  EXPECT_EQ(dialog.Status(), "Connected");
  EXPECT_FALSE(dialog.SetupButton()->isEnabled());  // for the rest of this opening
  Click("1");
  EXPECT_TRUE(h.Frames().empty());
  dialog.reject();
  ASSERT_TRUE(dialog.Open(h));  // reopening checks again
  EXPECT_TRUE(dialog.SetupButton()->isEnabled());
}

TEST_F(SetupDialogTest, CancelSendsNothingAndLeavesTheSettings) {
  const AppSettings before = h.settings;
  OpenConnected();
  ReplaceText(dialog.RateEdit(), "45");
  Child<QRadioButton>(&dialog, "1150")->click();
  dialog.UnitList()->setCurrentIndex(kUnitMinute);
  Click("2");
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_TRUE(h.Frames().empty());
  EXPECT_EQ(h.settings.sampleRateText, before.sampleRateText);
  EXPECT_EQ(h.settings.sampleRateUnit, before.sampleRateUnit);
  EXPECT_EQ(h.settings.autoPowerOff, before.autoPowerOff);
  EXPECT_EQ(h.savePromptsArmed, 0);
  EXPECT_FALSE(h.ConnectTimersRunning());

  // The next opening shows the settings again, not what was typed.
  ASSERT_TRUE(dialog.Open(h));
  EXPECT_EQ(dialog.RateEdit()->text().toStdString(), before.sampleRateText);
  EXPECT_TRUE(Child<QRadioButton>(&dialog, "1151")->isChecked());
}

// Setup sends and keeps what the dialog holds; only the byte sent is held
// to its range.
TEST_F(SetupDialogTest, StrayValuesFromTheSettingsFileAreSentInRangeAndKeptAsShown) {
  const struct {
    const char* stored;
    int sentRate;
  } cases[] = {{"90", 60}, {"05", 5}};
  for (const auto& c : cases) {
    h.settings.sampleRateText = c.stored;
    h.settings.sampleRateUnit = 7;  // no such unit
    h.serial.writes.clear();
    OpenConnected();
    EXPECT_EQ(dialog.UnitList()->currentIndex(), kUnitSecond);
    Click("1");
    EXPECT_EQ(SentFrame()[2], 0x10);
    EXPECT_EQ(SentFrame()[3], c.sentRate);
    EXPECT_EQ(h.settings.sampleRateText, c.stored);
    EXPECT_EQ(h.settings.sampleRateUnit, kUnitSecond);  // the unit the dialog showed
  }
}

}  // namespace
}  // namespace acv::test
