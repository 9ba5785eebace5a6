#include <gtest/gtest.h>

#include <regex>

#include "analysis/SpanComparison.h"
#include "support/TestDataSets.h"

namespace acv {
namespace {

// Whether the side-by-side text has this row, its cells one space apart.
bool HasRow(const SpanComparison& c, const std::string& row) {
  for (const std::string& line : ComparisonLines(c, kCsvTimeFormat)) {
    if (std::regex_replace(line, std::regex(" +"), " ").find(row) != std::string::npos) return true;
  }
  return false;
}

ComparedSpan SpanOf(const StoreFamily& store, std::vector<Event> events = {}) {
  const AnalysisSeries series = StoreRmsSeries(store, ChannelScaling{});
  ComparedSpan span;
  span.stats = SpanIndex(series).Of(0, series.count - 1);
  for (int c = 0; c < 2; ++c) {
    if (series.channels[c].present)
      span.percentiles[c] = PercentilesOf(series, c, 0, series.count - 1);
  }
  span.events = CountEventKinds(events);
  return span;
}

TEST(SpanComparison, DifferencesAreBMinusAOfEachFigure) {
  Event dip;
  dip.kind = EventKind::Dip;
  // A: mean 230, min 228, max 232, CP95 the 3rd of 3 = 232.
  // B: mean 232, min 229, max 235, CP95 the 4th of 4 = 235.
  const SpanComparison c = CompareSpans(SpanOf(test::StoreOf({230, 232, 228}), {dip, dip}),
                                        SpanOf(test::StoreOf({231, 235, 229, 233}), {dip}));
  EXPECT_EQ(c.channels[0].mean, 2.0);
  EXPECT_EQ(c.channels[0].min, 1.0);
  EXPECT_EQ(c.channels[0].max, 3.0);
  EXPECT_EQ(c.channels[0].p95, 3.0);
  const std::string json = ComparisonJson(c);
  EXPECT_NE(json.find(R"("difference":{"ch1":{"mean":2,"min":1,"max":3,"p95":3},)"
                      R"("events":{"dip":-1,"interruption":0,"swell":0,)"),
            std::string::npos)
      << json;
  EXPECT_EQ(json.rfind(R"({"a":{"points":3,)", 0), 0u) << json;
  EXPECT_NE(json.find(R"(,"b":{"points":4,)"), std::string::npos) << json;
  EXPECT_TRUE(HasRow(c, "CH1 V mean 230.00 232.00 +2.00"));
  EXPECT_TRUE(HasRow(c, "CH1 V CP95 232.0 235.0 +3.0"));
}

TEST(SpanComparison, AChannelInAnotherUnitOrWithoutValuesHasNoDifference) {
  const SpanComparison c = CompareSpans(SpanOf(test::StoreOf({230, 231}, {5, 6})),
                                        SpanOf(test::StoreOf({230, 231}, {230, 231}, "V", "V")));
  EXPECT_EQ(c.channels[0].mean, 0.0);
  EXPECT_FALSE(c.channels[1].mean);
  EXPECT_FALSE(c.meanVa);
  const std::string json = ComparisonJson(c);
  EXPECT_NE(json.find(R"("ch2":{"mean":null,"min":null,"max":null,"p95":null})"), std::string::npos)
      << json;
  EXPECT_EQ(json.find("mean_va\":null"), std::string::npos) << json;
  // No difference is no sign; a channel without one has a dash.
  EXPECT_TRUE(HasRow(c, "CH1 V mean 230.50 230.50 0.00"));
  EXPECT_TRUE(HasRow(c, "CH2 A mean 5.50 230.50 -"));
}

}  // namespace
}  // namespace acv
