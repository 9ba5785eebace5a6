#pragma once
// Measurements' rollups (library/core/MeasurementRollup.h) in the library:
// written wherever a measurement's chunks or their band figures change,
// read in place of the chunks of the measurements a range holds whole, and
// checked against the chunks they stand for.
#include <QSqlDatabase>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "library/LibraryStore.h"
#include "library/core/MeasurementRollup.h"

namespace acv::library {

// The measurement's rollup in place of the one stored, none when `rollup`
// is nullopt (its points are not one run).
void StoreRollup(const QSqlDatabase& db, std::int64_t measurement,
                 const std::optional<ChunkInfo>& rollup);
// The same, rolled up from the measurement's chunks as stored; with no
// measurement given, for every measurement.
void StoreRollups(const QSqlDatabase& db, std::optional<std::int64_t> measurement = std::nullopt);

// The measurement's chunks (without their points) in time order.
std::vector<ChunkInfo> MeasurementChunks(const QSqlDatabase& db, std::int64_t measurement);
// The chunks a rollup read from the library stands for; throws LibraryError
// when they no longer make up its points.
std::vector<ChunkInfo> RollupPartsOf(const QSqlDatabase& db, const ChunkInfo& rollup);
// A rollup's points, read from its chunks.
PointRun ReadRollupPoints(const QSqlDatabase& db, const ChunkInfo& rollup);

// The site's chunks of one kind that reach into the range, in time order,
// with a measurement that the range holds whole, and whose points no other
// measurement's lie among, as its rollup.
std::vector<ChunkInfo> ChunksWithRollups(const QSqlDatabase& db, std::int64_t siteId,
                                         SeriesKind kind, const TimeRange& range);

// One line per measurement whose stored rollup differs from the one its
// chunks (`chunks`, all of the library's, read as stored) give.
std::vector<std::string> CheckRollups(const QSqlDatabase& db, const std::vector<ChunkInfo>& chunks,
                                      const ChunkReader& read);

}  // namespace acv::library
