#pragma once
// A chunk's envelope: the lowest and highest value of each channel in
// blocks of kEnvelopeBlock points, so that a view of weeks or years of a
// site is drawn from a few figures per block instead of every point.
//
// Blocks are cut on one grid for every chunk of an interval: block b holds
// the points whose time t has floor(t / interval) in b * kEnvelopeBlock ..
// (b + 1) * kEnvelopeBlock - 1. Chunks of different downloads that share a
// block then join their parts of it by a minimum and a maximum, wherever
// each chunk begins. A NaN (a point without a value) is left out of the
// extremes and counted, as it breaks a curve; infinities are kept.
#include <cstdint>
#include <optional>
#include <vector>

#include "data/TimeText.h"

namespace acv::library {

inline constexpr std::int64_t kEnvelopeBlock = 256;

struct EnvelopeBlock {
  float low;   // +inf when every point is NaN
  float high;  // -inf when every point is NaN
  std::uint32_t nans;
  bool operator==(const EnvelopeBlock&) const = default;
};

// The grid number of a point at time t and interval (floor(t / interval)),
// and the block of a grid number.
std::int64_t GridNumber(TimeStamp t, std::int64_t interval);
std::int64_t BlockOfGrid(std::int64_t grid);

// How many blocks `count` points from grid number `first` touch.
std::int64_t BlocksSpanned(std::int64_t first, std::int64_t count);

// The blocks of `count` values whose first has grid number `first`; the
// first and last may be partial.
std::vector<EnvelopeBlock> SummariseEnvelope(const float* values, std::int64_t count,
                                             std::int64_t first);

// The blocks as little-endian bytes (12 a block) and back: nullopt unless
// the bytes hold exactly `blocks` of them.
std::vector<std::uint8_t> EncodeEnvelope(const std::vector<EnvelopeBlock>& blocks);
std::optional<std::vector<EnvelopeBlock>> DecodeEnvelope(const std::uint8_t* bytes,
                                                         std::size_t size, std::int64_t blocks);

}  // namespace acv::library
