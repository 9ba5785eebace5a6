#pragma once
// The pointer cursor over the plot: which point lies nearest to the mouse,
// and the readout line under the plot with that point's number, time and
// values (also shown for marker A when it is placed).
#include <cstdint>
#include <optional>
#include <string>

#include "data/CDTDoc.h"
#include "graph/geometry/PointBuffers.h"

namespace acv {

// Whether (x, y) counts as inside the plot for the cursor.
bool CursorInsidePlot(const GraphState& s, int x, int y);

// The 0-based point nearest to the mouse x; at exactly halfway between two
// points the left one.
std::int64_t NearestPoint(const GraphModel& m, int x);

// Decimals of the mode's values: 1 for the RMS and frequency series, 0 for
// S(VA), `waveDecimals` for wave samples (0 for raw counts, more once a
// sample scale below 1 makes a count a fraction of a volt).
int ValueDecimals(GraphMode mode, int waveDecimals = 0);

// One channel's value text: the mode's number format directly followed by
// the unit, or the range words "LO" / "OL" where the mode has them.
std::string FormatChannelValue(GraphMode mode, float value, const std::string& unit,
                               int waveDecimals = 0);

// The number the readout gives a 0-based point: counted from 1, a TR
// record's samples from the record's first.
std::int64_t PointNumber(const GraphState& s, std::int64_t index);

// The readout line of point index, or nothing when the point is outside the
// display range or the data set has no value there.
std::optional<std::string> ReadoutText(const GraphState& s, const CDTDoc& doc, std::int64_t index);

// Writes point index's line into the readout; false (the readout kept as it
// was) when the point has none.
bool ShowReadoutOf(GraphState& s, const CDTDoc& doc, std::int64_t index);

// The black bar the readout is written on.
Rect ReadoutBar(const GraphState& s);
// Where the markers' readout (A, B and B - A) goes, given the widths of the readout and of the
// differences' text: right-aligned on the bar when they fit beside the
// readout with a gap, else right-aligned on the black row just above it.
Rect DeltaReadoutBox(const GraphState& s, int readoutWidth, int deltaWidth);
// Everything a readout repaint covers: the bar, and the row above it while
// the markers' readout is shown.
Rect ReadoutArea(const GraphState& s);

// The pointer cursor at a mouse move that is not a drag: the dotted line at
// the pointer's x and the readout of the nearest point while the pointer is
// over the plot, no line once it has left. Markers stay where they are.
struct CursorMove {
  bool eraseOld = false;  // draw the line at oldX again to take it away
  int oldX = 0;
  bool drawNew = false;  // draw the line at state.cursorX
  bool readoutChanged = false;
};
CursorMove MoveCursor(GraphModel& m, const CDTDoc& doc, int x, int y);

}  // namespace acv
