#include "library/core/SiteEnvelope.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace acv::library {
namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();

// Whether a chunk's stored blocks can be those of its points: as many as
// it spans, no more NaNs than points in each, and ordered extremes where a
// block has a value. A stored envelope is never trusted further than that;
// `library check` compares it with the points.
bool Plausible(const std::vector<EnvelopeBlock>& blocks, std::int64_t grid, std::int64_t count) {
  if (static_cast<std::int64_t>(blocks.size()) != BlocksSpanned(grid, count)) return false;
  const std::int64_t firstBlock = BlockOfGrid(grid);
  for (std::size_t k = 0; k < blocks.size(); ++k) {
    const std::int64_t block = firstBlock + static_cast<std::int64_t>(k);
    const std::int64_t from = std::max(grid, block * kEnvelopeBlock);
    const std::int64_t to = std::min(grid + count, (block + 1) * kEnvelopeBlock);
    const EnvelopeBlock& b = blocks[k];
    if (b.nans > static_cast<std::uint64_t>(to - from)) return false;
    if (b.nans < static_cast<std::uint64_t>(to - from) && !(b.low <= b.high)) return false;
  }
  return true;
}

// A block's extremes once scaled: the scaling is monotone in the value, so
// the extremes of the scaled points are the scaled extremes (swapped by a
// negative factor).
MinMaxPyramid::Bucket Scaled(const EnvelopeBlock& b, double factor) {
  if (b.low > b.high) return {kInf, -kInf, true};
  const float low = ScaledValue(b.low, factor);
  const float high = ScaledValue(b.high, factor);
  return factor < 0.0 ? MinMaxPyramid::Bucket{high, low, b.nans > 0}
                      : MinMaxPyramid::Bucket{low, high, b.nans > 0};
}

}  // namespace

std::string SiteEnvelope::Open(const std::vector<ChunkEnvelopeRow>& rows, ChunkReader read,
                               const ChannelFactors& factors) {
  *this = SiteEnvelope();
  std::vector<ChunkInfo> infos;
  infos.reserve(rows.size());
  for (const ChunkEnvelopeRow& row : rows) infos.push_back(row.chunk);
  grid_ = ChooseSiteGrid(infos);
  infos = {};
  if (!grid_.problem.empty()) return grid_.problem;
  read_ = std::move(read);
  factors_ = factors;
  const std::int64_t gridFirst = GridNumber(grid_.start, grid_.interval);
  const std::int64_t firstBlock = BlockOfGrid(gridFirst);
  lead_ = gridFirst - firstBlock * kEnvelopeBlock;
  const auto whole = static_cast<std::size_t>((lead_ + grid_.count) / kEnvelopeBlock);
  std::array<std::vector<MinMaxPyramid::Bucket>, 2> levels;
  // Points with a value or a NaN per block: fewer than a block's leaves a
  // point without any, a gap.
  std::array<std::vector<std::int16_t>, 2> covered;
  for (int ch = 0; ch < 2; ++ch) {
    if (!grid_.present[ch]) continue;
    levels[ch].assign(whole, {kInf, -kInf, false});
    covered[ch].assign(whole, 0);
  }
  chunks_.reserve(grid_.used.size());
  for (const std::size_t i : grid_.used) {
    const ChunkInfo& c = rows[i].chunk;
    chunks_.push_back({c.id, c.measurement, c.start, c.count, grid_.At(c.start), c.present});
    longestChunk_ = std::max(longestChunk_, c.count);
    const std::int64_t grid = GridNumber(c.start, c.interval);
    std::optional<PointRun> run;
    for (int ch = 0; ch < 2; ++ch) {
      if (!c.present[ch]) continue;
      std::vector<EnvelopeBlock> own;
      if (rows[i].blocks[ch] && Plausible(*rows[i].blocks[ch], grid, c.count)) {
        own = *rows[i].blocks[ch];
      } else {
        if (!run) {
          run = read_(c);
          ++chunksRead_;
        }
        if (static_cast<std::int64_t>(run->values[ch].size()) < c.count)
          return "chunk " + std::to_string(c.id) + " holds fewer points than it says";
        own = SummariseEnvelope(run->values[ch].data(), c.count, grid);
      }
      for (std::size_t k = 0; k < own.size(); ++k) {
        const std::int64_t block = BlockOfGrid(grid) + static_cast<std::int64_t>(k);
        const auto j = static_cast<std::size_t>(block - firstBlock);
        if (j >= whole) break;  // the grid's last, partial block: read raw
        const std::int64_t from = std::max(grid, block * kEnvelopeBlock);
        const std::int64_t to = std::min(grid + c.count, (block + 1) * kEnvelopeBlock);
        covered[ch][j] = static_cast<std::int16_t>(covered[ch][j] + (to - from));
        const MinMaxPyramid::Bucket b = Scaled(own[k], factors[ch]);
        MinMaxPyramid::Bucket& into = levels[ch][j];
        into.low = std::min(into.low, b.low);
        into.high = std::max(into.high, b.high);
        into.gap = into.gap || b.gap;
      }
    }
  }
  for (int ch = 0; ch < 2; ++ch) {
    for (std::size_t j = 0; j < levels[ch].size(); ++j) {
      if (covered[ch][j] < kEnvelopeBlock) levels[ch][j].gap = true;
    }
    pyramids_[ch].AssignLevel(kEnvelopeLevel, std::move(levels[ch]));
  }
  return {};
}

