#pragma once
// A site's merged series of one kind held as its envelope instead of its
// points: the time grid of SiteSeriesData (one interval, gaps between
// downloads as points without a value), a min/max pyramid per channel built
// from the chunks' stored envelopes, and the points themselves read only
// where a view needs them, chunk by chunk, through two small caches. A
// site of 100 million points takes some megabytes this way, and a line
// chart walked from it (ColumnWalk.h) is the one drawn from every point:
// the pyramid's buckets stand for whole runs of points, and every point a
// walk looks at singly is read.
//
// Pyramid point q is grid point q - Lead(): the pyramid starts on a block
// boundary of the envelopes' grid, so that a block of any chunk is a bucket
// of the pyramid's level kEnvelopeLevel (or a part of one).
#include <array>
#include <cstdint>
#include <limits>
#include <list>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "graph/geometry/MinMaxPyramid.h"
#include "library/core/ChunkEnvelope.h"
#include "library/core/SiteSeriesData.h"

namespace acv::library {

// The pyramid level of a stored block (16^2 = kEnvelopeBlock points).
inline constexpr int kEnvelopeLevel = 2;
static_assert(std::int64_t{1} << (kBucketShift * kEnvelopeLevel) == kEnvelopeBlock);

// A stored chunk with its envelope per present channel (nullopt when the
// library has none, or none of the chunk's size: its points are read then).
struct ChunkEnvelopeRow {
  ChunkInfo chunk;
  std::array<std::optional<std::vector<EnvelopeBlock>>, 2> blocks;
};

class SiteEnvelope {
 public:
  // Takes the site's chunks of one kind in time order; `read` reads a
  // chunk's points (now for a chunk without an envelope, later for Value).
  // "" or why they make no series (SiteGrid's problems).
  std::string Open(const std::vector<ChunkEnvelopeRow>& rows, ChunkReader read,
                   const ChannelFactors& factors);

  const SiteGrid& Grid() const { return grid_; }
  std::int64_t Count() const { return grid_.count; }
  std::int64_t Lead() const { return lead_; }
  // The pyramid of a channel's scaled values (empty for an absent channel).
  const MinMaxPyramid& Pyramid(int channel) const { return pyramids_[Index(channel)]; }

  // Grid point p's scaled value; NaN outside 0 .. Count() - 1, in a gap or
  // for an absent channel. Throws what the reader throws.
  float Value(int channel, std::int64_t p) {
    if (p < 0 || p >= grid_.count) return kNoValue;
    const std::int64_t q = p + lead_;
    const std::int64_t block = q / kEnvelopeBlock;
    if (block != lastBlock_) {
      lastValues_ = &BlockValues(block);
      lastBlock_ = block;
    }
    return (*lastValues_)[Index(channel)][static_cast<std::size_t>(q % kEnvelopeBlock)];
  }

  // Bytes held: the pyramids, the chunk list and the caches at their fullest.
  std::size_t MemoryBytes() const;
  // Chunks read so far (at Open and for Value).
  std::int64_t ChunksRead() const { return chunksRead_; }

  // Blocks of values kept for Value, and decoded chunks kept to fill them.
  static constexpr std::size_t kBlockCache = 8192;
  static constexpr std::size_t kChunkCache = 32;

 private:
  static constexpr float kNoValue = std::numeric_limits<float>::quiet_NaN();
  using BlockOfValues = std::array<std::array<float, kEnvelopeBlock>, 2>;
  // What reading a chunk's points takes, and where they lie on the grid.
  struct GridChunk {
    std::int64_t id = 0, measurement = 0;
    TimeStamp start = 0;
    std::int64_t count = 0;
    std::int64_t at = 0;  // grid point of its first point
    std::array<bool, 2> present{};
  };
  static std::size_t Index(int channel) { return channel == 0 ? 0 : 1; }

  const BlockOfValues& BlockValues(std::int64_t block);
  const PointRun& ChunkPoints(std::size_t index);

  SiteGrid grid_;
  std::int64_t lead_ = 0;
  ChannelFactors factors_{1.0, 1.0};
  ChunkReader read_;
  std::vector<GridChunk> chunks_;  // by `at`
  std::int64_t longestChunk_ = 0;
  std::array<MinMaxPyramid, 2> pyramids_;
  std::int64_t chunksRead_ = 0;

  // Least recently used first.
  std::list<std::pair<std::int64_t, BlockOfValues>> blocks_;
  std::unordered_map<std::int64_t, decltype(blocks_)::iterator> blockAt_;
  std::list<std::pair<std::size_t, PointRun>> runs_;
  std::int64_t lastBlock_ = -1;
  const BlockOfValues* lastValues_ = nullptr;
};

}  // namespace acv::library
