// The Color, Axis and View dialogs and the Fit command through the main
// window: what OK stores (and writes at close), what Cancel keeps.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QToolBar>

#include "data/DataFile.h"
#include "data/Settings.h"
#include "frame/Commands.h"
#include "frame/SettingsDialogRules.h"
#include "frame_fixture.h"
#include "graph/CDTView.h"
#include "ui/dialogs/CAxisSetupDlg.h"
#include "ui/dialogs/CColorSetupDlg.h"
#include "ui/dialogs/CNumberEdit.h"
#include "ui/dialogs/CViewOptionsDlg.h"

namespace acv::test {
namespace {

class SettingsDialogs : public FrameTest {
 protected:
  // STORE RMS of 300 points: CH1 near 230 V, CH2 between 5 and 7 A.
  void ShowStoreData() {
    const std::string path = ui.Path("data.stdata");
    ASSERT_EQ(SaveDataFile(StoreData(300, true), path), "");
    ASSERT_TRUE(Frame().OpenDataFile(QString::fromStdString(path)));
  }
  template <typename Dialog>
  Dialog* Open(int command) {
    Frame().OnCommand(command);
    return qobject_cast<Dialog*>(Frame().SettingsDialog());
  }
  void Type(CAxisSetupDlg* d, AxisField f, const char* text) {
    d->Field(f)->setText(QString::fromLatin1(text));
  }
};

TEST_F(SettingsDialogs, AxisMessagesComeInTurnAndTheDialogStaysOpen) {
  ShowStoreData();
  auto* dialog = Open<CAxisSetupDlg>(cmd::kAxisSetup);
  ASSERT_NE(dialog, nullptr);
  Type(dialog, AxisField::Ch1From, "100");
  Type(dialog, AxisField::Ch1To, "100");
  Type(dialog, AxisField::XFrom, "50");
  Type(dialog, AxisField::XTo, "10");
  dialog->OkButton()->click();
  EXPECT_EQ(ui.prompter.messages, QStringList({kYAxisOrderMessage, kXAxisOrderMessage}));
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(Frame().View()->Display().ch1To, 500);
  // Typing corrects the X fields: 0 becomes 1, 1000 the 300 points.
  Type(dialog, AxisField::XFrom, "0");
  Type(dialog, AxisField::XTo, "1000");
  EXPECT_EQ(dialog->Field(AxisField::XFrom)->text(), "1");
  EXPECT_EQ(dialog->Field(AxisField::XTo)->text(), "300");
  Type(dialog, AxisField::Ch1To, "250");
  dialog->OkButton()->click();
  EXPECT_EQ(Frame().View()->Display().ch1To, 250);
  EXPECT_EQ(Frame().State().yAxisHigh[0][0], 250);
}

// The dialog stays open while the display changes under it (a run's first
// point, a display command): OK belongs to the display it was opened for.
TEST_F(SettingsDialogs, AxisOkAfterTheDisplayChangedGoesToTheDisplayItWasOpenedFor) {
  ShowStoreData();
  auto* dialog = Open<CAxisSetupDlg>(cmd::kAxisSetup);
  ASSERT_NE(dialog, nullptr);
  Frame().OnCommand(cmd::kStoreTr);
  const DisplaySetup tr = Frame().View()->Display();
  const auto trRow = Frame().State().yAxisHigh[1];
  Type(dialog, AxisField::Ch1To, "250");
  dialog->OkButton()->click();
  EXPECT_EQ(Frame().State().yAxisHigh[0][0], 250);
  EXPECT_EQ(Frame().State().yAxisHigh[1], trRow);
  EXPECT_EQ(Frame().View()->Display().ch1To, tr.ch1To);
  EXPECT_EQ(Frame().View()->Display().lastPoint, tr.lastPoint);
}

TEST_F(SettingsDialogs, DuringARunXToBecomesThePointsTakenSoFar) {
  ScriptedPrompter prompter;
  int taken = 7;
  CAxisSetupDlg::Context context{DisplayMode::RealTimeRms, 7, [] { return true; },
                                 [&taken] { return taken; }};
  CAxisSetupDlg dialog(prompter, context);
  dialog.Load({0, 500, 0, 500, 1, 7});
  taken = 9;  // two more points came in while the dialog was open
  dialog.OkButton()->click();
  EXPECT_EQ(dialog.Accepted().lastPoint, 9);
  EXPECT_TRUE(prompter.messages.isEmpty());
}

TEST_F(SettingsDialogs, TheXFieldsAreOffInStoreTr) {
  ScriptedPrompter prompter;
  CAxisSetupDlg dialog(prompter, {DisplayMode::StoreTr, 251, {}, {}});
  EXPECT_FALSE(dialog.Field(AxisField::XTo)->isEnabled());
  EXPECT_FALSE(dialog.Field(AxisField::XFrom)->isEnabled());
  EXPECT_TRUE(dialog.Field(AxisField::Ch1To)->isEnabled());
}

TEST_F(SettingsDialogs, ColoursGoToTheViewAndTheSettingsFileOnlyOnOk) {
  ShowStoreData();
  auto* dialog = Open<CColorSetupDlg>(cmd::kColorSetup);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->BackgroundList()->count(), 15);
  EXPECT_EQ(dialog->BackgroundList()->SelectedIndex(), 13);
  EXPECT_FALSE(dialog->Ch3List()->isVisibleTo(dialog));
  dialog->Ch1List()->setCurrentIndex(dialog->Ch1List()->findData(4));
  dialog->CancelButton()->click();
  EXPECT_EQ(Frame().View()->State().ch1Colour, 0);

