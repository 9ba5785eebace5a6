#pragma once
// What a chunk keeps for the supply's band, so that a site's band summary
// over weeks reads a few figures per chunk instead of every point: per
// channel the points inside the band Un +- band %, and per 10-minute slot of
// the local clock that the chunk touches, its points there with the sum of
// their squares. A slot whose points lie in several chunks (or downloads)
// gets its RMS from the joined partials.
//
// Both are taken of the values as shown (after the channel scaling), so
// each keeps the factors and the band it was computed with: figures of
// another scaling or band are not used, the points are read instead.
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "library/core/SeriesChunks.h"

namespace acv::library {

// Values are shown multiplied by these factors (the channel scaling).
using ChannelFactors = std::array<double, 2>;

// A stored value as the analysis sees it after the scaling (rounded back to
// float, as the analysis series does).
inline float ScaledValue(float v, double factor) {
  return factor == 1.0 ? v : static_cast<float>(static_cast<double>(v) * factor);
}

// The points of a chunk inside one 10-minute slot of the local clock.
struct SlotPartial {
  TimeStamp slotStart = 0;                // where the slot begins
  std::int64_t first = 0;                 // the first of these points, counted within the chunk
  std::int64_t points = 0;                // points in the slot, finite or not
  std::array<std::int64_t, 2> leftOut{};  // non-finite ones per channel
  std::array<double, 2> squares{};        // sum of squares of the finite ones

  bool operator==(const SlotPartial&) const = default;
};

// What the figures were computed with: the scaling's factors and the band.
struct BandBasis {
  ChannelFactors factors{1.0, 1.0};
  double low = 0.0, high = 0.0;
  bool operator==(const BandBasis&) const = default;
};

struct ChunkBand {
  BandBasis basis;
  std::array<std::int64_t, 2> inBand{};  // finite points within [low, high]
  std::vector<SlotPartial> partials;     // in time order
  bool operator==(const ChunkBand&) const = default;
};

// The figures of points first .. first + count - 1 of a run; a slot's
// `first` counts from `first`.
ChunkBand SummariseChunkBand(const PointRun& run, std::int64_t first, std::int64_t count,
                             const BandBasis& basis);

// The partials as bytes (little-endian, fixed-size records), and back: nullopt
// when the bytes are not whole records.
std::vector<std::uint8_t> EncodeSlots(const std::vector<SlotPartial>& partials);
std::optional<std::vector<SlotPartial>> DecodeSlots(const std::vector<std::uint8_t>& bytes);
std::optional<std::vector<SlotPartial>> DecodeSlots(const std::uint8_t* bytes, std::size_t size);

}  // namespace acv::library
