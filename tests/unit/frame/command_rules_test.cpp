// Which commands the window offers in the states that matter: no data, STORE
// data, during a real-time run, and the apparent-power display.
#include <gtest/gtest.h>

#include <set>

#include "frame/CommandRules.h"
#include "frame/Commands.h"

namespace acv {
namespace {

const std::set<int> kLoggerCommands{cmd::kOpen,     cmd::kCorrectTime,         cmd::kLoggerSetup,
                                    cmd::kDownload, cmd::kPreviousMeasurement, cmd::kRun};

ViewFacts StoreData() {
  ViewFacts f;
  f.displayMode = 1;
  f.lastPoint = 100;
  f.rmsCount = 100;
  f.trCount = 2;
  return f;
}

ViewFacts RunningRealTime(const std::string& unit1, const std::string& unit2) {
  ViewFacts f;
  f.displayMode = 1;
  f.lastPoint = 5;
  f.epaCount = kEpaPoints;
  f.rtCount = 5;
  f.rtHasCh1 = f.rtHasCh2 = true;
  f.rtUnitCh1 = unit1;
  f.rtUnitCh2 = unit2;
  return f;
}

TEST(CommandRules, WithoutDataOnlyFileLoggerWindowAndHelpCommandsAreOffered) {
  FrameState frame;
  const ViewFacts none;
  for (int id :
       {cmd::kSave, cmd::kPrintSetup, cmd::kPrintPreviewGraph, cmd::kPrintPreviewList,
        cmd::kPrintGraph, cmd::kPrintList, cmd::kDataList, cmd::kGraph, cmd::kStoreRms,
        cmd::kStoreTr, cmd::kRealTimeEpa, cmd::kRealTimeRms, cmd::kRealTimeFreq, cmd::kRealTimeS,
        cmd::kStop, cmd::kImportToList, cmd::kToggleInfoPanel, cmd::kAddToLibrary}) {
    EXPECT_FALSE(CommandEnabled(id, frame, none)) << id;
  }
  for (int id : kLoggerCommands) EXPECT_TRUE(CommandEnabled(id, frame, none)) << id;
  for (int id :
       {cmd::kToggleInstrument, cmd::kAbout, cmd::kHelpTopics, cmd::kExit, cmd::kTotalTypesList}) {
    EXPECT_TRUE(CommandEnabled(id, frame, none)) << id;
  }
}

TEST(CommandRules, StoreDataEnablesSavePrintAndTheStoreDisplaysOnly) {
  FrameState frame;
  ViewFacts f = StoreData();
  for (int id :
       {cmd::kSave, cmd::kPrintSetup, cmd::kPrintPreviewGraph, cmd::kPrintGraph, cmd::kDataList,
        cmd::kGraph, cmd::kStoreRms, cmd::kStoreTr, cmd::kToggleInfoPanel, cmd::kAddToLibrary}) {
    EXPECT_TRUE(CommandEnabled(id, frame, f)) << id;
  }
  for (int id : {cmd::kRealTimeEpa, cmd::kRealTimeRms, cmd::kRealTimeFreq, cmd::kRealTimeS,
                 cmd::kStop, cmd::kImportToList}) {
    EXPECT_FALSE(CommandEnabled(id, frame, f)) << id;
  }
  // Without TR records the transient display stays off.
  f.trCount = 0;
  EXPECT_FALSE(CommandEnabled(cmd::kStoreTr, frame, f));
}

// The list pages come from the data, not from the Data List window: print,
// preview and PDF offer them together, whatever the window shows.
TEST(CommandRules, PrintPreviewAndPdfOfTheListAreOfferedAlike) {
  FrameState frame;
  ViewFacts startScreen = StoreData();
  startScreen.displayMode = 0;
  ViewFacts graph = StoreData();
  graph.displayMode = 1;
  ViewFacts listFace = StoreData();
  listFace.displayMode = 2;
  ViewFacts running = RunningRealTime("V", "A");
  running.displayMode = 1;
  const struct {
    const char* name;
    ViewFacts facts;
    bool offered;
  } cases[] = {{"no data", ViewFacts{}, false},
               {"data, start screen", startScreen, false},
               {"graph", graph, true},
               {"list face", listFace, true},
               {"running real time", running, true}};
  for (const auto& c : cases) {
    for (int id : {cmd::kPrintList, cmd::kPrintPreviewList, cmd::kExportPdfList}) {
      EXPECT_EQ(CommandEnabled(id, frame, c.facts), c.offered) << c.name << " " << id;
    }
  }
}

TEST(CommandRules, DuringARunTheLoggerCommandsAndOpenAreOffAndStopIsOn) {
  FrameState frame;
  frame.realTimeStopped = 0;
  const ViewFacts f = RunningRealTime("V", "A");
  for (int id : kLoggerCommands) EXPECT_FALSE(CommandEnabled(id, frame, f)) << id;
  EXPECT_FALSE(CommandEnabled(cmd::kAddToLibrary, frame, f)) << "the run is not complete yet";
  EXPECT_TRUE(CommandEnabled(cmd::kStop, frame, f));
  for (int id : {cmd::kRealTimeEpa, cmd::kRealTimeRms, cmd::kRealTimeFreq, cmd::kRealTimeS}) {
    EXPECT_TRUE(CommandEnabled(id, frame, f)) << id;
  }
  frame.realTimeStopped = 1;
  for (int id : kLoggerCommands) EXPECT_TRUE(CommandEnabled(id, frame, f)) << id;
  EXPECT_TRUE(CommandEnabled(cmd::kAddToLibrary, frame, f));
  EXPECT_FALSE(CommandEnabled(cmd::kStop, frame, f));
}

TEST(CommandRules, ASiteTimelineIsShownAndExportedButNotSavedScaledOrAddedAgain) {
  FrameState frame;
  ViewFacts site = StoreData();
  site.trCount = 0;
  site.siteOnShow = true;
  const struct {
    int id;
    bool enabled;
  } cases[] = {
      {cmd::kSave, false},       {cmd::kAddToLibrary, false},    {cmd::kChannelScaling, false},
      {cmd::kEvents, true},      {cmd::kExportCsv, true},        {cmd::kStatistics, true},
      {cmd::kDataList, true},    {cmd::kSaveGraphPicture, true}, {cmd::kPrintPreviewSummary, true},
      {cmd::kSiteTimeline, true}};
  for (const auto& c : cases) EXPECT_EQ(CommandEnabled(c.id, frame, site), c.enabled) << c.id;
  // Another site can be chosen only while no run is under way.
  frame.realTimeStopped = 0;
  EXPECT_FALSE(CommandEnabled(cmd::kSiteTimeline, frame, site));
}

TEST(CommandRules, ASiteTooLongToHoldIsDrawnAndListedButNotReadWhole) {
  FrameState frame;
  frame.mode = DisplayMode::StoreRms;
  ViewFacts site = StoreData();
  site.siteOnShow = site.pointsOutside = true;
  const struct {
    int id;
    bool enabled;
  } cases[] = {
      {cmd::kExportCsv, false},    {cmd::kPrintPreviewList, false}, {cmd::kExportPdfList, false},
      {cmd::kEvents, false},       {cmd::kStatistics, false},       {cmd::kDistribution, false},
      {cmd::kPrintSummary, false}, {cmd::kExportPdfSummary, false}, {cmd::kDataList, true},
      {cmd::kFitAxes, true},       {cmd::kPrintPreviewGraph, true}, {cmd::kSaveGraphPicture, true},
      {cmd::kSiteTimeline, true}};
  for (const auto& c : cases) EXPECT_EQ(CommandEnabled(c.id, frame, site), c.enabled) << c.id;
  // The series in the library is the STORE one: another display's points
  // are in memory.
  frame.mode = DisplayMode::RealTimeRms;
  EXPECT_TRUE(CommandEnabled(cmd::kExportCsv, frame, site));
}

TEST(CommandRules, ApparentPowerNeedsOneVoltageAndOneCurrentChannel) {
  FrameState frame;
  EXPECT_TRUE(CommandEnabled(cmd::kRealTimeS, frame, RunningRealTime("V", "A")));
  EXPECT_TRUE(CommandEnabled(cmd::kRealTimeS, frame, RunningRealTime("A", "V")));
  EXPECT_FALSE(CommandEnabled(cmd::kRealTimeS, frame, RunningRealTime("V", "V")));
  ViewFacts oneChannel = RunningRealTime("V", "A");
  oneChannel.rtHasCh2 = false;
  EXPECT_FALSE(CommandEnabled(cmd::kRealTimeS, frame, oneChannel));
  ViewFacts noPoints = RunningRealTime("V", "A");
  noPoints.rtCount = 0;
  EXPECT_FALSE(CommandEnabled(cmd::kRealTimeS, frame, noPoints));
  // The wave display only needs a captured wave.
  EXPECT_TRUE(CommandEnabled(cmd::kRealTimeEpa, frame, noPoints));
}

TEST(CommandRules, InfoPanelToggleIsOffInTheThinStripDisplays) {
  FrameState frame;
  const ViewFacts f = StoreData();
  frame.SetOnlyMode(DisplayMode::StoreTr);
  EXPECT_FALSE(CommandEnabled(cmd::kToggleInfoPanel, frame, f));
  frame.SetOnlyMode(DisplayMode::RealTimeEpa);
  EXPECT_FALSE(CommandEnabled(cmd::kToggleInfoPanel, frame, f));
  frame.SetOnlyMode(DisplayMode::RealTimeRms);
  EXPECT_TRUE(CommandEnabled(cmd::kToggleInfoPanel, frame, f));
}

TEST(CommandRules, ComtradeExportNeedsAWaveformOnShow) {
  struct Case {
    const char* name;
    DisplayMode mode;
    ViewFacts facts;
    bool offered;
  } cases[] = {
      {"a TR record", DisplayMode::StoreTr, StoreData(), true},
      {"the STORE RMS series", DisplayMode::StoreRms, StoreData(), false},
      {"a captured wave", DisplayMode::RealTimeEpa, RunningRealTime("V", "A"), true},
      {"the run's RMS", DisplayMode::RealTimeRms, RunningRealTime("V", "A"), false},
      {"the start screen", DisplayMode::None, StoreData(), false},
  };
  cases[4].facts.displayMode = 0;
  cases[4].facts.lastPoint = 0;
  for (const Case& c : cases) {
    FrameState frame;
    if (c.mode != DisplayMode::None) frame.SetOnlyMode(c.mode);
    EXPECT_EQ(CommandEnabled(cmd::kExportComtrade, frame, c.facts), c.offered) << c.name;
  }
  // Before the first wave of a run, REAL TIME EPA has nothing to write.
  FrameState epa;
  epa.SetOnlyMode(DisplayMode::RealTimeEpa);
  ViewFacts noWave = RunningRealTime("V", "A");
  noWave.epaCount = 0;
  EXPECT_FALSE(CommandEnabled(cmd::kExportComtrade, epa, noWave));
}

TEST(CommandRules, CheckMarksFollowTheModeFlagsAndToggles) {
  FrameState frame;
  EXPECT_TRUE(CommandChecked(cmd::kToggleInstrument, frame));
  EXPECT_TRUE(CommandChecked(cmd::kToggleInfoPanel, frame));
  const std::pair<DisplayMode, int> modes[] = {{DisplayMode::StoreRms, cmd::kStoreRms},
                                               {DisplayMode::StoreTr, cmd::kStoreTr},
                                               {DisplayMode::RealTimeEpa, cmd::kRealTimeEpa},
                                               {DisplayMode::RealTimeRms, cmd::kRealTimeRms},
                                               {DisplayMode::RealTimeFreq, cmd::kRealTimeFreq},
                                               {DisplayMode::RealTimeS, cmd::kRealTimeS}};
  for (const auto& [mode, id] : modes) {
    frame.SetOnlyMode(mode);
    EXPECT_EQ(frame.ActiveMode(), mode);
    for (const auto& [other, otherId] : modes) {
      EXPECT_EQ(CommandChecked(otherId, frame), otherId == id) << id << " vs " << otherId;
    }
  }
  frame.ToggleInstrumentColumn();
  frame.ToggleInfoPanel();
  EXPECT_FALSE(CommandChecked(cmd::kToggleInstrument, frame));
  EXPECT_FALSE(CommandChecked(cmd::kToggleInfoPanel, frame));
}

TEST(CommandTable, EveryToolbarButtonHasATipAndAPrompt) {
  int buttons = 0;
  for (int id : cmd::ToolbarLayout()) {
    if (id == 0) continue;
    ++buttons;
    const cmd::CommandInfo* info = cmd::FindCommand(id);
    ASSERT_NE(info, nullptr) << id;
    EXPECT_STRNE(info->toolTip, "") << id;
    EXPECT_STRNE(info->prompt, "") << id;
  }
  EXPECT_EQ(buttons, 11);
  EXPECT_EQ(cmd::PromptAndTip(cmd::kStoreRms), "Show store RMS graph\nStore RMS");
  EXPECT_EQ(cmd::FindCommand(12345), nullptr);
}

// The menu texts as agreed: exact, mnemonic included, where it was given;
// as shown (without the mark, which is ours to place) for the rest.
TEST(CommandTable, MenuTextsAndMnemonicsAreTheAgreedOnes) {
  const std::pair<int, const char*> exact[] = {
      {cmd::kSave, "&Save..."},
      {cmd::kOpen, "&Open..."},
      {cmd::kPrintSetup, "&Print Setup..."},
      {cmd::kPrintPreviewGraph, "&Graph"},
      {cmd::kPrintPreviewList, "&List"},
      {cmd::kPrintGraph, "&Graph"},
      {cmd::kPrintList, "&List"},
      {cmd::kExit, "&Exit"},
      {cmd::kCorrectTime, "&Correct Time..."},
      {cmd::kLoggerSetup, "Datalogger &Setup..."},
      {cmd::kDownload, "&Download Data..."},
      {cmd::kImportToList, "&Import Data To List"},
      {cmd::kPreviousMeasurement, "&Previous Measurement"},
      {cmd::kToggleInstrument, "&Instrument"},
      {cmd::kToggleInfoPanel, "I&nfo Dialog"},
      {cmd::kAbout, "&About..."},
      {cmd::kHelpTopics, "&Help topics..."},
      {cmd::kRun, "&Run..."},
  };
  for (const auto& [id, text] : exact) {
    ASSERT_NE(cmd::FindCommand(id), nullptr) << id;
    EXPECT_STREQ(cmd::FindCommand(id)->menuText, text) << id;
  }
  const std::pair<int, const char*> shown[] = {
      {cmd::kDataList, "Data List"},        {cmd::kGraph, "Graph"},
      {cmd::kStoreRms, "Store RMS"},        {cmd::kStoreTr, "Store Transient Wave"},
      {cmd::kRealTimeRms, "Real Time RMS"}, {cmd::kRealTimeFreq, "Real Time Wave Frequency"},
      {cmd::kRealTimeS, "Real Time S(VA)"}, {cmd::kStop, "Stop"},
  };
  for (const auto& [id, text] : shown) {
    ASSERT_NE(cmd::FindCommand(id), nullptr) << id;
    EXPECT_EQ(cmd::MenuTextShown(cmd::FindCommand(id)->menuText), text) << id;
    EXPECT_NE(cmd::MenuMnemonic(cmd::FindCommand(id)->menuText), 0) << id;
  }
  EXPECT_EQ(cmd::MenuMnemonic("Save && &Quit"), 'q');
  EXPECT_EQ(cmd::MenuTextShown("Save && &Quit"), "Save & Quit");
}

}  // namespace
}  // namespace acv
