#pragma once
// The three scroll bars of the graph: the horizontal one moves the curves by
// whole points (scrollShift), the vertical ones shift a channel's ticks and
// curve by pixels (its offset of the current zoom state).
#include "graph/geometry/GraphState.h"

namespace acv {

enum class ScrollAction {
  LineBack,     // left / up
  LineForward,  // right / down
  PageBack,
  PageForward,
  ThumbTrack,
  Other,  // end of scroll and the like: nothing moves
};

// Horizontal position shown by the bar: scrollBase - scrollShift + 1.
int HorizontalPosition(const GraphState& s);

// Applies a horizontal scroll action. position is the bar's thumb position
// (ThumbTrack); mouseX the pointer's x, used instead of the position when the
// range holds more than 32767 points. Returns true when the view moved.
bool ScrollHorizontal(GraphState& s, ScrollAction action, int position, int mouseX);

// Applies a vertical scroll action to channel 0 (left bar) or 1 (right bar).
bool ScrollVertical(GraphState& s, int channel, ScrollAction action, int position);

// Areas repainted after a scroll, as (left, top, right, bottom).
Rect HorizontalScrollArea(const GraphState& s);
Rect VerticalScrollArea(const GraphState& s);

}  // namespace acv
