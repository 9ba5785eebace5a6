#pragma once
// Cursor B: a second cursor the user places on purpose (Shift+click, the Alt
// keys, or another window choosing a span), kept on its point through zooms
// and scrolls until it is removed or the data it marks go; and the readout of
// the differences B - A between the two cursors.
#include <cstdint>
#include <optional>
#include <string>

#include "data/CDTDoc.h"
#include "graph/geometry/PointBuffers.h"

namespace acv {

// Puts B on the point (clamped into the display range); a negative index
// removes B. Refreshes the B - A readout. Returns true when B changed.
// Nothing happens where the cursor may not be placed (no data, a drag).
bool PlaceCursorB(GraphModel& m, const CDTDoc& doc, std::int64_t index);

// The pixel column B stands in as the picture is laid out now; nothing
// without B or when its point is not on the screen.
std::optional<int> CursorBColumn(const GraphModel& m);

// B's colour (0x00BBGGRR): the first of a few bright colours that stands
// clearly apart from the plot background, both curves and the grid, so that
// B never hides in a curve, and differs from cursor A's dots (the inverse of
// the background).
std::uint32_t CursorBColour(const GraphState& s);

// A time difference as the display's X axis reads time: "+0:01:30" (with
// "N d " from a day on) for the RMS series, "+87.4 µs" / "-8.74 ms" for the
// samples of a wave (a TR record, the EPA wave). UTF-8.
std::string DeltaTimeText(GraphMode mode, double seconds);

// The B - A readout, e.g. "B-A  Δt:+0:01:30  ΔCH1:-12.3V  ΔCH2:+0.5A"
// (UTF-8), for the channels the display shows. A channel whose value at
// either cursor reads as a range word ("LO", "OL") shows that word: it is no
// measured value to subtract; one without a value at either point shows
// "--". Empty without A's readout or without B.
std::string DeltaReadoutText(const GraphState& s, const CDTDoc& doc);

// The seconds between two 0-based points of the display, as their sample
// times (or the wave's sample spacing) give them.
double SecondsBetween(const GraphState& s, const CDTDoc& doc, std::int64_t from, std::int64_t to);

}  // namespace acv
