#pragma once
// The logger's side of the serial protocol: command codes, reply layouts and
// the encoders of every reply the simulated logger sends. Written from the
// protocol tables alone; the program's decoders are deliberately not used.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace acv::sim {

// Memory: a ring of 1024 blocks of 512 bytes.
inline constexpr std::size_t kBlockBytes = 512;
inline constexpr std::size_t kBlockCount = 1024;
inline constexpr std::size_t kMemoryBytes = kBlockBytes * kBlockCount;

// Command codes (first byte of what the program sends).
inline constexpr std::uint8_t kProbe = 0x78;
inline constexpr std::uint8_t kSetup = 0xAA;
inline constexpr std::uint8_t kClock = 0xAC;
inline constexpr std::uint8_t kDownloadStart = 0x68;
inline constexpr std::uint8_t kBlockRead = 0xD8;
inline constexpr std::uint8_t kRealTime = 0xC8;
inline constexpr std::uint8_t kRealTimeStopLast = 0xC9;  // byte 7 of the stop frame
inline constexpr std::uint8_t kFillWholeBlock = 0xFF;
inline constexpr std::uint8_t kFillLastBlock = 0x01;
inline constexpr std::size_t kFrameBytes = 8;

// Reply codes.
inline constexpr std::uint8_t kProbeAnswer = 0xAF;
inline constexpr std::uint8_t kAckDone = 0xEE;
inline constexpr std::uint8_t kAckPressStart = 0x1E;
inline constexpr std::uint8_t kRefuseLogging = 0xEA;
inline constexpr std::uint8_t kHeaderCode = 0xDD;
inline constexpr std::uint8_t kRealTimeMark = 0x3F;
inline constexpr std::size_t kHeaderBytes = 28;

// Channel kinds of the header and the real-time block.
inline constexpr std::uint8_t kKindCurrent = 0;
inline constexpr std::uint8_t kKindVoltage = 1;
inline constexpr std::uint8_t kKindOff = 255;

// RMS interval units.
inline constexpr std::uint8_t kUnitSeconds = 0x10;
inline constexpr std::uint8_t kUnitMinutes = 0x20;
inline constexpr std::uint8_t kUnitHours = 0x30;

// Real-time block: 5 bytes of head, 590 pairs of signed 16-bit samples.
inline constexpr std::size_t kRealTimeSamples = 590;
inline constexpr std::size_t kRealTimeBlockBytes = 5 + kRealTimeSamples * 4;
inline constexpr double kRealTimeSpacingMs = 0.05471;

// TR record inside the memory image.
inline constexpr std::uint8_t kTrMarkerHigh = 0x7F;
inline constexpr std::uint8_t kTrMarkerLow = 0xFF;
inline constexpr std::uint8_t kTrUnitVolt = 250;
inline constexpr std::uint8_t kTrUnitAmp = 252;
inline constexpr std::uint8_t kTrChannel1 = 241;
inline constexpr std::uint8_t kTrChannel2 = 242;
inline constexpr std::size_t kTrRecordBytes = 512;
inline constexpr std::size_t kTrSamples = 251;
inline constexpr double kTrSpacingMs = 0.0874;

// A wall-clock time as the logger's clock keeps it: no time zone, no DST.
struct CivilTime {
  int year = 2000;
  int month = 1;
  int day = 1;
  int hour = 0;
  int minute = 0;
  int second = 0;
  bool operator==(const CivilTime&) const = default;
};

CivilTime AddSeconds(const CivilTime& time, std::int64_t seconds);

// Packed BCD of 0..99: tens in the high nibble.
std::uint8_t ToBcd(int value);

void PutU16(std::vector<std::uint8_t>& out, std::uint16_t value);
void PutS16(std::vector<std::uint8_t>& out, std::int16_t value);
void PutU24(std::vector<std::uint8_t>& out, std::uint32_t value);
// Year - 2000, month, day, hour, minute, second: one BCD byte each.
void PutBcdTime(std::vector<std::uint8_t>& out, const CivilTime& time);

struct DownloadHeader {
  std::uint8_t channels = 2;
  std::uint8_t ch1Kind = kKindVoltage;
  std::uint8_t ch2Kind = kKindCurrent;
  std::uint32_t totalBytes = 0;   // 24 bits
  std::uint32_t startOffset = 0;  // 24 bits
  std::uint8_t intervalUnit = kUnitSeconds;
  std::uint8_t intervalValue = 1;
  std::int16_t riseLevel = 500;
  std::int16_t dropLevel = 100;
  CivilTime start;
  std::uint32_t countA = 0;  // raw 24-bit values; the program divides them by channels
  std::uint32_t countB = 0;
};

std::array<std::uint8_t, kHeaderBytes> EncodeHeader(const DownloadHeader& header);

// The reply that refuses a download while logging: 0xEA padded to the
// header's length, because the program only looks once 28 bytes are in.
std::array<std::uint8_t, kHeaderBytes> EncodeLoggingRefusal();

// ch1 and ch2 hold kRealTimeSamples values each.
std::vector<std::uint8_t> EncodeRealTimeBlock(std::uint8_t channelFlag, std::uint8_t ch1Kind,
                                              std::uint8_t ch2Kind,
                                              std::span<const std::int16_t> ch1,
                                              std::span<const std::int16_t> ch2);

// Appends one 512-byte TR record; samples holds kTrSamples values.
void AppendTrRecord(std::vector<std::uint8_t>& out, std::uint8_t unitCode, std::uint8_t channelCode,
                    const CivilTime& trigger, std::span<const std::int16_t> samples);

// count samples of peak * sin(2 pi hz t), spaced spacingMs apart, rounded
// and kept inside the signed 16-bit range.
std::vector<std::int16_t> SineSamples(std::size_t count, double spacingMs, double peak, double hz);

}  // namespace acv::sim
