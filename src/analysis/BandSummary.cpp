#include "analysis/BandSummary.h"

#include <cmath>

namespace acv {

std::vector<BandShare> SummariseBand(const AnalysisSeries& s, const EventLimits& limits,
                                     const std::vector<Event>& events) {
  std::vector<BandShare> out;
  for (int c = 0; c < 2; ++c) {
    if (!s.channels[c].present || s.channels[c].unit != "V") continue;
    BandShare share;
    share.channel = c;
    share.low = limits.BandLow();
    share.high = limits.BandHigh();
    const auto inBand = [&](double v) { return v >= share.low && v <= share.high; };
    const ChannelValues& v = s.channels[c].values;
    for (std::int64_t k = 0; k < s.count; ++k) {
      if (!std::isfinite(v[k])) {
        ++share.pointsLeftOut;
        continue;
      }
      ++share.points;
      if (inBand(v[k])) ++share.pointsInBand;
    }
    share.hasTenMinute = PointsPerTenMinutes(s.interval) > 0;
    share.tenMinute = TenMinuteValues(s, c, events);
    for (const TenMinuteValue& t : share.tenMinute) {
      if (t.flagged) {
        ++share.tenMinuteFlagged;
      } else if (inBand(t.value)) {
        ++share.tenMinuteInBand;
      }
    }
    out.push_back(std::move(share));
  }
  return out;
}

std::vector<BandShare> SummariseBand(const AnalysisSeries& s, const EventLimits& limits) {
  return SummariseBand(s, limits, FindLevelEvents(s, limits));
}

}  // namespace acv
