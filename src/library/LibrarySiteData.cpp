#include "library/LibrarySiteData.h"

#include <array>
#include <limits>
#include <utility>

#include "library/LibraryEnvelope.h"
#include "library/core/SiteEnvelopeSeries.h"

namespace acv::library {
namespace {

std::string ReadSiteEnvelope(const std::vector<ChunkEnvelopeRow>& rows, LibraryStore& store,
                             const SiteRecord& site, SeriesKind kind,
                             std::shared_ptr<void> keepAlive, StoreFamily& out) {
  auto envelope = std::make_unique<SiteEnvelope>();
  std::string problem = envelope->Open(
      rows,
      [keepAlive = std::move(keepAlive), store = &store](const ChunkInfo& c) {
        return store->ReadChunk(c);
      },
      LibraryStore::FactorsOf(site, kind));
  if (!problem.empty()) return problem;
  const SiteGrid& grid = envelope->Grid();
  // The graph counts points in 32 bits.
  constexpr std::int64_t kMostPoints = std::numeric_limits<std::int32_t>::max();
  if (grid.count > kMostPoints) {
    return "the site's timeline spans " + std::to_string(grid.count) + " points at " +
           std::to_string(grid.interval) + " s, more than the " + std::to_string(kMostPoints) +
           " a graph can show";
  }
  StoreFamily data;
  data.rmsStartTime = grid.start;
  data.rmsInterval = static_cast<float>(grid.interval);
  data.rmsCount = static_cast<std::int32_t>(grid.count);
  data.hasCh1 = grid.present[0] ? 1 : 0;
  data.hasCh2 = grid.present[1] ? 1 : 0;
  data.rmsUnitCh1 = grid.units[0];
  data.rmsUnitCh2 = grid.units[1];
  // The information panel's extremes, found through the pyramids.
  std::array<std::string*, 4> texts{&data.rmsMaxTextCh1, &data.rmsMinTextCh1, &data.rmsMaxTextCh2,
                                    &data.rmsMinTextCh2};
  const std::int64_t lead = envelope->Lead();
  for (int ch = 0; ch < 2; ++ch) {
    if (!grid.present[ch]) continue;
    const auto value = [&envelope, ch, lead](std::int64_t q) {
      return envelope->Value(ch, q - lead);
    };
    const MinMaxPyramid& pyramid = envelope->Pyramid(ch);
    const auto [maxAt, maximum] = LastExtreme(pyramid, lead, lead + grid.count, true, value);
    const auto [minAt, minimum] = LastExtreme(pyramid, lead, lead + grid.count, false, value);
    StoreExtremeTexts(data, grid.units[ch], maximum, maxAt < 0 ? -1 : maxAt - lead, minimum,
                      minAt < 0 ? -1 : minAt - lead, *texts[2 * ch], *texts[2 * ch + 1]);
  }
  data.rmsExternal = std::make_shared<SiteEnvelopeSeries>(std::move(envelope));
  out = std::move(data);
  return {};
}

}  // namespace

std::string ReadSiteData(const QSqlDatabase& db, LibraryStore& store, const SiteRecord& site,
                         SeriesKind kind, std::int64_t mostInMemory,
                         std::shared_ptr<void> keepAlive, StoreFamily& out, SiteDataRead& read) {
  // The chunks without their points or summaries tell the site's grid; a
  // site too long to hold goes on with them alone, and only one that fits
  // reads its chunks' whole rows.
  const std::vector<ChunkEnvelopeRow> rows = SiteEnvelopes(db, site.id, kind);
  std::vector<ChunkInfo> bare;
  bare.reserve(rows.size());
  for (const ChunkEnvelopeRow& row : rows) bare.push_back(row.chunk);
  const SiteGrid grid = ChooseSiteGrid(bare);
  if (grid.problem.empty() && grid.count > mostInMemory) {
    read.leftOut = grid.leftOut;
    read.runs.clear();
    return ReadSiteEnvelope(rows, store, site, kind, std::move(keepAlive), out);
  }
  const std::vector<ChunkInfo> chunks = store.Chunks(site.id, kind);
  return BuildSiteSeries(
      chunks, [&store](const ChunkInfo& c) { return store.ReadChunk(c); },
      LibraryStore::FactorsOf(site, kind), out, &read.leftOut, mostInMemory, &read.runs);
}

}  // namespace acv::library
