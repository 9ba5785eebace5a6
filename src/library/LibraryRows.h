#pragma once
// Rows of the library read into the core's types, for the store's queries
// and its check alike.
#include <QSqlQuery>

#include "library/LibraryStore.h"
#include "library/core/SiteTimeline.h"

namespace acv::library {

// The columns of a chunk without its blobs, in the order ChunkFrom reads
// them ("c" is the chunk, "m" its measurement).
inline constexpr const char* kChunkColumns =
    "c.id, c.measurement_id, c.start_time, c.interval_s, c.points,"
    " c.ch1_points IS NOT NULL, c.ch2_points IS NOT NULL, m.ch1_unit, m.ch2_unit,"
    " c.ch1_points, c.ch1_left_out, c.ch1_min, c.ch1_max, c.ch1_sum, c.ch1_deviations,"
    " c.ch2_points, c.ch2_left_out, c.ch2_min, c.ch2_max, c.ch2_sum, c.ch2_deviations,"
    " c.product_sum, c.product_points";

ChunkInfo ChunkFrom(const QSqlQuery& q);

// The statement that stores a chunk, and its use: points first .. first +
// count - 1 of the run stored as the measurement's chunks of at most
// kChunkPoints, each with its summaries.
QSqlQuery PrepareChunkInsert(const QSqlDatabase& db);
void InsertChunks(QSqlQuery& insert, std::int64_t measurement, std::int64_t site, SeriesKind kind,
                  const PointRun& run, std::int64_t first, std::int64_t count);

}  // namespace acv::library
