#pragma once
// Markers A and B: the two ends of a measured span, placed on purpose (a
// click, the keys, another window choosing a span) and kept on their points
// through zooms, scrolls and pointer moves until moved or removed or the data
// they mark go. Unlike the pointer cursor they are never moved by the mouse
// passing over the plot. Also their colours and the readout of which points
// they are, with the differences B - A.
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "data/CDTDoc.h"
#include "graph/geometry/PointBuffers.h"

namespace acv {

enum class Marker { A, B };

// The marker's 0-based point, -1 when it is not placed.
std::int64_t MarkerIndex(const GraphState& s, Marker which);

// Puts the marker on the point (clamped into the display range); a negative
// index removes it. Placing A also shows its point in the readout line, as
// the pointer over it would. Refreshes the markers' readout. Returns true
// when the marker changed. Nothing is placed where the cursor may not be (no
// data, a drag); removing always works.
bool PlaceMarker(GraphModel& m, const CDTDoc& doc, Marker which, std::int64_t index);

// The pixel column the marker stands in as the picture is laid out now;
// nothing without the marker or when its point is not on the screen.
std::optional<int> MarkerColumn(const GraphModel& m, Marker which);

// The marker's colour (0x00BBGGRR): the first of a few bright colours that
// stands clearly apart from the plot background, both curves, the grid and
// the pointer cursor's dots (the inverse of the background), so that a
// marker never hides in a curve. A is picked after B and also apart from B's
// colour, so the two ends can be told apart at a glance.
std::uint32_t MarkerColour(const GraphState& s, Marker which);

// A time difference as the display's X axis reads time: "+0:01:30" (with
// "N d " from a day on) for the RMS series, "+87.4 µs" / "-8.74 ms" for the
// samples of a wave (a TR record, the EPA wave). UTF-8.
std::string DeltaTimeText(GraphMode mode, double seconds);

// The markers' readout (UTF-8): which points they are, by the readout's
// point numbers, a marker whose point is not on the screen said so, then
// with both the differences B - A, e.g.
//   "A:120  B:220 (off screen)  B-A  Δt:+0:01:40  ΔCH1:-12.3V  ΔCH2:+0.5A"
// for the channels the display shows. A channel whose value at either
// marker reads as a range word ("LO", "OL") shows that word: it is no
// measured value to subtract; one without a value at either point shows
// "--". Empty without either marker.
std::string MarkerReadoutText(const GraphModel& m, const CDTDoc& doc);

// Where the markers stand, for a window beside the graph: their points as
// the readout numbers them (a series point + 1), each one off the screen
// said so, e.g. "A at 1234, off screen; B at 1300". a and b are series
// points (-1: not placed), visible the series points on the screen (first >
// last: none). Empty without either marker.
std::string MarkerPlacesText(std::int64_t a, std::int64_t b,
                             std::pair<std::int64_t, std::int64_t> visible);

// The seconds between two 0-based points of the display, as their sample
// times (or the wave's sample spacing) give them.
double SecondsBetween(const GraphState& s, const CDTDoc& doc, std::int64_t from, std::int64_t to);

}  // namespace acv
