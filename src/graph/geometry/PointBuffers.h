#pragma once
// Pixel positions of the shown points in three slots: the full view, the
// zoomed view and a saved copy (what a nested zoom replaced).
//
// The x of a point is the same for both channels and always an affine
// function of its index: the full view spaces the points evenly, and a zoom
// or a resize maps them linearly. So a slot keeps x as that line (the x of
// point firstPoint - 1 and the distance between two points), exact for every
// point including those a real-time run adds after a zoom. The y of a point
// is likewise its value through the slot's linear scale, so a slot keeps the
// scale and a y is worked out when it is needed: a paint converts only the
// points it really looks at, which for a dense series are few, thanks to the
// min/max pyramid of each channel's values kept here between paints.
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "graph/geometry/GraphState.h"
#include "graph/geometry/MinMaxPyramid.h"
#include "graph/geometry/SeriesSource.h"

namespace acv {

inline constexpr int kSavedView = 2;
inline constexpr int kPositionSlots = 3;

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
  bool operator==(const YScale&) const = default;
};

// A channel's min/max pyramid and the values it was built from.
struct ChannelPyramid {
  MinMaxPyramid levels;
  SeriesSource::Key key;
  bool Matches(const SeriesSource& source, int channel) const {
    return key == source.KeyOf(channel) && levels.Count() <= source.Available(channel);
  }
};

struct PointBuffers {
  std::array<XMapping, kPositionSlots> pointX{};
  // [channel][slot]; not valid for a channel not plotted or without a scale.
  std::array<std::array<YScale, kPositionSlots>, 2> yScale{};
  std::int64_t base = 0;   // 0-based point index of element 0
  std::int64_t count = 0;  // points from base on that the view shows
  // Of each channel's values; kept between paints and extended as a run
  // adds points. Forgotten when the data set is replaced in place.
  std::array<ChannelPyramid, 2> pyramids;

  // y of 0-based point p of a channel in a slot; NaN where the point has
  // no value or the slot no scale.
  double Y(const SeriesSource& source, int channel, int slot, std::int64_t p) const;
  void ForgetData() { pyramids = {}; }
};

// Both the state and the positions of one graph: what the geometry rules act on.
struct GraphModel {
  GraphState state;
  PointBuffers buffers;
};

YScale MakeYScale(const Rect& plot, const TickSet& ticks);

// Number of points the buffers hold: the display range, but never more than
// the data set has, whatever the range claims.
std::int64_t BufferedPointCount(const GraphState& s, const SeriesSource& source);

// Sets the slot's y scales from its ticks and the shown points, and brings
// the plotted channels' pyramids up to the values: a series that only grew
// (a real-time run's new points) extends them; other values rebuild them.
void ComputeY(GraphModel& m, const SeriesSource& source, int slot);

}  // namespace acv
