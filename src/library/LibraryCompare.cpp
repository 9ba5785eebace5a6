#include "library/LibraryCompare.h"

#include "library/core/TimelineBand.h"

namespace acv::library {

SpanFigures CompareFigures(LibraryStore& store, const SiteRecord& site, SeriesKind kind,
                           const TimeRange& range, const EventLimits& limits, ComparedSpan& out,
                           std::string* mixed) {
  const std::vector<ChunkInfo> chunks = store.Chunks(site.id, kind, range);
  const std::vector<TimelinePiece> pieces = PiecesInRange(chunks, range);
  if (pieces.empty()) return SpanFigures::NoPoints;
  *mixed = MixedUnitsProblem(pieces);
  if (!mixed->empty()) return SpanFigures::MixedUnits;
  const ChunkReader read = [&store](const ChunkInfo& c) { return store.ReadChunk(c); };
  const ChannelFactors factors = LibraryStore::FactorsOf(site, kind);
  const auto segments = SplitAtGaps(pieces);
  out.stats = TimelineStatistics(pieces, read, factors);
  out.band = TimelineBand(segments, read, factors, limits);
  out.percentiles = TimelinePercentiles(pieces, read, factors);
  std::vector<Event> events = AnalyseSegments(segments, read, factors, limits, false).level;
  if (kind == SeriesKind::Store) {
    StoreFamily records;
    for (const StoredTrRecord& r : store.TrRecords(site.id, range)) {
      records.trWaves.insert(records.trWaves.end(), r.samples.begin(), r.samples.end());
      records.trTimes.push_back(r.trigger);
      records.trChannel.push_back(r.channel);
      records.trUnit.push_back(r.unit);
      ++records.trCount;
    }
    events = MergeByStart(std::move(events), TransientEvents(records, site.scaling));
  }
  out.events = CountEventKinds(events);
  return SpanFigures::Found;
}

std::vector<StoreFamily> SpanSegments(LibraryStore& store, const SiteRecord& site, SeriesKind kind,
                                      const TimeRange& range, std::int64_t maxPoints,
                                      std::int64_t* points) {
  const std::vector<ChunkInfo> chunks = store.Chunks(site.id, kind, range);
  const std::vector<TimelinePiece> pieces = PiecesInRange(chunks, range);
  *points = 0;
  for (const TimelinePiece& p : pieces) *points += p.count;
  std::vector<StoreFamily> out;
  if (*points > maxPoints) return out;
  const ChunkReader read = [&store](const ChunkInfo& c) { return store.ReadChunk(c); };
  const ChannelFactors factors = LibraryStore::FactorsOf(site, kind);
  for (const std::vector<TimelinePiece>& segment : SplitAtGaps(pieces))
    out.push_back(SegmentData(segment, read, factors));
  return out;
}

}  // namespace acv::library
