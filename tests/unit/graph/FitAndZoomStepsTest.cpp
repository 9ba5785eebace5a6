// The Fit command's arithmetic and the zoom steps of the wheel and Backspace.
#include <gtest/gtest.h>

#include "GraphFixtures.h"
#include "graph/geometry/Fit.h"
#include "graph/geometry/ZoomSteps.h"

namespace acv::test {
namespace {

TEST(TidyRange, WidensAndRoundsOutToATidyStep) {
  struct Case {
    double low, high;
    AxisRange expected;
  } cases[] = {
      {4.8, 5.2, {4, 6}},          // a 5 A current
      {228.0, 232.0, {227, 233}},  // mains voltage
      {5.0, 5.0, {4, 6}},          // flat: still a range
      {0.0, 0.0, {0, 1}},          // flat at zero, and no negative side for it
      {-1500.0, 1400.0, {-2000, 2000}},
      {0.0, 160000.0, {0, 180000}},  // S(VA) stays above zero
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TidyRange(c.low, c.high), c.expected) << c.low << ".." << c.high;
  }
}

TEST(FitAxes, TakesTheShownChannelsInTheDisplayRange) {
  std::vector<float> amps = Constant(100, 5.0f);
  amps[10] = 4.9f;
  amps[90] = 9000.0f;  // outside the range asked for below
  CDTDoc doc = StoreRmsDoc(Constant(100, 230.0f), amps);
  GraphModel m = GraphOf(doc);
  m.state.firstPoint = 1;
  m.state.lastPoint = 80;
  auto fit = FitAxes(m.state, doc);
  ASSERT_TRUE(fit[0] && fit[1]);
  EXPECT_LT(fit[0]->from, 230);
  EXPECT_GT(fit[0]->to, 230);
  EXPECT_GE(fit[1]->from, 0);
  EXPECT_LE(fit[1]->to, 10);
  m.state.showCh2 = 0;  // switched off in the view options: left alone
  fit = FitAxes(m.state, doc);
  EXPECT_FALSE(fit[1].has_value());
}

TEST(ZoomSteps, AWheelZoomHalvesTheRangeAndUndoPutsItBack) {
  const CDTDoc doc = StoreRmsDoc(Constant(1000, 5.0f));
  GraphModel m = GraphOf(doc);
  PrepareGraphPaint(m, doc, kClient);
  FinishGraphPaint(m.state);
  const GraphState before = m.state;
  ZoomHistory history;
  history.Push(m);
  ASSERT_TRUE(WheelZoomIn(m, kPlot.left + 200));  // a quarter across
  PrepareGraphPaint(m, doc, kClient);
  FinishGraphPaint(m.state);
  const XMapping& zoomed = m.buffers.pointX[kZoomedView];
  const XMapping& full = m.buffers.pointX[kFullView];
  EXPECT_NEAR(zoomed.step, 2 * full.step, 1e-9);
  // The point under the pointer stays under it.
  const double k = (kPlot.left + 200 - full.origin) / full.step;
  EXPECT_NEAR(zoomed.At(0) + zoomed.step * k, kPlot.left + 200, 1.0);
  ASSERT_TRUE(history.Undo(m));
  EXPECT_EQ(m.state.zoomState, before.zoomState);
  EXPECT_EQ(m.state.hScroll.enabled, before.hScroll.enabled);
  EXPECT_FALSE(history.Undo(m));
}

TEST(ZoomSteps, ALevelFromAnotherLayoutIsNotRestored) {
  const CDTDoc doc = StoreRmsDoc(Constant(1000, 5.0f));
  GraphModel m = GraphOf(doc);
  PrepareGraphPaint(m, doc, kClient);
  ZoomHistory history;
  history.Push(m);
  m.state.plotRect.right += 10;
  EXPECT_FALSE(history.Undo(m));
  EXPECT_EQ(history.Levels(), 0u);
}

}  // namespace
}  // namespace acv::test
