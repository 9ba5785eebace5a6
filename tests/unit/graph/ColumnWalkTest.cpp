// The decimated curve without marks is built column by column from the
// channel's min/max pyramid; the curve with marks still walks every segment.
// Both must give the very same lines, in the same order, whatever the data:
// gaps, points on and beyond the top and bottom lines, steps and spikes at
// bucket and column edges, dense and sparse series, and a series that grew
// point by point (a pyramid extended, not rebuilt).
#include <gtest/gtest.h>

#include <limits>
#include <random>
#include <vector>

#include "GraphFixtures.h"
#include "graph/geometry/Segments.h"
#include "graph/geometry/SeriesSource.h"

namespace acv {
namespace {

std::vector<SegmentLine> LinesOf(const GraphModel& m, const CDTDoc& doc, int channel,
                                 bool withMarks) {
  CurveBatch batch;
  BuildCurve(m, SeriesSource(doc, m.state.mode), channel, true, withMarks, batch);
  return batch.lines;
}

void ExpectSameLines(std::vector<float> ch1) {
  CDTDoc doc = test::StoreRmsDoc(std::move(ch1));
  GraphModel m = test::GraphOf(doc);
  test::PaintOnce(m, doc);
  const std::vector<SegmentLine> columns = LinesOf(m, doc, 0, false);
  const std::vector<SegmentLine> segments = LinesOf(m, doc, 0, true);
  ASSERT_FALSE(segments.empty());
  EXPECT_EQ(columns, segments);
}

TEST(ColumnWalk, DenseSeriesInsideThePlot) {
  std::mt19937 rng(3);
  std::uniform_real_distribution<float> value(0.5f, 9.5f);
  for (const std::size_t n : {801u, 1600u, 5003u, 65536u}) {
    std::vector<float> ch1(n);
    for (float& v : ch1) v = value(rng);
    ExpectSameLines(ch1);
  }
}

TEST(ColumnWalk, PointsOnAndBeyondTheTopAndBottomLines) {
  // Mostly inside, with runs of one to three points that touch or leave the
  // plot, anywhere in a column: those columns take the segment-by-segment
  // rules (which skip segments wholly beyond a line), the others the quick span.
  std::mt19937 rng(11);
  std::uniform_real_distribution<float> inside(1.0f, 9.0f);
  std::uniform_int_distribution<int> pick(0, 60);
  std::uniform_int_distribution<int> runLength(1, 3);
  const float outliers[] = {10.0f, 0.0f, 12.5f, -4.0f, 1e30f};  // on top, on bottom, beyond
  for (const std::size_t n : {30000u, 40013u}) {
    std::vector<float> ch1(n);
    for (std::size_t i = 0; i < n; ++i) {
      const int p = pick(rng);
      if (p < 5) {
        for (int r = runLength(rng); r > 0 && i < n; --r, ++i) ch1[i] = outliers[p];
        --i;
      } else {
        ch1[i] = inside(rng);
      }
    }
    ExpectSameLines(ch1);
  }
}

TEST(ColumnWalk, GapsInsideAndBetweenColumns) {
  // Missing values at any place in a column, alone and in runs that empty
  // whole columns: a gap ends the column's span.
  std::mt19937 rng(5);
  std::uniform_real_distribution<float> value(0.5f, 9.5f);
  std::uniform_int_distribution<int> pick(0, 49);
  const float nan = std::numeric_limits<float>::quiet_NaN();
  for (const std::size_t n : {20000u, 33001u}) {
    std::vector<float> ch1(n);
    for (float& v : ch1) v = pick(rng) == 0 ? nan : value(rng);
    for (std::size_t i = 5000; i < 5100; ++i) ch1[i] = nan;  // several empty columns
    ch1.front() = nan;
    ch1.back() = nan;
    ExpectSameLines(ch1);
  }
}

TEST(ColumnWalk, SparseAndBarelyDenseSeries) {
  // Fewer points than columns (no column holds two), and about one point
  // per column, where columns hold one or two points by rounding.
  for (const std::size_t n : {2u, 3u, 57u, 400u, 799u, 800u, 802u}) {
    std::vector<float> ch1(n);
    for (std::size_t i = 0; i < n; ++i) ch1[i] = static_cast<float>((i * 37) % 11);
    ExpectSameLines(ch1);
  }
}

TEST(ColumnWalk, ZoomedAndScrolledWindow) {
  std::mt19937 rng(9);
  std::uniform_real_distribution<float> value(-1.0f, 11.0f);
  std::vector<float> ch1(50000);
  for (float& v : ch1) v = value(rng);
  CDTDoc doc = test::StoreRmsDoc(ch1);
  GraphModel m = test::GraphOf(doc);
  test::PaintOnce(m, doc);
  // A step of a tenth of a pixel shows 8,000 of the points, scrolled into
  // the middle of the series.
  m.state.pointStep = 0.1;
  m.state.scrollBase = 20000;
  m.state.scrollShift = -1234;
  EXPECT_EQ(LinesOf(m, doc, 0, false), LinesOf(m, doc, 0, true));
}

TEST(ColumnWalk, StepsSpikesAndFlatRunsAtBucketAndColumnEdges) {
  // 65,536 points over 800 columns: 81.92 points a column, so column edges
  // fall everywhere relative to the 16- and 256-point buckets.
  const std::size_t n = 65536;
  const auto make = [n](auto f) {
    std::vector<float> v(n);
    for (std::size_t i = 0; i < n; ++i) v[i] = f(i);
    return v;
  };
  const float nan = std::numeric_limits<float>::quiet_NaN();
  std::mt19937 rng(21);
  std::uniform_real_distribution<float> noise(4.0f, 6.0f);
  const std::vector<std::vector<float>> table = {
      make([](std::size_t) { return 5.0f; }),                           // flat
      make([](std::size_t) { return 10.0f; }),                          // flat on the top line
      make([](std::size_t i) { return i < 30000 ? 0.0f : -1.0f; }),     // on and below the bottom
      make([](std::size_t i) { return i % 256 < 128 ? 2.0f : 8.0f; }),  // steps on bucket edges
      make([](std::size_t i) { return i % 82 < 41 ? 3.0f : 7.0f; }),    // steps near column edges
      make([&](std::size_t i) {  // spikes on the first and last point of buckets
        return i % 256 == 0 || i % 16 == 15 ? 9.9f : noise(rng);
      }),
      make([&](std::size_t i) {  // spikes beyond the plot, on and off bucket edges
        return i % 4096 == 4095 ? 30.0f : i % 1000 == 0 ? -30.0f : noise(rng);
      }),
      make([&](std::size_t i) {  // lone gaps at bucket edges, a long gap
        return i % 256 == 255 || (i >= 20000 && i < 24096) ? nan : noise(rng);
      }),
      make([](std::size_t i) { return std::sin(static_cast<float>(i) * 1e-3f) * 12.0f; }),
  };
  for (const auto& series : table) ExpectSameLines(series);
}

TEST(ColumnWalk, ARunGrownPointByPointDrawsAsIfBuiltAtOnce) {
  CDTDoc doc = test::RealTimeDoc(200000);
  std::mt19937 rng(4);
  std::uniform_real_distribution<float> value(-1.0f, 11.0f);
  for (ChannelPair& p : doc.rtRms) p.ch1 = value(rng);
  GraphModel m = test::RealTimeGraph(doc, 100);
  for (const std::int32_t count : {101, 4095, 4097, 65535, 65536, 65550, 200000}) {
    while (doc.rtCount < count) test::AddPoint(doc, m, doc.rtRms[doc.rtCount].ch1);
    test::PaintOnce(m, doc);
    GraphModel fresh = m;
    fresh.buffers.ForgetData();
    test::PaintOnce(fresh, doc);
    EXPECT_EQ(m.buffers.pyramids[0].levels.Count(), count);
    EXPECT_EQ(LinesOf(m, doc, 0, false), LinesOf(fresh, doc, 0, true)) << count;
  }
}

}  // namespace
}  // namespace acv
