// The band summary and its 10-minute values: the RMS of clock-aligned
// intervals, complete ones only, flagged by short events.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "analysis/BandSummary.h"
#include "support/TestDataSets.h"
#include "support/ZoneScope.h"

namespace acv {
namespace {

using test::kStart;
using test::StoreOf;

// Limits under which 203 V and 303 V are no events.
EventLimits Wide() {
  EventLimits l;
  l.dipPct = 80;
  l.swellPct = 140;
  return l;
}

// A walk over many points reads the clock once a 10-minute slot: every
// second up to SlotHoldsUntil lies in the slot read at its start, through
// daylight-saving changes, the clock set back 81 s or 11 min 15 s, and
// changes in the middle of a slot, where it goes second by second. Where
// the offset stays, each slot takes one reading.
TEST(ClockSlots, ASlotHoldsUntilItsEndThroughEveryChangeOfTheClock) {
  struct Case {
    const char* zone;
    TimeStamp at;  // the change
    int mostReadings;
  };
  for (const Case& c : {Case{"Europe/Berlin", 1792890000, 38},        // 2026-10-25, clocks back
                        Case{"Australia/Lord_Howe", 1775307600, 38},  // half an hour
                        Case{"Africa/Monrovia", -1604359012, 1000},   // 1919, back 81 s
                        Case{"Asia/Kathmandu", -1577943676, 1000},    // 1919, back 11:15
                        Case{"Asia/Kolkata", 1772000000, 37},         // no change
                        // Changes five minutes into a slot, forward and back.
                        Case{"AAA0BBB-1,M3.5.0/2:05,M10.5.0/3:05", 1774749900, 340},
                        Case{"AAA0BBB-1,M3.5.0/2:05,M10.5.0/3:05", 1792893900, 340}}) {
    test::ZoneScope zone(c.zone);
    LocalTimeCache clock;
    int readings = 0;
    for (TimeStamp t = c.at - 3 * 3600; t < c.at + 3 * 3600;) {
      const ClockSlot slot = ClockSlotOf(t, clock);
      const TimeStamp until = SlotHoldsUntil(t, slot, clock);
      ++readings;
      ASSERT_GT(until, t) << c.zone;
      for (TimeStamp u = t; u < until; ++u) {
        const ClockSlot there = ClockSlotOf(u, clock);
        ASSERT_EQ(there.key, slot.key) << c.zone << " " << u;
        ASSERT_EQ(there.secondsIn, slot.secondsIn + (u - t)) << c.zone << " " << u;
      }
      t = until;
    }
    EXPECT_LE(readings, c.mostReadings) << c.zone;
  }
}

// Across a change of the clock, the intervals are those of the local clock
// as it ran: the hour the clocks go back gives its six intervals twice, the
// hour they go forward gives none.
TEST(TenMinuteValues, DaylightSavingChangesGiveTheIntervalsTheClockRan) {
  test::ZoneScope zone("Europe/Berlin");
  struct Case {
    TimeStamp from;  // 01:00 local, 4 hours of points a second apart
    std::size_t values;
  };
  for (const Case& c : {Case{1792882800, 24}, Case{1774742400, 24}}) {
    StoreFamily store = StoreOf(std::vector<float>(4 * 3600, 230.0f), {}, "V", "A", 1.0f);
    store.rmsStartTime = c.from;
    const std::vector<TenMinuteValue> values = TenMinuteValues(StoreRmsSeries(store, {}), 0, {});
    EXPECT_EQ(values.size(), c.values);
    for (std::size_t i = 1; i < values.size(); ++i) {
      EXPECT_EQ(values[i].start - values[i - 1].start, 600) << "one after another, whole";
    }
  }
}

TEST(TenMinuteValues, RmsOfTheIntervalJudgesTheBandWhereAPlainMeanWouldNot) {
  // 10 s points over 10:00 .. 10:10: one complete interval.
  std::vector<float> v(60);
  for (std::size_t k = 0; k < v.size(); ++k) v[k] = k % 2 == 0 ? 203.0f : 303.0f;
  const StoreFamily store = StoreOf(v, std::vector<float>(60, 1.0f), "V", "A", 10.0f);
  const std::vector<BandShare> shares = SummariseBand(StoreRmsSeries(store, {}), Wide());
  ASSERT_EQ(shares.size(), 1u) << "only the channel in V";
  const BandShare& b = shares[0];
  ASSERT_EQ(b.tenMinute.size(), 1u);
  EXPECT_EQ(b.tenMinute[0].start, kStart);
  EXPECT_NEAR(b.tenMinute[0].value, std::sqrt((203.0 * 203.0 + 303.0 * 303.0) / 2), 1e-9);
  EXPECT_NEAR(b.tenMinute[0].value, 257.9, 0.05);
  EXPECT_FALSE(b.tenMinute[0].flagged);
  EXPECT_EQ(b.tenMinuteFlagged, 0);
  EXPECT_EQ(b.tenMinuteInBand, 0) << "257.9 V lies above 253 V";
  EXPECT_EQ(b.points, 60);
  EXPECT_EQ(b.pointsInBand, 0) << "203 V lies below 207 V, 303 V above 253 V";
}

// Which intervals of a 60 s series get a value, and which are flagged.
TEST(TenMinuteValues, ClockAlignedCompleteIntervalsFlaggedByShortEvents) {
  struct Case {
    const char* name;
    TimeStamp start;
    int count;
    std::vector<std::pair<int, float>> set;          // point (0-based), value
    std::vector<std::pair<TimeStamp, bool>> values;  // start after kStart, flagged
    std::int64_t within;
  };
  const Case cases[] = {
      {"starts at 10:07: first value for 10:10", kStart + 7 * 60, 22, {}, {{600, false}}, 1},
      {"ends inside its third interval", kStart, 25, {}, {{0, false}, {600, false}}, 2},
      {"a one-point dip flags its interval", kStart, 20, {{13, 150}}, {{0, false}, {600, true}}, 1},
      {"a two-minute interruption counts as it is (RMS 205.7 V)",
       kStart,
       20,
       {{3, 0}, {4, 0}},
       {{0, false}, {600, false}},
       1},
      {"a damaged point leaves its interval out",
       kStart,
       20,
       {{15, std::numeric_limits<float>::quiet_NaN()}},
       {{0, false}},
       1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<float> v(static_cast<std::size_t>(c.count), 230.0f);
    for (const auto& [k, value] : c.set) v[static_cast<std::size_t>(k)] = value;
    StoreFamily store = StoreOf(v);
    store.rmsStartTime = c.start;
    const std::vector<BandShare> shares = SummariseBand(StoreRmsSeries(store, {}), EventLimits{});
    ASSERT_EQ(shares.size(), 1u);
    std::vector<std::pair<TimeStamp, bool>> got;
    for (const TenMinuteValue& t : shares[0].tenMinute)
      got.emplace_back(t.start - kStart, t.flagged);
    EXPECT_EQ(got, c.values);
    EXPECT_EQ(shares[0].tenMinuteInBand, c.within);
  }
}

TEST(TenMinuteValues, NoneWhenTheIntervalDoesNotDivideTenMinutes) {
  const StoreFamily store = StoreOf(std::vector<float>(400, 230.0f), {}, "V", "A", 7.0f);
  const BandShare b = SummariseBand(StoreRmsSeries(store, {}), EventLimits{})[0];
  EXPECT_FALSE(b.hasTenMinute);
  EXPECT_TRUE(b.tenMinute.empty());
  EXPECT_EQ(b.pointsInBand, 400);
  for (const auto& [interval, points] : std::vector<std::pair<double, std::int64_t>>{
           {1, 600}, {60, 10}, {600, 1}, {7, 0}, {3600, 0}, {0, 0}}) {
    EXPECT_EQ(PointsPerTenMinutes(interval), points) << interval;
  }
}

TEST(BandSummary, TheBandIsItsOwnLimitNotTheDipThreshold) {
  EventLimits limits;
  limits.bandPct = 5;
  limits.dipPct = 80;
  // 215 V: inside Un - 10 % and above the dip threshold, outside Un - 5 %.
  const StoreFamily store = StoreOf({230, 215, 240, 242});
  const BandShare b = SummariseBand(StoreRmsSeries(store, {}), limits)[0];
  EXPECT_DOUBLE_EQ(b.low, 218.5);
  EXPECT_DOUBLE_EQ(b.high, 241.5);
  EXPECT_EQ(b.pointsInBand, 2);
}

}  // namespace
}  // namespace acv
