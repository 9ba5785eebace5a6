#include "library/core/TimelineEvents.h"

#include <algorithm>

namespace acv::library {
namespace {

bool Quiet(const TimelinePiece& p, const ChannelFactors& factors, const EventLimits& limits) {
  return p.Whole() && QuietChunk(*p.chunk, factors, limits, true);
}

// The time of a piece's last point.
TimeStamp LastTime(const TimelinePiece& p) {
  return p.chunk->Time(p.first + p.count - 1);
}

// The stored events that answer for the run of pieces first .. last
// (`last` the quiet piece closing it), or null.
const StoredLevelEvents* Answering(const std::vector<TimelinePiece>& segment, std::size_t first,
                                   std::size_t last, const std::vector<StoredLevelEvents>& stored) {
  // The scan must find no event running when the run begins, and see the
  // run's end as the timeline does: quiet pieces on both sides inside the
  // stored events' range.
  if (first == 0 || last >= segment.size() || first >= last) return nullptr;
  const TimeStamp from = segment[first - 1].Start(), to = LastTime(segment[last]);
  for (const StoredLevelEvents& s : stored) {
    if (s.from <= from && to <= s.to) return &s;
  }
  return nullptr;
}

// The events of pieces first .. last, numbered as points `before` + 1 ...
std::vector<Event> ScanRun(const std::vector<TimelinePiece>& segment, std::size_t first,
                           std::size_t last, std::int64_t before, const ChunkReader& read,
                           const ChannelFactors& factors, const EventLimits& limits) {
  const std::vector<TimelinePiece> run(segment.begin() + static_cast<std::ptrdiff_t>(first),
                                       segment.begin() + static_cast<std::ptrdiff_t>(last) + 1);
  const StoreFamily data = SegmentData(run, read, factors);
  std::vector<Event> events = FindLevelEvents(StoreRmsSeries(data, ChannelScaling{}), limits);
  for (Event& e : events) {
    e.first += before;
    e.last += before;
  }
  return events;
}

}  // namespace

bool QuietChunk(const ChunkInfo& chunk, const ChannelFactors& factors, const EventLimits& limits,
                bool withCurrent) {
  // Scaled values are rounded to float on the way, so the test keeps a
  // small margin and reads a chunk too many rather than one too few.
  const double h = limits.Hysteresis();
  const double low = std::max(limits.DipLevel(), limits.InterruptionLevel()) + h;
  const double high = limits.SwellLevel() - h;
  const double current = limits.overCurrent * (1.0 - kOverCurrentHysteresisPct / 100.0);
  for (int c = 0; c < 2; ++c) {
    if (!chunk.present[c]) continue;
    const bool volts = chunk.units[c] == "V";
    const bool amperes = withCurrent && chunk.units[c] == "A" && limits.overCurrent > 0.0;
    if (!volts && !amperes) continue;
    const ChannelSummary& s = chunk.summary.channels[c];
    if (s.leftOut > 0) return false;
    if (s.points == 0) continue;
    const double min = s.min * factors[c], max = s.max * factors[c];
    if (volts && !(min >= low * (1 + 1e-6) && max <= high * (1 - 1e-6))) return false;
    if (amperes && !(max <= current * (1 - 1e-6))) return false;
  }
  return true;
}

std::vector<Event> TimelineLevelEvents(const std::vector<std::vector<TimelinePiece>>& segments,
                                       const ChunkReader& read, const ChannelFactors& factors,
                                       const EventLimits& limits,
                                       const std::vector<StoredLevelEvents>& stored) {
  std::vector<Event> out;
  std::int64_t before = 0;  // points of the earlier segments
  for (const auto& segment : segments) {
    std::vector<std::int64_t> offsets;  // points of the segment before each piece
    std::int64_t points = 0;
    for (const TimelinePiece& p : segment) {
      offsets.push_back(points);
      points += p.count;
    }
    // The point number (from 1) of time t, inside piece i or after it.
    const auto numberOf = [&](TimeStamp t) {
      auto after =
          std::upper_bound(segment.begin(), segment.end(), t,
                           [](TimeStamp x, const TimelinePiece& p) { return x < p.Start(); });
      const auto i = static_cast<std::size_t>(std::prev(after) - segment.begin());
      return before + offsets[i] + (t - segment[i].Start()) / segment[i].chunk->interval + 1;
    };
    for (std::size_t i = 0; i < segment.size();) {
      if (Quiet(segment[i], factors, limits)) {
        ++i;
        continue;
      }
      std::size_t end = i;
      while (end < segment.size() && !Quiet(segment[end], factors, limits)) ++end;
      // The quiet piece after the run ends what runs out of it.
      const std::size_t last = std::min(end, segment.size() - 1);
      if (const StoredLevelEvents* s = Answering(segment, i, end, stored)) {
        const TimeStamp from = segment[i].Start(), to = LastTime(segment[end]);
        for (const Event& e : s->events) {
          if (e.start < from || e.start > to) continue;
          Event placed = e;
          placed.first = numberOf(e.start);
          placed.last = placed.first + (e.last - e.first);
          out.push_back(std::move(placed));
        }
      } else {
        for (Event& e : ScanRun(segment, i, last, before + offsets[i], read, factors, limits))
          out.push_back(std::move(e));
      }
      i = last + 1;
    }
    before += points;
  }
  std::stable_sort(out.begin(), out.end(), LevelEventBefore);
  return out;
}

std::vector<ChunkInfo> ChunksForEvents(const std::vector<ChunkInfo>& chunks, const TimeRange& range,
                                       const RollupParts& parts, const ChannelFactors& factors,
                                       const EventLimits& limits) {
  const auto quiet = [&](const ChunkInfo& c) {
    const bool cut =
        (range.from && *range.from > c.start) || (range.to && *range.to < c.Time(c.count - 1));
    return !cut && QuietChunk(c, factors, limits, true);
  };
  return OpenRollups(
      chunks,
      [&](const ChunkInfo& rollup, const ChunkInfo* before) {
        return !quiet(rollup) || (before && !quiet(*before));
      },
      parts);
}

}  // namespace acv::library
