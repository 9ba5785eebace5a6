#include "library/core/SiteTimeline.h"

#include <algorithm>
#include <cmath>

namespace acv::library {
namespace {

// The first index k of the chunk with Time(k) >= t (ceiling division).
std::int64_t FirstAtOrAfter(const ChunkInfo& c, TimeStamp t) {
  if (t <= c.start) return 0;
  return (t - c.start + c.interval - 1) / c.interval;
}

// The last index k with Time(k) <= t, or -1.
std::int64_t LastAtOrBefore(const ChunkInfo& c, TimeStamp t) {
  if (t < c.start) return -1;
  return (t - c.start) / c.interval;
}

bool Follows(const TimelinePiece& a, const TimelinePiece& b) {
  return b.Start() == a.End() && a.chunk->interval == b.chunk->interval &&
         a.chunk->present == b.chunk->present && a.chunk->units == b.chunk->units;
}

// The first point (0-based within the piece) holding `value` in channel c;
// `known` is where a whole rollup keeps it.
std::int64_t FirstHolding(const TimelinePiece& piece, const ChunkReader& read, int c, double value,
                          std::int64_t known) {
  if (piece.chunk->rollup && piece.Whole()) return known;
  const PointRun run = read(*piece.chunk);
  for (std::int64_t k = piece.first; k < piece.first + piece.count; ++k) {
    if (static_cast<double>(run.values[c][k]) == value) return k - piece.first;
  }
  return 0;
}

}  // namespace

std::vector<TimelinePiece> PiecesInRange(const std::vector<ChunkInfo>& chunks,
                                         const TimeRange& range) {
  std::vector<TimelinePiece> pieces;
  for (const ChunkInfo& c : chunks) {
    if (c.count <= 0) continue;
    const std::int64_t first = range.from ? FirstAtOrAfter(c, *range.from) : 0;
    const std::int64_t last =
        range.to ? std::min(LastAtOrBefore(c, *range.to), c.count - 1) : c.count - 1;
    if (first > last) continue;
    pieces.push_back({&c, first, last - first + 1});
  }
  return pieces;
}

std::vector<std::vector<TimelinePiece>> SplitAtGaps(const std::vector<TimelinePiece>& pieces) {
  std::vector<std::vector<TimelinePiece>> segments;
  for (const TimelinePiece& p : pieces) {
    if (segments.empty() || !Follows(segments.back().back(), p)) segments.emplace_back();
    segments.back().push_back(p);
  }
  return segments;
}

std::string MixedUnitsProblem(const std::vector<TimelinePiece>& pieces) {
  for (int c = 0; c < 2; ++c) {
    const std::string* unit = nullptr;
    for (const TimelinePiece& p : pieces) {
      if (!p.chunk->present[c]) continue;
      if (!unit) {
        unit = &p.chunk->units[c];
      } else if (*unit != p.chunk->units[c]) {
        return std::string(ChannelName(c)) + " is in " + *unit +
               " in one part of the range and in " + p.chunk->units[c] +
               " in another: choose a range with --from and --to";
      }
    }
  }
  return {};
}

SpanStatistics TimelineStatistics(const std::vector<TimelinePiece>& pieces, const ChunkReader& read,
                                  const ChannelFactors& factors) {
  SpanStatistics out;
  ChunkSummary total;
  double energy = 0.0;  // sum of V x A x interval, in VAs
  std::array<std::optional<std::size_t>, 2> minPiece, maxPiece;
  std::vector<std::int64_t> offsets;  // points before each piece
  std::int64_t points = 0;
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    const TimelinePiece& p = pieces[i];
    offsets.push_back(points);
    points += p.count;
    const ChunkSummary s =
        p.Whole() ? p.chunk->summary : SummariseRun(read(*p.chunk), p.first, p.count);
    for (int c = 0; c < 2; ++c) {
      const ChannelSummary& cs = s.channels[c];
      if (!p.chunk->present[c]) continue;
      if (!out.channels[c].present) {
        out.channels[c].present = true;
        out.channels[c].unit = p.chunk->units[c];
      }
      if (cs.points == 0) continue;
      // Strictly smaller or larger: the first occurrence wins, as in a scan.
      if (!minPiece[c] || cs.min < total.channels[c].min) minPiece[c] = i;
      if (!maxPiece[c] || cs.max > total.channels[c].max) maxPiece[c] = i;
      total.channels[c].Join(cs);
    }
    // The joins above already moved the channels; the products join here.
    total.productSum += s.productSum;
    total.productPoints += s.productPoints;
    energy += s.productSum * static_cast<double>(p.chunk->interval);
  }
  out.first = 1;
  out.last = points;
  out.start = pieces.front().Start();
  out.end = pieces.back().End();
  for (int c = 0; c < 2; ++c) {
    ChannelSpan& span = out.channels[c];
    const ChannelSummary& cs = total.channels[c];
    const double f = factors[c];
    span.points = cs.points;
    span.leftOut = cs.leftOut;
    if (cs.points == 0) continue;
    span.min = cs.min * f;
    span.max = cs.max * f;
    span.mean = cs.Mean() * f;
    span.stddev = std::sqrt(std::max(0.0, cs.deviations) / static_cast<double>(cs.points)) * f;
    const TimelinePiece &least = pieces[*minPiece[c]], &most = pieces[*maxPiece[c]];
    span.minPoint =
        offsets[*minPiece[c]] + 1 + FirstHolding(least, read, c, cs.min, least.chunk->minAt[c]);
    span.maxPoint =
        offsets[*maxPiece[c]] + 1 + FirstHolding(most, read, c, cs.max, most.chunk->maxAt[c]);
  }
  AnalysisSeries units;  // only to ask whether the channels form a V/A pair
  for (int c = 0; c < 2; ++c)
    units.channels[c] = {out.channels[c].present, out.channels[c].unit, {}};
  out.hasPower = units.HasVoltAmpere();
  if (out.hasPower) {
    const double f = factors[0] * factors[1];
    out.powerLeftOut = points - total.productPoints;
    if (total.productPoints > 0) {
      out.meanVa = total.productSum / static_cast<double>(total.productPoints) * f;
      out.energyVah = energy / 3600.0 * f;
    }
  }
  return out;
}