const PointRun& SiteEnvelope::ChunkPoints(std::size_t index) {
  for (auto it = runs_.begin(); it != runs_.end(); ++it) {
    if (it->first == index) {
      runs_.splice(runs_.end(), runs_, it);
      return runs_.back().second;
    }
  }
  const GridChunk& g = chunks_[index];
  ChunkInfo c;
  c.id = g.id;
  c.measurement = g.measurement;
  c.start = g.start;
  c.interval = grid_.interval;
  c.count = g.count;
  c.present = g.present;
  PointRun run = read_(c);
  ++chunksRead_;
  if (runs_.size() >= kChunkCache) runs_.pop_front();
  runs_.emplace_back(index, std::move(run));
  return runs_.back().second;
}

const SiteEnvelope::BlockOfValues& SiteEnvelope::BlockValues(std::int64_t block) {
  if (const auto found = blockAt_.find(block); found != blockAt_.end()) {
    blocks_.splice(blocks_.end(), blocks_, found->second);
    return found->second->second;
  }
  if (blocks_.size() >= kBlockCache) {
    blockAt_.erase(blocks_.front().first);
    blocks_.splice(blocks_.end(), blocks_, blocks_.begin());
  } else {
    blocks_.emplace_back();
  }
  auto slot = std::prev(blocks_.end());
  slot->first = block;
  blockAt_[block] = slot;
  BlockOfValues& values = slot->second;
  for (auto& channel : values) channel.fill(kNoValue);
  const std::int64_t from = std::max<std::int64_t>(block * kEnvelopeBlock - lead_, 0);
  const std::int64_t to = std::min(block * kEnvelopeBlock - lead_ + kEnvelopeBlock, grid_.count);
  // The chunks reaching into from .. to - 1: those starting before `to`,
  // back to the first that may still reach `from`.
  auto it = std::upper_bound(chunks_.begin(), chunks_.end(), to - 1,
                             [](std::int64_t p, const GridChunk& c) { return p < c.at; });
  while (it != chunks_.begin()) {
    --it;
    if (it->at + longestChunk_ <= from) break;
    const std::int64_t a = std::max(from, it->at);
    const std::int64_t b = std::min(to, it->at + it->count);
    if (a >= b) continue;
    const PointRun& run = ChunkPoints(static_cast<std::size_t>(it - chunks_.begin()));
    for (int ch = 0; ch < 2; ++ch) {
      if (!it->present[ch] || !grid_.present[ch]) continue;
      const std::vector<float>& source = run.values[ch];
      for (std::int64_t p = a; p < b; ++p) {
        const auto k = static_cast<std::size_t>(p - it->at);
        if (k >= source.size()) break;
        values[ch][static_cast<std::size_t>(p + lead_ - block * kEnvelopeBlock)] =
            ScaledValue(source[k], factors_[ch]);
      }
    }
  }
  return values;
}

std::size_t SiteEnvelope::MemoryBytes() const {
  return pyramids_[0].MemoryBytes() + pyramids_[1].MemoryBytes() +
         chunks_.capacity() * sizeof(GridChunk) +
         kBlockCache * (sizeof(BlockOfValues) + 4 * sizeof(void*) + sizeof(std::int64_t)) +
         kChunkCache * static_cast<std::size_t>(kChunkPoints) * 2 * sizeof(float);
}

}  // namespace acv::library
