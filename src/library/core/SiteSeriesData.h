#pragma once
// A site's merged series of one kind as one STORE data set, so that the
// window shows it as it shows a data file: the points of every measurement
// at their own times on one time axis, a missing point (a gap between
// downloads) as a point without a value, which the graph leaves as a gap.
// Values are multiplied by the site's factors (its channel scaling), so the
// data set is in primary units already.
#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "data/CDTDoc.h"
#include "library/core/SiteTimeline.h"

namespace acv::library {

// The most points the merged series may span (gaps included): two channels
// of this many floats are 128 MiB.
inline constexpr std::int64_t kMaxSiteSeriesPoints = std::int64_t{1} << 24;

// The one time axis of a site's chunks (ordered by time): the interval of
// most of the points, starting at the first chunk of that interval; chunks
// at another interval or off the axis's grid are left out and counted.
struct SiteGrid {
  std::int64_t interval = 0;
  TimeStamp start = 0;
  std::int64_t count = 0;  // points from start to the last one, gaps included
  std::array<bool, 2> present{};
  std::array<std::string, 2> units;
  std::vector<std::size_t> used;  // the chunks on it, by index
  std::int64_t leftOut = 0;
  std::string problem;  // "" or why the chunks make no series
  std::int64_t At(TimeStamp t) const { return (t - start) / interval; }
};
SiteGrid ChooseSiteGrid(const std::vector<ChunkInfo>& chunks);

// Runs of grid points (first, count) held by downloads one after another
// without a missing point or a change of channels: no event runs from one
// into the next.
using GridRuns = std::vector<std::pair<std::int64_t, std::int64_t>>;

// Fills `out` (its STORE family only) from the chunks, ordered by time.
// One time axis has one interval: that of most of the points. Points taken
// at another interval, or off that axis's grid, are left out and counted in
// *leftOut, for the caller to say so. Returns "" or why the site cannot be
// shown as one series: no points, a channel in different units, or more
// points than maxPoints. `runs`, when given, receives the series' runs.
std::string BuildSiteSeries(const std::vector<ChunkInfo>& chunks, const ChunkReader& read,
                            const ChannelFactors& factors, StoreFamily& out, std::int64_t* leftOut,
                            std::int64_t maxPoints = kMaxSiteSeriesPoints,
                            GridRuns* runs = nullptr);

}  // namespace acv::library
