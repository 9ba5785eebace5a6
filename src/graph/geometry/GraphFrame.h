#pragma once
// The steps of a graph paint that decide what is drawn, in their order:
// layout, keeping a zoom across a resize, applying a pending zoom, the
// horizontal and vertical scaling, the positions of every shown point and the
// labels; and the decision of the real-time update after each new point.
#include <vector>

#include "data/CDTDoc.h"
#include "graph/geometry/PointBuffers.h"
#include "graph/geometry/Scaling.h"

namespace acv {

struct GraphFrame {
  // The ten X label positions (for the vertical grid and the labels), or,
  // for a one-point series, the ten positions plus the single label.
  std::vector<XLabel> xLabels;
  bool singleLabel = false;
  XLabel single;
};

// Recomputes pointStep, the real-time compression level and the ticks and
// y positions of the current zoom state (a pending zoom is applied first when
// applyPending); a run's new point only extends the channels' pyramids.
// Returns true when the compression level advanced.
bool RecomputeScaling(GraphModel& m, const CDTDoc& doc, bool applyPending);

// Everything a paint of the graph face needs before it draws.
GraphFrame PrepareGraphPaint(GraphModel& m, const CDTDoc& doc, const Rect& client);

// The end of every graph paint: a pending zoom is done, no cursor is on the
// fresh picture, and the plot rectangle is remembered to detect a resize.
void FinishGraphPaint(GraphState& s);

// What the view does after a new real-time point was stored.
enum class IncrementalAction {
  None,              // nothing to draw (a rubber band is on the screen)
  DrawNewest,        // draw only the newest segment onto the picture
  Repaint,           // repaint the graph box
  RepaintWithErase,  // the X axis was compressed: repaint the graph box from scratch
};
IncrementalAction IncrementalUpdate(GraphModel& m, const CDTDoc& doc);

}  // namespace acv
