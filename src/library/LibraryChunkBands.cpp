// Reading a chunk's points, and the band figures of chunks computed from
// them: at an upgrade of an older library, and when the scaling or the
// limits they were taken with change.
#include <QSqlQuery>
#include <QVariant>

#include "library/LibraryRows.h"
#include "library/LibrarySql.h"
#include "library/LibraryStore.h"

namespace acv::library {

PointRun ReadChunkPoints(const QSqlDatabase& db, const ChunkInfo& chunk) {
  QSqlQuery q = Execute(db, "SELECT ch1, ch2 FROM chunk WHERE id = ?", {Int(chunk.id)});
  if (!q.next()) throw LibraryError("chunk " + std::to_string(chunk.id) + " has gone");
  PointRun run;
  run.start = chunk.start;
  run.interval = chunk.interval;
  for (int c = 0; c < 2; ++c) {
    run.present[c] = chunk.present[c];
    if (!chunk.present[c]) continue;
    const QByteArray bytes = q.value(c).toByteArray();
    std::optional<std::vector<float>> values =
        DecodeFloats(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                     static_cast<std::size_t>(bytes.size()), chunk.count);
    if (!values) {
      throw LibraryError("chunk " + std::to_string(chunk.id) + " of measurement " +
                         std::to_string(chunk.measurement) + " is damaged: its " + ChannelName(c) +
                         " blob does not hold " + std::to_string(chunk.count) +
                         " points (run 'acvlogger-cli library check')");
    }
    run.values[c] = std::move(*values);
  }
  return run;
}

QSqlQuery PrepareChunkBandInsert(const QSqlDatabase& db) {
  return Prepare(db,
                 "INSERT INTO chunk_band (chunk_id, factor_ch1, factor_ch2, band_low,"
                 " band_high, ch1_in_band, ch2_in_band, partials) VALUES (?, ?, ?, ?, ?, ?, ?, ?)");
}

void StoreMissingChunkBands(const QSqlDatabase& db, std::optional<std::int64_t> measurement) {
  struct Pending {
    ChunkInfo chunk;
    BandBasis basis;
  };
  const std::string sql =
      std::string("SELECT ") + kChunkColumns +
      ", m.kind, m.limit_nominal, m.limit_band, s.ratio_ch1, s.ratio_ch2, s.scale_ch1, s.scale_ch2"
      " FROM chunk c JOIN measurement m ON m.id = c.measurement_id"
      " JOIN site s ON s.id = c.site_id" +
      kChunkBandJoin + " WHERE b.chunk_id IS NULL AND (? = 0 OR c.measurement_id = ?)";
  QSqlQuery q = Execute(db, sql.c_str(), {Int(measurement ? 1 : 0), Int(measurement.value_or(0))});
  // Read first, written after: the statement still reading would see the rows it adds.
  std::vector<Pending> pending;
  while (q.next()) {
    Pending p{ChunkFrom(q), {}};
    const SeriesKind kind =
        TextOf(q.value(30)) == "realtime" ? SeriesKind::RealTime : SeriesKind::Store;
    SiteRecord site;
    site.scaling[0] = {q.value(33).toDouble(), q.value(35).toDouble()};
    site.scaling[1] = {q.value(34).toDouble(), q.value(36).toDouble()};
    EventLimits limits;
    limits.nominal = q.value(31).toDouble();
    limits.bandPct = q.value(32).toDouble();
    p.basis = BandBasisOf(site, kind, limits);
    pending.push_back(std::move(p));
  }
  q.finish();
  QSqlQuery insert = PrepareChunkBandInsert(db);
  for (const Pending& p : pending) {
    const PointRun run = ReadChunkPoints(db, p.chunk);
    StoreChunkBand(insert, p.chunk.id, SummariseChunkBand(run, 0, p.chunk.count, p.basis));
  }
}

}  // namespace acv::library
