#include "library/LibraryMeasurementData.h"

namespace acv::library {

std::string MeasurementData(LibraryStore& store, const SiteRecord& site, const MeasurementRecord& m,
                            CDTDoc& data) {
  if (m.kind != SeriesKind::Store) {
    return "A real-time measurement opens as the site's timeline only: the library keeps "
           "its RMS values, not the frequencies a run's data file holds.";
  }
  const TimeRange range{m.start, m.end - 1};
  const std::vector<ChunkInfo> chunks = store.Chunks(site.id, SeriesKind::Store, range);
  const std::vector<TimelinePiece> pieces = PiecesInRange(chunks, range);
  if (pieces.empty()) return "The library holds no points of measurement " + std::to_string(m.id);
  const auto segments = SplitAtGaps(pieces);
  if (segments.size() > 1) {
    return "The span of measurement " + std::to_string(m.id) +
           " holds points of another interval or a gap; show it as the site's timeline.";
  }
  const ChunkReader read = [&](const ChunkInfo& c) { return store.ReadChunk(c); };
  // As the logger sent them: the site's scaling is shown, never stored.
  data.Store() = SegmentData(segments[0], read, {1.0, 1.0});
  for (const StoredTrRecord& r : store.TrRecords(site.id, range)) {
    data.trWaves.insert(data.trWaves.end(), r.samples.begin(), r.samples.end());
    data.trTimes.push_back(r.trigger);
    data.trChannel.push_back(r.channel);
    data.trUnit.push_back(r.unit);
    ++data.trCount;
  }
  data.formatTag = kTagStore;
  data.readTag = kTagStore;
  return {};
}

}  // namespace acv::library
