#include "library/core/ChunkBands.h"

#include <algorithm>
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

// One channel's figures of a slot, gathered in locals.
struct SlotFigures {
  std::int64_t leftOut = 0, inBand = 0;
  double squares = 0.0;
  void Add(float v, double low, double high) {
    if (!std::isfinite(v)) {
      ++leftOut;
      return;
    }
    const double value = v;
    squares += value * value;
    inBand += value >= low && value <= high ? 1 : 0;
  }
};

// Adds `count` points of a run from point k, all in one slot, to its
// partial and to the points in the band. Both channels go through one loop
// so that their sums of squares are added side by side, each in point order.
void AddToSlot(const PointRun& run, std::int64_t k, std::int64_t count, const BandBasis& basis,
               SlotPartial& partial, std::array<std::int64_t, 2>& inBand) {
  // Carried on from what the partial holds, so that a slot walked in several
  // steps sums exactly as in one.
  SlotFigures x{partial.leftOut[0], inBand[0], partial.squares[0]};
  SlotFigures y{partial.leftOut[1], inBand[1], partial.squares[1]};
  const float* a = run.present[0] ? run.values[0].data() + k : nullptr;
  const float* b = run.present[1] ? run.values[1].data() + k : nullptr;
  const double fa = basis.factors[0], fb = basis.factors[1];
  if (a && b) {
    for (std::int64_t j = 0; j < count; ++j) {
      x.Add(ScaledValue(a[j], fa), basis.low, basis.high);
      y.Add(ScaledValue(b[j], fb), basis.low, basis.high);
    }
  } else if (a) {
    for (std::int64_t j = 0; j < count; ++j) x.Add(ScaledValue(a[j], fa), basis.low, basis.high);
  } else if (b) {
    for (std::int64_t j = 0; j < count; ++j) y.Add(ScaledValue(b[j], fb), basis.low, basis.high);
  }
  partial.points += count;
  partial.leftOut = {x.leftOut, y.leftOut};
  partial.squares = {x.squares, y.squares};
  inBand = {x.inBand, y.inBand};
}

}  // namespace

ChunkBand SummariseChunkBand(const PointRun& run, std::int64_t first, std::int64_t count,
                             const BandBasis& basis) {
  ChunkBand band;
  band.basis = basis;
  LocalTimeCache clock;
  std::int64_t key = 0;
  // A slot's points at a time, the clock read once for them.
  for (std::int64_t k = first; k < first + count;) {
    const TimeStamp t = run.Time(k);
    const ClockSlot slot = ClockSlotOf(t, clock);
    const TimeStamp until = SlotHoldsUntil(t, slot, clock);
    const std::int64_t n =
        std::min(first + count - k, (until - t + run.interval - 1) / run.interval);
    if (k == first || slot.key != key) {
      key = slot.key;
      band.partials.push_back({t - slot.secondsIn, k - first, 0, {}, {}});
    }
    AddToSlot(run, k, n, basis, band.partials.back(), band.inBand);
    k += n;
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
