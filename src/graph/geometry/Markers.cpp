#include "graph/geometry/Markers.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "graph/geometry/Colours.h"
#include "graph/geometry/CursorPlacement.h"
#include "graph/geometry/Readout.h"
#include "graph/geometry/SeriesSource.h"

namespace acv {
namespace {

// Whether the mode's points are the samples of one wave, whose spacing is a
// fraction of a millisecond, rather than a series of RMS values.
bool WaveSamples(GraphMode mode) {
  return mode == GraphMode::StoreTr || mode == GraphMode::RealTimeEpa;
}

// A difference with its sign; one that reads as zero has none ("0.0", not
// "-0.0").
std::string SignedNumber(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%+.*f", decimals, value);
  if (std::strtod(text, nullptr) == 0.0) std::snprintf(text, sizeof text, "%.*f", decimals, 0.0);
  return text;
}

std::string ClockText(double seconds) {
  const long long total = std::llabs(std::llround(seconds));
  if (total == 0) return "0:00:00";
  const long long days = total / 86400, rest = total % 86400;
  char clock[64];
  if (days > 0) {
    std::snprintf(clock, sizeof clock, "%lld d %02lld:%02lld:%02lld", days, rest / 3600,
                  rest / 60 % 60, rest % 60);
  } else {
    std::snprintf(clock, sizeof clock, "%lld:%02lld:%02lld", rest / 3600, rest / 60 % 60,
                  rest % 60);
  }
  return (seconds < 0 ? "-" : "+") + std::string(clock);
}

std::string WaveTimeText(double seconds) {
  const double ms = seconds * 1000.0;
  if (std::abs(ms) < 1.0) {
    const std::string us = SignedNumber(ms * 1000.0, 1);
    return us + " \u00b5s";
  }
  return SignedNumber(ms, 2) + " ms";
}

// One channel's B - A with its unit.
std::string ChannelDelta(const GraphState& s, const SeriesSource& source, int channel,
                         std::int64_t a, std::int64_t b, const std::string& unit) {
  if (!source.Has(channel, a) || !source.Has(channel, b)) return "--";
  const float va = source.Value(channel, a);
  const float vb = source.Value(channel, b);
  // A range word at either end is no measured value to subtract.
  for (const float v : {va, vb}) {
    std::string shown = FormatChannelValue(s.mode, v, unit, source.WaveDecimals(channel));
    if (shown == "LO" || shown == "OL") return shown;
  }
  return SignedNumber(static_cast<double>(vb) - static_cast<double>(va),
                      ValueDecimals(s.mode, source.WaveDecimals(channel))) +
         unit;
}

// Colour distance in RGB, squared.
int Distance2(std::uint32_t a, std::uint32_t b) {
  const int dr = RedOf(a) - RedOf(b), dg = GreenOf(a) - GreenOf(b), db = BlueOf(a) - BlueOf(b);
  return dr * dr + dg * dg + db * db;
}

int Luma(std::uint32_t c) {
  return (299 * RedOf(c) + 587 * GreenOf(c) + 114 * BlueOf(c)) / 1000;
}

}  // namespace

std::int64_t MarkerIndex(const GraphState& s, Marker which) {
  return which == Marker::A ? s.markerAIndex : s.markerBIndex;
}

bool PlaceMarker(GraphModel& m, const CDTDoc& doc, Marker which, std::int64_t index) {
  GraphState& s = m.state;
  if (index >= 0 && !CursorUsable(s)) return false;
  const std::int64_t point = index < 0 ? -1 : ClampToRange(s, index);
  std::int64_t& marker = which == Marker::A ? s.markerAIndex : s.markerBIndex;
  if (point >= 0 && which == Marker::A) ShowReadoutOf(s, doc, point);
  if (point == marker) return false;
  marker = point;
  s.markerText = MarkerReadoutText(m, doc);
  return true;
}

std::optional<int> MarkerColumn(const GraphModel& m, Marker which) {
  const GraphState& s = m.state;
  const std::int64_t index = MarkerIndex(s, which);
  if (index < 0 || s.displayMode != kGraphFace || s.lastPoint <= 0) return std::nullopt;
  return PointColumn(m, index);
}

std::uint32_t MarkerColour(const GraphState& s, Marker which) {
  // Cyan, magenta, yellow, orange, then white and black as the last resort.
  constexpr std::array<std::uint32_t, 6> kCandidates{0xFFFF00, 0xFF00FF, 0x00FFFF,
                                                     0x00A5FF, 0xFFFFFF, 0x000000};
  const std::uint32_t background = colourOf(s.backgroundColour) & 0xFFFFFFu;
  std::vector<std::uint32_t> taken{
      background, colourOf(s.ch1Colour) & 0xFFFFFFu, colourOf(s.ch2Colour) & 0xFFFFFFu,
      colourOf(s.gridColour) & 0xFFFFFFu, ~background & 0xFFFFFFu};  // the pointer's dots
  if (which == Marker::A) taken.push_back(MarkerColour(s, Marker::B));
  constexpr int kApart = 160 * 160;
  constexpr int kContrast = 80;
  std::uint32_t best = kCandidates[0];
  int bestNearest = -1;
  for (const std::uint32_t c : kCandidates) {
    int nearest = Distance2(c, taken[0]);
    for (const std::uint32_t t : taken) nearest = std::min(nearest, Distance2(c, t));
    if (nearest >= kApart && std::abs(Luma(c) - Luma(background)) >= kContrast) return c;
    if (nearest > bestNearest) {
      bestNearest = nearest;
      best = c;
    }
  }
  return best;
}

std::string DeltaTimeText(GraphMode mode, double seconds) {
  if (!std::isfinite(seconds)) return "--";
  return WaveSamples(mode) ? WaveTimeText(seconds) : ClockText(seconds);
}

double SecondsBetween(const GraphState& s, const CDTDoc& doc, std::int64_t from, std::int64_t to) {
  const double points = static_cast<double>(to) - static_cast<double>(from);
  switch (s.mode) {
    case GraphMode::StoreRms: {
      // Whole seconds of each point's time, as the readout's times are.
      const double interval = doc.rmsInterval;
      return std::trunc(static_cast<double>(to) * interval) -
             std::trunc(static_cast<double>(from) * interval);
    }
    case GraphMode::StoreTr:
      return points * kTrSampleMs / 1000.0;
    case GraphMode::RealTimeEpa:
      return points * kEpaSampleMs / 1000.0;
    case GraphMode::RealTimeRms:
    case GraphMode::RealTimeFreq:
    case GraphMode::RealTimeS:
      return points * doc.rtInterval;
  }
  return 0.0;
}

std::string MarkerPlacesText(std::int64_t a, std::int64_t b,
                             std::pair<std::int64_t, std::int64_t> visible) {
  std::string text;
  for (const auto& [name, point] : {std::pair{"A", a}, std::pair{"B", b}}) {
    if (point < 0) continue;
    if (!text.empty()) text += "; ";
    text += std::string(name) + " at " + std::to_string(point + 1);
    if (point < visible.first || point > visible.second) text += ", off screen";
  }
  return text;
}

std::string MarkerReadoutText(const GraphModel& m, const CDTDoc& doc) {
  const GraphState& s = m.state;
  auto valid = [&](std::int64_t i) { return i >= 0 && i < s.lastPoint; };
  const std::int64_t a = s.markerAIndex;
  const std::int64_t b = s.markerBIndex;
  std::string text;
  for (const Marker which : {Marker::A, Marker::B}) {
    const std::int64_t i = MarkerIndex(s, which);
    if (!valid(i)) continue;
    if (!text.empty()) text += "  ";
    text += (which == Marker::A ? "A:" : "B:") + std::to_string(PointNumber(s, i));
    if (s.displayMode == kGraphFace && !PointColumn(m, i)) text += " (off screen)";
  }
  if (!valid(a) || !valid(b)) return text;
  const SeriesSource source(doc, s.mode);
  text += "  B-A  \u0394t:" + DeltaTimeText(s.mode, SecondsBetween(s, doc, a, b));
  if (s.mode == GraphMode::RealTimeS) {
    return text + "  \u0394S:" + ChannelDelta(s, source, 0, a, b, s.ch1UnitText);
  }
  if (s.plotCh1 == 1) text += "  \u0394CH1:" + ChannelDelta(s, source, 0, a, b, s.ch1UnitText);
  if (s.plotCh2 == 1) text += "  \u0394CH2:" + ChannelDelta(s, source, 1, a, b, s.ch2UnitText);
  return text;
}

}  // namespace acv
