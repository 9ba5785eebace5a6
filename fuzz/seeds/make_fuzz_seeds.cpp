// Writes the seed corpora of the fuzz targets from the simulated logger's own
// encoders (which share no code with the program's decoders): whole memory
// images up to the full 512 KiB, every reply kind, real-time blocks, and
// settings files; and, from the program's own writers, data files and a
// journal of the largest size a download or a run gives.
//
//   make_fuzz_seeds OUTDIR   fills OUTDIR/image, OUTDIR/dispatcher, OUTDIR/settings,
//                            OUTDIR/datafile, OUTDIR/journal
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "LoggerMemory.h"
#include "SimOptions.h"
#include "WireFormat.h"
#include "data/DataFile.h"
#include "data/RunJournal.h"
#include "data/Settings.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using namespace acv::sim;

bool Write(const fs::path& path, const Bytes& bytes) {
  std::string error;
  if (WriteWholeFile(path.string(), bytes, error)) return true;
  std::fprintf(stderr, "make_fuzz_seeds: %s\n", error.c_str());
  return false;
}

// The header and the served image of the simulator started with `args`.
bool Image(const std::vector<std::string>& args, Bytes& header, Bytes& image) {
  Options options;
  std::string error;
  LoggerMemory memory;
  if (!ParseOptions(args, options, error) || !BuildMemory(options, memory, error)) {
    std::fprintf(stderr, "make_fuzz_seeds: %s\n", error.c_str());
    return false;
  }
  const auto h = EncodeHeader(memory.header());
  header.assign(h.begin(), h.end());
  image = memory.Served();
  return true;
}

Bytes RealTimeBlock(std::uint8_t ch1Kind, std::uint8_t ch2Kind) {
  const auto ch1 = SineSamples(kRealTimeSamples, kRealTimeSpacingMs, 1000, 50);
  const auto ch2 = SineSamples(kRealTimeSamples, kRealTimeSpacingMs, 300, 60);
  const bool any = ch1Kind != kKindOff || ch2Kind != kKindOff;
  return EncodeRealTimeBlock(any ? 1 : 0, ch1Kind, ch2Kind, ch1, ch2);
}

// fuzz_dispatcher scripts: a start byte, then operations. Operation 0 hands
// a block (16-bit length, below 4096) to the dispatcher, operation 3 fires a
// timer.
class Script {
 public:
  explicit Script(std::uint8_t start) : bytes_{start} {}
  Script& Reply(const Bytes& block) {
    for (std::size_t at = 0; at < block.size(); at += 4095) {
      const std::size_t n = std::min<std::size_t>(4095, block.size() - at);
      bytes_.insert(bytes_.end(),
                    {0, static_cast<std::uint8_t>(n >> 8), static_cast<std::uint8_t>(n)});
      bytes_.insert(bytes_.end(), block.begin() + static_cast<long>(at),
                    block.begin() + static_cast<long>(at + n));
    }
    return *this;
  }
  Script& Timer(int id) {
    bytes_.insert(bytes_.end(), {3, static_cast<std::uint8_t>(id)});
    return *this;
  }
  const Bytes& bytes() const { return bytes_; }

 private:
  Bytes bytes_;
};

// Start bytes: bit 0 a dialog is open, bit 1 the logger answered before,
// bit 2 a transfer starts, bits 4.. which one (0 download, 1 real time).
constexpr std::uint8_t kIdle = 0x03;
constexpr std::uint8_t kDownload = 0x06;
constexpr std::uint8_t kRealTime = 0x16;

Bytes Concat(const Bytes& a, const Bytes& b) {
  Bytes out = a;
  out.insert(out.end(), b.begin(), b.end());
  return out;
}

bool WriteImages(const fs::path& dir) {
  const std::vector<std::pair<const char*, std::vector<std::string>>> images = {
      {"full-wrapped", {"--full"}},
      {"two-channels-tr", {"--synthetic", "samples=300,tr=2"}},
      {"ch2-only", {"--synthetic", "samples=200,tr=1,channels=1,ch1=off,ch2=A"}},
      {"partial-block", {"--synthetic", "samples=50,tr=0"}},
  };
  for (const auto& [name, args] : images) {
    Bytes header, image;
    if (!Image(args, header, image) || !Write(dir / name, Concat(header, image))) return false;
  }
  return true;
}

