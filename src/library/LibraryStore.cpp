#include "library/LibraryStore.h"

#include <QSqlQuery>
#include <QVariant>

#include "library/LibraryRollup.h"
#include "library/LibraryRows.h"
#include "library/LibrarySchema.h"
#include "library/LibrarySql.h"

namespace acv::library {
namespace {

std::optional<TimeStamp> OptionalTime(const QVariant& v) {
  if (v.isNull()) return std::nullopt;
  return v.toLongLong();
}

}  // namespace

const char* KindName(SeriesKind kind) {
  return kind == SeriesKind::Store ? "store" : "realtime";
}

std::unique_ptr<LibraryStore> LibraryStore::Attach(const QSqlDatabase& db, bool postgres,
                                                   const std::string& where, std::string* problem) {
  const std::string schemaProblem = PrepareSchema(db, postgres, where);
  if (!schemaProblem.empty()) {
    if (problem) *problem = schemaProblem;
    return nullptr;
  }
  return std::unique_ptr<LibraryStore>(new LibraryStore(db, postgres));
}

std::unique_ptr<LibraryStore> LibraryStore::Attach(LibraryConnection& connection,
                                                   std::string* problem) {
  return Attach(connection.Database(), connection.IsPostgres(), connection.Location().Display(),
                problem);
}

std::vector<std::string> LibraryStore::SiteNames() {
  std::vector<std::string> names;
  QSqlQuery q = Execute(db_, "SELECT name FROM site ORDER BY name");
  while (q.next()) names.push_back(TextOf(q.value(0)));
  return names;
}

std::vector<SiteListing> LibraryStore::Sites() {
  std::vector<SiteListing> sites;
  QSqlQuery q = Execute(db_,
                        "SELECT s.name, COUNT(m.id), MIN(m.start_time), MAX(m.end_time),"
                        " COALESCE(SUM(m.points - m.duplicates), 0)"
                        " FROM site s LEFT JOIN measurement m ON m.site_id = s.id"
                        " GROUP BY s.id, s.name ORDER BY s.name");
  while (q.next()) {
    sites.push_back({TextOf(q.value(0)), q.value(1).toLongLong(), OptionalTime(q.value(2)),
                     OptionalTime(q.value(3)), q.value(4).toLongLong()});
  }
  return sites;
}

std::optional<SiteRecord> LibraryStore::Site(const std::string& name) {
  return SiteWhere("name = ?", Text(name));
}

std::optional<SiteRecord> LibraryStore::SiteById(std::int64_t id) {
  return SiteWhere("id = ?", Int(id));
}

std::optional<SiteRecord> LibraryStore::SiteWhere(const char* condition, const QVariant& value) {
  const std::string sql = std::string(
                              "SELECT id, name, nominal_v, frequency_hz, ratio_ch1, ratio_ch2,"
                              " scale_ch1, scale_ch2, notes FROM site WHERE ") +
                          condition;
  QSqlQuery q = Execute(db_, sql.c_str(), {value});
  if (!q.next()) return std::nullopt;
  SiteRecord s;
  s.id = q.value(0).toLongLong();
  s.name = TextOf(q.value(1));
  s.nominal = q.value(2).toDouble();
  s.frequency = q.value(3).toDouble();
  s.scaling[0] = {q.value(4).toDouble(), q.value(6).toDouble()};
  s.scaling[1] = {q.value(5).toDouble(), q.value(7).toDouble()};
  s.notes = TextOf(q.value(8));
  return s;
}

void LibraryStore::SaveSite(const SiteRecord& site) {
  Transaction transaction(db_);
  WriteSite(site);
  transaction.Commit();
}

void LibraryStore::WriteSite(const SiteRecord& site) {
  const std::optional<SiteRecord> before = Site(site.name);
  if (!before) {
    Execute(db_,
            "INSERT INTO site (name, nominal_v, frequency_hz, ratio_ch1, ratio_ch2, scale_ch1,"
            " scale_ch2, notes) VALUES (?, ?, ?, ?, ?, ?, ?, ?)",
            {Text(site.name), site.nominal, site.frequency, site.scaling[0].ratio,
             site.scaling[1].ratio, site.scaling[0].sampleScale, site.scaling[1].sampleScale,
             Text(site.notes)});
  } else {
    Execute(db_,
            "UPDATE site SET nominal_v = ?, frequency_hz = ?, ratio_ch1 = ?, ratio_ch2 = ?,"
            " scale_ch1 = ?, scale_ch2 = ?, notes = ? WHERE id = ?",
            {site.nominal, site.frequency, site.scaling[0].ratio, site.scaling[1].ratio,
             site.scaling[0].sampleScale, site.scaling[1].sampleScale, Text(site.notes),
             Int(before->id)});
    if (before->nominal != site.nominal || before->scaling != site.scaling) {
      SiteRecord changed = site;
      changed.id = before->id;
      FindEventsAgain(changed);
    }
  }
}

namespace {

constexpr const char* kMeasurementColumns =
    "SELECT m.id, s.name, m.kind, m.start_time, m.end_time, m.points,"
    " m.duplicates, m.interval_s, m.ch1_unit, m.ch2_unit, m.tr_records,"
    " m.source, m.sha256, m.imported_at"
    " FROM measurement m JOIN site s ON s.id = m.site_id";

// The measurements a query of kMeasurementColumns found.
std::vector<MeasurementRecord> MeasurementsOf(QSqlQuery& q) {
  std::vector<MeasurementRecord> list;
  while (q.next()) {
    MeasurementRecord m;
    m.id = q.value(0).toLongLong();
    m.site = TextOf(q.value(1));
    m.kind = TextOf(q.value(2)) == "realtime" ? SeriesKind::RealTime : SeriesKind::Store;
    m.start = q.value(3).toLongLong();
    m.end = q.value(4).toLongLong();
    m.points = q.value(5).toLongLong();
    m.duplicates = q.value(6).toLongLong();
    m.interval = q.value(7).toLongLong();
    m.units = {TextOf(q.value(8)), TextOf(q.value(9))};
    m.trRecords = q.value(10).toLongLong();
    m.source = TextOf(q.value(11));
    m.sha256 = TextOf(q.value(12));
    m.importedAt = TextOf(q.value(13));
    list.push_back(std::move(m));
  }
  return list;
}

}  // namespace

std::vector<MeasurementRecord> LibraryStore::Measurements(const std::optional<std::string>& site) {
  QSqlQuery q = Execute(
      db_, (std::string(kMeasurementColumns) + " WHERE ? = 0 OR s.name = ? ORDER BY m.id").c_str(),
      {Int(site ? 1 : 0), Text(site.value_or(""))});
  return MeasurementsOf(q);
}

std::optional<MeasurementRecord> LibraryStore::Measurement(std::int64_t id) {
  QSqlQuery q =
      Execute(db_, (std::string(kMeasurementColumns) + " WHERE m.id = ?").c_str(), {Int(id)});
  std::vector<MeasurementRecord> found = MeasurementsOf(q);
  if (found.empty()) return std::nullopt;
  return std::move(found.front());
}

bool LibraryStore::RemoveMeasurement(std::int64_t id) {
  Transaction transaction(db_);
  QSqlQuery q = Execute(db_, "SELECT site_id, kind FROM measurement WHERE id = ?", {Int(id)});
  if (!q.next()) return false;
  const std::int64_t site = q.value(0).toLongLong();
  const SeriesKind kind =
      TextOf(q.value(1)) == "realtime" ? SeriesKind::RealTime : SeriesKind::Store;
  q.finish();
  HandOverRepeatedPoints(id, site, kind);
  for (const char* sql :
       {("DELETE FROM chunk_envelope WHERE chunk_id IN"
         " (SELECT id FROM chunk WHERE measurement_id = ?)"),
        "DELETE FROM measurement_rollup WHERE measurement_id = ?",
        "DELETE FROM chunk_band WHERE chunk_id IN (SELECT id FROM chunk WHERE measurement_id = ?)",
        "DELETE FROM chunk WHERE measurement_id = ?",
        "DELETE FROM tr_record WHERE measurement_id = ?",
        "DELETE FROM event WHERE measurement_id = ?", "DELETE FROM measurement WHERE id = ?"}) {
    Execute(db_, sql, {Int(id)});
  }
  transaction.Commit();
  return true;
}

void LibraryStore::HandOverRepeatedPoints(std::int64_t id, std::int64_t site, SeriesKind kind) {
  struct Other {
    std::int64_t id;
    TimeStamp start, end;
    std::int64_t interval;
    std::int64_t taken = 0;
  };
  std::vector<Other> others;
  QSqlQuery q = Execute(db_,
                        "SELECT id, start_time, end_time, interval_s FROM measurement"
                        " WHERE site_id = ? AND kind = ? AND id <> ? ORDER BY id",
                        {Int(site), Text(KindName(kind)), Int(id)});
  while (q.next()) {
    others.push_back({q.value(0).toLongLong(), q.value(1).toLongLong(), q.value(2).toLongLong(),
                      q.value(3).toLongLong()});
  }
  if (others.empty()) return;
  const std::string sql = std::string("SELECT ") + kChunkColumns +
                          " FROM chunk c JOIN measurement m ON m.id = c.measurement_id" +
                          kChunkBandJoin + " WHERE c.measurement_id = ? ORDER BY c.start_time";
  QSqlQuery chunks = Execute(db_, sql.c_str(), {Int(id)});
  std::vector<ChunkInfo> own;
  while (chunks.next()) own.push_back(ChunkFrom(chunks));
  chunks.finish();
  // The first other measurement whose own points include time t.
  const auto owner = [&](TimeStamp t) -> Other* {
    for (Other& o : others) {
      if (t >= o.start && t < o.end && (t - o.start) % o.interval == 0) return &o;
    }
    return nullptr;
  };
  const std::optional<SiteRecord> record = SiteById(site);
  if (!record) throw LibraryError("site " + std::to_string(site) + " has gone");
  const BandBasis basis = BandBasisOf(*record, kind, LimitsOf(*record));
  ChunkInserts insert = PrepareChunkInserts(db_);
  for (const ChunkInfo& c : own) {
    const PointRun run = ReadChunk(c);
    for (std::int64_t k = 0; k < c.count;) {
      Other* o = owner(run.Time(k));
      std::int64_t end = k + 1;
      while (end < c.count && owner(run.Time(end)) == o) ++end;
      if (o) {
        InsertChunks(insert, o->id, site, kind, basis, run, k, end - k);
        o->taken += end - k;
      }
      k = end;
    }
  }
  insert.Finish();
  for (const Other& o : others) {
    if (o.taken == 0) continue;
    Execute(db_, "UPDATE measurement SET duplicates = duplicates - ? WHERE id = ?",
            {Int(o.taken), Int(o.id)});
    StoreRollups(db_, o.id);
  }
}

std::vector<ChunkInfo> LibraryStore::Chunks(std::int64_t siteId, SeriesKind kind,
                                            const TimeRange& range) {
  const std::string sql = std::string("SELECT ") + kChunkColumns +
                          " FROM chunk c JOIN measurement m ON m.id = c.measurement_id" +
                          kChunkBandJoin +
                          " WHERE c.site_id = ? AND c.kind = ? AND c.start_time <= ?"
                          " AND c.start_time + (c.points - 1) * c.interval_s >= ?"
                          " ORDER BY c.start_time";
  QSqlQuery q = Execute(db_, sql.c_str(),
                        {Int(siteId), Text(KindName(kind)), Int(range.to.value_or(INT64_MAX)),
                         Int(range.from.value_or(INT64_MIN))});
  std::vector<ChunkInfo> chunks;
  while (q.next()) chunks.push_back(ChunkFrom(q));
  q.finish();
  CheckChunkRows(db_, chunks);
  return chunks;
}

std::vector<ChunkInfo> LibraryStore::SummaryChunks(std::int64_t siteId, SeriesKind kind,
                                                   const TimeRange& range) {
  return ChunksWithRollups(db_, siteId, kind, range);
}

std::vector<ChunkInfo> LibraryStore::RollupParts(const ChunkInfo& rollup) {
  return RollupPartsOf(db_, rollup);
}

PointRun LibraryStore::ReadChunk(const ChunkInfo& chunk) {
  return chunk.rollup ? ReadRollupPoints(db_, chunk) : ReadChunkPoints(db_, chunk);
}

std::vector<StoredLevelEvents> LibraryStore::LevelEventsFoundWith(std::int64_t siteId,
                                                                  SeriesKind kind,
                                                                  const TimeRange& range,
                                                                  const EventLimits& limits) {
  QSqlQuery q = Execute(
      db_,
      "SELECT m.id, m.start_time, m.end_time, e.kind, e.channel, e.first_point, e.last_point,"
      " e.start_time, e.end_time, e.duration_s, e.extreme, e.unit, e.is_open"
      " FROM measurement m LEFT JOIN event e ON e.measurement_id = m.id AND e.kind <> ?"
      " WHERE m.site_id = ? AND m.kind = ? AND m.start_time <= ? AND m.end_time > ?"
      " AND m.limit_nominal = ? AND m.limit_dip = ? AND m.limit_swell = ?"
      " AND m.limit_interruption = ? AND m.limit_hysteresis = ? AND m.limit_over_current = ?"
      " AND m.limit_band = ? ORDER BY m.id, e.start_time, e.id",
      {Text(EventKindName(EventKind::Transient)), Int(siteId), Text(KindName(kind)),
       Int(range.to.value_or(INT64_MAX)), Int(range.from.value_or(INT64_MIN)), limits.nominal,
       limits.dipPct, limits.swellPct, limits.interruptionPct, limits.hysteresisPct,
       limits.overCurrent, limits.bandPct});
  std::vector<StoredLevelEvents> found;
  std::int64_t measurement = 0;
  while (q.next()) {
    if (found.empty() || q.value(0).toLongLong() != measurement) {
      measurement = q.value(0).toLongLong();
      found.push_back({q.value(1).toLongLong(), q.value(2).toLongLong() - 1, {}});
    }
    if (q.value(3).isNull()) continue;  // a measurement without events
    Event e;
    const std::string name = TextOf(q.value(3));
    bool known = false;
    for (const EventKind kind :
         {EventKind::Dip, EventKind::Interruption, EventKind::Swell, EventKind::OverCurrent}) {
      if (name == EventKindName(kind)) {
        e.kind = kind;
        known = true;
      }
    }
    e.channel = static_cast<int>(q.value(4).toLongLong());
    e.first = q.value(5).toLongLong();
    e.last = q.value(6).toLongLong();
    // A row that is not an event of this program, or whose numbers disagree,
    // leaves the measurement's events unused: its points are read instead.
    if (!known || (e.channel != 0 && e.channel != 1) || e.last < e.first) {
      found.back().to = found.back().from - 1;
      continue;
    }
    e.start = q.value(7).toLongLong();
    e.end = q.value(8).toLongLong();
    e.durationS = q.value(9).toDouble();
    e.extreme = q.value(10).toDouble();
    e.unit = TextOf(q.value(11));
    e.open = q.value(12).toLongLong() != 0;
    found.back().events.push_back(std::move(e));
  }
  return found;
}

std::vector<StoredTrRecord> LibraryStore::TrRecords(std::int64_t siteId, const TimeRange& range) {
  QSqlQuery q = Execute(db_,
                        "SELECT t.trigger_time, t.channel_code, t.unit_code, t.samples"
                        " FROM tr_record t JOIN measurement m ON m.id = t.measurement_id"
                        " WHERE m.site_id = ? AND m.kind = ? AND t.trigger_time >= ?"
                        " AND t.trigger_time <= ? ORDER BY t.trigger_time, t.id",
                        {Int(siteId), Text(KindName(SeriesKind::Store)),
                         Int(range.from.value_or(INT64_MIN)), Int(range.to.value_or(INT64_MAX))});
  std::vector<StoredTrRecord> records;
  while (q.next()) {
    StoredTrRecord r;
    r.trigger = q.value(0).toLongLong();
    r.channel = static_cast<std::uint8_t>(q.value(1).toLongLong());
    r.unit = static_cast<std::uint8_t>(q.value(2).toLongLong());
    std::optional<std::vector<float>> samples = DecodeFloats(BlobOf(q.value(3)), kTrWavePoints);
    if (!samples)
      throw LibraryError(
          "a TR record of the library is damaged (run 'acvlogger-cli library check')");
    r.samples = std::move(*samples);
    records.push_back(std::move(r));
  }
  return records;
}

ChannelFactors LibraryStore::FactorsOf(const SiteRecord& site, SeriesKind kind) {
  ChannelFactors f{};
  for (int c = 0; c < 2; ++c) {
    f[c] = kind == SeriesKind::Store ? site.scaling[c].OfValue() : site.scaling[c].OfSample();
  }
  return f;
}

EventLimits LibraryStore::LimitsOf(const SiteRecord& site) const {
  EventLimits limits = limits_;
  limits.nominal = site.nominal;
  return limits;
}

}  // namespace acv::library
