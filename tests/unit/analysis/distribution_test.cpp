#include "analysis/Distribution.h"

#include <gtest/gtest.h>

#include <limits>

#include "support/TestDataSets.h"

namespace acv {
namespace {

using test::StoreOf;

TEST(Distribution, NearestRankPercentiles) {
  struct Case {
    std::vector<float> values;
    int percent;
    float expected;
  };
  const Case cases[] = {
      // n = 10: ranks ceil(0.1) = 1, ceil(0.5) = 1, ceil(5) = 5, ceil(9.5) = 10, ceil(9.9) = 10.
      {{10, 9, 8, 7, 6, 5, 4, 3, 2, 1}, 1, 1},
      {{10, 9, 8, 7, 6, 5, 4, 3, 2, 1}, 5, 1},
      {{10, 9, 8, 7, 6, 5, 4, 3, 2, 1}, 50, 5},
      {{10, 9, 8, 7, 6, 5, 4, 3, 2, 1}, 95, 10},
      {{10, 9, 8, 7, 6, 5, 4, 3, 2, 1}, 99, 10},
      // n = 20: 95 % of 20 is exactly 19, the 19th smallest, not the 20th.
      {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20}, 95, 19},
      {{7}, 1, 7},
  };
  for (const Case& c : cases) {
    std::vector<float> v = c.values;
    EXPECT_EQ(NearestRankPercentile(v, c.percent), c.expected)
        << c.percent << " % of " << c.values.size();
  }
}

TEST(Distribution, PercentilesAndHistogramOfASpanLeaveNonNumbersOut) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  // Points 1 .. 5 of the series: 229.9, 231, nan, 233.4, 231.5.
  const StoreFamily store =
      StoreOf({100, 229.9f, 231, nan, 233.4f, 231.5f, 300}, {1, 2, 3, 4, 5, 6, 40});
  const AnalysisSeries s = StoreRmsSeries(store, {});
  const Percentiles p = PercentilesOf(s, 0, 1, 5);
  EXPECT_EQ(p.points, 4);
  EXPECT_EQ(p.at[2], 231.0f) << "the 2nd smallest of 4";
  EXPECT_EQ(p.at[4], 233.4f);

  // Bins of 2.3 V from 0: 229.9 in bin 99, 231 and 231.5 in 100, 233.4 in 101.
  const Histogram h = HistogramOf(s, 0, 1, 5, 230.0);
  EXPECT_DOUBLE_EQ(h.binWidth, 2.3);
  EXPECT_EQ(h.firstBin, 99);
  EXPECT_EQ(h.counts, (std::vector<std::int64_t>{1, 2, 1}));
  EXPECT_EQ(h.Cumulative(), (std::vector<double>{0.25, 0.75, 1.0}));
  // Amperes: 1 % of the span's maximum (6 A over points 1 .. 5).
  const Histogram a = HistogramOf(s, 1, 1, 5, 230.0);
  EXPECT_DOUBLE_EQ(a.binWidth, 0.06);
  EXPECT_EQ(a.points, 5);
  EXPECT_EQ(a.counts.back(), 1) << "the maximum has a bin of its own";
  EXPECT_EQ(HistogramOf(s, 0, 3, 3, 230.0).points, 0);
}

TEST(Distribution, DailyProfileSlotsOfTheLocalClock) {
  // 60 s points from 10:00 (kStart) over two days: slot 60 is 10:00 .. 10:10.
  std::vector<float> v(2 * 1440);
  for (std::size_t k = 0; k < v.size(); ++k) v[k] = static_cast<float>(k < 1440 ? 220 : 240);
  v[5] = 200;
  const StoreFamily store = StoreOf(v);  // the series reads it in place
  const AnalysisSeries s = StoreRmsSeries(store, {});
  const DailyProfile profile = DailyProfileOf(s, 0, 0, s.count - 1);
  const ProfileSlot& ten = profile[60];
  EXPECT_EQ(ten.points, 20) << "ten points of each day";
  EXPECT_EQ(ten.min, 200);
  EXPECT_EQ(ten.max, 240);
  EXPECT_DOUBLE_EQ(ten.mean, (200 + 9 * 220 + 10 * 240) / 20.0);
  for (const ProfileSlot& slot : profile) EXPECT_EQ(slot.points, 20);
  EXPECT_EQ(DailyProfileOf(s, 0, 0, 0)[61].points, 0);
}

}  // namespace
}  // namespace acv
