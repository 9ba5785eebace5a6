// A run's points in the window: every save question answered Yes saves them,
// commands that would replace or drop them ask first, and a run a crash cut
// short is offered back at the next start.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <filesystem>

#include "data/DataFile.h"
#include "data/RunJournal.h"
#include "frame/Commands.h"
#include "frame_fixture.h"
#include "graph/CDTView.h"
#include "ui/dialogs/LoggerDialogBase.h"

namespace acv::test {
namespace {

// A download, then a run of three points that the window was told about as
// the run took them.
void DownloadThenRun(CMainFrame& frame) {
  CDTDoc& doc = frame.Doc();
  doc.Store() = StoreData(20, true).Store();
  doc.rtStartTime = 1772000000;
  doc.rtInterval = 2;
  doc.rtHasCh1 = doc.rtHasCh2 = 1;
  doc.rtUnitCh1 = "V";
  doc.rtUnitCh2 = "A";
  doc.rtRms.assign(10, ChannelPair{});
  doc.rtFreq.assign(10, ChannelPair{50.0f, 50.0f});
  for (int i = 0; i < 3; ++i) {
    doc.rtRms[i] = {230.0f + static_cast<float>(i), 4.0f};
    doc.rtCount = i + 1;
    frame.Logger().RealTimePointAdded();
  }
  RecomputeRealTimeStatistics(doc);
}

using RunSaving = FrameTest;

TEST_F(RunSaving, YesToEverySaveQuestionSavesTheRunWithTheStoreData) {
  struct Case {
    const char* name;
    std::function<void(CMainFrame&)> command;
  };
  const Case cases[] = {
      {"open", [](CMainFrame& f) { f.OnCommand(cmd::kOpen); }},
      {"run",
       [](CMainFrame& f) {
         f.OnCommand(cmd::kRun);
         f.Logger().Dialog(DialogKind::RealTime)->reject();
       }},
      {"download",
       [](CMainFrame& f) {
         f.Logger().ArmSavePrompts();
         f.OnCommand(cmd::kDownload);
         f.Logger().Dialog(DialogKind::Download)->reject();
       }},
      {"close", [](CMainFrame& f) { f.close(); }},
  };
  for (const Case& c : cases) {
    FrameUnderTest window(&serial, &timers);  // each case in a new window
    CMainFrame& frame = *window.frame;
    DownloadThenRun(frame);
    const std::string path = window.Path("saved.stdata");
    window.prompter.saveName = QString::fromStdString(path);
    window.prompter.answers = {true};
    c.command(frame);
    ASSERT_EQ(window.prompter.questions.size(), 1) << c.name;
    CDTDoc saved;
    const LoadResult loaded = LoadDataFile(path, saved);
    ASSERT_TRUE(loaded.ok) << c.name << ": " << loaded.error;
    EXPECT_EQ(loaded.tag, kTagRealTime) << c.name;
    EXPECT_EQ(saved.rtCount, 3) << c.name;
    EXPECT_EQ(saved.rtRms[2].ch1, 232.0f) << c.name;
    EXPECT_EQ(saved.rtRmsMaxText, frame.Doc().rtRmsMaxText) << c.name;
    EXPECT_EQ(saved.Store(), frame.Doc().Store()) << c.name;
    EXPECT_EQ(frame.State().runUnsaved, 0) << c.name;
  }
}

TEST_F(RunSaving, ARunNoLongerGuardedByTheOtherFlagsIsStillAskedAbout) {
  DownloadThenRun(Frame());
  // The download question answered No clears the flags the Parts' Open and
  // close questions test; the run is still in no file.
  Frame().Logger().ArmSavePrompts();
  ui.prompter.answers = {false};
  Frame().OnCommand(cmd::kDownload);
  Frame().Logger().Dialog(DialogKind::Download)->reject();
  ASSERT_EQ(Frame().State().dataUnsaved, 0);
  ui.prompter.answers = {false};
  Frame().OnCommand(cmd::kRun);
  Frame().Logger().Dialog(DialogKind::RealTime)->reject();
  ASSERT_EQ(ui.prompter.questions.size(), 2);
  EXPECT_EQ(ui.prompter.questions[1],
            "Do you want to save the existing graph data before continuing?");
  // No lets the run go: not asked again.
  Frame().OnCommand(cmd::kRun);
  Frame().Logger().Dialog(DialogKind::RealTime)->reject();
  EXPECT_EQ(ui.prompter.questions.size(), 2);
}

TEST_F(RunSaving, ALeftJournalIsOfferedAtStartAndYesBringsTheRunBack) {
  const std::string previous = Frame().PreviousMeasurementPath();
  const std::string folder = previous.substr(0, previous.find_last_of('/'));
  JournalHeader header;
  header.rtStartTime = 1772000000;
  header.rtHasCh1 = 1;
  header.rtUnitCh1 = "V";
  std::string path;
  {
    JournalWriter crashed;
    ASSERT_EQ(crashed.Begin(folder, header), "");
    for (int i = 0; i < 4; ++i) crashed.Append(i, {100.0f + i, 0.0f}, {50.0f, 0.0f});
    path = crashed.Path();
  }
  ui.prompter.answers = {true};
  Frame().OfferRecovery();
  ASSERT_EQ(ui.prompter.questions.size(), 1);
  EXPECT_EQ(ui.prompter.questions[0],
            "A real-time run ended unexpectedly (started " +
                QString::fromStdString(FormatTime(1772000000, kSampleTimeFormat)) +
                ", 4 points). Recover it?");
  EXPECT_EQ(Frame().Doc().rtCount, 4);
  EXPECT_EQ(Frame().Doc().rtRms[3].ch1, 103.0f);
  EXPECT_TRUE(Frame().State().IsActive(DisplayMode::RealTimeRms));
  EXPECT_EQ(Frame().State().runUnsaved, 1);
  EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(path)));
  CDTDoc previousRun;
  ASSERT_TRUE(LoadPreviousMeasurement(Frame().PreviousMeasurementPath(), previousRun).ok);
  EXPECT_EQ(previousRun.RealTime(), Frame().Doc().RealTime());

  // No keeps the journal under another name and never asks about it again.
  {
    JournalWriter crashed;
    ASSERT_EQ(crashed.Begin(folder, header), "");
    crashed.Append(0, {1.0f, 0.0f}, {50.0f, 0.0f});
    path = crashed.Path();
  }
  ui.prompter.answers = {false};
  Frame().OfferRecovery();
  Frame().OfferRecovery();
  EXPECT_EQ(ui.prompter.questions.size(), 2);
  EXPECT_EQ(Frame().Doc().rtCount, 4);
  EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(path + ".not-recovered")));
}

}  // namespace
}  // namespace acv::test
