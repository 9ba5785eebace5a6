#include "data/ExportRecords.h"

#include <algorithm>
#include <cmath>
#include <tuple>

namespace acv {
namespace {

auto Fields(LocalTimeCache& times, TimeStamp t) {
  const LocalFields f = times.BreakDown(t);
  return std::make_tuple(f.year, f.month, f.day, f.hour, f.minute, f.second);
}

}  // namespace

ExportRecords::ExportRecords(const CDTDoc& doc)
    : doc_(doc),
      rmsCount_(std::max<std::int64_t>(doc.rmsCount, 0)),
      trCount_(std::max<std::int64_t>(doc.trCount, 0)),
      total_(rmsCount_ + trCount_ * kTrWavePoints) {}

bool ExportRecords::TrGoesFirst() {
  const bool rmsLeft = x_ < rmsCount_;
  const bool trLeft = y_ < trCount_;
  if (!trLeft) return false;
  if (!rmsLeft) return true;
  const TimeStamp t = doc_.RmsSampleTime(x_);
  double step = std::trunc(static_cast<double>(doc_.rmsInterval));
  if (!std::isfinite(step)) step = 0.0;
  step = std::clamp(step, -1e12, 1e12);
  TimeStamp tNext = 0;
  if (__builtin_add_overflow(t, static_cast<TimeStamp>(step), &tNext)) tNext = t;
  const auto trigger = Fields(triggerTimes_, doc_.TrSampleTime(TrRecordStart(y_)));
  return trigger >= Fields(sampleTimes_, t) && !(trigger >= Fields(sampleTimes_, tNext));
}

bool ExportRecords::Next(ExportRecord& out) {
  if (number_ >= total_) return false;
  out = ExportRecord{};
  out.number = ++number_;
  const auto wave = [this](std::int64_t z) {
    return static_cast<std::uint64_t>(z) < doc_.trWaves.size()
               ? doc_.trWaves[static_cast<std::size_t>(z)]
               : 0.0f;
  };

  if (z_ % kTrWavePoints != 0 || TrGoesFirst()) {
    if (z_ % kTrWavePoints == 0) {
      // A new TR record: its unit, channel and time hold for its 251 samples.
      const auto y = static_cast<std::size_t>(y_);
      trUnit_ = UnitText(y < doc_.trUnit.size() ? doc_.trUnit[y] : 0);
      const std::uint8_t code = y < doc_.trChannel.size() ? doc_.trChannel[y] : 0;
      trChannel_ = code == kChannel1 ? 1 : code == kChannel2 ? 2 : 0;
      trTime_ = doc_.TrSampleTime(TrRecordStart(y_));
      ++y_;
    }
    out.kind = ExportKind::Tr;
    out.time = trTime_;
    if (trChannel_ == 1) {
      out.hasCh1 = true;
      out.ch1 = wave(z_);
      out.ch1Unit = trUnit_;
    } else if (trChannel_ == 2) {
      out.hasCh2 = true;
      out.ch2 = wave(z_);
      out.ch2Unit = trUnit_;
    }
    ++z_;
    return true;
  }

  const auto x = static_cast<std::size_t>(x_);
  out.kind = ExportKind::Rms;
  out.time = doc_.RmsSampleTime(x_);
  if (doc_.hasCh1 == 1 && x < doc_.rmsCh1.size()) {
    out.hasCh1 = true;
    out.ch1 = doc_.rmsCh1[x];
    out.ch1Unit = doc_.rmsUnitCh1;
  }
  if (doc_.hasCh2 == 1 && x < doc_.rmsCh2.size()) {
    out.hasCh2 = true;
    out.ch2 = doc_.rmsCh2[x];
    out.ch2Unit = doc_.rmsUnitCh2;
  }
  ++x_;
  return true;
}

}  // namespace acv
