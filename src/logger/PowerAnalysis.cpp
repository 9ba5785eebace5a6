#include "logger/PowerAnalysis.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdio>
#include <numbers>

namespace acv {
namespace {

constexpr double kDegreesPerRadian = 180.0 / std::numbers::pi;

bool Usable(const PowerChannel& c) {
  const WaveWindow& w = c.window;
  return c.rms > 0.0f && w.periods > 0 && w.first >= 0 && w.last > w.first &&
         static_cast<std::size_t>(w.last) < c.wave.size();
}

// An angle in degrees brought into (-180, 180].
double Normalised(double degrees) {
  double d = std::remainder(degrees, 360.0);
  if (d <= -180.0) d += 360.0;
  return d;
}

// The value with the given number of decimals; a value that rounds to zero
// is written as 0, never as "-0".
std::string Fixed(double value, int decimals, const char* unit = "") {
  const double scale = std::pow(10.0, decimals);
  if (std::round(value * scale) == 0.0) value = 0.0;
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*f%s", decimals, value, unit);
  return buf;
}

// An angle as text: one decimal and the degree sign, in (-180, 180] also
// after rounding.
std::string Degrees(double value) {
  if (std::round(value * 10.0) <= -1800.0) value += 360.0;
  return Fixed(value, 1, "\u00b0");
}

}  // namespace

std::optional<PowerValues> AnalysePower(const PowerChannel& ch1, const PowerChannel& ch2) {
  const bool ch1IsVoltage = ch1.unit == "V" && ch2.unit == "A";
  if (!ch1IsVoltage && !(ch1.unit == "A" && ch2.unit == "V")) return std::nullopt;
  const PowerChannel& voltage = ch1IsVoltage ? ch1 : ch2;
  const PowerChannel& current = ch1IsVoltage ? ch2 : ch1;
  if (!Usable(voltage) || !Usable(current)) return std::nullopt;
  const WaveWindow& w = voltage.window;
  // The current is read over the voltage's window, so it must reach that far.
  if (static_cast<std::size_t>(w.last) >= current.wave.size()) return std::nullopt;

  // One pass: the products for P and a one-bin DFT of both waves at the
  // voltage's fundamental, w.periods periods over the N = w.last - w.first
  // samples F .. L-1. Sample L starts the next period (it is the zero
  // crossing F is, whole periods on): taking it too would count that phase
  // twice and pull P and the phases off. The unit phasor turns by one
  // sample's angle each step instead of calling sin and cos per sample.
  const int samples = w.last - w.first;
  const double step = 2.0 * std::numbers::pi * w.periods / samples;
  const std::complex<double> turn = std::polar(1.0, -step);
  std::complex<double> phasor = 1.0;
  std::complex<double> v1;
  std::complex<double> i1;
  double sumProducts = 0.0;
  for (int k = w.first; k < w.last; ++k) {
    const double v = voltage.wave[static_cast<std::size_t>(k)];
    const double i = current.wave[static_cast<std::size_t>(k)];
    sumProducts += v * i;
    v1 += v * phasor;
    i1 += i * phasor;
    phasor *= turn;
  }

  PowerValues r;
  r.activePower = sumProducts / samples;
  const double apparent = static_cast<double>(ch1.rms) * ch2.rms;
  // P and S come from slightly different windows (each RMS over its own
  // channel's periods), so the ratio can step past 1 by a hair.
  r.powerFactor = std::clamp(r.activePower / apparent, -1.0, 1.0);
  const double voltagePhase = std::arg(v1) * kDegreesPerRadian;
  const double currentPhase = std::arg(i1) * kDegreesPerRadian;
  r.phase[ch1IsVoltage ? 0 : 1] = Normalised(voltagePhase);
  r.phase[ch1IsVoltage ? 1 : 0] = Normalised(currentPhase);
  r.phaseDifference = Normalised(voltagePhase - currentPhase);
  const double q = std::sqrt(std::max(apparent * apparent - r.activePower * r.activePower, 0.0));
  r.reactivePower = r.phaseDifference < 0.0 ? -q : q;
  return r;
}

std::optional<PowerValues> ScaledPower(std::optional<PowerValues> values, double factor) {
  if (values) {
    values->activePower *= factor;
    values->reactivePower *= factor;
  }
  return values;
}

PowerFactorTexts PowerTexts(const std::optional<PowerValues>& values) {
  if (!values) return {kPanelNone, kPanelNone, kPanelNone, kPanelNone, {kPanelNone, kPanelNone}};
  return {Fixed(values->activePower, 0),
          Fixed(values->reactivePower, 0),
          Fixed(values->powerFactor, 2),
          Degrees(values->phaseDifference),
          {Degrees(values->phase[0]), Degrees(values->phase[1])}};
}

std::string PowerCsvFields(const std::optional<PowerValues>& values) {
  if (!values) return ",,,,";
  return "," + Fixed(values->activePower, 0) + "," + Fixed(values->reactivePower, 0) + "," +
         Fixed(values->powerFactor, 3) + "," + Fixed(values->phaseDifference, 1);
}

}  // namespace acv
