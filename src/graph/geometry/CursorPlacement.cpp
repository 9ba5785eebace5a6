#include "graph/geometry/CursorPlacement.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "graph/geometry/Scroll.h"
#include "graph/geometry/Segments.h"

namespace acv {
namespace {

bool ColumnInsidePlot(const GraphModel& m, std::int64_t index) {
  const int x = TruncToPixel(PointScreenX(m, index));
  return m.state.plotRect.left <= x && x <= m.state.plotRect.right;
}

}  // namespace

double PointScreenX(const GraphModel& m, std::int64_t index) {
  const GraphState& s = m.state;
  const std::int64_t k = index - (static_cast<std::int64_t>(s.firstPoint) - 1) + s.scrollShift;
  return m.buffers.pointX[CurrentSlot(s)].At(k);
}

std::optional<int> PointColumn(const GraphModel& m, std::int64_t index) {
  if (!ColumnInsidePlot(m, index)) return std::nullopt;
  return TruncToPixel(PointScreenX(m, index));
}

PointRange ShownPoints(const GraphModel& m) {
  const GraphState& s = m.state;
  PointRange range;
  if (s.lastPoint <= 0 || s.firstPoint < 1 || s.lastPoint < s.firstPoint) return range;
  const std::int64_t low = static_cast<std::int64_t>(s.firstPoint) - 1;
  const std::int64_t high = static_cast<std::int64_t>(s.lastPoint) - 1;
  const XMapping& x = m.buffers.pointX[CurrentSlot(s)];
  if (!(x.step > 0.0) || !std::isfinite(x.origin)) {
    // One point, or no scale yet: the first point stands at the left edge.
    range.first = range.last = low;
    return range;
  }
  // Estimate from the line, then settle on the exact truncated columns.
  const double shift = static_cast<double>(s.scrollShift) - static_cast<double>(low);
  auto estimate = [&](double pixel) {
    return std::clamp<std::int64_t>(TruncToCount(std::ceil((pixel - x.origin) / x.step - shift)),
                                    low, high);
  };
  std::int64_t first = estimate(s.plotRect.left);
  while (first > low && ColumnInsidePlot(m, first - 1)) --first;
  while (first <= high && !ColumnInsidePlot(m, first)) {
    if (PointScreenX(m, first) > s.plotRect.right) return range;
    ++first;
  }
  if (first > high) return range;
  std::int64_t last = std::max(first, estimate(s.plotRect.right + 1.0) - 1);
  while (last < high && ColumnInsidePlot(m, last + 1)) ++last;
  while (last > first && !ColumnInsidePlot(m, last)) --last;
  range.first = first;
  range.last = last;
  return range;
}

bool CursorUsable(const GraphState& s) {
  return s.lastPoint > 0 && s.displayMode != kStartScreen && s.cursorEnabled == 1 && !s.dragging;
}

std::int64_t ClampToRange(const GraphState& s, std::int64_t index) {
  const std::int64_t low = std::max<std::int64_t>(0, static_cast<std::int64_t>(s.firstPoint) - 1);
  return std::clamp<std::int64_t>(index, low, std::max<std::int64_t>(low, s.lastPoint - 1));
}

bool BringPointIntoView(GraphModel& m, std::int64_t index) {
  GraphState& s = m.state;
  if (s.zoomState != kZoomedView || !CursorUsable(s)) return false;
  index = ClampToRange(s, index);
  const PointRange shown = ShownPoints(m);
  if (shown.first > shown.last || shown.Contains(index)) return false;
  // One more point of shift moves every point one step to the right; the
  // point then takes the place of the first or last shown one exactly.
  const std::int64_t by = index < shown.first ? shown.first - index : shown.last - index;
  const std::int64_t shift = std::clamp<std::int64_t>(s.scrollShift + by, INT32_MIN, INT32_MAX);
  s.scrollShift = static_cast<std::int32_t>(shift);
  s.hScroll.position = HorizontalPosition(s);
  s.cursorHidden = true;
  return true;
}

std::optional<std::int64_t> ClickedPoint(const GraphModel& m, PixelPoint press,
                                         PixelPoint release) {
  const GraphState& s = m.state;
  if (s.lastPoint <= 0 || s.displayMode == kStartScreen || s.cursorEnabled != 1) {
    return std::nullopt;
  }
  if (!CursorInsidePlot(s, press.x, press.y)) return std::nullopt;
  if (std::abs(release.x - press.x) > kClickSlack || std::abs(release.y - press.y) > kClickSlack) {
    return std::nullopt;
  }
  return NearestPoint(m, press.x);
}

}  // namespace acv
