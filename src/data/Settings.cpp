#include "data/Settings.h"

#include <algorithm>
#include <filesystem>
#include <initializer_list>
#include <string>

#include "data/IniFile.h"

namespace acv {
namespace {

constexpr const char* kTime = "TIMEInfo";
constexpr const char* kSampleRate = "SAMPRATEINFO";
constexpr const char* kLimitUnit = "LIMITUNITINFO";
constexpr const char* kAlarm = "ALARMInfo";
constexpr const char* kColour = "ColorInfo";
constexpr const char* kAutoOff = "AUTOOFF Info";
constexpr const char* kRecMode = "RECMODE Info";
constexpr const char* kRtRate = "RTSAMPRATEINFO";
constexpr const char* kRtPoints = "RTSAMPDATAINFO";
constexpr const char* kView = "VIEWInfo";
constexpr const char* kYAxis = "YAXISInfo";
constexpr const char* kRecent = "Recent File List";
constexpr const char* kLibrary = "LIBRARYInfo";
constexpr int kRecentKeys = 4;

constexpr const char* kTimeKeys[6] = {"YEAR", "MONTH", "DAY", "HOUR", "MINUTE", "SECOND"};
constexpr int kColourCount = 15;
constexpr int kMinLevel = 0;  // detection levels of the set-up dialog
constexpr int kMaxLevel = 1000;

std::string YAxisKey(const char* end, int kind, int channel) {
  return std::string("YAXIS") + end + std::to_string(kind) + "CH" + std::to_string(channel);
}

// Values the dialogs cannot produce would index past the program's tables
// (colours, list entries) or start a run the logger cannot do; such a value
// from a damaged file falls back to its default.
int InRange(int value, int low, int high, int fallback) {
  return value >= low && value <= high ? value : fallback;
}

// A value that must be one of a few codes (on/off choices, flags): any
// other is damage and gives the default.
int OneOf(int value, std::initializer_list<int> allowed, int fallback) {
  for (int a : allowed) {
    if (value == a) return value;
  }
  return fallback;
}

// A number kept as the text the user typed (the rate and the detection
// levels): a text whose value lies in low..high stays as it is (a leading
// zero survives), a number beyond either end becomes that end, and a text
// without a number gives the default. Numbers are read as the dialogs send
// them: an optional sign and the leading digits.
std::string NumberText(const std::string& text, int low, int high, const std::string& fallback) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  if (i >= text.size() || text[i] < '0' || text[i] > '9') return fallback;
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = std::min(value * 10 + (text[i] - '0'), 1LL << 40);
  }
  if (negative) value = -value;
  if (value < low) return std::to_string(low);
  if (value > high) return std::to_string(high);
  return text;
}

// The VIEW options in key order VIEW1 .. VIEW9.
template <typename Settings>
auto ViewOptions(Settings& s) {
  return std::array{&s.showCh1,       &s.showCh2,    &s.showCh3, &s.capLevelShown, &s.ch2AlarmShown,
                    &s.ch3AlarmShown, &s.markPoints, &s.yGrid,   &s.xGrid};
}

// Moves a settings file that could not be read out of the way, under the
// first free name of PATH.bad, PATH.bad.2 ...; returns that name, or "" when
// it could not be moved (then nothing may be written over it). Only a
// regular file (or a link to one) is moved: a folder or a device in its
// place is left as it is.
std::string KeepAside(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) return {};
  for (int n = 1; n <= 100; ++n) {
    const std::string bad = path + ".bad" + (n == 1 ? "" : "." + std::to_string(n));
    if (fs::exists(fs::symlink_status(bad, ec))) continue;
    fs::rename(path, bad, ec);
    return ec ? std::string() : bad;
  }
  return {};
}

// A library URL or site name the file gives back as it was: no control
// characters (a damaged file), no blanks at its ends (reading trims them),
// shorter than the longest value (one that long may have been cut: better
// none than another library or site).
bool StorableText(const std::string& text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  if (text.size() >= IniFile::kMaxValueLength) return false;
  if (!text.empty() && (blank(text.front()) || blank(text.back()))) return false;
  return std::none_of(text.begin(), text.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7f;
  });
}

constexpr std::pair<const char*, std::string LibrarySettings::*> kLibraryKeys[] = {
    {"URL", &LibrarySettings::url}, {"AUTOADDSITE", &LibrarySettings::autoAddSite}};

LibrarySettings ReadLibrarySettings(const IniFile& ini) {
  LibrarySettings library;
  for (const auto& [key, field] : kLibraryKeys) {
    const std::string text = ini.GetString(kLibrary, key, "");
    if (StorableText(text)) library.*field = text;
  }
  return library;
}

