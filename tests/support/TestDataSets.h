#pragma once
// Small data sets for tests: a STORE RMS series and a real-time run from
// plain lists, and TR records of a steady level with a few samples set apart,
// as a transient shows.
#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

#include "data/CDTDoc.h"

namespace acv::test {

inline constexpr TimeStamp kStart = 1772359200;  // 2026-03-01 10:00:00 UTC

// CH1 and/or CH2 (an empty list: the channel is absent), in the given units.
inline StoreFamily StoreOf(std::vector<float> ch1, std::vector<float> ch2 = {},
                           const char* unit1 = "V", const char* unit2 = "A",
                           float interval = 60.0f) {
  StoreFamily s;
  s.rmsStartTime = kStart;
  s.rmsInterval = interval;
  s.rmsCount = static_cast<std::int32_t>(std::max(ch1.size(), ch2.size()));
  s.hasCh1 = ch1.empty() ? 0 : 1;
  s.hasCh2 = ch2.empty() ? 0 : 1;
  s.rmsCh1 = std::move(ch1);
  s.rmsCh2 = std::move(ch2);
  s.rmsUnitCh1 = unit1;
  s.rmsUnitCh2 = unit2;
  return s;
}

// A real-time run of CH1 in V and CH2 in A, at 50 Hz.
inline RealTimeFamily RealTimeOf(std::vector<ChannelPair> points, std::int32_t interval = 2) {
  RealTimeFamily run;
  run.rtStartTime = kStart;
  run.rtInterval = interval;
  run.rtCount = static_cast<std::int32_t>(points.size());
  run.rtRms = std::move(points);
  run.rtFreq.assign(run.rtRms.size(), {50.0f, 50.0f});
  run.rtHasCh1 = run.rtHasCh2 = 1;
  run.rtUnitCh1 = "V";
  run.rtUnitCh2 = "A";
  return run;
}

struct TrRecordSpec {
  TimeStamp time = 0;
  std::uint8_t unit = kUnitVolt;
  std::uint8_t channel = kChannel1;
  float level = 0.0f;
  std::vector<std::pair<int, float>> samples = {};  // sample index, value
};

// Appends the records to the data set's TR part and counts them.
inline void AddTrRecords(StoreFamily& store, std::initializer_list<TrRecordSpec> records) {
  for (const TrRecordSpec& r : records) {
    const std::size_t first = store.trWaves.size();
    store.trWaves.resize(first + kTrWavePoints, r.level);
    for (const auto& [index, value] : r.samples) {
      store.trWaves[first + static_cast<std::size_t>(index)] = value;
    }
    store.trTimes.push_back(r.time);
    store.trUnit.push_back(r.unit);
    store.trChannel.push_back(r.channel);
    ++store.trCount;
  }
}

}  // namespace acv::test
