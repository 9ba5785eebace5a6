#pragma once
// The curve of one channel as line segments between consecutive points, in
// device pixels, for the visible window of the current view, with the rule
// that leaves out segments lying wholly above the plot's top line or below its
// bottom line.
//
// Dense series: when many points fall into one pixel column, the segments
// inside that column are vertical lines at the same x, and consecutive ones
// share an end, so together they cover exactly the column's span from its
// lowest to its highest end. A span per column plus the segments that join
// neighbouring columns therefore paints the same pixels as every segment
// would, with at most about two lines per column. The draw/skip rule is still
// applied to every original segment first: a skipped segment lies beyond the
// top or bottom line, and the drawn segments on either side of it both reach
// that line, so the span of the drawn ones stays connected inside the plot.
// The spans come from each channel's min/max pyramid (ColumnWalk.h), so a
// paint looks at a few points per column, not at every point.
#include <cstdint>
#include <optional>
#include <vector>

#include "graph/geometry/ColumnWalk.h"
#include "graph/geometry/PointBuffers.h"

namespace acv {

struct CurveBatch {
  std::vector<SegmentLine> lines;
  std::vector<PixelPoint> marks;  // points that get a mark (when marks are on)
  void clear() {
    lines.clear();
    marks.clear();
  }
};

// Whether a segment crosses a horizontal line (one end strictly on each side).
inline bool CrossesLine(int ya, int yb, int line) {
  return (ya < line && yb > line) || (ya > line && yb < line);
}

// The current zoom state's slot: full view or zoomed.
inline int CurrentSlot(const GraphState& s) {
  return s.zoomState == kZoomedView ? kZoomedView : kFullView;
}

// Whether the channel's curve is drawn at all in the current mode and options.
bool ChannelShown(const GraphState& s, int channel);

// The range of segment numbers i (inclusive) of the visible window; empty
// when first > last.
struct SegmentRange {
  std::int64_t first = 1;
  std::int64_t last = 0;
};
SegmentRange VisibleSegments(const GraphState& s);

// Segment i of a channel in the current zoom state, truncated to pixels of
// the scale; nothing when one of its points has no position.
std::optional<SegmentLine> SegmentAt(const GraphModel& m, const SeriesSource& source, int channel,
                                     std::int64_t i, DeviceScale scale = {});

// The visible, drawn segments of a channel in device pixels of the scale
// (the draw/skip rule uses the plot's top and bottom lines in the same
// pixels); with decimate, the segments inside a device pixel column are
// merged into one vertical span. Marks are collected when withMarks is set
// (consecutive duplicates dropped). The source is the one the model's
// positions were last computed from. A series read where it lies
// (ExternalSeries) spanning kMostPointsReadSingly points or more is always
// decimated, from its own pyramid, and without marks.
inline constexpr std::int64_t kMostPointsReadSingly = 65536;
void BuildCurve(const GraphModel& m, const SeriesSource& source, int channel, bool decimate,
                bool withMarks, CurveBatch& out, DeviceScale scale = {});

// The plot's top and bottom lines in device pixels.
inline int DeviceTop(const GraphState& s, DeviceScale scale) {
  return scale.Pixel(s.plotRect.top);
}
inline int DeviceBottom(const GraphState& s, DeviceScale scale) {
  return scale.Pixel(s.plotRect.bottom);
}

// The segment joining the two newest points, rtCount - 2 and rtCount - 1.
std::optional<SegmentLine> NewestSegment(const GraphModel& m, const SeriesSource& source,
                                         int channel, std::int32_t rtCount, DeviceScale scale = {});

// The six pixels of a point mark: the rows above and below the point, three
// pixels wide.
inline constexpr PixelPoint kMarkOffsets[6] = {{-1, -1}, {0, -1}, {1, -1}, {-1, 1}, {0, 1}, {1, 1}};

}  // namespace acv
