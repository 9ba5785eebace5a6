// The analysis in primary units: each part of the data set reads its values
// times the factor that belongs to it (STORE RMS the ratio, the real-time RMS
// and TR samples ratio x sample scale), so statistics and events are those of
// the primary quantity, measured against a primary nominal voltage.
#include <gtest/gtest.h>

#include "analysis/Events.h"
#include "analysis/SpanStatistics.h"
#include "support/TestDataSets.h"

namespace acv {
namespace {

using test::StoreOf;

// CH1 behind a 100:1 transformer with 0.01 V per count, CH2 behind a 20:1
// clamp with 0.001 A per count.
ChannelScaling Scaling() {
  return {ChannelScale{100.0, 0.01}, ChannelScale{20.0, 0.001}};
}

TEST(ScaledSeries, EachPartReadsItsOwnFactor) {
  const StoreFamily store = StoreOf({2.3f, 2.2f}, {0.5f, 0.25f});
  StoreFamily tr = store;
  test::AddTrRecords(tr, {{test::kStart, kUnitAmpere, kChannel2, 100.0f, {{7, -3000.0f}}}});
  const RealTimeFamily run = test::RealTimeOf({{23000.0f, 500.0f}});
  struct Case {
    const char* part;
    AnalysisSeries series;
    int channel;
    std::int64_t point;
    float value;
  };
  const ChannelScaling s = Scaling();
  const Case cases[] = {
      {"STORE RMS CH1: the ratio only", StoreRmsSeries(store, s), 0, 1, 220.0f},
      {"STORE RMS CH2", StoreRmsSeries(store, s), 1, 0, 10.0f},
      {"real-time RMS CH1: ratio x scale", RealTimeRmsSeries(run, s), 0, 0, 23000.0f},
      {"real-time RMS CH2", RealTimeRmsSeries(run, s), 1, 0, 10.0f},
      {"TR record of CH2: CH2's ratio x scale", TrRecordSeries(tr, 0, s), 1, 7, -60.0f},
      {"identity: the stored float", StoreRmsSeries(store, {}), 0, 1, 2.2f},
  };
  for (const Case& c : cases) {
    EXPECT_FLOAT_EQ(c.series.channels[c.channel].values[c.point], c.value) << c.part;
  }
  // A sub-series keeps the factor of its series.
  EXPECT_FLOAT_EQ(SubSeries(StoreRmsSeries(store, s), 1, 1).channels[0].values[0], 220.0f);
}

TEST(ScaledSeries, StatisticsAndEventsAreThoseOfThePrimaryQuantity) {
  // 11 kV behind a 100:1 transformer: the logger sees 110 V.
  const StoreFamily store = StoreOf({110.0f, 110.0f, 95.0f, 110.0f, 110.0f}, {}, "V", "A");
  EventLimits limits;
  limits.nominal = 11000.0;
  const ChannelScaling scaling{ChannelScale{100.0, 1.0}, ChannelScale{}};

  const SpanStatistics stats = ScanSpan(StoreRmsSeries(store, scaling), 0, 4);
  EXPECT_FLOAT_EQ(stats.channels[0].min, 9500.0f);
  EXPECT_NEAR(stats.channels[0].mean, 10700.0, 1e-9);

  const std::vector<Event> events = StoreEvents(store, limits, scaling);
  ASSERT_EQ(events.size(), 1u) << "one dip to 86 % of the primary nominal";
  EXPECT_EQ(events[0].kind, EventKind::Dip);
  EXPECT_EQ(events[0].first, 3);
  EXPECT_DOUBLE_EQ(events[0].extreme, 9500.0);
  // Read without the ratio, every point lies below 5 % of 11 kV.
  EXPECT_EQ(StoreEvents(store, limits, {}).front().kind, EventKind::Dip);
  EXPECT_EQ(StoreEvents(store, limits, {}).back().kind, EventKind::Interruption);
}

TEST(ScaledSeries, TransientExtremeAndOverCurrentInPrimaryUnits) {
  StoreFamily store;
  test::AddTrRecords(store, {{test::kStart, kUnitVolt, kChannel1, 0.0f, {{3, -5200.0f}}}});
  const std::vector<Event> transients = TransientEvents(store, Scaling());
  ASSERT_EQ(transients.size(), 1u);
  EXPECT_NEAR(transients[0].extreme, -5200.0 * 0.01 * 100.0, 1e-3);

  // 30 A behind the 20:1 clamp trips a 500 A limit only once scaled.
  EventLimits limits;
  limits.overCurrent = 500.0;
  const RealTimeFamily run = test::RealTimeOf({{230.0f, 30000.0f}, {230.0f, 20000.0f}});
  const std::vector<Event> events = RealTimeEvents(run, limits, Scaling());
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].kind, EventKind::OverCurrent);
  EXPECT_DOUBLE_EQ(events[0].extreme, 600.0);
}

TEST(ScaledSeries, ScannerReadsTheRunAgainUnderAnotherScaling) {
  const RealTimeFamily run = test::RealTimeOf({{230.0f, 1.0f}, {230.0f, 1.0f}, {150.0f, 1.0f}});
  EventScanner scanner{EventLimits{}};
  scanner.Extend(RealTimeRmsSeries(run, {}));
  ASSERT_EQ(scanner.Events().size(), 1u) << "150 V dips below 207 V";
  // Twice the ratio: 460 V, 460 V, 300 V are swells, read from the first point.
  ChannelScaling doubled;
  doubled[0].ratio = 2.0;
  scanner.Extend(RealTimeRmsSeries(run, doubled));
  EXPECT_EQ(scanner.Events(), RealTimeEvents(run, EventLimits{}, doubled));
  ASSERT_FALSE(scanner.Events().empty());
  EXPECT_EQ(scanner.Events().front().kind, EventKind::Swell);
}

}  // namespace
}  // namespace acv
