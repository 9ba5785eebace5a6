#include "logger/WaveAnalysis.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "data/NumberText.h"

namespace acv {
namespace {

constexpr double kSampleSeconds = 0.00005471;  // spacing of the wave's samples
constexpr double kSampleMs = 0.05471;
// Below this RMS (raw units) the signal counts as noise.
constexpr float kMinimumRms = 7.0f;
// A wave must swing by more than this between its extremes to be analysed.
constexpr int kMinimumSwing = 10;
// Hold-off numerator: the larger the wave, the fewer samples of noise can
// surround a zero crossing, so the hold-off shrinks with the peak.
constexpr int kHoldOffScale = 410;

// Peak and valley are kept as whole numbers; clamping first keeps the
// conversion defined for any float a caller may pass.
int TruncToInt(float x) {
  constexpr float kLimit = 1.0e9f;
  return static_cast<int>(std::clamp(x, -kLimit, kLimit));
}

struct Crossings {
  int count = 0;
  int first = -1;  // F
  int last = -1;   // L
};

// Counts zero crossings in one direction, the one the first sample leaves
// from. After the first crossing, a new one must lie at least holdOff samples
// from where the wave last came back to its starting sign, so noise around a
// crossing is not counted twice.
Crossings FindCrossings(std::span<const float> wave, int holdOff) {
  const int n = static_cast<int>(wave.size());
  Crossings c;
  if (n == 0) return c;
  const bool startNonNegative = wave[0] >= 0.0f;
  auto isStartSign = [&](float x) { return startNonNegative ? x >= 0.0f : x < 0.0f; };
  auto isOppositeSign = [&](float x) { return startNonNegative ? x < 0.0f : x > 0.0f; };

  int p = 0;
  for (int round = 0; round < n; ++round) {
    int j = c.count > 0 ? p + holdOff : p;
    while (j < n && !isStartSign(wave[j])) ++j;
    if (j >= n) break;
    p = j;
    int k = p;
    while (k < n && !isOppositeSign(wave[k])) ++k;
    if (k >= n) break;
    if (k - p < holdOff && c.count > 0) continue;  // too close: noise, look further
    p = k;
    ++c.count;
    c.last = k;
    if (c.count == 1) c.first = k;
  }
  return c;
}

// Mean peak-to-peak value: at every w-th sample after F the swing seen so far
// (running extremes, never reset) is summed, then divided by the crossings.
double MeanPeakToPeak(std::span<const float> wave, const Crossings& c) {
  const int span = c.last - c.first;
  const int w = std::max(1, span / c.count);
  float runPeak = -1000.0f;
  float runValley = 1000.0f;
  double sum = 0.0;
  for (int i = c.first; i <= c.last; ++i) {
    runPeak = std::max(runPeak, wave[i]);
    runValley = std::min(runValley, wave[i]);
    if (i > c.first && (i - c.first) % w == 0) sum += static_cast<double>(runPeak) - runValley;
  }
  return sum / c.count;
}

}  // namespace

float RoundFrequency(double hz) {
  return static_cast<float>(std::trunc((hz + 0.05) * 10.0) * 0.1);
}

WaveResult AnalyseWave(std::span<const float> wave, const PowerPanelTexts& previous) {
  WaveResult r;
  r.texts = previous;
  const int n = static_cast<int>(wave.size());

  int peak = -10000;
  int valley = 10000;
  for (float x : wave) {
    if (x > static_cast<float>(peak)) peak = TruncToInt(x);
    if (x < static_cast<float>(valley)) valley = TruncToInt(x);
  }
  if (static_cast<long long>(peak) - valley <= kMinimumSwing || peak <= 0 || valley >= 0) {
    r.texts.frequency = "OL";
    r.texts.period = "LO";
    r.texts.rms = "LO";
    return r;
  }

  const int holdOff = kHoldOffScale / peak;
  const Crossings c = FindCrossings(wave, holdOff);
  if (c.first < 0 || c.first > n || c.last <= c.first || c.last >= n || c.count < 2) {
    r.texts.spare = "--------";
    r.texts.amplitude = "LO";
    r.texts.period = "LO";
    r.texts.rms = "LO";
    r.texts.frequency = "OL";
    return r;
  }

  // Whole periods only: from the first crossing to the last, both included.
  double sumSquares = 0.0;
  for (int i = c.first; i <= c.last; ++i) {
    const double x = wave[i];
    sumSquares += x * x;
  }
  r.rms = static_cast<float>(std::sqrt(sumSquares / (c.last - c.first + 1)));

  const int span = c.last - c.first;
  const double periodSeconds = span * kSampleSeconds / (c.count - 1);
  const double hz = 1.0 / periodSeconds;
  r.frequency = RoundFrequency(hz);
  r.window = {c.first, c.last, c.count - 1};

  if (r.rms < kMinimumRms) {
    r.window = {};
    r.rms = 0.0f;
    r.frequency = kNoFrequency;
    r.texts.peakToPeak = "LO";
    r.texts.rms = "LO";
    r.texts.period = "LO";
    r.texts.frequency = "OL";
  } else if (r.rms > kMinimumRms) {
    r.texts.peakToPeak = FormatNumber("%.0f", MeanPeakToPeak(wave, c));
    r.texts.rms = FormatNumber("%.1f", r.rms);
    r.texts.period = FormatNumber("%.1f", span * kSampleMs / (c.count - 1));
    r.texts.frequency = FormatNumber("%.1f", hz);
  }
  // An RMS of exactly the threshold is kept as measured and leaves the texts alone.
  return r;
}

CapturedWaves AnalyseCapturedWaves(const CDTDoc& doc, std::array<bool, 2> channels,
                                   std::array<PowerPanelTexts, 2>& texts) {
  CapturedWaves waves;
  for (std::size_t c = 0; c < 2; ++c) {
    if (!channels[c]) continue;
    std::array<float, kEpaPoints>& wave = waves.samples[c];
    for (std::size_t i = 0; i < wave.size(); ++i) {
      wave[i] = c == 0 ? doc.epaWave[i].ch1 : doc.epaWave[i].ch2;
    }
    waves.result[c] = AnalyseWave(wave, texts[c]);
    texts[c] = waves.result[c].texts;
  }
  return waves;
}

}  // namespace acv
