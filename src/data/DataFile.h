#pragma once
// Data files (".stdata"): the STORE data set in the program's binary layout,
// little-endian throughout:
//
//   tag string ("RMSTRDATA" or "EPADATA")
//   int32 rmsCount, u8 hasCh1, u8 hasCh2, float32 rmsInterval,
//   int32 year, month, day, hour, minute, second   (rmsStartTime, local time)
//   CH1 block, if hasCh1 == 1: rmsCount float32, strings max text, min text,
//                              CH1 unit, CH2 unit
//   CH2 block, if hasCh2 == 1: rmsCount float32, strings max text, min text
//   int32 trCount, trCount x 26-byte heads (u8 channel, u8 unit, six int32
//   local-time fields), trCount x 251 float32 waves, float32 riseLevel,
//   float32 dropLevel
//
// Files tagged "EPADATA" (the previous measurement after a real-time run)
// continue with the real-time section, see DataFile.cpp. Loading is
// all-or-nothing: the file is checked completely before the data set changes.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "data/CDTDoc.h"

namespace acv {

// The message for a file whose tag is not one of ours.
inline constexpr const char* kInvalidFormatMessage = "Invalid Format!";

// The logger's memory holds at most this many RMS items (2 bytes each).
inline constexpr std::int32_t kMaxStoreSamples = 262144;

// The largest data file a download plus a real-time run can produce is a few
// MiB; anything beyond this is refused before it is read.
inline constexpr std::uint64_t kMaxDataFileBytes = 16u << 20;

struct LoadResult {
  bool ok = false;
  std::string tag;    // the tag read from the file ("" when none could be read)
  std::string error;  // "" on success; kInvalidFormatMessage or a description
};

// Reads a data file. On success the STORE family is replaced (and, for an
// "EPADATA" file, the REAL TIME family); on any failure the data set stays as
// it was, except readTag after a foreign tag, which the post-load display
// switch reads.
LoadResult LoadDataFile(const std::string& path, CDTDoc& doc);
LoadResult DecodeDataFile(std::span<const std::uint8_t> bytes, CDTDoc& doc,
                          const std::string& nameForMessages);

// Writes the data set with doc.formatTag. Returns "" or the error; a failed
// save leaves an existing file untouched.
std::string SaveDataFile(const CDTDoc& doc, const std::string& path);
std::vector<std::uint8_t> EncodeDataFile(const CDTDoc& doc);

// The previous-measurement file: the same layout. Loading a file that does
// not exist gives ok = false with an empty error (nothing to do).
std::string SavePreviousMeasurement(const CDTDoc& doc, const std::string& path);
LoadResult LoadPreviousMeasurement(const std::string& path, CDTDoc& doc);

}  // namespace acv
