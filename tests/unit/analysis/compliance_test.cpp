#include "analysis/Compliance.h"

#include <gtest/gtest.h>

namespace acv {
namespace {

// Monday 2026-03-02 00:00 UTC (the tests run in UTC).
constexpr TimeStamp kMonday = 1772409600;
constexpr TimeStamp kWeek = 7 * 86400;

// A week of 1,008 values of 230 V with `outside` of them at `value`, and
// `flagged` more flagged values far out of range.
std::vector<TenMinuteValue> WeekOf(int outside, double value, int flagged = 0) {
  std::vector<TenMinuteValue> v;
  for (int k = 0; k < 1008; ++k) {
    const bool out = k < outside, flag = k >= 1008 - flagged;
    v.push_back({kMonday + 600 * k, flag ? 100.0 : out ? value : 230.0, flag});
  }
  return v;
}

TEST(WeeklyVerdict, TheStandardsLimitsOnTenMinuteValues) {
  struct Case {
    const char* name;
    std::vector<TenMinuteValue> values;
    std::int64_t n, n1, n2, flagged;
    WeekVerdict verdict;
  };
  std::vector<TenMinuteValue> partial(WeekOf(0, 0));
  partial.resize(504);
  const Case cases[] = {
      {"4 % below the band passes", WeekOf(40, 200.0), 1008, 40, 0, 0, WeekVerdict::Pass},
      {"exactly 5 % passes", WeekOf(50, 200.0), 1008, 50, 0, 0, WeekVerdict::Pass},
      {"6 % fails", WeekOf(61, 200.0), 1008, 61, 0, 0, WeekVerdict::Fail},
      {"one value below Un - 15 % fails", WeekOf(1, 195.0), 1008, 1, 1, 0, WeekVerdict::Fail},
      {"Un - 15 % itself is inside", WeekOf(1, 195.5), 1008, 1, 0, 0, WeekVerdict::Pass},
      {"one value above Un + 10 % fails", WeekOf(1, 253.5), 1008, 1, 1, 0, WeekVerdict::Fail},
      {"flagged values are left out", WeekOf(0, 0, 100), 908, 0, 0, 100, WeekVerdict::Pass},
      {"no value at all", {}, 0, 0, 0, 0, WeekVerdict::NoData},
      {"only flagged values", WeekOf(0, 0, 1008), 0, 0, 0, 1008, WeekVerdict::NoData},
      {"half a week", partial, 504, 0, 0, 0, WeekVerdict::Pass},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<ComplianceWeek> weeks =
        JudgeWeeks(c.values, EventLimits{}, kMonday + 3600, kMonday + kWeek);
    ASSERT_EQ(weeks.size(), 1u);
    const ComplianceWeek& w = weeks[0];
    EXPECT_EQ(w.start, kMonday);
    EXPECT_EQ(w.end, kMonday + kWeek);
    EXPECT_EQ(w.expected, 1008);
    EXPECT_EQ((std::array<std::int64_t, 4>{w.n, w.n1, w.n2, w.flagged}),
              (std::array<std::int64_t, 4>{c.n, c.n1, c.n2, c.flagged}));
    EXPECT_EQ(w.verdict, c.verdict);
  }
  std::vector<TenMinuteValue> half = WeekOf(0, 0);
  half.resize(504);
  EXPECT_DOUBLE_EQ(JudgeWeeks(half, EventLimits{}, kMonday, kMonday + 1)[0].Coverage(), 0.5);
}

TEST(WeeklyVerdict, WeeksRunFromMondayAndTheBandIsTheLimitsOwn) {
  // Thursday to the next Tuesday: two weeks, the values sorted into each.
  std::vector<TenMinuteValue> values = {{kMonday + 3 * 86400, 250.0, false},
                                        {kMonday + kWeek + 600, 230.0, false}};
  const std::vector<ComplianceWeek> weeks =
      JudgeWeeks(values, EventLimits{}, kMonday + 3 * 86400, kMonday + kWeek + 86400);
  ASSERT_EQ(weeks.size(), 2u);
  EXPECT_EQ(weeks[1].start, kMonday + kWeek);
  EXPECT_EQ(weeks[0].n + weeks[1].n, 2);
  EXPECT_EQ(weeks[0].n1, 0) << "250 V lies inside 230 V +- 10 %";
  EventLimits narrow;
  narrow.bandPct = 5;
  EXPECT_EQ(JudgeWeeks(values, narrow, kMonday, kMonday + 1)[0].n1, 1);
  EXPECT_EQ(WeekStartOf(kMonday - 1), kMonday - kWeek);
  EXPECT_EQ(WeekStartOf(kMonday + kWeek - 1), kMonday);
}

TEST(EventTable, ResidualVoltageAndDurationClasses) {
  struct Case {
    EventKind kind;
    double extreme, seconds;
    int row, column;
  };
  // Un = 230 V: 184 V = 80 %, 161 V = 70 %, 92 V = 40 %, 11.5 V = 5 %.
  const Case cases[] = {
      {EventKind::Dip, 200.0, 0.2, 0, 0},   {EventKind::Dip, 184.0, 0.21, 0, 1},
      {EventKind::Dip, 183.9, 1.0, 1, 2},   {EventKind::Dip, 161.0, 5.0, 1, 3},
      {EventKind::Dip, 100.0, 60.0, 2, 4},  {EventKind::Dip, 92.0, 61.0, 2, 5},
      {EventKind::Dip, 11.5, 600.0, 3, 5},  {EventKind::Dip, 0.0, 120.0, 4, 5},
      {EventKind::Swell, 260.0, 2.0, 5, 3}, {EventKind::Swell, 276.0, 2.0, 6, 3},
  };
  std::vector<Event> events;
  EventTable expected;
  for (const Case& c : cases) {
    Event e;
    e.kind = c.kind;
    e.extreme = c.extreme;
    e.durationS = c.seconds;
    events.push_back(e);
    ++expected.counts[static_cast<std::size_t>(c.row)][static_cast<std::size_t>(c.column)];
  }
  Event interruption;
  interruption.kind = EventKind::Interruption;
  Event otherChannel = events[0];
  otherChannel.channel = 1;
  events.push_back(interruption);
  events.push_back(otherChannel);
  EXPECT_EQ(CountEvents(events, 0, EventLimits{}).counts, expected.counts)
      << "interruptions are counted by the dip that holds them; CH2 apart";
}

}  // namespace
}  // namespace acv
