#include "analysis/AnalysisText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <nlohmann/json.hpp>

#include "data/JsonText.h"
#include "data/NumberText.h"
#include "data/TimeText.h"

namespace acv {
namespace {

// Duration in seconds as a number: whole seconds bare, fractions with seven
// significant digits (a transient's 251 samples: 0.0219374).
std::string SecondsNumber(double seconds) {
  if (seconds == std::trunc(seconds) && std::fabs(seconds) < 1e15)
    return FormatNumber("%.0f", seconds);
  return FormatNumber("%.7g", seconds);
}

std::string Padded(const std::string& text, std::size_t width, bool right) {
  if (text.size() >= width) return text;
  const std::string pad(width - text.size(), ' ');
  return right ? pad + text : text + pad;
}

// Lines of cells, columns padded to their widest cell; numbers (the columns
// listed in `right`) aligned right.
std::string AlignedTable(const std::vector<std::vector<std::string>>& rows,
                         const std::vector<bool>& right) {
  std::vector<std::size_t> widths;
  for (const auto& row : rows) {
    widths.resize(std::max(widths.size(), row.size()), 0);
    for (std::size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], row[c].size());
  }
  std::string out;
  for (const auto& row : rows) {
    std::string line;
    for (std::size_t c = 0; c < row.size(); ++c) {
      if (c > 0) line += "  ";
      line += Padded(row[c], widths[c], c < right.size() && right[c]);
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    out += line + "\n";
  }
  return out;
}

// The mean with two decimals, kept between the minimum and maximum as
// LevelText shows them with one: values of 5.149 .. 5.249 show 5.1 and 5.2,
// and their mean 5.249 would read 5.25, above every value shown.
std::string MeanText(const ChannelSpan& ch) {
  const auto shown = [](double v) { return std::strtod(FormatNumber("%.1f", v).c_str(), nullptr); };
  const double mean = std::clamp(ch.mean, shown(ch.min), shown(ch.max));
  return FormatNumber("%.2f", mean);
}

nlohmann::ordered_json BandObject(const BandShare& b) {
  nlohmann::ordered_json band;
  band["low"] = FloatDecimal(b.low);
  band["high"] = FloatDecimal(b.high);
  band["points"] = b.points;
  band["points_within"] = b.pointsInBand;
  band["ten_min_values"] = b.tenMinute.size();
  band["ten_min_flagged"] = b.tenMinuteFlagged;
  band["ten_min_within"] = b.tenMinuteInBand;
  return band;
}

// "1 damaged point", "11 damaged points".
std::string Count(std::int64_t n, const char* thing) {
  return std::to_string(n) + " " + thing + (n == 1 ? "" : "s");
}

std::string Percent(double share) {
  return FormatNumber("%.1f %%", 100.0 * share);
}

int Decimals(const Event& e) {
  return e.kind == EventKind::Transient ? 0 : 1;
}

// The extreme with its unit; "LO" alone, as the Data List shows it.
std::string ExtremeText(const Event& e) {
  const std::string value = LevelText(e.extreme, Decimals(e));
  return value == "LO" ? value : value + " " + e.unit;
}

}  // namespace

std::string LevelText(double value, int decimals) {
  return decimals == 0 ? FormatNumber("%.0f", value) : MeasuredText(value, 1);
}

std::string DurationText(double seconds) {
  if (!std::isfinite(seconds) || seconds < 0) return "";
  if (seconds < 1.0) return FormatNumber("%.1f ms", seconds * 1000.0);
  const long long total = std::llround(seconds);
  const long long days = total / 86400, rest = total % 86400;
  char buf[64];
  std::snprintf(buf, sizeof buf, "%02lld:%02lld:%02lld", rest / 3600, rest / 60 % 60, rest % 60);
  return days > 0 ? std::to_string(days) + " d " + buf : buf;
}

std::string EventCsvLine(int number, const Event& e) {
  const bool transient = e.kind == EventKind::Transient;
  std::string line =
      std::to_string(number) + "," + EventKindName(e.kind) + "," + ChannelName(e.channel) + ",";
  if (!transient)
    line += std::to_string(e.first) + "," + std::to_string(e.last);
  else
    line += ",";
  line += "," + FormatTime(e.start, kCsvTimeFormat) + "," + FormatTime(e.end, kCsvTimeFormat) +
          "," + SecondsNumber(e.durationS) + "," + FloatText(e.extreme) + "," + e.unit + "," +
          (e.open ? "1" : "0");
  return line;
}

std::vector<std::string> EventTableHeaders() {
  return {"No.", "Kind", "Channel", "First", "Last", "Start", "End", "Duration", "Extreme", "Open"};
}

std::vector<std::string> EventTableCells(int number, const Event& e, const char* timePattern) {
  const bool transient = e.kind == EventKind::Transient;
  return {std::to_string(number),
          EventKindName(e.kind),
          ChannelName(e.channel),
          transient ? "" : std::to_string(e.first),
          transient ? "" : std::to_string(e.last),
          FormatTime(e.start, timePattern),
          transient ? "" : FormatTime(e.end, timePattern),
          DurationText(e.durationS),
          ExtremeText(e),
          e.open ? "open" : ""};
}

std::string EventTableText(const std::vector<Event>& events, const char* timePattern) {
  std::vector<std::vector<std::string>> rows{EventTableHeaders()};
  for (std::size_t i = 0; i < events.size(); ++i) {
    rows.push_back(EventTableCells(static_cast<int>(i) + 1, events[i], timePattern));
  }
  return AlignedTable(rows, {true, false, false, true, true, false, false, true, true, false});
}

std::vector<std::vector<std::string>> StatisticsTable(const SpanStatistics& s) {
  std::vector<std::vector<std::string>> rows{
      {"Channel", "Unit", "Min", "first at", "Max", "first at", "Mean", "Std dev"}};
  for (int c = 0; c < 2; ++c) {
    const ChannelSpan& ch = s.channels[c];
    if (!ch.present) continue;
    if (ch.points == 0) {
      rows.push_back({ChannelName(c), ch.unit, "-", "", "-", "", "-", "-"});
      continue;
    }
    rows.push_back({ChannelName(c), ch.unit, LevelText(ch.min), std::to_string(ch.minPoint),
                    LevelText(ch.max), std::to_string(ch.maxPoint), MeanText(ch),
                    FormatNumber("%.3f", ch.stddev)});
  }
  return rows;
}

std::vector<std::string> PowerLines(const SpanStatistics& s) {
  if (!s.hasPower) return {};
  std::string energy = "Energy:      " + FormatNumber("%.3f", s.energyVah) + " VAh";
  if (s.powerLeftOut > 0) {
    energy += " (" + Count(s.powerLeftOut, "damaged point") + " left out)";
  }
  return {"Mean S(VA):  " + FormatNumber("%.1f", s.meanVa) + " VA", energy};
}

std::vector<std::string> LeftOutLines(const SpanStatistics& s) {
  std::vector<std::string> lines;
  for (int c = 0; c < 2; ++c) {
    const ChannelSpan& ch = s.channels[c];
    if (!ch.present || ch.leftOut == 0) continue;
    lines.push_back("Left out:    " + Count(ch.leftOut, "damaged point") + " of " + ChannelName(c) +
                    " (not numbers)");
  }
  return lines;
}

std::vector<std::string> StatisticsLines(const SpanStatistics& s, const char* timePattern) {
  std::vector<std::string> lines;
  lines.push_back("Points:      " + std::to_string(s.first) + " .. " + std::to_string(s.last) +
                  " (" + std::to_string(s.Points()) + ")");
  lines.push_back("Start:       " + FormatTime(s.start, timePattern));
  lines.push_back("End:         " + FormatTime(s.end, timePattern));
  const std::string table =
      AlignedTable(StatisticsTable(s), {false, false, true, true, true, true, true, true});
  for (std::size_t at = 0; at < table.size();) {
    const std::size_t end = table.find('\n', at);
    lines.push_back(table.substr(at, end - at));
    at = end + 1;
  }
  for (const std::string& line : LeftOutLines(s)) lines.push_back(line);
  for (const std::string& line : PowerLines(s)) lines.push_back(line);
  return lines;
}

std::string BandJson(const BandShare& b) {
  return JsonText(BandObject(b));
}

std::string StatisticsJson(const SpanStatistics& s, const std::vector<BandShare>& bands,
                           const std::array<Percentiles, 2>& percentiles) {
  nlohmann::ordered_json out;
  out["points"] = s.Points();
  out["first"] = s.first;
  out["last"] = s.last;
  out["start"] = FormatTime(s.start, kCsvTimeFormat);
  out["end"] = FormatTime(s.end, kCsvTimeFormat);
  for (int c = 0; c < 2; ++c) {
    const ChannelSpan& ch = s.channels[c];
    if (!ch.present) continue;
    const bool some = ch.points > 0;
    // A span without a finite value has no figures: null, not a made-up 0.
    const auto number = [some](double v) {
      return some ? nlohmann::ordered_json(FloatDecimal(v)) : nlohmann::ordered_json();
    };
    const auto point = [some](std::int64_t p) {
      return some ? nlohmann::ordered_json(p) : nlohmann::ordered_json();
    };
    nlohmann::ordered_json channel;
    channel["unit"] = ch.unit;
    channel["min"] = number(ch.min);
    channel["min_point"] = point(ch.minPoint);
    channel["max"] = number(ch.max);
    channel["max_point"] = point(ch.maxPoint);
    channel["mean"] = number(ch.mean);
    channel["stddev"] = number(ch.stddev);
    channel["left_out"] = ch.leftOut;
    if (percentiles[c].points > 0) {
      nlohmann::ordered_json quoted;
      for (std::size_t k = 0; k < kQuotedPercentiles.size(); ++k) {
        quoted["p" + std::to_string(kQuotedPercentiles[k])] = FloatDecimal(percentiles[c].at[k]);
      }
      channel["percentiles"] = std::move(quoted);
    }
    for (const BandShare& b : bands) {
      if (b.channel == c) channel["band"] = BandObject(b);
    }
    out[c == 0 ? "ch1" : "ch2"] = std::move(channel);
  }
  if (s.hasPower) {
    out["mean_va"] = FloatDecimal(s.meanVa);
    out["energy_vah"] = FloatDecimal(s.energyVah);
    out["energy_left_out"] = s.powerLeftOut;
  }
  return JsonText(out);
}

std::string BandHeading(const EventLimits& limits) {
  return "Band " + FormatNumber("%.1f", limits.BandLow()) + " .. " +
         FormatNumber("%.1f", limits.BandHigh()) + " V (Un " + FormatNumber("%g", limits.nominal) +
         " V ± " + FormatNumber("%g", limits.bandPct) + " %)";
}

std::string BandLine(const BandShare& share) {
  std::string line = std::string(ChannelName(share.channel)) + ": " +
                     std::to_string(share.pointsInBand) + " of " + std::to_string(share.points) +
                     " points within the band (" + Percent(share.PointShare()) + ")";
  if (share.pointsLeftOut > 0) {
    line += ", " + std::to_string(share.pointsLeftOut) + " damaged left out";
  }
  if (!share.hasTenMinute) {
    return line + "; no 10-minute values (the interval does not divide 600 s)";
  }
  if (share.tenMinute.empty()) return line + "; no complete 10-minute interval";
  line += "; " + std::to_string(share.tenMinute.size()) + " 10-minute values";
  if (share.tenMinuteFlagged > 0) {
    line += ", " + std::to_string(share.tenMinuteFlagged) + " flagged by short events";
  }
  const std::int64_t judged = share.TenMinuteJudged();
  if (judged == 0) return line;
  line += ", " + std::to_string(share.tenMinuteInBand) + " of " +
          (share.tenMinuteFlagged > 0 ? "the other " : "") + std::to_string(judged) + " within (" +
          Percent(share.TenMinuteShare()) + ")";
  return line;
}

}  // namespace acv
