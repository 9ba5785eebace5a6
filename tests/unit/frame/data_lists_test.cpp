// The Data List and TR File List as text: rows per display, cell texts with
// the "LO" rule, the TR record offset, the copied text and the row <-> graph
// point mapping.
#include <gtest/gtest.h>

#include "frame/DataLists.h"
#include "support/TestDataSets.h"

namespace acv {
namespace {

constexpr TimeStamp kStart = 1700000000;  // 14/11/23 22:13:20 UTC

CDTDoc ListDoc() {
  CDTDoc doc;
  doc.rmsCount = 3;
  doc.hasCh1 = doc.hasCh2 = 1;
  doc.rmsCh1 = {230.54f, 0.04f, 229.0f};
  doc.rmsCh2 = {5.2f, 0.0f, 4.9f};
  doc.rmsUnitCh1 = "V";
  doc.rmsUnitCh2 = "A";
  doc.rmsInterval = 10.0f;
  doc.rmsStartTime = kStart;
  test::AddTrRecords(doc, {{kStart + 60, kUnitVolt, kChannel1},
                           {kStart + 120, kUnitVolt, kChannel1},
                           {kStart + 180, kUnitAmpere, kChannel2, 0.0f, {{0, -120.0f}}}});
  doc.epaCount = kEpaPoints;
  doc.epaWave[3] = {0.0f, -2.0f};
  doc.rtCount = 2;
  doc.rtInterval = 2;
  doc.rtStartTime = kStart;
  doc.rtHasCh1 = doc.rtHasCh2 = 1;
  doc.rtUnitCh1 = "V";
  doc.rtUnitCh2 = "A";
  doc.rtRms = {{230.4f, 5.2f}, {0.0f, 6.5f}, {1.0f, 1.0f}};  // room for 3
  doc.rtFreq = {{50.0f, 400.0f}, {49.9f, 50.1f}, {0.0f, 0.0f}};
  return doc;
}

DisplaySetup Shown(bool ch1, bool ch2, std::string u1, std::string u2, int record = 0) {
  DisplaySetup v;
  v.firstPoint = 1;
  v.plotCh1 = ch1;
  v.plotCh2 = ch2;
  v.ch1UnitText = std::move(u1);
  v.ch2UnitText = std::move(u2);
  v.trRecord = record;
  return v;
}

struct CellCase {
  const char* what;
  DisplayMode mode;
  DisplaySetup view;
  std::int64_t row;
  std::array<const char*, 4> cells;
};

TEST(DataList, CellTexts) {
  const CDTDoc doc = ListDoc();
  const std::vector<CellCase> cases = {
      {"store rms",
       DisplayMode::StoreRms,
       Shown(true, true, "V", "A"),
       0,
       {"1", "14/11/23 22:13:20", "230.5 V", "5.2 A"}},
      {"store values that read as 0.0 are LO",
       DisplayMode::StoreRms,
       Shown(true, true, "V", "A"),
       1,
       {"2", "14/11/23 22:13:30", "LO", "LO"}},
      {"a channel not shown stays empty",
       DisplayMode::StoreRms,
       Shown(false, true, "V", "A"),
       2,
       {"3", "14/11/23 22:13:40", "", "4.9 A"}},
      {"real-time rms of 0.0 is LO",
       DisplayMode::RealTimeRms,
       Shown(true, true, "V", "A"),
       1,
       {"2", "14/11/23 22:13:22", "LO", "6.5 A"}},
      {"frequencies keep their value",
       DisplayMode::RealTimeFreq,
       Shown(true, true, "Hz", "Hz"),
       0,
       {"1", "14/11/23 22:13:20", "50.0 Hz", "400.0 Hz"}},
      {"apparent power in the CH1 place",
       DisplayMode::RealTimeS,
       Shown(true, true, "VA", "VA"),
       0,
       {"1", "14/11/23 22:13:20", "1198.1 VA", ""}},
      {"an EPA sample of 0.0 is a number; the wave's time is the newest point's",
       DisplayMode::RealTimeEpa,
       Shown(true, true, "V", "A"),
       3,
       {"4", "14/11/23 22:13:22", "0.0 V", "-2.0 A"}},
      {"TR record 2: its own samples and trigger time",
       DisplayMode::StoreTr,
       Shown(false, true, "A", "A", 2),
       0,
       {"1", "14/11/23 22:16:20", "", "-120.0 A"}},
      {"TR: the trigger time on the last row too; 0.0 is a number",
       DisplayMode::StoreTr,
       Shown(false, true, "A", "A", 2),
       250,
       {"251", "14/11/23 22:16:20", "", "0.0 A"}},
      {"no row beyond the points taken",
       DisplayMode::RealTimeRms,
       Shown(true, true, "V", "A"),
       2,
       {"", "", "", ""}},
  };
  for (const CellCase& c : cases) {
    for (int column = 0; column < kDataListColumns; ++column) {
      EXPECT_EQ(DataListCell(doc, c.mode, c.view, c.row, column), c.cells[column])
          << c.what << ", column " << column;
    }
  }
}

// Each display's values in primary units: STORE RMS times the ratio, the
// real-time RMS, waves and TR samples times ratio x sample scale, S(VA) the
// product of the two, the frequency as measured.
TEST(DataList, CellsInPrimaryUnits) {
  CDTDoc doc = ListDoc();
  doc.scaling = {ChannelScale{20.0, 0.5}, ChannelScale{10.0, 0.02}};
  const std::vector<CellCase> cases = {
      {"store rms",
       DisplayMode::StoreRms,
       Shown(true, true, "V", "A"),
       0,
       {"1", "14/11/23 22:13:20", "4610.8 V", "52.0 A"}},
      {"a zero level stays LO; 0.04 V read through 20:1 is 0.8 V",
       DisplayMode::StoreRms,
       Shown(true, true, "V", "A"),
       1,
       {"2", "14/11/23 22:13:30", "0.8 V", "LO"}},
      {"real-time rms",
       DisplayMode::RealTimeRms,
       Shown(true, true, "V", "A"),
       0,
       {"1", "14/11/23 22:13:20", "2304.0 V", "1.0 A"}},
      {"frequencies unscaled",
       DisplayMode::RealTimeFreq,
       Shown(true, true, "Hz", "Hz"),
       0,
       {"1", "14/11/23 22:13:20", "50.0 Hz", "400.0 Hz"}},
      {"apparent power",
       DisplayMode::RealTimeS,
       Shown(true, true, "VA", "VA"),
       0,
       {"1", "14/11/23 22:13:20", "2396.2 VA", ""}},
      {"EPA sample",
       DisplayMode::RealTimeEpa,
       Shown(true, true, "V", "A"),
       3,
       {"4", "14/11/23 22:13:22", "0.0 V", "-0.4 A"}},
      {"TR record of CH2",
       DisplayMode::StoreTr,
       Shown(false, true, "A", "A", 2),
       0,
       {"1", "14/11/23 22:16:20", "", "-24.0 A"}},
  };
  for (const CellCase& c : cases) {
    for (int column = 0; column < kDataListColumns; ++column) {
      EXPECT_EQ(DataListCell(doc, c.mode, c.view, c.row, column), c.cells[column])
          << c.what << ", column " << column;
    }
  }
}

TEST(DataList, RowsColumnsAndCaptionFollowTheDisplay) {
  const CDTDoc doc = ListDoc();
  EXPECT_EQ(DataListRowCount(doc, DisplayMode::StoreRms), 3);
  EXPECT_EQ(DataListRowCount(doc, DisplayMode::StoreTr), 251);
  EXPECT_EQ(DataListRowCount(doc, DisplayMode::RealTimeEpa), 590);
  EXPECT_EQ(DataListRowCount(doc, DisplayMode::RealTimeS), 2);
  EXPECT_EQ(DataListRowCount(doc, DisplayMode::None), 0);
  const auto s = DataListColumns(DisplayMode::RealTimeS);
  EXPECT_STREQ(s[2].title, "S(VA)");
  EXPECT_EQ(s[3].width, 0);
  const auto rms = DataListColumns(DisplayMode::StoreRms);
  EXPECT_STREQ(rms[3].title, "CH2");
  EXPECT_EQ(rms[1].width, 180);
  EXPECT_EQ(DataListCaption(DisplayMode::RealTimeFreq), "REAL TIME F(Hz) Data List");

  // The printed list pages read the window's own titles, rows and cells.
  const DataListText printed(doc, DisplayMode::RealTimeS, Shown(true, true, "VA", "VA"));
  EXPECT_EQ(printed.Headers(), (std::vector<std::string>{"No.", "Time", "S(VA)", ""}));
  EXPECT_EQ(printed.RowCount(), 2);
  EXPECT_EQ(printed.Cell(0, 2), "1198.1 VA");
}

TEST(DataList, CopiedTextHasTitlesAndTheRowsInOrder) {
  const CDTDoc doc = ListDoc();
  EXPECT_EQ(DataListCopyText(doc, DisplayMode::StoreRms, Shown(true, true, "V", "A"), {2, 0, 2, 9}),
            "No.\tTime\tCH1\tCH2\n"
            "1\t14/11/23 22:13:20\t230.5 V\t5.2 A\n"
            "3\t14/11/23 22:13:40\t229.0 V\t4.9 A\n");
  // Columns that are empty in this display are left out.
  EXPECT_EQ(DataListCopyText(doc, DisplayMode::RealTimeS, Shown(true, true, "VA", "VA"), {0}),
            "No.\tTime\tS(VA)\n1\t14/11/23 22:13:20\t1198.1 VA\n");
  EXPECT_EQ(DataListCopyText(doc, DisplayMode::StoreTr, Shown(false, true, "A", "A", 2), {}),
            "No.\tTime\tCH2\n");
}

TEST(DataList, IsBuiltAgainWhenTheShownRecordOrChannelsChangeNotForNewPoints) {
  const DisplaySetup record0 = Shown(true, false, "V", "", 0);
  DisplaySetup grown = Shown(true, true, "V", "A");
  grown.lastPoint = 40;  // a run's new points only add rows
  struct Case {
    DisplayMode mode;
    DisplaySetup listed, now;
    bool outdated;
  } const cases[] = {
      {DisplayMode::StoreTr, Shown(false, true, "A", "A", 2), record0, true},
      {DisplayMode::StoreTr, record0, record0, false},
      {DisplayMode::RealTimeRms, Shown(true, true, "V", "A"), grown, false},
      {DisplayMode::RealTimeRms, Shown(true, false, "V", ""), grown, true},
      {DisplayMode::StoreRms, Shown(true, true, "V", "V"), Shown(true, true, "V", "A"), true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DataListOutdated(c.mode, c.listed, c.now), c.outdated) << static_cast<int>(c.mode);
  }
}

TEST(DataList, RowsAndGraphPointsMapBothWays) {
  const CDTDoc doc = ListDoc();
  const DisplaySetup record2 = Shown(false, true, "A", "A", 2);
  EXPECT_EQ(GraphPointOfRow(doc, DisplayMode::StoreTr, record2, 5), 2 * 251 + 5);
  EXPECT_EQ(DataListRowOfPoint(doc, DisplayMode::StoreTr, record2, 2 * 251 + 5), 5);
  EXPECT_EQ(DataListRowOfPoint(doc, DisplayMode::StoreTr, record2, 251), -1);  // record 1
  EXPECT_EQ(GraphPointOfRow(doc, DisplayMode::StoreRms, Shown(true, true, "V", "A"), 2), 2);
  EXPECT_EQ(GraphPointOfRow(doc, DisplayMode::StoreRms, Shown(true, true, "V", "A"), 3), -1);
}

TEST(TrFileList, RecordsByNumberAndTriggerTime) {
  CDTDoc doc = ListDoc();
  EXPECT_EQ(TrListRowCount(doc), 3);
  EXPECT_EQ(TrListCell(doc, 2, 0), "3");
  EXPECT_EQ(TrListCell(doc, 2, 1), "14/11/23 22:16:20");
  EXPECT_EQ(TrListCell(doc, 2, 2), "");
  EXPECT_EQ(TrListCell(doc, 3, 0), "");
  EXPECT_EQ(TrListCopyText(doc, {2, 0, 7}),
            "File No.\tTime\n1\t14/11/23 22:14:20\n3\t14/11/23 22:16:20\n");
  doc.trCount = 5;  // a count the times do not back
  EXPECT_EQ(TrListRowCount(doc), 3);
  EXPECT_STREQ(TrListColumns()[0].title, "File No.");
  EXPECT_EQ(TrListColumns()[0].width, 62);
}

TEST(TrFileList, ChoosingARecordShowsItsChannelRangeAndTexts) {
  const CDTDoc doc = ListDoc();
  DisplaySetup view = Shown(true, false, "V", "", 0);
  view.lastPoint = 251;
  InfoTexts info;
  ASSERT_TRUE(ShowTrRecord(view, info, doc, 2));
  EXPECT_EQ(view.trRecord, 2);
  EXPECT_FALSE(view.plotCh1);
  EXPECT_TRUE(view.plotCh2);
  EXPECT_EQ(view.ch2UnitText, "A");
  EXPECT_EQ(view.firstPoint, 1);
  EXPECT_EQ(view.lastPoint, 251);
  EXPECT_EQ(info.startText, "14/11/23 22:16:20");
  EXPECT_EQ(info.trMinText, "-120 A");
  EXPECT_EQ(info.trMaxText, "0 A");

  const DisplaySetup before = view;
  EXPECT_FALSE(ShowTrRecord(view, info, doc, 3));
  EXPECT_FALSE(ShowTrRecord(view, info, doc, -1));
  EXPECT_EQ(view.trRecord, before.trRecord);
  EXPECT_EQ(info.startText, "14/11/23 22:16:20");
}

}  // namespace
}  // namespace acv