bool WriteDispatcherScripts(const fs::path& dir) {
  Bytes header, image;
  if (!Image({"--synthetic", "samples=300,tr=1"}, header, image)) return false;
  Script download(kDownload);
  download.Reply(header);
  for (std::size_t at = 0; at < image.size(); at += kBlockBytes) {
    const std::size_t n = std::min(kBlockBytes, image.size() - at);
    download.Reply(
        Bytes(image.begin() + static_cast<long>(at), image.begin() + static_cast<long>(at + n)));
  }
  Script late(kDownload);  // a block re-requested, then both replies
  late.Reply(header).Timer(10).Reply(Bytes(image.begin(), image.begin() + 300));
  late.Reply(Bytes(image.begin(), image.begin() + kBlockBytes)).Timer(10).Timer(9);

  const auto refusal = EncodeLoggingRefusal();
  Script refused(kDownload);
  refused.Reply(Bytes(refusal.begin(), refusal.end()));

  Script realTime(kRealTime);
  realTime.Reply(RealTimeBlock(kKindVoltage, kKindCurrent)).Timer(14).Timer(14).Timer(15);
  realTime.Reply(RealTimeBlock(kKindVoltage, kKindOff)).Timer(14).Timer(13);
  Script noChannel(kRealTime);
  noChannel.Reply(RealTimeBlock(kKindOff, kKindOff)).Timer(14);

  Script idle(kIdle);
  idle.Reply({kProbeAnswer}).Reply({kAckDone}).Reply({kAckPressStart}).Timer(4).Timer(5).Timer(6);

  const std::vector<std::pair<const char*, const Script*>> scripts = {
      {"download", &download},  {"late-block", &late},      {"logging", &refused},
      {"real-time", &realTime}, {"no-channel", &noChannel}, {"idle-replies", &idle}};
  for (const auto& [name, script] : scripts)
    if (!Write(dir / name, script->bytes())) return false;
  return true;
}

bool WriteSettings(const fs::path& dir) {
  acv::AppSettings settings;
  if (!acv::SaveSettings(settings, (dir / "defaults.ini").string())) return false;
  settings.rtInterval = 3600;
  settings.realTimePoints = 100000;
  settings.yAxisHigh[0][0] = 1000;
  settings.yAxisLow[0][0] = -1000;
  return acv::SaveSettings(settings, (dir / "changed.ini").string());
}

// Data files and a journal as large as the program writes them: the whole
// memory of one channel (262,144 RMS samples) with TR records, and a run of
// 100,000 points both as the previous measurement and as its journal.
bool WriteFullSizeFiles(const fs::path& dataDir, const fs::path& journalDir) {
  acv::CDTDoc store;
  store.formatTag = acv::kTagStore;
  store.rmsCount = acv::kMaxStoreSamples;
  store.hasCh1 = 1;
  store.rmsUnitCh1 = "V";
  store.rmsUnitCh2 = "A";
  store.rmsInterval = 1.0f;
  store.rmsStartTime = 1772359200;
  for (int i = 0; i < store.rmsCount; ++i) store.rmsCh1.push_back(230.0f + 0.1f * (i % 50));
  for (int r = 0; r < 16; ++r) {
    store.trChannel.push_back(r % 2 == 0 ? acv::kChannel1 : acv::kChannel2);
    store.trUnit.push_back(r % 2 == 0 ? acv::kUnitVolt : acv::kUnitAmpere);
    store.trTimes.push_back(store.rmsStartTime + 600 * r);
    for (int k = 0; k < acv::kTrWavePoints; ++k) store.trWaves.push_back(static_cast<float>(k - r));
    ++store.trCount;
  }
  store.riseLevel = 500.0f;
  store.dropLevel = 100.0f;
  store.ComputeStoreStatistics();

  acv::CDTDoc run = store;
  run.formatTag = acv::kTagRealTime;
  run.rtStartTime = 1772362800;
  run.rtInterval = 2;
  run.rtCount = acv::kMaxRealTimePoints;
  run.rtHasCh1 = run.rtHasCh2 = 1;
  run.rtUnitCh1 = "V";
  run.rtUnitCh2 = "A";
  for (int i = 0; i < run.rtCount; ++i) {
    run.rtRms.push_back({230.0f + 0.1f * (i % 7), 5.0f + 0.1f * (i % 5)});
    run.rtFreq.push_back({50.0f, 50.0f});
  }
  Bytes journal = acv::EncodeJournalHeader(acv::HeaderOf(run, run.rtCount));
  for (int i = 0; i < run.rtCount; ++i) {
    const auto record = acv::EncodeJournalRecord(i, run.rtRms[static_cast<std::size_t>(i)],
                                                 run.rtFreq[static_cast<std::size_t>(i)]);
    journal.insert(journal.end(), record.begin(), record.end());
  }
  return Write(dataDir / "full-memory.stdata", acv::EncodeDataFile(store)) &&
         Write(dataDir / "hundred-thousand-points.stdata", acv::EncodeDataFile(run)) &&
         Write(journalDir / "hundred-thousand-points.journal", journal);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_fuzz_seeds OUTDIR\n");
    return 2;
  }
  const fs::path out(argv[1]);
  for (const char* sub : {"image", "dispatcher", "settings", "datafile", "journal"})
    fs::create_directories(out / sub);
  const bool ok = WriteImages(out / "image") && WriteDispatcherScripts(out / "dispatcher") &&
                  WriteSettings(out / "settings") &&
                  WriteFullSizeFiles(out / "datafile", out / "journal");
  return ok ? 0 : 1;
}
