// Cost of one real-time sampling tick's analysis. The baseline is the least
// any RMS needs: one pass of squares over the 590 samples. AnalyseWave makes
// a few passes (extremes, crossings, RMS, peak-to-peak), so a small constant
// ratio is expected, independent of how many points the run has taken. A
// voltage/current pair adds the power analysis (P, Q, power factor, phases):
// one more pass over the voltage's whole periods, compared with the wave
// analysis of one channel.
#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>
#include <optional>
#include <vector>

#include "data/CDTDoc.h"
#include "logger/PowerAnalysis.h"
#include "logger/WaveAnalysis.h"

namespace {

std::vector<float> Wave(double peak, double hz, double phase = 0.4) {
  std::vector<float> w(acv::kEpaPoints);
  for (int i = 0; i < acv::kEpaPoints; ++i) {
    const double t = i * acv::kEpaSampleMs / 1000.0;
    w[i] = static_cast<float>(std::lround(peak * std::sin(2 * std::numbers::pi * hz * t + phase)));
  }
  return w;
}

void BM_Baseline_SumOfSquares(benchmark::State& state) {
  const std::vector<float> w = Wave(1000, 50);
  for (auto _ : state) {
    double sum = 0;
    for (float x : w) sum += static_cast<double>(x) * x;
    benchmark::DoNotOptimize(std::sqrt(sum / static_cast<double>(w.size())));
  }
}
BENCHMARK(BM_Baseline_SumOfSquares);

void BM_AnalyseWave(benchmark::State& state) {
  // 50 Hz mains, and 400 Hz (many crossings), and small-signal 200 Hz with
  // its long hold-off.
  const double peak = state.range(0) == 2 ? 20 : 1000;
  const double hz = state.range(0) == 0 ? 50 : state.range(0) == 1 ? 400 : 200;
  const std::vector<float> w = Wave(peak, hz);
  acv::PowerPanelTexts texts;
  for (auto _ : state) {
    acv::WaveResult r = acv::AnalyseWave(w, texts);
    benchmark::DoNotOptimize(r.rms);
  }
}
BENCHMARK(BM_AnalyseWave)->Arg(0)->Arg(1)->Arg(2);

void BM_AnalysePower(benchmark::State& state) {
  // Mains at 50 Hz, the current lagging 25 degrees; 400 Hz makes the window
  // the widest the wave allows.
  const double hz = state.range(0) == 0 ? 50 : 400;
  const std::vector<float> v = Wave(1000, hz);
  const std::vector<float> i = Wave(300, hz, 0.4 - 25 * std::numbers::pi / 180);
  const acv::WaveResult rv = acv::AnalyseWave(v, {});
  const acv::WaveResult ri = acv::AnalyseWave(i, {});
  const acv::PowerChannel voltage{v, "V", rv.rms, rv.window};
  const acv::PowerChannel current{i, "A", ri.rms, ri.window};
  for (auto _ : state) {
    std::optional<acv::PowerValues> p = acv::AnalysePower(voltage, current);
    benchmark::DoNotOptimize(p);
  }
}
BENCHMARK(BM_AnalysePower)->Arg(0)->Arg(1);

}  // namespace

BENCHMARK_MAIN();
