// Span statistics: a hand-computed span, and the prepared index against a
// plain scan over random spans of series with ties and damaged values.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <tuple>

#include "analysis/SpanStatistics.h"
#include "support/TestDataSets.h"

namespace acv {
namespace {

using test::kStart;
using test::StoreOf;

TEST(SpanStatistics, HandComputedSpanOfAVoltAmperePair) {
  const StoreFamily store = StoreOf({230, 220, 240, 220}, {1, 2, 0, 2});
  const AnalysisSeries series = StoreRmsSeries(store, {});
  const SpanIndex index(series);
  for (const SpanStatistics& s : {index.Of(0, 3), ScanSpan(series, 0, 3)}) {
    EXPECT_EQ(s.first, 1);
    EXPECT_EQ(s.last, 4);
    EXPECT_EQ(s.start, kStart);
    EXPECT_EQ(s.end, kStart + 240) << "the time of the point after the last";
    const ChannelSpan& v = s.channels[0];
    EXPECT_EQ(v.points, 4);
    EXPECT_EQ(v.min, 220);
    EXPECT_EQ(v.minPoint, 2) << "the first point of a tied minimum";
    EXPECT_EQ(v.max, 240);
    EXPECT_EQ(v.maxPoint, 3);
    EXPECT_DOUBLE_EQ(v.mean, 227.5);
    EXPECT_NEAR(v.stddev, std::sqrt(68.75), 1e-9);
    EXPECT_EQ(s.channels[1].min, 0) << "a LO point counts as 0";
    EXPECT_EQ(s.channels[1].minPoint, 3);
    ASSERT_TRUE(s.hasPower);
    EXPECT_DOUBLE_EQ(s.meanVa, 1110.0 / 4);
    EXPECT_NEAR(s.energyVah, 1110.0 * 60 / 3600, 1e-12);
  }
  // One point; and a pair in the same unit has no power.
  const SpanStatistics one = index.Of(2, 2);
  EXPECT_EQ(one.channels[0].stddev, 0);
  EXPECT_EQ(one.channels[0].minPoint, 3);
  EXPECT_EQ(one.end, kStart + 180);
  const StoreFamily volts = StoreOf({230}, {231}, "V", "V");
  EXPECT_FALSE(SpanIndex(StoreRmsSeries(volts, {})).Of(0, 0).hasPower);
}

void ExpectSame(const SpanStatistics& a, const SpanStatistics& b) {
  for (int c = 0; c < 2; ++c) {
    const ChannelSpan &x = a.channels[c], &y = b.channels[c];
    EXPECT_EQ(x.points, y.points);
    EXPECT_EQ(x.min, y.min);
    EXPECT_EQ(x.minPoint, y.minPoint);
    EXPECT_EQ(x.max, y.max);
    EXPECT_EQ(x.maxPoint, y.maxPoint);
    EXPECT_NEAR(x.mean, y.mean, 1e-9 * std::max(1.0, std::fabs(y.mean)));
    EXPECT_NEAR(x.stddev, y.stddev, 1e-6);
  }
  EXPECT_NEAR(a.meanVa, b.meanVa, 1e-9 * std::max(1.0, std::fabs(b.meanVa)));
  EXPECT_NEAR(a.energyVah, b.energyVah, 1e-9 * std::max(1.0, std::fabs(b.energyVah)));
  EXPECT_EQ(a.start, b.start);
  EXPECT_EQ(a.end, b.end);
}

// Values on a 0.1 grid, so ties are common; now and then a damaged value.
TEST(SpanStatistics, IndexAnswersAsAPlainScanOverRandomSpans) {
  std::mt19937 random(23);
  for (const int count : {1, 2, 3, 1000, 4097}) {
    std::uniform_int_distribution<int> tenths(2000, 2100), amps(0, 50), damage(0, 200);
    std::vector<float> v(count), a(count);
    for (int k = 0; k < count; ++k) {
      v[k] = damage(random) == 0 ? std::numeric_limits<float>::quiet_NaN()
                                 : static_cast<float>(tenths(random) * 0.1);
      a[k] = damage(random) == 0 ? std::numeric_limits<float>::infinity()
                                 : static_cast<float>(amps(random) * 0.1);
    }
    const StoreFamily store = StoreOf(v, a, "A", "V", 7.0f);
    const AnalysisSeries series = StoreRmsSeries(store, {});
    const SpanIndex index(series);
    std::uniform_int_distribution<std::int64_t> point(0, count - 1);
    for (int trial = 0; trial < 300; ++trial) {
      std::int64_t i = point(random), j = point(random);
      if (i > j) std::swap(i, j);
      SCOPED_TRACE(testing::Message() << count << " points, span " << i << ".." << j);
      ExpectSame(index.Of(i, j), ScanSpan(series, i, j));
    }
    ExpectSame(index.Of(0, count - 1), ScanSpan(series, 0, count - 1));
  }
}

// Equal values inside a long, lively series: the prefix sums alone would
// leave rounding noise in the spread. Short and long such spans read 0
// exactly, and damaged values are counted as left out.
TEST(SpanStatistics, SpanOfEqualValuesHasNoSpreadAndDamagedPointsAreCounted) {
  std::vector<float> v(200000), a(200000, 1.0f);
  std::mt19937 random(5);
  std::uniform_real_distribution<float> lively(0.0f, 460.0f);
  for (float& x : v) x = lively(random);
  for (std::size_t k = 150000; k < 150100; ++k) v[k] = 230.1f;
  for (std::size_t k = 100000; k < 110000; ++k) v[k] = 229.7f;
  v[100500] = std::numeric_limits<float>::quiet_NaN();
  const StoreFamily store = StoreOf(v, a);
  const SpanIndex index(StoreRmsSeries(store, {}));
  for (const auto& [first, last, mean, leftOut] :
       std::vector<std::tuple<std::int64_t, std::int64_t, float, std::int64_t>>{
           {150000, 150001, 230.1f, 0}, {150010, 150099, 230.1f, 0}, {100000, 109999, 229.7f, 1}}) {
    SCOPED_TRACE(testing::Message() << first << ".." << last);
    const SpanStatistics s = index.Of(first, last);
    EXPECT_EQ(s.channels[0].stddev, 0.0);
    EXPECT_EQ(s.channels[0].mean, static_cast<double>(mean));
    EXPECT_EQ(s.channels[0].leftOut, leftOut);
    EXPECT_EQ(s.powerLeftOut, leftOut);
    EXPECT_EQ(s.channels[1].leftOut, 0);
  }
}

// A real-time run keeps both channels side by side; a TR record has one.
TEST(SpanStatistics, RealTimeAndTrRecordSeries) {
  RealTimeFamily run;
  run.rtStartTime = kStart;
  run.rtInterval = 2;
  run.rtCount = 2;
  run.rtRms = {{230, 5}, {228, 6}, {0, 0}};  // capacity beyond rtCount is no point
  run.rtHasCh1 = run.rtHasCh2 = 1;
  run.rtUnitCh1 = "V";
  run.rtUnitCh2 = "A";
  const SpanStatistics s = SpanIndex(RealTimeRmsSeries(run, {})).Of(0, 1);
  EXPECT_EQ(s.channels[1].max, 6);
  EXPECT_EQ(s.channels[0].min, 228);
  EXPECT_EQ(s.end, kStart + 4);
  EXPECT_DOUBLE_EQ(s.energyVah, (230.0 * 5 + 228.0 * 6) * 2 / 3600);

  StoreFamily store;
  test::AddTrRecords(store, {{kStart, kUnitAmpere, kChannel2, 1.0f, {{100, -40.0f}}}});
  const AnalysisSeries record = TrRecordSeries(store, 0, {});
  ASSERT_EQ(record.count, kTrWavePoints);
  const SpanStatistics r = SpanIndex(record).Of(0, kTrWavePoints - 1);
  EXPECT_FALSE(r.channels[0].present);
  EXPECT_EQ(r.channels[1].unit, "A");
  EXPECT_EQ(r.channels[1].minPoint, 101);
  EXPECT_EQ(r.start, kStart);
  store.trChannel = {0x55};
  EXPECT_EQ(TrRecordSeries(store, 0, {}).count, 0) << "a record of no known channel";
}

// A count larger than the arrays (a damaged file) is cut to what is there.
TEST(SpanStatistics, SeriesNeverReachesPastItsArrays) {
  StoreFamily store = StoreOf({230, 231}, {1});
  store.rmsCount = 5;
  EXPECT_EQ(StoreRmsSeries(store, {}).count, 1);
}

}  // namespace
}  // namespace acv
