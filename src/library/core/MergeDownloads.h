#pragma once
// How a new measurement joins the points a site already holds. Consecutive
// downloads of the logger's ring memory overlap: a point at the time of a
// stored point with the same values is a duplicate, counted and not stored
// again. A point at a stored time with other values (after the logger's
// clock was set back, say) is a conflict, and the whole measurement is
// refused, since keeping either value would hide the other. Points between
// the stored ones of another interval would interleave two series, and are
// refused as well.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "library/core/SeriesChunks.h"

namespace acv::library {

struct MergePlan {
  std::int64_t duplicates = 0;
  // The points to store: runs of consecutive new points (first, count).
  std::vector<std::pair<std::int64_t, std::int64_t>> keep;
  // Set when the measurement must be refused.
  std::optional<TimeStamp> conflictAt;    // the first time with other values
  std::optional<TimeStamp> interleaveAt;  // the first kept point inside a stored run
  bool Refused() const { return conflictAt || interleaveAt; }
};

// `stored`: the site's stored runs of the same kind that reach into the new
// run's time span (any order; they never overlap each other).
MergePlan PlanMerge(const PointRun& added, const std::vector<PointRun>& stored);

// The one line that explains a refused plan (times in `timePattern`).
std::string RefusalText(const MergePlan& plan, const char* timePattern);

}  // namespace acv::library
