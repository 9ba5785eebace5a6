#pragma once
// The measurement library: sites, their measurements (each a download or a
// data file, kept as chunks of points, TR records and the events found at
// import) and the questions the CLI and the windows ask of it. One code
// path for SQLite and PostgreSQL: the same statements, values bound.
#include <QSqlDatabase>
#include <array>
#include <cstdint>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "data/CDTDoc.h"
#include "data/ChannelScaling.h"
#include "data/EventLimits.h"
#include "library/LibraryConnection.h"
#include "library/core/SiteTimeline.h"
#include "library/core/TimelineEvents.h"

namespace acv::library {

enum class SeriesKind { Store, RealTime };
// "store" / "realtime", as stored and as the CLI takes it.
const char* KindName(SeriesKind kind);

struct SiteRecord {
  std::int64_t id = 0;
  std::string name;
  double nominal = 230.0;    // volts, primary
  double frequency = 50.0;   // Hz
  ChannelScaling scaling{};  // ratio and sample scale per channel
  std::string notes;
};

struct SiteListing {
  std::string name;
  std::int64_t measurements = 0;
  std::optional<TimeStamp> first, last;  // first point; just after the last point
  std::int64_t points = 0;               // stored points (duplicates not counted)
};

struct MeasurementRecord {
  std::int64_t id = 0;
  std::string site;
  SeriesKind kind = SeriesKind::Store;
  TimeStamp start = 0, end = 0;  // first point; just after the last
  std::int64_t points = 0, duplicates = 0, interval = 0, trRecords = 0;
  std::array<std::string, 2> units;  // "" for an absent channel
  std::string source, sha256, importedAt;
};

// A TR record as kept: its raw samples, unit and channel codes.
struct StoredTrRecord {
  TimeStamp trigger = 0;
  std::uint8_t channel = 0, unit = 0;
  std::vector<float> samples;
};

class LibraryStore {
 public:
  // Checks the schema version of the open database: creates the tables in an
  // empty one, upgrades an older one in one transaction, refuses (nullptr and
  // *problem) a newer one or a database that is not a library. `where` names
  // the library in messages (never with a password). The database must stay
  // open while the store is used.
  static std::unique_ptr<LibraryStore> Attach(LibraryConnection& connection, std::string* problem);
  // The same for a database opened otherwise.
  static std::unique_ptr<LibraryStore> Attach(const QSqlDatabase& db, bool postgres,
                                              const std::string& where, std::string* problem);

  // The limits events are found with: the settings' percentages; each site's
  // own nominal voltage replaces the nominal.
  void SetEventLimits(const EventLimits& limits) { limits_ = limits; }
  const EventLimits& DefaultLimits() const { return limits_; }

  std::vector<std::string> SiteNames();
  // Adds the data set (its file bytes give the SHA-256) to the site, creating
  // the site when new. All or nothing. `line` receives the one line to tell
  // ("added P points (D duplicates) to SITE as measurement N" or "already in
  // the library as measurement N"); false and *problem on failure.
  bool AddDataSet(const CDTDoc& doc, const std::vector<std::uint8_t>& fileBytes,
                  const std::string& sourceName, const std::string& site, std::string* line,
                  std::string* problem);

  // The following throw LibraryError when the database fails.
  std::vector<SiteListing> Sites();
  std::optional<SiteRecord> Site(const std::string& name);
  // Creates the site or changes it; when its nominal or scaling changes, the
  // events of its measurements are found again with the new values.
  void SaveSite(const SiteRecord& site);
  std::vector<MeasurementRecord> Measurements(const std::optional<std::string>& site);
  // Measurement `id`, when the library has it.
  std::optional<MeasurementRecord> Measurement(std::int64_t id);
  // false when there is no such measurement. Its points that other
  // measurements of the site held as duplicates stay, as theirs.
  bool RemoveMeasurement(std::int64_t id);

