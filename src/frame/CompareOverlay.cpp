#include "frame/CompareOverlay.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace acv {
namespace {

using Line = std::vector<std::array<int, 2>>;

// Builds the lines of one span column by column: of the points that fall in
// one pixel column only the first, the lowest, the highest and the last are
// kept, the lowest and highest in the order they came. Joined to the next
// column's first point, they cover the very pixels a line through every
// point would.
class ColumnLines {
 public:
  explicit ColumnLines(std::vector<Line>& out) : out_(out) {}
  ~ColumnLines() { Break(); }
  ColumnLines(const ColumnLines&) = delete;
  ColumnLines& operator=(const ColumnLines&) = delete;

  void Add(int x, int y) {
    if (open_ && x == x_) {
      if (y < low_) {
        low_ = y;
        lowAt_ = seen_;
      }
      if (y > high_) {
        high_ = y;
        highAt_ = seen_;
      }
      last_ = y;
      ++seen_;
      return;
    }
    Flush();
    open_ = true;
    x_ = x;
    first_ = low_ = high_ = last_ = y;
    lowAt_ = highAt_ = 0;
    seen_ = 1;
  }

  // A gap: the line ends here, and the next point starts a new one.
  void Break() {
    Flush();
    if (!line_.empty()) out_.push_back(std::move(line_));
    line_.clear();
  }

 private:
  void Put(int y) {
    if (line_.empty() || line_.back()[0] != x_ || line_.back()[1] != y) line_.push_back({x_, y});
  }
  void Flush() {
    if (!open_) return;
    open_ = false;
    Put(first_);
    Put(lowAt_ < highAt_ ? low_ : high_);
    Put(lowAt_ < highAt_ ? high_ : low_);
    Put(last_);
  }

  std::vector<Line>& out_;
  Line line_;
  bool open_ = false;
  int x_ = 0, first_ = 0, low_ = 0, high_ = 0, last_ = 0;
  std::int64_t lowAt_ = 0, highAt_ = 0, seen_ = 0;
};

}  // namespace

bool CompareOverlay::HasChannel(int ch) const {
  const auto c = static_cast<std::size_t>(ch);
  return spans[0].present[c] || spans[1].present[c];
}

std::string OverlayLegend(int which, TimeStamp from, TimeStamp to) {
  return std::string(which == 0 ? "A: " : "B: ") + FormatTime(from, kSampleTimeFormat) + " - " +
         FormatTime(to, kSampleTimeFormat);
}

OverlaySpan OverlaySpanOf(int which, TimeStamp from, TimeStamp to,
                          std::vector<StoreFamily>&& stretches) {
  OverlaySpan span;
  span.legend = OverlayLegend(which, from, to);
  span.from = from;
  span.length = to - from;
  for (StoreFamily& s : stretches) {
    OverlayRun run;
    run.offset = s.rmsStartTime - from;
    run.interval = std::max<std::int64_t>(1, std::llround(s.rmsInterval));
    const std::array<bool, 2> has = {s.hasCh1 != 0, s.hasCh2 != 0};
    const std::array<std::string*, 2> units = {&s.rmsUnitCh1, &s.rmsUnitCh2};
    const std::array<std::vector<float>*, 2> values = {&s.rmsCh1, &s.rmsCh2};
    for (std::size_t c = 0; c < 2; ++c) {
      if (!has[c]) continue;
      if (!span.present[c]) span.units[c] = *units[c];
      span.present[c] = true;
      run.values[c] = std::move(*values[c]);
    }
    span.runs.push_back(std::move(run));
  }
  return span;
}

