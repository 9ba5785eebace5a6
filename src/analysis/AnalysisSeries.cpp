#include "analysis/AnalysisSeries.h"

#include <algorithm>
#include <cstddef>

namespace acv {

TimeStamp AnalysisSeries::PointTime(std::int64_t k) const {
  k += offset;
  switch (part) {
    case SeriesPart::StoreRms:
      return store->RmsSampleTime(k);
    case SeriesPart::RealTimeRms:
      return realTime->RealTimeSampleTime(k);
    case SeriesPart::TrRecord:
      return store->TrSampleTime(TrRecordStart(record));
  }
  return 0;
}

AnalysisSeries SubSeries(const AnalysisSeries& series, std::int64_t first, std::int64_t last) {
  AnalysisSeries s = series;
  first = std::clamp<std::int64_t>(first, 0, series.count);
  last = std::clamp<std::int64_t>(last, first - 1, series.count - 1);
  s.offset += first;
  s.count = last - first + 1;
  for (SeriesChannel& ch : s.channels) {
    if (ch.present) ch.values = ch.values.From(first);
  }
  return s;
}

std::int64_t AnalysisSeries::PointAtTime(TimeStamp t) const {
  // Point times never decrease, so a binary search finds it.
  std::int64_t low = 0, high = count - 1;
  while (low < high) {
    const std::int64_t mid = low + (high - low + 1) / 2;
    if (PointTime(mid) <= t) {
      low = mid;
    } else {
      high = mid - 1;
    }
  }
  return low;
}

bool AnalysisSeries::HasVoltAmpere(int* volt) const {
  if (!channels[0].present || !channels[1].present) return false;
  const std::string& a = channels[0].unit;
  const std::string& b = channels[1].unit;
  if (a == "V" && b == "A") {
    if (volt) *volt = 0;
    return true;
  }
  if (a == "A" && b == "V") {
    if (volt) *volt = 1;
    return true;
  }
  return false;
}

AnalysisSeries StoreRmsSeries(const StoreFamily& store, const ChannelScaling& scaling) {
  AnalysisSeries s;
  s.part = SeriesPart::StoreRms;
  s.store = &store;
  s.interval = store.rmsInterval;
  // Never past what the arrays really hold, whatever the count says.
  std::int64_t count = store.rmsCount > 0 ? store.rmsCount : 0;
  const bool has[2] = {store.hasCh1 == 1, store.hasCh2 == 1};
  const std::vector<float>* arrays[2] = {&store.rmsCh1, &store.rmsCh2};
  const std::string* units[2] = {&store.rmsUnitCh1, &store.rmsUnitCh2};
  for (int c = 0; c < 2; ++c) {
    if (!has[c] || arrays[c]->empty()) continue;
    count = std::min<std::int64_t>(count, static_cast<std::int64_t>(arrays[c]->size()));
    s.channels[c] = {true, *units[c], ChannelValues(arrays[c]->data(), 1, scaling[c].OfValue())};
  }
  s.count = s.channels[0].present || s.channels[1].present ? count : 0;
  return s;
}

AnalysisSeries RealTimeRmsSeries(const RealTimeFamily& run, const ChannelScaling& scaling) {
  AnalysisSeries s;
  s.part = SeriesPart::RealTimeRms;
  s.realTime = &run;
  s.interval = run.rtInterval;
  s.count = std::clamp<std::int64_t>(run.rtCount, 0, static_cast<std::int64_t>(run.rtRms.size()));
  if (s.count == 0) return s;
  const std::ptrdiff_t stride = sizeof(ChannelPair) / sizeof(float);
  if (run.rtHasCh1 == 1) {
    s.channels[0] = {true, run.rtUnitCh1, {&run.rtRms[0].ch1, stride, scaling[0].OfSample()}};
  }
  if (run.rtHasCh2 == 1) {
    s.channels[1] = {true, run.rtUnitCh2, {&run.rtRms[0].ch2, stride, scaling[1].OfSample()}};
  }
  if (!s.channels[0].present && !s.channels[1].present) s.count = 0;
  return s;
}

AnalysisSeries TrRecordSeries(const StoreFamily& store, int record, const ChannelScaling& scaling) {
  AnalysisSeries s;
  s.part = SeriesPart::TrRecord;
  s.store = &store;
  s.record = record;
  s.interval = kTrSampleMs / 1000.0;
  const std::size_t r = static_cast<std::size_t>(record);
  if (record < 0 || r >= store.trTimes.size() || r >= store.trChannel.size() ||
      r >= store.trUnit.size() ||
      static_cast<std::size_t>(TrRecordStart(record + 1)) > store.trWaves.size()) {
    return s;
  }
  if (store.trChannel[r] != kChannel1 && store.trChannel[r] != kChannel2) return s;
  const int c = store.trChannel[r] == kChannel2 ? 1 : 0;
  s.channels[c] = {
      true, UnitText(store.trUnit[r]),
      ChannelValues(store.trWaves.data() + TrRecordStart(record), 1, scaling[c].OfSample())};
  s.count = kTrWavePoints;
  return s;
}

}  // namespace acv
