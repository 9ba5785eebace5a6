#pragma once
// The band summary of a site's timeline (analysis/BandSummary.h: the share
// of points and of 10-minute values within Un +- band %) without reading
// every point. Whole chunks give their stored in-band counts and 10-minute
// partials; a chunk the range cuts, or one whose figures were kept for
// another scaling or band, is read.
//
// The 10-minute intervals that short dips, swells and interruptions flag
// need the events, which a scan finds. A chunk whose voltage stays where
// every such event has ended (above the end of a dip, below the end of a
// swell, no damaged point) can neither hold an event nor carry one on, so
// the scan reads only the runs of other chunks, each with the chunk after
// it, where an event running out of the run ends: the events are those a
// scan of every point finds.
#include <vector>

#include "analysis/BandSummary.h"
#include "analysis/SurveyText.h"
#include "data/EventLimits.h"
#include "library/core/MeasurementRollup.h"
#include "library/core/SiteTimeline.h"

namespace acv::library {

// The chunks to hand the functions below so that they read the fewest
// points: `chunks` (in time order, before the range is applied) with each
// rollup they would read replaced by its parts: one where an event may
// start or run, or run on from the chunk before it, one the range cuts, and
// one whose band figures do not serve for the factors and the band.
std::vector<ChunkInfo> ChunksForBand(const std::vector<ChunkInfo>& chunks, const TimeRange& range,
                                     const RollupParts& parts, const ChannelFactors& factors,
                                     const EventLimits& limits);

// The dips, interruptions and swells of the channels in V that a scan of
// every point finds, in time order per segment, read only where they may
// run. Their first and last points count within the runs read, not over
// the range: the times, durations and extremes are the scan's.
std::vector<Event> TimelineVoltageEvents(const std::vector<std::vector<TimelinePiece>>& segments,
                                         const ChunkReader& read, const ChannelFactors& factors,
                                         const EventLimits& limits);

// What AnalyseSegments(...).band gives for the same segments.
std::vector<BandShare> TimelineBand(const std::vector<std::vector<TimelinePiece>>& segments,
                                    const ChunkReader& read, const ChannelFactors& factors,
                                    const EventLimits& limits);

// The weekly verdict and the event table of each channel in V of the
// segments, CH1 first: the 10-minute values of TimelineBand and the events
// of TimelineVoltageEvents, so no value or event bridges a gap, over weeks
// from the first point to just after the last.
std::vector<ComplianceReport> TimelineCompliance(
    const std::vector<std::vector<TimelinePiece>>& segments, const ChunkReader& read,
    const ChannelFactors& factors, const EventLimits& limits);

}  // namespace acv::library