PlotAxis ElapsedAxis(double length, int maxTicks) {
  PlotAxis a;
  a.min = 0.0;
  a.max = std::max(1.0, length);
  // Round times a reader counts in; beyond them whole weeks.
  static constexpr std::array<double, 21> kSteps = {
      1,    2,    5,    10,    15,    30,    60,    120,    300,    600,    900,
      1800, 3600, 7200, 10800, 21600, 43200, 86400, 172800, 604800, 1209600};
  // The ticks a step makes: 0 and every whole step up to the end.
  const auto ticks = [&a](double step) { return std::floor(a.max / step) + 1.0; };
  const double most = std::max(2, maxTicks);
  double step = kSteps.back();
  for (const double s : kSteps) {
    if (ticks(s) <= most) {
      step = s;
      break;
    }
  }
  while (ticks(step) > most) step += 604800.0;
  for (double v = 0.0; v <= a.max + 1e-9; v += step) a.ticks.push_back(v);
  return a;
}

std::string ElapsedText(double seconds) {
  std::int64_t left = std::llabs(std::llround(seconds));
  if (left == 0) return "0";
  std::string text = seconds < 0.0 ? "-" : "";
  const std::array<std::pair<std::int64_t, const char*>, 4> parts = {
      {{86400, "d"}, {3600, "h"}, {60, "min"}, {1, "s"}}};
  for (const auto& [size, unit] : parts) {
    if (left < size) continue;
    if (!text.empty() && text != "-") text += " ";
    text += std::to_string(left / size) + " " + unit;
    left %= size;
  }
  return text;
}

OverlayPlot LayOutOverlay(const CompareOverlay& overlay, int channel, const PlotArea& area) {
  OverlayPlot p;
  const auto ch = static_cast<std::size_t>(channel);
  // The first span with the channel sets its unit; the other one is drawn
  // only in the same unit, never volts over amperes on one axis.
  for (std::size_t s = 0; s < 2; ++s) {
    const OverlaySpan& span = overlay.spans[s];
    if (!span.present[ch]) continue;
    if (p.unit.empty() && !p.drawn[0] && !p.drawn[1]) p.unit = span.units[ch];
    p.drawn[s] = span.units[ch] == p.unit;
  }
  double length = 0.0;
  float lo = std::numeric_limits<float>::infinity(), hi = -lo;
  for (std::size_t s = 0; s < 2; ++s) {
    if (!p.drawn[s]) continue;
    const OverlaySpan& span = overlay.spans[s];
    length = std::max(length, static_cast<double>(span.length));
    for (const OverlayRun& run : span.runs) {
      for (const float v : run.values[ch]) {
        if (!std::isfinite(v)) continue;
        lo = std::min(lo, v);
        hi = std::max(hi, v);
      }
    }
  }
  const int width = area.right - area.left;
  p.x = ElapsedAxis(length, std::clamp(width / 60 + 1, 3, 9));
  if (lo > hi) return p;  // no value to draw
  p.y = RoundAxis(lo, hi, std::clamp((area.bottom - area.top) / 40 + 1, 2, 7));

  for (std::size_t s = 0; s < 2; ++s) {
    if (!p.drawn[s]) continue;
    ColumnLines lines(p.lines[s]);
    for (const OverlayRun& run : overlay.spans[s].runs) {
      const std::vector<float>& values = run.values[ch];
      for (std::size_t k = 0; k < values.size(); ++k) {
        const double t = static_cast<double>(run.offset) +
                         static_cast<double>(static_cast<std::int64_t>(k) * run.interval);
        if (!std::isfinite(values[k]) || t < 0.0 || t > p.x.max) {
          lines.Break();
          continue;
        }
        lines.Add(XPixel(p.x, area, t), YPixel(p.y, area, values[k]));
      }
      lines.Break();  // the next run begins after a gap
    }
  }
  return p;
}

std::string OverlayTitle(const CompareOverlay& overlay, const OverlayPlot& plot, int channel) {
  const auto ch = static_cast<std::size_t>(channel);
  std::string title = "CH" + std::to_string(channel + 1);
  if (!plot.unit.empty()) title += " (" + plot.unit + ")";
  title += ", elapsed from each span's start";
  for (std::size_t s = 0; s < 2; ++s) {
    if (overlay.spans[s].present[ch] && !plot.drawn[s]) {
      title +=
          std::string(s == 0 ? "; A" : "; B") + " in " + overlay.spans[s].units[ch] + ", not drawn";
    }
  }
  return title;
}

}  // namespace acv
