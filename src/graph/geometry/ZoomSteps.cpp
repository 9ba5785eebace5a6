#include "graph/geometry/ZoomSteps.h"

#include <algorithm>

#include "graph/geometry/Zoom.h"

namespace acv {

void ZoomHistory::Push(const GraphModel& m) {
  const GraphState& s = m.state;
  ZoomSnapshot z;
  z.zoomState = s.zoomState;
  z.zoomX0 = s.zoomX0;
  z.zoomY0 = s.zoomY0;
  z.zoomX1 = s.zoomX1;
  z.zoomY1 = s.zoomY1;
  z.zoomScale = s.zoomScale;
  z.savedTicks = s.savedTicks;
  z.ch1Ticks = s.ch1Ticks;
  z.ch2Ticks = s.ch2Ticks;
  z.ch1Offset = s.ch1Offset;
  z.ch2Offset = s.ch2Offset;
  z.pointStep = s.pointStep;
  z.scrollShift = s.scrollShift;
  z.scrollBase = s.scrollBase;
  z.hScroll = s.hScroll;
  z.ch1Scroll = s.ch1Scroll;
  z.ch2Scroll = s.ch2Scroll;
  z.plotRect = s.plotRect;
  z.buffers = m.buffers;
  if (levels_.size() == kMaxLevels) levels_.erase(levels_.begin());
  levels_.push_back(std::move(z));
}

bool ZoomHistory::Undo(GraphModel& m) {
  if (levels_.empty()) return false;
  ZoomSnapshot z = std::move(levels_.back());
  levels_.pop_back();
  GraphState& s = m.state;
  if (!(z.plotRect == s.plotRect)) {
    levels_.clear();
    return false;
  }
  s.zoomState = z.zoomState;
  s.zoomPending = 0;
  s.zoomX0 = z.zoomX0;
  s.zoomY0 = z.zoomY0;
  s.zoomX1 = z.zoomX1;
  s.zoomY1 = z.zoomY1;
  s.zoomScale = z.zoomScale;
  s.savedTicks = z.savedTicks;
  s.ch1Ticks = z.ch1Ticks;
  s.ch2Ticks = z.ch2Ticks;
  s.ch1Offset = z.ch1Offset;
  s.ch2Offset = z.ch2Offset;
  s.pointStep = z.pointStep;
  s.scrollShift = z.scrollShift;
  s.scrollBase = z.scrollBase;
  s.hScroll = z.hScroll;
  s.ch1Scroll = z.ch1Scroll;
  s.ch2Scroll = z.ch2Scroll;
  m.buffers = std::move(z.buffers);
  return true;
}

bool WheelZoomIn(GraphModel& m, int x) {
  GraphState& s = m.state;
  const Rect& p = s.plotRect;
  if (s.lastPoint <= 0 || s.displayMode == kStartScreen || s.dragging || p.Width() <= 0) {
    return false;
  }
  x = std::clamp(x, p.left, p.right);
  // Half the width, keeping the pointer's share of the plot on each side.
  const double share = static_cast<double>(x - p.left) / p.Width();
  const double half = p.Width() / 2.0;
  const int left = static_cast<int>(x - share * half);
  const int right = static_cast<int>(left + half);
  if (!BeginDrag(s, left, p.top)) return false;
  s.dragUnmoved = false;
  return ReleaseDrag(m, right, p.bottom).accepted;
}

}  // namespace acv
