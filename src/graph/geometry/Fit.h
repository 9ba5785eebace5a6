#pragma once
// The Fit command: each shown channel's Y axis set to what its data span in
// the current display range, widened by 5 % and rounded out to a tidy step,
// so a 5 A current or a 230 V series fills the plot instead of a line on a
// +-500 axis.
#include <array>
#include <optional>

#include "data/CDTDoc.h"
#include "graph/geometry/GraphState.h"

namespace acv {

struct AxisRange {
  int from = 0;
  int to = 0;
  bool operator==(const AxisRange&) const = default;
};

// The tidy range around [low, high]: widened by 5 % of the span on each side
// (a flat series by 5 % of its value, at least 1; never below zero for
// data that are not below zero), then both ends rounded
// outwards to a multiple of the step 1, 2 or 5 x 10^k that divides the span
// into about ten. The ends are whole numbers and from < to always.
AxisRange TidyRange(double low, double high);

// The fitted range of each channel (index 0 CH1, 1 CH2) that the display
// plots and that has at least one value in firstPoint..lastPoint; empty for
// the others, whose axes stay as they are.
std::array<std::optional<AxisRange>, 2> FitAxes(const GraphState& s, const CDTDoc& doc);

}  // namespace acv
