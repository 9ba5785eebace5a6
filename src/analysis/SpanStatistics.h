#pragma once
// Statistics of a span of points i .. j (inclusive) of a series: per present
// channel the number of points, minimum and maximum with the first point
// where each occurs, mean and population standard deviation; for a V/A pair
// the mean apparent power and the apparent energy. SpanIndex prepares a
// series once (prefix sums in double, a min/max tree) and then answers a
// long span in O(log n), so a moving cursor never rescans the series; a
// short span, or one whose spread the prefix sums cannot resolve (a span of
// equal values inside a long series), is read directly, so its mean and
// standard deviation are those of a plain scan.
//
// A value that is not a finite number (only a damaged file holds one) is
// left out of every figure: it counts as no point rather than poisoning the
// sums of every later span, and the statistics say how many were left out.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "analysis/AnalysisSeries.h"

namespace acv {

struct ChannelSpan {
  bool present = false;
  std::string unit;
  std::int64_t points = 0;   // finite values in the span
  std::int64_t leftOut = 0;  // values in the span that are not finite
  double min = 0.0, max = 0.0;
  std::int64_t minPoint = 0, maxPoint = 0;  // 1-based; 0 when points = 0
  double mean = 0.0;
  double stddev = 0.0;  // population
};

struct SpanStatistics {
  std::int64_t first = 0, last = 0;  // 1-based, inclusive
  TimeStamp start = 0;               // time of the first point
  TimeStamp end = 0;                 // time of the point after the last
  std::array<ChannelSpan, 2> channels;
  bool hasPower = false;          // one channel in V, the other in A
  double meanVa = 0.0;            // mean of V x A over the points where both are finite
  double energyVah = 0.0;         // sum of V x A x interval / 3600 over the same points
  std::int64_t powerLeftOut = 0;  // points where V x A is not finite
  std::int64_t Points() const { return last - first + 1; }
};

class SpanIndex {
 public:
  explicit SpanIndex(const AnalysisSeries& series);

  const AnalysisSeries& Series() const { return series_; }
  // Points first .. last, 0-based, 0 <= first <= last < count.
  SpanStatistics Of(std::int64_t first, std::int64_t last) const;

  // Spans up to this many points are read directly.
  static constexpr std::int64_t kDirectSpan = 32;

 private:
  struct Channel {
    // Sums of (v - shift) and (v - shift)^2 and the count of finite values
    // before point k, each summed with compensation so that a stored prefix
    // is the exact sum rounded once. Summing the distance from a value near
    // the mean keeps the variance of a span late in a long series close,
    // where raw squares of ~230 V would lose it to rounding; what is left of
    // the rounding decides when a span is read directly instead.
    double shift = 0.0;
    std::vector<double> sum, squares;
    std::vector<std::int32_t> finite;
    // A tree over the points whose node holds the point of the smallest
    // (largest) value below it, the first one on a tie.
    std::vector<std::int32_t> minTree, maxTree;
  };
  void Prepare(int c);
  std::int32_t Extreme(const std::vector<std::int32_t>& tree, int c, bool smallest,
                       std::int64_t first, std::int64_t last) const;
  bool Better(int c, bool smallest, std::int32_t a, std::int32_t b) const;

  AnalysisSeries series_;
  std::array<Channel, 2> channels_;
  std::int64_t leaves_ = 0;       // tree width: a power of two >= count
  std::vector<double> powerSum_;  // sums of V x A before point k
  std::vector<std::int32_t> powerPoints_;
};

// The same figures by a plain scan of the span: the reference the index is
// measured and tested against.
SpanStatistics ScanSpan(const AnalysisSeries& series, std::int64_t first, std::int64_t last);

}  // namespace acv
