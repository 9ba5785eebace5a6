// The Distribution window's small plots: round axes, which bins map to
// which pixels, and what the plot leaves out.
#include <gtest/gtest.h>

#include <cmath>

#include "frame/DistributionFigures.h"

namespace acv {
namespace {

TEST(DistributionPlots, AxesCoverTheValuesWithRoundTicks) {
  struct Case {
    double lo, hi;
    int maxTicks;
    double min, max, step;
  } cases[] = {
      {0.0, 268.0, 7, 0.0, 300.0, 50.0},  // once made a step that never grew
      {0.0, 100.0, 6, 0.0, 100.0, 20.0},    {3.9, 6.1, 7, 3.5, 6.5, 0.5},
      {228.4, 231.6, 7, 228.0, 232.0, 1.0}, {-0.3, 0.2, 6, -0.3, 0.2, 0.1},
      {230.0, 230.0, 6, 226.0, 234.0, 2.0},  // one value: room around it
      {0.0, 0.0, 6, -1.0, 1.0, 0.5},         // nothing but zero: no millionths
  };
  for (const Case& c : cases) {
    const PlotAxis a = RoundAxis(c.lo, c.hi, c.maxTicks);
    EXPECT_NEAR(a.min, c.min, 1e-9) << c.lo << ".." << c.hi;
    EXPECT_NEAR(a.max, c.max, 1e-9) << c.lo << ".." << c.hi;
    ASSERT_GE(a.ticks.size(), 2u);
    EXPECT_LE(static_cast<int>(a.ticks.size()), c.maxTicks) << c.lo << ".." << c.hi;
    EXPECT_NEAR(a.ticks[1] - a.ticks[0], c.step, 1e-9) << c.lo << ".." << c.hi;
  }
  EXPECT_EQ(TickText(228.0, RoundAxis(228.4, 231.6, 7)), "228");
  EXPECT_EQ(TickText(4.5, RoundAxis(3.9, 6.1, 7)), "4.5");
}

TEST(DistributionPlots, BinsStandEdgeToEdgeAndTheTailsAreCounted) {
  ChannelDistribution c;
  c.present = true;
  c.unit = "V";
  // Bins of 2.3 V: an interruption's value at 0 V, the rest 225.4 .. 234.6 V.
  c.histogram.binWidth = 2.3;
  c.histogram.firstBin = 0;
  c.histogram.counts.assign(103, 0);
  c.histogram.counts[0] = 1;
  for (int k = 98; k <= 101; ++k) c.histogram.counts[static_cast<std::size_t>(k)] = 25;
  c.histogram.points = 101;
  c.percentiles.points = 101;
  c.percentiles.at = {225.4, 225.4, 229.0, 234.0, 234.0};
  const PlotArea area{50, 10, 450, 210};
  const HistogramPlot p = LayOutHistogram(c, area);

  EXPECT_EQ(p.below, 1);
  EXPECT_EQ(p.above, 0);
  EXPECT_LE(p.x.min, 225.4 - 2.3);
  EXPECT_GE(p.x.max, 234.6);
  ASSERT_FALSE(p.bars.empty());
  for (std::size_t i = 1; i < p.bars.size(); ++i) {
    EXPECT_EQ(p.bars[i].left, p.bars[i - 1].right) << i;
  }
  EXPECT_GE(p.bars.front().left, area.left);
  EXPECT_LE(p.bars.back().right, area.right);
  // The tallest bins (25 of 101 points) reach the share axis at their value.
  EXPECT_EQ(p.share.max, 25.0);
  const int tallest = YPixel(p.share, area, 100.0 * 25 / 101);
  int tall = 0;
  for (const HistogramPlot::Bar& b : p.bars) tall += b.top == tallest ? 1 : 0;
  EXPECT_EQ(tall, 4);
  // The cumulative curve starts above the point left out below and ends at 100 %.
  EXPECT_EQ(p.cumulate.front()[1], YPixel(p.cumulative, area, 100.0 / 101));
  EXPECT_EQ(p.cumulate.back()[1], area.top);
  EXPECT_EQ(p.percentileX.size(), 3u);
}

TEST(DistributionPlots, TheProfileBreaksAtSlotsWithoutPoints) {
  ChannelDistribution c;
  c.present = true;
  for (int s : {0, 1, 2, 5, 143}) {
    ProfileSlot& slot = c.profile[static_cast<std::size_t>(s)];
    slot = {10, 228.0, 230.0, 232.0};
  }
  const PlotArea area{0, 0, 289, 101};
  const ProfilePlot p = LayOutProfile(c, area);
  ASSERT_EQ(p.lines[1].size(), 3u);  // slots 0-2, 5, 143
  EXPECT_EQ(p.lines[1][0].size(), 3u);
  // Slot s at its middle: (s + 0.5) of 144 slots over 288 pixels.
  EXPECT_EQ(p.lines[1][0][0][0], 1);
  EXPECT_EQ(p.lines[1][2][0][0], 287);
  EXPECT_LT(p.lines[2][0][0][1], p.lines[1][0][0][1]);  // the maximum above the mean
}

}  // namespace
}  // namespace acv
