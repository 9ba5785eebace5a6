// Adding a data set to the library, all or nothing, and the events found
// over a measurement's points.
#include <QSqlQuery>
#include <QVariant>
#include <cmath>
#include <future>
#include <map>

#include "analysis/Events.h"
#include "library/LibraryFingerprint.h"
#include "library/LibraryRollup.h"
#include "library/LibraryRows.h"
#include "library/LibrarySql.h"
#include "library/LibraryStore.h"
#include "library/core/MergeDownloads.h"

namespace acv::library {
namespace {

// The series a data set brings: its STORE RMS series (or TR records alone),
// else its real-time run.
struct AddedSeries {
  SeriesKind kind = SeriesKind::Store;
  PointRun run;
  std::array<std::string, 2> units;
  TimeStamp start = 0, end = 0;
};

std::string SeriesOf(const CDTDoc& doc, AddedSeries& out) {
  const bool store = doc.rmsCount > 0 || (doc.trCount > 0 && !doc.trTimes.empty());
  // The library keeps the logger's values, whatever the window's scaling.
  const AnalysisSeries series =
      store ? StoreRmsSeries(doc, ChannelScaling{}) : RealTimeRmsSeries(doc, ChannelScaling{});
  if (!store && series.count == 0) return "holds no points to add";
  out.kind = store ? SeriesKind::Store : SeriesKind::RealTime;
  const double interval = store ? doc.rmsInterval : doc.rtInterval;
  if (series.count > 0 &&
      !(interval >= 1.0 && interval <= 86400.0 && std::trunc(interval) == interval)) {
    return "has an interval of " + std::to_string(interval) + " s, not a whole number of seconds";
  }
  out.run.interval = series.count > 0 ? static_cast<std::int64_t>(interval) : 1;
  out.run.start = series.count > 0 ? series.PointTime(0) : 0;
  for (int c = 0; c < 2; ++c) {
    const SeriesChannel& ch = series.channels[c];
    out.run.present[c] = ch.present;
    if (!ch.present) continue;
    out.units[c] = ch.unit;
    std::vector<float>& values = out.run.values[c];
    if (const float* plain = ch.values.Contiguous()) {
      values.assign(plain, plain + series.count);
      continue;
    }
    values.resize(static_cast<std::size_t>(series.count));
    for (std::int64_t k = 0; k < series.count; ++k) values[k] = ch.values[k];
  }
  if (series.count > 0) {
    out.start = out.run.start;
    out.end = out.run.End();
  } else {
    out.start = *std::min_element(doc.trTimes.begin(), doc.trTimes.end());
    out.end = *std::max_element(doc.trTimes.begin(), doc.trTimes.end()) + 1;
  }
  return {};
}

QVariant NullOf(QMetaType type) {
  return QVariant(type);
}

QVariant UnitOrNull(const AddedSeries& added, int c) {
  return added.run.present[c] ? Text(added.units[c]) : NullOf(QMetaType::fromType<QString>());
}

// The fingerprint of a measurement being imported until its own is known.
constexpr const char* kFingerprintPending = "(being imported)";

std::int64_t NoFingerprint(const std::string& sourceName, std::string* problem) {
  *problem = "the SHA-256 of " + sourceName + " could not be computed, nothing was added";
  return 0;
}

bool Busy(const std::string& reason) {
  return reason.find("locked") != std::string::npos || reason.find("busy") != std::string::npos;
}

}  // namespace

SiteRecord LibraryStore::FindOrCreateSite(const std::string& name) {
  if (std::optional<SiteRecord> site = Site(name)) return *site;
  SiteRecord site;
  site.name = name;
  site.nominal = limits_.nominal;
  WriteSite(site);
  return *Site(name);
}

bool LibraryStore::AddDataSet(const CDTDoc& doc, const std::vector<std::uint8_t>& fileBytes,
                              const std::string& sourceName, const std::string& site,
                              std::string* line, std::string* problem) {
  std::string unused;
  if (!problem) problem = &unused;
  if (!line) line = &unused;
  // The fingerprint is computed on another core while the import works out
  // and writes what it will store; it is needed only at the end.
  const std::shared_future<std::string> sha256 =
      std::async(std::launch::async | std::launch::deferred, [&fileBytes] {
        return Sha256Hex(fileBytes);
      }).share();
  // Another program writing the same SQLite library may hold it past the
  // busy timeout once; the import is tried again as a whole.
  for (int attempt = 1;; ++attempt) {
    try {
      Import(doc, sha256, sourceName, site, line, problem);
      return problem->empty();
    } catch (const LibraryError& e) {
      if (attempt < 3 && Busy(e.what())) continue;
      *problem = std::string("the library refused it, nothing was added: ") + e.what();
      return false;
    }
  }
}

std::int64_t LibraryStore::Import(const CDTDoc& doc, const std::shared_future<std::string>& sha256,
                                  const std::string& sourceName, const std::string& siteName,
                                  std::string* line, std::string* problem) {
  problem->clear();
  AddedSeries added;
  if (const std::string why = SeriesOf(doc, added); !why.empty()) {
    *problem = sourceName + " " + why;
    return 0;
  }
  Transaction transaction(db_);
  // Writing first takes the library's write lock at once, so two imports
  // into one site never merge against each other's half.
  Execute(db_, "UPDATE library_info SET value = value WHERE name = ?", {Text("schema_version")});
  // A file already in the library is told as such, whatever else it would
  // meet; nothing of what was done until then is committed.
  const auto known = [&]() -> std::optional<std::int64_t> {
    if (sha256.get().empty()) return std::nullopt;
    QSqlQuery q = Execute(db_, "SELECT id FROM measurement WHERE sha256 = ?", {Text(sha256.get())});
    if (!q.next()) return std::nullopt;
    const std::int64_t id = q.value(0).toLongLong();
    *line = "already in the library as measurement " + std::to_string(id);
    return id;
  };
  const SiteRecord site = FindOrCreateSite(siteName);
  const std::int64_t count = added.run.Count();
  MergePlan plan;
  bool alone = true;  // no stored point of the site in the download's range
  if (count > 0) {
    std::vector<PointRun> stored;
    for (const ChunkInfo& c : Chunks(site.id, added.kind, {added.start, added.end - 1})) {
      stored.push_back(ReadChunk(c));
    }
    alone = stored.empty();
    plan = PlanMerge(added.run, stored);
    if (plan.Refused()) {
      if (const std::optional<std::int64_t> id = known()) return *id;
      if (sha256.get().empty()) return NoFingerprint(sourceName, problem);
      *problem = sourceName + " " + RefusalText(plan, kCsvTimeFormat) +
                 " (to keep it apart, add it to another site with --site)";
      return 0;
    }
  }
  const EventLimits limits = LimitsOf(site);
  const BandBasis basis = BandBasisOf(site, added.kind, limits);
  // No stored point shares its time range: the timeline there is the
  // download itself, analysed where it lies, in the site's scaling.
  std::optional<std::vector<Event>> ownLevel;
  const auto findOwnLevel = [&] {
    ownLevel =
        FindLevelEvents(added.kind == SeriesKind::Store ? StoreRmsSeries(doc, site.scaling)
                                                        : RealTimeRmsSeries(doc, site.scaling),
                        limits);
    std::stable_sort(ownLevel->begin(), ownLevel->end(), LevelEventBefore);
  };
  // The chunks' figures, then those events, are worked out on another core
  // while this one writes.
  ChunkFiguresAhead chunks(added.run, plan.keep, basis,
                           alone && count > 0 ? std::function<void()>(findOwnLevel) : nullptr);
  QSqlQuery inserted = Execute(
      db_,
      "INSERT INTO measurement (site_id, kind, source, sha256, imported_at, start_time, end_time,"
      " interval_s, points, duplicates, ch1_unit, ch2_unit, tr_records, limit_nominal, limit_dip,"
      " limit_swell, limit_interruption, limit_hysteresis, limit_over_current, limit_band)"
      " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?) RETURNING id",
      {Int(site.id),
       Text(KindName(added.kind)),
       Text(sourceName),
       Text(kFingerprintPending),
       Text(FormatTime(LocalNow(), kCsvTimeFormat)),
       Int(added.start),
       Int(added.end),
       Int(added.run.interval),
       Int(count),
       Int(plan.duplicates),
       UnitOrNull(added, 0),
       UnitOrNull(added, 1),
       Int(added.kind == SeriesKind::Store ? doc.trCount : 0),
       limits.nominal,
       limits.dipPct,
       limits.swellPct,
       limits.interruptionPct,
       limits.hysteresisPct,
       limits.overCurrent,
       limits.bandPct});
  if (!inserted.next()) throw LibraryError("the new measurement got no number");
  const std::int64_t id = inserted.value(0).toLongLong();
  // A statement still open would keep the transaction from committing.
  inserted.finish();

  ChunkInserts chunk = PrepareChunkInserts(db_);
  std::vector<ChunkInfo> written;
  InsertChunks(chunk, id, site.id, added.kind, added.run, chunks, &written);
  std::int64_t stored = 0;
  for (const auto& [first, n] : plan.keep) stored += n;
  StoreAddedRollup(id, added.run, added.units, written);
  if (added.kind == SeriesKind::Store && doc.trCount > 0) {
    QSqlQuery tr = Prepare(db_,
                           "INSERT INTO tr_record (measurement_id, record_index, trigger_time,"
                           " channel_code, unit_code, samples) VALUES (?, ?, ?, ?, ?, ?)");
    const std::size_t records = std::min<std::size_t>(
        {static_cast<std::size_t>(doc.trCount), doc.trTimes.size(), doc.trUnit.size(),
         doc.trChannel.size(), doc.trWaves.size() / kTrWavePoints});
    for (std::size_t r = 0; r < records; ++r) {
      const auto from = doc.trWaves.begin() + static_cast<std::ptrdiff_t>(TrRecordStart(r));
      const std::vector<float> samples(from, from + kTrWavePoints);
      Run(tr, {Int(id), Int(static_cast<std::int64_t>(r)), Int(doc.trTimes[r]),
               Int(doc.trChannel[r]), Int(doc.trUnit[r]), Blob(EncodeFloats(samples))});
    }
  }
  chunk.Finish();
  chunks.Finish();
  FindEvents(id, site, ownLevel ? &*ownLevel : nullptr);
  // Only now is the fingerprint waited for. Imports into one library run
  // one at a time, so no other row holds the stand-in meanwhile; a file
  // found already in the library keeps none of this import.
  if (const std::optional<std::int64_t> other = known()) return *other;
  if (sha256.get().empty()) return NoFingerprint(sourceName, problem);
  Execute(db_, "UPDATE measurement SET sha256 = ? WHERE id = ?", {Text(sha256.get()), Int(id)});
  transaction.Commit();
  *line = "added " + std::to_string(stored) + " points (" + std::to_string(plan.duplicates) +
          " duplicates) to " + site.name + " as measurement " + std::to_string(id);
  return id;
}

void LibraryStore::FindEvents(std::int64_t measurement, const SiteRecord& site,
                              const std::vector<Event>* ownLevel) {
  QSqlQuery q = Execute(db_, "SELECT kind, start_time, end_time FROM measurement WHERE id = ?",
                        {Int(measurement)});
  if (!q.next()) return;
  const SeriesKind kind =
      TextOf(q.value(0)) == "realtime" ? SeriesKind::RealTime : SeriesKind::Store;
  const TimeRange range{q.value(1).toLongLong(), q.value(2).toLongLong() - 1};
  const EventLimits limits = LimitsOf(site);
  const ChannelFactors factors = FactorsOf(site, kind);
  std::vector<Event> level;
  if (ownLevel) {
    level = *ownLevel;
  } else {
    const std::vector<ChunkInfo> chunks = Chunks(site.id, kind, range);
    const ChunkReader read = [this](const ChunkInfo& c) { return ReadChunk(c); };
    level = AnalyseSegments(SplitAtGaps(PiecesInRange(chunks, range)), read, factors, limits, false)
                .level;
  }

  StoreFamily records;  // this measurement's TR records, in primary units
  QSqlQuery tr = Execute(db_,
                         "SELECT trigger_time, channel_code, unit_code, samples FROM tr_record"
                         " WHERE measurement_id = ? ORDER BY record_index",
                         {Int(measurement)});
  while (tr.next()) {
    const std::uint8_t channel = static_cast<std::uint8_t>(tr.value(1).toLongLong());
    const double f = site.scaling[channel == kChannel2 ? 1 : 0].OfSample();
    const std::optional<std::vector<float>> samples =
        DecodeFloats(BlobOf(tr.value(3)), kTrWavePoints);
    if (!samples)
      throw LibraryError("a TR record of measurement " + std::to_string(measurement) +
                         " is damaged");
    for (const float v : *samples) records.trWaves.push_back(static_cast<float>(v * f));
    records.trTimes.push_back(tr.value(0).toLongLong());
    records.trChannel.push_back(channel);
    records.trUnit.push_back(static_cast<std::uint8_t>(tr.value(2).toLongLong()));
    ++records.trCount;
  }
  const std::vector<Event> events =
      MergeByStart(std::move(level), TransientEvents(records, ChannelScaling{}));

  Execute(db_, "DELETE FROM event WHERE measurement_id = ?", {Int(measurement)});
  QSqlQuery insert =
      Prepare(db_,
              "INSERT INTO event (measurement_id, kind, channel, first_point,"
              " last_point, start_time, end_time, duration_s, extreme, unit, is_open)"
              " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
  for (const Event& e : events) {
    Run(insert,
        {Int(measurement), Text(EventKindName(e.kind)), Int(e.channel), Int(e.first), Int(e.last),
         Int(e.start), Int(e.end), e.durationS, e.extreme, Text(e.unit), Int(e.open ? 1 : 0)});
  }
  Execute(db_,
          "UPDATE measurement SET limit_nominal = ?, limit_dip = ?, limit_swell = ?,"
          " limit_interruption = ?, limit_hysteresis = ?, limit_over_current = ?, limit_band = ?"
          " WHERE id = ?",
          {limits.nominal, limits.dipPct, limits.swellPct, limits.interruptionPct,
           limits.hysteresisPct, limits.overCurrent, limits.bandPct, Int(measurement)});
}

void LibraryStore::FindEventsAgain(const SiteRecord& site) {
  std::vector<std::int64_t> ids;
  QSqlQuery q = Execute(db_, "SELECT id FROM measurement WHERE site_id = ?", {Int(site.id)});
  while (q.next()) ids.push_back(q.value(0).toLongLong());
  for (const std::int64_t id : ids) FindEventsAndBands(id, site);
}

void LibraryStore::FindEventsAndBands(std::int64_t measurement, const SiteRecord& site) {
  FindEvents(measurement, site);
  // The band figures follow the scaling and the band, and the rollup them.
  Execute(
      db_,
      "DELETE FROM chunk_band WHERE chunk_id IN (SELECT id FROM chunk WHERE measurement_id = ?)",
      {Int(measurement)});
  StoreMissingChunkBands(db_, measurement);
  StoreRollups(db_, measurement);
}

void LibraryStore::StoreAddedRollup(std::int64_t measurement, const PointRun& run,
                                    const std::array<std::string, 2>& units,
                                    std::vector<ChunkInfo>& written) {
  for (ChunkInfo& c : written) c.units = units;
  // The points are at hand: the extremes are placed without a read.
  const ChunkReader read = [&run](const ChunkInfo& c) {
    return run.Slice((c.start - run.start) / run.interval, c.count);
  };
  StoreRollup(db_, measurement, RollUp(written, read));
}

int LibraryStore::FollowLimits(std::optional<std::int64_t> siteId) {
  Transaction transaction(db_);
  QSqlQuery q = Execute(db_,
                        "SELECT m.id, s.name, m.limit_nominal, m.limit_dip, m.limit_swell,"
                        " m.limit_interruption, m.limit_hysteresis, m.limit_over_current,"
                        " m.limit_band FROM measurement m JOIN site s ON s.id = m.site_id"
                        " WHERE ? = 0 OR s.id = ? ORDER BY m.id",
                        {Int(siteId ? 1 : 0), Int(siteId.value_or(0))});
  struct Stored {
    std::int64_t id;
    std::string site;
    std::array<double, 7> limits;
  };
  std::vector<Stored> rows;
  while (q.next()) {
    Stored row{q.value(0).toLongLong(), TextOf(q.value(1)), {}};
    for (std::size_t k = 0; k < row.limits.size(); ++k) {
      row.limits[k] = q.value(static_cast<int>(k) + 2).toDouble();
    }
    rows.push_back(std::move(row));
  }
  // Read whole before the next statement: a PostgreSQL connection reads one
  // statement's rows at a time.
  q.finish();
  std::vector<std::pair<std::int64_t, std::string>> stale;
  std::map<std::string, SiteRecord> sites;
  for (const Stored& row : rows) {
    if (!sites.count(row.site)) sites[row.site] = *Site(row.site);
    const EventLimits now = LimitsOf(sites[row.site]);
    const std::array<double, 7> current = {now.nominal,         now.dipPct,        now.swellPct,
                                           now.interruptionPct, now.hysteresisPct, now.overCurrent,
                                           now.bandPct};
    if (row.limits != current) stale.emplace_back(row.id, row.site);
  }
  for (const auto& [id, name] : stale) FindEventsAndBands(id, sites[name]);
  transaction.Commit();
  return static_cast<int>(stale.size());
}

}  // namespace acv::library
