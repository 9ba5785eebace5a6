// Active and reactive power, power factor and phase of a voltage/current pair,
// from synthetic waves sampled as the logger samples them and analysed by the
// wave analysis first, as a real-time tick does.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <optional>
#include <vector>

#include "logger/PowerAnalysis.h"

namespace acv {
namespace {

constexpr int kSamples = 590;
constexpr double kSampleSeconds = 0.00005471;
constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;

struct Harmonic {
  int order;
  double share;
};

// peak * (sin(a) + sum share * sin(order * a)) with a = 2 pi hz t + 0.3 - lag,
// rounded to whole counts as the wire carries them.
std::vector<float> Wave(double peak, double hz, double lagDegrees = 0.0,
                        std::vector<Harmonic> harmonics = {}) {
  std::vector<float> w(kSamples);
  for (int i = 0; i < kSamples; ++i) {
    const double a =
        2 * std::numbers::pi * hz * i * kSampleSeconds + 0.3 - lagDegrees * kRadiansPerDegree;
    double x = std::sin(a);
    for (const Harmonic& h : harmonics) x += h.share * std::sin(h.order * a);
    w[i] = static_cast<float>(std::lround(peak * x));
  }
  return w;
}

std::optional<PowerValues> Analyse(const std::vector<float>& w1, const char* unit1,
                                   const std::vector<float>& w2, const char* unit2) {
  const WaveResult r1 = AnalyseWave(w1, {});
  const WaveResult r2 = AnalyseWave(w2, {});
  return AnalysePower({w1, unit1, r1.rms, r1.window}, {w2, unit2, r2.rms, r2.window});
}

double Normalised(double degrees) {
  const double d = std::remainder(degrees, 360.0);
  return d <= -180.0 ? d + 360.0 : d;
}

TEST(PowerAnalysis, PhaseAndPowerOfVoltageCurrentPairs) {
  struct Case {
    const char* name;
    double hz;
    double lag;  // of the current, degrees
    std::vector<Harmonic> currentHarmonics;
    bool voltageOnCh2;
    double powerFactor;  // expected
  };
  const double distortion = std::sqrt(1 + 0.3 * 0.3 + 0.2 * 0.2);
  const std::vector<Case> cases = {
      {"in phase", 50, 0, {}, false, 1.0},
      {"lagging 30", 50, 30, {}, false, std::cos(30 * kRadiansPerDegree)},
      {"lagging 90", 60, 90, {}, false, 0.0},
      {"leading 45, voltage on CH2", 50, -45, {}, true, std::cos(45 * kRadiansPerDegree)},
      // Harmonics carry no power against a pure voltage but add to the
      // current's RMS: the power factor falls below cos(DIF Phi).
      {"distorted, lagging 20",
       50,
       20,
       {{3, 0.3}, {5, 0.2}},
       false,
       std::cos(20 * kRadiansPerDegree) / distortion},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<float> voltage = Wave(1000, c.hz);
    const std::vector<float> current = Wave(300, c.hz, c.lag, c.currentHarmonics);
    const std::optional<PowerValues> p =
        c.voltageOnCh2 ? Analyse(current, "A", voltage, "V") : Analyse(voltage, "V", current, "A");
    ASSERT_TRUE(p.has_value());
    EXPECT_NEAR(p->phaseDifference, c.lag, 1.0);
    EXPECT_NEAR(p->powerFactor, c.powerFactor, 0.01);
    EXPECT_LE(p->powerFactor, std::cos(p->phaseDifference * kRadiansPerDegree) + 0.005);

    // P, Q and S make a right triangle, Q signed as DIF Phi. Each RMS is
    // taken over F .. L, one sample (at a crossing, near 0) more than the
    // whole periods P is averaged over, so S runs low by about 1/N.
    const WaveResult v = AnalyseWave(voltage, {});
    const WaveResult i = AnalyseWave(current, {});
    const double s = static_cast<double>(v.rms) * i.rms;
    EXPECT_NEAR(p->activePower, s * c.powerFactor, s * 0.01);
    EXPECT_NEAR(std::hypot(p->activePower, p->reactivePower), s, s * 0.005);
    if (std::abs(c.lag) > 1) {
      EXPECT_EQ(p->reactivePower > 0, c.lag > 0);
    }

    // Each channel's Phi sits where it belongs: the voltage's window starts on
    // a zero crossing, so its fundamental is at +-90 degrees there.
    const double voltagePhase = p->phase[c.voltageOnCh2 ? 1 : 0];
    const double currentPhase = p->phase[c.voltageOnCh2 ? 0 : 1];
    EXPECT_NEAR(std::abs(voltagePhase), 90.0, 2.0);
    EXPECT_NEAR(Normalised(voltagePhase - currentPhase), p->phaseDifference, 1e-9);
  }
}

// The window's samples F .. L hold whole periods from one crossing to the
// same crossing later: exactly `periods` periods lie in F .. L-1, and the
// power and phases of exact cosines come out exact. Sample L, a copy of F's
// phase, must not count twice.
TEST(PowerAnalysis, WindowCountsEachPhaseOnce) {
  constexpr int kFirst = 10, kPeriods = 5, kSpan = 100;
  constexpr double kLag = 60.0;
  std::vector<float> voltage(kSamples), current(kSamples);
  for (int k = 0; k < kSamples; ++k) {
    const double a = 2 * std::numbers::pi * kPeriods * (k - kFirst) / kSpan;
    voltage[k] = static_cast<float>(1000 * std::cos(a));
    current[k] = static_cast<float>(300 * std::cos(a - kLag * kRadiansPerDegree));
  }
  const WaveWindow window{kFirst, kFirst + kSpan, kPeriods};
  const float vRms = static_cast<float>(1000 / std::sqrt(2.0));
  const float iRms = static_cast<float>(300 / std::sqrt(2.0));
  const std::optional<PowerValues> p =
      AnalysePower({voltage, "V", vRms, window}, {current, "A", iRms, window});
  ASSERT_TRUE(p.has_value());
  EXPECT_NEAR(p->activePower, 1000 * 300 * std::cos(kLag * kRadiansPerDegree) / 2, 0.01);
  EXPECT_NEAR(p->phaseDifference, kLag, 1e-4);
  EXPECT_NEAR(p->phase[0], 0.0, 1e-4);
}

TEST(PowerAnalysis, NoValuesWithoutAVoltageCurrentPairWithSignal) {
  const std::vector<float> voltage = Wave(1000, 50);
  const std::vector<float> current = Wave(300, 50, 30);
  const std::vector<float> flat(kSamples, 0.0f);
  const std::vector<float> tiny = Wave(8, 50);  // swings, but RMS below 7
  EXPECT_FALSE(Analyse(voltage, "V", flat, "A"));
  EXPECT_FALSE(Analyse(tiny, "V", current, "A"));
  EXPECT_FALSE(Analyse(voltage, "V", current, "V"));
  EXPECT_FALSE(Analyse(current, "A", current, "A"));
  // An absent channel: no samples, whatever the unit it had before.
  const WaveResult v = AnalyseWave(voltage, {});
  EXPECT_FALSE(AnalysePower({voltage, "V", v.rms, v.window}, {{}, "A", 0.0f, {}}));
}

TEST(PowerAnalysis, TextsAndCsvFields) {
  const PowerFactorTexts none = PowerTexts(std::nullopt);
  EXPECT_EQ(none, (PowerFactorTexts{"NONE", "NONE", "NONE", "NONE", {"NONE", "NONE"}}));
  EXPECT_EQ(PowerCsvFields(std::nullopt), ",,,,");

  // A hair below zero is written as zero, never "-0"; an angle stays in
  // (-180, 180] after rounding.
  const PowerValues v{61234.4, -0.4, 0.9996, -0.04, {90.04, -179.96}};
  EXPECT_EQ(PowerTexts(v),
            (PowerFactorTexts{"61234", "0", "1.00", "0.0\u00b0", {"90.0\u00b0", "180.0\u00b0"}}));
  EXPECT_EQ(PowerCsvFields(v), ",61234,0,1.000,0.0");
}

}  // namespace
}  // namespace acv
