#include "library/LibraryRows.h"

#include <QVariant>

#include "library/LibrarySql.h"
#include "library/LibraryStore.h"

namespace acv::library {

ChunkInfo ChunkFrom(const QSqlQuery& q) {
  ChunkInfo c;
  c.id = q.value(0).toLongLong();
  c.measurement = q.value(1).toLongLong();
  c.start = q.value(2).toLongLong();
  c.interval = q.value(3).toLongLong();
  c.count = q.value(4).toLongLong();
  for (int ch = 0; ch < 2; ++ch) {
    c.present[ch] = q.value(5 + ch).toLongLong() != 0;
    c.units[ch] = c.present[ch] ? TextOf(q.value(7 + ch)) : "";
    ChannelSummary& s = c.summary.channels[ch];
    const int at = 9 + 6 * ch;
    s.points = q.value(at).toLongLong();
    s.leftOut = q.value(at + 1).toLongLong();
    s.min = q.value(at + 2).toDouble();
    s.max = q.value(at + 3).toDouble();
    s.sum = q.value(at + 4).toDouble();
    s.deviations = q.value(at + 5).toDouble();
  }
  c.summary.productSum = q.value(21).toDouble();
  c.summary.productPoints = q.value(22).toLongLong();
  return c;
}

QSqlQuery PrepareChunkInsert(const QSqlDatabase& db) {
  return Prepare(
      db,
      "INSERT INTO chunk (measurement_id, site_id, kind, start_time, interval_s, points,"
      " ch1_points, ch1_left_out, ch1_min, ch1_max, ch1_sum, ch1_deviations, ch2_points,"
      " ch2_left_out, ch2_min, ch2_max, ch2_sum, ch2_deviations, product_sum, product_points,"
      " ch1, ch2)"
      " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
}

void InsertChunk(QSqlQuery& insert, std::int64_t measurement, std::int64_t site, SeriesKind kind,
                 const PointRun& run, std::int64_t first, std::int64_t count) {
  const ChunkSummary s = SummariseRun(run, first, count);
  std::array<QVariant, 2> blobs;
  std::array<std::array<QVariant, 6>, 2> figures;
  for (int c = 0; c < 2; ++c) {
    if (!run.present[c]) {
      blobs[c] = QVariant(QMetaType::fromType<QByteArray>());
      figures[c].fill(QVariant(QMetaType::fromType<double>()));
      continue;
    }
    const std::vector<float> part(run.values[c].begin() + first,
                                  run.values[c].begin() + first + count);
    blobs[c] = Blob(EncodeFloats(part));
    const ChannelSummary& cs = s.channels[c];
    figures[c] = {Int(cs.points), Int(cs.leftOut), cs.min, cs.max, cs.sum, cs.deviations};
  }
  Run(insert, {Int(measurement),  Int(site),     Text(KindName(kind)), Int(run.Time(first)),
               Int(run.interval), Int(count),    figures[0][0],        figures[0][1],
               figures[0][2],     figures[0][3], figures[0][4],        figures[0][5],
               figures[1][0],     figures[1][1], figures[1][2],        figures[1][3],
               figures[1][4],     figures[1][5], s.productSum,         Int(s.productPoints),
               blobs[0],          blobs[1]});
}

void InsertChunks(QSqlQuery& insert, std::int64_t measurement, std::int64_t site, SeriesKind kind,
                  const PointRun& run, std::int64_t first, std::int64_t count) {
  const std::vector<std::int64_t> bounds = ChunkBounds(count);
  for (std::size_t i = 0; i + 1 < bounds.size(); ++i) {
    InsertChunk(insert, measurement, site, kind, run, first + bounds[i], bounds[i + 1] - bounds[i]);
  }
}

}  // namespace acv::library
