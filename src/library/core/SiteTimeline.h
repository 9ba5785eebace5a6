#pragma once
// A site's timeline: the stored chunks of one kind, ordered by time, and
// the questions asked of a time range of it. Whole chunks inside the range
// are answered from their summaries; only the chunks the range cuts are
// read. Statistics, events and the band summary come from the analysis
// layer's rules, so they are the figures the file commands give for the
// same points; a gap (a missing point, another interval, a changed unit)
// splits the timeline into segments, and no event runs across one.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "analysis/BandSummary.h"
#include "analysis/Distribution.h"
#include "analysis/Events.h"
#include "analysis/SpanStatistics.h"
#include "data/CDTDoc.h"
#include "data/EventLimits.h"
#include "library/core/ChunkBands.h"
#include "library/core/SeriesChunks.h"

namespace acv::library {

struct ChunkInfo {
  std::int64_t id = 0, measurement = 0;
  TimeStamp start = 0;
  std::int64_t interval = 1;
  std::int64_t count = 0;
  std::array<bool, 2> present{};
  std::array<std::string, 2> units;
  ChunkSummary summary;
  std::optional<ChunkBand> band;  // absent when the library lacks it
  // A measurement's rollup (MeasurementRollup.h) stands for all its chunks,
  // as one chunk of their points; it knows where in them each channel's
  // first minimum and maximum lie, so that placing them reads no point.
  bool rollup = false;
  std::int64_t parts = 0;  // the chunks a rollup stands for
  std::array<std::int64_t, 2> minAt{}, maxAt{};

  TimeStamp Time(std::int64_t k) const { return start + k * interval; }
};

// Reads a chunk's points; throws std::runtime_error when they are damaged.
using ChunkReader = std::function<PointRun(const ChunkInfo&)>;

// Inclusive bounds; an unset one leaves that side open.
struct TimeRange {
  std::optional<TimeStamp> from, to;
};

// The points first .. first + count - 1 of a chunk that lie in the range.
struct TimelinePiece {
  const ChunkInfo* chunk = nullptr;
  std::int64_t first = 0, count = 0;
  bool Whole() const { return first == 0 && count == chunk->count; }
  TimeStamp Start() const { return chunk->Time(first); }
  TimeStamp End() const { return chunk->Time(first + count); }
};

// The pieces of `chunks` (ordered by start) inside the range, in order.
std::vector<TimelinePiece> PiecesInRange(const std::vector<ChunkInfo>& chunks,
                                         const TimeRange& range);
// Where the next piece does not follow the last one without a gap at the
// same interval with the same channels and units, a new segment begins.
std::vector<std::vector<TimelinePiece>> SplitAtGaps(const std::vector<TimelinePiece>& pieces);

// "" or why the range cannot be summed up: a channel measured in one unit
// in one part of it and in another elsewhere.
std::string MixedUnitsProblem(const std::vector<TimelinePiece>& pieces);

// The statistics of all points in the pieces, numbered from 1 in order.
// The pieces must not be empty.
SpanStatistics TimelineStatistics(const std::vector<TimelinePiece>& pieces, const ChunkReader& read,
                                  const ChannelFactors& factors);

// The nearest-rank percentiles of each channel's finite values over the
// pieces, as the analysis takes them of a series: these read every point.
std::array<Percentiles, 2> TimelinePercentiles(const std::vector<TimelinePiece>& pieces,
                                               const ChunkReader& read,
                                               const ChannelFactors& factors);

// A segment's points as a STORE data set of its own, values multiplied by
// the factors (1 keeps them as stored).
StoreFamily SegmentData(const std::vector<TimelinePiece>& segment, const ChunkReader& read,
                        const ChannelFactors& factors);

// The level events and the band summary of the segments, with the points
// numbered from 1 over all of them.
struct TimelineAnalysis {
  std::vector<Event> level;
  std::vector<BandShare> band;
};
// `withBand` false leaves the band summary out (only the events wanted).
TimelineAnalysis AnalyseSegments(const std::vector<std::vector<TimelinePiece>>& segments,
                                 const ChunkReader& read, const ChannelFactors& factors,
                                 const EventLimits& limits, bool withBand = true);

}  // namespace acv::library
