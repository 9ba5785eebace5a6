#include "graph/geometry/Fit.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "graph/geometry/Segments.h"
#include "graph/geometry/SeriesSource.h"

namespace acv {
namespace {

// The axis fields hold what the settings file can: keep clear of the int ends.
constexpr double kAxisLimit = 1.0e9;

double TidyStep(double span) {
  const double rough = span / 10.0;
  const double magnitude = std::pow(10.0, std::floor(std::log10(rough)));
  for (double factor : {1.0, 2.0, 5.0}) {
    if (factor * magnitude >= rough) return factor * magnitude;
  }
  return 10.0 * magnitude;
}

}  // namespace

AxisRange TidyRange(double low, double high) {
  if (!std::isfinite(low) || !std::isfinite(high)) return {-1, 1};
  if (low > high) std::swap(low, high);
  low = std::clamp(low, -kAxisLimit, kAxisLimit);
  high = std::clamp(high, -kAxisLimit, kAxisLimit);
  const double span = high - low;
  const double margin = span > 0.0 ? 0.05 * span : std::max(0.05 * std::abs(low), 1.0);
  // Data that never go below zero (S(VA), frequencies) get no negative side.
  const bool nonNegative = low >= 0.0;
  low -= margin;
  high += margin;
  if (nonNegative) low = std::max(low, 0.0);
  // The axes take whole numbers, so no step is finer than 1.
  const double step = std::max(1.0, TidyStep(high - low));
  AxisRange r;
  r.from = static_cast<int>(std::floor(low / step) * step);
  r.to = static_cast<int>(std::ceil(high / step) * step);
  if (r.to <= r.from) r.to = r.from + 1;
  return r;
}

std::array<std::optional<AxisRange>, 2> FitAxes(const GraphState& s, const CDTDoc& doc) {
  std::array<std::optional<AxisRange>, 2> result;
  if (s.displayMode == kStartScreen || s.lastPoint <= 0) return result;
  const SeriesSource source(doc, s.mode);
  for (int c = 0; c < 2; ++c) {
    if (!ChannelShown(s, c)) continue;
    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    const std::int64_t first = std::max<std::int64_t>(s.firstPoint, 1) - 1;
    const std::int64_t last = std::min<std::int64_t>(s.lastPoint, source.Available(c));
    if (const ExternalSeries* external = source.External()) {
      // Too many points to read: the pyramid's buckets stand for them.
      const std::int64_t lead = external->Lead();
      FiniteExtremes(
          external->Pyramid(c), first + lead, last + lead,
          [&](std::int64_t q) { return static_cast<double>(source.Value(c, q - lead)); }, low,
          high);
    } else {
      for (std::int64_t p = first; p < last; ++p) {
        const double v = source.Value(c, p);
        if (!std::isfinite(v)) continue;
        low = std::min(low, v);
        high = std::max(high, v);
      }
    }
    if (low <= high) result[c] = TidyRange(low, high);
  }
  return result;
}

}  // namespace acv
