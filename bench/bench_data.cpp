// Load, save and export of the largest data sets the logger can produce:
// 262,144 one-channel STORE RMS samples (its whole memory), and 1,000 TR
// records. Each figure stands next to a baseline measured in the same run
// that moves the same number of bytes with a single call:
//   load   vs one read() of the whole file,
//   save   vs one write() of the same bytes + fsync (a save syncs too),
//   export vs one write() of the report's bytes + fsync;
// and the real-time journal's cost per point:
//   journal append (write + fdatasync) vs one write() of the same 24 bytes.
// The ratio printed at the end is program / baseline.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "BenchTimes.h"
#include "data/CDTDoc.h"
#include "data/DataFile.h"
#include "data/Export.h"
#include "data/RunJournal.h"

namespace {

using acv::CDTDoc;

CDTDoc Rms262k() {
  CDTDoc doc;
  doc.formatTag = acv::kTagStore;
  doc.rmsCount = acv::kMaxStoreSamples;
  doc.hasCh1 = 1;
  doc.rmsInterval = 1.0f;
  doc.rmsStartTime = 1772445600;
  doc.rmsUnitCh1 = "V";
  doc.rmsUnitCh2 = "V";
  doc.rmsCh1.resize(acv::kMaxStoreSamples);
  for (std::size_t i = 0; i < doc.rmsCh1.size(); ++i) doc.rmsCh1[i] = 230.0f + (i % 97) * 0.1f;
  doc.ComputeStoreStatistics();
  return doc;
}

CDTDoc Tr1000() {
  CDTDoc doc;
  doc.formatTag = acv::kTagStore;
  doc.rmsStartTime = 1772445600;
  doc.trCount = 1000;
  for (int r = 0; r < doc.trCount; ++r) {
    doc.trChannel.push_back(r % 2 ? acv::kChannel2 : acv::kChannel1);
    doc.trUnit.push_back(r % 2 ? acv::kUnitAmpere : acv::kUnitVolt);
    doc.trTimes.push_back(doc.rmsStartTime + r * 7);
    for (int s = 0; s < acv::kTrWavePoints; ++s) doc.trWaves.push_back(static_cast<float>(s - 125));
  }
  return doc;
}

std::string Scratch(const std::string& name) {
  return (std::filesystem::temp_directory_path() / ("acv_bench_" + name)).string();
}

void WriteOnce(const std::string& path, const std::string& bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
    std::abort();
  }
  ::fsync(fd);
  ::close(fd);
}

void ReadOnce(const std::string& path, std::vector<char>& buffer) {
  const int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0 || ::read(fd, buffer.data(), buffer.size()) != static_cast<ssize_t>(buffer.size())) {
    std::abort();
  }
  ::close(fd);
}

std::string Encoded(const CDTDoc& doc) {
  const std::vector<std::uint8_t> b = acv::EncodeDataFile(doc);
  return std::string(b.begin(), b.end());
}

std::string Report(const CDTDoc& doc) {
  std::ostringstream out;
  acv::WriteExport(out, doc);
  return out.str();
}

