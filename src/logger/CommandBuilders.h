#pragma once
// The logger's 8-byte command frames and the input rules of the dialogs that
// fill them: pure functions, shared by the dialogs, the download, the
// real-time run and the command-line tool.
#include <array>
#include <cstdint>
#include <string>

#include "logger/LoggerLink.h"

namespace acv {

// ---- fixed frames ---------------------------------------------------------------

inline constexpr std::uint8_t kCmdDownloadStart = 0x68;  // 0x68 x 8: send the memory header
inline constexpr std::uint8_t kCmdRealTime = 0xC8;       // 0xC8 x 8: start or keep up real time
inline constexpr std::uint8_t kCmdRealTimeStop = 0xC9;   // byte 7 of the stop frame
inline constexpr std::uint8_t kCmdBlockRequest = 0xD8;
inline constexpr std::uint8_t kCmdSetup = 0xAA;
inline constexpr std::uint8_t kCmdClock = 0xAC;
inline constexpr std::uint8_t kBlockFillWhole = 0xFF;    // a whole 512-byte block
inline constexpr std::uint8_t kBlockFillPartial = 0x01;  // the last, partial block

// The logger memory is a ring of 1024 blocks of 512 bytes.
inline constexpr int kBlockRingSize = 1024;

CommandFrame FilledFrame(std::uint8_t value);
inline CommandFrame DownloadStartFrame() {
  return FilledFrame(kCmdDownloadStart);
}
inline CommandFrame RealTimeStartFrame() {
  return FilledFrame(kCmdRealTime);
}
// C8 C8 C8 C8 C8 C8 C8 C9
CommandFrame RealTimeStopFrame();

// D8, address high, address low, fill x 5. The address is blockIndex x 2;
// a block index at or past the end of the ring (or below 0) is read as block
// 0 and blockIndex is set to 0, so the caller continues counting from there.
CommandFrame BuildBlockRequest(int& blockIndex, std::uint8_t fill);

// ---- text input ------------------------------------------------------------------

// The decimal value of an optional sign and the leading digits ("12ab" -> 12,
// "-3" -> -3); text without leading digits gives 0. Leading blanks are
// skipped; values beyond the int range saturate.
int ParseLeadingInt(const std::string& text);

// ---- set-up command --------------------------------------------------------------

enum SampleRateUnit { kUnitSecond = 0, kUnitMinute = 1, kUnitHour = 2 };

// The set-up dialog's values, as the settings file keeps them.
struct SetupValues {
  std::string sampleRateText = "10";
  int sampleRateUnit = kUnitSecond;
  int autoPowerOff = 0;      // 2 = on (the bit number of 0x04)
  int circulateLogging = 0;  // 3 = on (the bit number of 0x08)
  std::string riseLevelSetting = "500";
  std::string dropLevelSetting = "100";
};

// The sampling rate as the rate field keeps it: 1..60 for seconds and
// minutes, 1..24 for hours; empty or non-numeric text gives 1.
int ClampSampleRate(const std::string& text, int unit);
// 0x10 seconds, 0x20 minutes, 0x30 hours; an unknown unit is sent as seconds.
std::uint8_t SampleRateUnitCode(int unit);

// The detection levels the set-up dialog accepts.
inline constexpr int kMinDetectionLevel = 0;
inline constexpr int kMaxDetectionLevel = 1000;
// A level text as it goes out: its leading integer, clamped to 0..1000.
int SetupLevel(const std::string& text);

// AA, flags, unit, rate, rise level (16-bit big-endian), drop level. The rate
// and the levels are clamped to the dialog's ranges, so a stray value from
// the settings file never reaches the logger.
CommandFrame BuildSetupFrame(const SetupValues& values);

// ---- clock command ---------------------------------------------------------------

enum class ClockField { Year, Month, Day, Hour, Minute, Second };

inline constexpr int kClockYearMin = 2000;
inline constexpr int kClockYearMax = 2099;

// The clamping of the clock fields while typing: the year to 2000..2099 at
// both ends (the logger counts years from 2000 in two BCD digits); month at
// most 12, day at most 31, hour at most 23, minute and second at most 59,
// with no lower bound for these five.
int ClampClockField(ClockField field, int value);

// One BCD byte: v + 6 x (v / 10), kept to 8 bits.
std::uint8_t ToBcd(int value);

// AC, year - 2000, month, day, hour, minute, second (BCD each), FF. The values
// are encoded as given; callers apply ClampClockField first.
CommandFrame BuildClockFrame(int year, int month, int day, int hour, int minute, int second);

}  // namespace acv
