#pragma once
// How the values of a span are distributed: the percentiles a supply-quality
// survey quotes (CP01 .. CP99), a histogram in bins of 1 % of the nominal
// voltage (1 % of the span's maximum for a current) with its cumulative
// probability, and the daily profile: minimum, mean and maximum of each
// 10-minute slot of the day (local time) over every day of the span.
// Values that are not finite numbers count as no point, as in the span
// statistics.
#include <array>
#include <cstdint>
#include <vector>

#include "analysis/AnalysisSeries.h"

namespace acv {

// The percentiles quoted, in percent.
inline constexpr std::array<int, 5> kQuotedPercentiles = {1, 5, 50, 95, 99};

struct Percentiles {
  std::int64_t points = 0;     // finite values; 0 = no percentile
  std::array<double, 5> at{};  // for kQuotedPercentiles, in that order
};

// The nearest-rank percentile: the ceil(percent / 100 * n)-th smallest value
// (the smallest for a rank of 0). `values` must hold finite values only; its
// order is changed.
double NearestRankPercentile(std::vector<float>& values, int percent);

// Percentiles of channel `channel` over points first .. last (0-based, inclusive).
Percentiles PercentilesOf(const AnalysisSeries& series, int channel, std::int64_t first,
                          std::int64_t last);

struct Histogram {
  double binWidth = 0.0;             // 0 when the span holds no finite value
  std::int64_t firstBin = 0;         // bin k holds [k * binWidth, (k + 1) * binWidth)
  std::vector<std::int64_t> counts;  // bins firstBin, firstBin + 1, ...
  std::int64_t points = 0;

  // Share of the points below the upper edge of each bin (0..1).
  std::vector<double> Cumulative() const;
};

// `nominal` sets the bin width of a channel in V (1 % of it); a channel in any
// other unit gets bins of 1 % of the span's largest magnitude.
Histogram HistogramOf(const AnalysisSeries& series, int channel, std::int64_t first,
                      std::int64_t last, double nominal);

struct ProfileSlot {
  std::int64_t points = 0;
  double min = 0.0, mean = 0.0, max = 0.0;
};

inline constexpr int kProfileSlots = 144;  // 10-minute slots of a day
using DailyProfile = std::array<ProfileSlot, kProfileSlots>;

// Slot s covers s x 10 minutes .. + 10 minutes of the local clock.
DailyProfile DailyProfileOf(const AnalysisSeries& series, int channel, std::int64_t first,
                            std::int64_t last);

}  // namespace acv
