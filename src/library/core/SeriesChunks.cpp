#include "library/core/SeriesChunks.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>

namespace acv::library {

void ChannelSummary::Join(const ChannelSummary& next) {
  leftOut += next.leftOut;
  if (next.points == 0) return;
  if (points == 0) {
    const std::int64_t keptLeftOut = leftOut;
    *this = next;
    leftOut = keptLeftOut;
    return;
  }
  // Two sets of squared deviations joined around the common mean.
  const double n1 = static_cast<double>(points), n2 = static_cast<double>(next.points);
  const double delta = next.Mean() - Mean();
  deviations += next.deviations + delta * delta * n1 * n2 / (n1 + n2);
  sum += next.sum;
  points += next.points;
  min = std::min(min, next.min);
  max = std::max(max, next.max);
}

void ChunkSummary::Join(const ChunkSummary& next) {
  for (int c = 0; c < 2; ++c) channels[c].Join(next.channels[c]);
  productSum += next.productSum;
  productPoints += next.productPoints;
}

std::int64_t PointRun::Count() const {
  for (int c = 0; c < 2; ++c) {
    if (present[c]) return static_cast<std::int64_t>(values[c].size());
  }
  return 0;
}

PointRun PointRun::Slice(std::int64_t first, std::int64_t count) const {
  PointRun out;
  out.start = Time(first);
  out.interval = interval;
  out.present = present;
  for (int c = 0; c < 2; ++c) {
    if (!present[c]) continue;
    out.values[c].assign(values[c].begin() + first, values[c].begin() + first + count);
  }
  return out;
}

namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();

// A channel's figures gathered point by point: the first pass of its summary.
struct FirstPass {
  float low = kInf, high = -kInf;
  double sum = 0.0;
  std::int64_t points = 0, leftOut = 0;
  void Add(float v) {
    if (!std::isfinite(v)) {
      ++leftOut;
      return;
    }
    low = v < low ? v : low;
    high = v > high ? v : high;
    sum += v;
    ++points;
  }
  ChannelSummary Summary() const {
    ChannelSummary s;
    s.leftOut = leftOut;
    if (points == 0) return s;
    s.points = points;
    s.min = low;
    s.max = high;
    s.sum = sum;
    return s;
  }
};

void AddDeviation(double& deviations, float v, double mean) {
  if (std::isfinite(v)) deviations += (v - mean) * (v - mean);
}

}  // namespace

// Each sum adds its values in point order, whatever else the loop does, so
// that the figures stay those of a plain scan to the last bit; the loops
// over both channels only let the processor work on their sums side by side.
ChannelSummary SummariseChannel(const float* values, std::int64_t count) {
  FirstPass pass;
  for (std::int64_t k = 0; k < count; ++k) pass.Add(values[k]);
  ChannelSummary s = pass.Summary();
  if (s.points == 0) return s;
  // A second pass around the mean, as the analysis computes a spread.
  const double mean = s.Mean();
  double deviations = 0.0;
  for (std::int64_t k = 0; k < count; ++k) AddDeviation(deviations, values[k], mean);
  s.deviations = deviations;
  return s;
}

ChunkSummary SummariseRun(const PointRun& run, std::int64_t first, std::int64_t count) {
  ChunkSummary s;
  if (!run.present[0] || !run.present[1]) {
    for (int c = 0; c < 2; ++c) {
      if (run.present[c]) s.channels[c] = SummariseChannel(run.values[c].data() + first, count);
    }
    return s;
  }
  const float* a = run.values[0].data() + first;
  const float* b = run.values[1].data() + first;
  // Locals, not the result's fields, so that every sum stays in a register.
  FirstPass passA, passB;
  double productSum = 0.0;
  std::int64_t productPoints = 0;
  for (std::int64_t k = 0; k < count; ++k) {
    passA.Add(a[k]);
    passB.Add(b[k]);
    const double p = static_cast<double>(a[k]) * static_cast<double>(b[k]);
    if (!std::isfinite(p)) continue;
    productSum += p;
    ++productPoints;
  }
  s.channels = {passA.Summary(), passB.Summary()};
  s.productSum = productSum;
  s.productPoints = productPoints;
  const double meanA = s.channels[0].Mean(), meanB = s.channels[1].Mean();
  double deviationsA = 0.0, deviationsB = 0.0;
  for (std::int64_t k = 0; k < count; ++k) {
    AddDeviation(deviationsA, a[k], meanA);
    AddDeviation(deviationsB, b[k], meanB);
  }
  s.channels[0].deviations = deviationsA;
  s.channels[1].deviations = deviationsB;
  return s;
}

std::vector<std::uint8_t> EncodeFloats(const std::vector<float>& values) {
  std::vector<std::uint8_t> bytes(values.size() * 4);
  if constexpr (std::endian::native == std::endian::little) {
    if (!values.empty()) std::memcpy(bytes.data(), values.data(), bytes.size());
  } else {
    for (std::size_t i = 0; i < values.size(); ++i) {
      const auto bits = std::bit_cast<std::uint32_t>(values[i]);
      for (int b = 0; b < 4; ++b) bytes[i * 4 + b] = static_cast<std::uint8_t>(bits >> (8 * b));
    }
  }
  return bytes;
}

std::optional<std::vector<float>> DecodeFloats(const std::vector<std::uint8_t>& bytes,
                                               std::int64_t count) {
  return DecodeFloats(bytes.data(), bytes.size(), count);
}

std::optional<std::vector<float>> DecodeFloats(const std::uint8_t* bytes, std::size_t size,
                                               std::int64_t count) {
  if (count < 0 || static_cast<std::uint64_t>(count) * 4 != size) return std::nullopt;
  std::vector<float> values(static_cast<std::size_t>(count));
  if constexpr (std::endian::native == std::endian::little) {
    if (count > 0) std::memcpy(values.data(), bytes, size);
  } else {
    for (std::size_t i = 0; i < values.size(); ++i) {
      std::uint32_t bits = 0;
      for (int b = 0; b < 4; ++b) bits |= std::uint32_t{bytes[i * 4 + b]} << (8 * b);
      values[i] = std::bit_cast<float>(bits);
    }
  }
  return values;
}

std::vector<std::int64_t> ChunkBounds(std::int64_t count, std::int64_t perChunk) {
  std::vector<std::int64_t> bounds;
  for (std::int64_t first = 0; first < count; first += perChunk) bounds.push_back(first);
  bounds.push_back(count);
  return bounds;
}

}  // namespace acv::library
