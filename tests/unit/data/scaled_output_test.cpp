// What the channel scaling changes in the written and printed values, and
// what it never changes: the data file and the spreadsheet tables keep the
// logger's values byte for byte, the CSVs and the statistics texts are in
// primary units.
#include <gtest/gtest.h>

#include <sstream>

#include "data/DataFile.h"
#include "data/Export.h"
#include "data/RealTimeExport.h"
#include "data_test_util.h"

namespace acv {
namespace {

using test::Local;

// CH1 behind a 100:1 transformer at 0.001 V per count; CH2 behind a 20:1
// clamp at 0.5 A per count.
const ChannelScaling kScaling{ChannelScale{100.0, 0.001}, ChannelScale{20.0, 0.5}};

CDTDoc Measured() {
  CDTDoc doc = test::StoreDoc(2, true, true);
  test::AddTr(doc, kChannel2, kUnitAmpere, doc.rmsStartTime + 1, 7.0f);
  doc.formatTag = kTagRealTime;
  doc.rtStartTime = Local(2026, 3, 2, 11, 0, 0);
  doc.rtCount = 2;
  doc.rtHasCh1 = doc.rtHasCh2 = 1;
  doc.rtUnitCh1 = "V";
  doc.rtUnitCh2 = "A";
  doc.rtRms = {{23000.0f, 4.0f}, {0.0f, 6.0f}};
  doc.rtFreq = {{50.0f, 400.0f}, {49.9f, 50.1f}};
  RecomputeRealTimeStatistics(doc);
  return doc;
}

template <typename Writer>
std::string Text(const CDTDoc& doc, Writer writer) {
  std::ostringstream out;
  writer(out, doc);
  return out.str();
}

TEST(ScaledOutput, DataFileAndSpreadsheetsKeepTheLoggersValues) {
  CDTDoc raw = Measured();
  CDTDoc scaled = raw;
  scaled.scaling = kScaling;
  EXPECT_EQ(EncodeDataFile(scaled), EncodeDataFile(raw));
  EXPECT_EQ(Text(scaled, WriteExport), Text(raw, WriteExport));
  EXPECT_EQ(Text(scaled, WriteRealTimeExport), Text(raw, WriteRealTimeExport));

  // Opened in a window with a scaling set, then saved: the same bytes.
  test::ScratchDir dir;
  const std::string first = dir.File("a.stdata"), second = dir.File("b.stdata");
  ASSERT_EQ(SaveDataFile(raw, first), "");
  CDTDoc opened;
  opened.scaling = kScaling;
  ASSERT_TRUE(LoadDataFile(first, opened).ok);
  EXPECT_EQ(opened.scaling, kScaling) << "a file brings no scaling of its own";
  opened.formatTag = opened.readTag;
  ASSERT_EQ(SaveDataFile(opened, second), "");
  EXPECT_EQ(test::ReadBytes(second), test::ReadBytes(first));
}

TEST(ScaledOutput, CsvValuesAreInPrimaryUnits) {
  CDTDoc doc = Measured();
  doc.scaling = kScaling;
  const std::string store = Text(doc, WriteCsvExport);
  // RMS times the ratio; the TR samples of CH2 times 20 x 0.5.
  EXPECT_NE(store.find("\n1,TR,,,70,A,2026-03-02T10:00:01\r\n"), std::string::npos) << store;
  EXPECT_NE(store.find("\n252,RMS,23000,V,100,A,2026-03-02T10:00:00\r\n"), std::string::npos)
      << store;

  const std::string run =
      Text(doc, [](std::ostream& o, const CDTDoc& d) { WriteRealTimeCsv(o, d, d.scaling); });
  EXPECT_EQ(run,
            "point,time,ch1_rms,ch1_hz,ch2_rms,ch2_hz,s_va\n"
            "1,2026-03-02T11:00:00,2300,50,40,400,92000\n"
            "2,2026-03-02T11:00:02,0,49.9,60,50.1,0\n");
}

TEST(ScaledOutput, StatisticsTextsAreMadeAgainInPrimaryUnits) {
  CDTDoc doc = Measured();
  // The identity shows the texts kept with the data.
  const StoreStatisticsTexts kept = ShownStoreStatistics(doc, {});
  EXPECT_EQ(kept.max[0], doc.rmsMaxTextCh1);
  EXPECT_EQ(kept.min[1], doc.rmsMinTextCh2);
  EXPECT_EQ(ShownRealTimeStatistics(doc, {}).sMax, doc.rtSMaxText);

  // Scaled values far beyond +-1000 still find their minimum.
  const StoreStatisticsTexts store = ShownStoreStatistics(doc, kScaling);
  EXPECT_EQ(store.max[0], "23010.0 V @02/03/26 10:00:10");
  EXPECT_EQ(store.min[0], "23000.0V @02/03/26 10:00:00");
  EXPECT_EQ(store.max[1], "110.0 A @02/03/26 10:00:10");

  const RealTimeStatisticsTexts run = ShownRealTimeStatistics(doc, kScaling);
  EXPECT_EQ(run.rmsMax[0], "2300.0 @02/03/26 11:00:00");
  EXPECT_EQ(run.rmsMin[0], "LO @02/03/26 11:00:02");
  EXPECT_EQ(run.rmsMax[1], "60.0 @02/03/26 11:00:02");
  EXPECT_EQ(run.freqMin[0], doc.rtFreqMinText[0]) << "the frequency is never scaled";
  EXPECT_EQ(run.sMax, "92000.0 @02/03/26 11:00:00");
}

}  // namespace
}  // namespace acv
