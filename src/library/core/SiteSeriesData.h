#pragma once
// A site's merged series of one kind as one STORE data set, so that the
// window shows it as it shows a data file: the points of every measurement
// at their own times on one time axis, a missing point (a gap between
// downloads) as a point without a value, which the graph leaves as a gap.
// Values are multiplied by the site's factors (its channel scaling), so the
// data set is in primary units already.
#include <cstdint>
#include <string>
#include <vector>

#include "data/CDTDoc.h"
#include "library/core/SiteTimeline.h"

namespace acv::library {

// The most points the merged series may span (gaps included): two channels
// of this many floats are 128 MiB.
inline constexpr std::int64_t kMaxSiteSeriesPoints = std::int64_t{1} << 24;

// Fills `out` (its STORE family only) from the chunks, ordered by time.
// One time axis has one interval: that of most of the points. Points taken
// at another interval, or off that axis's grid, are left out and counted in
// *leftOut, for the caller to say so. Returns "" or why the site cannot be
// shown as one series: no points, a channel in different units, or more
// points than maxPoints.
std::string BuildSiteSeries(const std::vector<ChunkInfo>& chunks, const ChunkReader& read,
                            const ChannelFactors& factors, StoreFamily& out, std::int64_t* leftOut,
                            std::int64_t maxPoints = kMaxSiteSeriesPoints);

}  // namespace acv::library
