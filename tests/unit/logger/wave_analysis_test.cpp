// The wave analysis: RMS and frequency of one captured real-time wave and the
// power-panel texts it produces.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <numbers>
#include <vector>

#include "logger/WaveAnalysis.h"

namespace acv {
namespace {

constexpr int kSamples = 590;
constexpr double kSampleSeconds = 0.00005471;

// A sine of the given peak and frequency, sampled as the logger does and
// rounded to whole counts, as the wire carries them.
std::vector<float> Sine(double peak, double hz, double phase = 0.3, double offset = 0.0) {
  std::vector<float> w(kSamples);
  for (int i = 0; i < kSamples; ++i) {
    const double t = i * kSampleSeconds;
    w[i] = static_cast<float>(
        std::lround(offset + peak * std::sin(2 * std::numbers::pi * hz * t + phase)));
  }
  return w;
}

// Texts that no analysis writes, so a test sees which fields were left alone.
PowerPanelTexts Marked() {
  return {"f?", "t?", "r?", "pp?", "am?", "sp?"};
}

TEST(WaveAnalysis, SineOfKnownAmplitudeAndFrequency) {
  const std::vector<float> w = Sine(1000, 50);
  const WaveResult r = AnalyseWave(w, Marked());
  EXPECT_NEAR(r.rms, 1000 / std::sqrt(2.0), 7.0);
  EXPECT_NEAR(r.frequency, 50.0, 0.2);
  // Stored to one decimal.
  EXPECT_NEAR(r.frequency * 10, std::round(r.frequency * 10), 1e-3);

  char rms[32];
  std::snprintf(rms, sizeof rms, "%.1f", r.rms);
  EXPECT_EQ(r.texts.rms, rms);
  EXPECT_NEAR(std::stod(r.texts.period), 20.0, 0.1);
  EXPECT_NEAR(std::stod(r.texts.frequency), 50.0, 0.2);
  EXPECT_GT(std::stod(r.texts.peakToPeak), 1000.0);
  EXPECT_LE(std::stod(r.texts.peakToPeak), 2000.0);
  // The amplitude and spare fields are only written when crossings are missing.
  EXPECT_EQ(r.texts.amplitude, "am?");
  EXPECT_EQ(r.texts.spare, "sp?");
}

TEST(WaveAnalysis, SeveralPeriodsStartingOnEitherSign) {
  // A first sample below zero counts upward crossings instead.
  for (double hz : {60.0, 120.0, 250.0}) {
    for (double phase : {1.0, 1.0 + std::numbers::pi}) {
      const WaveResult r = AnalyseWave(Sine(2000, hz, phase), {});
      EXPECT_NEAR(r.frequency, hz, hz * 0.01) << hz << " " << phase;
      EXPECT_NEAR(r.rms, 2000 / std::sqrt(2.0), 15.0) << hz << " " << phase;
    }
  }
}

TEST(WaveAnalysis, HoldOffSkipsNoiseAtSmallPeaks) {
  // Peak 20: hold-off 410 / 20 = 20 samples. A one-sample glitch back across
  // zero right after each crossing must not count as another period.
  std::vector<float> w = Sine(20, 200, 0.2);
  int glitches = 0;
  for (int i = 1; i + 1 < kSamples; ++i) {
    if (w[i - 1] >= 0 && w[i] < 0 && w[i + 1] < 0) {
      w[i + 1] = 3;  // back above zero for one sample
      ++glitches;
      ++i;
    }
  }
  ASSERT_GE(glitches, 5);
  const WaveResult r = AnalyseWave(w, {});
  EXPECT_NEAR(r.frequency, 200.0, 4.0);
  EXPECT_GT(r.rms, 7.0f);
}

TEST(WaveAnalysis, NoUsableSignal) {
  const std::vector<std::vector<float>> waves = {
      std::vector<float>(kSamples, 0.0f),  // flat line at 0
      Sine(400, 50, 0.3, 500),             // never crosses zero: all positive
      Sine(400, 50, 0.3, -500),            // all negative
      Sine(5, 50),                         // swings by no more than 10
  };
  for (const auto& w : waves) {
    const WaveResult r = AnalyseWave(w, Marked());
    EXPECT_EQ(r.rms, 0.0f);
    EXPECT_EQ(r.frequency, 400.0f);
    const PowerPanelTexts expected{"OL", "LO", "LO", "pp?", "am?", "sp?"};
    EXPECT_EQ(r.texts, expected);
  }
}

TEST(WaveAnalysis, FewerThanTwoCrossings) {
  // 20 Hz: one period is 50 ms, longer than the 32 ms the wave covers.
  const WaveResult r = AnalyseWave(Sine(1000, 20, 0.5), Marked());
  EXPECT_EQ(r.rms, 0.0f);
  EXPECT_EQ(r.frequency, 400.0f);
  const PowerPanelTexts expected{"OL", "LO", "LO", "pp?", "LO", "--------"};
  EXPECT_EQ(r.texts, expected);
}

TEST(WaveAnalysis, SmallRmsCountsAsNoSignal) {
  // Peak 9: swing 18 passes the first check, but the RMS (about 6.4) is noise.
  const WaveResult r = AnalyseWave(Sine(9, 100), Marked());
  EXPECT_EQ(r.rms, 0.0f);
  EXPECT_EQ(r.frequency, 400.0f);
  const PowerPanelTexts expected{"OL", "LO", "LO", "LO", "am?", "sp?"};
  EXPECT_EQ(r.texts, expected);
}

TEST(WaveAnalysis, RmsOfExactlySevenKeepsTheTexts) {
  // A square wave of +-7: RMS exactly 7 is kept with its frequency, but the
  // panel texts stay as they were.
  std::vector<float> w(kSamples);
  for (int i = 0; i < kSamples; ++i) w[i] = (i / 100) % 2 == 0 ? 7.0f : -7.0f;
  const WaveResult r = AnalyseWave(w, Marked());
  EXPECT_EQ(r.rms, 7.0f);
  EXPECT_NEAR(r.frequency, 1.0 / (200 * kSampleSeconds), 0.1);
  EXPECT_EQ(r.texts, Marked());
}

TEST(WaveAnalysis, FrequencyRoundsToTheNearestTenthHalvesUp) {
  EXPECT_FLOAT_EQ(RoundFrequency(50.04), 50.0f);
  EXPECT_FLOAT_EQ(RoundFrequency(50.06), 50.1f);
  EXPECT_FLOAT_EQ(RoundFrequency(49.95), 50.0f);
  EXPECT_FLOAT_EQ(RoundFrequency(50.0), 50.0f);
}

TEST(WaveAnalysis, OddInputIsHandledSafely) {
  EXPECT_EQ(AnalyseWave({}, {}).frequency, 400.0f);
  const std::vector<float> huge(kSamples, 3.0e38f);
  EXPECT_EQ(AnalyseWave(huge, {}).rms, 0.0f);
  std::vector<float> spikes(kSamples, -1.0f);
  spikes[0] = 1.0e30f;  // one absurd sample: a single crossing at most
  EXPECT_EQ(AnalyseWave(spikes, {}).frequency, 400.0f);
}

}  // namespace
}  // namespace acv
