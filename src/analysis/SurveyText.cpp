#include "analysis/SurveyText.h"

#include <cstdio>
#include <nlohmann/json.hpp>

#include "data/JsonText.h"
#include "data/NumberText.h"
#include "data/TimeText.h"

namespace acv {
namespace {

std::string Percent(double share) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f %%", share * 100.0);
  return text;
}

std::string Share(std::int64_t part, std::int64_t whole) {
  return whole > 0 ? Percent(static_cast<double>(part) / static_cast<double>(whole)) : "-";
}

}  // namespace

std::string ComplianceJson(const ComplianceReport& r) {
  nlohmann::ordered_json out;
  out["channel"] = ChannelName(r.channel);
  out["nominal"] = FloatDecimal(r.limits.nominal);
  out["band_pct"] = FloatDecimal(r.limits.bandPct);
  nlohmann::ordered_json weeks = nlohmann::ordered_json::array();
  for (const ComplianceWeek& w : r.weeks) {
    nlohmann::ordered_json week;
    week["start"] = FormatTime(w.start, kCsvTimeFormat);
    week["end"] = FormatTime(w.end, kCsvTimeFormat);
    week["n"] = w.n;
    week["n1"] = w.n1;
    week["n2"] = w.n2;
    week["flagged"] = w.flagged;
    week["expected"] = w.expected;
    week["coverage"] = FloatDecimal(w.Coverage());
    week["verdict"] = WeekVerdictName(w.verdict);
    weeks.push_back(std::move(week));
  }
  out["weeks"] = std::move(weeks);
  nlohmann::ordered_json events;
  events["rows"] = EventTable::kRowNames;
  events["columns"] = EventTable::kColumnNames;
  events["counts"] = r.events.counts;
  out["events"] = std::move(events);
  return JsonText(out);
}

std::vector<std::string> ComplianceLines(const ComplianceReport& r) {
  std::vector<std::string> lines;
  char line[200];
  std::snprintf(line, sizeof line,
                "Weekly verdict of %s: 10-minute values within Un %s V ± %s %% for 95 %% of "
                "the week, all within -15 %% .. +10 %%",
                ChannelName(r.channel), FloatText(r.limits.nominal).c_str(),
                FloatText(r.limits.bandPct).c_str());
  lines.emplace_back(line);
  lines.emplace_back(
      "week from            values  outside band   outside -15/+10 %  flagged  coverage  verdict");
  for (const ComplianceWeek& w : r.weeks) {
    const std::string outside = std::to_string(w.n1) + " (" + Share(w.n1, w.n) + ")";
    std::snprintf(line, sizeof line, "%-19s  %6lld  %-13s  %17lld  %7lld  %8s  %s",
                  FormatTime(w.start, kCsvTimeFormat).c_str(), static_cast<long long>(w.n),
                  outside.c_str(), static_cast<long long>(w.n2), static_cast<long long>(w.flagged),
                  Percent(w.Coverage()).c_str(), WeekVerdictName(w.verdict));
    lines.emplace_back(line);
  }
  lines.emplace_back("");
  lines.emplace_back(
      "Dips (residual voltage) and swells (highest voltage) in % of Un, by duration");
  std::string head = "                ";
  for (const char* column : EventTable::kColumnNames) {
    std::snprintf(line, sizeof line, "%10s", column);
    head += line;
  }
  lines.push_back(head);
  for (int row = 0; row < EventTable::kRows; ++row) {
    std::snprintf(line, sizeof line, "%-16s", EventTable::kRowNames[static_cast<std::size_t>(row)]);
    std::string text = line;
    for (const std::int64_t n : r.events.counts[static_cast<std::size_t>(row)]) {
      std::snprintf(line, sizeof line, "%10lld", static_cast<long long>(n));
      text += line;
    }
    lines.push_back(text);
  }
  return lines;
}

std::vector<std::string> ProfileCsvLines(const std::array<const DailyProfile*, 2>& channels) {
  std::vector<std::string> lines;
  for (int s = 0; s < kProfileSlots; ++s) {
    char slot[8];
    std::snprintf(slot, sizeof slot, "%02d:%02d", s / 6, s % 6 * 10);
    std::string line = slot;
    for (const DailyProfile* profile : channels) {
      const ProfileSlot* p = profile ? &(*profile)[static_cast<std::size_t>(s)] : nullptr;
      if (p && p->points > 0) {
        line += "," + FloatText(p->min) + "," + FloatText(p->mean) + "," + FloatText(p->max);
      } else {
        line += ",,,";
      }
    }
    lines.push_back(line);
  }
  return lines;
}

}  // namespace acv
