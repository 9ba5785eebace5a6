#include "library/LibraryEnvelope.h"

#include <QSqlQuery>
#include <QVariant>

#include "library/LibraryRows.h"
#include "library/LibrarySql.h"

namespace acv::library {
namespace {

// The chunk columns a point read needs, then the envelope blobs ("e").
std::string EnvelopeColumns() {
  return std::string(kChunkHeadColumns) + ", e.chunk_id IS NOT NULL, e.ch1, e.ch2";
}

std::int64_t BlockCount(const ChunkInfo& c) {
  return BlocksSpanned(GridNumber(c.start, c.interval), c.count);
}

}  // namespace

QSqlQuery PrepareEnvelopeInsert(const QSqlDatabase& db) {
  return Prepare(db, "INSERT INTO chunk_envelope (chunk_id, ch1, ch2) VALUES (?, ?, ?)");
}

void StoreEnvelope(QSqlQuery& insert, std::int64_t chunk,
                   const std::array<std::vector<EnvelopeBlock>, 2>& envelopes) {
  std::array<QVariant, 2> blobs;
  for (int ch = 0; ch < 2; ++ch) {
    blobs[ch] = envelopes[ch].empty() ? QVariant(QMetaType::fromType<QByteArray>())
                                      : Blob(EncodeEnvelope(envelopes[ch]));
  }
  Run(insert, {Int(chunk), blobs[0], blobs[1]});
}

void StoreMissingEnvelopes(const QSqlDatabase& db, std::optional<std::int64_t> measurement) {
  const std::string sql = "SELECT " + EnvelopeColumns() +
                          " FROM chunk c JOIN measurement m ON m.id = c.measurement_id"
                          " LEFT JOIN chunk_envelope e ON e.chunk_id = c.id"
                          " WHERE e.chunk_id IS NULL AND (? = 0 OR c.measurement_id = ?)";
  QSqlQuery q = Execute(db, sql.c_str(), {Int(measurement ? 1 : 0), Int(measurement.value_or(0))});
  // Read first, written after: the statement still reading would see the rows it adds.
  std::vector<ChunkInfo> pending;
  while (q.next()) pending.push_back(ChunkHeadFrom(q));
  q.finish();
  QSqlQuery insert = PrepareEnvelopeInsert(db);
  for (const ChunkInfo& c : pending) {
    StoreEnvelope(insert, c.id, EnvelopesOf(ReadChunkPoints(db, c), 0, c.count));
  }
}

std::string EnvelopeDifference(const QSqlDatabase& db, const ChunkInfo& chunk,
                               const PointRun& points) {
  QSqlQuery q =
      Execute(db, "SELECT ch1, ch2 FROM chunk_envelope WHERE chunk_id = ?", {Int(chunk.id)});
  if (!q.next()) return "has no envelope";
  for (int ch = 0; ch < 2; ++ch) {
    if (!chunk.present[ch]) {
      if (!q.value(ch).isNull())
        return std::string("has an envelope of the absent ") + ChannelName(ch);
      continue;
    }
    const std::vector<std::uint8_t> bytes = BlobOf(q.value(ch));
    const auto stored = DecodeEnvelope(bytes.data(), bytes.size(), BlockCount(chunk));
    if (!stored) return std::string("its ") + ChannelName(ch) + " envelope is not of its size";
    // Compared bit for bit: a NaN bound never occurs, an infinite one must match.
    if (EncodeEnvelope(*stored) != EncodeEnvelope(EnvelopesOf(points, 0, chunk.count)[ch]))
      return std::string("its ") + ChannelName(ch) + " envelope differs from its points";
  }
  return {};
}

std::vector<ChunkEnvelopeRow> SiteEnvelopes(const QSqlDatabase& db, std::int64_t siteId,
                                            SeriesKind kind) {
  const std::string sql = "SELECT " + EnvelopeColumns() +
                          " FROM chunk c JOIN measurement m ON m.id = c.measurement_id"
                          " LEFT JOIN chunk_envelope e ON e.chunk_id = c.id"
                          " WHERE c.site_id = ? AND c.kind = ? ORDER BY c.start_time";
  QSqlQuery q = Execute(db, sql.c_str(), {Int(siteId), Text(KindName(kind))});
  std::vector<ChunkEnvelopeRow> rows;
  while (q.next()) {
    ChunkEnvelopeRow row;
    row.chunk = ChunkHeadFrom(q);
    const bool stored = q.value(9).toLongLong() != 0;
    for (int ch = 0; ch < 2 && stored; ++ch) {
      if (!row.chunk.present[ch]) continue;
      const QByteArray bytes = q.value(10 + ch).toByteArray();
      row.blocks[ch] =
          DecodeEnvelope(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                         static_cast<std::size_t>(bytes.size()), BlockCount(row.chunk));
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

}  // namespace acv::library
