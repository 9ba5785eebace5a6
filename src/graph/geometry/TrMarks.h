#pragma once
// Marks of the TR records on the STORE RMS time axis: each record's trigger
// time as a small tick standing on the plot's bottom line, in the colour of
// the record's channel, so that the transients can be found in the RMS
// series and opened from there.
#include <cstdint>
#include <vector>

#include "data/CDTDoc.h"
#include "graph/geometry/PointBuffers.h"

namespace acv {

inline constexpr int kTrMarkHeight = 7;  // pixels above the bottom line
inline constexpr int kTrMarkHalfWidth = 1;
inline constexpr int kTrMarkGrab = 3;  // extra pixels around a mark for the mouse

struct TrMark {
  int record = 0;
  int x = 0;
  std::uint8_t channel = 0;  // 241 CH1, 242 CH2
};

// The marks inside the plot of a STORE RMS graph laid out by its last paint,
// left to right, of the channels the view options show; none in other
// displays. At most one mark per pixel column
// (the first record there): two transients closer than a pixel look the same.
std::vector<TrMark> TrMarks(const GraphModel& m, const CDTDoc& doc);

// The pixels of the mark at x.
Rect TrMarkRect(const GraphState& s, int x);

// The record whose mark is under (x, y), or -1.
int TrMarkAt(const GraphModel& m, const CDTDoc& doc, int x, int y);

}  // namespace acv
