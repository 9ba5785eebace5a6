#pragma once
// Rubber-band zoom: the drag with the left button, the decision on release,
// applying an accepted zoom at the next paint, the return to the full view,
// and keeping a zoom when the window is resized. Zooming in around one x (a
// key or the mouse wheel) and taking back one zoom level use the same rules.
#include "graph/geometry/PointBuffers.h"

namespace acv {

// The rubber band between two corners, normalised (left <= right,
// top <= bottom; right and bottom inclusive).
Rect BandRect(int x0, int y0, int x1, int y1);

// Left button down. Returns true when a drag started (the caller then starts
// the 10 ms drag watch).
bool BeginDrag(GraphState& s, int x, int y);

// What a mouse move during a drag changes on the screen.
struct BandUpdate {
  bool eraseOld = false;
  Rect oldBand;
  bool drawNew = false;
  Rect newBand;
};
BandUpdate MoveDrag(GraphState& s, int x, int y);

// The drag watch: true when the mouse left the region around the plot and
// the drag was cancelled (the caller repaints the plot and stops the watch).
bool DragWatchCancels(GraphState& s, int x, int y);

// Left button up.
struct ReleaseOutcome {
  bool handled = false;    // false: no data or the start screen, nothing to do
  bool eraseBand = false;  // the rubber band to take away first
  Rect band;
  bool accepted = false;  // a zoom is pending for the next paint
  Rect repaintArea;       // (left, top, right, bottom) to repaint
};
ReleaseOutcome ReleaseDrag(GraphModel& m, int x, int y);

// Zooms in as a drag of half the plot's width centred on x (moved inside the
// plot) over its whole height would: the same acceptance rules, the same
// pending zoom applied by the next paint.
ReleaseOutcome ZoomInAround(GraphModel& m, int x);

// The points a zoom onto the span first..last (0-based, in either order)
// shows: a tenth of the span more on each side, at least one point, all
// clamped to the data's points low..high. A span of one point still gets a
// point on each side where the data have one.
struct PointSpan {
  std::int64_t first = 0;
  std::int64_t last = 0;
  bool operator==(const PointSpan&) const = default;
};
PointSpan SpanWithMargin(std::int64_t first, std::int64_t last, std::int64_t low,
                         std::int64_t high);

// From the full view, zooms as a band over the whole plot height from point
// `first` to point `last` (0-based) would: the points fill the plot width,
// the first on its left edge, the last on its right. The same acceptance
// rules and pending zoom as a drag; refused (not accepted) in a zoomed view.
ReleaseOutcome ZoomOntoPoints(GraphModel& m, std::int64_t first, std::int64_t last);

// Takes back the last accepted zoom: the zoom it nested on comes back, or the
// full view after the first one. False when the view is not zoomed.
bool ZoomOutOneLevel(GraphModel& m);

// Turns a pending zoom into the zoomed scale and x positions and sets up the
// scroll bars; part of the paint, with the plot rectangle unchanged.
void ApplyPendingZoom(GraphModel& m);

// Back to the full view. Returns the area to repaint.
Rect ZoomReset(GraphState& s);

// A resize moves the zoomed x positions linearly from the old plot's
// [left, right] to the new one and drops a zoom still pending.
void RemapForResize(GraphModel& m, const Rect& oldPlot, const Rect& newPlot);

}  // namespace acv
