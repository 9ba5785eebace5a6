// Events with hysteresis, transients and their order, the band summary and
// the rules the limits must keep. Levels with the default limits
// (Un = 230 V): a dip below 207 V ends at 211.6 V, a swell above 253 V ends
// at 248.4 V, an interruption has its minimum below 11.5 V.
#include "analysis/Events.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "analysis/AnalysisText.h"
#include "analysis/BandSummary.h"
#include "analysis_test_util.h"

namespace acv {
namespace {

using test::kStart;
using test::StoreOf;

struct Expected {
  EventKind kind;
  std::int64_t first, last;
  double extreme;
  bool open;
};

struct LevelCase {
  const char* name;
  std::vector<float> values;
  const char* unit;
  double overCurrent;
  std::vector<Expected> events;
};

void PrintTo(const LevelCase& c, std::ostream* out) {
  *out << c.name;
}

class LevelEvents : public testing::TestWithParam<LevelCase> {};

TEST_P(LevelEvents, FoundWithTheirPointsAndExtremes) {
  const LevelCase& c = GetParam();
  EventLimits limits;
  limits.overCurrent = c.overCurrent;
  const StoreFamily store = StoreOf(c.values, {}, c.unit);
  const std::vector<Event> events = FindLevelEvents(StoreRmsSeries(store), limits);
  ASSERT_EQ(events.size(), c.events.size());
  for (std::size_t i = 0; i < events.size(); ++i) {
    const Event& e = events[i];
    const Expected& x = c.events[i];
    SCOPED_TRACE(i);
    EXPECT_EQ(EventKindName(e.kind), std::string(EventKindName(x.kind)));
    EXPECT_EQ(e.first, x.first);
    EXPECT_EQ(e.last, x.last);
    EXPECT_FLOAT_EQ(e.extreme, x.extreme);
    EXPECT_EQ(e.open, x.open);
    EXPECT_EQ(e.start, kStart + (x.first - 1) * 60);
    EXPECT_EQ(e.end, kStart + x.last * 60) << "the time of the point after the last";
    EXPECT_DOUBLE_EQ(e.durationS, (x.last - x.first + 1) * 60.0);
    EXPECT_EQ(e.unit, c.unit);
    EXPECT_EQ(e.channel, 0);
  }
}

using K = EventKind;
INSTANTIATE_TEST_SUITE_P(
    Cases, LevelEvents,
    testing::Values(LevelCase{"TouchingFirstAndLastPoint",
                              {200, 200, 220, 230, 200},
                              "V",
                              0,
                              {{K::Dip, 1, 2, 200, false}, {K::Dip, 5, 5, 200, true}}},
                    LevelCase{"HysteresisKeepsTheDipOpen",
                              {230, 205, 208, 211.5f, 211.6f, 230},
                              "V",
                              0,
                              {{K::Dip, 2, 4, 205, false}}},
                    LevelCase{"InterruptionInsideADipWithLoPoints",
                              {230, 200, 10, 0, 0, 200, 230},
                              "V",
                              0,
                              {{K::Interruption, 2, 6, 0, false}}},
                    LevelCase{"SwellWithHysteresis",
                              {230, 253, 260, 250, 248.4f, 254},
                              "V",
                              0,
                              {{K::Swell, 3, 4, 260, false}, {K::Swell, 6, 6, 254, true}}},
                    LevelCase{"OnePoint", {100}, "V", 0, {{K::Dip, 1, 1, 100, true}}},
                    LevelCase{"CurrentWithoutALimit", {5, 50, 500}, "A", 0, {}},
                    LevelCase{
                        "OverCurrentEndsTwoPercentBelowTheLimit",
                        {5, 11, 9.9f, 9.75f, 12},
                        "A",
                        10,
                        {{K::OverCurrent, 2, 3, 11, false}, {K::OverCurrent, 5, 5, 12, true}}}),
    [](const testing::TestParamInfo<LevelCase>& info) { return std::string(info.param.name); });

TEST(Events, StoreEventsMergeChannelsAndTransientsByStartTime) {
  StoreFamily store = StoreOf({230, 200, 230, 230}, {230, 230, 260, 230}, "V", "V");
  store.trCount = 2;
  store.trWaves.assign(2 * kTrWavePoints, 10.0f);
  store.trWaves[kTrWavePoints + 7] = -300.0f;
  store.trWaves[kTrWavePoints + 8] = 250.0f;
  store.trTimes = {kStart + 100, kStart + 60};  // the second record, at the dip's second
  store.trUnit = {kUnitVolt, kUnitAmpere};
  store.trChannel = {kChannel1, kChannel2};
  const std::vector<Event> events = StoreEvents(store, EventLimits{});
  ASSERT_EQ(events.size(), 4u);
  EXPECT_EQ(events[0].kind, EventKind::Dip);
  EXPECT_EQ(events[1].kind, EventKind::Transient) << "after the level event of the same second";
  EXPECT_EQ(events[1].record, 1);
  EXPECT_EQ(events[1].channel, 1);
  EXPECT_EQ(events[1].unit, "A");
  EXPECT_EQ(events[1].extreme, -300.0f) << "the sample of largest magnitude, with its sign";
  EXPECT_EQ(events[1].first, 0);
  EXPECT_DOUBLE_EQ(events[1].durationS, kTrWavePoints * kTrSampleMs / 1000);
  EXPECT_EQ(events[2].record, 0);
  EXPECT_EQ(events[3].kind, EventKind::Swell);
  EXPECT_EQ(events[3].channel, 1);
}

TEST(BandSummary, SharesOfPointsAndTenMinuteMeans) {
  // 60 s points: blocks of 10. Block 1 averages 230 with two points out of
  // the band (207 .. 253), block 2 averages 200, the last 5 points make no
  // complete block.
  std::vector<float> v(25, 230.0f);
  v[3] = 200;
  v[4] = 260;
  for (int k = 10; k < 20; ++k) v[k] = 200;
  const StoreFamily store = StoreOf(v, std::vector<float>(25, 1.0f), "V", "A");
  const std::vector<BandShare> shares = SummariseBand(StoreRmsSeries(store), EventLimits{});
  ASSERT_EQ(shares.size(), 1u) << "only the channel in V";
  EXPECT_EQ(shares[0].points, 25);
  EXPECT_EQ(shares[0].pointsInBand, 13);
  ASSERT_TRUE(shares[0].hasTenMinute);
  EXPECT_EQ(shares[0].means, 2);
  EXPECT_EQ(shares[0].meansInBand, 1);
  EXPECT_DOUBLE_EQ(shares[0].low, 207.0);
  EXPECT_DOUBLE_EQ(shares[0].high, 253.0);

  for (const auto& [interval, points] : std::vector<std::pair<double, std::int64_t>>{
           {1, 600}, {60, 10}, {600, 1}, {7, 0}, {3600, 0}, {0, 0}}) {
    EXPECT_EQ(PointsPerTenMinutes(interval), points) << interval;
  }
}

TEST(EventLimits, ThresholdsMustBePositiveAndInOrder) {
  EXPECT_EQ(EventLimitsProblem(EventLimits{}), "");
  const auto with = [](auto change) {
    EventLimits l;
    change(l);
    return !EventLimitsProblem(l).empty();
  };
  EXPECT_TRUE(with([](EventLimits& l) { l.nominal = 0; }));
  EXPECT_TRUE(with([](EventLimits& l) { l.dipPct = -90; }));
  EXPECT_TRUE(with([](EventLimits& l) { l.overCurrent = -1; }));
  EXPECT_TRUE(with([](EventLimits& l) { l.swellPct = std::nan(""); }));
  EXPECT_TRUE(with([](EventLimits& l) { l.interruptionPct = 90; }));
  EXPECT_TRUE(with([](EventLimits& l) { l.dipPct = 100; }));
  EXPECT_TRUE(with([](EventLimits& l) { l.swellPct = 100; }));
  EXPECT_TRUE(with([](EventLimits& l) { l.hysteresisPct = 10; }));
  EXPECT_FALSE(with([](EventLimits& l) { l.hysteresisPct = 9.9; }));
}

TEST(AnalysisText, LevelsReadLoAsTheDataListDoesAndDurationsReadAsClockTimes) {
  for (const auto& [value, decimals, text] :
       std::vector<std::tuple<double, int, std::string>>{{0.04, 1, "LO"},
                                                         {-0.04, 1, "LO"},
                                                         {0.06, 1, "0.1"},
                                                         {230.44, 1, "230.4"},
                                                         {0, 0, "0"}}) {
    EXPECT_EQ(LevelText(value, decimals), text) << value;
  }
  for (const auto& [seconds, text] :
       std::vector<std::pair<double, std::string>>{{kTrWavePoints * kTrSampleMs / 1000, "21.9 ms"},
                                                   {120, "00:02:00"},
                                                   {90061, "1 d 01:01:01"}}) {
    EXPECT_EQ(DurationText(seconds), text) << seconds;
  }
}

}  // namespace
}  // namespace acv
