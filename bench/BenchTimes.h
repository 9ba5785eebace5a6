#pragma once
// A console reporter that keeps every benchmark's times, so that a bench can
// print its ratios against the baselines of the same run at the end. It takes
// the median of repeated runs, also when only the aggregates are reported.
#include <benchmark/benchmark.h>

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace acv::bench {

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
  // Every benchmark that ran, by name.
  const std::map<std::string, RunTimes>& All() const { return times_; }
  // Nothing when the benchmark did not run (filtered out, say).
  std::optional<RunTimes> Find(const std::string& name) const {
    const auto it = times_.find(name);
    return it == times_.end() ? std::nullopt : std::optional<RunTimes>(it->second);
  }

 private:
  std::map<std::string, RunTimes> times_;
  std::set<std::string> medians_;
};

}  // namespace acv::bench
