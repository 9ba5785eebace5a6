#include "library/core/ChunkBands.h"

#include <bit>
#include <cmath>
#include <cstring>

#include "analysis/TenMinuteValues.h"

namespace acv::library {
namespace {

// slotStart, first, points, leftOut x 2, squares x 2.
constexpr std::size_t kSlotBytes = 8 + 4 + 4 + 4 + 4 + 8 + 8;

void Put(std::vector<std::uint8_t>& out, std::uint64_t bits, int bytes) {
  for (int b = 0; b < bytes; ++b) out.push_back(static_cast<std::uint8_t>(bits >> (8 * b)));
}

std::uint64_t Get(const std::uint8_t*& at, int bytes) {
  std::uint64_t bits = 0;
  if constexpr (std::endian::native == std::endian::little) {
    std::memcpy(&bits, at, static_cast<std::size_t>(bytes));
  } else {
    for (int b = 0; b < bytes; ++b) bits |= std::uint64_t{at[b]} << (8 * b);
  }
  at += bytes;
  return bits;
}

}  // namespace

ChunkBand SummariseChunkBand(const PointRun& run, std::int64_t first, std::int64_t count,
                             const BandBasis& basis) {
  ChunkBand band;
  band.basis = basis;
  LocalTimeCache clock;
  std::int64_t key = 0;
  for (std::int64_t k = first; k < first + count; ++k) {
    const TimeStamp t = run.Time(k);
    const ClockSlot slot = ClockSlotOf(t, clock);
    if (k == first || slot.key != key) {
      key = slot.key;
      band.partials.push_back({t - slot.secondsIn, k - first, 0, {}, {}});
    }
    SlotPartial& partial = band.partials.back();
    ++partial.points;
    for (int c = 0; c < 2; ++c) {
      if (!run.present[c]) continue;
      const float v = ScaledValue(run.values[c][k], basis.factors[c]);
      if (!std::isfinite(v)) {
        ++partial.leftOut[c];
        continue;
      }
      const double value = v;
      partial.squares[c] += value * value;
      if (value >= basis.low && value <= basis.high) ++band.inBand[c];
    }
  }
  return band;
}

std::vector<std::uint8_t> EncodeSlots(const std::vector<SlotPartial>& partials) {
  std::vector<std::uint8_t> out;
  out.reserve(partials.size() * kSlotBytes);
  for (const SlotPartial& s : partials) {
    Put(out, static_cast<std::uint64_t>(s.slotStart), 8);
    // A chunk holds at most kChunkPoints points: its counts fit 32 bits.
    for (const std::int64_t n : {s.first, s.points, s.leftOut[0], s.leftOut[1]}) {
      Put(out, static_cast<std::uint32_t>(n), 4);
    }
    for (const double sq : s.squares) Put(out, std::bit_cast<std::uint64_t>(sq), 8);
  }
  return out;
}

std::optional<std::vector<SlotPartial>> DecodeSlots(const std::vector<std::uint8_t>& bytes) {
  return DecodeSlots(bytes.data(), bytes.size());
}

std::optional<std::vector<SlotPartial>> DecodeSlots(const std::uint8_t* bytes, std::size_t size) {
  if (size % kSlotBytes != 0) return std::nullopt;
  std::vector<SlotPartial> partials(size / kSlotBytes);
  const std::uint8_t* at = bytes;
  for (SlotPartial& s : partials) {
    s.slotStart = static_cast<TimeStamp>(Get(at, 8));
    for (std::int64_t* n : {&s.first, &s.points, &s.leftOut[0], &s.leftOut[1]}) {
      *n = static_cast<std::int64_t>(Get(at, 4));
    }
    for (double& sq : s.squares) sq = std::bit_cast<double>(Get(at, 8));
  }
  return partials;
}

}  // namespace acv::library
