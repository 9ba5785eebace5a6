#include "graph/geometry/Zoom.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace acv {
namespace {

PixelPoint ClampToPlot(const Rect& p, int x, int y) {
  return {std::clamp(x, p.left, std::max(p.left, p.right)),
          std::clamp(y, p.top, std::max(p.top, p.bottom))};
}

void CentreVerticalBars(GraphState& s) {
  const int half = s.plotRect.Height() / 2;
  for (ScrollBarState* bar : {&s.ch1Scroll, &s.ch2Scroll}) {
    bar->minimum = -half;
    bar->maximum = half;
    bar->position = 0;
  }
}

// The low tick and the tick step of a channel zoomed to the screen rows
// y0..y1, in hundredths as the axis labels show them.
ZoomScale ZoomOf(const TickSet& t, const Rect& plot, double y0, double y1) {
  const double height = plot.Height();
  const double t0 = t[0];
  const double span = static_cast<double>(t[kTickCount - 1]) - t0;
  const double below = plot.bottom - y1;
  ZoomScale z;
  z.low = std::trunc((t0 + span * below / height) * 100.0) * 0.01;
  const double next = std::trunc((t0 + span * (below + 0.1 * (y1 - y0)) / height) * 100.0) * 0.01;
  z.step = next - z.low;
  return z;
}

// A nested zoom starts from what is on the screen: the zoomed ticks and
// positions become the base, the old base is kept in the saved slot.
void NestZoom(GraphModel& m) {
  GraphState& s = m.state;
  s.savedTicks = {s.ch1Ticks[kFullView], s.ch2Ticks[kFullView]};
  s.ch1Ticks[kFullView] = s.ch1Ticks[kZoomedView];
  s.ch2Ticks[kFullView] = s.ch2Ticks[kZoomedView];
  PointBuffers& b = m.buffers;
  b.pointX[kSavedView] = b.pointX[kFullView];
  b.pointX[kFullView] = b.pointX[kZoomedView];
  for (auto& slots : b.yScale) {
    std::swap(slots[kSavedView], slots[kFullView]);
    slots[kFullView] = slots[kZoomedView];
  }
}

ZoomStep CaptureZoomStep(const GraphModel& m) {
  const GraphState& s = m.state;
  ZoomStep z;
  z.zoomState = s.zoomState;
  z.baseTicks = {s.ch1Ticks[kFullView], s.ch2Ticks[kFullView]};
  z.zoomScale = s.zoomScale;
  z.fullX = m.buffers.pointX[kFullView];
  z.zoomedX = m.buffers.pointX[kZoomedView];
  z.scrollShift = s.scrollShift;
  z.scrollBase = s.scrollBase;
  z.zoomedOffset = {s.ch1Offset[kZoomedView], s.ch2Offset[kZoomedView]};
  z.hScroll = s.hScroll;
  z.ch1Scroll = s.ch1Scroll;
  z.ch2Scroll = s.ch2Scroll;
  return z;
}

void RestoreZoomStep(GraphModel& m, const ZoomStep& z) {
  GraphState& s = m.state;
  s.zoomState = z.zoomState;
  s.ch1Ticks[kFullView] = z.baseTicks[0];
  s.ch2Ticks[kFullView] = z.baseTicks[1];
  s.zoomScale = z.zoomScale;
  m.buffers.pointX[kFullView] = z.fullX;
  m.buffers.pointX[kZoomedView] = z.zoomedX;
  s.scrollShift = z.scrollShift;
  s.scrollBase = z.scrollBase;
  s.ch1Offset[kZoomedView] = z.zoomedOffset[0];
  s.ch2Offset[kZoomedView] = z.zoomedOffset[1];
  s.hScroll = z.hScroll;
  s.ch1Scroll = z.ch1Scroll;
  s.ch2Scroll = z.ch2Scroll;
  s.zoomPending = 0;
}

void RemapX(XMapping& x, const Rect& oldPlot, const Rect& newPlot) {
  const double oldWidth = oldPlot.Width();
  const double newWidth = newPlot.Width();
  x.origin = newPlot.left + (x.origin - oldPlot.left) * newWidth / oldWidth;
  x.step = x.step * newWidth / oldWidth;
}

// Enough levels for any sensible use; the oldest go first beyond it.
constexpr std::size_t kMaxZoomHistory = 256;

// The decision on a band from (x0, y0) to (x1, y1), in any order.
ReleaseOutcome DecideZoom(GraphModel& m, double x0, double y0, double x1, double y1,
                          ReleaseOutcome out) {
  GraphState& s = m.state;
  const Rect& p = s.plotRect;
  const ZoomStep before = CaptureZoomStep(m);
  const bool fromFullView = s.zoomState != kZoomedView;
  if (!fromFullView) NestZoom(m);
  if (x0 > x1) std::swap(x0, x1);
  if (y0 > y1) std::swap(y0, y1);

  // (a) a tenth of the rectangle must span at least 0.1 of channel 1's unit;
  // (b) two consecutive points must end up less than a plot width apart.
  const double height = p.Height();
  const TickSet& t = s.ch1Ticks[kFullView];
  const double ch1Span = static_cast<double>(t[kTickCount - 1]) - t[0];
  const bool tallEnough = height > 0 && ch1Span * 0.1 * (y1 - y0) / height >= 0.1;
  const double width = p.Width();
  const double zoomedStep = width * m.buffers.pointX[kFullView].step / (x1 - x0);
  const bool wideEnough = zoomedStep < width;
  if (!(tallEnough && wideEnough)) {
    s.zoomPending = 0;
    return out;
  }
  s.zoomX0 = x0;
  s.zoomY0 = y0;
  s.zoomX1 = x1;
  s.zoomY1 = y1;
  s.zoomState = kZoomedView;
  s.ch1Offset[kZoomedView] = 0;
  s.ch2Offset[kZoomedView] = 0;
  s.zoomPending = 1;
  s.pendingFromFullView = fromFullView;
  if (s.zoomHistory.size() >= kMaxZoomHistory) s.zoomHistory.erase(s.zoomHistory.begin());
  s.zoomHistory.push_back(before);
  out.accepted = true;
  return out;
}

}  // namespace

