#include "analysis/Distribution.h"

#include <algorithm>
#include <cmath>

#include "data/LocalTimeCache.h"

namespace acv {
namespace {

bool Usable(const AnalysisSeries& s, int channel, std::int64_t first, std::int64_t last) {
  return channel >= 0 && channel <= 1 && s.channels[static_cast<std::size_t>(channel)].present &&
         first >= 0 && first <= last && last < s.count;
}

std::vector<float> FiniteValues(const AnalysisSeries& s, int channel, std::int64_t first,
                                std::int64_t last) {
  std::vector<float> out;
  if (!Usable(s, channel, first, last)) return out;
  const ChannelValues& v = s.channels[static_cast<std::size_t>(channel)].values;
  out.reserve(static_cast<std::size_t>(last - first + 1));
  for (std::int64_t k = first; k <= last; ++k) {
    if (std::isfinite(v[k])) out.push_back(v[k]);
  }
  return out;
}

}  // namespace

double NearestRankPercentile(std::vector<float>& values, int percent) {
  if (values.empty()) return 0.0;
  const auto n = static_cast<std::int64_t>(values.size());
  // ceil(percent * n / 100) in whole numbers: no rounding can move the rank.
  const std::int64_t rank = std::max<std::int64_t>(1, (percent * n + 99) / 100);
  const auto nth = values.begin() + (std::min(rank, n) - 1);
  std::nth_element(values.begin(), nth, values.end());
  return *nth;
}

Percentiles PercentilesOf(const AnalysisSeries& s, int channel, std::int64_t first,
                          std::int64_t last) {
  Percentiles p;
  std::vector<float> values = FiniteValues(s, channel, first, last);
  p.points = static_cast<std::int64_t>(values.size());
  for (std::size_t i = 0; i < kQuotedPercentiles.size() && p.points > 0; ++i) {
    p.at[i] = NearestRankPercentile(values, kQuotedPercentiles[i]);
  }
  return p;
}

std::vector<double> Histogram::Cumulative() const {
  std::vector<double> out;
  out.reserve(counts.size());
  std::int64_t below = 0;
  for (const std::int64_t c : counts) {
    below += c;
    out.push_back(points > 0 ? static_cast<double>(below) / static_cast<double>(points) : 0.0);
  }
  return out;
}

Histogram HistogramOf(const AnalysisSeries& s, int channel, std::int64_t first, std::int64_t last,
                      double nominal) {
  Histogram h;
  const std::vector<float> values = FiniteValues(s, channel, first, last);
  if (values.empty()) return h;
  const auto [lo, hi] = std::minmax_element(values.begin(), values.end());
  const bool volts = s.channels[static_cast<std::size_t>(channel)].unit == "V";
  const double scale = volts && nominal > 0.0 ? nominal
                                              : std::max(std::fabs(static_cast<double>(*lo)),
                                                         std::fabs(static_cast<double>(*hi)));
  // A span of zeros still gets one bin.
  h.binWidth = scale > 0.0 ? scale / 100.0 : 1.0;
  const auto binOf = [&](double v) {
    return static_cast<std::int64_t>(std::floor(v / h.binWidth));
  };
  h.firstBin = binOf(*lo);
  h.counts.assign(static_cast<std::size_t>(binOf(*hi) - h.firstBin + 1), 0);
  for (const float v : values) ++h.counts[static_cast<std::size_t>(binOf(v) - h.firstBin)];
  h.points = static_cast<std::int64_t>(values.size());
  return h;
}

DailyProfile DailyProfileOf(const AnalysisSeries& s, int channel, std::int64_t first,
                            std::int64_t last) {
  DailyProfile profile{};
  if (!Usable(s, channel, first, last)) return profile;
  const ChannelValues& v = s.channels[static_cast<std::size_t>(channel)].values;
  std::array<double, kProfileSlots> sums{};
  LocalTimeCache clock;
  for (std::int64_t k = first; k <= last; ++k) {
    const double value = v[k];
    if (!std::isfinite(value)) continue;
    const LocalFields f = clock.BreakDown(s.PointTime(k));
    const auto index =
        static_cast<std::size_t>(f.hour) * 6 + static_cast<std::size_t>(f.minute / 10);
    ProfileSlot& slot = profile[index];
    sums[index] += value;
    slot.min = slot.points == 0 ? value : std::min(slot.min, value);
    slot.max = slot.points == 0 ? value : std::max(slot.max, value);
    ++slot.points;
  }
  for (std::size_t i = 0; i < profile.size(); ++i) {
    if (profile[i].points > 0) profile[i].mean = sums[i] / static_cast<double>(profile[i].points);
  }
  return profile;
}

}  // namespace acv
