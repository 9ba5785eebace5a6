#pragma once
// Active and reactive power, power factor and phase of a voltage/current
// pair, from one captured real-time wave of each channel. The apparent power
// S = RMS(CH1) x RMS(CH2) tells how much the pair could carry; these tell how
// much of it does work (a motor, a rectifier) and how far the current trails
// or leads the voltage. All powers are in the logger's raw product units, as S
// is, until ScaledPower puts them in primary units.
#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "logger/WaveAnalysis.h"

namespace acv {

// One channel as the power analysis takes it: its samples, its unit and what
// the wave analysis found in them.
struct PowerChannel {
  std::span<const float> wave;  // empty when the channel is absent
  std::string_view unit;        // "V" or "A"
  float rms = 0.0f;             // 0 = no usable signal
  WaveWindow window;
};

struct PowerValues {
  double activePower = 0.0;    // P, mean of v x i
  double reactivePower = 0.0;  // Q, with the sign of phaseDifference
  double powerFactor = 0.0;    // P / S, -1..1
  // DIF Phi in degrees, (-180, 180]: how far the current's fundamental lags
  // the voltage's; negative when it leads (capacitive load).
  double phaseDifference = 0.0;
  // Phi of each channel's fundamental (index 0 = CH1), degrees in
  // (-180, 180], measured from the start of the voltage's window.
  std::array<double, 2> phase{};
};

// The values of the pair, or none unless one channel is in V and the other in
// A and both have a usable signal. P is averaged over the voltage's whole
// periods; the phases come from the fundamental at the voltage's measured
// frequency over the same samples.
std::optional<PowerValues> AnalysePower(const PowerChannel& ch1, const PowerChannel& ch2);

// The values in primary units: P and Q times `factor` (the product of the
// two channels' factors, as S is); the power factor and phases unchanged.
std::optional<PowerValues> ScaledPower(std::optional<PowerValues> values, double factor);

// The power analysis panel's texts of the values, by their labels; all
// "NONE" when there are none, as the panel's reset leaves them.
struct PowerFactorTexts {
  std::string activePower;           // "  P(w)"
  std::string reactivePower;         // "Q(var)"
  std::string powerFactor;           // "Power factor"
  std::string phaseDifference;       // "DIF Phi"
  std::array<std::string, 2> phase;  // "Phi" of CH1 and CH2

  bool operator==(const PowerFactorTexts&) const = default;
};
PowerFactorTexts PowerTexts(const std::optional<PowerValues>& values);

// CSV columns of the values, appended after the apparent power.
inline constexpr const char* kPowerCsvColumns = "p_w,q_var,pf,phi_deg";
// The values as CSV fields, each led by a comma; empty fields when there are
// none.
std::string PowerCsvFields(const std::optional<PowerValues>& values);

}  // namespace acv
