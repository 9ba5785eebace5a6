#pragma once
// The figures of a span of a site's timeline that a comparison puts side by
// side: statistics, percentiles, band summary and events by kind, read from
// the library the same way for the CLI's library compare and the Compare
// window.
#include <cstdint>
#include <string>
#include <vector>

#include "analysis/SpanComparison.h"
#include "library/LibraryStore.h"

namespace acv::library {

enum class SpanFigures { Found, NoPoints, MixedUnits };

// *out filled (Found), or why the span has none: no point of the site in
// it, or a channel in two units (*mixed says which). `limits` carry the
// site's nominal.
SpanFigures CompareFigures(LibraryStore& store, const SiteRecord& site, SeriesKind kind,
                           const TimeRange& range, const EventLimits& limits, ComparedSpan& out,
                           std::string* mixed);

// The span's points, one data set per stretch between gaps, in the site's
// scaling, for drawing the two spans over each other. A span of more than
// `maxPoints` points is not read: *points says how many it holds, and the
// result is empty.
std::vector<StoreFamily> SpanSegments(LibraryStore& store, const SiteRecord& site, SeriesKind kind,
                                      const TimeRange& range, std::int64_t maxPoints,
                                      std::int64_t* points);

}  // namespace acv::library
