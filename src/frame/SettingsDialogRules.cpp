#include "frame/SettingsDialogRules.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <tuple>

#include "graph/geometry/Colours.h"
#include "logger/CommandBuilders.h"

namespace acv {

std::vector<int> ColourListEntries(std::span<const std::uint32_t> values) {
  std::vector<int> entries;
  for (std::size_t i = 0; i < values.size(); ++i) {
    const bool seen = std::any_of(entries.begin(), entries.end(), [&](int e) {
      return values[static_cast<std::size_t>(e)] == values[i];
    });
    if (!seen) entries.push_back(static_cast<int>(i));
  }
  return entries;
}

std::vector<int> ColourListEntries() {
  std::array<std::uint32_t, kNamedColourCount> table{};
  for (int i = 0; i < kNamedColourCount; ++i) table[static_cast<std::size_t>(i)] = colourOf(i);
  return ColourListEntries(table);
}

ColourChoice ColoursOf(const AppSettings& s) {
  return {s.backgroundColour, s.ch1Colour, s.ch2Colour, s.ch3Colour, s.gridColour};
}

void PutColours(const ColourChoice& c, AppSettings& s) {
  s.backgroundColour = c.background;
  s.ch1Colour = c.ch1;
  s.ch2Colour = c.ch2;
  s.ch3Colour = c.ch3;
  s.gridColour = c.grid;
}

int AxisPointCount(DisplayMode mode, const CDTDoc& doc) {
  switch (mode) {
    case DisplayMode::StoreRms:
      return doc.rmsCount;
    case DisplayMode::StoreTr:
      return kTrWavePoints;
    case DisplayMode::RealTimeEpa:
      return kEpaPoints;
    case DisplayMode::RealTimeRms:
    case DisplayMode::RealTimeFreq:
    case DisplayMode::RealTimeS:
      return doc.rtCount;
    default:
      return 0;
  }
}

AxisTexts AxisTextsOf(const AxisValues& v) {
  AxisTexts t;
  const int values[kAxisFieldCount] = {v.ch1From, v.ch1To,      v.ch2From,
                                       v.ch2To,   v.firstPoint, v.lastPoint};
  for (int i = 0; i < kAxisFieldCount; ++i)
    t[static_cast<std::size_t>(i)] = std::to_string(values[i]);
  return t;
}

std::string AxisTextWhileTyping(AxisField field, const std::string& text, int pointCount) {
  if (text.empty() || text == "-") return text;
  int value = ParseLeadingInt(text);
  if (field == AxisField::XFrom) value = std::max(value, 1);
  if (field == AxisField::XTo) value = std::min(value, pointCount);
  return std::to_string(value);
}

AxisCheck CheckAxisFields(const AxisTexts& texts, bool runInProgress, DisplayMode mode,
                          int rtCount) {
  auto read = [&](AxisField f) { return ParseLeadingInt(texts[static_cast<std::size_t>(f)]); };
  AxisCheck check;
  AxisValues& v = check.values;
  v.ch1From = read(AxisField::Ch1From);
  v.ch1To = read(AxisField::Ch1To);
  v.ch2From = read(AxisField::Ch2From);
  v.ch2To = read(AxisField::Ch2To);
  v.firstPoint = read(AxisField::XFrom);
  v.lastPoint = read(AxisField::XTo);
  // A running series keeps growing: the X axis must end at its newest point.
  const bool growing = mode == DisplayMode::RealTimeRms || mode == DisplayMode::RealTimeFreq ||
                       mode == DisplayMode::RealTimeS;
  if (runInProgress && growing) v.lastPoint = rtCount;
  if (v.ch1From >= v.ch1To || v.ch2From >= v.ch2To) check.messages.push_back(kYAxisOrderMessage);
  if (v.firstPoint >= v.lastPoint) check.messages.push_back(kXAxisOrderMessage);
  return check;
}

void PutAxisLimits(FrameState& frame, DisplayMode mode, const AxisValues& v) {
  const int kind = DisplayKindOf(mode);
  if (kind < 1 || kind > kDisplayKinds) return;
  const auto row = static_cast<std::size_t>(kind - 1);
  frame.yAxisLow[row] = {v.ch1From, v.ch2From};
  frame.yAxisHigh[row] = {v.ch1To, v.ch2To};
}

AxisValues AxisValuesOf(const DisplaySetup& s) {
  return {s.ch1From, s.ch1To, s.ch2From, s.ch2To, s.firstPoint, s.lastPoint};
}

void PutAxisValues(DisplaySetup& s, const AxisValues& v) {
  std::tie(s.ch1From, s.ch1To, s.ch2From, s.ch2To, s.firstPoint, s.lastPoint) =
      std::tie(v.ch1From, v.ch1To, v.ch2From, v.ch2To, v.firstPoint, v.lastPoint);
}

ViewOptionValues ViewOptionsOf(const AppSettings& s) {
  const int values[kViewOptionCount] = {s.showCh1,       s.showCh2,       s.showCh3,
                                        s.capLevelShown, s.ch2AlarmShown, s.ch3AlarmShown,
                                        s.markPoints,    s.yGrid,         s.xGrid};
  ViewOptionValues options{};
  for (int i = 0; i < kViewOptionCount; ++i) options[static_cast<std::size_t>(i)] = values[i] == 1;
  return options;
}

void PutViewOptions(const ViewOptionValues& o, AppSettings& s) {
  int* fields[kViewOptionCount] = {&s.showCh1,       &s.showCh2,       &s.showCh3,
                                   &s.capLevelShown, &s.ch2AlarmShown, &s.ch3AlarmShown,
                                   &s.markPoints,    &s.yGrid,         &s.xGrid};
  for (int i = 0; i < kViewOptionCount; ++i) *fields[i] = o[static_cast<std::size_t>(i)] ? 1 : 0;
}

// ---- Event Limits -----------------------------------------------------------------

namespace {

constexpr double EventLimits::*kLimitFields[kLimitFieldCount] = {
    &EventLimits::nominal,         &EventLimits::dipPct,        &EventLimits::swellPct,
    &EventLimits::interruptionPct, &EventLimits::hysteresisPct, &EventLimits::overCurrent,
    &EventLimits::bandPct,         &EventLimits::frequency};
constexpr const char* kLimitNames[kLimitFieldCount] = {"the nominal voltage",
                                                       "the dip threshold",
                                                       "the swell threshold",
                                                       "the interruption threshold",
                                                       "the hysteresis",
                                                       "the over-current limit",
                                                       "the band",
                                                       "the nominal frequency"};

std::string Capitalised(std::string text) {
  if (!text.empty()) text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
  return text;
}

std::string Trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

LimitTexts LimitTextsOf(const EventLimits& limits) {
  LimitTexts texts;
  for (int f = 0; f < kLimitFieldCount; ++f) {
    const double value = limits.*kLimitFields[f];
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.10g", value);
    texts[static_cast<std::size_t>(f)] = buf;
  }
  if (limits.overCurrent == 0.0) texts[static_cast<std::size_t>(LimitField::OverCurrent)].clear();
  return texts;
}

LimitsCheck CheckLimitTexts(const LimitTexts& texts) {
  LimitsCheck check;
  for (int f = 0; f < kLimitFieldCount; ++f) {
    const std::string text = Trimmed(texts[static_cast<std::size_t>(f)]);
    double value = 0.0;
    if (text.empty() && f == static_cast<int>(LimitField::OverCurrent)) {
      value = 0.0;  // no over-current events
    } else if (!ParseDecimal(text, value)) {
      check.problem = "Please enter a number for " + std::string(kLimitNames[f]) + ".";
      return check;
    }
    check.limits.*kLimitFields[f] = value;
  }
  std::string problem = EventLimitsRangeProblem(check.limits);
  if (problem.empty()) problem = EventLimitsProblem(check.limits);
  if (!problem.empty()) check.problem = Capitalised(problem) + ".";
  return check;
}

}  // namespace acv
