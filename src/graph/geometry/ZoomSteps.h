#pragma once
// Zooming by steps besides the rubber band: a wheel notch zooms the X range
// around the pointer by half, and each zoom can be undone one level at a
// time (Backspace, or the wheel turned back). A wheel zoom is a band over the
// whole plot height, so it goes through the band's acceptance rules and the
// Y axes stay as they are.
#include <vector>

#include "graph/geometry/PointBuffers.h"

namespace acv {

// The zoom of a graph as it was before one zoom step: enough to put the view
// back exactly, nothing else (colours, options and the cursor are not
// touched by an undo).
struct ZoomSnapshot {
  std::uint8_t zoomState = kFullView;
  double zoomX0 = 0, zoomY0 = 0, zoomX1 = 0, zoomY1 = 0;
  std::array<ZoomScale, 2> zoomScale{};
  std::array<TickSet, 2> savedTicks{};
  std::array<TickSet, 2> ch1Ticks{}, ch2Ticks{};
  std::array<int, 2> ch1Offset{}, ch2Offset{};
  double pointStep = 0.0;
  std::int32_t scrollShift = 0, scrollBase = 0;
  ScrollBarState hScroll, ch1Scroll, ch2Scroll;
  Rect plotRect;
  PointBuffers buffers;
};

class ZoomHistory {
 public:
  // Deep zoom stacks hold a copy of the point positions each; the oldest
  // levels are dropped beyond this.
  static constexpr std::size_t kMaxLevels = 32;

  void Push(const GraphModel& m);
  // Puts the previous zoom level back; false when there is none. A level
  // recorded for another plot rectangle (the window was resized since) is
  // not restored: the caller then returns to the full view.
  bool Undo(GraphModel& m);
  // Forgets the newest level (its zoom was not accepted after all).
  void DropNewest() {
    if (!levels_.empty()) levels_.pop_back();
  }
  void Clear() { levels_.clear(); }
  std::size_t Levels() const { return levels_.size(); }

 private:
  std::vector<ZoomSnapshot> levels_;
};

// One wheel notch forward with the pointer at x: asks for a zoom to half the
// plot width, placed so the point under the pointer stays under it. Returns
// true when the zoom was accepted (it is applied by the next paint, as a
// band zoom is).
bool WheelZoomIn(GraphModel& m, int x);

}  // namespace acv
