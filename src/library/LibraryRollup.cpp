#include "library/LibraryRollup.h"

#include <QSqlQuery>
#include <QVariant>
#include <algorithm>
#include <cmath>
#include <map>

#include "library/LibraryRows.h"
#include "library/LibrarySql.h"

namespace acv::library {
namespace {

// A rollup's columns in the order ChunkFrom reads a chunk's ("r" the
// rollup, "m" its measurement), then where the extremes lie and how many
// chunks it stands for.
constexpr const char* kRollupColumns =
    "0, r.measurement_id, r.start_time, r.interval_s, r.points,"
    " r.ch1_points IS NOT NULL, r.ch2_points IS NOT NULL, m.ch1_unit, m.ch2_unit,"
    " r.ch1_points, r.ch1_left_out, r.ch1_min, r.ch1_max, r.ch1_sum, r.ch1_deviations,"
    " r.ch2_points, r.ch2_left_out, r.ch2_min, r.ch2_max, r.ch2_sum, r.ch2_deviations,"
    " r.product_sum, r.product_points,"
    " r.factor_ch1, r.factor_ch2, r.band_low, r.band_high, r.ch1_in_band, r.ch2_in_band,"
    " r.partials, r.ch1_min_at, r.ch1_max_at, r.ch2_min_at, r.ch2_max_at, r.chunks";
constexpr int kRollupColumnCount = 35;  // the measurement's id and span check follow

ChunkInfo RollupFrom(const QSqlQuery& q) {
  ChunkInfo r = ChunkFrom(q);
  r.id = 0;
  r.rollup = true;
  r.parts = q.value(34).toLongLong();
  for (int c = 0; c < 2; ++c) {
    r.minAt[c] = q.value(30 + 2 * c).toLongLong();
    r.maxAt[c] = q.value(31 + 2 * c).toLongLong();
  }
  return r;
}

// Whether a stored rollup's figures agree with one another: a row that
// does not is never used in place of its chunks.
bool Coherent(const ChunkInfo& c) {
  if (c.count <= 0 || c.interval <= 0 || c.parts <= 0 || (!c.present[0] && !c.present[1]))
    return false;
  for (int ch = 0; ch < 2; ++ch) {
    if (!c.present[ch]) continue;
    const ChannelSummary& s = c.summary.channels[ch];
    if (s.points < 0 || s.leftOut < 0 || s.points + s.leftOut != c.count) return false;
    if (s.points > 0 &&
        (c.minAt[ch] < 0 || c.minAt[ch] >= c.count || c.maxAt[ch] < 0 || c.maxAt[ch] >= c.count))
      return false;
  }
  if (c.band) {
    std::int64_t next = 0;
    for (const SlotPartial& s : c.band->partials) {
      if (s.first != next || s.points <= 0) return false;
      next += s.points;
    }
    if (next != c.count) return false;
  }
  return true;
}

// Sums are kept as doubles; an engine that carries them as text may round
// the last bit, which is no damage.
bool Near(double a, double b) {
  return a == b || std::fabs(a - b) <= 1e-12 * std::max(std::fabs(a), std::fabs(b));
}

bool SameSummary(const ChunkSummary& a, const ChunkSummary& b) {
  for (int c = 0; c < 2; ++c) {
    const ChannelSummary &x = a.channels[c], &y = b.channels[c];
    if (x.points != y.points || x.leftOut != y.leftOut || !Near(x.sum, y.sum) ||
        !Near(x.deviations, y.deviations) || (x.points > 0 && (x.min != y.min || x.max != y.max)))
      return false;
  }
  return a.productPoints == b.productPoints && Near(a.productSum, b.productSum);
}

bool SameBand(const std::optional<ChunkBand>& a, const std::optional<ChunkBand>& b) {
  if (!a || !b) return !a && !b;
  if (a->basis != b->basis || a->inBand != b->inBand || a->partials.size() != b->partials.size())
    return false;
  for (std::size_t i = 0; i < a->partials.size(); ++i) {
    const SlotPartial &x = a->partials[i], &y = b->partials[i];
    if (x.slotStart != y.slotStart || x.first != y.first || x.points != y.points ||
        x.leftOut != y.leftOut || !Near(x.squares[0], y.squares[0]) ||
        !Near(x.squares[1], y.squares[1]))
      return false;
  }
  return true;
}

// "" when the rollups agree, else what differs.
std::string RollupDifference(const ChunkInfo& stored, const ChunkInfo& expected) {
  if (stored.start != expected.start || stored.interval != expected.interval ||
      stored.count != expected.count || stored.present != expected.present)
    return "its rollup does not span its points";
  if (!SameSummary(stored.summary, expected.summary))
    return "its rollup's summary differs from its chunks'";
  for (int c = 0; c < 2; ++c) {
    if (expected.summary.channels[c].points > 0 &&
        (stored.minAt[c] != expected.minAt[c] || stored.maxAt[c] != expected.maxAt[c]))
      return "its rollup places a minimum or maximum elsewhere than its points";
  }
  if (!SameBand(stored.band, expected.band))
    return "its rollup's band figures differ from its chunks'";
  return {};
}

std::optional<ChunkInfo> ReadStoredRollup(const QSqlDatabase& db, std::int64_t measurement) {
  const std::string sql = std::string("SELECT ") + kRollupColumns +
                          " FROM measurement_rollup r JOIN measurement m ON m.id = r.measurement_id"
                          " WHERE r.measurement_id = ?";
  QSqlQuery q = Execute(db, sql.c_str(), {Int(measurement)});
  if (!q.next()) return std::nullopt;
  return RollupFrom(q);
}

QVariant NullNumber() {
  return QVariant(QMetaType::fromType<double>());
}

std::vector<ChunkInfo> ChunksWhere(const QSqlDatabase& db, const char* condition,
                                   std::initializer_list<QVariant> values) {
  const std::string sql = std::string("SELECT ") + kChunkColumns +
                          " FROM chunk c JOIN measurement m ON m.id = c.measurement_id" +
                          kChunkBandJoin + " WHERE " + condition + " ORDER BY c.start_time";
  QSqlQuery q = Execute(db, sql.c_str(), values);
  std::vector<ChunkInfo> chunks;
  while (q.next()) chunks.push_back(ChunkFrom(q));
  q.finish();
  CheckChunkRows(db, chunks);
  return chunks;
}

std::string Damaged(const ChunkInfo& rollup) {
  return "measurement " + std::to_string(rollup.measurement) +
         " no longer holds the points its rollup stands for (run 'acvlogger-cli library check')";
}

}  // namespace

void StoreRollup(const QSqlDatabase& db, std::int64_t measurement,
                 const std::optional<ChunkInfo>& rollup) {
  Execute(db, "DELETE FROM measurement_rollup WHERE measurement_id = ?", {Int(measurement)});
  if (!rollup) return;
  const ChunkInfo& r = *rollup;
  std::array<std::array<QVariant, 8>, 2> channels;
  for (int c = 0; c < 2; ++c) {
    const ChannelSummary& s = r.summary.channels[c];
    if (r.present[c]) {
      channels[c] = {Int(s.points), Int(s.leftOut), s.min,           s.max,
                     s.sum,         s.deviations,   Int(r.minAt[c]), Int(r.maxAt[c])};
    } else {
      channels[c].fill(NullNumber());
    }
  }
  std::array<QVariant, 7> band;
  if (r.band) {
    const ChunkBand& b = *r.band;
    band = {b.basis.factors[0],
            b.basis.factors[1],
            b.basis.low,
            b.basis.high,
            Int(b.inBand[0]),
            Int(b.inBand[1]),
            Blob(EncodeSlots(b.partials))};
  } else {
    band.fill(NullNumber());
    band[6] = QVariant(QMetaType::fromType<QByteArray>());
  }
  Execute(db,
          "INSERT INTO measurement_rollup (measurement_id, start_time, interval_s, points, chunks,"
          " ch1_points, ch1_left_out, ch1_min, ch1_max, ch1_sum, ch1_deviations, ch1_min_at,"
          " ch1_max_at, ch2_points, ch2_left_out, ch2_min, ch2_max, ch2_sum, ch2_deviations,"
          " ch2_min_at, ch2_max_at, product_sum, product_points, factor_ch1, factor_ch2,"
          " band_low, band_high, ch1_in_band, ch2_in_band, partials) VALUES (?, ?, ?, ?, ?,"
          " ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
          {Int(measurement),
           Int(r.start),
           Int(r.interval),
           Int(r.count),
           Int(r.parts),
           channels[0][0],
           channels[0][1],
           channels[0][2],
           channels[0][3],
           channels[0][4],
           channels[0][5],
           channels[0][6],
           channels[0][7],
           channels[1][0],
           channels[1][1],
           channels[1][2],
           channels[1][3],
           channels[1][4],
           channels[1][5],
           channels[1][6],
           channels[1][7],
           r.summary.productSum,
           Int(r.summary.productPoints),
           band[0],
           band[1],
           band[2],
           band[3],
           band[4],
           band[5],
           band[6]});
}

std::vector<ChunkInfo> MeasurementChunks(const QSqlDatabase& db, std::int64_t measurement) {
  return ChunksWhere(db, "c.measurement_id = ?", {Int(measurement)});
}

void StoreRollups(const QSqlDatabase& db, std::optional<std::int64_t> measurement) {
  std::vector<std::int64_t> ids;
  QSqlQuery q = Execute(db, "SELECT id FROM measurement WHERE ? = 0 OR id = ? ORDER BY id",
                        {Int(measurement ? 1 : 0), Int(measurement.value_or(0))});
  while (q.next()) ids.push_back(q.value(0).toLongLong());
  q.finish();
  const ChunkReader read = [&db](const ChunkInfo& c) { return ReadChunkPoints(db, c); };
  for (const std::int64_t id : ids) StoreRollup(db, id, RollUp(MeasurementChunks(db, id), read));
}

std::vector<ChunkInfo> RollupPartsOf(const QSqlDatabase& db, const ChunkInfo& rollup) {
  std::vector<ChunkInfo> parts = MeasurementChunks(db, rollup.measurement);
  // The parts must be the run the rollup was made of: another program may
  // have changed the measurement since the rollup was read.
  std::int64_t points = 0;
  for (const ChunkInfo& c : parts) {
    if (c.start != rollup.Time(points) || c.interval != rollup.interval)
      throw LibraryError(Damaged(rollup));
    points += c.count;
  }
  if (points != rollup.count || static_cast<std::int64_t>(parts.size()) != rollup.parts)
    throw LibraryError(Damaged(rollup));
  return parts;
}

PointRun ReadRollupPoints(const QSqlDatabase& db, const ChunkInfo& rollup) {
  PointRun run;
  run.start = rollup.start;
  run.interval = rollup.interval;
  run.present = rollup.present;
  for (const ChunkInfo& c : RollupPartsOf(db, rollup)) {
    if (c.present != rollup.present) throw LibraryError(Damaged(rollup));
    PointRun part = ReadChunkPoints(db, c);
    for (int ch = 0; ch < 2; ++ch) {
      run.values[ch].insert(run.values[ch].end(), part.values[ch].begin(), part.values[ch].end());
    }
  }
  return run;
}

std::vector<ChunkInfo> ChunksWithRollups(const QSqlDatabase& db, std::int64_t siteId,
                                         SeriesKind kind, const TimeRange& range) {
  const TimeStamp from = range.from.value_or(INT64_MIN), to = range.to.value_or(INT64_MAX);
  // Every measurement reaching into the range, with its rollup if it has
  // one, and the chunks of the site that begin within the rollup's span: its
  // own alone when no other measurement's points lie among them.
  const std::string sql =
      std::string("SELECT ") + kRollupColumns +
      ", m.id, (SELECT COUNT(*) FROM chunk c WHERE c.site_id = m.site_id AND c.kind = m.kind"
      " AND c.start_time >= r.start_time AND c.start_time < r.start_time + r.points * r.interval_s)"
      " FROM measurement m LEFT JOIN measurement_rollup r ON r.measurement_id = m.id"
      " WHERE m.site_id = ? AND m.kind = ? AND m.start_time <= ? AND m.end_time > ?"
      " ORDER BY m.start_time, m.id";
  QSqlQuery q = Execute(db, sql.c_str(), {Int(siteId), Text(KindName(kind)), Int(to), Int(from)});
  std::vector<ChunkInfo> out;
  std::vector<std::int64_t> apart;  // measurements read as their chunks
  while (q.next()) {
    const std::int64_t id = q.value(kRollupColumnCount).toLongLong();
    if (q.value(1).isNull()) {
      apart.push_back(id);
      continue;
    }
    ChunkInfo r = RollupFrom(q);
    const bool alone = q.value(kRollupColumnCount + 1).toLongLong() == r.parts;
    if (alone && Coherent(r) && r.start >= from && r.Time(r.count - 1) <= to) {
      out.push_back(std::move(r));
    } else {
      apart.push_back(id);
    }
  }
  q.finish();
  for (const std::int64_t id : apart) {
    for (ChunkInfo& c : ChunksWhere(db,
                                    "c.measurement_id = ? AND c.start_time <= ?"
                                    " AND c.start_time + (c.points - 1) * c.interval_s >= ?",
                                    {Int(id), Int(to), Int(from)})) {
      out.push_back(std::move(c));
    }
  }
  std::stable_sort(out.begin(), out.end(),
                   [](const ChunkInfo& a, const ChunkInfo& b) { return a.start < b.start; });
  return out;
}

std::vector<std::string> CheckRollups(const QSqlDatabase& db, const std::vector<ChunkInfo>& chunks,
                                      const ChunkReader& read) {
  std::map<std::int64_t, std::vector<ChunkInfo>> byMeasurement;
  for (const ChunkInfo& c : chunks) byMeasurement[c.measurement].push_back(c);
  std::vector<std::int64_t> ids;
  QSqlQuery q = Execute(db, "SELECT id FROM measurement ORDER BY id");
  while (q.next()) ids.push_back(q.value(0).toLongLong());
  q.finish();
  std::vector<std::string> problems;
  for (const std::int64_t id : ids) {
    std::vector<ChunkInfo>& own = byMeasurement[id];
    std::stable_sort(own.begin(), own.end(),
                     [](const ChunkInfo& a, const ChunkInfo& b) { return a.start < b.start; });
    std::optional<ChunkInfo> expected;
    try {
      expected = RollUp(own, read);
    } catch (const LibraryError&) {
      continue;  // a damaged chunk, already named
    }
    const std::optional<ChunkInfo> stored = ReadStoredRollup(db, id);
    const std::string name = "measurement " + std::to_string(id) + ": ";
    if (!expected && stored) {
      problems.push_back(name + "it has a rollup though its points are not one run");
    } else if (expected && !stored) {
      problems.push_back(name + "its rollup is missing");
    } else if (expected && stored) {
      if (const std::string what = RollupDifference(*stored, *expected); !what.empty())
        problems.push_back(name + what);
    }
  }
  QSqlQuery orphans = Execute(db,
                              "SELECT COUNT(*) FROM measurement_rollup r WHERE NOT EXISTS"
                              " (SELECT 1 FROM measurement m WHERE m.id = r.measurement_id)");
  if (orphans.next() && orphans.value(0).toLongLong() > 0) {
    problems.push_back(std::to_string(orphans.value(0).toLongLong()) +
                       " rows of measurement_rollup belong to no measurement");
  }
  return problems;
}

}  // namespace acv::library
