#pragma once
// The Compare window's overlay without widgets: both spans' series of a
// channel in one plot, each placed by the time elapsed since its own span
// began, so a week before a change lies over the week after it. What each
// plot puts where in pixels is decided here; graph/CompareOverlayPainter
// only draws it. Every pixel column keeps at most the first, lowest,
// highest and last point of a line through it, so weeks of one-second
// points draw as fast as a screenful, and the line differs in no pixel
// from one drawn through every point.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "data/CDTDoc.h"
#include "data/TimeText.h"
#include "frame/DistributionFigures.h"

namespace acv {

// Points at a regular interval without a gap between them; NaN where a
// point holds no value. Missing points between two runs are a gap.
struct OverlayRun {
  std::int64_t offset = 0;                   // seconds from the span's start to the first point
  std::int64_t interval = 1;                 // seconds between points
  std::array<std::vector<float>, 2> values;  // per channel; empty when absent
};

// One span's series, from its start `from` on.
struct OverlaySpan {
  std::string legend;  // "A: 09/03/26 00:00:00 - 15/03/26 23:59:59"
  TimeStamp from = 0;
  std::int64_t length = 0;  // seconds from the start to the span's end
  std::array<bool, 2> present{};
  std::array<std::string, 2> units;
  std::vector<OverlayRun> runs;
};

struct CompareOverlay {
  std::array<OverlaySpan, 2> spans;  // A (before) and B (after)
  // Whether any span has channel `ch` (0 or 1).
  bool HasChannel(int ch) const;
};

// "A: <from> - <to>" of span 0 (A) or 1 (B).
std::string OverlayLegend(int which, TimeStamp from, TimeStamp to);

// Span `which` (0 A, 1 B) from `from` to `to` (inclusive) out of its
// stretches between gaps, each a STORE data set; their points are moved,
// not copied.
OverlaySpan OverlaySpanOf(int which, TimeStamp from, TimeStamp to,
                          std::vector<StoreFamily>&& stretches);

// An axis of elapsed seconds from 0 to `length`, its ticks at round times
// (a minute, a quarter of an hour, an hour, six hours, a day, a week ...)
// no more than `maxTicks` of them.
PlotAxis ElapsedAxis(double length, int maxTicks);
// "0", "45 s", "30 min", "1 h 30 min", "2 d 12 h".
std::string ElapsedText(double seconds);

// One channel's plot: x the elapsed time, y the values of both spans;
// per span the lines to draw, each a run of (x, y) pixels broken at gaps.
struct OverlayPlot {
  PlotAxis x, y;
  std::string unit;
  std::array<bool, 2> drawn{};  // a span lacking the channel, or in another unit, is not
  std::array<std::vector<std::vector<std::array<int, 2>>>, 2> lines;
};
OverlayPlot LayOutOverlay(const CompareOverlay& overlay, int channel, const PlotArea& area);

// The plot's title: "CH1 (V), elapsed from each span's start", with a note
// on a span whose channel is in another unit and so not drawn.
std::string OverlayTitle(const CompareOverlay& overlay, const OverlayPlot& plot, int channel);

}  // namespace acv
