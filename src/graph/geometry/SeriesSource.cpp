#include "graph/geometry/SeriesSource.h"

#include <algorithm>

namespace acv {
namespace {

std::int64_t Clip(std::int64_t claimed, std::size_t held) {
  return std::clamp<std::int64_t>(claimed, 0, static_cast<std::int64_t>(held));
}

// ChannelPair is two floats; the real-time arrays are read as float pairs.
const float* FirstOf(const std::vector<ChannelPair>& v) {
  return v.empty() ? nullptr : &v.front().ch1;
}
const float* SecondOf(const std::vector<ChannelPair>& v) {
  return v.empty() ? nullptr : &v.front().ch2;
}

}  // namespace

static_assert(sizeof(ChannelPair) == 2 * sizeof(float));

SeriesSource::SeriesSource(const CDTDoc& doc, GraphMode mode) : mode_(mode) {
  switch (mode) {
    case GraphMode::StoreRms:
      base_[0] = doc.rmsCh1.data();
      base_[1] = doc.rmsCh2.data();
      count_[0] = doc.hasCh1 == 1 ? Clip(doc.rmsCount, doc.rmsCh1.size()) : 0;
      count_[1] = doc.hasCh2 == 1 ? Clip(doc.rmsCount, doc.rmsCh2.size()) : 0;
      scale_[0] = doc.scaling[0].OfValue();
      scale_[1] = doc.scaling[1].OfValue();
      if (doc.rmsExternal != nullptr) {
        external_ = doc.rmsExternal.get();
        const std::int64_t count = std::min<std::int64_t>(doc.rmsCount, external_->Count());
        count_[0] = doc.hasCh1 == 1 && external_->Present(0) ? std::max<std::int64_t>(count, 0) : 0;
        count_[1] = doc.hasCh2 == 1 && external_->Present(1) ? std::max<std::int64_t>(count, 0) : 0;
        scale_[0] = scale_[1] = 1.0;
      }
      break;
    case GraphMode::StoreTr: {
      base_[0] = base_[1] = doc.trWaves.data();
      const std::int64_t claimed = static_cast<std::int64_t>(doc.trCount) * kTrWavePoints;
      count_[0] = count_[1] = Clip(claimed, doc.trWaves.size());
      // Each record is one channel's; it is drawn as that channel.
      scale_[0] = doc.scaling[0].OfSample();
      scale_[1] = doc.scaling[1].OfSample();
      break;
    }
    case GraphMode::RealTimeEpa:
      base_[0] = &doc.epaWave.front().ch1;
      base_[1] = &doc.epaWave.front().ch2;
      stride_ = 2;
      count_[0] = count_[1] = kEpaPoints;
      scale_[0] = doc.scaling[0].OfSample();
      scale_[1] = doc.scaling[1].OfSample();
      break;
    case GraphMode::RealTimeRms:
    case GraphMode::RealTimeFreq: {
      const auto& points = mode == GraphMode::RealTimeRms ? doc.rtRms : doc.rtFreq;
      base_[0] = FirstOf(points);
      base_[1] = SecondOf(points);
      stride_ = 2;
      count_[0] = count_[1] = Clip(doc.rtCount, points.size());
      if (mode == GraphMode::RealTimeRms) {
        scale_[0] = doc.scaling[0].OfSample();
        scale_[1] = doc.scaling[1].OfSample();
      }
      break;
    }
    case GraphMode::RealTimeS:
      base_[0] = FirstOf(doc.rtRms);
      factor_ = SecondOf(doc.rtRms);
      stride_ = 2;
      count_[0] = doc.HasApparentPower() ? Clip(doc.rtCount, doc.rtRms.size()) : 0;
      count_[1] = 0;  // S(VA) has no channel 2 curve
      scale_[0] = doc.scaling[0].OfSample() * doc.scaling[1].OfSample();
      break;
  }
  for (int c = 0; c < 2; ++c) {
    if (base_[c] == nullptr && external_ == nullptr) count_[c] = 0;
    if (mode == GraphMode::StoreTr || mode == GraphMode::RealTimeEpa) {
      waveDecimals_[c] = SampleDecimals(scale_[c]);
    }
  }
}

ModeUnits UnitsOfMode(const CDTDoc& doc, GraphMode mode, std::int64_t trRecord) {
  switch (mode) {
    case GraphMode::StoreRms:
      return {doc.rmsUnitCh1, doc.rmsUnitCh2};
    case GraphMode::StoreTr: {
      std::string unit;
      if (trRecord >= 0 && static_cast<std::uint64_t>(trRecord) < doc.trUnit.size()) {
        unit = UnitText(doc.trUnit[static_cast<std::size_t>(trRecord)]);
      }
      return {unit, unit};
    }
    case GraphMode::RealTimeEpa:
    case GraphMode::RealTimeRms:
      return {doc.rtUnitCh1, doc.rtUnitCh2};
    case GraphMode::RealTimeFreq:
      return {"Hz", "Hz"};
    case GraphMode::RealTimeS:
      return {"VA", "VA"};
  }
  return {};
}

TimeStamp PointTime(const CDTDoc& doc, GraphMode mode, std::int64_t index) {
  switch (mode) {
    case GraphMode::StoreRms:
      return doc.RmsSampleTime(index);
    case GraphMode::StoreTr:
      return doc.TrSampleTime(index);
    case GraphMode::RealTimeEpa:
      return doc.RealTimeSampleTime(std::max<std::int64_t>(doc.rtCount - 1, 0));
    case GraphMode::RealTimeRms:
    case GraphMode::RealTimeFreq:
    case GraphMode::RealTimeS:
      return doc.RealTimeSampleTime(index);
  }
  return 0;
}

}  // namespace acv
