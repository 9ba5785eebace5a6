#include "library/core/MergeDownloads.h"

#include <algorithm>
#include <bit>
#include <cstdint>

namespace acv::library {
namespace {

// The same value as the logger sent it: compared bit for bit, so that a
// damaged (non-number) point equals its own repetition.
bool SameValue(float a, float b) {
  return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b);
}

bool SamePoint(const PointRun& a, std::int64_t i, const PointRun& b, std::int64_t j) {
  for (int c = 0; c < 2; ++c) {
    if (a.present[c] != b.present[c]) return false;
    if (a.present[c] && !SameValue(a.values[c][i], b.values[c][j])) return false;
  }
  return true;
}

void KeepEarliest(std::optional<TimeStamp>& at, TimeStamp t) {
  if (!at || t < *at) at = t;
}

}  // namespace

MergePlan PlanMerge(const PointRun& added, const std::vector<PointRun>& stored) {
  MergePlan plan;
  const std::int64_t count = added.Count();
  if (stored.empty()) {
    // The usual download, into a stretch of time the site has no points in.
    if (count > 0) plan.keep.emplace_back(0, count);
    return plan;
  }
  std::vector<bool> duplicate(static_cast<std::size_t>(count), false);
  for (const PointRun& run : stored) {
    for (std::int64_t j = 0; j < run.Count(); ++j) {
      const TimeStamp t = run.Time(j);
      if (t < added.start || t >= added.End() || (t - added.start) % added.interval != 0) continue;
      const std::int64_t i = (t - added.start) / added.interval;
      if (SamePoint(added, i, run, j)) {
        duplicate[i] = true;
      } else {
        KeepEarliest(plan.conflictAt, t);
      }
    }
  }
  for (std::int64_t i = 0; i < count;) {
    if (duplicate[i]) {
      ++plan.duplicates;
      ++i;
      continue;
    }
    std::int64_t end = i;
    while (end < count && !duplicate[end]) ++end;
    plan.keep.emplace_back(i, end - i);
    i = end;
  }
  // A kept point inside the span of a stored run (whose own points it
  // missed) would put two series into one stretch of time.
  for (const auto& [first, n] : plan.keep) {
    const TimeStamp from = added.Time(first), to = added.Time(first + n - 1);
    for (const PointRun& run : stored) {
      if (run.Count() == 0) continue;
      const TimeStamp runFrom = run.start, runTo = run.Time(run.Count() - 1);
      if (to < runFrom || from > runTo) continue;
      // The first kept point at or after the run's start.
      const TimeStamp inside = std::max(from, runFrom);
      const std::int64_t k = (inside - added.start + added.interval - 1) / added.interval;
      KeepEarliest(plan.interleaveAt, added.Time(k));
    }
  }
  return plan;
}

std::string RefusalText(const MergePlan& plan, const char* timePattern) {
  if (plan.conflictAt) {
    return "conflicts with the site's stored points at " +
           FormatTime(*plan.conflictAt, timePattern) +
           " (same time, other value; was the logger's clock set back?): nothing was added";
  }
  if (plan.interleaveAt) {
    return "its points at " + FormatTime(*plan.interleaveAt, timePattern) +
           " fall between the site's stored points of another interval: nothing was added";
  }
  return {};
}

}  // namespace acv::library
