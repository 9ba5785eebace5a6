#pragma once
// What the benches that draw with Qt share: the largest data set and the
// offscreen application around the run (the reporter that keeps the times
// is in BenchTimes.h).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <functional>
#include <string>
#include <vector>

#include "BenchTimes.h"
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
