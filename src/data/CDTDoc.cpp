#include "data/CDTDoc.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "data/NumberText.h"

namespace acv {
namespace {

// Offsets beyond this (about 35,000 years) cannot come from a real interval;
// clamping keeps the time arithmetic defined for damaged values.
constexpr double kMaxOffsetSeconds = 1099511627776.0;  // 2^40

TimeStamp AddSeconds(TimeStamp base, std::int64_t offset) {
  TimeStamp sum = 0;
  if (__builtin_add_overflow(base, offset, &sum)) {
    return offset > 0 ? std::numeric_limits<TimeStamp>::max()
                      : std::numeric_limits<TimeStamp>::min();
  }
  return sum;
}

void ExtremeTexts(const StoreFamily& doc, const std::string& unit, float maximum,
                  std::int64_t maxAt, float minimum, std::int64_t minAt, std::string& maxText,
                  std::string& minText) {
  const std::string maxTime =
      FormatTime(doc.RmsSampleTime(std::max<std::int64_t>(maxAt, 0)), kSampleTimeFormat);
  const std::string minTime =
      FormatTime(doc.RmsSampleTime(std::max<std::int64_t>(minAt, 0)), kSampleTimeFormat);
  maxText = FormatNumber("%.1f ", maximum) + unit + " @" + maxTime;
  minText = FormatNumber("%.1f", minimum) + unit + " @" + minTime;
}

// One channel's STORE statistics: the maximum text carries a blank between
// value and unit, the minimum text does not; both name the sample time.
void StoreStatistics(const StoreFamily& doc, const std::vector<float>& values,
                     const std::string& unit, std::string& maxText, std::string& minText,
                     double factor = 1.0) {
  // The logger's own texts start from +-1000; scaled values may lie far
  // beyond, so those start from the first value instead.
  const bool scaled = factor != 1.0;
  float maximum = scaled ? -std::numeric_limits<float>::infinity() : -1000.0f;
  float minimum = scaled ? std::numeric_limits<float>::infinity() : 1000.0f;
  std::int64_t maxAt = -1;
  std::int64_t minAt = -1;
  const std::int64_t count = std::min<std::int64_t>(doc.rmsCount, values.size());
  for (std::int64_t i = 0; i < count; ++i) {
    const auto v = static_cast<float>(values[static_cast<std::size_t>(i)] * factor);
    // ">=" and "<=": a tie moves the time stamp to the later sample.
    if (v >= maximum) {
      maximum = v;
      maxAt = i;
    }
    if (v <= minimum) {
      minimum = v;
      minAt = i;
    }
  }
  // An empty series (or one entirely beyond +-1000) never replaces a start
  // value; the text then shows that value with the first sample's time.
  if (scaled && maxAt < 0) {
    maxText = minText = "";
    return;
  }
  ExtremeTexts(doc, unit, maximum, maxAt, minimum, minAt, maxText, minText);
}

}  // namespace

std::string UnitText(std::uint8_t unitCode) {
  if (unitCode == kUnitVolt) return "V";
  if (unitCode == kUnitAmpere) return "A";
  return {};
}

TimeStamp StoreFamily::RmsSampleTime(std::int64_t i) const {
  // In double: the product of a count and a whole-second interval is exact
  // there, where a float would round large products.
  double offset = std::trunc(static_cast<double>(i) * static_cast<double>(rmsInterval));
  if (!std::isfinite(offset)) offset = 0.0;
  offset = std::clamp(offset, -kMaxOffsetSeconds, kMaxOffsetSeconds);
  return AddSeconds(rmsStartTime, static_cast<std::int64_t>(offset));
}

TimeStamp StoreFamily::TrSampleTime(std::int64_t j) const {
  if (j < 0) return 0;
  const std::uint64_t record = static_cast<std::uint64_t>(j / kTrWavePoints);
  if (record >= trTimes.size()) return 0;
  return trTimes[record];
}

TimeStamp RealTimeFamily::RealTimeSampleTime(std::int64_t i) const {
  std::int64_t offset = 0;
  if (__builtin_mul_overflow(static_cast<std::int64_t>(rtInterval), i, &offset)) {
    offset = (rtInterval < 0) != (i < 0) ? std::numeric_limits<std::int64_t>::min()
                                         : std::numeric_limits<std::int64_t>::max();
  }
  return AddSeconds(rtStartTime, offset);
}

bool RealTimeFamily::HasApparentPower() const {
  return rtHasCh1 == 1 && rtHasCh2 == 1 && rtUnitCh1 != rtUnitCh2;
}

float RealTimeFamily::ApparentPower(std::int64_t i) const {
  if (i < 0 || static_cast<std::uint64_t>(i) >= rtRms.size()) return 0.0f;
  const ChannelPair& p = rtRms[static_cast<std::size_t>(i)];
  return p.ch2 * p.ch1;
}

void StoreFamily::ComputeStoreStatistics() {
  if (hasCh1 == 1) {
    StoreStatistics(*this, rmsCh1, rmsUnitCh1, rmsMaxTextCh1, rmsMinTextCh1);
  } else {
    rmsMaxTextCh1.clear();
    rmsMinTextCh1.clear();
  }
  if (hasCh2 == 1) {
    StoreStatistics(*this, rmsCh2, rmsUnitCh2, rmsMaxTextCh2, rmsMinTextCh2);
  } else {
    rmsMaxTextCh2.clear();
    rmsMinTextCh2.clear();
  }
}

namespace {

// The text of a real-time extreme: the value, or the range word when the
// value lies outside what the logger can measure (no frequency found, no
// signal).
std::string ExtremeText(ExtremeKind kind, float v, TimeStamp pointTime) {
  const std::string time = FormatTime(pointTime, kSampleTimeFormat);
  if (kind == ExtremeKind::Frequency) {
    if (v >= 400.0f) return "OL @" + time;
    if (v <= 40.0f) return std::string(kLevelLow) + " @" + time;
  } else if (v == 0.0f) {
    // Only a level of exactly zero: the extremes keep every digit they have.
    return std::string(kLevelLow) + " @" + time;
  }
  return FormatNumber("%.1f @", v) + time;
}

}  // namespace

void UpdateExtremes(ExtremeKind kind, float& maximum, float& minimum, float value,
                    std::string& maxText, std::string& minText, std::int32_t n,
                    TimeStamp pointTime) {
  if (n == 0) {
    maximum = value;
    minimum = value;
  }
  if (value >= maximum) {
    maximum = value;
    maxText = ExtremeText(kind, value, pointTime);
  }
  if (value <= minimum) {
    minimum = value;
    minText = ExtremeText(kind, value, pointTime);
  }
}

void StoreExtremeTexts(const StoreFamily& store, const std::string& unit, float maximum,
                       std::int64_t maxAt, float minimum, std::int64_t minAt, std::string& maxText,
                       std::string& minText) {
  // As ComputeStoreStatistics: from the logger's start values of +-1000.
  if (maxAt < 0 || maximum < -1000.0f) {
    maximum = -1000.0f;
    maxAt = -1;
  }
  if (minAt < 0 || minimum > 1000.0f) {
    minimum = 1000.0f;
    minAt = -1;
  }
  ExtremeTexts(store, unit, maximum, maxAt, minimum, minAt, maxText, minText);
}

StoreStatisticsTexts ShownStoreStatistics(const StoreFamily& store, const ChannelScaling& scaling) {
  StoreStatisticsTexts t{{store.rmsMaxTextCh1, store.rmsMaxTextCh2},
                         {store.rmsMinTextCh1, store.rmsMinTextCh2}};
  const std::vector<float>* values[2] = {&store.rmsCh1, &store.rmsCh2};
  const std::string* units[2] = {&store.rmsUnitCh1, &store.rmsUnitCh2};
  const bool present[2] = {store.hasCh1 == 1, store.hasCh2 == 1};
  for (std::size_t c = 0; c < 2; ++c) {
    if (!present[c] || scaling[c].OfValue() == 1.0) continue;
    StoreStatistics(store, *values[c], *units[c], t.max[c], t.min[c], scaling[c].OfValue());
  }
  return t;
}

RealTimeStatisticsTexts ShownRealTimeStatistics(const RealTimeFamily& run,
                                                const ChannelScaling& scaling) {
  RealTimeStatisticsTexts t;
  if (scaling[0].OfSample() == 1.0 && scaling[1].OfSample() == 1.0) {
    t = {run.rtRmsMaxText,  run.rtRmsMinText, run.rtFreqMaxText,
         run.rtFreqMinText, run.rtSMaxText,   run.rtSMinText};
  } else {
    t = RealTimeStatistics(run, {scaling[0].OfSample(), scaling[1].OfSample()});
  }
  return t;
}

void RecomputeRealTimeStatistics(RealTimeFamily& doc) {
  RealTimeStatisticsTexts t = RealTimeStatistics(doc, {1.0, 1.0});
  doc.rtRmsMaxText = std::move(t.rmsMax);
  doc.rtRmsMinText = std::move(t.rmsMin);
  doc.rtFreqMaxText = std::move(t.freqMax);
  doc.rtFreqMinText = std::move(t.freqMin);
  doc.rtSMaxText = std::move(t.sMax);
  doc.rtSMinText = std::move(t.sMin);
}

RealTimeStatisticsTexts RealTimeStatistics(const RealTimeFamily& doc,
                                           std::array<double, 2> factors) {
  RealTimeStatisticsTexts texts;
  // The same comparisons as UpdateExtremes, but only the index of the last
  // update is kept and each text is formatted once at the end: a long
  // constant series would otherwise format a time for every point.
  struct Series {
    ExtremeKind kind;
    std::string* maxText;
    std::string* minText;
    float maximum = 0.0f, minimum = 0.0f;
    std::int64_t maxAt = -1, minAt = -1;
    float maxValue = 0.0f, minValue = 0.0f;
    void Take(float v, std::int64_t n) {
      if (n == 0) maximum = minimum = v;
      if (v >= maximum) {
        maximum = v;
        maxAt = n;
        maxValue = v;
      }
      if (v <= minimum) {
        minimum = v;
        minAt = n;
        minValue = v;
      }
    }
  };
  Series freq1{ExtremeKind::Frequency, &texts.freqMax[0], &texts.freqMin[0]};
  Series rms1{ExtremeKind::Level, &texts.rmsMax[0], &texts.rmsMin[0]};
  Series freq2{ExtremeKind::Frequency, &texts.freqMax[1], &texts.freqMin[1]};
  Series rms2{ExtremeKind::Level, &texts.rmsMax[1], &texts.rmsMin[1]};
  Series power{ExtremeKind::Level, &texts.sMax, &texts.sMin};
  // The frequency is never scaled; S is the product of the scaled RMS.
  const auto scaled = [](float v, double factor) { return static_cast<float>(v * factor); };

  const bool ch1 = doc.rtHasCh1 == 1;
  const bool ch2 = doc.rtHasCh2 == 1;
  const bool withPower = doc.HasApparentPower();
  const std::int64_t count = std::min<std::int64_t>(
      {static_cast<std::int64_t>(std::max(doc.rtCount, 0)),
       static_cast<std::int64_t>(doc.rtRms.size()), static_cast<std::int64_t>(doc.rtFreq.size())});
  for (std::int64_t n = 0; n < count; ++n) {
    const ChannelPair& rms = doc.rtRms[static_cast<std::size_t>(n)];
    const ChannelPair& freq = doc.rtFreq[static_cast<std::size_t>(n)];
    if (ch1) {
      freq1.Take(freq.ch1, n);
      rms1.Take(scaled(rms.ch1, factors[0]), n);
    }
    if (ch2) {
      freq2.Take(freq.ch2, n);
      rms2.Take(scaled(rms.ch2, factors[1]), n);
    }
    if (withPower) power.Take(scaled(rms.ch2 * rms.ch1, factors[0] * factors[1]), n);
  }
  for (Series* s : {&freq1, &rms1, &freq2, &rms2, &power}) {
    s->maxText->clear();
    s->minText->clear();
    if (s->maxAt >= 0) {
      *s->maxText = ExtremeText(s->kind, s->maxValue, doc.RealTimeSampleTime(s->maxAt));
    }
    if (s->minAt >= 0) {
      *s->minText = ExtremeText(s->kind, s->minValue, doc.RealTimeSampleTime(s->minAt));
    }
  }
  return texts;
}

}  // namespace acv
