#include "graph/geometry/GraphKeys.h"

#include "graph/geometry/CursorPlacement.h"
#include "graph/geometry/Scroll.h"
#include "graph/geometry/Zoom.h"

namespace acv {
namespace {

// The point a cursor key moves to. A hidden cursor first comes back where it
// was, when that point is on the screen, or at the near edge of the screen.
std::int64_t CursorTarget(const GraphModel& m, GraphKey key) {
  const GraphState& s = m.state;
  const PointRange shown = ShownPoints(m);
  const bool backwards = key == GraphKey::Left || key == GraphKey::LeftTen;
  if (s.cursorHidden) {
    if (shown.Contains(s.cursorIndex)) return s.cursorIndex;
    return backwards ? shown.last : shown.first;
  }
  const int step = key == GraphKey::LeftTen || key == GraphKey::RightTen ? kCursorLongStep : 1;
  return ClampToRange(s, static_cast<std::int64_t>(s.cursorIndex) + (backwards ? -step : step));
}

// The point a B key moves B to. Without B it starts beside cursor A (one or
// ten points on, in the key's direction), or without A at the near edge of
// the screen.
std::int64_t CursorBTarget(const GraphModel& m, GraphKey key, const PointRange& shown) {
  const GraphState& s = m.state;
  const bool backwards = key == GraphKey::BLeft || key == GraphKey::BLeftTen;
  const int step = key == GraphKey::BLeftTen || key == GraphKey::BRightTen ? kCursorLongStep : 1;
  std::int64_t from = s.cursorBIndex;
  if (from < 0) {
    if (s.readoutText.empty()) return backwards ? shown.last : shown.first;
    from = s.cursorIndex;
  }
  return ClampToRange(s, from + (backwards ? -step : step));
}

// After a zoom the cursor stays on its point, when it was on the screen.
KeyOutcome Rezoomed(const GraphState& s, bool cursorShown) {
  KeyOutcome out;
  out.handled = true;
  out.repaint = true;
  if (cursorShown) out.cursorPoint = s.cursorIndex;
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
    case GraphKey::RightTen:
      if (shown.first > shown.last) return out;
      out.handled = true;
      out.cursorPoint = CursorTarget(m, key);
      return out;
    case GraphKey::Home:
    case GraphKey::End:
      if (shown.first > shown.last) return out;
      out.handled = true;
      out.cursorPoint = key == GraphKey::Home ? shown.first : shown.last;
      return out;
    case GraphKey::BLeft:
    case GraphKey::BRight:
    case GraphKey::BLeftTen:
    case GraphKey::BRightTen:
      if (shown.first > shown.last) return out;
      out.handled = true;
      out.cursorBPoint = CursorBTarget(m, key, shown);
      return out;
    case GraphKey::BHome:
    case GraphKey::BEnd:
      if (shown.first > shown.last) return out;
      out.handled = true;
      out.cursorBPoint = key == GraphKey::BHome ? shown.first : shown.last;
      return out;
    case GraphKey::BRemove:
      // Without B the key is left to the window around the graph.
      if (s.cursorBIndex < 0) return out;
      out.handled = true;
      out.cursorBPoint = -1;
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
      const bool cursorShown = !s.cursorHidden;
      const int x = cursorShown ? s.cursorX : (s.plotRect.left + s.plotRect.right) / 2;
      if (!ZoomInAround(m, x).accepted) {
        out.handled = true;  // refused like a too small band: nothing changes
        return out;
      }
      return Rezoomed(s, cursorShown);
    }
    case GraphKey::ZoomOut: {
      const bool cursorShown = !s.cursorHidden;
      if (!ZoomOutOneLevel(m)) return out;
      return Rezoomed(s, cursorShown);
    }
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