Rect BandRect(int x0, int y0, int x1, int y1) {
  return {std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1)};
}

bool BeginDrag(GraphState& s, int x, int y) {
  if (s.lastPoint <= 0 || s.displayMode == kStartScreen) return false;
  const PixelPoint p = ClampToPlot(s.plotRect, x, y);
  s.zoomX0 = p.x;
  s.zoomY0 = p.y;
  s.dragging = true;
  s.dragUnmoved = true;
  s.dragCorner = p;
  s.dragCornerShown = false;
  return true;
}

BandUpdate MoveDrag(GraphState& s, int x, int y) {
  BandUpdate update;
  if (!s.dragging || s.lastPoint <= 0 || s.displayMode == kStartScreen || s.cursorEnabled != 1) {
    return update;
  }
  const PixelPoint p = ClampToPlot(s.plotRect, x, y);
  s.dragShown = 1;
  if (p == s.dragCorner) return update;
  const int x0 = static_cast<int>(s.zoomX0);
  const int y0 = static_cast<int>(s.zoomY0);
  if (s.dragCornerShown) {
    update.eraseOld = true;
    update.oldBand = BandRect(x0, y0, s.dragCorner.x, s.dragCorner.y);
  }
  update.drawNew = true;
  update.newBand = BandRect(x0, y0, p.x, p.y);
  s.dragUnmoved = false;
  s.dragCorner = p;
  s.dragCornerShown = true;
  return update;
}

bool DragWatchCancels(GraphState& s, int x, int y) {
  if (!s.dragging) return false;
  const Rect& p = s.plotRect;
  const bool inside =
      p.left - 50 < x && x < s.clientRect.right - 20 && p.top - 3 < y && y < p.bottom + 20;
  if (inside) return false;
  s.dragging = false;
  s.zoomPending = 0;
  s.dragShown = 0;
  s.dragUnmoved = true;
  s.dragCornerShown = false;
  return true;
}

ReleaseOutcome ReleaseDrag(GraphModel& m, int x, int y) {
  GraphState& s = m.state;
  ReleaseOutcome out;
  if (s.lastPoint <= 0 || s.displayMode == kStartScreen) return out;
  out.handled = true;
  const Rect& p = s.plotRect;
  out.repaintArea = {20, p.top - 10, p.right + 100, p.bottom + 55};
  x = std::max(x, p.left);
  y = std::max(y, p.top);
  if (s.dragging) {
    out.eraseBand = s.dragCornerShown;
    out.band = BandRect(static_cast<int>(s.zoomX0), static_cast<int>(s.zoomY0), s.dragCorner.x,
                        s.dragCorner.y);
    s.dragging = false;
    s.dragCornerShown = false;
  }
  // Whatever the decision, the band is gone: the real-time fast path may
  // draw again (an ignored release must not leave it blocked).
  s.dragShown = 0;
  if (s.dragUnmoved) return out;
  const double x1 = std::min(x, p.right);
  if (std::abs(x1 - s.zoomX0) <= 3.0) return out;
  return DecideZoom(m, s.zoomX0, s.zoomY0, x1, std::min(y, p.bottom), out);
}

ReleaseOutcome ZoomInAround(GraphModel& m, int x) {
  GraphState& s = m.state;
  ReleaseOutcome out;
  if (s.lastPoint <= 0 || s.displayMode == kStartScreen || s.dragging) return out;
  out.handled = true;
  const Rect& p = s.plotRect;
  out.repaintArea = {20, p.top - 10, p.right + 100, p.bottom + 55};
  const double half = p.Width() * 0.25;
  if (half <= 0.0) return out;
  const double centre = std::clamp<double>(x, p.left + half, p.right - half);
  return DecideZoom(m, centre - half, p.top, centre + half, p.bottom, out);
}

