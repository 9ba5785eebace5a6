#pragma once
// Rows of the library read into the core's types, for the store's queries
// and its check alike.
#include <QSqlQuery>
#include <optional>

#include "library/LibraryStore.h"
#include "library/core/ChunkFigures.h"
#include "library/core/SiteTimeline.h"

namespace acv::library {

// The columns of a chunk without its point blobs, in the order ChunkFrom
// reads them ("c" is the chunk, "m" its measurement, "b" its band figures,
// joined with kChunkBandJoin).
inline constexpr const char* kChunkColumns =
    "c.id, c.measurement_id, c.start_time, c.interval_s, c.points,"
    " c.ch1_points IS NOT NULL, c.ch2_points IS NOT NULL, m.ch1_unit, m.ch2_unit,"
    " c.ch1_points, c.ch1_left_out, c.ch1_min, c.ch1_max, c.ch1_sum, c.ch1_deviations,"
    " c.ch2_points, c.ch2_left_out, c.ch2_min, c.ch2_max, c.ch2_sum, c.ch2_deviations,"
    " c.product_sum, c.product_points,"
    " b.factor_ch1, b.factor_ch2, b.band_low, b.band_high, b.ch1_in_band, b.ch2_in_band, "
    "b.partials";
inline constexpr const char* kChunkBandJoin = " LEFT JOIN chunk_band b ON b.chunk_id = c.id";

// The first nine columns, which every chunk query begins with: the chunk
// without its summaries.
inline constexpr const char* kChunkHeadColumns =
    "c.id, c.measurement_id, c.start_time, c.interval_s, c.points,"
    " c.ch1_points IS NOT NULL, c.ch2_points IS NOT NULL, m.ch1_unit, m.ch2_unit";
ChunkInfo ChunkHeadFrom(const QSqlQuery& q);
// A chunk row as it is (for the check); band figures whose 10-minute
// partials do not cover the chunk's points in order are left out, so that
// they are worked out from the points where needed.
ChunkInfo ChunkFrom(const QSqlQuery& q);
// "" or why a chunk row cannot be used at all.
std::string ChunkRowProblem(const ChunkInfo& c);
// The chunks read for use: throws LibraryError for a row that cannot be
// used, and a summary that does not count the chunk's points is worked out
// again from them (library check names both).
void CheckChunkRows(const QSqlDatabase& db, std::vector<ChunkInfo>& chunks);

// The statements that store a chunk with its band figures and envelope, and
// their use: chunks of a run with their figures (ChunkFigures.h) stored as
// the measurement's; or points first .. first + count - 1 of the run, the
// figures worked out on the way with `basis`.
struct ChunkInserts {
  QSqlQuery chunk, band, envelope;
  void Finish() {
    chunk.finish();
    band.finish();
    envelope.finish();
  }
};
ChunkInserts PrepareChunkInserts(const QSqlDatabase& db);
// `written`, when given, receives each chunk stored (without units).
void InsertChunks(ChunkInserts& insert, std::int64_t measurement, std::int64_t site,
                  SeriesKind kind, const PointRun& run, ChunkFiguresAhead& chunks,
                  std::vector<ChunkInfo>* written = nullptr);
void InsertChunks(ChunkInserts& insert, std::int64_t measurement, std::int64_t site,
                  SeriesKind kind, const BandBasis& basis, const PointRun& run, std::int64_t first,
                  std::int64_t count, std::vector<ChunkInfo>* written = nullptr);

// A chunk's points; throws LibraryError when its blobs do not hold them.
PointRun ReadChunkPoints(const QSqlDatabase& db, const ChunkInfo& chunk);

// Computes and stores the band figures of the chunks that have none (of one
// measurement, or of all), with the site's scaling and the band of the
// limits their measurement's events were found with.
void StoreMissingChunkBands(const QSqlDatabase& db,
                            std::optional<std::int64_t> measurement = std::nullopt);

// The band figures of chunk `id` stored (it has none yet).
QSqlQuery PrepareChunkBandInsert(const QSqlDatabase& db);
void StoreChunkBand(QSqlQuery& bandInsert, std::int64_t chunk, const ChunkBand& band);
// The band figures of a site's values: its scaling and the limits' band.
BandBasis BandBasisOf(const SiteRecord& site, SeriesKind kind, const EventLimits& limits);

}  // namespace acv::library