// Written once set, like the other optional sections, so a file of a user
// who never used the library stays as it was.
void WriteLibrarySettings(IniFile& ini, const LibrarySettings& library) {
  if (library == LibrarySettings{} && !ini.Get(kLibrary, kLibraryKeys[0].first)) return;
  for (const auto& [key, field] : kLibraryKeys) {
    const std::string& text = library.*field;
    ini.Set(kLibrary, key, StorableText(text) ? text : "");
  }
}

}  // namespace

AppSettings::AppSettings() {
  // Display kinds 1..5 show levels, 6 frequency, 7..9 apparent power.
  for (int kind = 0; kind < kDisplayKinds; ++kind) {
    int low = -500, high = 500;
    if (kind == 5) {
      low = 0;
      high = 80;
    } else if (kind >= 6) {
      low = 0;
      high = 162500;
    }
    yAxisLow[kind] = {low, low};
    yAxisHigh[kind] = {high, high};
  }
}

AppSettings LoadSettings(const std::string& path, std::string* problem) {
  const IniFile ini = IniFile::Load(path, problem);
  AppSettings s;
  const AppSettings d;  // defaults

  for (int i = 0; i < 6; ++i)
    s.lastClockText[i] = ini.GetString(kTime, kTimeKeys[i], d.lastClockText[i]);
  s.sampleRateUnit =
      InRange(ini.GetInt(kSampleRate, "SAMPUNIT", d.sampleRateUnit), 0, 2, d.sampleRateUnit);
  // 1..60 seconds or minutes, 1..24 hours: what the set-up dialog accepts.
  s.sampleRateText = NumberText(ini.GetString(kSampleRate, "SAMPRATE", d.sampleRateText), 1,
                                s.sampleRateUnit == 2 ? 24 : 60, d.sampleRateText);
  s.riseLevelUnit =
      InRange(ini.GetInt(kLimitUnit, "LIMIT1UNIT", d.riseLevelUnit), 0, 1, d.riseLevelUnit);
  s.dropLevelUnit =
      InRange(ini.GetInt(kLimitUnit, "LIMIT2UNIT", d.dropLevelUnit), 0, 1, d.dropLevelUnit);
  // The detection levels go to the logger as they stand: 0..1000.
  s.riseLevelSetting = NumberText(ini.GetString(kAlarm, "TEMPHI", d.riseLevelSetting), kMinLevel,
                                  kMaxLevel, d.riseLevelSetting);
  s.dropLevelSetting = NumberText(ini.GetString(kAlarm, "TEMPLOW", d.dropLevelSetting), kMinLevel,
                                  kMaxLevel, d.dropLevelSetting);

  auto colour = [&](const char* key, int fallback) {
    return InRange(ini.GetInt(kColour, key, fallback), 0, kColourCount - 1, fallback);
  };
  s.backgroundColour = colour("BGColor", d.backgroundColour);
  s.ch1Colour = colour("TColor", d.ch1Colour);
  s.ch2Colour = colour("T2Color", d.ch2Colour);
  s.ch3Colour = colour("T3Color", d.ch3Colour);
  s.gridColour = colour("GRIDColor", d.gridColour);

  s.autoPowerOff = OneOf(ini.GetInt(kAutoOff, "AUTOOFF", d.autoPowerOff), {0, 2}, d.autoPowerOff);
  s.circulateLogging =
      OneOf(ini.GetInt(kRecMode, "RECMODE", d.circulateLogging), {0, 3}, d.circulateLogging);
  s.realTimePoints =
      InRange(ini.GetInt(kRtPoints, "SAMPDATA", d.realTimePoints), 1, 100000, d.realTimePoints);
  for (int kind = 1; kind <= kDisplayKinds; ++kind) {
    for (int ch = 1; ch <= 2; ++ch) {
      int& high = s.yAxisHigh[kind - 1][ch - 1];
      int& low = s.yAxisLow[kind - 1][ch - 1];
      const int readHigh = ini.GetInt(kYAxis, YAxisKey("HI", kind, ch), high);
      const int readLow = ini.GetInt(kYAxis, YAxisKey("LOW", kind, ch), low);
      // The Axis Setup dialog refuses a range whose start is not below its
      // end (an empty or upside-down axis): such a pair keeps its defaults.
      if (readLow < readHigh) {
        high = readHigh;
        low = readLow;
      }
    }
  }

  // The graph view's own part.
  const auto views = ViewOptions(s);
  const auto viewDefaults = ViewOptions(d);
  for (int i = 0; i < 9; ++i) {
    *views[i] = OneOf(ini.GetInt(kView, "VIEW" + std::to_string(i + 1), *viewDefaults[i]), {0, 1},
                      *viewDefaults[i]);
  }
  s.rtInterval = InRange(ini.GetInt(kRtRate, "RTSAMPRATE", d.rtInterval), 2, 3600, d.rtInterval);
  for (int i = 1; i <= kRecentKeys; ++i) {
    const std::string file = ini.GetString(kRecent, "File" + std::to_string(i), "");
    if (!file.empty()) s.recentFiles.push_back(file);
  }
  s.eventLimits = ReadEventLimits(ini);
  s.channelScaling = ReadChannelScaling(ini);
  s.library = ReadLibrarySettings(ini);
  return s;
}

