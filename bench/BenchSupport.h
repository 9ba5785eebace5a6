#pragma once
// What the benches that draw with Qt share: the largest data set, the
// offscreen application around the run, and a console reporter that keeps
// every benchmark's times so that the ratios against the baselines of the
// same run can be printed at the end.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "data/CDTDoc.h"

namespace acv::bench {

// The largest data set a logger holds: 262,144 STORE RMS samples on two
// channels (V and A, one a second), with its statistics.
inline constexpr int kLargestSet = 262144;
inline CDTDoc LargestStoreSet() {
  CDTDoc doc;
  doc.rmsCount = kLargestSet;
  doc.hasCh1 = doc.hasCh2 = 1;
  doc.rmsUnitCh1 = "V";
  doc.rmsUnitCh2 = "A";
  doc.rmsInterval = 1.0f;
  doc.rmsStartTime = 1767261600;
  for (int i = 0; i < kLargestSet; ++i) {
    doc.rmsCh1.push_back(230.0f + static_cast<float>(i % 17) * 0.1f);
    doc.rmsCh2.push_back(5.0f + static_cast<float>(i % 13) * 0.1f);
  }
  doc.ComputeStoreStatistics();
  return doc;
}

struct RunTimes {
  double real = 0, cpu = 0;  // per iteration, in the benchmark's unit
  std::map<std::string, double> counters;
};

// The usual console table; keeps each benchmark's times by its full name
// ("BM_X/1", "BM_Y/iterations:5"), the median when it was repeated, with
// its counters.
class TimesReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      const std::string name = run.run_name.str();
      const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      if (median) medians_.insert(name);
      if (median || (run.run_type == Run::RT_Iteration && medians_.count(name) == 0)) {
        RunTimes& t = times_[name];
        t = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime(), {}};
        for (const auto& [counter, value] : run.counters) t.counters[counter] = value.value;
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
  // Nothing when the benchmark did not run (filtered out, say).
  std::optional<RunTimes> Find(const std::string& name) const {
    const auto it = times_.find(name);
    return it == times_.end() ? std::nullopt : std::optional<RunTimes>(it->second);
  }

 private:
  std::map<std::string, RunTimes> times_;
  std::set<std::string> medians_;
};

// main() of such a bench: a QApplication on the offscreen platform (unless
// QT_QPA_PLATFORM names another), the benchmarks the command line selects,
// `prepare` before the first is timed and `finish` with the times after the
// last. Returns the exit status.
inline int RunQtBenchmarks(int argc, char** argv, const std::function<void()>& prepare,
                           const std::function<void(const TimesReporter&)>& finish) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  if (prepare) prepare();
  TimesReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  if (finish) finish(reporter);
  benchmark::Shutdown();
  return 0;
}

}  // namespace acv::bench
