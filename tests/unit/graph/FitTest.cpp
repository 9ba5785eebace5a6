// The Fit command's arithmetic.
#include <gtest/gtest.h>

#include "GraphFixtures.h"
#include "graph/geometry/Fit.h"

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

}  // namespace
}  // namespace acv::test
