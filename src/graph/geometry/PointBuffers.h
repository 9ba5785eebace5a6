#pragma once
// Pixel positions of the shown points, as doubles, in three slots: the full
// view, the zoomed view and a saved copy (what a nested zoom replaced).
//
// The x of a point is the same for both channels and always an affine
// function of its index: the full view spaces the points evenly, and a zoom
// or a resize maps them linearly. So a slot keeps x as that line (the x of
// point firstPoint - 1 and the distance between two points), exact for every
// point including those a real-time run adds after a zoom. The y of each
// point and channel is stored, index 0 being point firstPoint - 1.
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "graph/geometry/GraphState.h"

namespace acv {

inline constexpr int kSavedView = 2;
inline constexpr int kPositionSlots = 3;

// What the y of one channel and slot were last computed with: the scale,
// the base, and how many leading points came from values (the rest NaN).
struct YComputed {
  double bottom = 0.0, pixelsPerUnit = 0.0, tick0 = 0.0;
  bool valid = false;
  std::int64_t base = -1;
  std::int64_t fromValues = 0;
  bool operator==(const YComputed&) const = default;
};

struct PointBuffers {
  std::array<XMapping, kPositionSlots> pointX{};
  // [channel][slot]; NaN where a point has no value or no scale.
  std::array<std::array<std::vector<double>, kPositionSlots>, 2> pointY;
  std::int64_t base = 0;  // 0-based point index of element 0
  // [channel][slot]; reset by anything that moves y between slots.
  std::array<std::array<YComputed, kPositionSlots>, 2> computed{};

  double Y(int channel, int slot, std::int64_t p) const {
    const auto& v = pointY[channel == 0 ? 0 : 1][slot];
    const std::int64_t i = p - base;
    if (i < 0 || i >= static_cast<std::int64_t>(v.size())) {
      return std::numeric_limits<double>::quiet_NaN();
    }
    return v[static_cast<std::size_t>(i)];
  }
};

// Both the state and the positions of one graph: what the geometry rules act on.
struct GraphModel {
  GraphState state;
  PointBuffers buffers;
};

class SeriesSource;

// Maps a value to a y pixel position with a channel's ticks: the bottom tick
// on the plot's bottom line, the top tick on its top line.
struct YScale {
  double bottom = 0.0;
  double pixelsPerUnit = 0.0;
  double tick0 = 0.0;
  bool valid = false;
  double At(double v) const {
    return valid ? bottom - (v - tick0) * pixelsPerUnit : std::numeric_limits<double>::quiet_NaN();
  }
};
YScale MakeYScale(const Rect& plot, const TickSet& ticks);

// Number of points the buffers hold: the display range, but never more than
// the data set has, whatever the range claims.
std::int64_t BufferedPointCount(const GraphState& s, const SeriesSource& source);

// Recomputes the y of every shown point of the plotted channels in the slot
// from the values and that slot's ticks.
void ComputeY(GraphModel& m, const SeriesSource& source, int slot);

// The same for a series that only grew (a real-time run's new points): while
// the slot's scale and base are those of the last computation, only the
// points not yet computed from values are; otherwise all are. Values already
// computed must not have changed (a whole new data set takes ComputeY).
void ExtendY(GraphModel& m, const SeriesSource& source, int slot);

}  // namespace acv
