#pragma once
// The figures of a span of a site's timeline that a comparison puts side by
// side: statistics, percentiles, band summary and events by kind, read from
// the library the same way for the CLI's library compare and the Compare
// window.
#include <string>

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

}  // namespace acv::library
