// The whole Test Report of the largest data set (262,144 STORE RMS samples on
// two channels, 4,370 pages) written to a PDF, against a baseline measured in
// the same run: the same cell texts, one drawText each at fixed positions,
// into a QPdfWriter with the same page count. Prints the ratio and each
// run's peak memory (the process's resident high-water mark, reset before
// each run).
#include <benchmark/benchmark.h>

#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <cstdio>
#include <fstream>
#include <string>

#include "BenchSupport.h"
#include "frame/DataLists.h"
#include "graph/ReportPdf.h"

namespace {

constexpr int kSamples = acv::bench::kLargestSet;
const QString kOut = QStringLiteral("/tmp/acv-bench-report.pdf");

struct Fixture {
  acv::CDTDoc doc = acv::bench::LargestStoreSet();
  acv::DisplaySetup setup;
  acv::ReportFacts facts;
  Fixture() {
    setup.plotCh1 = setup.plotCh2 = true;
    setup.ch1UnitText = "V";
    setup.ch2UnitText = "A";
    facts.mode = acv::DisplayMode::StoreRms;
    facts.plotCh1 = facts.plotCh2 = true;
  }
};

Fixture& Data() {
  static Fixture fixture;
  return fixture;
}

// Resets the resident high-water mark; PeakMiB() reads it afterwards.
void ResetPeak() {
  std::ofstream("/proc/self/clear_refs") << "5";
}
double PeakMiB() {
  std::ifstream status("/proc/self/status");
  std::string word;
  while (status >> word) {
    if (word == "VmHWM:") {
      double kib = 0;
      status >> kib;
      return kib / 1024.0;
    }
  }
  return 0;
}

void BM_Report_WholeListPdf(benchmark::State& state) {
  Fixture& f = Data();
  const acv::DataListText list(f.doc, acv::DisplayMode::StoreRms, f.setup);
  ResetPeak();
  for (auto _ : state) {
    const acv::PdfOutcome out =
        acv::WriteListPdf(kOut, acv::DefaultReportLayout(QPageLayout::Portrait), f.facts, list);
    if (!out.written) state.SkipWithError(out.error.c_str());
  }
  state.counters["pages"] = acv::ListPageCount(kSamples, acv::DisplayMode::StoreRms);
  state.counters["peak_MiB"] = PeakMiB();
  state.counters["file_MiB"] = static_cast<double>(QFile(kOut).size()) / (1024.0 * 1024.0);
}
BENCHMARK(BM_Report_WholeListPdf)->Unit(benchmark::kSecond)->Iterations(1);

void BM_Baseline_DrawTextPdf(benchmark::State& state) {
  Fixture& f = Data();
  const acv::DataListText list(f.doc, acv::DisplayMode::StoreRms, f.setup);
  const int pages = acv::ListPageCount(kSamples, acv::DisplayMode::StoreRms);
  ResetPeak();
  for (auto _ : state) {
    QPdfWriter writer(kOut);
    writer.setPageLayout(acv::DefaultReportLayout(QPageLayout::Portrait));
    QPainter p(&writer);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(writer.height() / 70);
    p.setFont(font);
    const int u = writer.height() / 70;
    std::int64_t row = 0;
    for (int page = 1; page <= pages; ++page) {
      if (page > 1) writer.newPage();
      for (int r = 0; r < 60 && row < kSamples; ++r, ++row) {
        for (int c = 0; c < 4; ++c) {
          p.drawText(QPoint(1000 + 2000 * c, u * (r + 3)),
                     QString::fromStdString(list.Cell(row, c)));
        }
      }
    }
  }
  state.counters["peak_MiB"] = PeakMiB();
}
BENCHMARK(BM_Baseline_DrawTextPdf)->Unit(benchmark::kSecond)->Iterations(1);

// The ratio of the whole list to the baseline, by wall-clock time.
void PrintRatio(const acv::bench::TimesReporter& times) {
  const auto report = times.Find("BM_Report_WholeListPdf/iterations:1");
  const auto base = times.Find("BM_Baseline_DrawTextPdf/iterations:1");
  if (!report || !base || base->real <= 0) return;
  std::printf("whole list to PDF vs one drawText per cell: %.2fx the baseline's time\n",
              report->real / base->real);
}

}  // namespace

int main(int argc, char** argv) {
  return acv::bench::RunQtBenchmarks(
      argc, argv, [] { Data(); },  // the data set is built before any run is timed
      [](const acv::bench::TimesReporter& times) {
        PrintRatio(times);
        QFile::remove(kOut);
      });
}
