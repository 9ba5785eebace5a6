#include "analysis/BandSummary.h"

#include <cmath>

namespace acv {

std::int64_t PointsPerTenMinutes(double interval) {
  if (!(interval > 0.0) || interval > 600.0) return 0;
  const double blocks = 600.0 / interval;
  const double whole = std::round(blocks);
  return std::fabs(blocks - whole) < 1e-9 ? static_cast<std::int64_t>(whole) : 0;
}

std::vector<BandShare> SummariseBand(const AnalysisSeries& s, const EventLimits& limits) {
  std::vector<BandShare> out;
  const std::int64_t block = PointsPerTenMinutes(s.interval);
  for (int c = 0; c < 2; ++c) {
    if (!s.channels[c].present || s.channels[c].unit != "V") continue;
    BandShare share;
    share.channel = c;
    share.low = limits.BandLow();
    share.high = limits.BandHigh();
    share.hasTenMinute = block > 0;
    const auto inBand = [&](double v) { return v >= share.low && v <= share.high; };
    const ChannelValues& v = s.channels[c].values;
    double blockSum = 0.0;
    std::int64_t blockPoints = 0;
    for (std::int64_t k = 0; k < s.count; ++k) {
      if (std::isfinite(v[k])) {
        ++share.points;
        if (inBand(v[k])) ++share.pointsInBand;
        blockSum += v[k];
        ++blockPoints;
      }
      // A block of nothing but damaged values has no mean to judge.
      if (block > 0 && (k + 1) % block == 0) {
        if (blockPoints > 0) {
          ++share.means;
          if (inBand(blockSum / static_cast<double>(blockPoints))) ++share.meansInBand;
        }
        blockSum = 0.0;
        blockPoints = 0;
      }
    }
    out.push_back(share);
  }
  return out;
}

}  // namespace acv