std::array<Percentiles, 2> TimelinePercentiles(const std::vector<TimelinePiece>& pieces,
                                               const ChunkReader& read,
                                               const ChannelFactors& factors) {
  std::array<std::vector<float>, 2> values;
  for (const TimelinePiece& p : pieces) {
    const PointRun run = read(*p.chunk);
    for (int c = 0; c < 2; ++c) {
      if (!p.chunk->present[c]) continue;
      for (std::int64_t k = p.first; k < p.first + p.count; ++k) {
        const float v = ScaledValue(run.values[c][k], factors[c]);
        if (std::isfinite(v)) values[c].push_back(v);
      }
    }
  }
  std::array<Percentiles, 2> out{};
  for (int c = 0; c < 2; ++c) {
    out[c].points = static_cast<std::int64_t>(values[c].size());
    for (std::size_t i = 0; i < kQuotedPercentiles.size() && out[c].points > 0; ++i) {
      out[c].at[i] = NearestRankPercentile(values[c], kQuotedPercentiles[i]);
    }
  }
  return out;
}

StoreFamily SegmentData(const std::vector<TimelinePiece>& segment, const ChunkReader& read,
                        const ChannelFactors& factors) {
  StoreFamily data;
  const ChunkInfo& head = *segment.front().chunk;
  data.rmsStartTime = segment.front().Start();
  data.rmsInterval = static_cast<float>(head.interval);
  data.hasCh1 = head.present[0] ? 1 : 0;
  data.hasCh2 = head.present[1] ? 1 : 0;
  data.rmsUnitCh1 = head.present[0] ? head.units[0] : "";
  data.rmsUnitCh2 = head.present[1] ? head.units[1] : "";
  std::vector<float>* arrays[2] = {&data.rmsCh1, &data.rmsCh2};
  for (const TimelinePiece& p : segment) {
    const PointRun run = read(*p.chunk);
    for (int c = 0; c < 2; ++c) {
      if (!head.present[c]) continue;
      const auto from = run.values[c].begin() + p.first;
      if (factors[c] == 1.0) {
        arrays[c]->insert(arrays[c]->end(), from, from + p.count);
      } else {
        std::transform(from, from + p.count, std::back_inserter(*arrays[c]), [&](float v) {
          return static_cast<float>(static_cast<double>(v) * factors[c]);
        });
      }
    }
    data.rmsCount += static_cast<std::int32_t>(p.count);
  }
  return data;
}

TimelineAnalysis AnalyseSegments(const std::vector<std::vector<TimelinePiece>>& segments,
                                 const ChunkReader& read, const ChannelFactors& factors,
                                 const EventLimits& limits, bool withBand) {
  TimelineAnalysis out;
  std::int64_t before = 0;  // points of the earlier segments
  for (const auto& segment : segments) {
    const StoreFamily data = SegmentData(segment, read, factors);
    const AnalysisSeries series = StoreRmsSeries(data, ChannelScaling{});  // factors applied
    std::vector<Event> events = FindLevelEvents(series, limits);
    std::vector<BandShare> band;
    if (withBand) band = SummariseBand(series, limits, events);
    for (Event& e : events) {
      e.first += before;
      e.last += before;
      out.level.push_back(std::move(e));
    }
    for (BandShare& share : band) {
      auto same = std::find_if(out.band.begin(), out.band.end(),
                               [&](const BandShare& b) { return b.channel == share.channel; });
      if (same == out.band.end()) {
        out.band.push_back(std::move(share));
        continue;
      }
      same->points += share.points;
      same->pointsInBand += share.pointsInBand;
      same->pointsLeftOut += share.pointsLeftOut;
      same->hasTenMinute = same->hasTenMinute || share.hasTenMinute;
      same->tenMinute.insert(same->tenMinute.end(), share.tenMinute.begin(), share.tenMinute.end());
      same->tenMinuteFlagged += share.tenMinuteFlagged;
      same->tenMinuteInBand += share.tenMinuteInBand;
    }
    before += series.count;
  }
  std::stable_sort(out.level.begin(), out.level.end(), LevelEventBefore);
  std::sort(out.band.begin(), out.band.end(),
            [](const BandShare& a, const BandShare& b) { return a.channel < b.channel; });
  return out;
}

}  // namespace acv::library
