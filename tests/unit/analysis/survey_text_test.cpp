#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "analysis/SurveyText.h"

namespace acv {
namespace {

TEST(SurveyText, ComplianceJsonHasTheWeeksAndTheWholeEventTable) {
  ComplianceReport r;
  ComplianceWeek w;
  w.start = 1772409600;  // Monday 2026-03-02 00:00 UTC
  w.end = w.start + 7 * 86400;
  w.n = 900, w.n1 = 10, w.flagged = 108, w.expected = 1008;
  w.verdict = WeekVerdict::Pass;
  r.weeks = {w};
  r.events.counts[4][5] = 2;
  const nlohmann::json j = nlohmann::json::parse(ComplianceJson(r));
  const nlohmann::json& week = j["weeks"][0];
  EXPECT_EQ(week["start"], "2026-03-02T00:00:00");
  EXPECT_EQ(week["end"], "2026-03-09T00:00:00");
  EXPECT_EQ(week["n1"], 10);
  EXPECT_EQ(week["coverage"], 1.0);
  EXPECT_EQ(week["verdict"], "pass");
  EXPECT_EQ(j["events"]["rows"].size(), 7u);
  EXPECT_EQ(j["events"]["columns"].size(), 6u);
  EXPECT_EQ(j["events"]["counts"][4][5], 2) << "row dip < 5 %, column > 60 s";
}

TEST(SurveyText, ProfileLinesLeaveAbsentChannelsAndEmptySlotsEmpty) {
  DailyProfile ch1{};
  ch1[1] = {3, 229.5, 230.25, 231.0};
  const std::vector<std::string> lines = ProfileCsvLines({&ch1, nullptr});
  ASSERT_EQ(lines.size(), 144u);
  EXPECT_EQ(lines[0], "00:00,,,,,,");
  EXPECT_EQ(lines[1], "00:10,229.5,230.25,231,,,");
  EXPECT_EQ(lines[143].substr(0, 6), "23:50,");
}

}  // namespace
}  // namespace acv
