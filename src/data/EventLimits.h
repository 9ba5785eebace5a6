#pragma once
// The limits the event list measures an RMS series against: the nominal
// voltage and the dip, swell and interruption thresholds with their
// hysteresis, as percentages of it, and an optional over-current limit; and
// the band the supply voltage should stay in (Un +- band %), which the band
// summary and the 10-minute values are judged by. Kept in the settings file
// in a section of their own.
#include <string>

namespace acv {

class IniFile;

struct EventLimits {
  // Un, volts, in primary units: behind a transformer the primary voltage
  // (11000), since the series are analysed after the channel scaling.
  double nominal = 230.0;
  double dipPct = 90.0;          // a dip starts below this share of Un
  double swellPct = 110.0;       // a swell starts above it
  double interruptionPct = 5.0;  // an interruption starts below this share of Un
  double hysteresisPct = 2.0;    // an event ends this share of Un back inside
  double overCurrent = 0.0;      // amperes; 0 = no over-current events
  double bandPct = 10.0;         // the band: Un +- this share of Un
  double frequency = 50.0;       // the supply's nominal frequency, Hz: 50 or 60

  // The levels in the channel's unit.
  double DipLevel() const { return nominal * dipPct / 100.0; }
  double SwellLevel() const { return nominal * swellPct / 100.0; }
  double InterruptionLevel() const { return nominal * interruptionPct / 100.0; }
  double Hysteresis() const { return nominal * hysteresisPct / 100.0; }
  // The band the supply should stay in: Un +- band %.
  double BandLow() const { return nominal * (100.0 - bandPct) / 100.0; }
  double BandHigh() const { return nominal * (100.0 + bandPct) / 100.0; }

  bool operator==(const EventLimits&) const = default;
};

// The band's range in percent of Un.
inline constexpr double kBandPctLow = 1.0, kBandPctHigh = 50.0;

// An over-current ends at or below the limit less this share of it.
inline constexpr double kOverCurrentHysteresisPct = 2.0;

// "" when the limits make sense together, else what is wrong, in words
// fit for a message: a level that is not a positive finite number, or the
// thresholds out of order (they must rise interruption < dip < 100 % < swell,
// and the hysteresis must leave the end of a dip below the end of a swell).
std::string EventLimitsProblem(const EventLimits& limits);

// "" when each limit lies in the range the settings file keeps (a value
// outside it would be read back as its default), else which one does not.
std::string EventLimitsRangeProblem(const EventLimits& limits);

// The section "EVENTLimits" of the settings file. A key that is missing or
// not a number in its range keeps its default; limits that do not make sense
// together fall back to the defaults as a whole, so a hand-edited file never
// yields an event list measured against crossed thresholds.
EventLimits ReadEventLimits(const IniFile& ini);
// Written once the limits differ from the defaults (or the section exists).
void WriteEventLimits(IniFile& ini, const EventLimits& limits);
// Writes the limits into the settings file at `path` at once, every other
// key as it was, through the settings' own safe writer (a temporary file and
// a rename), so that other programs reading the file (the command line's
// events and stats) agree with the window at once. "" or the error.
std::string SaveEventLimits(const EventLimits& limits, const std::string& path);

// A strict decimal number ("230", "2.5", "-1"), or false.
bool ParseDecimal(const std::string& text, double& value);

}  // namespace acv
