#include "data/EventLimits.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>

#include "data/IniFile.h"
#include "data/NumberText.h"

namespace acv {
namespace {

constexpr const char* kSection = "EVENTLimits";

// Each key with the range a value of its own may take.
struct LimitKey {
  const char* name;
  double EventLimits::*field;
  double low, high;
  const char* what;  // the value in words, and its unit
  const char* unit;
};
constexpr LimitKey kKeys[] = {
    {"NOMINAL", &EventLimits::nominal, 1.0, 100000.0, "the nominal voltage", "V"},
    {"DIP", &EventLimits::dipPct, 1.0, 99.0, "the dip threshold", "%"},
    {"SWELL", &EventLimits::swellPct, 101.0, 1000.0, "the swell threshold", "%"},
    {"INTERRUPTION", &EventLimits::interruptionPct, 0.0, 98.0, "the interruption threshold", "%"},
    {"HYSTERESIS", &EventLimits::hysteresisPct, 0.0, 50.0, "the hysteresis", "%"},
    {"OVERCURRENT", &EventLimits::overCurrent, 0.0, 100000.0, "the over-current limit", "A"},
    {"BAND", &EventLimits::bandPct, kBandPctLow, kBandPctHigh, "the band", "%"},
    {"FREQUENCY", &EventLimits::frequency, 50.0, 60.0, "the nominal frequency", "Hz"},
};

}  // namespace

std::string EventLimitsProblem(const EventLimits& l) {
  const auto bad = [](double v) { return !std::isfinite(v) || v < 0.0; };
  if (bad(l.nominal) || l.nominal == 0.0) return "the nominal voltage must be a positive number";
  if (bad(l.dipPct) || bad(l.swellPct) || bad(l.interruptionPct) || bad(l.hysteresisPct) ||
      bad(l.bandPct)) {
    return "the thresholds must be positive numbers";
  }
  if (bad(l.overCurrent)) return "the over-current limit must be a positive number (0 = none)";
  if (!(l.interruptionPct < l.dipPct && l.dipPct < 100.0 && 100.0 < l.swellPct)) {
    return "the thresholds must rise: interruption < dip < 100 % < swell";
  }
  if (l.dipPct + l.hysteresisPct >= l.swellPct - l.hysteresisPct) {
    return "the hysteresis must be smaller than half the gap between dip and swell";
  }
  return {};
}

// The supplies of the world run at one of two frequencies.
bool IsNominalFrequency(double hz) {
  return hz == 50.0 || hz == 60.0;
}

std::string EventLimitsRangeProblem(const EventLimits& limits) {
  if (!IsNominalFrequency(limits.frequency)) return "the nominal frequency must be 50 or 60 Hz";
  for (const LimitKey& key : kKeys) {
    const double value = limits.*key.field;
    if (value >= key.low && value <= key.high) continue;
    char range[96];
    std::snprintf(range, sizeof range, " must lie between %.10g and %.10g ", key.low, key.high);
    return key.what + std::string(range) + key.unit;
  }
  return {};
}

bool ParseDecimal(const std::string& text, double& value) {
  const char* begin = text.data();
  const char* end = begin + text.size();
  if (begin != end && *begin == '+') ++begin;
  if (begin == end) return false;
  double parsed = 0.0;
  const auto [ptr, ec] = std::from_chars(begin, end, parsed, std::chars_format::fixed);
  if (ec != std::errc() || ptr != end || !std::isfinite(parsed)) return false;
  value = parsed;
  return true;
}

EventLimits ReadEventLimits(const IniFile& ini) {
  EventLimits limits;
  for (const LimitKey& key : kKeys) {
    const std::optional<std::string> text = ini.Get(kSection, key.name);
    double value = 0.0;
    if (text && ParseDecimal(*text, value) && value >= key.low && value <= key.high) {
      limits.*key.field = value;
    }
  }
  if (!IsNominalFrequency(limits.frequency)) limits.frequency = EventLimits{}.frequency;
  if (!EventLimitsProblem(limits).empty()) return EventLimits{};
  return limits;
}

void WriteEventLimits(IniFile& ini, const EventLimits& limits) {
  // Like the recent-file list, the section appears once it says something:
  // a file that never held other limits stays as it always was.
  if (limits == EventLimits{} && !ini.Get(kSection, kKeys[0].name)) return;
  // As many digits as the Event Limits dialog shows, so the file reads back
  // what was typed.
  for (const LimitKey& key : kKeys) {
    ini.Set(kSection, key.name, FormatNumber("%.10g", limits.*key.field));
  }
}

std::string SaveEventLimits(const EventLimits& limits, const std::string& path) {
  IniFile ini = IniFile::Load(path);
  WriteEventLimits(ini, limits);
  return ini.Save(path);
}

}  // namespace acv
