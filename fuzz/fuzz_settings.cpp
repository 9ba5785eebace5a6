// Arbitrary bytes as the settings file: reading it never crashes and gives
// values the dialogs can show and the logger can take, and what the program
// writes back reads back to the same file (a second load and save change
// nothing).
//
// Seeds in corpus/settings/ include lines ending in several carriage
// returns and values out of range.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "data/Settings.h"

namespace {

const std::string& SettingsPath() {
  static const std::string path = [] {
    const char* base = std::filesystem::exists("/dev/shm") ? "/dev/shm" : "/tmp";
    return std::string(base) + "/acv-fuzz-settings-" + std::to_string(::getpid()) + ".ini";
  }();
  return path;
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The level the set-up command would carry (its leading integer) is one the
// set-up dialog accepts.
bool LevelInRange(const std::string& text) {
  const long level = std::strtol(text.c_str(), nullptr, 10);
  return level >= 0 && level <= 1000;
}

}  // namespace

// The scratch file (and a damaged one the save set aside) goes after every
// input, so no run leaves one behind, however it ends.
struct ScratchRemover {
  ~ScratchRemover() {
    std::remove(SettingsPath().c_str());
    std::remove((SettingsPath() + ".bad").c_str());
  }
};

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string& path = SettingsPath();
  const ScratchRemover remover;
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  const acv::AppSettings first = acv::LoadSettings(path);
  if (first.backgroundColour < 0 || first.backgroundColour > 14 || first.rtInterval < 2 ||
      first.rtInterval > 3600 || first.realTimePoints < 1 || first.realTimePoints > 100000 ||
      !LevelInRange(first.riseLevelSetting) || !LevelInRange(first.dropLevelSetting) ||
      (first.autoPowerOff != 0 && first.autoPowerOff != 2) || first.markPoints < 0 ||
      first.markPoints > 1) {
    std::abort();  // a value no dialog can produce got through
  }
  for (int kind = 0; kind < acv::kDisplayKinds; ++kind) {
    for (int ch = 0; ch < 2; ++ch) {
      if (first.yAxisLow[kind][ch] >= first.yAxisHigh[kind][ch]) std::abort();
    }
  }
  if (!acv::SaveSettings(first, path)) return 0;
  const std::string written = ReadText(path);
  if (!acv::SaveSettings(acv::LoadSettings(path), path)) return 0;
  if (ReadText(path) != written) std::abort();
  return 0;
}
