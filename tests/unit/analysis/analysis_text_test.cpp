// The statistics as a person reads them: the mean's two decimals beside the
// extremes' one never put it outside them.
#include <gtest/gtest.h>

#include "analysis/AnalysisText.h"

namespace acv {
namespace {

TEST(StatisticsTable, TheMeanShownStaysBetweenTheExtremesShown) {
  const struct {
    double min, max, mean;
    const char* minText;
    const char* maxText;
    const char* meanText;
  } cases[] = {
      {5.149, 5.249, 5.249, "5.1", "5.2", "5.20"},  // would read 5.25 above 5.2
      {5.149, 5.249, 5.146, "5.1", "5.2", "5.15"},  // inside: as it is
      {5.051, 5.3, 5.052, "5.1", "5.3", "5.10"},    // would read 5.05 below 5.1
      {0.04, 0.3, 0.041, "LO", "0.3", "0.04"},      // LO is 0.0
      {230.0, 230.0, 230.00001, "230.0", "230.0", "230.00"},
      {-1.249, -1.1, -1.249, "-1.2", "-1.1", "-1.20"},  // would read -1.25 below -1.2
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.meanText);
    SpanStatistics s;
    ChannelSpan& ch = s.channels[0];
    ch.present = true;
    ch.unit = "A";
    ch.points = 2;
    ch.min = c.min;
    ch.max = c.max;
    ch.mean = c.mean;
    ch.minPoint = 1;
    ch.maxPoint = 2;
    const std::vector<std::vector<std::string>> table = StatisticsTable(s);
    ASSERT_EQ(table.size(), 2u);
    EXPECT_EQ(table[1][2], c.minText);
    EXPECT_EQ(table[1][4], c.maxText);
    EXPECT_EQ(table[1][6], c.meanText);
  }
}

}  // namespace
}  // namespace acv
