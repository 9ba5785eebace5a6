// The library's store on both engines: overlapping downloads merged, a
// conflict refused whole, removal, the schema's refusals, and events found
// again when a site's nominal voltage changes.
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QSqlQuery>
#include <algorithm>
#include <limits>

#include "TestLibrary.h"
#include "data/DataFile.h"
#include "library/LibrarySchema.h"
#include "library/LibrarySql.h"
#include "library/LibraryStore.h"
#include "library/core/TimelineBand.h"
#include "library/core/TimelineEvents.h"

namespace acv::library {
namespace {

constexpr TimeStamp kStart = 1'772'359'200;  // 2026-03-01 10:00 UTC

CDTDoc Download(TimeStamp start, std::vector<float> ch1) {
  CDTDoc doc;
  doc.formatTag = kTagStore;
  doc.rmsStartTime = start;
  doc.rmsInterval = 60.0f;
  doc.hasCh1 = 1;
  doc.rmsUnitCh1 = "V";
  doc.rmsCount = static_cast<std::int32_t>(ch1.size());
  doc.rmsCh1 = std::move(ch1);
  doc.ComputeStoreStatistics();
  return doc;
}

std::vector<float> Steady(int n, float v = 230.0f) {
  return std::vector<float>(static_cast<std::size_t>(n), v);
}

struct Library {
  std::unique_ptr<LibraryConnection> connection = test::OpenFreshTestLibrary();
  std::unique_ptr<LibraryStore> store;
  std::string problem;
  Library() {
    if (connection) {
      store = LibraryStore::Attach(connection->Database(), connection->IsPostgres(),
                                   connection->Location().Display(), &problem);
    }
  }
  // The line of an add, or "refused: PROBLEM".
  std::string Add(const CDTDoc& doc, const std::string& site = "Substation 4") {
    std::string line, why;
    if (!store->AddDataSet(doc, EncodeDataFile(doc), "f.stdata", site, &line, &why))
      return "refused: " + why;
    return line;
  }
  std::int64_t Count(const char* sql) {
    QSqlQuery q(connection->Database());
    EXPECT_TRUE(q.exec(sql));
    return q.next() ? q.value(0).toLongLong() : -1;
  }
};

TEST(LibraryStore, OverlappingDownloadsMergeAndAConflictChangesNothing) {
  Library lib;
  ASSERT_TRUE(lib.store) << lib.problem;
  std::vector<float> first = Steady(5000);
  first[4500] = 229.5f;
  std::vector<float> second(first.begin() + 4000, first.end());
  second.resize(3000, 231.0f);  // 1000 repeated points, then 2000 new ones
  EXPECT_EQ(lib.Add(Download(kStart, first)),
            "added 5000 points (0 duplicates) to Substation 4 as measurement 1");
  EXPECT_EQ(lib.Add(Download(kStart + 4000 * 60, second)),
            "added 2000 points (1000 duplicates) to Substation 4 as measurement 2");
  EXPECT_EQ(lib.Add(Download(kStart + 4000 * 60, second)),
            "already in the library as measurement 2");
  // The fingerprint is the SHA-256 of the file's bytes, as libraries written
  // before hold it.
  const std::vector<std::uint8_t> bytes = EncodeDataFile(Download(kStart, first));
  EXPECT_EQ(lib.store->Measurements(std::nullopt)[0].sha256,
            QCryptographicHash::hash(QByteArray(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<qsizetype>(bytes.size())),
                                     QCryptographicHash::Sha256)
                .toHex()
                .toStdString());

  // The logger's clock set back: point 4500 comes again with another value.
  std::vector<float> clash = Steady(3000, 230.0f);
  const std::string refused = lib.Add(Download(kStart + 4400 * 60, clash));
  EXPECT_NE(refused.find("refused: f.stdata conflicts with the site's stored points at " +
                         FormatTime(kStart + 4500 * 60, kCsvTimeFormat)),
            std::string::npos)
      << refused;
  EXPECT_EQ(lib.Count("SELECT COUNT(*) FROM measurement"), 2);
  EXPECT_EQ(lib.Count("SELECT SUM(points) FROM chunk"), 7000);
  EXPECT_TRUE(lib.store->Check().empty());

  // The bytes are known, whichever site they are offered to.
  EXPECT_EQ(lib.Add(Download(kStart + 4000 * 60, second), "Elsewhere"),
            "already in the library as measurement 2");

  const std::vector<SiteListing> sites = lib.store->Sites();
  ASSERT_EQ(sites.size(), 1u);
  EXPECT_EQ(sites[0].points, 7000);
  EXPECT_EQ(sites[0].first, kStart);
  EXPECT_EQ(sites[0].last, kStart + 7000 * 60);

  // The merged timeline is one stretch without a gap.
  const SiteRecord site = *lib.store->Site("Substation 4");
  const std::vector<ChunkInfo> chunks = lib.store->Chunks(site.id, SeriesKind::Store);
  const auto segments = SplitAtGaps(PiecesInRange(chunks, {}));
  ASSERT_EQ(segments.size(), 1u);
  const ChunkReader read = [&](const ChunkInfo& c) { return lib.store->ReadChunk(c); };
  const SpanStatistics stats = TimelineStatistics(segments[0], read, {1, 1});
  EXPECT_EQ(stats.Points(), 7000);
  EXPECT_EQ(stats.channels[0].minPoint, 4501);
  EXPECT_FLOAT_EQ(stats.channels[0].max, 231.0f);

  // Known bytes are told as such even where they would meet a conflict.
  // (Its number is PostgreSQL's next, which imports that kept nothing used up.)
  EXPECT_EQ(lib.Add(Download(kStart + 4400 * 60, clash), "Other")
                .rfind("added 3000 points (0 duplicates) to Other as measurement ", 0),
            0u);
  EXPECT_EQ(lib.Add(Download(kStart, first), "Other"), "already in the library as measurement 1");
  EXPECT_TRUE(lib.store->Check().empty());
}

TEST(LibraryStore, RealTimeRunsAreATimelineOfTheirOwn) {
  Library lib;
  ASSERT_TRUE(lib.store) << lib.problem;
  CDTDoc run;
  run.formatTag = kTagRealTime;
  run.rtStartTime = kStart;
  run.rtInterval = 60;
  run.rtHasCh1 = run.rtHasCh2 = 1;
  run.rtUnitCh1 = "V";
  run.rtUnitCh2 = "A";
  for (int k = 0; k < 10; ++k) {
    run.rtRms.push_back({231.0f, 2.0f + static_cast<float>(k)});
    run.rtFreq.push_back({50.0f, 50.0f});
  }
  run.rtCount = 10;
  // The same times as a STORE download with other values: another kind,
  // so no conflict; the run's own tail again is a duplicate.
  EXPECT_EQ(lib.Add(Download(kStart, Steady(10))),
            "added 10 points (0 duplicates) to Substation 4 as measurement 1");
  EXPECT_EQ(lib.Add(run), "added 10 points (0 duplicates) to Substation 4 as measurement 2");
  CDTDoc later = run;
  later.rtStartTime = kStart + 5 * 60;
  later.rtRms.erase(later.rtRms.begin(), later.rtRms.begin() + 5);
  later.rtRms.push_back({232.0f, 1.0f});
  later.rtFreq.resize(6);
  later.rtCount = 6;
  EXPECT_EQ(lib.Add(later), "added 1 points (5 duplicates) to Substation 4 as measurement 3");
  const std::vector<MeasurementRecord> list = lib.store->Measurements("Substation 4");
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[1].kind, SeriesKind::RealTime);
  EXPECT_EQ(list[1].units, (std::array<std::string, 2>{"V", "A"}));
  const SiteRecord site = *lib.store->Site("Substation 4");
  EXPECT_EQ(lib.store->Chunks(site.id, SeriesKind::RealTime).size(), 2u);
  EXPECT_EQ(lib.store->Chunks(site.id, SeriesKind::Store).size(), 1u);
}

TEST(LibraryStore, RemovingAMeasurementLeavesNothingOfIt) {
  Library lib;
  ASSERT_TRUE(lib.store) << lib.problem;
  CDTDoc withRecords = Download(kStart, Steady(10));
  withRecords.trCount = 1;
  withRecords.trWaves = std::vector<float>(kTrWavePoints, 100.0f);
  withRecords.trTimes = {kStart + 60};
  withRecords.trUnit = {kUnitVolt};
  withRecords.trChannel = {kChannel1};
  lib.Add(withRecords);
  lib.Add(Download(kStart + 3600, Steady(10)));
  EXPECT_TRUE(lib.store->RemoveMeasurement(1));
  EXPECT_FALSE(lib.store->RemoveMeasurement(1));
  EXPECT_EQ(lib.Count("SELECT COUNT(*) FROM chunk WHERE measurement_id = 1"), 0);
  EXPECT_EQ(lib.Count("SELECT COUNT(*) FROM tr_record"), 0);
  EXPECT_EQ(lib.Count("SELECT COUNT(*) FROM event WHERE measurement_id = 1"), 0);
  EXPECT_TRUE(lib.store->Check().empty());
  ASSERT_EQ(lib.store->Measurements(std::nullopt).size(), 1u);
}

TEST(LibraryStore, RemovingADownloadKeepsThePointsAnotherRepeated) {
  Library lib;
  ASSERT_TRUE(lib.store) << lib.problem;
  lib.Add(Download(kStart, Steady(6000)));
  lib.Add(Download(kStart + 1000 * 60, Steady(6000)));  // repeats 5000 points
  lib.Add(Download(kStart + 20000 * 60, Steady(10)));   // after a gap, untouched
  ASSERT_TRUE(lib.store->RemoveMeasurement(1));
  EXPECT_EQ(lib.Count("SELECT duplicates FROM measurement WHERE id = 2"), 0);
  EXPECT_EQ(lib.Count("SELECT SUM(points) FROM chunk WHERE measurement_id = 2"), 6000);
  EXPECT_EQ(lib.Count("SELECT COUNT(*) FROM chunk WHERE measurement_id = 1"), 0);
  EXPECT_TRUE(lib.store->Check().empty());
  EXPECT_EQ(lib.store->Sites()[0].points, 6010);
}

TEST(LibraryStore, ANewerOrAForeignDatabaseIsLeftAlone) {
  Library newer;
  ASSERT_TRUE(newer.store) << newer.problem;
  QSqlQuery(newer.connection->Database())
      .exec("UPDATE library_info SET value = '99' WHERE name = 'schema_version'");
  std::string problem;
  EXPECT_FALSE(LibraryStore::Attach(newer.connection->Database(), newer.connection->IsPostgres(),
                                    "L", &problem));
  EXPECT_EQ(problem, "L is a library of version 99, newer than this program's " +
                         std::to_string(kSchemaVersion) +
                         ": it is left unchanged; use a newer acvlogger");

  std::unique_ptr<LibraryConnection> foreign = test::OpenFreshTestLibrary();
  ASSERT_TRUE(foreign);
  ASSERT_TRUE(QSqlQuery(foreign->Database()).exec("CREATE TABLE invoices (id INTEGER)"));
  EXPECT_FALSE(LibraryStore::Attach(foreign->Database(), foreign->IsPostgres(), "L", &problem));
  EXPECT_EQ(problem, "L is not an acvlogger library (it holds other tables: invoices)");
}

TEST(LibraryStore, ANewNominalFindsTheEventsAgain) {
  Library lib;
  ASSERT_TRUE(lib.store) << lib.problem;
  std::vector<float> values = Steady(20);
  values[5] = values[6] = 200.0f;  // a dip under 90 % of 230 V, not of 215 V
  lib.Add(Download(kStart, values));
  EXPECT_EQ(lib.Count("SELECT COUNT(*) FROM event WHERE kind = 'dip'"), 1);
  SiteRecord site = *lib.store->Site("Substation 4");
  site.nominal = 215.0;
  lib.store->SaveSite(site);
  EXPECT_EQ(lib.Count("SELECT COUNT(*) FROM event WHERE kind = 'dip'"), 0);
  EXPECT_EQ(lib.Count("SELECT COUNT(*) FROM measurement WHERE limit_nominal = 215"), 1);
}

TEST(LibraryStore, EventsFoundWithOtherLimitsAreFoundAgainOnce) {
  Library lib;
  ASSERT_TRUE(lib.store) << lib.problem;
  std::vector<float> values = Steady(20);
  values[5] = 200.0f;  // under 90 % of 230 V, not under 80 %
  lib.Add(Download(kStart, values));
  lib.Add(Download(kStart + 3600, Steady(20)), "Elsewhere");
  EventLimits limits;
  limits.dipPct = 80.0;
  lib.store->SetEventLimits(limits);
  const SiteRecord site = *lib.store->Site("Substation 4");
  EXPECT_EQ(lib.store->FollowLimits(site.id), 1);
  EXPECT_EQ(lib.Count("SELECT COUNT(*) FROM event WHERE kind = 'dip'"), 0);
  EXPECT_EQ(lib.store->FollowLimits(site.id), 0);
  EXPECT_EQ(lib.store->FollowLimits(std::nullopt), 1);  // the other site's measurement
  EXPECT_TRUE(lib.store->Check().empty());
}

// A site of three downloads: the second repeats the first's tail and runs
// on without a gap, the third follows a gap. Short and long dips, a swell
// and a damaged point lie inside chunks, on the join of two downloads and
// where a range below cuts; the rest is quiet.
void AddBandSite(Library& lib) {
  std::vector<float> first = Steady(5000, 231.0f);
  for (int k = 0; k < 5000; ++k) first[k] += static_cast<float>(k % 7) * 0.5f;
  first[700] = 200.0f;                                    // a one-minute dip
  for (int k = 2000; k < 2004; ++k) first[k] = 260.0f;    // a four-minute swell
  first[3000] = std::numeric_limits<float>::quiet_NaN();  // a damaged point
  for (int k = 4995; k < 5000; ++k) first[k] = 190.0f;    // a dip running into the next
  std::vector<float> second(first.begin() + 4900, first.end());
  second.resize(5000, 229.0f);
  second[300] = 100.0f;  // interruption-deep, short
  lib.Add(Download(kStart, first));
  lib.Add(Download(kStart + 4900 * 60, second));
  std::vector<float> third = Steady(3000, 236.0f);
  third[10] = 203.0f;
  lib.Add(Download(kStart + 12000 * 60, third));
}

void ExpectSameBand(const std::vector<BandShare>& found, const std::vector<BandShare>& expected,
                    const std::string& label) {
  ASSERT_EQ(found.size(), expected.size()) << label;
  for (std::size_t i = 0; i < found.size(); ++i) {
    const BandShare &f = found[i], &e = expected[i];
    EXPECT_EQ(f.channel, e.channel) << label;
    EXPECT_EQ(f.points, e.points) << label;
    EXPECT_EQ(f.pointsInBand, e.pointsInBand) << label;
    EXPECT_EQ(f.pointsLeftOut, e.pointsLeftOut) << label;
    EXPECT_EQ(f.tenMinuteFlagged, e.tenMinuteFlagged) << label;
    EXPECT_EQ(f.tenMinuteInBand, e.tenMinuteInBand) << label;
    ASSERT_EQ(f.tenMinute.size(), e.tenMinute.size()) << label;
    for (std::size_t k = 0; k < f.tenMinute.size(); ++k) {
      EXPECT_EQ(f.tenMinute[k].start, e.tenMinute[k].start) << label << " value " << k;
      EXPECT_EQ(f.tenMinute[k].flagged, e.tenMinute[k].flagged) << label << " value " << k;
      EXPECT_NEAR(f.tenMinute[k].value, e.tenMinute[k].value, 1e-9) << label << " value " << k;
    }
  }
}

// The band summary from the chunks' stored figures is the one the analysis
// gives over the merged points, for the limits they were stored with and
// for others, over the whole site and over ranges that cut chunks.
TEST(LibraryStore, BandSummaryFromChunkFiguresEqualsTheAnalysisOfThePoints) {
  Library lib;
  ASSERT_TRUE(lib.store) << lib.problem;
  AddBandSite(lib);
  SiteRecord site = *lib.store->Site("Substation 4");
  site.scaling[0].ratio = 2.0;  // the figures follow a change of scaling
  lib.store->SaveSite(site);
  const ChunkReader read = [&](const ChunkInfo& c) { return lib.store->ReadChunk(c); };
  EventLimits narrow;
  narrow.nominal = 460.0;
  narrow.bandPct = 4.0;
  EventLimits stored;
  stored.nominal = 460.0;
  const struct {
    const char* label;
    TimeRange range;
    EventLimits limits;
  } cases[] = {
      {"whole site", {}, stored},
      {"whole site, another band", {}, narrow},
      {"cut through the join's dip", {kStart + 4997 * 60, kStart + 9000 * 60}, stored},
      {"cut inside chunks", {kStart + 1000 * 60 + 30, kStart + 12500 * 60}, narrow},
  };
  for (const auto& c : cases) {
    const std::vector<ChunkInfo> chunks = lib.store->Chunks(site.id, SeriesKind::Store, c.range);
    const auto segments = SplitAtGaps(PiecesInRange(chunks, c.range));
    ExpectSameBand(TimelineBand(segments, read, {2.0, 1.0}, c.limits),
                   AnalyseSegments(segments, read, {2.0, 1.0}, c.limits).band, c.label);
  }
  EXPECT_TRUE(lib.store->Check().empty());
}

void ExpectSameStatistics(const SpanStatistics& found, const SpanStatistics& expected,
                          const std::string& label) {
  EXPECT_EQ(found.Points(), expected.Points()) << label;
  EXPECT_EQ(found.start, expected.start) << label;
  EXPECT_EQ(found.end, expected.end) << label;
  for (int c = 0; c < 2; ++c) {
    const ChannelSpan &f = found.channels[c], &e = expected.channels[c];
    EXPECT_EQ(f.points, e.points) << label;
    EXPECT_EQ(f.leftOut, e.leftOut) << label;
    EXPECT_EQ(f.min, e.min) << label;
    EXPECT_EQ(f.max, e.max) << label;
    EXPECT_EQ(f.minPoint, e.minPoint) << label;
    EXPECT_EQ(f.maxPoint, e.maxPoint) << label;
    EXPECT_NEAR(f.mean, e.mean, 1e-9) << label;
    EXPECT_NEAR(f.stddev, e.stddev, 1e-9) << label;
  }
}

// Measurements' rollups stand for their chunks: the statistics and band
// summary of ranges holding whole measurements, cutting them, after a
// change of scaling and after a removal hands points over, are those of the
// chunks; a download split around an earlier one has no rollup and is read
// as chunks.
TEST(LibraryStore, RollupsGiveTheFiguresOfTheirChunks) {
  Library lib;
  ASSERT_TRUE(lib.store) << lib.problem;
  AddBandSite(lib);
  // Around the third download on both sides, the same values where they meet.
  std::vector<float> around = Steady(4000, 233.0f);
  for (int k = 500; k < 3500; ++k) around[k] = 236.0f;
  around[510] = 203.0f;
  ASSERT_EQ(lib.Add(Download(kStart + 11500 * 60, around)),
            "added 1000 points (3000 duplicates) to Substation 4 as measurement 4");
  SiteRecord site = *lib.store->Site("Substation 4");
  site.scaling[0].ratio = 2.0;
  lib.store->SaveSite(site);
  const ChunkReader read = [&](const ChunkInfo& c) { return lib.store->ReadChunk(c); };
  const RollupParts parts = [&](const ChunkInfo& r) { return lib.store->RollupParts(r); };
  EventLimits stored, narrow;
  stored.nominal = narrow.nominal = 460.0;
  narrow.bandPct = 4.0;
  const ChannelFactors factors{2.0, 1.0};
  const auto expectSame = [&](const char* label, const TimeRange& range, const EventLimits& limits,
                              int rollups) {
    const std::vector<ChunkInfo> summaries =
        lib.store->SummaryChunks(site.id, SeriesKind::Store, range);
    EXPECT_EQ(std::count_if(summaries.begin(), summaries.end(),
                            [](const ChunkInfo& c) { return c.rollup; }),
              rollups)
        << label;
    const std::vector<ChunkInfo> chunks = lib.store->Chunks(site.id, SeriesKind::Store, range);
    const std::vector<TimelinePiece> pieces = PiecesInRange(chunks, range);
    ExpectSameStatistics(TimelineStatistics(PiecesInRange(summaries, range), read, factors),
                         TimelineStatistics(pieces, read, factors), label);
    const std::vector<ChunkInfo> opened = ChunksForBand(summaries, range, parts, factors, limits);
    ExpectSameBand(TimelineBand(SplitAtGaps(PiecesInRange(opened, range)), read, factors, limits),
                   AnalyseSegments(SplitAtGaps(pieces), read, factors, limits).band, label);
  };
  const struct {
    const char* label;
    TimeRange range;
    EventLimits limits;
    int rollups;  // measurements the range holds whole and read as one
  } cases[] = {
      {"whole site", {}, stored, 3},
      {"whole site, another band", {}, narrow, 3},
      {"cut inside the first and third downloads",
       {kStart + 1000 * 60 + 30, kStart + 12500 * 60},
       stored,
       1},
      {"the second download alone", {kStart + 5000 * 60, kStart + 9899 * 60}, narrow, 1},
  };
  for (const auto& c : cases) expectSame(c.label, c.range, c.limits, c.rollups);
  EXPECT_TRUE(lib.store->Check().empty());

  // The first download removed: the second takes back the points it repeated.
  ASSERT_TRUE(lib.store->RemoveMeasurement(1));
  expectSame("after a removal", {}, stored, 2);
  EXPECT_EQ(lib.Count("SELECT points FROM measurement_rollup WHERE measurement_id = 2"), 5000);
  EXPECT_TRUE(lib.store->Check().empty());
}

// An older library opened by this program gets what its version lacked
// (band figures from version 1, measurements' rollups from version 2),
// equal to what an import writes.
TEST(LibraryStore, AnOlderLibraryIsUpgradedToWhatAnImportWrites) {
  const struct {
    int version;
    std::vector<const char*> dropped;
  } cases[] = {{1, {"chunk_band", "measurement_rollup"}}, {2, {"measurement_rollup"}}};
  for (const auto& c : cases) {
    Library lib;
    ASSERT_TRUE(lib.store) << lib.problem;
    AddBandSite(lib);
    const SiteRecord site = *lib.store->Site("Substation 4");
    const std::vector<ChunkInfo> imported = lib.store->Chunks(site.id, SeriesKind::Store);
    const std::vector<ChunkInfo> rollups = lib.store->SummaryChunks(site.id, SeriesKind::Store);
    QSqlQuery q(lib.connection->Database());
    for (const char* table : c.dropped) ASSERT_TRUE(q.exec(QString("DROP TABLE ") + table));
    ASSERT_TRUE(q.exec(QString("UPDATE library_info SET value = '%1' WHERE name = 'schema_version'")
                           .arg(c.version)));
    std::string problem;
    const auto upgraded = LibraryStore::Attach(lib.connection->Database(),
                                               lib.connection->IsPostgres(), "L", &problem);
    ASSERT_TRUE(upgraded) << problem;
    EXPECT_EQ(lib.Count("SELECT value FROM library_info WHERE name = 'schema_version'"),
              kSchemaVersion);
    const std::vector<ChunkInfo> chunks = upgraded->Chunks(site.id, SeriesKind::Store);
    ASSERT_EQ(chunks.size(), imported.size());
    for (std::size_t i = 0; i < chunks.size(); ++i) {
      ASSERT_TRUE(chunks[i].band) << "chunk " << i;
      EXPECT_EQ(*chunks[i].band, *imported[i].band) << "chunk " << i;
    }
    const std::vector<ChunkInfo> upgradedRollups =
        upgraded->SummaryChunks(site.id, SeriesKind::Store);
    ASSERT_EQ(upgradedRollups.size(), rollups.size());
    for (std::size_t i = 0; i < rollups.size(); ++i) {
      const ChunkInfo &u = upgradedRollups[i], &r = rollups[i];
      ASSERT_TRUE(u.rollup && r.rollup) << "measurement " << i;
      EXPECT_EQ(std::tie(u.start, u.count, u.parts, u.minAt, u.maxAt, u.band),
                std::tie(r.start, r.count, r.parts, r.minAt, r.maxAt, r.band))
          << "measurement " << i;
      EXPECT_EQ(u.summary.channels[0].points, r.summary.channels[0].points);
      EXPECT_DOUBLE_EQ(u.summary.channels[0].sum, r.summary.channels[0].sum);
    }
    EXPECT_TRUE(upgraded->Check().empty());
  }
}

// A download with a dip inside its third chunk and one that runs on into
// the next download, which repeats the first's tail (from inside that dip)
// and holds a swell in its third chunk: the level events of ranges over them, from the stored
// events where quiet chunks inside one download enclose a run and from the points elsewhere, are
// those a scan of the merged points finds.
TEST(LibraryStore, LevelEventsFromStoredEventsAreThoseOfAScan) {
  Library lib;
  ASSERT_TRUE(lib.store) << lib.problem;
  constexpr int kChunk = static_cast<int>(kChunkPoints);
  std::vector<float> first = Steady(5 * kChunk);
  for (int k = 2 * kChunk + 100; k < 2 * kChunk + 105; ++k) first[k] = 200.0f;
  // From before the second download's start on into it.
  for (int k = 5 * kChunk - 1100; k < 5 * kChunk; ++k) first[k] = 190.0f;
  std::vector<float> second(first.end() - 1000, first.end());
  second.resize(1000 + 5 * kChunk, 230.0f);
  for (int k = 1000; k < 1003; ++k) second[k] = 190.0f;
  for (int k = 1000 + 2 * kChunk + 500; k < 1000 + 2 * kChunk + 520; ++k) second[k] = 260.0f;
  lib.Add(Download(kStart, first));
  lib.Add(Download(kStart + (5 * kChunk - 1000) * 60, second));
  const SiteRecord site = *lib.store->Site("Substation 4");
  std::vector<TimeStamp> readAt;
  const ChunkReader read = [&](const ChunkInfo& c) {
    readAt.push_back(c.start);
    return lib.store->ReadChunk(c);
  };
  const RollupParts parts = [&](const ChunkInfo& r) { return lib.store->RollupParts(r); };
  EventLimits stored, other;
  stored.nominal = other.nominal = site.nominal;
  other.dipPct = 85.0;
  const TimeStamp dipInside = kStart + (2 * kChunk + 100) * 60;
  const struct {
    const char* label;
    TimeRange range;
    EventLimits limits;
    bool readsTheStoredDip;
  } cases[] = {
      {"whole site", {}, stored, false},
      {"whole site, other limits", {}, other, true},
      {"from inside the first dip", {dipInside + 120, std::nullopt}, stored, true},
      {"to inside the swell",
       {kStart, kStart + (5 * kChunk + 2 * kChunk + 510) * 60},
       stored,
       false},
  };
  for (const auto& c : cases) {
    const std::vector<ChunkInfo> chunks = lib.store->Chunks(site.id, SeriesKind::Store, c.range);
    const std::vector<Event> expected =
        AnalyseSegments(SplitAtGaps(PiecesInRange(chunks, c.range)), read, {1, 1}, c.limits, false)
            .level;
    readAt.clear();
    const std::vector<ChunkInfo> opened =
        ChunksForEvents(lib.store->SummaryChunks(site.id, SeriesKind::Store, c.range), c.range,
                        parts, {1, 1}, c.limits);
    const std::vector<Event> found = TimelineLevelEvents(
        SplitAtGaps(PiecesInRange(opened, c.range)), read, {1, 1}, c.limits,
        lib.store->LevelEventsFoundWith(site.id, SeriesKind::Store, c.range, c.limits));
    ASSERT_EQ(found.size(), expected.size()) << c.label;
    for (std::size_t i = 0; i < found.size(); ++i) {
      const Event &f = found[i], &e = expected[i];
      EXPECT_EQ(std::tie(f.kind, f.channel, f.first, f.last, f.start, f.end, f.open),
                std::tie(e.kind, e.channel, e.first, e.last, e.start, e.end, e.open))
          << c.label << ", event " << i;
      EXPECT_EQ(f.durationS, e.durationS) << c.label;
      EXPECT_EQ(f.extreme, e.extreme) << c.label;
    }
    const TimeStamp dipChunk = kStart + 2 * kChunk * 60;
    EXPECT_EQ(std::count(readAt.begin(), readAt.end(), dipChunk) > 0, c.readsTheStoredDip)
        << c.label;
  }
}

// Damaged rows: band figures or a summary that do not count the chunk's
// points are worked out from the points (the figures stay those of the
// points), a row that cannot be used at all is refused with a clear
// failure; library check names each.
TEST(LibraryStore, ADamagedChunkRowIsNotTrusted) {
  const struct {
    const char* label;
    const char* damage;
    bool refused;
  } cases[] = {
      {"summary", "UPDATE chunk SET ch1_points = ch1_points - 7, ch1_sum = 0 WHERE id = 2", false},
      {"partials",
       "UPDATE chunk_band SET partials = (SELECT partials FROM chunk_band WHERE"
       " chunk_id = 1) WHERE chunk_id = 2",
       false},
      {"interval", "UPDATE chunk SET interval_s = 0 WHERE id = 2", true},
  };
  for (const auto& c : cases) {
    Library lib;
    ASSERT_TRUE(lib.store) << lib.problem;
    AddBandSite(lib);
    const SiteRecord site = *lib.store->Site("Substation 4");
    const ChunkReader read = [&](const ChunkInfo& chunk) { return lib.store->ReadChunk(chunk); };
    EventLimits limits;
    const auto figures = [&] {
      const std::vector<ChunkInfo> chunks = lib.store->Chunks(site.id, SeriesKind::Store);
      const auto pieces = PiecesInRange(chunks, {});
      return std::pair{TimelineStatistics(pieces, read, {1, 1}),
                       TimelineBand(SplitAtGaps(pieces), read, {1, 1}, limits)};
    };
    const auto before = figures();
    ASSERT_TRUE(QSqlQuery(lib.connection->Database()).exec(c.damage)) << c.label;
    if (c.refused) {
      EXPECT_THROW(figures(), LibraryError) << c.label;
    } else {
      const auto after = figures();
      ExpectSameStatistics(after.first, before.first, c.label);
      ExpectSameBand(after.second, before.second, c.label);
    }
    EXPECT_FALSE(lib.store->Check().empty()) << c.label;
  }
}

}  // namespace
}  // namespace acv::library
