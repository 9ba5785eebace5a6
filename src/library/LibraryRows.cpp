#include "library/LibraryRows.h"

#include <QVariant>

#include "library/LibraryEnvelope.h"
#include "library/LibrarySql.h"
#include "library/LibraryStore.h"

namespace acv::library {

ChunkInfo ChunkHeadFrom(const QSqlQuery& q) {
  ChunkInfo c;
  c.id = q.value(0).toLongLong();
  c.measurement = q.value(1).toLongLong();
  c.start = q.value(2).toLongLong();
  c.interval = q.value(3).toLongLong();
  c.count = q.value(4).toLongLong();
  for (int ch = 0; ch < 2; ++ch) {
    c.present[ch] = q.value(5 + ch).toLongLong() != 0;
    c.units[ch] = c.present[ch] ? TextOf(q.value(7 + ch)) : "";
  }
  return c;
}

ChunkInfo ChunkFrom(const QSqlQuery& q) {
  ChunkInfo c = ChunkHeadFrom(q);
  for (int ch = 0; ch < 2; ++ch) {
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
  // A chunk without band figures, or with figures that do not decode, is
  // read where they would serve.
  if (!q.value(23).isNull()) {
    const QByteArray bytes = q.value(29).toByteArray();
    if (std::optional<std::vector<SlotPartial>> partials =
            DecodeSlots(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                        static_cast<std::size_t>(bytes.size()))) {
      ChunkBand band;
      band.basis = {{q.value(23).toDouble(), q.value(24).toDouble()},
                    q.value(25).toDouble(),
                    q.value(26).toDouble()};
      band.inBand = {q.value(27).toLongLong(), q.value(28).toLongLong()};
      band.partials = std::move(*partials);
      std::int64_t covered = 0;
      for (const SlotPartial& s : band.partials) {
        if (s.first != covered || s.points <= 0) break;
        covered += s.points;
      }
      if (covered == c.count) c.band = std::move(band);
    }
  }
  return c;
}

std::string ChunkRowProblem(const ChunkInfo& c) {
  if (c.interval < 1) return "its interval is not a whole number of seconds";
  if (c.count < 1) return "it holds no points";
  if (!c.present[0] && !c.present[1]) return "it has no channel";
  return {};
}

namespace {

// Whether the summary counts every point of the chunk once.
bool SummaryCountsItsPoints(const ChunkInfo& c) {
  for (int ch = 0; ch < 2; ++ch) {
    const ChannelSummary& s = c.summary.channels[ch];
    if (c.present[ch] && (s.points < 0 || s.leftOut < 0 || s.points + s.leftOut != c.count))
      return false;
  }
  return c.summary.productPoints >= 0 && c.summary.productPoints <= c.count;
}

}  // namespace

void CheckChunkRows(const QSqlDatabase& db, std::vector<ChunkInfo>& chunks) {
  for (ChunkInfo& c : chunks) {
    if (const std::string problem = ChunkRowProblem(c); !problem.empty()) {
      throw LibraryError("chunk " + std::to_string(c.id) + " of measurement " +
                         std::to_string(c.measurement) + " is damaged: " + problem +
                         " (run 'acvlogger-cli library check')");
    }
    if (!SummaryCountsItsPoints(c)) c.summary = SummariseRun(ReadChunkPoints(db, c), 0, c.count);
  }
}

ChunkInserts PrepareChunkInserts(const QSqlDatabase& db) {
  ChunkInserts inserts;
  inserts.band = PrepareChunkBandInsert(db);
  inserts.envelope = PrepareEnvelopeInsert(db);
  inserts.chunk = Prepare(
      db,
      "INSERT INTO chunk (measurement_id, site_id, kind, start_time, interval_s, points,"
      " ch1_points, ch1_left_out, ch1_min, ch1_max, ch1_sum, ch1_deviations, ch2_points,"
      " ch2_left_out, ch2_min, ch2_max, ch2_sum, ch2_deviations, product_sum, product_points,"
      " ch1, ch2)"
      " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?) RETURNING id");
  return inserts;
}

void StoreChunkBand(QSqlQuery& bandInsert, std::int64_t chunk, const ChunkBand& band) {
  Run(bandInsert,
      {Int(chunk), band.basis.factors[0], band.basis.factors[1], band.basis.low, band.basis.high,
       Int(band.inBand[0]), Int(band.inBand[1]), Blob(EncodeSlots(band.partials))});
}

BandBasis BandBasisOf(const SiteRecord& site, SeriesKind kind, const EventLimits& limits) {
  return {LibraryStore::FactorsOf(site, kind), limits.BandLow(), limits.BandHigh()};
}

namespace {

ChunkInfo InsertChunk(ChunkInserts& insert, std::int64_t measurement, std::int64_t site,
                      SeriesKind kind, const PointRun& run, const ChunkFigures& f) {
  const ChunkSummary& s = f.summary;
  std::array<QVariant, 2> blobs;
  std::array<std::array<QVariant, 6>, 2> figures;
  for (int c = 0; c < 2; ++c) {
    if (!run.present[c]) {
      blobs[c] = QVariant(QMetaType::fromType<QByteArray>());
      figures[c].fill(QVariant(QMetaType::fromType<double>()));
      continue;
    }
    blobs[c] = FloatsBlob(run.values[c].data() + f.first, f.count);
    const ChannelSummary& cs = s.channels[c];
    figures[c] = {Int(cs.points), Int(cs.leftOut), cs.min, cs.max, cs.sum, cs.deviations};
  }
  Run(insert.chunk, {Int(measurement),  Int(site),     Text(KindName(kind)), Int(run.Time(f.first)),
                     Int(run.interval), Int(f.count),  figures[0][0],        figures[0][1],
                     figures[0][2],     figures[0][3], figures[0][4],        figures[0][5],
                     figures[1][0],     figures[1][1], figures[1][2],        figures[1][3],
                     figures[1][4],     figures[1][5], s.productSum,         Int(s.productPoints),
                     blobs[0],          blobs[1]});
  if (!insert.chunk.next()) throw LibraryError("a new chunk got no number");
  const std::int64_t id = insert.chunk.value(0).toLongLong();
  insert.chunk.finish();
  ChunkInfo info;
  info.id = id;
  info.measurement = measurement;
  info.start = run.Time(f.first);
  info.interval = run.interval;
  info.count = f.count;
  info.present = run.present;
  info.summary = s;
  info.band = f.band;
  StoreChunkBand(insert.band, id, f.band);
  StoreEnvelope(insert.envelope, id, f.envelopes);
  return info;
}

}  // namespace

void InsertChunks(ChunkInserts& insert, std::int64_t measurement, std::int64_t site,
                  SeriesKind kind, const PointRun& run, ChunkFiguresAhead& chunks,
                  std::vector<ChunkInfo>* written) {
  for (std::size_t i = 0; i < chunks.Count(); ++i) {
    ChunkInfo info = InsertChunk(insert, measurement, site, kind, run, chunks.Get(i));
    if (written) written->push_back(std::move(info));
  }
}

void InsertChunks(ChunkInserts& insert, std::int64_t measurement, std::int64_t site,
                  SeriesKind kind, const BandBasis& basis, const PointRun& run, std::int64_t first,
                  std::int64_t count, std::vector<ChunkInfo>* written) {
  for (const ChunkFigures& f : FiguresOfChunks(run, first, count, basis)) {
    ChunkInfo info = InsertChunk(insert, measurement, site, kind, run, f);
    if (written) written->push_back(std::move(info));
  }
}

}  // namespace acv::library
