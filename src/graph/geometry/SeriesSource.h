#pragma once
// The series the graph plots in each display mode, read straight from the
// data set: STORE RMS from the RMS arrays, STORE TR from the TR samples (both
// channels read the same array; the record's channel decides which is shown),
// REAL TIME EPA from the captured wave, REAL TIME RMS and F(Hz) from the
// real-time points, and S(VA) as the product of the two RMS values on
// channel 1. A point beyond what the data set really holds has no value, so a
// display range larger than the data never reads outside an array. Values are
// in primary units (the data set's scaling): STORE RMS times the ratio, raw
// samples and the real-time RMS times ratio and sample scale, the frequency
// as measured. A STORE RMS series read where it lies (ExternalSeries) is in
// primary units already.
#include <cstddef>
#include <cstdint>
#include <string>

#include "data/CDTDoc.h"
#include "graph/geometry/ExternalSeries.h"
#include "graph/geometry/GraphState.h"

namespace acv {

class SeriesSource {
 public:
  SeriesSource(const CDTDoc& doc, GraphMode mode);

  GraphMode mode() const { return mode_; }

  // Number of 0-based points the data set holds for channel 0 (CH1) or 1 (CH2).
  std::int64_t Available(int channel) const { return count_[Index(channel)]; }
  bool Has(int channel, std::int64_t p) const { return p >= 0 && p < Available(channel); }

  // Decimals of a raw wave sample of the channel once scaled (0 for counts);
  // 0 in the other modes, whose values have their own decimals.
  int WaveDecimals(int channel) const { return waveDecimals_[Index(channel)]; }

  // The value of a point that Has() confirmed.
  float Value(int channel, std::int64_t p) const {
    if (external_ != nullptr) [[unlikely]]
      return external_->Value(channel, p);
    const std::size_t i = static_cast<std::size_t>(p) * stride_;
    const float v = base_[Index(channel)][i];
    return static_cast<float>((factor_ != nullptr ? v * factor_[i] : v) * scale_[Index(channel)]);
  }

  // Where a channel's values come from: while the data set is not replaced,
  // two sources with equal keys give equal values for the points both hold.
  struct Key {
    const float* base = nullptr;
    const float* factor = nullptr;
    double scale = 0.0;
    std::size_t stride = 0;
    const ExternalSeries* external = nullptr;
    bool operator==(const Key&) const = default;
  };
  Key KeyOf(int channel) const {
    return {base_[Index(channel)], factor_, scale_[Index(channel)], stride_, external_};
  }
  // The series read where it lies, or nullptr when the values are in memory.
  const ExternalSeries* External() const { return external_; }

 private:
  static std::size_t Index(int channel) { return channel == 0 ? 0 : 1; }

  GraphMode mode_;
  const float* base_[2] = {nullptr, nullptr};
  const float* factor_ = nullptr;  // second factor of S(VA)
  const ExternalSeries* external_ = nullptr;
  double scale_[2] = {1.0, 1.0};  // into primary units
  int waveDecimals_[2] = {0, 0};
  std::size_t stride_ = 1;  // floats between two points
  std::int64_t count_[2] = {0, 0};
};

// Unit texts a display mode shows for its channels ("V", "A", "Hz", "VA"),
// for the record r in STORE TR.
struct ModeUnits {
  std::string ch1;
  std::string ch2;
};
ModeUnits UnitsOfMode(const CDTDoc& doc, GraphMode mode, std::int64_t trRecord = 0);

// The time of 0-based point `index` of a display mode's series: the start of
// its series plus the interval times the index; in STORE TR the record's
// trigger time, in REAL TIME EPA the newest real-time point's (the wave was
// captured for it, its samples microseconds apart).
TimeStamp PointTime(const CDTDoc& doc, GraphMode mode, std::int64_t index);

}  // namespace acv
