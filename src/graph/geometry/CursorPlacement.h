#pragma once
// Putting the cursor on a given point rather than under the mouse: the keys
// and the Data List choose a point, and the cursor line and readout show it
// as a mouse over that point would. In a zoomed view a point off the screen
// is first scrolled into view.
#include <cstdint>
#include <optional>

#include "data/CDTDoc.h"
#include "graph/geometry/Readout.h"

namespace acv {

// The x of a 0-based point as it is drawn now (current zoom state, shifted by
// scrollShift).
double PointScreenX(const GraphModel& m, std::int64_t index);

// The pixel column of a 0-based point as it is drawn now, when that column
// lies inside the plot.
std::optional<int> PointColumn(const GraphModel& m, std::int64_t index);

// The 0-based points whose pixel column lies inside the plot, inclusive;
// empty (first > last) when none does.
struct PointRange {
  std::int64_t first = 0;
  std::int64_t last = -1;
  bool Contains(std::int64_t i) const { return first <= i && i <= last; }
};
PointRange ShownPoints(const GraphModel& m);

// Whether the cursor may be placed at all: a graph with data, no drag.
bool CursorUsable(const GraphState& s);

// The point clamped into the display range.
std::int64_t ClampToRange(const GraphState& s, std::int64_t index);

// In a zoomed view, scrolls by whole points until the point is on the
// screen. Returns true when the view moved (the caller repaints before the
// cursor goes on).
bool BringPointIntoView(GraphModel& m, std::int64_t index);

// Puts the cursor line on the point (clamped into the display range) and
// its text into the readout. A point off the screen gets the readout only.
CursorMove PlaceCursor(GraphModel& m, const CDTDoc& doc, std::int64_t index);

}  // namespace acv
