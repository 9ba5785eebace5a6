#pragma once
// How much of the time a voltage stays within its band Un +- band %: the
// share of its points, and the share of its 10-minute values
// (analysis/TenMinuteValues.h), where the intervals flagged by short events
// are counted apart and left out of the verdict.
#include <cstdint>
#include <vector>

#include "analysis/AnalysisSeries.h"
#include "analysis/Events.h"
#include "analysis/TenMinuteValues.h"
#include "data/EventLimits.h"

namespace acv {

struct BandShare {
  int channel = 0;  // 0 = CH1, 1 = CH2
  double low = 0.0, high = 0.0;
  std::int64_t points = 0, pointsInBand = 0;  // finite points
  std::int64_t pointsLeftOut = 0;             // damaged (non-finite) points
  bool hasTenMinute = false;                  // the interval divides 600 s
  std::vector<TenMinuteValue> tenMinute;      // every complete interval, flagged included
  std::int64_t tenMinuteFlagged = 0;
  std::int64_t tenMinuteInBand = 0;  // unflagged values within the band

  double PointShare() const { return points ? double(pointsInBand) / double(points) : 0.0; }
  std::int64_t TenMinuteJudged() const {
    return static_cast<std::int64_t>(tenMinute.size()) - tenMinuteFlagged;
  }
  double TenMinuteShare() const {
    const std::int64_t judged = TenMinuteJudged();
    return judged ? double(tenMinuteInBand) / double(judged) : 0.0;
  }
};

// One entry per channel in V, CH1 first; `events` are the series' level
// events under the same limits (they flag the 10-minute intervals).
std::vector<BandShare> SummariseBand(const AnalysisSeries& series, const EventLimits& limits,
                                     const std::vector<Event>& events);
// The same, finding the events itself.
std::vector<BandShare> SummariseBand(const AnalysisSeries& series, const EventLimits& limits);

}  // namespace acv
