// The data set's own rules: sample times, statistics texts, extremes and the
// family hand-over.
#include <gtest/gtest.h>

#include "data/CDTDoc.h"
#include "data_test_util.h"

namespace acv {
namespace {

using test::Local;
using test::StoreDoc;

TEST(DocRules, SampleTimesOfEachFamily) {
  CDTDoc doc = StoreDoc(4, true, false, 2.5f);
  const TimeStamp start = doc.rmsStartTime;
  // trunc(i x 2.5): 0, 2, 5, 7
  EXPECT_EQ(doc.RmsSampleTime(0), start);
  EXPECT_EQ(doc.RmsSampleTime(1), start + 2);
  EXPECT_EQ(doc.RmsSampleTime(2), start + 5);
  EXPECT_EQ(doc.RmsSampleTime(3), start + 7);
  // A product a float could not hold exactly: 262,143 samples of 1 h 1 min 1 s.
  doc.rmsInterval = 3661.0f;
  EXPECT_EQ(doc.RmsSampleTime(262143), start + 262143LL * 3661);
  // Damaged intervals give defined times.
  doc.rmsInterval = std::numeric_limits<float>::quiet_NaN();
  EXPECT_EQ(doc.RmsSampleTime(5), start);
  doc.rmsInterval = std::numeric_limits<float>::infinity();
  EXPECT_EQ(doc.RmsSampleTime(5), start);

  test::AddTr(doc, kChannel1, kUnitVolt, start + 100);
  test::AddTr(doc, kChannel2, kUnitAmpere, start + 200);
  EXPECT_EQ(doc.TrSampleTime(0), start + 100);
  EXPECT_EQ(doc.TrSampleTime(250), start + 100);
  EXPECT_EQ(doc.TrSampleTime(251), start + 200);
  EXPECT_EQ(doc.TrSampleTime(502), 0) << "beyond the records";
  EXPECT_EQ(doc.TrSampleTime(-1), 0);

  doc.rtStartTime = start;
  doc.rtInterval = 3600;
  EXPECT_EQ(doc.RealTimeSampleTime(99999), start + 3600LL * 99999);
}

TEST(DocRules, StoreStatisticsTextsAndTies) {
  CDTDoc doc = StoreDoc(4, true, true, 60.0f);
  doc.rmsCh1 = {231.0f, 229.5f, 231.0f, 229.5f};
  doc.rmsCh2 = {3.0f, 3.0f, 3.0f, 3.0f};
  doc.ComputeStoreStatistics();
  // Ties move the stamp to the later sample; the maximum has a blank before
  // the unit, the minimum none.
  EXPECT_EQ(doc.rmsMaxTextCh1, "231.0 V @02/03/26 10:02:00");
  EXPECT_EQ(doc.rmsMinTextCh1, "229.5V @02/03/26 10:03:00");
  EXPECT_EQ(doc.rmsMaxTextCh2, "3.0 A @02/03/26 10:03:00");
  EXPECT_EQ(doc.rmsMinTextCh2, "3.0A @02/03/26 10:03:00");

  // An absent channel has no statistics.
  doc.hasCh2 = 0;
  doc.ComputeStoreStatistics();
  EXPECT_EQ(doc.rmsMaxTextCh2, "");
  EXPECT_EQ(doc.rmsMinTextCh2, "");

  // Values beyond the start values of -1000 / 1000.
  doc.rmsCh1 = {-2000.0f, 5000.0f, 0.0f, 0.0f};
  doc.ComputeStoreStatistics();
  EXPECT_EQ(doc.rmsMaxTextCh1, "5000.0 V @02/03/26 10:01:00");
  EXPECT_EQ(doc.rmsMinTextCh1, "-2000.0V @02/03/26 10:00:00");

  // An array shorter than its count is not read beyond its end.
  doc.rmsCount = 100;
  doc.ComputeStoreStatistics();
  EXPECT_EQ(doc.rmsMaxTextCh1, "5000.0 V @02/03/26 10:01:00");
}

TEST(DocRules, ExtremesRangeWordsAndFirstPoint) {
  const TimeStamp t = Local(2026, 5, 1, 12, 0, 0);
  float maximum = 0, minimum = 0;
  std::string maxText, minText;

  // At n = 0 both extremes start at the value, whatever they held.
  maximum = 1e9f;
  minimum = -1e9f;
  UpdateExtremes(ExtremeKind::Frequency, maximum, minimum, 50.0f, maxText, minText, 0, t);
  EXPECT_FLOAT_EQ(maximum, 50.0f);
  EXPECT_FLOAT_EQ(minimum, 50.0f);
  EXPECT_EQ(maxText, "50.0 @01/05/26 12:00:00");
  EXPECT_EQ(minText, "50.0 @01/05/26 12:00:00");

  struct Case {
    ExtremeKind kind;
    float value;
    const char* text;
  };
  const Case cases[] = {
      {ExtremeKind::Frequency, 400.0f, "OL @01/05/26 12:00:00"},
      {ExtremeKind::Frequency, 40.0f, "LO @01/05/26 12:00:00"},
      {ExtremeKind::Frequency, 40.1f, "40.1 @01/05/26 12:00:00"},
      {ExtremeKind::Frequency, 399.9f, "399.9 @01/05/26 12:00:00"},
      {ExtremeKind::Level, 0.0f, "LO @01/05/26 12:00:00"},
      {ExtremeKind::Level, 0.04f, "0.0 @01/05/26 12:00:00"},
      {ExtremeKind::Level, 400.0f, "400.0 @01/05/26 12:00:00"},
  };
  for (const Case& c : cases) {
    UpdateExtremes(c.kind, maximum, minimum, c.value, maxText, minText, 0, t);
    EXPECT_EQ(maxText, c.text) << c.value;
    EXPECT_EQ(minText, c.text) << c.value;
  }

  // Later points: only the side that is reached changes, ties included.
  UpdateExtremes(ExtremeKind::Level, maximum, minimum, 10.0f, maxText, minText, 0, t);
  UpdateExtremes(ExtremeKind::Level, maximum, minimum, 12.0f, maxText, minText, 1, t + 2);
  EXPECT_EQ(maxText, "12.0 @01/05/26 12:00:02");
  EXPECT_EQ(minText, "10.0 @01/05/26 12:00:00");
  UpdateExtremes(ExtremeKind::Level, maximum, minimum, 10.0f, maxText, minText, 2, t + 4);
  EXPECT_EQ(maxText, "12.0 @01/05/26 12:00:02");
  EXPECT_EQ(minText, "10.0 @01/05/26 12:00:04");
}

TEST(DocRules, RecomputedRealTimeTextsMatchThePointByPointRun) {
  CDTDoc doc;
  doc.rtStartTime = Local(2026, 5, 1, 12, 0, 0);
  doc.rtInterval = 2;
  doc.rtHasCh1 = doc.rtHasCh2 = 1;
  doc.rtUnitCh1 = "V";
  doc.rtUnitCh2 = "A";
  doc.rtRms = {{230, 2}, {0, 3}, {231, 3}, {229, 1}};
  doc.rtFreq = {{50, 50}, {400, 50.1f}, {49.9f, 40}, {50, 50}};
  doc.rtRms.resize(10);  // capacity beyond the points taken
  doc.rtFreq.resize(10);
  doc.rtCount = 4;

  // The run's way: every point through UpdateExtremes.
  CDTDoc run = doc;
  float fMax[2]{}, fMin[2]{}, rMax[2]{}, rMin[2]{}, sMax = 0, sMin = 0;
  for (int n = 0; n < run.rtCount; ++n) {
    const TimeStamp t = run.RealTimeSampleTime(n);
    for (int c = 0; c < 2; ++c) {
      const float f = c == 0 ? run.rtFreq[n].ch1 : run.rtFreq[n].ch2;
      const float r = c == 0 ? run.rtRms[n].ch1 : run.rtRms[n].ch2;
      UpdateExtremes(ExtremeKind::Frequency, fMax[c], fMin[c], f, run.rtFreqMaxText[c],
                     run.rtFreqMinText[c], n, t);
      UpdateExtremes(ExtremeKind::Level, rMax[c], rMin[c], r, run.rtRmsMaxText[c],
                     run.rtRmsMinText[c], n, t);
    }
    UpdateExtremes(ExtremeKind::Level, sMax, sMin, run.rtRms[n].ch2 * run.rtRms[n].ch1,
                   run.rtSMaxText, run.rtSMinText, n, t);
  }

  RecomputeRealTimeStatistics(doc);
  EXPECT_EQ(doc.rtFreqMaxText, run.rtFreqMaxText);
  EXPECT_EQ(doc.rtFreqMinText, run.rtFreqMinText);
  EXPECT_EQ(doc.rtRmsMaxText, run.rtRmsMaxText);
  EXPECT_EQ(doc.rtRmsMinText, run.rtRmsMinText);
  EXPECT_EQ(doc.rtSMaxText, run.rtSMaxText);
  EXPECT_EQ(doc.rtSMinText, run.rtSMinText);
  EXPECT_EQ(doc.rtFreqMaxText[0], "OL @01/05/26 12:00:02");
  EXPECT_EQ(doc.rtFreqMinText[1], "LO @01/05/26 12:00:04");
  EXPECT_EQ(doc.rtRmsMinText[0], "LO @01/05/26 12:00:02");

  // Same units: no S(VA) texts; an absent channel: no texts.
  doc.rtUnitCh2 = "V";
  doc.rtHasCh2 = 0;
  RecomputeRealTimeStatistics(doc);
  EXPECT_EQ(doc.rtSMaxText, "");
  EXPECT_EQ(doc.rtRmsMaxText[1], "");
  EXPECT_EQ(doc.rtFreqMinText[1], "");
}

}  // namespace
}  // namespace acv
