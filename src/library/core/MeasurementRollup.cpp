#include "library/core/MeasurementRollup.h"

#include <map>

namespace acv::library {
namespace {

bool Continues(const ChunkInfo& run, const ChunkInfo& next) {
  return next.measurement == run.measurement && next.start == run.Time(run.count) &&
         next.interval == run.interval && next.present == run.present && next.units == run.units;
}

// Appends the band figures of the points that follow, `offset` points on.
void JoinBand(ChunkBand& band, const ChunkBand& next, std::int64_t offset) {
  for (int c = 0; c < 2; ++c) band.inBand[c] += next.inBand[c];
  for (const SlotPartial& s : next.partials) {
    if (!band.partials.empty() && band.partials.back().slotStart == s.slotStart) {
      SlotPartial& open = band.partials.back();
      open.points += s.points;
      for (int c = 0; c < 2; ++c) {
        open.leftOut[c] += s.leftOut[c];
        open.squares[c] += s.squares[c];
      }
      continue;
    }
    band.partials.push_back(s);
    band.partials.back().first += offset;
  }
}

}  // namespace

std::optional<ChunkInfo> RollUp(const std::vector<ChunkInfo>& chunks, const ChunkReader& read) {
  if (chunks.empty()) return std::nullopt;
  ChunkInfo r = chunks.front();
  r.id = 0;
  r.rollup = true;
  r.count = 0;
  r.summary = {};
  r.band.reset();
  ChunkBand band;
  bool bands = true;
  std::vector<std::int64_t> offsets;
  // Per channel the chunk holding the first minimum and maximum: a later
  // chunk wins only with a strictly smaller or larger value, as in a scan.
  std::array<std::optional<std::size_t>, 2> least, most;
  for (std::size_t i = 0; i < chunks.size(); ++i) {
    const ChunkInfo& c = chunks[i];
    if (c.rollup || c.count <= 0 || (i > 0 && !Continues(r, c))) return std::nullopt;
    for (int ch = 0; ch < 2; ++ch) {
      const ChannelSummary& s = c.summary.channels[ch];
      if (!c.present[ch] || s.points == 0) continue;
      if (!least[ch] || s.min < r.summary.channels[ch].min) least[ch] = i;
      if (!most[ch] || s.max > r.summary.channels[ch].max) most[ch] = i;
    }
    r.summary.Join(c.summary);
    bands = bands && c.band && (i == 0 || c.band->basis == band.basis);
    if (bands) {
      if (i == 0) band.basis = c.band->basis;
      JoinBand(band, *c.band, r.count);
    }
    offsets.push_back(r.count);
    r.count += c.count;
  }
  if (bands) r.band = std::move(band);
  r.parts = static_cast<std::int64_t>(chunks.size());
  std::map<std::size_t, PointRun> runs;  // each chunk read once
  const auto place = [&](std::size_t i, int ch, double value) {
    auto at = runs.find(i);
    if (at == runs.end()) at = runs.emplace(i, read(chunks[i])).first;
    const std::vector<float>& values = at->second.values[ch];
    for (std::size_t k = 0; k < values.size(); ++k) {
      if (static_cast<double>(values[k]) == value) return offsets[i] + static_cast<std::int64_t>(k);
    }
    return offsets[i];
  };
  for (int ch = 0; ch < 2; ++ch) {
    if (least[ch]) r.minAt[ch] = place(*least[ch], ch, r.summary.channels[ch].min);
    if (most[ch]) r.maxAt[ch] = place(*most[ch], ch, r.summary.channels[ch].max);
  }
  return r;
}

std::vector<ChunkInfo> OpenRollups(const std::vector<ChunkInfo>& chunks, const RollupOpening& open,
                                   const RollupParts& parts) {
  std::vector<ChunkInfo> out;
  out.reserve(chunks.size());
  for (const ChunkInfo& c : chunks) {
    if (c.rollup && open(c, out.empty() ? nullptr : &out.back())) {
      for (ChunkInfo& part : parts(c)) out.push_back(std::move(part));
    } else {
      out.push_back(c);
    }
  }
  return out;
}

}  // namespace acv::library
