// Open, Save, Previous Measurement and closing the window, with their
// questions, messages and flags.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <filesystem>
#include <fstream>

#include "data/DataFile.h"
#include "data/RealTimeExport.h"
#include "data/Settings.h"
#include "frame/Commands.h"
#include "frame_fixture.h"
#include "graph/CDTView.h"
#include "ui/dialogs/LoggerDialogBase.h"

namespace acv::test {
namespace {

class FileCommands : public FrameTest {
 protected:
  // The state after a download: STORE data shown, not saved.
  void ShowUnsavedStoreData(int count = 30) {
    const std::string path = ui.Path("incoming.stdata");
    ASSERT_EQ(SaveDataFile(StoreData(count, true), path), "");
    ASSERT_TRUE(Frame().OpenDataFile(QString::fromStdString(path)));
    DisplaySetup setup = Frame().View()->Display();
    setup.dataSaved = false;
    Frame().View()->ApplyDisplay(setup);
    Frame().MutableState().dataUnsaved = 1;
    Frame().UpdateCommands();
  }
};

TEST_F(FileCommands, OpenShowsStoreRmsAndMarksTheDataAsComingFromAFile) {
  const std::string path = ui.Path("a.stdata");
  ASSERT_EQ(SaveDataFile(StoreData(12, false), path), "");
  ui.prompter.openName = QString::fromStdString(path);
  Frame().OnCommand(cmd::kOpen);
  EXPECT_EQ(ui.prompter.filters.value(0), "DataLogger Files (*.stdata)");
  EXPECT_TRUE(ui.prompter.questions.isEmpty());
  EXPECT_TRUE(Frame().State().IsActive(DisplayMode::StoreRms));
  EXPECT_EQ(Frame().View()->Display().lastPoint, 12);
  EXPECT_TRUE(Frame().View()->Display().dataSaved);
  EXPECT_EQ(Frame().View()->Display().ch1UnitText, "V");
  // The zoom reset follows 50 ms later.
  const int resets = Frame().View()->ZoomResets();
  clock.Advance(50);
  EXPECT_EQ(Frame().View()->ZoomResets(), resets + 1);
}

TEST_F(FileCommands, TitleNamesTheDataAndRecentFilesOpenThemAgain) {
  const QString caption = "Orvane AC Voltage-Current Software";
  EXPECT_EQ(Frame().windowTitle(), caption);
  const std::string a = ui.Path("a.stdata"), b = ui.Path("b.stdata");
  ASSERT_EQ(SaveDataFile(StoreData(12, false), a), "");
  ui.prompter.openName = QString::fromStdString(a);
  Frame().OnCommand(cmd::kOpen);
  EXPECT_EQ(Frame().windowTitle(), QString::fromUtf8("a.stdata \u2014 ") + caption);

  ui.prompter.saveName = QString::fromStdString(b);
  Frame().OnCommand(cmd::kSave);
  EXPECT_EQ(Frame().windowTitle(), QString::fromUtf8("b.stdata \u2014 ") + caption);
  Frame().Logger().DownloadFinished();  // new data from the logger
  EXPECT_EQ(Frame().windowTitle(), QString::fromUtf8("Untitled* \u2014 ") + caption);

  QMenu* recent = Frame().RecentFilesMenu();
  ASSERT_EQ(recent->actions().size(), 2);
  EXPECT_TRUE(recent->actions()[0]->text().endsWith("b.stdata"));
  EXPECT_TRUE(recent->actions()[1]->text().startsWith("&2 "));
  recent->actions()[1]->trigger();  // a.stdata
  EXPECT_EQ(Frame().windowTitle(), QString::fromUtf8("a.stdata \u2014 ") + caption);
  EXPECT_TRUE(recent->actions()[0]->text().endsWith("a.stdata"));

  // A file gone since says so and leaves the list.
  std::filesystem::remove(b);
  recent->actions()[1]->trigger();
  EXPECT_EQ(ui.prompter.messages.size(), 1);
  EXPECT_EQ(Frame().Settings().recentFiles, std::vector<std::string>{a});
  EXPECT_EQ(Frame().windowTitle(), QString::fromUtf8("a.stdata \u2014 ") + caption);

  Frame().close();  // the list is kept with the settings
  EXPECT_EQ(LoadSettings(Frame().SettingsPath()).recentFiles, std::vector<std::string>{a});
}

TEST_F(FileCommands, AFileThatCannotBeReadShowsWhyAndKeepsTheData) {
  ShowUnsavedStoreData(30);
  Frame().MutableState().dataUnsaved = 0;
  const std::string bad = ui.Path("bad.stdata");
  std::ofstream(bad, std::ios::binary) << "\x05HELLOgarbage";
  ui.prompter.openName = QString::fromStdString(bad);
  Frame().OnCommand(cmd::kOpen);
  ASSERT_EQ(ui.prompter.messages.size(), 1);
  EXPECT_EQ(ui.prompter.messages[0], "Invalid Format!");
  EXPECT_EQ(Frame().Doc().rmsCount, 30);
  EXPECT_EQ(Frame().View()->Display().lastPoint, 30);

  // A file cut short names its problem rather than loading half of it.
  const std::string cut = ui.Path("cut.stdata");
  ASSERT_EQ(SaveDataFile(StoreData(50, true), cut), "");
  std::filesystem::resize_file(cut, 100);
  ui.prompter.openName = QString::fromStdString(cut);
  Frame().OnCommand(cmd::kOpen);
  ASSERT_EQ(ui.prompter.messages.size(), 2);
  EXPECT_FALSE(ui.prompter.messages[1].isEmpty());
  EXPECT_EQ(Frame().Doc().rmsCount, 30);
}

TEST_F(FileCommands, OpenAsksToSaveNewDataFirst) {
  ShowUnsavedStoreData();
  ui.prompter.answers = {false};  // No
  ui.prompter.openName.clear();   // and then Cancel in the open dialog
  Frame().OnCommand(cmd::kOpen);
  ASSERT_EQ(ui.prompter.questions.size(), 1);
  EXPECT_EQ(ui.prompter.questions[0],
            "Do you want to save the existing graph data before continuing?");
  EXPECT_EQ(Frame().State().dataUnsaved, 0);
  Frame().OnCommand(cmd::kOpen);
  EXPECT_EQ(ui.prompter.questions.size(), 1);  // not asked again
}

TEST_F(FileCommands, SaveWritesTheDataFileAndTheTableAndClearsTheFlags) {
  ShowUnsavedStoreData();
  Frame().MutableState().storePromptArmed = 1;
  const QString chosen = QString::fromStdString(ui.Path("saved.stdata"));
  ui.prompter.saveName = chosen;
  Frame().OnCommand(cmd::kSave);
  EXPECT_TRUE(ui.prompter.messages.isEmpty()) << ui.prompter.messages.join("|").toStdString();
  EXPECT_EQ(ui.prompter.saveKinds, std::vector<SaveKind>{SaveKind::Data});
  EXPECT_TRUE(ui.prompter.proposedNames.value(0).contains("  "));  // "%y-%m-%d  %H.%M.%S"
  EXPECT_EQ(FileTag(chosen.toStdString()), "RMSTRDATA");
  EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(ui.Path("saved.xls"))));
  EXPECT_EQ(Frame().State().dataUnsaved, 0);
  EXPECT_EQ(Frame().State().realTimePromptArmed, 0);
  EXPECT_EQ(Frame().State().storePromptArmed, 0);
}

