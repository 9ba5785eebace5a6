#include "graph/geometry/Segments.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace acv {
namespace {

void AddMark(std::vector<PixelPoint>& marks, PixelPoint p) {
  if (marks.empty() || !(marks.back() == p)) marks.push_back(p);
}

// Out of line, so that the segment loop keeps its integers apart instead of
// packing them into vector registers for a store that rarely happens.
[[gnu::noinline]] void AddLine(std::vector<SegmentLine>& lines, int xa, int ya, int xb, int yb) {
  lines.push_back({{xa, ya}, {xb, yb}});
}

// One vertical span merged from the drawn segments of a pixel column.
struct ColumnSpan {
  static constexpr int kNone = INT_MIN;  // pixel x never reaches it
  int x = kNone, low = 0, high = 0;

  void Flush(std::vector<SegmentLine>& lines) {
    if (x != kNone) AddLine(lines, x, low, x, high);
    x = kNone;
  }
  // Adds rows lo..hi of a column; a new column first ends the previous span.
  void Extend(std::vector<SegmentLine>& lines, int column, int lo, int hi) {
    if (x == column) {
      low = std::min(low, lo);
      high = std::max(high, hi);
    } else {
      Flush(lines);
      x = column;
      low = lo;
      high = hi;
    }
  }
};

// What the segment loop reads, gathered so that the loop itself keeps its
// few variables in registers.
struct CurveWalk {
  const double* ys;  // y of buffer element k, in layout pixels
  double origin;     // x of element 0 (unshifted)
  double step;
  double shift;  // scrollShift
  double ratio;  // device pixels per layout pixel
  int top;       // the plot's top and bottom lines in device pixels
  int bottom;
};

// The segments joining buffer elements first - 1 .. last. Consecutive
// segments share a point, so each point is converted once; this loop runs
// once per shown point and keeps to plain integers.
template <bool kDecimate, bool kMarks>
void Walk(const CurveWalk& w, std::int64_t first, std::int64_t last, CurveBatch& out) {
  ColumnSpan span;
  const auto flush = [&] { span.Flush(out.lines); };
  double fya = w.ys[first - 1];
  int xa = TruncToPixel(w.ratio * (w.origin + w.step * (w.shift + static_cast<double>(first - 1))));
  int ya = TruncToPixel(w.ratio * fya);
  for (std::int64_t i = first; i <= last; ++i) {
    const double fyb = w.ys[i];
    const int xb = TruncToPixel(w.ratio * (w.origin + w.step * (w.shift + static_cast<double>(i))));
    const int yb = TruncToPixel(w.ratio * fyb);
    if (std::isnan(fya) || std::isnan(fyb)) {
      flush();  // a gap in the data: no span may bridge it
    } else if (SegmentDrawn(ya, yb, w.top, w.bottom)) {
      if (kDecimate && xa == xb) {
        span.Extend(out.lines, xa, std::min(ya, yb), std::max(ya, yb));
      } else {
        AddLine(out.lines, xa, ya, xb, yb);
      }
      if (kMarks) {
        AddMark(out.marks, {xa, ya});
        AddMark(out.marks, {xb, yb});
      }
    }
    fya = fyb;
    xa = xb;
    ya = yb;
  }
  flush();
}

// The lowest and highest y of a run of elements, when every one of them lies
// strictly between the plot's top and bottom rows (no gap, nothing clamped);
// otherwise nothing, and the run takes the segment-by-segment path.
struct RunExtent {
  int low;
  int high;
};
std::optional<RunExtent> InsideExtent(const double* ys, std::int64_t count, double ratio, int top,
                                      int bottom) {
  // For top >= 0, y >= top + 1 and y < bottom is exactly "truncated y strictly
  // between top and bottom", and it fails for NaN.
  const double lowest = static_cast<double>(top) + 1.0;
  const double beyond = static_cast<double>(bottom);
  // Four independent chains, so that the loop is not held up by the latency
  // of each comparison on the one before.
  double lo[4] = {beyond, beyond, beyond, beyond};
  double hi[4] = {lowest, lowest, lowest, lowest};
  // Kept as integers, so that no comparison becomes a branch.
  int inside[4] = {1, 1, 1, 1};
  std::int64_t j = 0;
  for (; j + 4 <= count; j += 4) {
    for (int u = 0; u < 4; ++u) {
      const double v = ratio * ys[j + u];
      inside[u] &= static_cast<int>(v >= lowest) & static_cast<int>(v < beyond);
      lo[u] = v < lo[u] ? v : lo[u];
      hi[u] = v > hi[u] ? v : hi[u];
    }
  }
  for (; j < count; ++j) {
    const double v = ratio * ys[j];
    inside[0] &= static_cast<int>(v >= lowest) & static_cast<int>(v < beyond);
    lo[0] = v < lo[0] ? v : lo[0];
    hi[0] = v > hi[0] ? v : hi[0];
  }
  if ((inside[0] & inside[1] & inside[2] & inside[3]) == 0) return std::nullopt;
  const double low = std::min(std::min(lo[0], lo[1]), std::min(lo[2], lo[3]));
  const double high = std::max(std::max(hi[0], hi[1]), std::max(hi[2], hi[3]));
  return RunExtent{static_cast<int>(low), static_cast<int>(high)};
}

// The decimating walk without marks, the one every full paint of a dense
// series takes. It gives exactly the lines of Walk<true, false>, in the same
// order, but visits the pixel columns instead of the segments: the elements
// sharing a column are found by searching on the same x formula, and when
// they all lie inside the plot their segments are all drawn and merge into
// one span from their lowest to their highest y, taken without converting
// each point. Any other run, and every segment joining two columns, goes
// through the segment-by-segment rules.
void WalkColumns(const CurveWalk& w, std::int64_t first, std::int64_t last, CurveBatch& out) {
  ColumnSpan span;
  const auto flush = [&] { span.Flush(out.lines); };
  const auto xOf = [&](std::int64_t k) {
    return TruncToPixel(w.ratio * (w.origin + w.step * (w.shift + static_cast<double>(k))));
  };
  // Segment i joins elements i - 1 and i, as in Walk.
  const auto segment = [&](std::int64_t i, int xa, int xb) {
    const double fya = w.ys[i - 1];
    const double fyb = w.ys[i];
    if (std::isnan(fya) || std::isnan(fyb)) {
      flush();
      return;
    }
    const int ya = TruncToPixel(w.ratio * fya);
    const int yb = TruncToPixel(w.ratio * fyb);
    if (!SegmentDrawn(ya, yb, w.top, w.bottom)) return;
    if (xa != xb) {
      AddLine(out.lines, xa, ya, xb, yb);
      return;
    }
    span.Extend(out.lines, xa, std::min(ya, yb), std::max(ya, yb));
  };
  std::int64_t k = first - 1;
  int x = xOf(k);
  while (k < last) {
    // The last element in x's column: x never decreases with k, so gallop
    // ahead until the column is left, then halve the gap.
    std::int64_t inside = k;
    std::int64_t reach = 1;
    std::int64_t beyond = last + 1;
    while (inside + reach <= last) {
      if (xOf(inside + reach) != x) {
        beyond = inside + reach;
        break;
      }
      inside += reach;
      reach *= 2;
    }
    while (beyond - inside > 1) {
      const std::int64_t mid = inside + (beyond - inside) / 2;
      (xOf(mid) == x ? inside : beyond) = mid;
    }
    if (inside > k) {
      const bool plain = w.top >= 0 && w.bottom <= kPixelLimit;
      const auto extent =
          plain ? InsideExtent(w.ys + k, inside - k + 1, w.ratio, w.top, w.bottom) : std::nullopt;
      if (extent) {
        span.Extend(out.lines, x, extent->low, extent->high);
      } else {
        for (std::int64_t i = k + 1; i <= inside; ++i) segment(i, x, x);
      }
      k = inside;
    }
    if (k == last) break;
    // The segment into the next column.
    const int next = xOf(k + 1);
    segment(k + 1, x, next);
    ++k;
    x = next;
  }
  flush();
}

}  // namespace

