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
#include <utility>
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

// The coarsest level (at most maxLevel) of a whole bucket that starts at
// point p and ends before `end`; 0 when there is none and p stands alone.
inline int CoarsestBucketAt(const MinMaxPyramid& pyramid, std::int64_t p, std::int64_t end,
                            int maxLevel) {
  int level =
      p == 0 ? maxLevel
             : std::min(maxLevel, std::countr_zero(static_cast<std::uint64_t>(p)) / kBucketShift);
  while (level > 0 && (p + MinMaxPyramid::BucketSize(level) > end ||
                       (p >> (kBucketShift * level)) >= pyramid.Buckets(level))) {
    --level;
  }
  return level;
}

// Calls piece(level, start) for the pieces points a .. b - 1 fall into, in
// order: whole buckets of the coarsest level that fits (at most maxLevel),
// and level 0 for a point that is in no such bucket.
template <class Piece>
void ForEachPiece(const MinMaxPyramid& pyramid, std::int64_t a, std::int64_t b, int maxLevel,
                  const Piece& piece) {
  for (std::int64_t p = std::max<std::int64_t>(a, 0); p < b;) {
    const int level = CoarsestBucketAt(pyramid, p, b, maxLevel);
    piece(level, p);
    p += level == 0 ? 1 : MinMaxPyramid::BucketSize(level);
  }
}

// Widens [low, high] to the finite values of points a .. b - 1, whole
// buckets taken from the pyramid and the other points read through
// value(p). A bucket whose extremes are not finite (an infinity among its
// points) is looked at through its children; one of nothing but gaps adds
// nothing.
template <class ValueOf>
void FiniteExtremes(const MinMaxPyramid& pyramid, std::int64_t a, std::int64_t b,
                    const ValueOf& value, double& low, double& high, int maxLevel = -1) {
  ForEachPiece(
      pyramid, a, b, maxLevel < 0 ? pyramid.Levels() : maxLevel, [&](int level, std::int64_t p) {
        if (level == 0) {
          const double v = value(p);
          if (std::isfinite(v)) {
            low = std::min(low, v);
            high = std::max(high, v);
          }
          return;
        }
        const MinMaxPyramid::Bucket& bucket = pyramid.At(level, p >> (kBucketShift * level));
        if (!(bucket.low <= bucket.high)) return;
        if (std::isfinite(bucket.low) && std::isfinite(bucket.high)) {
          low = std::min<double>(low, bucket.low);
          high = std::max<double>(high, bucket.high);
        } else {
          FiniteExtremes(pyramid, p, p + MinMaxPyramid::BucketSize(level), value, low, high,
                         level - 1);
        }
      });
}

// The last of points a .. b - 1 holding `extreme`, the highest (or lowest)
// value among them, or -1: only buckets whose own extreme it is are looked
// into, from the last one back.
template <class ValueOf>
std::int64_t LastPointHolding(const MinMaxPyramid& pyramid, std::int64_t a, std::int64_t b,
                              int maxLevel, bool highest, float extreme, const ValueOf& value) {
  std::vector<std::pair<int, std::int64_t>> pieces;
  ForEachPiece(pyramid, a, b, maxLevel,
               [&](int level, std::int64_t p) { pieces.emplace_back(level, p); });
  for (auto it = pieces.rbegin(); it != pieces.rend(); ++it) {
    const auto [level, p] = *it;
    if (level == 0) {
      if (value(p) == extreme) return p;
      continue;
    }
    const MinMaxPyramid::Bucket& bucket = pyramid.At(level, p >> (kBucketShift * level));
    if ((highest ? bucket.high : bucket.low) != extreme || !(bucket.low <= bucket.high)) continue;
    const std::int64_t q = LastPointHolding(pyramid, p, p + MinMaxPyramid::BucketSize(level),
                                            level - 1, highest, extreme, value);
    if (q >= 0) return q;
  }
  return -1;
}

// The highest (or lowest) value of points a .. b - 1 and the last point
// holding it, infinities included and points without a value left out;
// {-1, 0} when no point has a value.
template <class ValueOf>
std::pair<std::int64_t, float> LastExtreme(const MinMaxPyramid& pyramid, std::int64_t a,
                                           std::int64_t b, bool highest, const ValueOf& value) {
  bool found = false;
  float extreme = 0.0f;
  ForEachPiece(pyramid, a, b, pyramid.Levels(), [&](int level, std::int64_t p) {
    float x = 0.0f;
    if (level == 0) {
      x = value(p);
      if (std::isnan(x)) return;
    } else {
      const MinMaxPyramid::Bucket& bucket = pyramid.At(level, p >> (kBucketShift * level));
      if (!(bucket.low <= bucket.high)) return;
      x = highest ? bucket.high : bucket.low;
    }
    if (!found || (highest ? x > extreme : x < extreme)) extreme = x;
    found = true;
  });
  if (!found) return {-1, 0.0f};
  return {LastPointHolding(pyramid, a, b, pyramid.Levels(), highest, extreme, value), extreme};
}

}  // namespace acv