void RegisterSet(const std::string& name, CDTDoc (*make)()) {
  static std::vector<CDTDoc> docs;  // alive for the whole run
  docs.reserve(4);
  docs.push_back(make());
  const CDTDoc* doc = &docs.back();
  const std::string dataPath = Scratch(name + ".stdata");
  const std::string exportPath = Scratch(name + ".xls");
  const std::string baselinePath = Scratch(name + ".baseline");

  benchmark::RegisterBenchmark(("load/" + name).c_str(), [=](benchmark::State& state) {
    if (!acv::SaveDataFile(*doc, dataPath).empty()) std::abort();
    for (auto _ : state) {
      CDTDoc loaded;
      if (!acv::LoadDataFile(dataPath, loaded).ok) std::abort();
      benchmark::DoNotOptimize(loaded.rmsCh1.data());
    }
  })->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark(("load/" + name + "/baseline").c_str(),
                               [=](benchmark::State& state) {
                                 const std::string bytes = Encoded(*doc);
                                 WriteOnce(baselinePath, bytes);
                                 std::vector<char> buffer(bytes.size());
                                 for (auto _ : state) {
                                   ReadOnce(baselinePath, buffer);
                                   benchmark::DoNotOptimize(buffer.data());
                                 }
                               })
      ->Unit(benchmark::kMillisecond);

  benchmark::RegisterBenchmark(("save/" + name).c_str(), [=](benchmark::State& state) {
    for (auto _ : state) {
      if (!acv::SaveDataFile(*doc, dataPath).empty()) std::abort();
    }
  })->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark(("save/" + name + "/baseline").c_str(),
                               [=](benchmark::State& state) {
                                 const std::string bytes = Encoded(*doc);
                                 for (auto _ : state) WriteOnce(baselinePath, bytes);
                               })
      ->Unit(benchmark::kMillisecond);

  benchmark::RegisterBenchmark(("export/" + name).c_str(), [=](benchmark::State& state) {
    for (auto _ : state) {
      if (!acv::SaveExportFile(*doc, exportPath).empty()) std::abort();
    }
  })->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark(("export/" + name + "/baseline").c_str(),
                               [=](benchmark::State& state) {
                                 const std::string bytes = Report(*doc);
                                 state.counters["bytes"] = static_cast<double>(bytes.size());
                                 for (auto _ : state) WriteOnce(baselinePath, bytes);
                               })
      ->Unit(benchmark::kMillisecond);
}

// One point per iteration, as a run appends it; a new journal every 50,000
// points keeps the file within a run's size.
void RegisterJournal() {
  const std::string folder = Scratch("journals");
  benchmark::RegisterBenchmark("journal/append", [=](benchmark::State& state) {
    acv::JournalHeader header;
    header.rtHasCh1 = header.rtHasCh2 = 1;
    acv::JournalWriter writer;
    std::int32_t n = 0;
    for (auto _ : state) {
      if (n % 50000 == 0) {
        writer.Finish();
        if (!writer.Begin(folder, header).empty()) std::abort();
        n = 0;
      }
      if (!writer.Append(n, {230.0f, 5.0f}, {50.0f, 50.0f}).empty()) std::abort();
      ++n;
    }
    writer.Finish();
  })->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("journal/append/baseline", [=](benchmark::State& state) {
    const std::vector<std::uint8_t> record =
        acv::EncodeJournalRecord(0, {230.0f, 5.0f}, {50.0f, 50.0f});
    const std::string path = Scratch("journal.baseline");
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) std::abort();
    std::int32_t n = 0;
    for (auto _ : state) {
      if (++n % 50000 == 0 && ::ftruncate(fd, 0) != 0) std::abort();
      if (::write(fd, record.data(), record.size()) != static_cast<ssize_t>(record.size())) {
        std::abort();
      }
    }
    ::close(fd);
    std::remove(path.c_str());
  })->Unit(benchmark::kMicrosecond);
}

// The usual console table, then one line per measured figure with its
// ratio to the baseline of the same run (the medians when repeated).
class RatioReporter : public acv::bench::TimesReporter {
 public:
  void Finalize() override {
    TimesReporter::Finalize();
    std::printf("\nratio to baseline (program / one-call I/O of the same bytes):\n");
    const auto& times = All();
    for (const auto& [name, time] : times) {
      const auto base = times.find(name + "/baseline");
      if (base == times.end() || base->second.real <= 0) continue;
      std::printf("  %-20s %6.2f\n", name.c_str(), time.real / base->second.real);
    }
  }
};

}  // namespace

int main(int argc, char** argv) {
  RegisterSet("rms262k", &Rms262k);
  RegisterSet("tr1000", &Tr1000);
  RegisterJournal();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  for (const char* name : {"rms262k", "tr1000"}) {
    for (const char* ext : {".stdata", ".xls", ".baseline"}) {
      std::remove(Scratch(std::string(name) + ext).c_str());
    }
  }
  // The journals' folder: each journal is finished (removed) by its run.
  std::error_code ignored;
  std::filesystem::remove_all(Scratch("journals"), ignored);
  return 0;
}
