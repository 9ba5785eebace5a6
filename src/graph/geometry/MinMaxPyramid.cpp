#include "graph/geometry/MinMaxPyramid.h"

#include <cmath>
#include <limits>
#include <utility>

namespace acv {
namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();

// Extremes of children first .. first + 15 of a level.
MinMaxPyramid::Bucket Merge(const std::vector<MinMaxPyramid::Bucket>& level, std::size_t first) {
  MinMaxPyramid::Bucket b{kInf, -kInf, false};
  for (std::size_t i = first; i < first + static_cast<std::size_t>(kBucketFan); ++i) {
    const MinMaxPyramid::Bucket& c = level[i];
    b.low = c.low < b.low ? c.low : b.low;
    b.high = c.high > b.high ? c.high : b.high;
    b.gap = b.gap || c.gap;
  }
  return b;
}

}  // namespace

void MinMaxPyramid::Clear() {
  count_ = 0;
  levels_.clear();
}

void MinMaxPyramid::AppendLevel1(const float* values, std::int64_t n) {
  Bucket b{kInf, -kInf, false};
  for (std::int64_t i = 0; i < n; ++i) {
    const float v = values[i];
    if (std::isnan(v)) {
      b.gap = true;
      continue;
    }
    b.low = v < b.low ? v : b.low;
    b.high = v > b.high ? v : b.high;
  }
  if (levels_.empty()) levels_.emplace_back();
  levels_[0].push_back(b);
}

void MinMaxPyramid::AssignLevel(int level, std::vector<Bucket> buckets) {
  levels_.clear();
  count_ = static_cast<std::int64_t>(buckets.size()) * BucketSize(level);
  if (buckets.empty() || level < 1) return;
  levels_.resize(static_cast<std::size_t>(level - 1));
  levels_.push_back(std::move(buckets));
  RebuildAbove(0, static_cast<std::size_t>(level));
}

std::size_t MinMaxPyramid::MemoryBytes() const {
  std::size_t bytes = 0;
  for (const std::vector<Bucket>& level : levels_) bytes += level.capacity() * sizeof(Bucket);
  return bytes;
}

void MinMaxPyramid::RebuildAbove(std::size_t from, std::size_t built) {
  // `from` is the first changed bucket of the level below the one built.
  for (std::size_t l = built;; ++l) {
    const std::size_t whole = levels_[l - 1].size() / static_cast<std::size_t>(kBucketFan);
    if (whole == 0) break;
    if (levels_.size() <= l) levels_.emplace_back();  // may move the levels
    std::vector<Bucket>& level = levels_[l];
    const std::size_t first = from / static_cast<std::size_t>(kBucketFan);
    level.resize(first);
    for (std::size_t j = first; j < whole; ++j) {
      level.push_back(Merge(levels_[l - 1], j * static_cast<std::size_t>(kBucketFan)));
    }
    from = first;
  }
}

}  // namespace acv
