// Events with hysteresis, transients and their order, the scanner that
// extends them over a growing series, and the rules the limits must keep.
// Levels with the default limits (Un = 230 V): a dip below 207 V ends at
// 211.6 V, a swell above 253 V ends at 248.4 V, an interruption below 11.5 V
// ends at 16.1 V.
#include "analysis/Events.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <tuple>

#include "analysis/AnalysisText.h"
#include "support/TestDataSets.h"

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
  const std::vector<Event> events = FindLevelEvents(StoreRmsSeries(store, {}), limits);
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
                              {{K::Dip, 2, 6, 0, false}, {K::Interruption, 3, 5, 0, false}}},
                    LevelCase{"InterruptionHysteresisAndItsDipFromTheFirstPoint",
                              {0, 16, 16.1f, 0, 230},
                              "V",
                              0,
                              {{K::Dip, 1, 4, 0, false},
                               {K::Interruption, 1, 2, 0, false},
                               {K::Interruption, 4, 4, 0, false}}},
                    LevelCase{"InterruptionOpenAtTheLastPoint",
                              {230, 200, 5},
                              "V",
                              0,
                              {{K::Dip, 2, 3, 5, true}, {K::Interruption, 3, 3, 5, true}}},
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
  // The second record comes at the dip's second.
  test::AddTrRecords(store,
                     {{kStart + 100, kUnitVolt, kChannel1, 10.0f},
                      {kStart + 60, kUnitAmpere, kChannel2, 10.0f, {{7, -300.0f}, {8, 250.0f}}}});
  const std::vector<Event> events = StoreEvents(store, EventLimits{}, {});
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

// A series read in pieces, as a real-time run grows, gives at every step the
// events a scan of all its points so far gives: events open across a piece's
// end, channels and kinds interleaved, damaged points.
TEST(Events, ScannerExtendedPieceByPieceAgreesWithAFullScan) {
  std::mt19937 random(7);
  // Levels chosen around every threshold and its end level.
  const std::vector<float> levels = {230, 209, 205, 212, 15, 10, 17, 0, 250, 255, 247, 230};
  std::uniform_int_distribution<std::size_t> pick(0, levels.size() - 1);
  std::uniform_int_distribution<int> stay(1, 6), piece(1, 9), damage(0, 60);
  RealTimeFamily run;
  run.rtStartTime = kStart;
  run.rtInterval = 1;
  run.rtHasCh1 = run.rtHasCh2 = 1;
  run.rtUnitCh1 = "V";
  run.rtUnitCh2 = "A";
  for (int k = 0; k < 600;) {
    const float v = levels[pick(random)];
    for (int n = stay(random); n > 0 && k < 600; --n, ++k) {
      const float a = damage(random) == 0 ? std::numeric_limits<float>::quiet_NaN() : v / 20;
      run.rtRms.push_back({damage(random) == 0 ? std::numeric_limits<float>::infinity() : v, a});
    }
  }
  EventLimits limits;
  limits.overCurrent = 12;
  EventScanner scanner(limits);
  std::size_t most = 0;
  while (run.rtCount < 600) {
    run.rtCount = std::min(600, run.rtCount + piece(random));
    const AnalysisSeries series = RealTimeRmsSeries(run, {});
    scanner.Extend(series);
    ASSERT_EQ(scanner.Events(), FindLevelEvents(series, limits)) << run.rtCount << " points";
    most = std::max(most, scanner.Events().size());
  }
  EXPECT_GT(most, 20u) << "the series makes plenty of events";
  // Another series (fewer points than read): read again from its start.
  run.rtCount = 50;
  scanner.Extend(RealTimeRmsSeries(run, {}));
  EXPECT_EQ(scanner.Events(), FindLevelEvents(RealTimeRmsSeries(run, {}), limits));
}

// A long steady run is passed over in blocks while no value starts an
// event; a value right at a level that no float equals starts an event
// exactly as the comparison of its widened value says, wherever in a block
// it lies, and a damaged value in a block starts nothing.
TEST(Events, AValueNextToALevelStartsAnEventWhereverItLies) {
  EventLimits limits;
  limits.nominal = 231.7;  // levels of 208.53 V and 254.87 V: no float is either
  const double dip = limits.DipLevel(), swell = limits.SwellLevel();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  struct Row {
    float value;
    bool starts;
  };
  const std::vector<Row> rows = {
      {static_cast<float>(dip), static_cast<double>(static_cast<float>(dip)) < dip},
      {std::nextafter(static_cast<float>(dip), 0.0f), true},
      {std::nextafter(static_cast<float>(dip), inf), false},
      {static_cast<float>(swell), static_cast<double>(static_cast<float>(swell)) > swell},
      {std::nextafter(static_cast<float>(swell), inf), true},
      {std::nextafter(static_cast<float>(swell), 0.0f), false},
      {nan, false},
      {inf, false},
      {-inf, false}};
  for (const Row& row : rows) {
    for (const int at : {0, 63, 64, 127, 190, 299}) {
      SCOPED_TRACE(testing::Message() << row.value << " at " << at);
      std::vector<float> values(300, 231.7f);
      values[static_cast<std::size_t>(at)] = row.value;
      const std::vector<Event> events =
          FindLevelEvents(StoreRmsSeries(StoreOf(values, {}, "V"), {}), limits);
      ASSERT_EQ(events.size(), row.starts ? 1u : 0u);
      if (row.starts) {
        EXPECT_EQ(events[0].first, at + 1);
      }
    }
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
  EXPECT_TRUE(with([](EventLimits& l) { l.bandPct = std::nan(""); }));
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
