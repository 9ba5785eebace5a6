#pragma once
// Shared helpers of the data-layer tests: a scratch folder per test and small
// data sets with known values.
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "data/CDTDoc.h"
#include "data/TimeText.h"

namespace acv::test {

// A fresh folder, removed with everything in it at the end of the test.
class ScratchDir {
 public:
  ScratchDir() {
    static int counter = 0;
    path_ = std::filesystem::temp_directory_path() /
            ("acv_data_test_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~ScratchDir() {
    std::error_code ec;
    // A test may have made a sub-folder read-only.
    for (auto& e : std::filesystem::recursive_directory_iterator(path_, ec)) {
      std::filesystem::permissions(e.path(), std::filesystem::perms::owner_all,
                                   std::filesystem::perm_options::add, ec);
    }
    std::filesystem::remove_all(path_, ec);
  }
  std::string File(const std::string& name) const { return (path_ / name).string(); }
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

inline std::vector<std::uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

inline std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

inline TimeStamp Local(int y, int mo, int d, int h, int mi, int s) {
  return MakeLocalTime(LocalFields{y, mo, d, h, mi, s});
}

// STORE data: `count` RMS samples per present channel every `interval`
// seconds from 2026-03-02 10:00:00, CH1 in volts (230.0, 230.1, ...), CH2 in
// amperes (5.0, 5.5, ...).
inline CDTDoc StoreDoc(int count, bool ch1, bool ch2, float interval = 10.0f) {
  CDTDoc doc;
  doc.formatTag = kTagStore;
  doc.rmsCount = count;
  doc.hasCh1 = ch1 ? 1 : 0;
  doc.hasCh2 = ch2 ? 1 : 0;
  doc.rmsInterval = interval;
  doc.rmsStartTime = Local(2026, 3, 2, 10, 0, 0);
  doc.rmsUnitCh1 = "V";
  doc.rmsUnitCh2 = "A";
  for (int i = 0; i < count; ++i) {
    if (ch1) doc.rmsCh1.push_back(230.0f + 0.1f * static_cast<float>(i % 50));
    if (ch2) doc.rmsCh2.push_back(5.0f + 0.5f * static_cast<float>(i % 7));
  }
  doc.riseLevel = 500.0f;
  doc.dropLevel = -100.0f;
  doc.ComputeStoreStatistics();
  return doc;
}

// Appends a TR record of `channel` (241/242) in `unit` (250/252) at `when`,
// its samples counting from `first`.
inline void AddTr(CDTDoc& doc, std::uint8_t channel, std::uint8_t unit, TimeStamp when,
                  float first = 0.0f) {
  doc.trChannel.push_back(channel);
  doc.trUnit.push_back(unit);
  doc.trTimes.push_back(when);
  for (int s = 0; s < kTrWavePoints; ++s) doc.trWaves.push_back(first + static_cast<float>(s));
  ++doc.trCount;
}

}  // namespace acv::test