bool SegmentDrawn(int ya, int yb, int top, int bottom) {
  const bool reachesBelowTop = ya > top || yb > top;
  const bool reachesAboveBottom = ya < bottom || yb < bottom;
  if (reachesBelowTop && reachesAboveBottom) return true;
  return (ya == top && yb == top) || (ya == bottom && yb == bottom);
}

bool ChannelShown(const GraphState& s, int channel) {
  if (channel == 0) return s.plotCh1 == 1 && s.showCh1 == 1;
  return s.plotCh2 == 1 && s.showCh2 == 1 && s.mode != GraphMode::RealTimeS;
}

SegmentRange VisibleSegments(const GraphState& s) {
  SegmentRange range;
  const double step = s.pointStep;
  const int width = s.plotRect.Width();
  if (!(step > 0.0) || width <= 0 || s.firstPoint < 1 || s.lastPoint <= s.firstPoint) {
    return range;
  }
  const std::int64_t d = static_cast<std::int64_t>(s.scrollBase) - s.scrollShift + 1;
  const std::int64_t n = TruncToCount(width / step);
  const std::int64_t segments = static_cast<std::int64_t>(s.lastPoint) - s.firstPoint;
  range.first = std::max<std::int64_t>(d, 1);
  range.last = std::min<std::int64_t>(d + n + 1, segments);
  return range;
}

