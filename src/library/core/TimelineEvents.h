#pragma once
// The level events of a site's timeline (dips, interruptions, swells and
// over-currents, as AnalyseSegments finds them) without reading every point.
// A whole chunk whose values all lie where every such event has ended (no
// damaged point) can neither hold an event nor carry one on: the events lie
// in the runs of other chunks, each closed by the quiet chunk after it. Such
// a run is read and scanned, unless a measurement's stored events answer for
// it: those were found over the measurement's whole time range, so when the
// run and the quiet chunks on both sides of it lie inside that range, the
// scan there began and ended as the timeline's does.
#include <vector>

#include "library/core/MeasurementRollup.h"
#include "library/core/SiteTimeline.h"

namespace acv::library {

// Whether no level event can start in a whole chunk or run on through it:
// over the channels in V, and with an over-current limit over those in A.
bool QuietChunk(const ChunkInfo& chunk, const ChannelFactors& factors, const EventLimits& limits,
                bool withCurrent);

// A measurement's level events as stored, found with the same limits and
// factors over the timeline's points from `from` to `to` (inclusive).
struct StoredLevelEvents {
  TimeStamp from = 0, to = 0;
  std::vector<Event> events;  // in time order
};

// What AnalyseSegments(...).level gives for the same segments.
std::vector<Event> TimelineLevelEvents(const std::vector<std::vector<TimelinePiece>>& segments,
                                       const ChunkReader& read, const ChannelFactors& factors,
                                       const EventLimits& limits,
                                       const std::vector<StoredLevelEvents>& stored);

// The chunks to hand TimelineLevelEvents: `chunks` (in time order, before
// the range is applied) with each rollup it would read opened: one where an
// event may start or run, or run on from the chunk before it.
std::vector<ChunkInfo> ChunksForEvents(const std::vector<ChunkInfo>& chunks, const TimeRange& range,
                                       const RollupParts& parts, const ChannelFactors& factors,
                                       const EventLimits& limits);

}  // namespace acv::library
