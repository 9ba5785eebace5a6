// The analysis on the largest data set (262,144 points on two channels):
// span statistics from the prepared index against a plain scan of the same
// spans in the same run (random spans and the full span), the preparation
// itself, the events of the whole series with 1,000 dips in it, and the
// summary report of that set as PDF (text pages and the shaded graph page)
// against the plain graph page of the same set.
#include <benchmark/benchmark.h>

#include <QFile>
#include <cstdio>
#include <memory>
#include <random>
#include <vector>

#include "BenchSupport.h"
#include "analysis/Events.h"
#include "analysis/SpanStatistics.h"
#include "frame/ReportDisplay.h"
#include "frame/SummaryPages.h"
#include "graph/ReportGraph.h"
#include "graph/ReportPdf.h"

namespace {

constexpr int kSamples = acv::bench::kLargestSet;
constexpr int kDips = 1000;
constexpr int kSpans = 4096;
const QString kOut = QStringLiteral("/tmp/acv-bench-summary.pdf");

struct Fixture {
  acv::CDTDoc doc = acv::bench::LargestStoreSet();
  acv::AnalysisSeries series;
  std::vector<std::pair<std::int64_t, std::int64_t>> spans;
  Fixture() {
    // Dips of 20 points to 190 V, evenly spread.
    for (int d = 0; d < kDips; ++d) {
      const int first = (d + 1) * (kSamples / (kDips + 1));
      for (int k = first; k < first + 20; ++k) doc.rmsCh1[static_cast<std::size_t>(k)] = 190.0f;
    }
    series = acv::StoreRmsSeries(doc, {});
    std::mt19937 random(23);
    std::uniform_int_distribution<std::int64_t> point(0, kSamples - 1);
    for (int i = 0; i < kSpans; ++i) {
      std::int64_t a = point(random), b = point(random);
      spans.emplace_back(std::min(a, b), std::max(a, b));
    }
  }
};

Fixture& Data() {
  static Fixture fixture;
  return fixture;
}

void BM_SpanIndex_Prepare(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(acv::SpanIndex(Data().series));
}
BENCHMARK(BM_SpanIndex_Prepare)->Unit(benchmark::kMillisecond);

void BM_SpanIndex_RandomSpans(benchmark::State& state) {
  const acv::SpanIndex index(Data().series);
  std::size_t i = 0;
  for (auto _ : state) {
    const auto& [a, b] = Data().spans[i++ % kSpans];
    benchmark::DoNotOptimize(index.Of(a, b));
  }
}
BENCHMARK(BM_SpanIndex_RandomSpans)->Unit(benchmark::kMicrosecond);

void BM_Scan_RandomSpans(benchmark::State& state) {
  std::size_t i = 0;
  for (auto _ : state) {
    const auto& [a, b] = Data().spans[i++ % kSpans];
    benchmark::DoNotOptimize(acv::ScanSpan(Data().series, a, b));
  }
}
BENCHMARK(BM_Scan_RandomSpans)->Unit(benchmark::kMicrosecond);

void BM_SpanIndex_FullSpan(benchmark::State& state) {
  const acv::SpanIndex index(Data().series);
  for (auto _ : state) benchmark::DoNotOptimize(index.Of(0, kSamples - 1));
}
BENCHMARK(BM_SpanIndex_FullSpan)->Unit(benchmark::kMicrosecond);

void BM_Scan_FullSpan(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(acv::ScanSpan(Data().series, 0, kSamples - 1));
}
BENCHMARK(BM_Scan_FullSpan)->Unit(benchmark::kMicrosecond);

void BM_Events_LargestSet(benchmark::State& state) {
  std::size_t found = 0;
  for (auto _ : state) found = acv::StoreEvents(Data().doc, acv::EventLimits{}, {}).size();
  state.counters["events"] = static_cast<double>(found);
}
BENCHMARK(BM_Events_LargestSet)->Unit(benchmark::kMillisecond);

// One more point of a growing run of 262,144 points with 1,000 dips: the
// events found again over the whole run (what each point cost before the
// scanner) against the scanner reading just the new point.
void BM_Events_RunPoint_FullScan(benchmark::State& state) {
  acv::AnalysisSeries series = Data().series;
  series.count = kSamples - 1;
  for (auto _ : state) {
    benchmark::DoNotOptimize(acv::FindLevelEvents(series, acv::EventLimits{}));
  }
}
BENCHMARK(BM_Events_RunPoint_FullScan)->Unit(benchmark::kMillisecond);

void BM_Events_RunPoint_Extend(benchmark::State& state) {
  acv::AnalysisSeries series = Data().series;
  series.count = kSamples / 2;
  acv::EventScanner scanner{acv::EventLimits{}};
  scanner.Extend(series);
  for (auto _ : state) {
    if (++series.count > kSamples) {
      state.PauseTiming();
      series.count = kSamples / 2;
      scanner = acv::EventScanner{acv::EventLimits{}};
      scanner.Extend(series);
      state.ResumeTiming();
    }
    scanner.Extend(series);
    benchmark::DoNotOptimize(scanner.Events().size());
  }
}
BENCHMARK(BM_Events_RunPoint_Extend)->Unit(benchmark::kMicrosecond);

void BM_Summary_LargestSetPdf(benchmark::State& state) {
  Fixture& f = Data();
  const acv::AppSettings settings;
  for (auto _ : state) {
    const acv::ReportDisplay display =
        acv::PrepareReportDisplay(f.doc, acv::DisplayMode::StoreRms, 0, settings);
    const acv::SummaryContent content =
        acv::SummariseDataSet(f.doc, false, settings.eventLimits, "largest.stdata");
    const QImage graph = acv::ReportGraphPicture(
        f.doc, display, settings,
        std::make_shared<acv::EventShading>(acv::ShadingOf(f.doc, content)));
    const acv::PdfOutcome out = acv::WriteSummaryPdf(
        kOut, acv::DefaultReportLayout(QPageLayout::Landscape), content, graph, display.Facts());
    if (!out.written) state.SkipWithError(out.error.c_str());
  }
  state.counters["file_KiB"] = static_cast<double>(QFile(kOut).size()) / 1024.0;
}
BENCHMARK(BM_Summary_LargestSetPdf)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_Baseline_GraphPagePdf(benchmark::State& state) {
  Fixture& f = Data();
  const acv::AppSettings settings;
  for (auto _ : state) {
    const acv::ReportDisplay display =
        acv::PrepareReportDisplay(f.doc, acv::DisplayMode::StoreRms, 0, settings);
    const acv::PdfOutcome out =
        acv::WriteGraphPdf(kOut, acv::DefaultReportLayout(QPageLayout::Landscape),
                           acv::ReportGraphPicture(f.doc, display, settings), display.Facts());
    if (!out.written) state.SkipWithError(out.error.c_str());
  }
}
BENCHMARK(BM_Baseline_GraphPagePdf)->Unit(benchmark::kMillisecond)->Iterations(3);

void PrintRatios(const acv::bench::TimesReporter& times) {
  const auto ratio = [&](const char* what, const char* fast, const char* slow) {
    const auto f = times.Find(fast), s = times.Find(slow);
    if (!f || !s || f->real <= 0) return;
    std::printf("%s: index %.4f ms, plain scan %.4f ms, %.0fx faster\n", what, f->real / 1000.0,
                s->real / 1000.0, s->real / f->real);
  };
  ratio("random spans", "BM_SpanIndex_RandomSpans", "BM_Scan_RandomSpans");
  ratio("full span", "BM_SpanIndex_FullSpan", "BM_Scan_FullSpan");
  const auto summary = times.Find("BM_Summary_LargestSetPdf/iterations:3");
  const auto graph = times.Find("BM_Baseline_GraphPagePdf/iterations:3");
  if (summary && graph && graph->real > 0) {
    std::printf("summary PDF (1,000 events): %.0f ms, %.2fx the plain graph page's %.0f ms\n",
                summary->real, summary->real / graph->real, graph->real);
  }
  QFile::remove(kOut);
}

}  // namespace

int main(int argc, char** argv) {
  return acv::bench::RunQtBenchmarks(
      argc, argv, [] { Data(); }, PrintRatios);
}
