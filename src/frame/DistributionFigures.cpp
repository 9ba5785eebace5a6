#include "frame/DistributionFigures.h"

#include <algorithm>
#include <cmath>

#include "data/NumberText.h"

namespace acv {
namespace {

constexpr std::array<int, 3> kMarkedPercentiles = {5, 50, 95};

std::string Value(double v) {
  return FormatNumber("%.6g", v);
}

std::string SlotText(int slot) {
  const int hour = slot / 6, minute = (slot % 6) * 10;
  return (hour < 10 ? "0" : "") + std::to_string(hour) + ":" + (minute < 10 ? "0" : "") +
         std::to_string(minute);
}

// The largest power of ten times 1, 2 or 5 that is at most `rough`.
double RoundStep(double rough) {
  const double power = std::pow(10.0, std::floor(std::log10(rough)));
  for (const double m : {5.0, 2.0, 1.0}) {
    if (m * power <= rough) return m * power;
  }
  return power;
}

// The next round step above `step` (itself a round step).
double NextStep(double step) {
  const double power = std::pow(10.0, std::floor(std::log10(step) + 1e-9));
  const double m = step / power;
  return (m < 1.5 ? 2.0 : m < 3.5 ? 5.0 : 10.0) * power;
}

int Scaled(double fraction, int from, int length) {
  return from + static_cast<int>(std::lround(fraction * length));
}

}  // namespace

DistributionFigures DistributionOf(const AnalysisSeries& series, const std::string& seriesName,
                                   const StatisticsSpan& span, double nominal) {
  DistributionFigures f;
  f.seriesName = seriesName;
  f.span = span;
  if (span.Empty() || series.count == 0) return f;
  f.from = series.PointTime(span.first);
  f.to = series.PointTime(span.last);
  for (int c = 0; c < 2; ++c) {
    const SeriesChannel& channel = series.channels[static_cast<std::size_t>(c)];
    ChannelDistribution& d = f.channels[static_cast<std::size_t>(c)];
    if (!channel.present) continue;
    d.present = true;
    d.unit = channel.unit;
    d.percentiles = PercentilesOf(series, c, span.first, span.last);
    d.histogram = HistogramOf(series, c, span.first, span.last, nominal);
    d.profile = DailyProfileOf(series, c, span.first, span.last);
  }
  return f;
}

std::string PercentilesLine(const ChannelDistribution& c, int channel) {
  std::string line = "CH" + std::to_string(channel + 1) + " (" + c.unit + "):";
  if (c.percentiles.points == 0) return line + " no values";
  for (std::size_t i = 0; i < kQuotedPercentiles.size(); ++i) {
    line +=
        "  CP" + FormatNumber("%02.0f", kQuotedPercentiles[i]) + " " + Value(c.percentiles.at[i]);
  }
  return line + "  (" + std::to_string(c.percentiles.points) + " values)";
}

std::vector<std::string> DistributionHeading(const DistributionFigures& f) {
  if (f.span.Empty() || f.Empty()) return {"No distribution for this display."};
  std::vector<std::string> lines = {f.seriesName + ", points " + std::to_string(f.span.first + 1) +
                                    " .. " + std::to_string(f.span.last + 1) + ", " +
                                    FormatTime(f.from, kSampleTimeFormat) + " .. " +
                                    FormatTime(f.to, kSampleTimeFormat)};
  for (int c = 0; c < 2; ++c) {
    const ChannelDistribution& d = f.channels[static_cast<std::size_t>(c)];
    if (d.present) lines.push_back(PercentilesLine(d, c));
  }
  return lines;
}

std::string DistributionText(const DistributionFigures& f) {
  std::string t = f.seriesName + ", points " + std::to_string(f.span.first + 1) + " .. " +
                  std::to_string(f.span.last + 1) + ", " + FormatTime(f.from, kCsvTimeFormat) +
                  " .. " + FormatTime(f.to, kCsvTimeFormat) + "\n";
  for (int c = 0; c < 2; ++c) {
    const ChannelDistribution& d = f.channels[static_cast<std::size_t>(c)];
    if (!d.present) continue;
    t += "\n" + PercentilesLine(d, c) + "\n";
    const Histogram& h = d.histogram;
    if (h.points > 0) {
      t += "\nfrom\tto\tpoints\tshare %\tcumulative %\n";
      const std::vector<double> cumulative = h.Cumulative();
      for (std::size_t k = 0; k < h.counts.size(); ++k) {
        const double lower = static_cast<double>(h.firstBin + static_cast<std::int64_t>(k));
        t += Value(lower * h.binWidth) + "\t" + Value((lower + 1.0) * h.binWidth) + "\t" +
             std::to_string(h.counts[k]) + "\t" +
             FormatNumber(
                 "%.3f", 100.0 * static_cast<double>(h.counts[k]) / static_cast<double>(h.points)) +
             "\t" + FormatNumber("%.3f", 100.0 * cumulative[k]) + "\n";
      }
    }
    t += "\nslot\tpoints\tmin\tmean\tmax\n";
    for (int s = 0; s < kProfileSlots; ++s) {
      const ProfileSlot& slot = d.profile[static_cast<std::size_t>(s)];
      t += SlotText(s) + "\t" + std::to_string(slot.points);
      if (slot.points > 0)
        t += "\t" + Value(slot.min) + "\t" + Value(slot.mean) + "\t" + Value(slot.max);
      t += "\n";
    }
  }
  return t;
}

PlotAxis RoundAxis(double lo, double hi, int maxTicks) {
  PlotAxis a;
  if (!std::isfinite(lo) || !std::isfinite(hi)) return a;
  if (hi < lo) std::swap(lo, hi);
  if (hi - lo < 1e-9 * std::max(1.0, std::fabs(hi))) {
    // One value: a little room either side, as the graph's fitted axes keep;
    // around zero (a channel through an interruption) a whole unit, not
    // ticks of millionths.
    const double room = hi != 0.0 ? std::fabs(hi) * 0.01 : 1.0;
    lo -= room;
    hi += room;
  }
  const int intervals = std::max(1, maxTicks - 1);
  double step = RoundStep((hi - lo) / intervals);
  // Widened to whole steps, the range may need one step more than allowed.
  while (std::ceil(hi / step - 1e-9) - std::floor(lo / step + 1e-9) > intervals) {
    step = NextStep(step);
  }
  a.min = std::floor(lo / step + 1e-9) * step;
  a.max = std::ceil(hi / step - 1e-9) * step;
  for (double v = a.min; v <= a.max + step * 1e-6; v += step) {
    // Zero exactly, not a rounding error away from it.
    a.ticks.push_back(std::fabs(v) < step * 1e-6 ? 0.0 : v);
  }
  return a;
}

int XPixel(const PlotAxis& axis, const PlotArea& area, double value) {
  const double span = axis.max - axis.min;
  return Scaled(span > 0.0 ? (value - axis.min) / span : 0.0, area.left,
                area.right - 1 - area.left);
}

int YPixel(const PlotAxis& axis, const PlotArea& area, double value) {
  const double span = axis.max - axis.min;
  return Scaled(span > 0.0 ? (axis.max - value) / span : 1.0, area.top, area.bottom - 1 - area.top);
}

HistogramPlot LayOutHistogram(const ChannelDistribution& c, const PlotArea& area) {
  HistogramPlot p;
  const Histogram& h = c.histogram;
  p.cumulative = RoundAxis(0.0, 100.0, 6);
  if (h.points == 0 || h.counts.empty()) return p;
  const double w = h.binWidth;
  const double first = static_cast<double>(h.firstBin) * w;
  const double end = first + static_cast<double>(h.counts.size()) * w;
  // The plot shows where the values lie, CP01 .. CP99 with room either side:
  // an interruption at 0 V would otherwise squeeze a supply's whole spread
  // into one bar. The points left out are counted, and the cumulative
  // curve still starts from all of them.
  const double low = c.percentiles.at.front(), high = c.percentiles.at.back();
  const double pad = std::max(0.25 * (high - low), 2.0 * w);
  p.x = RoundAxis(std::max(first, std::floor((low - pad) / w) * w),
                  std::min(end, std::ceil((high + pad) / w) * w), 7);
  const std::vector<double> cumulative = h.Cumulative();
  std::vector<std::size_t> shown;
  std::int64_t most = 0;
  for (std::size_t k = 0; k < h.counts.size(); ++k) {
    const double lower = first + static_cast<double>(k) * w;
    if (lower < p.x.min - 1e-9 * w) {
      p.below += h.counts[k];
    } else if (lower + w > p.x.max + 1e-9 * w) {
      p.above += h.counts[k];
    } else {
      shown.push_back(k);
      most = std::max(most, h.counts[k]);
    }
  }
  const auto share = [&](std::int64_t n) {
    return 100.0 * static_cast<double>(n) / static_cast<double>(h.points);
  };
  p.share = RoundAxis(0.0, std::max(share(most), 1.0), 6);
  if (shown.empty()) return p;
  // Edge k of the bins, worked out alike for the bar on either side of it.
  const auto edge = [&](std::size_t k) {
    return XPixel(p.x, area, static_cast<double>(h.firstBin + static_cast<std::int64_t>(k)) * w);
  };
  for (const std::size_t k : shown) {
    HistogramPlot::Bar bar;
    bar.left = edge(k);
    // Edge to edge: each bar ends where the next begins, and none is
    // narrower than a pixel.
    bar.right = std::max(bar.left + 1, edge(k + 1));
    bar.top = YPixel(p.share, area, share(h.counts[k]));
    if (p.cumulate.empty()) {
      p.cumulate.push_back({bar.left, YPixel(p.cumulative, area, share(p.below))});
    }
    p.bars.push_back(bar);
    p.cumulate.push_back({edge(k + 1), YPixel(p.cumulative, area, 100.0 * cumulative[k])});
  }
  for (const int percent : kMarkedPercentiles) {
    const auto* at = std::find(kQuotedPercentiles.begin(), kQuotedPercentiles.end(), percent);
    p.percentileX.push_back(XPixel(
        p.x, area, c.percentiles.at[static_cast<std::size_t>(at - kQuotedPercentiles.begin())]));
  }
  return p;
}

ProfilePlot LayOutProfile(const ChannelDistribution& c, const PlotArea& area) {
  ProfilePlot p;
  p.x.min = 0.0;
  p.x.max = 24.0;
  for (int hour = 0; hour <= 24; hour += 3) p.x.ticks.push_back(hour);
  double lo = 0.0, hi = 0.0;
  bool any = false;
  for (const ProfileSlot& s : c.profile) {
    if (s.points == 0) continue;
    lo = any ? std::min(lo, s.min) : s.min;
    hi = any ? std::max(hi, s.max) : s.max;
    any = true;
  }
  if (!any) return p;
  p.y = RoundAxis(lo, hi, 6);
  for (std::size_t line = 0; line < 3; ++line) {
    std::vector<std::array<int, 2>> run;
    for (int s = 0; s < kProfileSlots; ++s) {
      const ProfileSlot& slot = c.profile[static_cast<std::size_t>(s)];
      if (slot.points == 0) {
        if (!run.empty()) p.lines[line].push_back(std::move(run));
        run.clear();
        continue;
      }
      const double v = line == 0 ? slot.min : line == 1 ? slot.mean : slot.max;
      run.push_back({XPixel(p.x, area, (s + 0.5) / 6.0), YPixel(p.y, area, v)});
    }
    if (!run.empty()) p.lines[line].push_back(std::move(run));
  }
  return p;
}

std::string TickText(double value, const PlotAxis& axis) {
  const double step = axis.ticks.size() > 1 ? axis.ticks[1] - axis.ticks[0] : 1.0;
  const int decimals = std::clamp(static_cast<int>(std::ceil(-std::log10(step) - 1e-9)), 0, 6);
  return FormatNumber(("%." + std::to_string(decimals) + "f").c_str(), value);
}

}  // namespace acv
