#include "library/core/TimelineBand.h"

#include <algorithm>
#include <cmath>

#include "analysis/TenMinuteValues.h"
#include "library/core/TimelineEvents.h"

namespace acv::library {
namespace {

// A time span [from, to] of points, both ends included.
struct Span {
  TimeStamp from = 0, to = 0;
};

bool IsVolt(const ChunkInfo& c, int channel) {
  return c.present[channel] && c.units[channel] == "V";
}

bool Quiet(const TimelinePiece& p, const ChannelFactors& factors, const EventLimits& limits) {
  return p.Whole() && QuietChunk(*p.chunk, factors, limits, false);
}

bool IsVoltageEvent(const Event& e) {
  return e.kind == EventKind::Dip || e.kind == EventKind::Swell ||
         e.kind == EventKind::Interruption;
}

// The voltage events of one segment, found in the runs of chunks that are
// not quiet.
std::vector<Event> SegmentVoltageEvents(const std::vector<TimelinePiece>& segment,
                                        const ChunkReader& read, const ChannelFactors& factors,
                                        const EventLimits& limits) {
  std::vector<Event> events;
  for (std::size_t i = 0; i < segment.size();) {
    if (Quiet(segment[i], factors, limits)) {
      ++i;
      continue;
    }
    std::size_t end = i;
    while (end < segment.size() && !Quiet(segment[end], factors, limits)) ++end;
    // The quiet chunk after the run ends what runs out of it.
    const std::size_t last = std::min(end, segment.size() - 1);
    const std::vector<TimelinePiece> run(segment.begin() + static_cast<std::ptrdiff_t>(i),
                                         segment.begin() + static_cast<std::ptrdiff_t>(last) + 1);
    const StoreFamily data = SegmentData(run, read, factors);
    for (Event& e : FindLevelEvents(StoreRmsSeries(data, ChannelScaling{}), limits)) {
      if (IsVoltageEvent(e)) events.push_back(std::move(e));
    }
    i = last + 1;
  }
  return events;
}

// Per channel the spans of the short events that flag 10-minute intervals,
// joined where they overlap, in time order.
std::array<std::vector<Span>, 2> FlaggingSpans(const std::vector<TimelinePiece>& segment,
                                               const ChunkReader& read,
                                               const ChannelFactors& factors,
                                               const EventLimits& limits) {
  std::array<std::vector<Span>, 2> spans;
  const std::int64_t interval = segment.front().chunk->interval;
  for (const Event& e : SegmentVoltageEvents(segment, read, factors, limits)) {
    if (e.durationS > kFlaggingEventMaxS) continue;
    spans[e.channel].push_back({e.start, e.start + (e.last - e.first) * interval});
  }
  for (std::vector<Span>& list : spans) {
    std::sort(list.begin(), list.end(),
              [](const Span& a, const Span& b) { return a.from < b.from; });
    std::vector<Span> joined;
    for (const Span& s : list) {
      if (!joined.empty() && s.from <= joined.back().to) {
        joined.back().to = std::max(joined.back().to, s.to);
      } else {
        joined.push_back(s);
      }
    }
    list = std::move(joined);
  }
  return spans;
}

// Whether a whole chunk's stored band figures serve for `basis`: they were
// taken with it, or with another band where every channel lies wholly
// inside or outside this one. `inBand` receives the points in this band.
bool BandServes(const ChunkInfo& c, const BandBasis& basis, std::array<std::int64_t, 2>& inBand) {
  if (!c.band || c.band->basis.factors != basis.factors) return false;
  inBand = c.band->inBand;
  if (c.band->basis == basis) return true;
  for (int ch = 0; ch < 2; ++ch) {
    if (!c.present[ch]) continue;
    const ChannelSummary& s = c.summary.channels[ch];
    const double f = basis.factors[ch];
    if (s.points == 0 || s.max * f < basis.low * (1 - 1e-6) ||
        s.min * f > basis.high * (1 + 1e-6)) {
      inBand[ch] = 0;
    } else if (s.min * f >= basis.low * (1 + 1e-6) && s.max * f <= basis.high * (1 - 1e-6)) {
      inBand[ch] = s.points;
    } else {
      return false;
    }
  }
  return true;
}

// The piece's band figures: the chunk's stored ones where they serve, else
// from its points.
ChunkBand BandOfPiece(const TimelinePiece& p, const ChunkReader& read, const BandBasis& basis) {
  std::array<std::int64_t, 2> inBand{};
  if (p.Whole() && BandServes(*p.chunk, basis, inBand)) {
    ChunkBand band = *p.chunk->band;
    band.basis = basis;
    band.inBand = inBand;
    return band;
  }
  return SummariseChunkBand(read(*p.chunk), p.first, p.count, basis);
}

// The slot being joined from the partials of consecutive pieces.
struct OpenSlot {
  bool open = false;
  TimeStamp start = 0, firstTime = 0, lastTime = 0;
  std::int64_t points = 0;
  std::array<std::int64_t, 2> leftOut{};
  std::array<double, 2> squares{};
};

bool Touches(const std::vector<Span>& spans, TimeStamp from, TimeStamp to) {
  const auto after = std::upper_bound(spans.begin(), spans.end(), to,
                                      [](TimeStamp t, const Span& s) { return t < s.from; });
  return after != spans.begin() && std::prev(after)->to >= from;
}

void AnalyseSegment(const std::vector<TimelinePiece>& segment, const ChunkReader& read,
                    const ChannelFactors& factors, const EventLimits& limits,
                    std::vector<BandShare>& out) {
  const ChunkInfo& head = *segment.front().chunk;
  std::vector<int> volts;
  for (int c = 0; c < 2; ++c) {
    if (IsVolt(head, c)) volts.push_back(c);
  }
  if (volts.empty()) return;
  const std::int64_t perInterval = PointsPerTenMinutes(static_cast<double>(head.interval));
  const BandBasis basis{factors, limits.BandLow(), limits.BandHigh()};
  const auto flags = FlaggingSpans(segment, read, factors, limits);
  std::array<BandShare, 2> shares;
  for (const int c : volts) {
    shares[c].channel = c;
    shares[c].low = basis.low;
    shares[c].high = basis.high;
    shares[c].hasTenMinute = perInterval > 0;
  }
  OpenSlot slot;
  const auto finish = [&] {
    if (!slot.open || slot.points != perInterval) return;
    for (const int c : volts) {
      if (slot.leftOut[c] > 0) continue;
      const double value = std::sqrt(slot.squares[c] / static_cast<double>(slot.points));
      const bool flagged = Touches(flags[c], slot.firstTime, slot.lastTime);
      shares[c].tenMinute.push_back({slot.start, value, flagged});
      if (flagged) {
        ++shares[c].tenMinuteFlagged;
      } else if (value >= basis.low && value <= basis.high) {
        ++shares[c].tenMinuteInBand;
      }
    }
  };
  for (const TimelinePiece& p : segment) {
    const ChunkBand band = BandOfPiece(p, read, basis);
    for (const int c : volts) {
      std::int64_t leftOut = 0;
      for (const SlotPartial& s : band.partials) leftOut += s.leftOut[c];
      shares[c].points += p.count - leftOut;
      shares[c].pointsLeftOut += leftOut;
      shares[c].pointsInBand += band.inBand[c];
    }
    for (const SlotPartial& s : band.partials) {
      if (!slot.open || s.slotStart != slot.start) {
        finish();
        slot = OpenSlot{true, s.slotStart, p.chunk->Time(p.first + s.first), 0, 0, {}, {}};
      }
      slot.lastTime = p.chunk->Time(p.first + s.first + s.points - 1);
      slot.points += s.points;
      for (int c = 0; c < 2; ++c) {
        slot.leftOut[c] += s.leftOut[c];
        slot.squares[c] += s.squares[c];
      }
    }
  }
  finish();
  for (const int c : volts) {
    auto same =
        std::find_if(out.begin(), out.end(), [&](const BandShare& b) { return b.channel == c; });
    if (same == out.end()) {
      out.push_back(std::move(shares[c]));
      continue;
    }
    same->points += shares[c].points;
    same->pointsInBand += shares[c].pointsInBand;
    same->pointsLeftOut += shares[c].pointsLeftOut;
    same->hasTenMinute = same->hasTenMinute || shares[c].hasTenMinute;
    same->tenMinute.insert(same->tenMinute.end(), shares[c].tenMinute.begin(),
                           shares[c].tenMinute.end());
    same->tenMinuteFlagged += shares[c].tenMinuteFlagged;
    same->tenMinuteInBand += shares[c].tenMinuteInBand;
  }
}

// Whether the range leaves out some of the chunk's points.
bool Cut(const ChunkInfo& c, const TimeRange& range) {
  return (range.from && *range.from > c.start) || (range.to && *range.to < c.Time(c.count - 1));
}

}  // namespace

std::vector<ChunkInfo> ChunksForBand(const std::vector<ChunkInfo>& chunks, const TimeRange& range,
                                     const RollupParts& parts, const ChannelFactors& factors,
                                     const EventLimits& limits) {
  const BandBasis basis{factors, limits.BandLow(), limits.BandHigh()};
  const auto quiet = [&](const ChunkInfo& c) {
    return !Cut(c, range) && QuietChunk(c, factors, limits, false);
  };
  return OpenRollups(
      chunks,
      [&](const ChunkInfo& rollup, const ChunkInfo* before) {
        // The events' scan reads a run of chunks that are not quiet and the
        // chunk after it.
        std::array<std::int64_t, 2> inBand{};
        return !quiet(rollup) || (before && !quiet(*before)) || !BandServes(rollup, basis, inBand);
      },
      parts);
}

std::vector<Event> TimelineVoltageEvents(const std::vector<std::vector<TimelinePiece>>& segments,
                                         const ChunkReader& read, const ChannelFactors& factors,
                                         const EventLimits& limits) {
  std::vector<Event> events;
  for (const auto& segment : segments) {
    std::vector<Event> found = SegmentVoltageEvents(segment, read, factors, limits);
    events.insert(events.end(), std::make_move_iterator(found.begin()),
                  std::make_move_iterator(found.end()));
  }
  return events;
}

std::vector<BandShare> TimelineBand(const std::vector<std::vector<TimelinePiece>>& segments,
                                    const ChunkReader& read, const ChannelFactors& factors,
                                    const EventLimits& limits) {
  std::vector<BandShare> out;
  for (const auto& segment : segments) AnalyseSegment(segment, read, factors, limits, out);
  std::sort(out.begin(), out.end(),
            [](const BandShare& a, const BandShare& b) { return a.channel < b.channel; });
  return out;
}

std::vector<ComplianceReport> TimelineCompliance(
    const std::vector<std::vector<TimelinePiece>>& segments, const ChunkReader& read,
    const ChannelFactors& factors, const EventLimits& limits) {
  std::vector<ComplianceReport> reports;
  if (segments.empty()) return reports;
  const std::vector<Event> events = TimelineVoltageEvents(segments, read, factors, limits);
  const TimeStamp from = segments.front().front().Start();
  const TimeStamp to = segments.back().back().End();
  for (const BandShare& share : TimelineBand(segments, read, factors, limits)) {
    ComplianceReport report;
    report.channel = share.channel;
    report.limits = limits;
    report.weeks = JudgeWeeks(share.tenMinute, limits, from, to);
    report.events = CountEvents(events, share.channel, limits);
    reports.push_back(std::move(report));
  }
  return reports;
}

}  // namespace acv::library
