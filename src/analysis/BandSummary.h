#pragma once
// How much of the time a voltage stays within its band Un +- (100 - dip) %:
// the share of points, and, when the interval divides 600 s, the share of
// 10-minute means (the aggregation supply-quality norms judge a supply by).
#include <cstdint>
#include <vector>

#include "analysis/AnalysisSeries.h"
#include "data/EventLimits.h"

namespace acv {

struct BandShare {
  int channel = 0;  // 0 = CH1, 1 = CH2
  double low = 0.0, high = 0.0;
  std::int64_t points = 0, pointsInBand = 0;  // finite points
  // 10-minute means: complete blocks of 600 s from the first point.
  bool hasTenMinute = false;
  std::int64_t means = 0, meansInBand = 0;

  double PointShare() const { return points ? double(pointsInBand) / double(points) : 0.0; }
  double MeanShare() const { return means ? double(meansInBand) / double(means) : 0.0; }
};

// One entry per channel in V, CH1 first.
std::vector<BandShare> SummariseBand(const AnalysisSeries& series, const EventLimits& limits);

// Points per 10 minutes when the interval divides 600 s, else 0.
std::int64_t PointsPerTenMinutes(double interval);

}  // namespace acv
