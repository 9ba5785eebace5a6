#pragma once
// The chunks' envelopes in the library (library/core/ChunkEnvelope.h): kept
// in a table of their own keyed by chunk, written with new chunks (or
// after an upgrade), checked against the points, and read for a site's timeline.
#include <QSqlDatabase>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "library/LibraryStore.h"
#include "library/core/ChunkFigures.h"
#include "library/core/SiteEnvelope.h"

namespace acv::library {

// Computes and stores the envelopes of the chunks that have none (of one
// measurement, or of all), from their stored points.
void StoreMissingEnvelopes(const QSqlDatabase& db,
                           std::optional<std::int64_t> measurement = std::nullopt);

// The statement that stores a chunk's envelope, and its use: the envelopes
// of chunk `chunk` (empty for an absent channel).
QSqlQuery PrepareEnvelopeInsert(const QSqlDatabase& db);
void StoreEnvelope(QSqlQuery& insert, std::int64_t chunk,
                   const std::array<std::vector<EnvelopeBlock>, 2>& envelopes);

// "" when the chunk's stored envelope is that of its points, else what is wrong.
std::string EnvelopeDifference(const QSqlDatabase& db, const ChunkInfo& chunk,
                               const PointRun& points);

// A site's chunks of one kind in time order, without their points, each
// with its envelope per present channel; an envelope absent or not of the
// chunk's size is left out (the chunk's points are then read for it).
std::vector<ChunkEnvelopeRow> SiteEnvelopes(const QSqlDatabase& db, std::int64_t siteId,
                                            SeriesKind kind);

}  // namespace acv::library
