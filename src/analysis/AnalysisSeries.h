#pragma once
// A series as a display shows it, for the analysis: the STORE RMS series,
// the real-time RMS series, or one STORE TR record. Point k (0-based) has
// the sample time the graph's cursor and the Data List show. The series
// reads the data set's arrays in place; it must not outlive the data set
// or its next change.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "data/CDTDoc.h"

namespace acv {

enum class SeriesPart { StoreRms, RealTimeRms, TrRecord };

// The values of one channel: count floats `stride` floats apart (the
// real-time RMS keeps both channels side by side), each times the channel's
// factor into primary units. A factor of 1 leaves every value as stored.
class ChannelValues {
 public:
  ChannelValues() = default;
  ChannelValues(const float* first, std::ptrdiff_t stride, double factor = 1.0)
      : first_(first), stride_(stride), factor_(factor) {}
  float operator[](std::int64_t k) const {
    const float v = first_[k * stride_];
    // Unscaled channels, the usual case, skip the round trip through double
    // that a plain scan of a long series would pay on every value.
    return factor_ == 1.0 ? v : static_cast<float>(v * factor_);
  }
  // The same values from value k on.
  ChannelValues From(std::int64_t k) const { return {first_ + k * stride_, stride_, factor_}; }
  double Factor() const { return factor_; }
  // The values as one plain array when they are stored that way (unscaled,
  // side by side), for loops that run faster over a plain array; else null.
  const float* Contiguous() const { return stride_ == 1 && factor_ == 1.0 ? first_ : nullptr; }

 private:
  const float* first_ = nullptr;
  std::ptrdiff_t stride_ = 1;
  double factor_ = 1.0;
};

struct SeriesChannel {
  bool present = false;
  std::string unit;  // "V" or "A" (anything else: neither)
  ChannelValues values;
};

class AnalysisSeries {
 public:
  SeriesPart part = SeriesPart::StoreRms;
  std::int64_t count = 0;
  std::array<SeriesChannel, 2> channels;  // CH1, CH2
  double interval = 0.0;                  // seconds from one point to the next

  // The time of point k; k = count gives the time just after the last one.
  TimeStamp PointTime(std::int64_t k) const;
  // The last point whose time is at or before t (0 before the first point,
  // count - 1 after the last): where a TR record's trigger time falls on the
  // RMS timeline. count must be > 0.
  std::int64_t PointAtTime(TimeStamp t) const;
  // Whether one channel is in V and the other in A (then V x A is the
  // apparent power); `volt` receives the voltage channel's index.
  bool HasVoltAmpere(int* volt = nullptr) const;

  const StoreFamily* store = nullptr;
  const RealTimeFamily* realTime = nullptr;
  int record = 0;           // the TR record of a TrRecord series
  std::int64_t offset = 0;  // point 0 is this point of the part (see SubSeries)
};

// The series in primary units: the STORE RMS values times each channel's
// ratio; the real-time RMS (measured from raw counts) and the TR samples
// times ratio and sample scale.
AnalysisSeries StoreRmsSeries(const StoreFamily& store, const ChannelScaling& scaling);
AnalysisSeries RealTimeRmsSeries(const RealTimeFamily& run, const ChannelScaling& scaling);
// Record r of the STORE TR records (0-based; must exist): its channel only,
// in the record's unit, every point at the trigger time.
AnalysisSeries TrRecordSeries(const StoreFamily& store, int record, const ChannelScaling& scaling);
// Points first .. last (0-based, inclusive, inside the series) as a series of
// their own, with their own times.
AnalysisSeries SubSeries(const AnalysisSeries& series, std::int64_t first, std::int64_t last);

// The channel names the analysis prints: "CH1", "CH2".
inline const char* ChannelName(int index) {
  return index == 0 ? "CH1" : "CH2";
}

}  // namespace acv
