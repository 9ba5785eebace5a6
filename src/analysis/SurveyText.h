#pragma once
// The texts of a survey's answers: the weekly verdict with the table of dips
// and swells, and the daily profile, as a table for people and as JSON or
// CSV for other programs. Times in the CSV form, local time.
#include <string>
#include <vector>

#include "analysis/Compliance.h"
#include "analysis/Distribution.h"

namespace acv {

struct ComplianceReport {
  int channel = 0;  // the V channel judged
  EventLimits limits;
  std::vector<ComplianceWeek> weeks;
  EventTable events;
};

// {"channel","nominal","band_pct","weeks":[{"start","end","n","n1","n2","flagged",
// "expected","coverage","verdict"}],"events":{"rows":[...],"columns":[...],"counts":[[...]]}}
std::string ComplianceJson(const ComplianceReport& report);

// The weeks as an aligned table, then the table of dips and swells.
std::vector<std::string> ComplianceLines(const ComplianceReport& report);

// The daily profile of CH1 and CH2 (an absent channel: empty fields).
inline constexpr const char* kProfileCsvHeader =
    "slot,ch1_min,ch1_mean,ch1_max,ch2_min,ch2_mean,ch2_max";
// One line per slot: "00:00,229.1,230.2,231.4,,,"; a slot without points has empty fields.
std::vector<std::string> ProfileCsvLines(const std::array<const DailyProfile*, 2>& channels);

}  // namespace acv
