#pragma once
// The lowest and highest value of a series in buckets of 16 points, of 256,
// of 4,096 and so on: enough to reduce any run of points to its extremes by
// looking at a few dozen buckets and the raw points at the run's two ends.
// A bucket at level l (l >= 1) holds 16^l points and starts at a multiple
// of that; only whole buckets exist, so the last few points of a series are
// read raw. NaN (a point without a value) is left out of the extremes and
// marks its bucket, because a gap breaks a curve; infinities are kept, as
// they only move a point far beyond the plot.
//
// A series that grows (a real-time run) extends its pyramid from the last
// whole bucket on, so a new point costs a few comparisons, not a rebuild.
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace acv {

inline constexpr int kBucketShift = 4;  // 16 children per bucket
inline constexpr std::int64_t kBucketFan = std::int64_t{1} << kBucketShift;

class MinMaxPyramid {
 public:
  struct Bucket {
    float low;
    float high;
    bool gap;  // holds a NaN
  };

  // Points covered (whole level-1 buckets or not).
  std::int64_t Count() const { return count_; }
  int Levels() const { return static_cast<int>(levels_.size()); }
  static std::int64_t BucketSize(int level) { return std::int64_t{1} << (kBucketShift * level); }
  // Number of whole buckets of a level (1..Levels()).
  std::int64_t Buckets(int level) const {
    return static_cast<std::int64_t>(levels_[static_cast<std::size_t>(level - 1)].size());
  }
  const Bucket& At(int level, std::int64_t index) const {
    return levels_[static_cast<std::size_t>(level - 1)][static_cast<std::size_t>(index)];
  }

  void Clear();
  // Takes points Count() .. count - 1 from value(p) (points before them must
  // not have changed); a smaller count starts again from nothing.
  template <class ValueOf>
  void Extend(std::int64_t count, const ValueOf& value);

  // Buckets of one level given directly (a stored envelope): bucket i covers
  // points i 16^level .. (i + 1) 16^level - 1; the levels above are derived
  // from them, the levels below stay empty, so that a walk reads the points
  // inside such a bucket raw.
  void AssignLevel(int level, std::vector<Bucket> buckets);
  // Bytes the buckets take.
  std::size_t MemoryBytes() const;

 private:
  void AppendLevel1(const float* values, std::int64_t n);
  // Builds the levels from `built` (1-based index of the first one built)
  // on, from bucket `from` of the level below.
  void RebuildAbove(std::size_t from, std::size_t built = 1);

  std::int64_t count_ = 0;
  std::vector<std::vector<Bucket>> levels_;  // [level - 1]
};

template <class ValueOf>
void MinMaxPyramid::Extend(std::int64_t count, const ValueOf& value) {
  if (count < count_) Clear();
  // Points of a partial level-1 bucket are read again with the new ones.
  const std::int64_t start = (count_ / kBucketFan) * kBucketFan;
  float chunk[kBucketFan];
  std::size_t firstNew = levels_.empty() ? 0 : levels_[0].size();
  for (std::int64_t p = start; p + kBucketFan <= count; p += kBucketFan) {
    for (std::int64_t i = 0; i < kBucketFan; ++i) chunk[i] = value(p + i);
    AppendLevel1(chunk, kBucketFan);
  }
  count_ = count;
  if (!levels_.empty() && levels_[0].size() > firstNew) RebuildAbove(firstNew);
}

// Widens [low, high] to the finite values of points a .. b - 1: whole
// buckets from the coarsest level that fits, the points outside whole
// buckets read through value(p). A bucket whose extremes are not finite (an
// infinity among its points) is looked at through its children; one of
// nothing but gaps adds nothing.
template <class ValueOf>
void FiniteExtremes(const MinMaxPyramid& pyramid, std::int64_t a, std::int64_t b,
                    const ValueOf& value, double& low, double& high, int maxLevel = -1) {
  if (maxLevel < 0) maxLevel = pyramid.Levels();
  for (std::int64_t p = std::max<std::int64_t>(a, 0); p < b;) {
    int level =
        p == 0 ? maxLevel
               : std::min(maxLevel, std::countr_zero(static_cast<std::uint64_t>(p)) / kBucketShift);
    while (level > 0 && (p + MinMaxPyramid::BucketSize(level) > b ||
                         (p >> (kBucketShift * level)) >= pyramid.Buckets(level))) {
      --level;
    }
    if (level == 0) {
      const double v = value(p);
      if (std::isfinite(v)) {
        low = std::min(low, v);
        high = std::max(high, v);
      }
      ++p;
      continue;
    }
    const MinMaxPyramid::Bucket& bucket = pyramid.At(level, p >> (kBucketShift * level));
    const std::int64_t end = p + MinMaxPyramid::BucketSize(level);
    if (std::isfinite(bucket.low) && std::isfinite(bucket.high) && bucket.low <= bucket.high) {
      low = std::min<double>(low, bucket.low);
      high = std::max<double>(high, bucket.high);
    } else if (bucket.low <= bucket.high) {
      FiniteExtremes(pyramid, p, end, value, low, high, level - 1);
    }
    p = end;
  }
}

}  // namespace acv
