#include "graph/geometry/PointBuffers.h"

#include <algorithm>

#include "graph/geometry/SeriesSource.h"

namespace acv {

YScale MakeYScale(const Rect& plot, const TickSet& ticks) {
  YScale scale;
  const double t0 = ticks[0];
  const double t10 = ticks[kTickCount - 1];
  const double span = t10 - t0;
  scale.bottom = plot.bottom;
  scale.tick0 = t0;
  // Equal ticks or a plot without height have no mapping: the curve is left
  // out instead of dividing by zero.
  if (plot.Height() <= 0 || span == 0.0 || !std::isfinite(span)) return scale;
  scale.pixelsPerUnit = plot.Height() / span;
  scale.valid = std::isfinite(scale.pixelsPerUnit);
  return scale;
}

std::int64_t BufferedPointCount(const GraphState& s, const SeriesSource& source) {
  if (s.firstPoint < 1 || s.lastPoint < s.firstPoint) return 0;
  const std::int64_t first = static_cast<std::int64_t>(s.firstPoint) - 1;
  const std::int64_t wanted = static_cast<std::int64_t>(s.lastPoint) - first;
  const std::int64_t held = std::max(source.Available(0), source.Available(1)) - first;
  return std::clamp<std::int64_t>(std::min(wanted, held), 0, wanted);
}

double PointBuffers::Y(const SeriesSource& source, int channel, int slot, std::int64_t p) const {
  const std::int64_t i = p - base;
  if (i < 0 || i >= count || !source.Has(channel, p)) {
    return std::numeric_limits<double>::quiet_NaN();
  }
  return yScale[channel == 0 ? 0 : 1][slot].At(source.Value(channel, p));
}

void ComputeY(GraphModel& m, const SeriesSource& source, int slot) {
  const GraphState& s = m.state;
  m.buffers.count = BufferedPointCount(s, source);
  m.buffers.base = static_cast<std::int64_t>(s.firstPoint) - 1;
  const std::array<const TickSet*, 2> ticks{&s.ch1Ticks[slot == kFullView ? 0 : 1],
                                            &s.ch2Ticks[slot == kFullView ? 0 : 1]};
  const std::array<bool, 2> plotted{s.plotCh1 == 1, s.plotCh2 == 1};
  for (int c = 0; c < 2; ++c) {
    m.buffers.yScale[c][slot] = plotted[c] ? MakeYScale(s.plotRect, *ticks[c]) : YScale{};
    // A series read where it lies brings its own pyramid.
    if (!plotted[c] || source.External() != nullptr) continue;
    ChannelPyramid& pyramid = m.buffers.pyramids[c];
    if (!pyramid.Matches(source, c)) {
      pyramid.levels.Clear();
      pyramid.key = source.KeyOf(c);
    }
    pyramid.levels.Extend(source.Available(c), [&](std::int64_t p) { return source.Value(c, p); });
  }
}

}  // namespace acv
