// The Compare window's overlay: the elapsed-time axis, both spans laid from
// the left edge, gaps left open, and a dense line cut down per pixel column
// without losing a pixel of its extent.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>

#include "frame/CompareOverlay.h"

namespace acv {
namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

OverlaySpan SpanOf(std::vector<OverlayRun> runs, std::int64_t length,
                   std::array<std::string, 2> units = {"V", "A"}) {
  OverlaySpan s;
  s.length = length;
  s.runs = std::move(runs);
  s.units = std::move(units);
  for (std::size_t c = 0; c < 2; ++c) {
    for (const OverlayRun& r : s.runs) s.present[c] = s.present[c] || !r.values[c].empty();
  }
  return s;
}

OverlayRun RunOf(std::int64_t offset, std::int64_t interval, std::vector<float> ch1) {
  OverlayRun r;
  r.offset = offset;
  r.interval = interval;
  r.values[0] = std::move(ch1);
  return r;
}

TEST(CompareOverlay, ElapsedTicksAtRoundTimes) {
  struct Case {
    double length;
    int maxTicks;
    double step;
  } cases[] = {
      {14 * 86400.0, 9, 2 * 86400.0},
      {14 * 86400.0, 5, 7 * 86400.0},
      {86400.0, 7, 6 * 3600.0},
      {5400.0, 7, 900.0},
      {100 * 86400.0, 5, 21 * 86400.0},  // beyond the list: whole weeks
      {604799.0, 4, 2 * 86400.0},        // a week in a narrow plot: 0, 2, 4 and 6 days
      {0.0, 7, 1.0},                     // one point: still an axis
  };
  for (const Case& c : cases) {
    const PlotAxis a = ElapsedAxis(c.length, c.maxTicks);
    ASSERT_GE(a.ticks.size(), 2u) << c.length;
    EXPECT_EQ(a.ticks.front(), 0.0) << c.length;
    EXPECT_DOUBLE_EQ(a.ticks[1] - a.ticks[0], c.step) << c.length;
    EXPECT_LE(static_cast<int>(a.ticks.size()), c.maxTicks) << c.length;
    EXPECT_LE(a.ticks.back(), a.max) << c.length;
  }
  const std::pair<double, const char*> texts[] = {
      {0, "0"}, {45, "45 s"}, {1800, "30 min"}, {5400, "1 h 30 min"}, {216000, "2 d 12 h"}};
  for (const auto& [seconds, text] : texts) EXPECT_EQ(ElapsedText(seconds), text);
}

TEST(CompareOverlay, BothSpansStartAtTheLeftAndGapsStayOpen) {
  CompareOverlay o;
  // A: ten minute values with one missing; B, a week later in the
  // calendar, two runs with a gap of five minutes between them.
  std::vector<float> a(10, 230.0f);
  a[5] = kNaN;
  o.spans[0] = SpanOf({RunOf(0, 60, a)}, 600);
  o.spans[1] = SpanOf({RunOf(0, 60, {231, 232, 233}), RunOf(480, 60, {240, 240})}, 600);
  o.spans[1].from = o.spans[0].from + 7 * 86400;
  const PlotArea area{60, 20, 660, 220};
  const OverlayPlot p = LayOutOverlay(o, 0, area);

  EXPECT_EQ(p.unit, "V");
  EXPECT_TRUE(p.drawn[0] && p.drawn[1]);
  EXPECT_LE(p.y.min, 230.0);
  EXPECT_GE(p.y.max, 240.0);  // the axis holds both spans
  ASSERT_EQ(p.lines[0].size(), 2u);
  ASSERT_EQ(p.lines[1].size(), 2u);
  EXPECT_EQ(p.lines[0][0].front()[0], area.left);
  EXPECT_EQ(p.lines[1][0].front()[0], area.left);
  EXPECT_LT(p.lines[1][0].back()[0], p.lines[1][1].front()[0] - 1);  // the gap shows
  EXPECT_EQ(p.lines[1][1].back()[0], XPixel(p.x, area, 540.0));
  // A lone point between gaps stays a line of one point, drawn as a dot.
  o.spans[1] = SpanOf({RunOf(0, 60, {kNaN, 235, kNaN})}, 600);
  const OverlayPlot lone = LayOutOverlay(o, 0, area);
  ASSERT_EQ(lone.lines[1].size(), 1u);
  EXPECT_EQ(lone.lines[1][0].size(), 1u);
}

TEST(CompareOverlay, ADenseLineKeepsEachColumnsExtentInFourPoints) {
  // 5,000 points over 40 columns: a slow wave with a spike and a dip
  // inside columns.
  std::vector<float> v(5000);
  for (std::size_t k = 0; k < v.size(); ++k) {
    v[k] = 230.0f + 5.0f * static_cast<float>(std::sin(static_cast<double>(k) / 300.0));
  }
  v[1234] = 260.0f;
  v[3001] = 150.0f;
  CompareOverlay o;
  o.spans[0] = SpanOf({RunOf(0, 1, v)}, 4999);
  const PlotArea area{0, 0, 40, 300};
  const OverlayPlot p = LayOutOverlay(o, 0, area);
  ASSERT_EQ(p.lines[0].size(), 1u);
  const auto& line = p.lines[0][0];

  // Every point's pixel, gathered per column straight from the values.
  struct Column {
    int first = 0, last = 0, low = 1 << 30, high = -(1 << 30), points = 0;
  };
  std::map<int, Column> expected;
  for (std::size_t k = 0; k < v.size(); ++k) {
    const int x = XPixel(p.x, area, static_cast<double>(k));
    const int y = YPixel(p.y, area, v[k]);
    Column& c = expected[x];
    if (c.points++ == 0) c.first = y;
    c.last = y;
    c.low = std::min(c.low, y);
    c.high = std::max(c.high, y);
  }
  std::map<int, std::vector<int>> drawn;
  for (const auto& pt : line) drawn[pt[0]].push_back(pt[1]);
  ASSERT_EQ(drawn.size(), expected.size());
  for (const auto& [x, ys] : drawn) {
    const Column& c = expected.at(x);
    EXPECT_LE(ys.size(), 4u) << x;
    EXPECT_EQ(ys.front(), c.first) << x;
    EXPECT_EQ(ys.back(), c.last) << x;
    EXPECT_EQ(*std::min_element(ys.begin(), ys.end()), c.low) << x;
    EXPECT_EQ(*std::max_element(ys.begin(), ys.end()), c.high) << x;
  }
  EXPECT_LT(line.size(), 4 * drawn.size() + 1);
}

TEST(CompareOverlay, AChannelInAnotherUnitIsNotDrawnOverTheFirst) {
  CompareOverlay o;
  o.spans[0] = SpanOf({RunOf(0, 60, {230, 231})}, 60);
  o.spans[1] = SpanOf({RunOf(0, 60, {5, 6})}, 60, {"A", "A"});
  const OverlayPlot p = LayOutOverlay(o, 0, PlotArea{0, 0, 200, 100});
  EXPECT_TRUE(p.drawn[0]);
  EXPECT_FALSE(p.drawn[1]);
  EXPECT_TRUE(p.lines[1].empty());
  EXPECT_GE(p.y.min, 200.0);  // the amperes do not stretch the volts' axis
  EXPECT_EQ(OverlayTitle(o, p, 0), "CH1 (V), elapsed from each span's start; B in A, not drawn");
  // Neither span has CH2: nothing to lay out, and no plot for it.
  EXPECT_FALSE(o.HasChannel(1));
  EXPECT_TRUE(LayOutOverlay(o, 1, PlotArea{0, 0, 200, 100}).lines[0].empty());
}

}  // namespace
}  // namespace acv