std::optional<SegmentLine> SegmentAt(const GraphModel& m, int channel, std::int64_t i,
                                     DeviceScale scale) {
  const GraphState& s = m.state;
  const int slot = CurrentSlot(s);
  const std::int64_t a = static_cast<std::int64_t>(s.firstPoint) - 2 + i;
  const double ya = m.buffers.Y(channel, slot, a);
  const double yb = m.buffers.Y(channel, slot, a + 1);
  if (std::isnan(ya) || std::isnan(yb)) return std::nullopt;
  const double origin = m.buffers.pointX[slot].origin;
  const double shifted = static_cast<double>(s.scrollShift) + static_cast<double>(i);
  return SegmentLine{{scale.Pixel(origin + s.pointStep * (shifted - 1.0)), scale.Pixel(ya)},
                     {scale.Pixel(origin + s.pointStep * shifted), scale.Pixel(yb)}};
}

void BuildCurve(const GraphModel& m, int channel, bool decimate, bool withMarks, CurveBatch& out,
                DeviceScale scale) {
  out.clear();
  const GraphState& s = m.state;
  const SegmentRange range = VisibleSegments(s);
  if (range.first > range.last) return;
  const int slot = CurrentSlot(s);
  const std::vector<double>& ys = m.buffers.pointY[channel == 0 ? 0 : 1][slot];
  // Segment i joins buffer elements i - 1 and i (element 0 is firstPoint - 1).
  const std::int64_t last =
      std::min<std::int64_t>(range.last, static_cast<std::int64_t>(ys.size()) - 1);
  if (last < range.first) return;
  const double origin = m.buffers.pointX[slot].origin;
  const double step = s.pointStep;
  const CurveWalk walk{ys.data(),
                       origin,
                       step,
                       static_cast<double>(s.scrollShift),
                       scale.ratio,
                       DeviceTop(s, scale),
                       DeviceBottom(s, scale)};
  if (decimate) {
    // Column search needs an x that never decreases along the elements.
    const bool monotonic = std::isfinite(origin) && std::isfinite(step) && step > 0.0;
    if (withMarks) {
      Walk<true, true>(walk, range.first, last, out);
    } else if (monotonic) {
      WalkColumns(walk, range.first, last, out);
    } else {
      Walk<true, false>(walk, range.first, last, out);
    }
  } else {
    withMarks ? Walk<false, true>(walk, range.first, last, out)
              : Walk<false, false>(walk, range.first, last, out);
  }
}

std::optional<SegmentLine> NewestSegment(const GraphModel& m, int channel, std::int32_t rtCount,
                                         DeviceScale scale) {
  const GraphState& s = m.state;
  if (rtCount < 2 || s.firstPoint < 1) return std::nullopt;
  // Points rtCount - 2 and rtCount - 1 form segment i = a - firstPoint + 2.
  const std::int64_t i = static_cast<std::int64_t>(rtCount) - s.firstPoint;
  if (i < 1) return std::nullopt;
  return SegmentAt(m, channel, i, scale);
}

}  // namespace acv