PointSpan SpanWithMargin(std::int64_t first, std::int64_t last, std::int64_t low,
                         std::int64_t high) {
  if (first > last) std::swap(first, last);
  if (high < low) high = low;
  // Clamped first: the ends may be anything another window passes.
  first = std::clamp(first, low, high);
  last = std::clamp(last, low, high);
  const std::int64_t margin = std::max<std::int64_t>(1, (last - first + 5) / 10);
  return {std::max(low, first - margin), std::min(high, last + margin)};
}

ReleaseOutcome ZoomOntoPoints(GraphModel& m, std::int64_t first, std::int64_t last) {
  GraphState& s = m.state;
  ReleaseOutcome out;
  if (s.lastPoint <= 0 || s.displayMode == kStartScreen || s.dragging ||
      s.zoomState == kZoomedView) {
    return out;
  }
  out.handled = true;
  const Rect& p = s.plotRect;
  out.repaintArea = {20, p.top - 10, p.right + 100, p.bottom + 55};
  if (first > last) std::swap(first, last);
  const XMapping& full = m.buffers.pointX[kFullView];
  const std::int64_t base = static_cast<std::int64_t>(s.firstPoint) - 1;
  const double x0 = full.At(first - base);
  const double x1 = full.At(last - base);
  if (!(x1 > x0) || !std::isfinite(x0) || !std::isfinite(x1)) return out;
  return DecideZoom(m, x0, p.top, x1, p.bottom, out);
}

bool ZoomOutOneLevel(GraphModel& m) {
  GraphState& s = m.state;
  if (s.zoomState != kZoomedView) return false;
  if (s.zoomHistory.empty() || s.zoomHistory.back().zoomState != kZoomedView) {
    ZoomReset(s);
    return true;
  }
  RestoreZoomStep(m, s.zoomHistory.back());
  s.zoomHistory.pop_back();
  s.cursorEnabled = 1;
  return true;
}

void ApplyPendingZoom(GraphModel& m) {
  GraphState& s = m.state;
  const Rect& p = s.plotRect;
  const double width = p.Width();
  const double bandWidth = s.zoomX1 - s.zoomX0;
  if (width <= 0 || bandWidth <= 0 || p.Height() <= 0) return;
  s.zoomScale[0] = ZoomOf(s.ch1Ticks[kFullView], p, s.zoomY0, s.zoomY1);
  s.zoomScale[1] = ZoomOf(s.ch2Ticks[kFullView], p, s.zoomY0, s.zoomY1);

  const XMapping& full = m.buffers.pointX[kFullView];
  XMapping& zoomed = m.buffers.pointX[kZoomedView];
  zoomed.origin = p.left + width * (full.origin - s.zoomX0) / bandWidth;
  zoomed.step = width * full.step / bandWidth;

  // The scroll state counts the points left of the plot.
  if (zoomed.step > 0.0) {
    const double leftOfPlot =
        (p.left - (zoomed.origin + zoomed.step * s.scrollShift)) / zoomed.step;
    s.scrollBase = static_cast<std::int32_t>(
        std::clamp<std::int64_t>(s.scrollShift + TruncToCount(leftOfPlot), INT32_MIN, INT32_MAX));
  }
  s.hScroll.enabled = true;
  s.hScroll.minimum = 0;
  s.hScroll.maximum = std::max(0, s.lastPoint + 1 - s.firstPoint);
  s.hScroll.page = 1;
  s.hScroll.position = s.scrollBase - s.scrollShift + 1;
  s.ch1Scroll.enabled = s.ch2Scroll.enabled = true;
  CentreVerticalBars(s);
}

Rect ZoomReset(GraphState& s) {
  s.zoomState = kFullView;
  s.zoomPending = 0;
  s.scrollShift = 0;
  s.scrollBase = 0;
  s.followSkipOnce = false;
  s.zoomHistory.clear();
  s.hScroll.enabled = s.ch1Scroll.enabled = s.ch2Scroll.enabled = false;
  CentreVerticalBars(s);
  s.cursorEnabled = 1;
  const Rect& c = s.clientRect;
  return {c.left, c.top + s.panelHeight + 50, c.right, c.bottom};
}

void RemapForResize(GraphModel& m, const Rect& oldPlot, const Rect& newPlot) {
  GraphState& s = m.state;
  if (s.zoomPending == 1) {
    // The band was measured on the old layout: the view stays at the level
    // the zoom started from (the full view after a first zoom).
    s.zoomPending = 0;
    if (!s.zoomHistory.empty()) {
      RestoreZoomStep(m, s.zoomHistory.back());
      s.zoomHistory.pop_back();
    } else if (s.pendingFromFullView) {
      s.zoomState = kFullView;
    }
  }
  if (s.zoomState != kZoomedView) return;
  if (oldPlot.Width() <= 0 || newPlot.Width() <= 0) return;
  RemapX(m.buffers.pointX[kZoomedView], oldPlot, newPlot);
  // The levels a zoom out returns to were measured on the old layout too.
  for (ZoomStep& z : s.zoomHistory) {
    RemapX(z.fullX, oldPlot, newPlot);
    RemapX(z.zoomedX, oldPlot, newPlot);
  }
}

}  // namespace acv
