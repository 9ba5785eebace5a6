#include "graph/geometry/GraphKeys.h"

#include "graph/geometry/CursorPlacement.h"
#include "graph/geometry/Scroll.h"
#include "graph/geometry/Zoom.h"

namespace acv {
namespace {

// The point a marker key moves the marker to: one or ten points on from its
// point in the key's direction. A marker not yet placed starts beside the
// other one, or without either at the near edge of the screen.
std::int64_t MarkerTarget(const GraphModel& m, std::int64_t from, std::int64_t other,
                          bool backwards, int step, const PointRange& shown) {
  const GraphState& s = m.state;
  if (from < 0) {
    if (other < 0 || other >= s.lastPoint) return backwards ? shown.last : shown.first;
    from = other;
  }
  return ClampToRange(s, from + (backwards ? -step : step));
}

KeyOutcome Rezoomed() {
  KeyOutcome out;
  out.handled = true;
  out.repaint = true;
  return out;
}

}  // namespace

KeyOutcome HandleGraphKey(GraphModel& m, GraphKey key) {
  GraphState& s = m.state;
  KeyOutcome out;
  if (!CursorUsable(s)) return out;
  const PointRange shown = ShownPoints(m);
  switch (key) {
    case GraphKey::Left:
    case GraphKey::Right:
    case GraphKey::LeftTen:
    case GraphKey::RightTen: {
      if (shown.first > shown.last) return out;
      out.handled = true;
      const bool back = key == GraphKey::Left || key == GraphKey::LeftTen;
      const int step = key == GraphKey::LeftTen || key == GraphKey::RightTen ? kCursorLongStep : 1;
      out.markerAPoint = MarkerTarget(m, s.markerAIndex, s.markerBIndex, back, step, shown);
      return out;
    }
    case GraphKey::Home:
    case GraphKey::End:
      if (shown.first > shown.last) return out;
      out.handled = true;
      out.markerAPoint = key == GraphKey::Home ? shown.first : shown.last;
      return out;
    case GraphKey::BLeft:
    case GraphKey::BRight:
    case GraphKey::BLeftTen:
    case GraphKey::BRightTen: {
      if (shown.first > shown.last) return out;
      out.handled = true;
      const bool back = key == GraphKey::BLeft || key == GraphKey::BLeftTen;
      const int step =
          key == GraphKey::BLeftTen || key == GraphKey::BRightTen ? kCursorLongStep : 1;
      out.markerBPoint = MarkerTarget(m, s.markerBIndex, s.markerAIndex, back, step, shown);
      return out;
    }
    case GraphKey::BHome:
    case GraphKey::BEnd:
      if (shown.first > shown.last) return out;
      out.handled = true;
      out.markerBPoint = key == GraphKey::BHome ? shown.first : shown.last;
      return out;
    case GraphKey::Remove:
      // B first, then A: the span's far end goes before its start. Without
      // either the key is left to the window around the graph.
      if (s.markerBIndex >= 0) {
        out.markerBPoint = -1;
      } else if (s.markerAIndex >= 0) {
        out.markerAPoint = -1;
      } else {
        return out;
      }
      out.handled = true;
      return out;
    case GraphKey::PageBack:
    case GraphKey::PageOn: {
      // The horizontal bar works only in a zoomed view; so do its keys.
      if (s.zoomState != kZoomedView) return out;
      out.handled = true;
      const ScrollAction page =
          key == GraphKey::PageBack ? ScrollAction::PageBack : ScrollAction::PageForward;
      out.repaint = ScrollHorizontal(s, page, 0, 0);
      return out;
    }
    case GraphKey::ZoomIn: {
      // Around A where it is on the screen, else around the pointer cursor,
      // else around the middle. The markers keep their points.
      int x = (s.plotRect.left + s.plotRect.right) / 2;
      if (s.markerAIndex >= 0 && shown.Contains(s.markerAIndex)) {
        x = PointColumn(m, s.markerAIndex).value_or(x);
      } else if (!s.cursorHidden) {
        x = s.cursorX;
      }
      if (!ZoomInAround(m, x).accepted) {
        out.handled = true;  // refused like a too small band: nothing changes
        return out;
      }
      return Rezoomed();
    }
    case GraphKey::ZoomOut:
      if (!ZoomOutOneLevel(m)) return out;
      return Rezoomed();
  }
  return out;
}

int WheelSteps::Take(int delta) {
  if ((delta > 0 && pending_ < 0) || (delta < 0 && pending_ > 0)) pending_ = 0;
  pending_ += delta;
  const int steps = pending_ / kNotch;
  pending_ -= steps * kNotch;
  return steps;
}

}  // namespace acv
