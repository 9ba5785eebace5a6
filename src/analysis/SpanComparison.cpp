#include "analysis/SpanComparison.h"

#include <algorithm>
#include <cstdio>
#include <nlohmann/json.hpp>

#include "analysis/AnalysisText.h"
#include "data/JsonText.h"
#include "data/NumberText.h"

namespace acv {
namespace {

// The 95th percentile among the quoted ones.
constexpr std::size_t kP95 = 3;
static_assert(kQuotedPercentiles[kP95] == 95);

std::optional<double> Difference(bool both, double a, double b) {
  if (!both) return std::nullopt;
  return b - a;
}

nlohmann::ordered_json Number(const std::optional<double>& v) {
  return v ? nlohmann::ordered_json(FloatDecimal(*v)) : nlohmann::ordered_json();
}

// A figure for a person to read, with the decimals the statistics text
// gives it (not the float's noise, as 230.00002); a difference is signed,
// and one that rounds to nothing is a plain 0.
std::string Cell(const std::optional<double>& v, int decimals, bool signedValue = false) {
  if (!v) return "-";
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*f", decimals, *v);
  std::string text = buffer;
  const bool zero = text.find_first_not_of("-0.") == std::string::npos;
  if (zero) return text.front() == '-' ? text.substr(1) : text;
  if (signedValue && *v > 0) text.insert(0, "+");
  return text;
}

}  // namespace

std::array<std::int64_t, 5> CountEventKinds(const std::vector<Event>& events) {
  std::array<std::int64_t, 5> counts{};
  for (const Event& e : events) {
    const auto at = std::find(kComparedEventKinds.begin(), kComparedEventKinds.end(), e.kind);
    if (at != kComparedEventKinds.end()) ++counts[at - kComparedEventKinds.begin()];
  }
  return counts;
}

SpanComparison CompareSpans(ComparedSpan a, ComparedSpan b) {
  SpanComparison c;
  for (int ch = 0; ch < 2; ++ch) {
    const ChannelSpan &x = a.stats.channels[ch], &y = b.stats.channels[ch];
    const bool both = x.present && y.present && x.unit == y.unit && x.points > 0 && y.points > 0;
    ChannelDifference& d = c.channels[ch];
    d.mean = Difference(both, x.mean, y.mean);
    d.min = Difference(both, x.min, y.min);
    d.max = Difference(both, x.max, y.max);
    d.p95 = Difference(both && a.percentiles[ch].points > 0 && b.percentiles[ch].points > 0,
                       a.percentiles[ch].at[kP95], b.percentiles[ch].at[kP95]);
  }
  const bool power =
      a.stats.hasPower && b.stats.hasPower && a.stats.channels[0].unit == b.stats.channels[0].unit;
  c.meanVa = Difference(power, a.stats.meanVa, b.stats.meanVa);
  c.energyVah = Difference(power, a.stats.energyVah, b.stats.energyVah);
  for (std::size_t k = 0; k < c.events.size(); ++k) c.events[k] = b.events[k] - a.events[k];
  c.a = std::move(a);
  c.b = std::move(b);
  return c;
}

std::string ComparisonJson(const SpanComparison& c) {
  nlohmann::ordered_json out;
  out["a"] = nlohmann::ordered_json::parse(StatisticsJson(c.a.stats, c.a.band, c.a.percentiles));
  out["b"] = nlohmann::ordered_json::parse(StatisticsJson(c.b.stats, c.b.band, c.b.percentiles));
  nlohmann::ordered_json difference;
  for (int ch = 0; ch < 2; ++ch) {
    if (!c.a.stats.channels[ch].present && !c.b.stats.channels[ch].present) continue;
    const ChannelDifference& d = c.channels[ch];
    difference[ch == 0 ? "ch1" : "ch2"] = {{"mean", Number(d.mean)},
                                           {"min", Number(d.min)},
                                           {"max", Number(d.max)},
                                           {"p95", Number(d.p95)}};
  }
  if (c.meanVa) {
    difference["mean_va"] = Number(c.meanVa);
    difference["energy_vah"] = Number(c.energyVah);
  }
  nlohmann::ordered_json events;
  for (std::size_t k = 0; k < kComparedEventKinds.size(); ++k) {
    events[EventKindName(kComparedEventKinds[k])] = c.events[k];
  }
  difference["events"] = std::move(events);
  out["difference"] = std::move(difference);
  return JsonText(out);
}

std::vector<std::string> ComparisonLines(const SpanComparison& c, const char* timePattern) {
  std::vector<std::array<std::string, 4>> rows;
  rows.push_back({"", "A", "B", "B - A"});
  rows.push_back({"Start", FormatTime(c.a.stats.start, timePattern),
                  FormatTime(c.b.stats.start, timePattern), ""});
  rows.push_back(
      {"End", FormatTime(c.a.stats.end, timePattern), FormatTime(c.b.stats.end, timePattern), ""});
  rows.push_back(
      {"Points", std::to_string(c.a.stats.Points()), std::to_string(c.b.stats.Points()), ""});
  const auto value = [](bool some, double v) {
    return some ? std::optional<double>(v) : std::nullopt;
  };
  for (int ch = 0; ch < 2; ++ch) {
    const ChannelSpan &x = c.a.stats.channels[ch], &y = c.b.stats.channels[ch];
    if (!x.present && !y.present) continue;
    const std::string name =
        std::string(ch == 0 ? "CH1" : "CH2") + " " + (x.present ? x.unit : y.unit) + " ";
    const bool sx = x.present && x.points > 0, sy = y.present && y.points > 0;
    const ChannelDifference& d = c.channels[ch];
    rows.push_back({name + "mean", Cell(value(sx, x.mean), 2), Cell(value(sy, y.mean), 2),
                    Cell(d.mean, 2, true)});
    rows.push_back(
        {name + "min", Cell(value(sx, x.min), 1), Cell(value(sy, y.min), 1), Cell(d.min, 1, true)});
    rows.push_back(
        {name + "max", Cell(value(sx, x.max), 1), Cell(value(sy, y.max), 1), Cell(d.max, 1, true)});
    const Percentiles &px = c.a.percentiles[ch], &py = c.b.percentiles[ch];
    rows.push_back({name + "CP95", Cell(value(px.points > 0, px.at[kP95]), 1),
                    Cell(value(py.points > 0, py.at[kP95]), 1), Cell(d.p95, 1, true)});
  }
  if (c.a.stats.hasPower || c.b.stats.hasPower) {
    rows.push_back({"Mean S(VA)", Cell(value(c.a.stats.hasPower, c.a.stats.meanVa), 1),
                    Cell(value(c.b.stats.hasPower, c.b.stats.meanVa), 1), Cell(c.meanVa, 1, true)});
    rows.push_back({"Energy(VAh)", Cell(value(c.a.stats.hasPower, c.a.stats.energyVah), 3),
                    Cell(value(c.b.stats.hasPower, c.b.stats.energyVah), 3),
                    Cell(c.energyVah, 3, true)});
  }
  for (std::size_t k = 0; k < kComparedEventKinds.size(); ++k) {
    const std::int64_t d = c.events[k];
    rows.push_back({std::string("Events: ") + EventKindName(kComparedEventKinds[k]),
                    std::to_string(c.a.events[k]), std::to_string(c.b.events[k]),
                    (d > 0 ? "+" : "") + std::to_string(d)});
  }
  std::array<std::size_t, 4> width{};
  for (const auto& row : rows) {
    for (std::size_t i = 0; i < 4; ++i) width[i] = std::max(width[i], row[i].size());
  }
  std::vector<std::string> lines;
  for (const auto& row : rows) {
    std::string line = row[0] + std::string(width[0] - row[0].size(), ' ');
    for (std::size_t i = 1; i < 4; ++i) {
      line += "  " + std::string(width[i] - row[i].size(), ' ') + row[i];
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    lines.push_back(std::move(line));
  }
  return lines;
}

}  // namespace acv
