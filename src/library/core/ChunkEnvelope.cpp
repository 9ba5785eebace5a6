#include "library/core/ChunkEnvelope.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

namespace acv::library {
namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr std::size_t kBlockBytes = 12;

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  const std::int64_t q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

void Put(std::vector<std::uint8_t>& out, std::uint32_t bits) {
  for (int b = 0; b < 4; ++b) out.push_back(static_cast<std::uint8_t>(bits >> (8 * b)));
}

std::uint32_t Get(const std::uint8_t* at) {
  std::uint32_t bits = 0;
  for (int b = 0; b < 4; ++b) bits |= std::uint32_t{at[b]} << (8 * b);
  return bits;
}

}  // namespace

std::int64_t GridNumber(TimeStamp t, std::int64_t interval) {
  return FloorDiv(t, interval > 0 ? interval : 1);
}

std::int64_t BlockOfGrid(std::int64_t grid) {
  return FloorDiv(grid, kEnvelopeBlock);
}

std::int64_t BlocksSpanned(std::int64_t first, std::int64_t count) {
  if (count <= 0) return 0;
  return BlockOfGrid(first + count - 1) - BlockOfGrid(first) + 1;
}

std::vector<EnvelopeBlock> SummariseEnvelope(const float* values, std::int64_t count,
                                             std::int64_t first) {
  // Sized first and filled in place: with no call inside the loop the
  // extremes stay in registers instead of going through memory each point.
  std::vector<EnvelopeBlock> blocks(static_cast<std::size_t>(BlocksSpanned(first, count)));
  std::int64_t k = 0;
  for (EnvelopeBlock& block : blocks) {
    // The points from k to the end of k's block.
    const std::int64_t end = std::min(count, (BlockOfGrid(first + k) + 1) * kEnvelopeBlock - first);
    float low = kInf, high = -kInf;
    std::uint32_t nans = 0;
    for (; k < end; ++k) {
      const float v = values[k];
      // A NaN fails both comparisons and leaves the extremes as they are.
      nans += std::isnan(v) ? 1U : 0U;
      low = v < low ? v : low;
      high = v > high ? v : high;
    }
    block = {low, high, nans};
  }
  return blocks;
}

std::vector<std::uint8_t> EncodeEnvelope(const std::vector<EnvelopeBlock>& blocks) {
  std::vector<std::uint8_t> out;
  out.reserve(blocks.size() * kBlockBytes);
  for (const EnvelopeBlock& b : blocks) {
    Put(out, std::bit_cast<std::uint32_t>(b.low));
    Put(out, std::bit_cast<std::uint32_t>(b.high));
    Put(out, b.nans);
  }
  return out;
}

std::optional<std::vector<EnvelopeBlock>> DecodeEnvelope(const std::uint8_t* bytes,
                                                         std::size_t size, std::int64_t blocks) {
  if (blocks < 0 || static_cast<std::uint64_t>(blocks) * kBlockBytes != size) return std::nullopt;
  std::vector<EnvelopeBlock> out(static_cast<std::size_t>(blocks));
  for (std::size_t i = 0; i < out.size(); ++i) {
    const std::uint8_t* at = bytes + i * kBlockBytes;
    out[i] = {std::bit_cast<float>(Get(at)), std::bit_cast<float>(Get(at + 4)), Get(at + 8)};
  }
  return out;
}

}  // namespace acv::library