TEST_F(FileCommands, AFailedSaveSaysWhyAndKeepsTheDataMarkedUnsaved) {
  ShowUnsavedStoreData();
  ui.prompter.saveName = QString::fromStdString(ui.Path("no/such/folder/x.stdata"));
  Frame().OnCommand(cmd::kSave);
  ASSERT_EQ(ui.prompter.messages.size(), 1);
  EXPECT_EQ(Frame().State().dataUnsaved, 1);
  EXPECT_EQ(Frame().State().realTimePromptArmed, 1);
}

TEST_F(FileCommands, DownloadAsksAboutStoreDataOnlyOnceArmedByTheSetup) {
  ShowUnsavedStoreData();
  Frame().OnCommand(cmd::kDownload);
  EXPECT_TRUE(ui.prompter.questions.isEmpty());
  Frame().Logger().Dialog(DialogKind::Download)->reject();
  Frame().Logger().ArmSavePrompts();
  ui.prompter.answers = {false};
  Frame().OnCommand(cmd::kDownload);
  ASSERT_EQ(ui.prompter.questions.size(), 1);
  EXPECT_EQ(ui.prompter.questions[0],
            "Do you want to save the existing RMS&TR graph data before continuing?");
  EXPECT_TRUE(Frame().Logger().Dialog(DialogKind::Download)->isVisible());
  Frame().Logger().Dialog(DialogKind::Download)->reject();
}

TEST_F(FileCommands, PreviousMeasurementLoadsOnceAndShowsEachProblemOnce) {
  Frame().OnCommand(cmd::kPreviousMeasurement);  // no file yet: nothing happens
  EXPECT_TRUE(ui.prompter.messages.isEmpty());
  EXPECT_TRUE(Frame().View()->ShowsStartScreen());

  std::ofstream(Frame().PreviousMeasurementPath(), std::ios::binary) << "\x03XYZ";
  Frame().OnCommand(cmd::kPreviousMeasurement);
  EXPECT_EQ(ui.prompter.messages, QStringList({"Invalid Format!"}));

  ASSERT_EQ(SaveDataFile(StoreData(8, true), Frame().PreviousMeasurementPath()), "");
  Frame().OnCommand(cmd::kPreviousMeasurement);
  EXPECT_EQ(ui.prompter.messages.size(), 1);
  EXPECT_EQ(Frame().Doc().rmsCount, 8);
  EXPECT_TRUE(Frame().State().IsActive(DisplayMode::StoreRms));
}

