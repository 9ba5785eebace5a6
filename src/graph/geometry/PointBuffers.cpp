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

namespace {

// Fills the slot's y; with `extend`, keeps the points a computation with
// the same scale and base already took from values.
void FillY(GraphModel& m, const SeriesSource& source, int slot, bool extend) {
  const GraphState& s = m.state;
  const std::int64_t count = BufferedPointCount(s, source);
  m.buffers.base = static_cast<std::int64_t>(s.firstPoint) - 1;
  const std::array<const TickSet*, 2> ticks{&s.ch1Ticks[slot == kFullView ? 0 : 1],
                                            &s.ch2Ticks[slot == kFullView ? 0 : 1]};
  const std::array<bool, 2> plotted{s.plotCh1 == 1, s.plotCh2 == 1};
  for (int c = 0; c < 2; ++c) {
    std::vector<double>& ys = m.buffers.pointY[c][slot];
    YComputed& done = m.buffers.computed[c][slot];
    if (!plotted[c]) {
      ys.clear();
      done = {};
      continue;
    }
    const YScale scale = MakeYScale(s.plotRect, *ticks[c]);
    YComputed now{scale.bottom, scale.pixelsPerUnit, scale.tick0, scale.valid, m.buffers.base, 0};
    std::int64_t i = 0;
    if (extend && done.valid && scale.valid && done.base == now.base && done.bottom == now.bottom &&
        done.pixelsPerUnit == now.pixelsPerUnit && done.tick0 == now.tick0) {
      i = std::min<std::int64_t>({done.fromValues, count, static_cast<std::int64_t>(ys.size())});
    }
    ys.resize(static_cast<std::size_t>(count));
    const std::int64_t held = std::min(count, source.Available(c) - m.buffers.base);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    if (scale.valid) {
      for (; i < held; ++i)
        ys[static_cast<std::size_t>(i)] = scale.At(source.Value(c, m.buffers.base + i));
    }
    now.fromValues = i;
    for (; i < count; ++i) ys[static_cast<std::size_t>(i)] = nan;
    done = now;
  }
}

}  // namespace

void ComputeY(GraphModel& m, const SeriesSource& source, int slot) {
  FillY(m, source, slot, false);
}

void ExtendY(GraphModel& m, const SeriesSource& source, int slot) {
  FillY(m, source, slot, true);
}

}  // namespace acv
