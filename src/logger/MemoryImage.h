#pragma once
// The logger's stored memory: the 28-byte download header and the memory
// image that follows it (RMS items of n x 2 bytes interleaved with 512-byte
// TR records), turned into the STORE family of a CDTDoc. Pure functions over
// bytes: everything here is bounded by the bytes actually given.
#include <cstdint>
#include <optional>
#include <span>

#include "data/CDTDoc.h"
#include "data/TimeText.h"

namespace acv {

inline constexpr std::size_t kDownloadHeaderSize = 28;
inline constexpr std::uint8_t kDownloadHeaderCode = 0xDD;
inline constexpr std::uint8_t kLoggingRefusalCode = 0xEA;
inline constexpr int kMemoryBlockSize = 512;
inline constexpr int kMemoryBlocks = 1024;
// The logger's whole memory: a ring of 1024 blocks of 512 bytes.
inline constexpr int kLoggerMemoryBytes = kMemoryBlockSize * kMemoryBlocks;
inline constexpr int kTrRecordBytes = 512;
inline constexpr std::uint8_t kTrMarkerHigh = 0x7F;  // RMS_TR_MARKER, 0x7F 0xFF
inline constexpr std::uint8_t kTrMarkerLow = 0xFF;

// Channel kinds of the header (and of the real-time block).
inline constexpr std::uint8_t kKindCurrent = 0;
inline constexpr std::uint8_t kKindVoltage = 1;
inline constexpr std::uint8_t kKindOff = 255;

// Interval units of the header.
inline constexpr std::uint8_t kIntervalSeconds = 0x10;
inline constexpr std::uint8_t kIntervalMinutes = 0x20;
inline constexpr std::uint8_t kIntervalHours = 0x30;

// The download header as the logger sends it, decoded but not yet applied to
// any document.
struct DownloadHeader {
  int channelCount = 0;        // n: 1 or 2 recorded channels, 0 = nothing stored
  std::uint8_t ch1Kind = 255;  // 0 current, 1 voltage, 255 off, other: keep previous
  std::uint8_t ch2Kind = 255;
  int total = 0;                  // bytes in the memory image
  int start = 0;                  // memory offset of the oldest byte
  std::uint8_t intervalUnit = 0;  // 0x10 s, 0x20 min, 0x30 h, other: keep previous
  std::uint8_t intervalValue = 0;
  std::int16_t riseLevel = 0;
  std::int16_t dropLevel = 0;
  TimeStamp startTime = 0;  // the RMS record's start, from local BCD fields
  int countA = 0;           // bytes 22..24 divided by n (0 when n is 0)
  int countB = 0;           // bytes 25..27 divided by n
};

// High nibble tens, low nibble units; a nibble above 9 is not rejected but
// counted arithmetically (0x1A gives 20), as the logger's clock is trusted.
int BcdValue(std::uint8_t byte);

// Six BCD bytes (year - 2000, month, day, hour, minute, second) to a time
// stamp in local time. `bytes` must hold at least six bytes.
TimeStamp BcdLocalTime(std::span<const std::uint8_t> bytes);

// Decodes a header reply: nullopt unless it starts with 0xDD and holds all 28
// bytes. Counts A and B are divided by n only when n is not 0.
std::optional<DownloadHeader> DecodeDownloadHeader(std::span<const std::uint8_t> reply);

// The header's description of the STORE data (presence, units, interval,
// levels, start time) written into `store`. Kinds and interval units the
// logger does not define leave the previous value of `store`.
void ApplyDownloadHeader(const DownloadHeader& header, CDTDoc& store);

// What a walk over an image finds: complete TR records and whole RMS items.
// A TR marker less than 512 bytes before the end, or a last RMS item shorter
// than n x 2 bytes, cannot be complete and ends the walk (the tail is dropped).
struct ImageCounts {
  int trCount = 0;
  int rmsCount = 0;
  std::size_t usedBytes = 0;  // bytes covered by the complete items
};
ImageCounts CountImage(std::span<const std::uint8_t> image, int channelCount);

// Seconds the start time moves forward when the memory has wrapped around
// (header.start != 0): trunc(Y x rmsInterval) with
// Y = ((total mod 512) / 2) / n - rmsCount + countA + countB.
std::int64_t WrappedStartShift(int total, const DownloadHeader& header, int rmsCount,
                               float rmsInterval);

// Splits a complete image (`image` holds exactly the bytes the header
// announced) into the STORE family of `store`, which must already carry the
// header (ApplyDownloadHeader): RMS series, TR records with their times,
// units and channels, counts, the wrapped start time, and the statistics
// texts. Returns false, leaving the arrays empty, when n is not 1 or 2.
bool ParseMemoryImage(std::span<const std::uint8_t> image, const DownloadHeader& header,
                      CDTDoc& store);

}  // namespace acv