  dialog = Open<CColorSetupDlg>(cmd::kColorSetup);
  dialog->Ch1List()->setCurrentIndex(dialog->Ch1List()->findData(4));
  dialog->BackgroundList()->setCurrentIndex(dialog->BackgroundList()->findData(12));
  dialog->OkButton()->click();
  EXPECT_EQ(Frame().View()->State().ch1Colour, 4);
  EXPECT_EQ(Frame().View()->State().backgroundColour, 12);
  Frame().close();
  const AppSettings written = LoadSettings(Frame().SettingsPath());
  EXPECT_EQ(written.ch1Colour, 4);
  EXPECT_EQ(written.backgroundColour, 12);
  EXPECT_EQ(written.ch3Colour, 3);
}

TEST_F(SettingsDialogs, ViewOptionsCarryTheHiddenOnesAndThePlotStyleActsAtOnce) {
  ShowStoreData();
  Frame().Settings().capLevelShown = 1;
  Frame().Settings().showCh3 = 0;
  auto* dialog = Open<CViewOptionsDlg>(cmd::kViewOptions);
  ASSERT_NE(dialog, nullptr);
  EXPECT_FALSE(dialog->Box(ViewOption::CapLevel)->isVisibleTo(dialog));
  dialog->PlotStyleButton(1)->click();
  dialog->Box(ViewOption::MarkPoints)->setChecked(true);
  dialog->CancelButton()->click();
  EXPECT_EQ(Frame().View()->State().plotStyle, 1);  // kept although cancelled
  EXPECT_EQ(Frame().View()->State().markPoints, 0);

  dialog = Open<CViewOptionsDlg>(cmd::kViewOptions);
  EXPECT_TRUE(dialog->PlotStyleButton(1)->isChecked());
  dialog->Box(ViewOption::XGrid)->setChecked(false);
  dialog->OkButton()->click();
  EXPECT_EQ(Frame().View()->State().xGrid, 0);
  Frame().close();
  const AppSettings written = LoadSettings(Frame().SettingsPath());
  EXPECT_EQ(written.xGrid, 0);
  EXPECT_EQ(written.capLevelShown, 1);
  EXPECT_EQ(written.showCh3, 0);
}

TEST_F(SettingsDialogs, FitFillsThePlotAndTheAxisDialogShowsTheFittedRange) {
  ShowStoreData();
  ASSERT_EQ(Frame().View()->Display().ch2From, -500);
  Frame().OnCommand(cmd::kFitAxes);
  const DisplaySetup& fitted = Frame().View()->Display();
  EXPECT_GE(fitted.ch2From, 0);
  EXPECT_LE(fitted.ch2To, 10);
  EXPECT_LT(fitted.ch2From, 5);
  EXPECT_GT(fitted.ch2To, 7);
  EXPECT_LT(fitted.ch1From, 230);
  EXPECT_GT(fitted.ch1From, 200);
  EXPECT_EQ(Frame().State().yAxisLow[0][1], fitted.ch2From);
  auto* dialog = Open<CAxisSetupDlg>(cmd::kAxisSetup);
  EXPECT_EQ(dialog->Field(AxisField::Ch2To)->text(), QString::number(fitted.ch2To));
  dialog->CancelButton()->click();
  // Entering the display again keeps the fitted axes.
  Frame().OnCommand(cmd::kStoreTr);
  Frame().OnCommand(cmd::kStoreRms);
  EXPECT_EQ(Frame().View()->Display().ch2To, fitted.ch2To);
}

TEST_F(SettingsDialogs, TheGraphToolbarCarriesTheSettingsCommands) {
  for (int id : {cmd::kColorSetup, cmd::kAxisSetup, cmd::kViewOptions, cmd::kFitAxes}) {
    EXPECT_TRUE(Frame().View()->GraphToolBar()->actions().contains(Frame().Action(id))) << id;
  }
}

}  // namespace
}  // namespace acv::test