TEST_F(FileCommands, ARealTimeFileShowsTheRealTimeRmsDisplayAndExportsTheCsvOnShow) {
  CDTDoc doc = StoreData(4, false);
  doc.rtCount = 3;
  doc.rtInterval = 2;
  doc.rtHasCh1 = doc.rtHasCh2 = 1;
  doc.rtUnitCh1 = "V";
  doc.rtUnitCh2 = "A";
  doc.rtRms = {{230, 5}, {231, 5}, {229, 6}};
  doc.rtFreq = {{50, 50}, {50, 50}, {50, 50}};
  doc.rtStartTime = 1767261600;
  doc.formatTag = kTagRealTime;
  ASSERT_EQ(SavePreviousMeasurement(doc, Frame().PreviousMeasurementPath()), "");
  Frame().OnCommand(cmd::kPreviousMeasurement);
  EXPECT_TRUE(ui.prompter.messages.isEmpty()) << ui.prompter.messages.join("|").toStdString();
  EXPECT_TRUE(Frame().State().IsActive(DisplayMode::RealTimeRms));
  EXPECT_EQ(Frame().View()->Display().lastPoint, 3);
  EXPECT_TRUE(Frame().Action(cmd::kRealTimeS)->isEnabled());

  // File -> Export CSV writes the table of the display on show.
  const auto exportCsv = [this](const char* name) {
    ui.prompter.saveName = QString::fromStdString(ui.Path(name));
    Frame().OnCommand(cmd::kExportCsv);
    std::string head;
    std::getline(std::ifstream(ui.Path(name)), head);
    return head;
  };
  EXPECT_EQ(exportCsv("run.csv") + "\n", kRealTimeCsvHeader);
  Frame().OnCommand(cmd::kStoreRms);
  EXPECT_EQ(exportCsv("store.csv"), "no,kind,ch1,ch1_unit,ch2,ch2_unit,time\r");
  EXPECT_EQ(ui.prompter.saveKinds, std::vector<SaveKind>(2, SaveKind::Csv));
  EXPECT_TRUE(ui.prompter.proposedNames.value(0).endsWith("-realtime.csv"));
  EXPECT_FALSE(ui.prompter.proposedNames.value(0).contains('/'));  // not the program's folder
  EXPECT_TRUE(ui.prompter.messages.isEmpty()) << ui.prompter.messages.join("|").toStdString();
}

TEST_F(FileCommands, ClosingWritesTheSettingsAsksAboutUnsavedDataAndClosesLater) {
  Frame().Settings().sampleRateText = "07";
  Frame().Logger().RealTimePoints() = 42;
  Frame().Logger().RtInterval() = 9;
  ShowUnsavedStoreData();
  ui.prompter.answers = {false};
  EXPECT_FALSE(Frame().close());  // the real close comes 100 ms later
  ASSERT_EQ(ui.prompter.questions, QStringList({"Do you want to save the data before closing?"}));
  const AppSettings written = LoadSettings(Frame().SettingsPath());
  EXPECT_EQ(written.sampleRateText, "07");
  EXPECT_EQ(written.realTimePoints, 42);
  EXPECT_EQ(written.rtInterval, 9);
  EXPECT_TRUE(Frame().isVisible());
  EXPECT_TRUE(Frame().ClosingScheduled());
  clock.Advance(100);
  EXPECT_FALSE(Frame().isVisible());
}

TEST_F(FileCommands, ClosingStaysOpenWhenTheWantedSaveFails) {
  ShowUnsavedStoreData();
  ui.prompter.answers = {true};
  ui.prompter.saveName = QString::fromStdString(ui.Path("no/such/folder/x.stdata"));
  Frame().close();
  clock.Advance(200);
  EXPECT_TRUE(Frame().isVisible());
  EXPECT_FALSE(Frame().ClosingScheduled());
  EXPECT_EQ(ui.prompter.messages.size(), 1);
  // Cancel in the save dialog keeps the window too; "No" lets it go.
  ui.prompter.answers = {true};
  ui.prompter.saveName.clear();
  Frame().close();
  clock.Advance(200);
  EXPECT_TRUE(Frame().isVisible());
  // Cancel in the question keeps the window and the data as they were.
  ui.prompter.cancels = 1;
  Frame().close();
  clock.Advance(200);
  EXPECT_TRUE(Frame().isVisible());
  EXPECT_EQ(Frame().State().dataUnsaved, 1);
  EXPECT_EQ(ui.prompter.questions.size(), 3);
  ui.prompter.answers = {false};
  Frame().close();
  clock.Advance(200);
  EXPECT_FALSE(Frame().isVisible());
}

}  // namespace
}  // namespace acv::test