  // The site's chunks of one kind that reach into the range, in time order,
  // without their points.
  std::vector<ChunkInfo> Chunks(std::int64_t siteId, SeriesKind kind, const TimeRange& range = {});
  // The same, for questions the summaries answer: a measurement that the
  // range holds whole comes as its rollup, which stands for all its chunks.
  std::vector<ChunkInfo> SummaryChunks(std::int64_t siteId, SeriesKind kind,
                                       const TimeRange& range = {});
  // The chunks a rollup stands for, in time order.
  std::vector<ChunkInfo> RollupParts(const ChunkInfo& rollup);
  // A chunk's (or a rollup's) points; throws LibraryError when its blobs do
  // not hold them.
  PointRun ReadChunk(const ChunkInfo& chunk);
  // The level events stored for the site's measurements of one kind that
  // reach into the range, of those whose events were found with `limits`,
  // each with the time range they were found over.
  std::vector<StoredLevelEvents> LevelEventsFoundWith(std::int64_t siteId, SeriesKind kind,
                                                      const TimeRange& range,
                                                      const EventLimits& limits);
  // The TR records of the site's STORE measurements triggered within the range.
  std::vector<StoredTrRecord> TrRecords(std::int64_t siteId, const TimeRange& range);

  // The events and band figures of the site's measurements (all sites' when
  // nullopt) that were found with other limits than the current ones (the
  // settings' percentages with the site's nominal) found again, in one
  // transaction. Returns how many measurements that concerned.
  int FollowLimits(std::optional<std::int64_t> siteId);

  // Recomputes every chunk's summaries and every measurement's counts from
  // the stored points: one line per difference, none when all agree.
  std::vector<std::string> Check();

  // The factors the site's values are shown with (the ratio for STORE RMS,
  // ratio x sample scale for the real-time RMS computed from raw counts).
  static ChannelFactors FactorsOf(const SiteRecord& site, SeriesKind kind);

 private:
  LibraryStore(const QSqlDatabase& db, bool postgres) : db_(db), postgres_(postgres) {}
  SiteRecord FindOrCreateSite(const std::string& name);
  std::optional<SiteRecord> SiteById(std::int64_t id);
  std::optional<SiteRecord> SiteWhere(const char* condition, const QVariant& value);
  // SaveSite inside a transaction already open.
  void WriteSite(const SiteRecord& site);
  // `sha256` is the file's fingerprint being computed ("" when it cannot
  // be): the import waits for it only before it commits.
  std::int64_t Import(const CDTDoc& doc, const std::shared_future<std::string>& sha256,
                      const std::string& sourceName, const std::string& siteName, std::string* line,
                      std::string* problem);
  // Finds the events of a measurement over its stored points (and those it
  // repeated) with the site's limits and scaling, in place of the old ones.
  // `ownLevel`, when given, are the level events of the measurement's whole
  // time range in the site's scaling (a download no other overlaps), found
  // in memory instead of from the library, in LevelEventBefore order.
  void FindEvents(std::int64_t measurement, const SiteRecord& site,
                  const std::vector<Event>* ownLevel = nullptr);
  void FindEventsAgain(const SiteRecord& site);
  // FindEvents, and the band figures of the measurement's chunks anew.
  void FindEventsAndBands(std::int64_t measurement, const SiteRecord& site);
  // The rollup of a new measurement's chunks, from the points added.
  void StoreAddedRollup(std::int64_t measurement, const PointRun& run,
                        const std::array<std::string, 2>& units, std::vector<ChunkInfo>& written);
  // The points of measurement `id` that another measurement of the site
  // repeated become that measurement's own.
  void HandOverRepeatedPoints(std::int64_t id, std::int64_t site, SeriesKind kind);
  EventLimits LimitsOf(const SiteRecord& site) const;

  QSqlDatabase db_;
  bool postgres_ = false;
  EventLimits limits_;
};

}  // namespace acv::library
