#pragma once
// The Distribution window's figures and its small plots, without widgets:
// per channel the histogram with its cumulative probability, the quoted
// percentiles and the daily profile over the Statistics window's span; the
// text that copies them; and where each plot puts its axes, ticks, bars and
// lines in pixels.
#include <array>
#include <string>
#include <vector>

#include "analysis/Distribution.h"
#include "frame/DisplayAnalysis.h"

namespace acv {

struct ChannelDistribution {
  bool present = false;
  std::string unit;
  Percentiles percentiles;
  Histogram histogram;
  DailyProfile profile{};
};

struct DistributionFigures {
  std::string seriesName;  // "STORE RMS"
  StatisticsSpan span;     // of the series, 0-based
  TimeStamp from = 0, to = 0;
  std::array<ChannelDistribution, 2> channels;
  bool Empty() const { return !channels[0].present && !channels[1].present; }
};

// The figures of points span.first .. span.last of the series; `nominal`
// sets the bins of a channel in V.
DistributionFigures DistributionOf(const AnalysisSeries& series, const std::string& seriesName,
                                   const StatisticsSpan& span, double nominal);

// The figures as text for the clipboard: the span, per channel the
// percentiles, the histogram's bins (from, to, points, share, cumulative)
// and the daily profile's slots, tab-separated.
std::string DistributionText(const DistributionFigures& f);
// The percentiles of one channel in a line.
std::string PercentilesLine(const ChannelDistribution& c, int channel);
// What the window and the printed page say above the plots: the series and
// its span, then the percentiles line of each channel.
std::vector<std::string> DistributionHeading(const DistributionFigures& f);

// ---- the small plots ----------------------------------------------------------

// An axis: its range and the round values it marks (steps of 1, 2 or 5
// times a power of ten), all inside the range.
struct PlotAxis {
  double min = 0.0, max = 1.0;
  std::vector<double> ticks;
};
// The range widened to the nearest ticks around lo .. hi, with at most
// `maxTicks` ticks; a range of one value gets room around it.
PlotAxis RoundAxis(double lo, double hi, int maxTicks);

// The plotting area in pixels: x from left to right - 1, y from top to bottom - 1.
struct PlotArea {
  int left = 0, top = 0, right = 1, bottom = 1;
};
int XPixel(const PlotAxis& axis, const PlotArea& area, double value);
int YPixel(const PlotAxis& axis, const PlotArea& area, double value);

// The histogram plot: x the values from a little below CP01 to a little
// above CP99 (the bins outside are counted, not drawn), y on the left the
// share of the points in each bin (%), on the right the cumulative
// probability (0 .. 100 %).
struct HistogramPlot {
  PlotAxis x, share, cumulative;
  struct Bar {
    int left = 0, right = 0, top = 0;  // right exclusive; each bar stands on area.bottom
  };
  std::vector<Bar> bars;                     // one per bin, edge to edge
  std::vector<std::array<int, 2>> cumulate;  // the curve: (x, y) at each bin's upper edge
  std::vector<int> percentileX;              // x of CP05, CP50, CP95
  std::int64_t below = 0, above = 0;         // points of bins outside the plot
};
HistogramPlot LayOutHistogram(const ChannelDistribution& c, const PlotArea& area);

// The daily profile plot: x the time of day (0 .. 24 h, ticks every 3 h),
// y the values; a line each for the minimum, mean and maximum through the
// middles of the slots, broken where a slot has no point.
struct ProfilePlot {
  PlotAxis x, y;
  // Runs of (x, y) points without a break, for min, mean and max.
  std::array<std::vector<std::vector<std::array<int, 2>>>, 3> lines;
};
ProfilePlot LayOutProfile(const ChannelDistribution& c, const PlotArea& area);

// A tick's label: as many decimals as the step between ticks needs.
std::string TickText(double value, const PlotAxis& axis);

}  // namespace acv
