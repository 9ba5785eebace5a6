#include "graph/geometry/Segments.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>

namespace acv {
namespace {

void AddMark(std::vector<PixelPoint>& marks, PixelPoint p) {
  if (marks.empty() || !(marks.back() == p)) marks.push_back(p);
}

// What the segment loop reads, gathered so that the loop itself keeps its
// few variables in registers.
struct CurveWalk {
  const SeriesSource* source;
  int channel;
  YScale scale;
  std::int64_t base;  // point of element 0
  double origin;      // x of element 0 (unshifted)
  double step;
  double shift;  // scrollShift
  double ratio;  // device pixels per layout pixel
  int top;       // the plot's top and bottom lines in device pixels
  int bottom;

  // y of element k in layout pixels; NaN where the point has no value.
  double Y(std::int64_t k) const {
    const std::int64_t p = base + k;
    return source->Has(channel, p) ? scale.At(source->Value(channel, p))
                                   : std::numeric_limits<double>::quiet_NaN();
  }
};

// The segments joining buffer elements first - 1 .. last. Consecutive
// segments share a point, so each point is converted once; this loop runs
// once per shown point and keeps to plain integers.
template <bool kDecimate, bool kMarks>
void Walk(const CurveWalk& w, std::int64_t first, std::int64_t last, CurveBatch& out) {
  ColumnSpan span;
  const auto flush = [&] { span.Flush(out.lines); };
  double fya = w.Y(first - 1);
  int xa = TruncToPixel(w.ratio * (w.origin + w.step * (w.shift + static_cast<double>(first - 1))));
  int ya = TruncToPixel(w.ratio * fya);
  for (std::int64_t i = first; i <= last; ++i) {
    const double fyb = w.Y(i);
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

// The decimating walk without marks, the one every full paint of a dense
// series takes: column by column from the channel's pyramid (the same lines
// as Walk<true, false>, in the same order). A pyramid that is not of these
// values is not used: the walk then reads every point.
void WalkColumns(const CurveWalk& w, const ChannelPyramid& pyramid, std::int64_t first,
                 std::int64_t last, CurveBatch& out) {
  static const MinMaxPyramid kNone;
  const ExternalSeries* external = w.source->External();
  const MinMaxPyramid& levels = external != nullptr ? external->Pyramid(w.channel)
                                : pyramid.Matches(*w.source, w.channel) ? pyramid.levels
                                                                        : kNone;
  // The walk counts points as its pyramid does: point q is series point
  // q - lead.
  const std::int64_t lead = external != nullptr ? external->Lead() : 0;
  const ColumnGeometry g{w.origin, w.step, w.shift, w.ratio, w.top, w.bottom, w.base + lead};
  const auto value = [&w, lead](std::int64_t q) {
    const std::int64_t p = q - lead;
    return w.source->Has(w.channel, p) ? static_cast<double>(w.source->Value(w.channel, p))
                                       : std::numeric_limits<double>::quiet_NaN();
  };
  const auto yOf = [&w](double v) { return w.scale.At(v); };
  ColumnWalker<decltype(value), decltype(yOf)>(g, levels, value, yOf, out.lines).Walk(first, last);
}

}  // namespace

void AddLine(std::vector<SegmentLine>& lines, int xa, int ya, int xb, int yb) {
  lines.push_back({{xa, ya}, {xb, yb}});
}

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

std::optional<SegmentLine> SegmentAt(const GraphModel& m, const SeriesSource& source, int channel,
                                     std::int64_t i, DeviceScale scale) {
  const GraphState& s = m.state;
  const int slot = CurrentSlot(s);
  const std::int64_t a = static_cast<std::int64_t>(s.firstPoint) - 2 + i;
  const double ya = m.buffers.Y(source, channel, slot, a);
  const double yb = m.buffers.Y(source, channel, slot, a + 1);
  if (std::isnan(ya) || std::isnan(yb)) return std::nullopt;
  const double origin = m.buffers.pointX[slot].origin;
  const double shifted = static_cast<double>(s.scrollShift) + static_cast<double>(i);
  return SegmentLine{{scale.Pixel(origin + s.pointStep * (shifted - 1.0)), scale.Pixel(ya)},
                     {scale.Pixel(origin + s.pointStep * shifted), scale.Pixel(yb)}};
}

void BuildCurve(const GraphModel& m, const SeriesSource& source, int channel, bool decimate,
                bool withMarks, CurveBatch& out, DeviceScale scale) {
  out.clear();
  const GraphState& s = m.state;
  const SegmentRange range = VisibleSegments(s);
  if (range.first > range.last) return;
  const int slot = CurrentSlot(s);
  const int c = channel == 0 ? 0 : 1;
  const YScale& yScale = m.buffers.yScale[c][slot];
  if (!yScale.valid) return;  // no point has a position
  // Segment i joins elements i - 1 and i (element 0 is point firstPoint - 1).
  const std::int64_t last = std::min<std::int64_t>(range.last, m.buffers.count - 1);
  if (last < range.first) return;
  const double origin = m.buffers.pointX[slot].origin;
  const double step = s.pointStep;
  const CurveWalk walk{&source,
                       c,
                       yScale,
                       m.buffers.base,
                       origin,
                       step,
                       static_cast<double>(s.scrollShift),
                       scale.ratio,
                       DeviceTop(s, scale),
                       DeviceBottom(s, scale)};
  // Column search needs an x that never decreases along the elements.
  const bool monotonic = std::isfinite(origin) && std::isfinite(step) && step > 0.0;
  if (source.External() != nullptr && last - range.first >= kMostPointsReadSingly) {
    // A series read where it lies is only ever walked from its pyramid when
    // the view spans more points than can be read one by one: marks (a
    // point each) are left out then, as a view that dense shows none apart.
    if (monotonic) WalkColumns(walk, m.buffers.pyramids[c], range.first, last, out);
    return;
  }
  if (decimate) {
    if (withMarks) {
      Walk<true, true>(walk, range.first, last, out);
    } else if (monotonic) {
      WalkColumns(walk, m.buffers.pyramids[c], range.first, last, out);
    } else {
      Walk<true, false>(walk, range.first, last, out);
    }
  } else {
    withMarks ? Walk<false, true>(walk, range.first, last, out)
              : Walk<false, false>(walk, range.first, last, out);
  }
}

std::optional<SegmentLine> NewestSegment(const GraphModel& m, const SeriesSource& source,
                                         int channel, std::int32_t rtCount, DeviceScale scale) {
  const GraphState& s = m.state;
  if (rtCount < 2 || s.firstPoint < 1) return std::nullopt;
  // Points rtCount - 2 and rtCount - 1 form segment i = a - firstPoint + 2.
  const std::int64_t i = static_cast<std::int64_t>(rtCount) - s.firstPoint;
  if (i < 1) return std::nullopt;
  return SegmentAt(m, source, channel, i, scale);
}

}  // namespace acv
