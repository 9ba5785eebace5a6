#include "library/LibrarySchema.h"

#include <QString>
#include <QStringList>
#include <vector>

#include "library/LibraryEnvelope.h"
#include "library/LibraryRollup.h"
#include "library/LibraryRows.h"
#include "library/LibrarySql.h"

namespace acv::library {
namespace {

// The tables, written once for both engines: "@ID" and "@BLOB" are the only
// words that differ (an automatic key; SQLite's BLOB, PostgreSQL's BYTEA).
// Names avoid the words either engine reserves (start, end, interval).
const char* const kTables[] = {
    "CREATE TABLE IF NOT EXISTS library_info (name TEXT PRIMARY KEY, value TEXT NOT NULL)",
    "CREATE TABLE IF NOT EXISTS site ("
    " id @ID, name TEXT NOT NULL UNIQUE,"
    " nominal_v DOUBLE PRECISION NOT NULL, frequency_hz DOUBLE PRECISION NOT NULL,"
    " ratio_ch1 DOUBLE PRECISION NOT NULL, ratio_ch2 DOUBLE PRECISION NOT NULL,"
    " scale_ch1 DOUBLE PRECISION NOT NULL, scale_ch2 DOUBLE PRECISION NOT NULL,"
    " notes TEXT NOT NULL)",
    // kind: 'store' or 'realtime'; times in seconds since 1970 (UTC); end_time
    // is the time just after the last point; points counts the download's
    // points, duplicates those already stored before it; a unit is NULL for
    // an absent channel; the event limits in force when its events were found.
    "CREATE TABLE IF NOT EXISTS measurement ("
    " id @ID, site_id BIGINT NOT NULL REFERENCES site(id),"
    " kind TEXT NOT NULL, source TEXT NOT NULL, sha256 TEXT NOT NULL UNIQUE,"
    " imported_at TEXT NOT NULL, start_time BIGINT NOT NULL, end_time BIGINT NOT NULL,"
    " interval_s BIGINT NOT NULL, points BIGINT NOT NULL, duplicates BIGINT NOT NULL,"
    " ch1_unit TEXT, ch2_unit TEXT, tr_records BIGINT NOT NULL,"
    " limit_nominal DOUBLE PRECISION NOT NULL, limit_dip DOUBLE PRECISION NOT NULL,"
    " limit_swell DOUBLE PRECISION NOT NULL, limit_interruption DOUBLE PRECISION NOT NULL,"
    " limit_hysteresis DOUBLE PRECISION NOT NULL, limit_over_current DOUBLE PRECISION NOT NULL,"
    " limit_band DOUBLE PRECISION NOT NULL)",
    // Points at a regular interval, a little-endian float32 blob per present
    // channel, last in the row: SQLite then reads the summaries without
    // walking through the blobs' overflow pages. Per channel the finite points, the non-finite ones
    // left out, min, max, sum and the sum of squared deviations from the chunk's mean; the sum and
    // count of CH1 x CH2 products.
    "CREATE TABLE IF NOT EXISTS chunk ("
    " id @ID, measurement_id BIGINT NOT NULL REFERENCES measurement(id),"
    " site_id BIGINT NOT NULL, kind TEXT NOT NULL,"
    " start_time BIGINT NOT NULL, interval_s BIGINT NOT NULL, points BIGINT NOT NULL,"
    " ch1_points BIGINT, ch1_left_out BIGINT, ch1_min DOUBLE PRECISION, ch1_max DOUBLE PRECISION,"
    " ch1_sum DOUBLE PRECISION, ch1_deviations DOUBLE PRECISION,"
    " ch2_points BIGINT, ch2_left_out BIGINT, ch2_min DOUBLE PRECISION, ch2_max DOUBLE PRECISION,"
    " ch2_sum DOUBLE PRECISION, ch2_deviations DOUBLE PRECISION,"
    " product_sum DOUBLE PRECISION NOT NULL, product_points BIGINT NOT NULL,"
    " ch1 @BLOB, ch2 @BLOB)",
    "CREATE INDEX IF NOT EXISTS chunk_by_time ON chunk (site_id, kind, start_time)",
    "CREATE INDEX IF NOT EXISTS chunk_by_measurement ON chunk (measurement_id)",
    // 251 raw samples as float32, as the data file keeps them.
    "CREATE TABLE IF NOT EXISTS tr_record ("
    " id @ID, measurement_id BIGINT NOT NULL REFERENCES measurement(id),"
    " record_index BIGINT NOT NULL, trigger_time BIGINT NOT NULL,"
    " channel_code BIGINT NOT NULL, unit_code BIGINT NOT NULL, samples @BLOB NOT NULL)",
    "CREATE INDEX IF NOT EXISTS tr_record_by_measurement ON tr_record (measurement_id)",
    "CREATE TABLE IF NOT EXISTS event ("
    " id @ID, measurement_id BIGINT NOT NULL REFERENCES measurement(id),"
    " kind TEXT NOT NULL, channel BIGINT NOT NULL, first_point BIGINT NOT NULL,"
    " last_point BIGINT NOT NULL, start_time BIGINT NOT NULL, end_time BIGINT NOT NULL,"
    " duration_s DOUBLE PRECISION NOT NULL, extreme DOUBLE PRECISION NOT NULL, unit TEXT NOT NULL,"
    " is_open BIGINT NOT NULL)",
    "CREATE INDEX IF NOT EXISTS event_by_measurement ON event (measurement_id)",
    // A chunk's band figures (library/core/ChunkBands.h): the factors and the
    // band they were taken with, the points in the band per channel and the
    // 10-minute partials as fixed-size records. A table of its own rather
    // than columns of chunk: SQLite would reach columns added after the
    // point blobs only through their overflow pages.
    "CREATE TABLE IF NOT EXISTS chunk_band ("
    " chunk_id @KEY REFERENCES chunk(id),"
    " factor_ch1 DOUBLE PRECISION NOT NULL, factor_ch2 DOUBLE PRECISION NOT NULL,"
    " band_low DOUBLE PRECISION NOT NULL, band_high DOUBLE PRECISION NOT NULL,"
    " ch1_in_band BIGINT NOT NULL, ch2_in_band BIGINT NOT NULL, partials @BLOB NOT NULL)",
    // A measurement's chunks rolled up into one (library/core/MeasurementRollup.h),
    // kept only when its points are one run: the joined summaries with where
    // each channel's first minimum and maximum lie, and the joined band
    // figures (NULL when its chunks lack them or took them with several bases).
    "CREATE TABLE IF NOT EXISTS measurement_rollup ("
    " measurement_id @KEY REFERENCES measurement(id),"
    " start_time BIGINT NOT NULL, interval_s BIGINT NOT NULL, points BIGINT NOT NULL,"
    " chunks BIGINT NOT NULL,"
    " ch1_points BIGINT, ch1_left_out BIGINT, ch1_min DOUBLE PRECISION, ch1_max DOUBLE PRECISION,"
    " ch1_sum DOUBLE PRECISION, ch1_deviations DOUBLE PRECISION,"
    " ch1_min_at BIGINT, ch1_max_at BIGINT,"
    " ch2_points BIGINT, ch2_left_out BIGINT, ch2_min DOUBLE PRECISION, ch2_max DOUBLE PRECISION,"
    " ch2_sum DOUBLE PRECISION, ch2_deviations DOUBLE PRECISION,"
    " ch2_min_at BIGINT, ch2_max_at BIGINT,"
    " product_sum DOUBLE PRECISION NOT NULL, product_points BIGINT NOT NULL,"
    " factor_ch1 DOUBLE PRECISION, factor_ch2 DOUBLE PRECISION,"
    " band_low DOUBLE PRECISION, band_high DOUBLE PRECISION,"
    " ch1_in_band BIGINT, ch2_in_band BIGINT, partials @BLOB)",
    // A chunk's envelope (library/core/ChunkEnvelope.h) per present channel,
    // for drawing a site's timeline without reading its points.
    ("CREATE TABLE IF NOT EXISTS chunk_envelope (chunk_id @KEY REFERENCES chunk(id),"
     " ch1 @BLOB, ch2 @BLOB)"),
};

// What upgrades a library of version v (the index + 1) to the next one:
// statements, then what fills the new columns or tables from the stored
// points. New tables come from kTables before the steps run.
struct Upgrade {
  std::vector<const char*> statements;
  void (*fill)(const QSqlDatabase& db) = nullptr;
};
const std::vector<Upgrade> kUpgrades = {
    // 1 -> 2: the band figures of every chunk.
    {{}, [](const QSqlDatabase& db) { StoreMissingChunkBands(db); }},
    // 2 -> 3: every measurement's rollup.
    {{}, [](const QSqlDatabase& db) { StoreRollups(db); }},
    // 3 -> 4: the envelope of every chunk.
    {{}, [](const QSqlDatabase& db) { StoreMissingEnvelopes(db); }},
};

const char* const kTableNames[] = {"library_info",  "site",  "measurement", "chunk",
                                   "tr_record",     "event", "chunk_band",  "measurement_rollup",
                                   "chunk_envelope"};

void CreateTables(const QSqlDatabase& db, bool postgres) {
  for (const char* table : kTables) {
    QString sql = QString::fromUtf8(table);
    sql.replace("@ID", postgres ? "BIGSERIAL PRIMARY KEY" : "INTEGER PRIMARY KEY");
    // A key given by the row it belongs to (SQLite keeps it as the row's own).
    sql.replace("@KEY", postgres ? "BIGINT PRIMARY KEY" : "INTEGER PRIMARY KEY");
    sql.replace("@BLOB", postgres ? "BYTEA" : "BLOB");
    const QByteArray text = sql.toUtf8();
    Execute(db, text.constData());
  }
}

int StoredVersion(const QSqlDatabase& db) {
  QSqlQuery q =
      Execute(db, "SELECT value FROM library_info WHERE name = ?", {Text("schema_version")});
  if (!q.next()) return 0;
  bool ok = false;
  const int version = q.value(0).toString().toInt(&ok);
  return ok ? version : -1;
}

}  // namespace

std::string PrepareSchema(const QSqlDatabase& db, bool postgres, const std::string& where) {
  try {
    const QStringList tables = db.tables();
    if (!tables.contains("library_info")) {
      // An empty database becomes a library; one holding other tables is
      // someone else's and is left alone.
      QStringList foreign;
      for (const QString& t : tables) {
        if (!t.startsWith("sqlite_")) foreign << t;
      }
      if (!foreign.isEmpty()) {
        return where + " is not an acvlogger library (it holds other tables: " +
               foreign.join(", ").toStdString() + ")";
      }
    } else {
      const int version = StoredVersion(db);
      if (version > kSchemaVersion) {
        return where + " is a library of version " + std::to_string(version) +
               ", newer than this program's " + std::to_string(kSchemaVersion) +
               ": it is left unchanged; use a newer acvlogger";
      }
      if (version < 1) return where + " is not an acvlogger library (no valid version number)";
      if (version == kSchemaVersion) {
        for (const char* table : kTableNames) {
          if (!tables.contains(table))
            return where + " is a damaged library: it lacks the table " + table;
        }
        return {};
      }
    }
    Transaction transaction(db);
    CreateTables(db, postgres);
    const int version = StoredVersion(db);
    for (int v = std::max(version, 1); v < kSchemaVersion; ++v) {
      const Upgrade& step = kUpgrades[static_cast<std::size_t>(v - 1)];
      for (const char* sql : step.statements) Execute(db, sql);
      if (step.fill) step.fill(db);
    }
    Execute(db,
            "INSERT INTO library_info (name, value) VALUES (?, ?)"
            " ON CONFLICT (name) DO UPDATE SET value = excluded.value",
            {Text("schema_version"), Text(std::to_string(kSchemaVersion))});
    transaction.Commit();
    return {};
  } catch (const LibraryError& e) {
    return "cannot use the library at " + where + ": " + e.what();
  }
}

}  // namespace acv::library
