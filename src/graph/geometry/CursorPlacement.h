#pragma once
// Where the points stand on the screen, and putting a marker on a chosen
// point rather than under the mouse: a click, the keys, the Data List and
// the Events window choose a point. In a zoomed view a point off the screen
// is first scrolled into view.
#include <cstdint>
#include <optional>

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

// Pixels a press may move before its release and still count as a click
// (the zoom ignores so short a band).
inline constexpr int kClickSlack = 3;

// The point a plain click puts marker A on: the one nearest the press, when
// the press was on the plot and the release within kClickSlack pixels of it
// both ways. A longer move is a drag (a zoom) and places nothing.
std::optional<std::int64_t> ClickedPoint(const GraphModel& m, PixelPoint press, PixelPoint release);

}  // namespace acv
