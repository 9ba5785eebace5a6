// Entering the six displays: range, axes, channels, info-panel height, panels
// and instrument-column width, and the info-panel texts.
#include <gtest/gtest.h>

#include "frame/DisplayModes.h"
#include "support/TestDataSets.h"

namespace acv {
namespace {

CDTDoc StoreDoc() {
  CDTDoc doc;
  doc.rmsCount = 4;
  doc.hasCh1 = 1;
  doc.hasCh2 = 0;
  doc.rmsCh1 = {1.0f, 2.0f, 3.0f, 4.0f};
  doc.rmsUnitCh1 = "V";
  doc.rmsUnitCh2 = "A";
  doc.rmsInterval = 60.0f;
  doc.rmsStartTime = 1700000000;  // 14/11/23 22:13:20 UTC
  doc.rmsMaxTextCh1 = "4.0 V @max";
  doc.rmsMinTextCh1 = "1.0V @min";
  test::AddTrRecords(doc, {{1700000100, kUnitAmpere, kChannel2, 0.0f, {{5, 120.0f}, {6, -80.0f}}},
                           {1700000200, kUnitVolt, kChannel1, 0.0f, {{1, 999.0f}}}});
  doc.riseLevel = 500.0f;
  doc.dropLevel = 100.0f;
  return doc;
}

CDTDoc RealTimeDoc(int points) {
  CDTDoc doc;
  doc.epaCount = kEpaPoints;
  doc.rtCount = points;
  doc.rtInterval = 2;
  doc.rtStartTime = 1700000000;
  doc.rtHasCh1 = doc.rtHasCh2 = 1;
  doc.rtUnitCh1 = "V";
  doc.rtUnitCh2 = "A";
  doc.rtRmsMaxText = {"230.0 @a", "5.0 @b"};
  doc.rtRmsMinText = {"229.0 @c", "4.0 @d"};
  doc.rtFreqMaxText = {"50.1 @e", "OL @f"};
  doc.rtFreqMinText = {"49.9 @g", "LO @h"};
  doc.rtSMaxText = "1150.0 @i";
  doc.rtSMinText = "916.0 @j";
  return doc;
}

struct Fixture {
  FrameState frame;
  DisplaySetup view;
  InfoTexts info;
  PanelFacts panels;
  ModeEffects Enter(DisplayMode mode, const CDTDoc& doc) {
    ModeEffects fx = EnterDisplayMode(mode, frame, view, info, doc, panels);
    // The window opens and closes the panels as asked.
    if (fx.trFileList != PanelRequest::Keep)
      panels.trFileListOpen = fx.trFileList == PanelRequest::Open;
    if (fx.powerPanel != PanelRequest::Keep)
      panels.powerPanelOpen = fx.powerPanel == PanelRequest::Open;
    return fx;
  }
};

TEST(DisplayModes, StoreRmsShowsTheWholeSeriesWithItsAxesAndTexts) {
  Fixture f;
  f.frame.yAxisLow[0] = {-10, -20};
  f.frame.yAxisHigh[0] = {10, 20};
  const CDTDoc doc = StoreDoc();
  const ModeEffects fx = f.Enter(DisplayMode::StoreRms, doc);
  EXPECT_TRUE(f.frame.IsActive(DisplayMode::StoreRms));
  EXPECT_TRUE(fx.layoutChanged);
  EXPECT_TRUE(fx.zoomReset);
  EXPECT_EQ(f.view.displayMode, 1);
  EXPECT_EQ(f.view.panelHeight, 120);
  EXPECT_EQ(f.view.displayKind, 1);
  EXPECT_EQ(f.view.firstPoint, 1);
  EXPECT_EQ(f.view.lastPoint, 4);
  EXPECT_EQ(f.view.ch1From, -10);
  EXPECT_EQ(f.view.ch1To, 10);
  EXPECT_EQ(f.view.ch2From, -20);
  EXPECT_EQ(f.view.ch2To, 20);
  EXPECT_TRUE(f.view.plotCh1);
  EXPECT_FALSE(f.view.plotCh2);
  EXPECT_EQ(f.view.ch1UnitText, "V");
  EXPECT_EQ(fx.trFileList, PanelRequest::Close);
  EXPECT_EQ(fx.powerPanel, PanelRequest::Close);
  EXPECT_EQ(f.info.modeText, "STORE RMS");
  EXPECT_EQ(f.info.rateText, "60 s");
  EXPECT_EQ(f.info.startText, "14/11/23 22:13:20");
  EXPECT_EQ(f.info.countText, "4");
  EXPECT_EQ(f.info.max1Text, "4.0 V @max");
  EXPECT_EQ(f.info.min1Text, "1.0V @min");
  EXPECT_EQ(f.info.max2Text, "");  // CH2 is not shown

  // A library site's timeline is named by its site, in STORE RMS and after it.
  f.frame.siteOnShow = "North feeder";
  f.Enter(DisplayMode::StoreRms, doc);
  EXPECT_EQ(f.info.modeText, "SITE North feeder");
}

TEST(DisplayModes, ChoosingTheActiveModeAgainOnlyRefreshesTheTexts) {
  Fixture f;
  CDTDoc doc = StoreDoc();
  f.Enter(DisplayMode::StoreRms, doc);
  f.view.firstPoint = 2;  // a zoom or a scroll moved the range
  f.view.lastPoint = 3;
  doc.rmsMaxTextCh1 = "new";
  const ModeEffects fx = f.Enter(DisplayMode::StoreRms, doc);
  EXPECT_FALSE(fx.layoutChanged);
  EXPECT_FALSE(fx.zoomReset);
  EXPECT_EQ(fx.trFileList, PanelRequest::Keep);
  EXPECT_EQ(f.view.firstPoint, 2);
  EXPECT_EQ(f.view.lastPoint, 3);
  EXPECT_EQ(f.info.max1Text, "new");
}

TEST(DisplayModes, InfoPanelSwitchedOffGivesHeightZeroInTheFullDisplays) {
  Fixture f;
  f.frame.infoPanelShown = 0;
  f.Enter(DisplayMode::StoreRms, StoreDoc());
  EXPECT_EQ(f.view.panelHeight, 0);
  f.Enter(DisplayMode::RealTimeRms, RealTimeDoc(3));
  EXPECT_EQ(f.view.panelHeight, 0);
  // The thin strip of STORE TR and EPA does not depend on the switch.
  f.Enter(DisplayMode::StoreTr, StoreDoc());
  EXPECT_EQ(f.view.panelHeight, 25);
}

TEST(DisplayModes, StoreTrShowsRecordZeroAndItsList) {
  Fixture f;
  const CDTDoc doc = StoreDoc();
  const ModeEffects fx = f.Enter(DisplayMode::StoreTr, doc);
  EXPECT_EQ(f.view.panelHeight, 25);
  EXPECT_EQ(f.view.displayKind, 2);
  EXPECT_EQ(f.view.firstPoint, 1);
  EXPECT_EQ(f.view.lastPoint, 251);
  EXPECT_FALSE(f.view.plotCh1);  // record 0 is a CH2 current record
  EXPECT_TRUE(f.view.plotCh2);
  EXPECT_EQ(f.view.ch2UnitText, "A");
  EXPECT_EQ(fx.trFileList, PanelRequest::Open);
  EXPECT_EQ(fx.instrumentWidth, 210);
  EXPECT_EQ(f.frame.instrumentPaneWidth, 210);
  EXPECT_EQ(f.info.modeText, "STORE TR");
  EXPECT_EQ(f.info.rateText, "0.0874 ms");
  EXPECT_EQ(f.info.countText, "251");
  EXPECT_EQ(f.info.startText, "14/11/23 22:15:00");
  EXPECT_EQ(f.info.trMaxText, "120 A");
  EXPECT_EQ(f.info.trMinText, "-80 A");
  EXPECT_EQ(f.info.riseText, "500A");
  EXPECT_EQ(f.info.dropText, "100A");
}

TEST(DisplayModes, StoreTrKeepsTheListsRecordWhileTheListIsOpen) {
  Fixture f;
  const CDTDoc doc = StoreDoc();
  f.Enter(DisplayMode::StoreTr, doc);
  f.view.trRecord = 1;  // picked in the TR File List
  f.Enter(DisplayMode::StoreTr, doc);
  EXPECT_EQ(f.view.trRecord, 1);
  EXPECT_EQ(f.info.startText, "14/11/23 22:16:40");
  // With the list closed the record steps run again, also in the same mode.
  f.panels.trFileListOpen = false;
  const ModeEffects fx = f.Enter(DisplayMode::StoreTr, doc);
  EXPECT_EQ(f.view.trRecord, 0);
  EXPECT_EQ(fx.trFileList, PanelRequest::Open);
  EXPECT_FALSE(fx.zoomReset);
}

TEST(DisplayModes, InstrumentColumnWidthsFollowTheDisplays) {
  Fixture f;
  f.Enter(DisplayMode::StoreTr, StoreDoc());
  EXPECT_EQ(f.frame.instrumentPaneWidth, 210);
  f.Enter(DisplayMode::RealTimeEpa, RealTimeDoc(1));
  EXPECT_EQ(f.frame.instrumentPaneWidth, 385);
  ModeEffects fx = f.Enter(DisplayMode::RealTimeRms, RealTimeDoc(1));
  EXPECT_EQ(fx.instrumentWidth, 150);
  f.Enter(DisplayMode::RealTimeEpa, RealTimeDoc(1));
  fx = f.Enter(DisplayMode::StoreRms, StoreDoc());
  EXPECT_EQ(fx.instrumentWidth, 150);
  // A closed column stays closed.
  f.frame.ToggleInstrumentColumn();
  fx = f.Enter(DisplayMode::StoreTr, StoreDoc());
  EXPECT_EQ(fx.instrumentWidth, -1);
  EXPECT_EQ(f.frame.instrumentPaneWidth, 0);
}

TEST(DisplayModes, TogglingTheInstrumentColumnTwiceRestoresItsWidth) {
  FrameState frame;
  frame.instrumentPaneWidth = 385;
  EXPECT_EQ(frame.ToggleInstrumentColumn(), 0);
  EXPECT_EQ(frame.instrumentPaneShown, 0);
  EXPECT_EQ(frame.ToggleInstrumentColumn(), 150);
  EXPECT_EQ(frame.instrumentPaneShown, 1);
  EXPECT_EQ(frame.instrumentPaneWidth, 150);
}

TEST(DisplayModes, InfoPanelToggleSetsTheHeight) {
  FrameState frame;
  DisplaySetup view;
  ApplyInfoPanelToggle(frame, view);
  EXPECT_EQ(view.panelHeight, 0);
  ApplyInfoPanelToggle(frame, view);
  EXPECT_EQ(view.panelHeight, 120);
}

TEST(DisplayModes, EpaShowsTheWaveAndAsksForThePowerPanel) {
  Fixture f;
  const CDTDoc doc = RealTimeDoc(1);
  ModeEffects fx = f.Enter(DisplayMode::RealTimeEpa, doc);
  EXPECT_EQ(f.view.panelHeight, 25);
  EXPECT_EQ(f.view.displayKind, 3);
  EXPECT_EQ(f.view.lastPoint, 590);
  EXPECT_EQ(fx.powerPanel, PanelRequest::Open);
  EXPECT_EQ(fx.trFileList, PanelRequest::Close);
  EXPECT_TRUE(fx.computeWaveStatistics);
  EXPECT_TRUE(fx.updatePowerText);
  EXPECT_EQ(f.info.modeText, "REAL TIME EPA");
  EXPECT_EQ(f.info.startText, "14/11/23 22:13:20");  // point 0
  // Later points: the panel is open already, no statistics over the wave.
  fx = f.Enter(DisplayMode::RealTimeEpa, RealTimeDoc(3));
  EXPECT_EQ(fx.powerPanel, PanelRequest::Keep);
  EXPECT_FALSE(fx.computeWaveStatistics);
  EXPECT_EQ(f.info.startText, "14/11/23 22:13:24");  // point 2, 2 s apart
  // A wave before the first point names the start of the run.
  Fixture g;
  g.Enter(DisplayMode::RealTimeEpa, RealTimeDoc(0));
  EXPECT_EQ(g.info.startText, "14/11/23 22:13:20");
}

TEST(DisplayModes, EpaWithTwoVoltagesHasNoPowerText) {
  Fixture f;
  CDTDoc doc = RealTimeDoc(1);
  doc.rtUnitCh2 = "V";
  EXPECT_FALSE(f.Enter(DisplayMode::RealTimeEpa, doc).updatePowerText);
}

TEST(DisplayModes, RealTimeSeriesDisplaysUseTheirKindsUnitsAndTexts) {
  Fixture f;
  const CDTDoc doc = RealTimeDoc(7);
  f.Enter(DisplayMode::RealTimeRms, doc);
  EXPECT_EQ(f.view.displayKind, 4);
  EXPECT_EQ(f.view.ch1UnitText, "V");
  EXPECT_EQ(f.view.ch2UnitText, "A");
  EXPECT_EQ(f.view.lastPoint, 7);
  EXPECT_EQ(f.info.rateText, "2");
  EXPECT_EQ(f.info.countText, "7");
  EXPECT_EQ(f.info.max2Text, "5.0 @b");
  f.Enter(DisplayMode::RealTimeFreq, doc);
  EXPECT_EQ(f.view.displayKind, 6);
  EXPECT_EQ(f.view.ch1UnitText, "Hz");
  EXPECT_EQ(f.view.ch2UnitText, "Hz");
  EXPECT_EQ(f.info.modeText, "REAL TIME F(Hz)");
  EXPECT_EQ(f.info.max2Text, "OL @f");
  f.Enter(DisplayMode::RealTimeS, doc);
  EXPECT_EQ(f.view.displayKind, 7);
  EXPECT_EQ(f.view.ch1UnitText, "VA");
  EXPECT_EQ(f.info.max1Text, "1150.0 @i");
  EXPECT_EQ(f.info.min1Text, "916.0 @j");
  EXPECT_EQ(f.view.ch1From, 0);
  EXPECT_EQ(f.view.ch1To, 162500);
}

TEST(DisplayModes, DuringARunTheRangeFollowsEveryNewPoint) {
  Fixture f;
  f.frame.realTimeStopped = 0;
  f.Enter(DisplayMode::RealTimeRms, RealTimeDoc(5));
  f.view.firstPoint = 3;  // scrolled
  const ModeEffects fx = f.Enter(DisplayMode::RealTimeRms, RealTimeDoc(9));
  EXPECT_FALSE(fx.layoutChanged);
  EXPECT_EQ(f.view.lastPoint, 9);
  EXPECT_EQ(fx.realTimeSpan, 7);  // points 3..9 must fit
  EXPECT_EQ(f.view.firstPoint, 1);
  // After the run the range is left alone.
  f.frame.realTimeStopped = 1;
  f.view.firstPoint = 3;
  EXPECT_EQ(f.Enter(DisplayMode::RealTimeRms, RealTimeDoc(9)).realTimeSpan, 0);
  EXPECT_EQ(f.view.firstPoint, 3);
}

TEST(DisplayModes, FirstRealTimeBlockSelectsEpaUnlessAnotherRealTimeDisplayIsOn) {
  FrameState frame;
  DisplaySetup view;
  view.dataSaved = true;
  frame.SetOnlyMode(DisplayMode::StoreRms);
  SelectFirstRealTimeDisplay(frame, view);
  EXPECT_EQ(frame.ActiveMode(), DisplayMode::RealTimeEpa);
  EXPECT_EQ(view.displayKind, 3);
  EXPECT_EQ(view.displayMode, 1);
  EXPECT_FALSE(view.dataSaved);
  frame.SetOnlyMode(DisplayMode::RealTimeFreq);
  SelectFirstRealTimeDisplay(frame, view);
  EXPECT_EQ(frame.ActiveMode(), DisplayMode::RealTimeFreq);
}

TEST(DisplayModes, TrRecordTextsCoverTheWholeRecordAndRejectBadIndices) {
  const CDTDoc doc = StoreDoc();
  InfoTexts info;
  FillTrRecordTexts(info, doc, 1, "V");
  EXPECT_EQ(info.trMaxText, "999 V");
  EXPECT_EQ(info.trMinText, "0 V");
  FillTrRecordTexts(info, doc, 2, "V");
  EXPECT_EQ(info.trMaxText, "");
  FillTrRecordTexts(info, doc, -1, "V");
  EXPECT_EQ(info.trMinText, "");
}

TEST(DisplayModes, ApparentPowerTextNeedsBothRmsTextsAboveSeven) {
  EXPECT_EQ(ApparentPowerText("230.0", "5.0"), "LO");
  EXPECT_EQ(ApparentPowerText("230.0", "7.5"), "1725");
  EXPECT_EQ(ApparentPowerText("LO", "7.5"), "LO");
  EXPECT_EQ(ApparentPowerText("", ""), "LO");
}

}  // namespace
}  // namespace acv
