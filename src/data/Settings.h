#pragma once
// The user's settings kept between runs in QX7DATALOGGER.ini: colours, axis
// ranges, view options, logger set-up values, real-time parameters. Read at
// start, written at close; a missing or corrupt file yields the defaults.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "data/ChannelScaling.h"
#include "data/EventLimits.h"

namespace acv {

inline constexpr int kDisplayKinds = 9;

// The measurement library (section "LIBRARYInfo").
struct LibrarySettings {
  // Where the library is, as --db takes it; "" = ACVLOGGER_DB or the
  // default file. Kept as written: a faulty text is reported when the
  // library is opened, never replaced quietly by another library.
  std::string url;
  // Every download is added to this site without asking; "" = ask.
  std::string autoAddSite;

  bool operator==(const LibrarySettings&) const = default;
};

struct AppSettings {
  // TIMEInfo: the date and time last sent with the clock command.
  std::array<std::string, 6> lastClockText{"2008", "1", "1", "0", "0", "0"};
  // SAMPRATEINFO
  std::string sampleRateText = "10";
  int sampleRateUnit = 0;  // 0 Second, 1 Minute, 2 Hour
  // LIMITUNITINFO (index into the sorted list "A", "V")
  int riseLevelUnit = 1;
  int dropLevelUnit = 1;
  // ALARMInfo
  std::string riseLevelSetting = "500";
  std::string dropLevelSetting = "100";
  // ColorInfo: indices into the colour table
  int backgroundColour = 13;
  int ch1Colour = 0;
  int ch2Colour = 1;
  int ch3Colour = 3;
  int gridColour = 2;
  // AUTOOFF Info / RECMODE Info
  int autoPowerOff = 0;      // 2 = on
  int circulateLogging = 0;  // 3 = on
  // RTSAMPRATEINFO / RTSAMPDATAINFO
  int rtInterval = 2;
  int realTimePoints = 3600;
  // VIEWInfo VIEW1..VIEW9
  int showCh1 = 1, showCh2 = 1, showCh3 = 1, capLevelShown = 0, ch2AlarmShown = 0,
      ch3AlarmShown = 0, markPoints = 0, yGrid = 1, xGrid = 1;
  // YAXISInfo, [display kind - 1][channel - 1]
  std::array<std::array<int, 2>, kDisplayKinds> yAxisHigh{};
  std::array<std::array<int, 2>, kDisplayKinds> yAxisLow{};
  // Recent File List File1..File4: data files opened or saved, newest first.
  std::vector<std::string> recentFiles;
  // EVENTLimits: what the event list measures the RMS series against.
  EventLimits eventLimits;
  // Ratios and sample scales of the two channels (section "CHANNELScaling").
  ChannelScaling channelScaling;
  LibrarySettings library;

  AppSettings();
};

// Reads the file; missing keys (or the whole file) give the defaults.
// `problem`: why a file that is there could not be read whole, so that its
// values were not taken ("" when it was read, or when there is none).
AppSettings LoadSettings(const std::string& path, std::string* problem = nullptr);
// Writes every key in the fixed order, keeping unknown keys and sections.
// A file that is there but cannot be read whole is never written over: it
// is first kept under a name of its own (NAME.bad, or NAME.bad.2 ... when
// taken), and `notice` says so. Returns false when the file could not be
// written (`notice` then says why when it is this rule).
bool SaveSettings(const AppSettings& settings, const std::string& path,
                  std::string* notice = nullptr);

}  // namespace acv
