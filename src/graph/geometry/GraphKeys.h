#pragma once
// The graph from the keyboard: what each key does to markers A and B, the
// scroll state and the zoom. The widget only translates key presses into GraphKey
// and carries out the outcome on its picture.
#include <cstdint>
#include <optional>

#include "data/CDTDoc.h"
#include "graph/geometry/PointBuffers.h"

namespace acv {

enum class GraphKey {
  Left,      // marker A one point back; without A it starts next to B
  Right,     // one point on
  LeftTen,   // Shift+Left: ten points back
  RightTen,  // Shift+Right
  Home,      // A on the first point on the screen
  End,       // A on the last point on the screen
  PageBack,  // scroll a page back, as the scroll bar's page step does
  PageOn,    // a page on
  ZoomIn,    // zoom in around A (or the pointer cursor)
  ZoomOut,   // take back one zoom level
  // Marker B (the Alt keys; Shift+Left/Right already move A ten points).
  BLeft,      // Alt+Left: B one point back; without B it starts next to A
  BRight,     // Alt+Right
  BLeftTen,   // Alt+Shift+Left: ten points back
  BRightTen,  // Alt+Shift+Right
  BHome,      // Alt+Home: B on the first point on the screen
  BEnd,       // Alt+End: on the last
  Remove,     // Delete, Alt+Backspace: B goes, or A when there is no B
};

// Points one Shift+arrow press moves a marker.
inline constexpr int kCursorLongStep = 10;

struct KeyOutcome {
  bool handled = false;  // false: the key means nothing here (let others have it)
  bool repaint = false;  // the view moved or zoomed: paint it afresh first
  // Then put marker A on this point (scrolling it into view if needed);
  // -1 removes A.
  std::optional<std::int64_t> markerAPoint;
  // Put marker B on this point (scrolling it into view); -1 removes B.
  std::optional<std::int64_t> markerBPoint;
};

// Applies the key to the graph's state. Nothing happens on the start screen,
// without data or during a drag.
KeyOutcome HandleGraphKey(GraphModel& m, GraphKey key);

// Turns wheel deltas into zoom steps. A mouse wheel reports 120 per notch; a
// touchpad reports many small deltas per swipe, which must add up to a notch
// before they zoom, or one swipe would zoom many levels.
class WheelSteps {
 public:
  static constexpr int kNotch = 120;
  // Whole notches now due: positive forwards (zoom in), negative back. A
  // turn the other way drops what was left over of the last direction.
  int Take(int delta);

 private:
  int pending_ = 0;
};

}  // namespace acv
