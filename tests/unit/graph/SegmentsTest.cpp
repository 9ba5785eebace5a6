// Curve segments: the draw/skip rule, the visible window and the column
// merging of dense series.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <random>
#include <set>
#include <tuple>

#include "GraphFixtures.h"
#include "graph/geometry/Segments.h"
#include "graph/geometry/SeriesSource.h"

namespace acv {
namespace {

using test::kPlot;

TEST(SegmentRule, TopAndBottomLines) {
  const int top = kPlot.top, bottom = kPlot.bottom;
  EXPECT_TRUE(SegmentDrawn(100, 200, top, bottom));               // inside
  EXPECT_TRUE(SegmentDrawn(top, top, top, bottom));               // both on the top line
  EXPECT_FALSE(SegmentDrawn(top, top - 3, top, bottom));          // on the top line and above it
  EXPECT_TRUE(SegmentDrawn(top, top + 1, top, bottom));           // from the top line inwards
  EXPECT_TRUE(SegmentDrawn(top - 50, bottom + 50, top, bottom));  // across the whole plot
  EXPECT_TRUE(SegmentDrawn(bottom, bottom, top, bottom));
  EXPECT_FALSE(SegmentDrawn(bottom, bottom + 1, top, bottom));
  EXPECT_FALSE(SegmentDrawn(top - 1, top - 9, top, bottom));

  EXPECT_TRUE(CrossesLine(top - 1, top + 1, top));
  EXPECT_FALSE(CrossesLine(top, top + 1, top));
}

TEST(Segments, CurveOfASparseSeriesIsItsSegments) {
  // Values 10 (top line), 10, 12 (above), 5: segment 1 drawn (both on top),
  // segment 2 skipped (top and above), segment 3 drawn (crosses into the plot).
  CDTDoc doc = test::StoreRmsDoc({10.0f, 10.0f, 12.0f, 5.0f});
  GraphModel m = test::GraphOf(doc);
  test::PaintOnce(m, doc);
  CurveBatch batch;
  BuildCurve(m, SeriesSource(doc, m.state.mode), 0, true, true, batch);
  ASSERT_EQ(batch.lines.size(), 2u);
  const int step = 800 / 3;
  EXPECT_EQ(batch.lines[0], (SegmentLine{{110, 70}, {110 + step, 70}}));
  EXPECT_EQ(batch.lines[1].a.y, -10);
  EXPECT_EQ(batch.lines[1].b, (PixelPoint{910, 270}));
  EXPECT_EQ(batch.marks.size(), 4u);  // both ends of both drawn segments
}

TEST(Segments, VisibleWindowFollowsTheScrollState) {
  GraphState s;
  LayoutGraph(s, test::kClient);
  s.firstPoint = 1;
  s.lastPoint = 1001;
  s.pointStep = 8.0;  // zoomed: 100 points per screen
  s.scrollBase = 400;
  s.scrollShift = -20;
  const SegmentRange r = VisibleSegments(s);
  EXPECT_EQ(r.first, 421);       // d = scrollBase - scrollShift + 1
  EXPECT_EQ(r.last, 421 + 101);  // d + N + 1
  s.scrollShift = -560;
  EXPECT_EQ(VisibleSegments(s).last, 1000);  // never past the last segment
  s.scrollBase = -50;
  s.scrollShift = 0;
  EXPECT_EQ(VisibleSegments(s).first, 1);
}

// What a set of lines covers inside the plot: vertical lines as the rows
// they cover per column, the other lines as they are.
struct Picture {
  std::map<int, std::vector<bool>> columns;  // x -> rows top..bottom covered
  std::multiset<std::tuple<int, int, int, int>> others;
};

Picture Rasterise(const CurveBatch& batch, const Rect& plot) {
  Picture pic;
  for (const SegmentLine& l : batch.lines) {
    if (l.a.x == l.b.x) {
      auto& rows = pic.columns[l.a.x];
      rows.resize(static_cast<std::size_t>(plot.Height() + 1));
      const int lo = std::max(std::min(l.a.y, l.b.y), plot.top);
      const int hi = std::min(std::max(l.a.y, l.b.y), plot.bottom);
      for (int y = lo; y <= hi; ++y) rows[static_cast<std::size_t>(y - plot.top)] = true;
    } else {
      pic.others.insert({l.a.x, l.a.y, l.b.x, l.b.y});
    }
  }
  return pic;
}

TEST(Segments, ColumnSpansCoverWhatEverySegmentCovers) {
  // Dense noise around and beyond the top and bottom lines, so that the
  // skip rule drops segments inside columns.
  std::mt19937 rng(7);
  std::uniform_real_distribution<float> value(-3.0f, 13.0f);
  std::vector<float> ch1(20000);
  for (float& v : ch1) v = value(rng);
  ch1[12345] = 10.0f;
  CDTDoc doc = test::StoreRmsDoc(ch1);
  GraphModel m = test::GraphOf(doc);
  test::PaintOnce(m, doc);
  CurveBatch every, merged;
  BuildCurve(m, SeriesSource(doc, m.state.mode), 0, false, true, every);
  BuildCurve(m, SeriesSource(doc, m.state.mode), 0, true, true, merged);
  EXPECT_LT(merged.lines.size(), every.lines.size() / 10);
  const Picture a = Rasterise(every, kPlot);
  const Picture b = Rasterise(merged, kPlot);
  EXPECT_EQ(a.columns, b.columns);
  EXPECT_EQ(a.others, b.others);
  EXPECT_EQ(every.marks, merged.marks);
}

TEST(Segments, MissingValuesLeaveAGap) {
  // Five points per pixel column; column 510 holds points 2000..2004, the
  // middle one missing, with the value jumping from 5 to 8 across it.
  std::vector<float> ch1(4000, 5.0f);
  for (std::size_t i = 2003; i < ch1.size(); ++i) ch1[i] = 8.0f;
  ch1[2002] = std::numeric_limits<float>::quiet_NaN();
  CDTDoc doc = test::StoreRmsDoc(ch1);
  GraphModel m = test::GraphOf(doc);
  test::PaintOnce(m, doc);
  CurveBatch batch;
  BuildCurve(m, SeriesSource(doc, m.state.mode), 0, true, false, batch);
  for (const SegmentLine& l : batch.lines) {
    if (l.a.x == 510 && l.b.x == 510) {
      EXPECT_FALSE(std::min(l.a.y, l.b.y) <= 150 && std::max(l.a.y, l.b.y) >= 270);
    }
  }
}

TEST(Segments, NewestSegmentJoinsTheTwoNewestPoints) {
  CDTDoc doc = test::RealTimeDoc(200);
  GraphModel m = test::RealTimeGraph(doc, 10);
  const auto seg = NewestSegment(m, SeriesSource(doc, m.state.mode), 0, 10);
  ASSERT_TRUE(seg);
  const double step = 800.0 / 99;
  EXPECT_EQ(seg->a.x, TruncToPixel(110 + 8 * step));
  EXPECT_EQ(seg->b.x, TruncToPixel(110 + 9 * step));
  EXPECT_EQ(seg->b.y, 270);
  EXPECT_FALSE(NewestSegment(m, SeriesSource(doc, m.state.mode), 0, 1));
  // S(VA) draws channel 1 only.
  m.state.mode = GraphMode::RealTimeS;
  EXPECT_TRUE(ChannelShown(m.state, 0));
  EXPECT_FALSE(ChannelShown(m.state, 1));
}

}  // namespace
}  // namespace acv
