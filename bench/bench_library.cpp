// The measurement library on SQLite: adding a full download (262,144 points
// on two channels) against writing the same float bytes to a file in one
// call; the statistics of a site of 100 full downloads (26 M points) from
// the chunk summaries against reading and scanning every point; and the
// library's size against the raw float32 bytes of its points.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>
#include <memory>

#include "BenchSupport.h"
#include "data/DataFile.h"
#include "data/FileIO.h"
#include "library/LibraryConnection.h"
#include "library/LibraryStore.h"
#include "library/core/TimelineBand.h"
#include "library/core/TimelineEvents.h"

namespace {

constexpr int kDownloads = 100;

struct Library {
  std::unique_ptr<acv::LibraryConnection> connection;
  std::unique_ptr<acv::library::LibraryStore> store;
  explicit Library(const std::string& path) {
    acv::LibraryLocation where;
    where.path = path;
    std::string problem;
    connection = acv::LibraryConnection::Open(where, &problem);
    if (connection) store = acv::library::LibraryStore::Attach(*connection, &problem);
    if (!store) std::fprintf(stderr, "bench_library: %s\n", problem.c_str());
  }
};

acv::CDTDoc DownloadNumber(int n) {
  acv::CDTDoc doc = acv::bench::LargestStoreSet();
  doc.formatTag = acv::kTagStore;
  doc.rmsStartTime += static_cast<acv::TimeStamp>(n) * acv::bench::kLargestSet;
  doc.rmsCh1[0] += 0.01f * static_cast<float>(n);  // every file's bytes differ
  return doc;
}

// A download with a 30-second dip every 20,000 points (about five and a
// half hours), which also runs across the joins of downloads.
acv::CDTDoc DownloadWithDips(int n) {
  acv::CDTDoc doc = DownloadNumber(n);
  for (int k = 0; k < acv::bench::kLargestSet; ++k) {
    if ((n * acv::bench::kLargestSet + k) % 20000 >= 19985 ||
        (n * acv::bench::kLargestSet + k) % 20000 < 15)
      doc.rmsCh1[k] = 190.0f;
  }
  doc.ComputeStoreStatistics();
  return doc;
}

constexpr int kDownloadsWithDips = 20;

struct Fixture {
  QTemporaryDir folder;
  std::string Path(const char* name) const { return folder.filePath(name).toStdString(); }
  std::string site = Path("site.sqlite");
  std::string dips = Path("dips.sqlite");
  double rawBytes = 0.0;
  Fixture() {
    {
      Library library(dips);
      for (int n = 0; n < kDownloadsWithDips && library.store; ++n) {
        const acv::CDTDoc doc = DownloadWithDips(n);
        std::string line, problem;
        library.store->AddDataSet(doc, acv::EncodeDataFile(doc), "d.stdata", "Site", &line,
                                  &problem);
      }
    }
    // The site of 100 downloads, one after another without a gap.
    Library library(site);
    for (int n = 0; n < kDownloads && library.store; ++n) {
      const acv::CDTDoc doc = DownloadNumber(n);
      std::string line, problem;
      library.store->AddDataSet(doc, acv::EncodeDataFile(doc), "d.stdata", "Site", &line, &problem);
      rawBytes += 2.0 * 4.0 * acv::bench::kLargestSet;
    }
  }
};

// Built by the first benchmark that needs it, before its timed loop, so
// that running the add benchmarks alone does not build it at all.
Fixture* built = nullptr;
Fixture& Data() {
  static Fixture fixture;
  built = &fixture;
  return fixture;
}

// A folder for the benchmarks that write one file, so that running them
// alone does not build the site of 100 downloads first.
std::string ScratchPath(const std::string& name) {
  static QTemporaryDir folder;
  return folder.filePath(QString::fromStdString(name)).toStdString();
}

void BM_Library_AddFullDownload(benchmark::State& state) {
  const acv::CDTDoc doc = DownloadNumber(0);
  const std::vector<std::uint8_t> bytes = acv::EncodeDataFile(doc);
  int n = 0;
  // Each add goes into a library of its own, opened and removed untimed.
  const auto add = [&](benchmark::State* timed) {
    const std::string path = ScratchPath("add" + std::to_string(n++) + ".sqlite");
    auto library = std::make_unique<Library>(path);
    if (timed) timed->ResumeTiming();
    std::string line, problem;
    if (!library->store->AddDataSet(doc, bytes, "d.stdata", "Site", &line, &problem)) {
      state.SkipWithError(problem.c_str());
    }
    if (timed) timed->PauseTiming();
    library.reset();
    for (const char* end : {"", "-wal", "-shm"}) QFile::remove(QString::fromStdString(path + end));
  };
  // Once untimed, as the baseline writes once before it is timed: the first
  // add of a process also loads the driver and touches fresh memory.
  add(nullptr);
  for (auto _ : state) {
    state.PauseTiming();
    add(&state);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_Library_AddFullDownload)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_Baseline_WriteFloats(benchmark::State& state) {
  const acv::CDTDoc doc = DownloadNumber(0);
  std::vector<std::uint8_t> bytes(doc.rmsCh1.size() * 8);
  std::memcpy(bytes.data(), doc.rmsCh1.data(), doc.rmsCh1.size() * 4);
  std::memcpy(bytes.data() + doc.rmsCh1.size() * 4, doc.rmsCh2.data(), doc.rmsCh2.size() * 4);
  const std::string path = ScratchPath("floats.bin");
  acv::WriteFileAtomically(path, bytes);
  for (auto _ : state) benchmark::DoNotOptimize(acv::WriteFileAtomically(path, bytes));
}
BENCHMARK(BM_Baseline_WriteFloats)->Unit(benchmark::kMillisecond)->Iterations(20);

// What library stats computes over a range of a site: the statistics from
// the measurements' rollups (the chunk summaries where the range cuts one),
// then, when asked, the band summary from their band figures.
void SiteStats(benchmark::State& state, const acv::library::TimeRange& range, bool withBand) {
  using namespace acv::library;
  Library library(Data().site);
  const SiteRecord site = *library.store->Site("Site");
  const ChunkReader read = [&](const ChunkInfo& c) { return library.store->ReadChunk(c); };
  const RollupParts parts = [&](const ChunkInfo& r) { return library.store->RollupParts(r); };
  const acv::EventLimits limits;
  for (auto _ : state) {
    const auto chunks = library.store->SummaryChunks(site.id, SeriesKind::Store, range);
    benchmark::DoNotOptimize(TimelineStatistics(PiecesInRange(chunks, range), read, {1, 1}));
    if (!withBand) continue;
    const auto bandChunks = ChunksForBand(chunks, range, parts, {1, 1}, limits);
    benchmark::DoNotOptimize(
        TimelineBand(SplitAtGaps(PiecesInRange(bandChunks, range)), read, {1, 1}, limits));
  }
}

void BM_Library_SiteStatistics(benchmark::State& state) {
  SiteStats(state, {}, false);
}
BENCHMARK(BM_Library_SiteStatistics)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_Library_SiteStatsWithBand(benchmark::State& state) {
  SiteStats(state, {}, true);
}
BENCHMARK(BM_Library_SiteStatsWithBand)->Unit(benchmark::kMillisecond)->Iterations(5);

// A range that starts and ends inside downloads (and inside chunks).
void BM_Library_CutRangeStatsWithBand(benchmark::State& state) {
  const acv::TimeStamp start = DownloadNumber(0).rmsStartTime;
  SiteStats(state,
            {start + acv::bench::kLargestSet / 2 + 77,
             start + (kDownloads - 1) * acv::bench::kLargestSet + 12345},
            true);
}
BENCHMARK(BM_Library_CutRangeStatsWithBand)->Unit(benchmark::kMillisecond)->Iterations(5);

// What library events computes over a site: the level events from the
// stored ones where they answer, from the points where an event may cross a
// join; and the same from every point, as it was found before.
void SiteEvents(benchmark::State& state, const std::string& path, bool everyPoint) {
  using namespace acv::library;
  Library library(path);
  const SiteRecord site = *library.store->Site("Site");
  const ChunkReader read = [&](const ChunkInfo& c) { return library.store->ReadChunk(c); };
  const RollupParts parts = [&](const ChunkInfo& r) { return library.store->RollupParts(r); };
  acv::EventLimits limits;
  limits.nominal = site.nominal;
  std::size_t events = 0;
  for (auto _ : state) {
    if (everyPoint) {
      const auto chunks = library.store->Chunks(site.id, SeriesKind::Store);
      events = AnalyseSegments(SplitAtGaps(PiecesInRange(chunks, {})), read, {1, 1}, limits, false)
                   .level.size();
      continue;
    }
    const auto chunks = ChunksForEvents(library.store->SummaryChunks(site.id, SeriesKind::Store),
                                        {}, parts, {1, 1}, limits);
    events = TimelineLevelEvents(
                 SplitAtGaps(PiecesInRange(chunks, {})), read, {1, 1}, limits,
                 library.store->LevelEventsFoundWith(site.id, SeriesKind::Store, {}, limits))
                 .size();
  }
  state.counters["events"] = static_cast<double>(events);
}

void BM_Library_SiteEventsWithDips(benchmark::State& state) {
  SiteEvents(state, Data().dips, false);
}
BENCHMARK(BM_Library_SiteEventsWithDips)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_Baseline_SiteEventsFromEveryPoint(benchmark::State& state) {
  SiteEvents(state, Data().dips, true);
}
BENCHMARK(BM_Baseline_SiteEventsFromEveryPoint)->Unit(benchmark::kMillisecond)->Iterations(2);

// Every point read from the library and scanned.
void BM_Baseline_ScanEveryPoint(benchmark::State& state) {
  Library library(Data().site);
  const acv::library::SiteRecord site = *library.store->Site("Site");
  for (auto _ : state) {
    acv::library::ChunkSummary total;
    for (const auto& c : library.store->Chunks(site.id, acv::library::SeriesKind::Store)) {
      const acv::library::PointRun run = library.store->ReadChunk(c);
      total.Join(acv::library::SummariseRun(run, 0, run.Count()));
    }
    benchmark::DoNotOptimize(total);
  }
}
BENCHMARK(BM_Baseline_ScanEveryPoint)->Unit(benchmark::kMillisecond)->Iterations(2);

void PrintRatios(const acv::bench::TimesReporter& times) {
  const auto add = times.Find("BM_Library_AddFullDownload/iterations:20");
  const auto write = times.Find("BM_Baseline_WriteFloats/iterations:20");
  if (add && write && write->real > 0) {
    std::printf("add of a full download: %.0f ms, %.2fx writing its floats (%.1f ms)\n", add->real,
                add->real / write->real, write->real);
  }
  const auto stats = times.Find("BM_Library_SiteStatistics/iterations:5");
  const auto whole = times.Find("BM_Library_SiteStatsWithBand/iterations:5");
  const auto scan = times.Find("BM_Baseline_ScanEveryPoint/iterations:2");
  if (stats && scan && stats->real > 0) {
    std::printf(
        "statistics of %d downloads: %.1f ms, %.0fx faster than scanning every point (%.0f ms)\n",
        kDownloads, stats->real, scan->real / stats->real, scan->real);
  }
  if (whole && scan && whole->real > 0) {
    std::printf(
        "statistics with the band summary (library stats): %.1f ms, %.0fx faster than"
        " scanning every point\n",
        whole->real, scan->real / whole->real);
  }
  const auto cut = times.Find("BM_Library_CutRangeStatsWithBand/iterations:5");
  if (cut && scan && cut->real > 0) {
    std::printf("the same over a range cutting two downloads: %.1f ms, %.0fx\n", cut->real,
                scan->real / cut->real);
  }
  const auto events = times.Find("BM_Library_SiteEventsWithDips/iterations:3");
  const auto eventsScan = times.Find("BM_Baseline_SiteEventsFromEveryPoint/iterations:2");
  if (events && eventsScan && events->real > 0) {
    std::printf(
        "events of %d downloads with dips: %.1f ms, %.0fx faster than from every point"
        " (%.0f ms)\n",
        kDownloadsWithDips, events->real, eventsScan->real / events->real, eventsScan->real);
  }
  if (!built || built->rawBytes <= 0) return;
  double bytes = 0.0;
  for (const char* end : {"", "-wal"})
    bytes += QFileInfo(QString::fromStdString(built->site + end)).size();
  std::printf("library size: %.1f MB, %.3fx the raw float32 bytes of its points\n", bytes / 1e6,
              bytes / built->rawBytes);
}

}  // namespace

int main(int argc, char** argv) {
  return acv::bench::RunQtBenchmarks(
      argc, argv, [] {}, PrintRatios);
}
