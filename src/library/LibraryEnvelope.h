#pragma once
// The chunks' envelopes in the library (library/core/ChunkEnvelope.h): kept
// in a table of their own keyed by chunk, written after new chunks are
// stored, checked against the points, and read for a site's timeline.
#include <QSqlDatabase>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "library/LibraryStore.h"
#include "library/core/SiteEnvelope.h"

namespace acv::library {

// Computes and stores the envelopes of the chunks that have none (of one
// measurement, or of all), from their stored points.
void StoreMissingEnvelopes(const QSqlDatabase& db,
                           std::optional<std::int64_t> measurement = std::nullopt);

// "" when the chunk's stored envelope is that of its points, else what is wrong.
std::string EnvelopeDifference(const QSqlDatabase& db, const ChunkInfo& chunk,
                               const PointRun& points);

// A site's chunks of one kind in time order, without their points, each
// with its envelope per present channel; an envelope absent or not of the
// chunk's size is left out (the chunk's points are then read for it).
std::vector<ChunkEnvelopeRow> SiteEnvelopes(const QSqlDatabase& db, std::int64_t siteId,
                                            SeriesKind kind);

}  // namespace acv::library