bool SaveSettings(const AppSettings& s, const std::string& path, std::string* notice) {
  if (notice != nullptr) notice->clear();
  std::string problem;
  IniFile ini = IniFile::Load(path, &problem);
  if (!problem.empty()) {
    // Its values (event limits, recent files, anything a later version
    // added) were not read, so writing the defaults over it would lose them.
    std::string kept = KeepAside(path);
    if (notice != nullptr) {
      *notice = kept.empty() ? "the settings file '" + path + "' was not written over: " + problem
                             : "the settings file '" + path + "' could not be read (" + problem +
                                   "); it was kept as '" + kept + "'";
    }
    if (kept.empty()) return false;
  }
  auto put = [&](const char* section, const std::string& key, const std::string& value) {
    ini.Set(section, key, value);
  };
  auto putInt = [&](const char* section, const std::string& key, int value) {
    ini.Set(section, key, std::to_string(value));
  };

  for (int i = 0; i < 6; ++i) put(kTime, kTimeKeys[i], s.lastClockText[i]);
  put(kSampleRate, "SAMPRATE", s.sampleRateText);
  putInt(kSampleRate, "SAMPUNIT", s.sampleRateUnit);
  putInt(kLimitUnit, "LIMIT1UNIT", s.riseLevelUnit);
  putInt(kLimitUnit, "LIMIT2UNIT", s.dropLevelUnit);
  put(kAlarm, "TEMPHI", s.riseLevelSetting);
  put(kAlarm, "TEMPLOW", s.dropLevelSetting);
  const auto views = ViewOptions(s);
  for (int i = 0; i < 9; ++i) putInt(kView, "VIEW" + std::to_string(i + 1), *views[i]);
  for (int kind = 1; kind <= kDisplayKinds; ++kind) {
    for (int ch = 1; ch <= 2; ++ch) {
      putInt(kYAxis, YAxisKey("LOW", kind, ch), s.yAxisLow[kind - 1][ch - 1]);
      putInt(kYAxis, YAxisKey("HI", kind, ch), s.yAxisHigh[kind - 1][ch - 1]);
    }
  }
  putInt(kColour, "BGColor", s.backgroundColour);
  putInt(kColour, "TColor", s.ch1Colour);
  putInt(kColour, "T2Color", s.ch2Colour);
  putInt(kColour, "T3Color", s.ch3Colour);
  putInt(kColour, "GRIDColor", s.gridColour);
  putInt(kAutoOff, "AUTOOFF", s.autoPowerOff);
  putInt(kRecMode, "RECMODE", s.circulateLogging);
  putInt(kRtRate, "RTSAMPRATE", s.rtInterval);
  putInt(kRtPoints, "SAMPDATA", s.realTimePoints);
  WriteEventLimits(ini, s.eventLimits);
  WriteChannelScaling(ini, s.channelScaling);
  WriteLibrarySettings(ini, s.library);
  // Written once there is a list, every key, so a shorter list leaves no
  // stale entry behind. A path the file cannot give back whole (too long,
  // blanks at its ends) is left out rather than kept cut.
  std::vector<std::string> recent;
  for (const std::string& file : s.recentFiles) {
    const bool whole = file.size() <= IniFile::kMaxValueLength && !file.empty() &&
                       file.front() != ' ' && file.back() != ' ';
    if (whole && recent.size() < static_cast<std::size_t>(kRecentKeys)) recent.push_back(file);
  }
  if (!recent.empty() || ini.Get(kRecent, "File1")) {
    for (int i = 0; i < kRecentKeys; ++i) {
      const std::size_t at = static_cast<std::size_t>(i);
      put(kRecent, "File" + std::to_string(i + 1), at < recent.size() ? recent[at] : "");
    }
  }
  return ini.Save(path).empty();
}

}  // namespace acv
