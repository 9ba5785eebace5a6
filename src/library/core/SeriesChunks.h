#pragma once
// How a site's points are kept: runs of points at a regular interval, cut
// into chunks of at most kChunkPoints, each channel's values as one blob of
// little-endian float32, with a summary per channel so that a question over
// weeks of points reads the summaries instead of every point.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "data/TimeText.h"

namespace acv::library {

inline constexpr std::int64_t kChunkPoints = 4096;

// A channel's figures over some points. Non-finite values (only a damaged
// file holds them) are counted apart and left out of every figure, as the
// analysis does. `deviations` is the sum of the squared distances from the
// points' own mean: kept instead of raw squares, so that the spread of
// steady values near 230 V is not lost to rounding when pieces are joined.
struct ChannelSummary {
  std::int64_t points = 0;   // finite values
  std::int64_t leftOut = 0;  // non-finite values
  double min = 0.0, max = 0.0;
  double sum = 0.0;
  double deviations = 0.0;

  double Mean() const { return points ? sum / static_cast<double>(points) : 0.0; }
  // The sum of squares of the values themselves.
  double Squares() const { return deviations + sum * Mean(); }
  // Joins the figures of the points that follow.
  void Join(const ChannelSummary& next);
  bool operator==(const ChannelSummary&) const = default;
};

struct ChunkSummary {
  std::array<ChannelSummary, 2> channels;
  // CH1 x CH2 per point where both are present and the product is finite:
  // the apparent power of a V/A pair.
  double productSum = 0.0;
  std::int64_t productPoints = 0;
  void Join(const ChunkSummary& next);
  bool operator==(const ChunkSummary&) const = default;
};

// The values of both channels at a regular interval from `start`; an absent
// channel has no values.
struct PointRun {
  TimeStamp start = 0;
  std::int64_t interval = 1;  // whole seconds
  std::array<bool, 2> present{};
  std::array<std::vector<float>, 2> values;

  std::int64_t Count() const;
  TimeStamp Time(std::int64_t k) const { return start + k * interval; }
  // The time just after the last point.
  TimeStamp End() const { return Time(Count()); }
  // Points first .. first + count - 1 as a run of their own.
  PointRun Slice(std::int64_t first, std::int64_t count) const;
};

ChannelSummary SummariseChannel(const float* values, std::int64_t count);
// The summary of points first .. first + count - 1 of a run.
ChunkSummary SummariseRun(const PointRun& run, std::int64_t first, std::int64_t count);

// Values as little-endian float32 bytes, whatever the machine's order.
std::vector<std::uint8_t> EncodeFloats(const std::vector<float>& values);
// The values back from a blob that should hold `count` of them; nullopt when
// its size says otherwise (a stored count is never trusted on its own).
std::optional<std::vector<float>> DecodeFloats(const std::vector<std::uint8_t>& bytes,
                                               std::int64_t count);
std::optional<std::vector<float>> DecodeFloats(const std::uint8_t* bytes, std::size_t size,
                                               std::int64_t count);

// Where a run is cut into chunks: the first point of each, then the run's count.
std::vector<std::int64_t> ChunkBounds(std::int64_t count, std::int64_t perChunk = kChunkPoints);

}  // namespace acv::library
