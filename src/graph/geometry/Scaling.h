#pragma once
// Layout and scaling of the graph face: the plot rectangle and the grey box
// around it, the ticks and labels of the two Y axes, the distance between two
// points on the X axis (with the compression levels of a real-time run), and
// the X labels. Every conversion to a pixel truncates toward zero.
#include <cstdint>
#include <string>
#include <vector>

#include "data/CDTDoc.h"
#include "graph/geometry/GraphState.h"
#include "graph/geometry/PointBuffers.h"

namespace acv {

// plotRect and graphBox for a client rectangle and the state's panelHeight.
void LayoutGraph(GraphState& s, const Rect& client);

// Full-view ticks of both channels from their Y limits and full-view offsets.
void ComputeFullViewTicks(GraphState& s);
// Zoomed ticks of both channels from the zoom's low and step and the zoomed offsets.
void ComputeZoomedTicks(GraphState& s);
// "%.2f" labels of the ticks of the current zoom state.
void FormatYLabels(GraphState& s);

// Where a Y label or tick goes.
int YLabelX(const GraphState& s, int channel, const std::string& label);
int YLabelY(const GraphState& s, int k);
int YTickY(const GraphState& s, int k);
// y of horizontal grid line k (0 = top).
int GridLineY(const GraphState& s, int k);

// The compression levels of a real-time run for the plot width W.
void BuildZoomLevels(GraphState& s);
// The level after one holding `previous` points, for the width W.
std::int32_t NextZoomLevel(std::int32_t previous, int width);

// Selects the first compression level whose entry holds at least `points`
// points (the Axis Setup dialog and the real-time display commands).
void FitZoomLevel(GraphState& s, std::int64_t points);

// Sets pointStep (the full-view distance between two points) and, during a
// real-time run, advances the compression level. Returns true when the level
// advanced, which asks for a repaint of the whole graph.
bool UpdatePointStep(GraphState& s, std::int32_t rtCount);

struct XLabel {
  double position = 0.0;  // x of the label's point
  int x = 0;              // the same, truncated: where its tick and grid line go
  int textX = 0;          // where its text lines start
  bool shown = false;     // inside the plot
  std::string text;       // point number, or time
  std::string date;       // second line, empty for point numbers
};

// Points between two X labels for the points per screen N.
std::int64_t XLabelSpacing(std::int64_t pointsPerScreen);

// The ten X label positions of the current view (only those inside the plot
// are shown), with their texts. x0 is the x of point firstPoint - 1 in the
// current zoom state.
std::vector<XLabel> ComputeXLabels(const GraphState& s, const CDTDoc& doc, double x0);

// The single label of a one-point series (lastPoint = 1): the point number
// or the series' start time, at its fixed place.
XLabel SinglePointLabel(const GraphState& s, const CDTDoc& doc);

}  // namespace acv
