// The Data List of the largest data set (262,144 STORE RMS samples of two
// channels): opening it (window, model, first paint) and scrolling to its end,
// as the virtual list does it, next to a QTableWidget filled with the same
// cell texts in the same run. Also the memory each keeps while open (glibc's
// allocator statistics, so the figure is what the list itself holds).
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <QScrollBar>
#include <QTableWidget>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#include "BenchSupport.h"
#include "frame/DataLists.h"
#include "ui/panels/CDataListDlg.h"

namespace {

constexpr int kRows = acv::bench::kLargestSet;

const acv::CDTDoc& LargestDoc() {
  static const acv::CDTDoc doc = acv::bench::LargestStoreSet();
  return doc;
}

acv::DisplaySetup Shown() {
  acv::DisplaySetup v;
  v.displayMode = 1;
  v.firstPoint = 1;
  v.lastPoint = kRows;
  v.plotCh1 = v.plotCh2 = true;
  v.ch1UnitText = "V";
  v.ch2UnitText = "A";
  return v;
}

// Heap in use, with the blocks large enough for glibc to map them on their
// own (which it does or not depending on what was freed before).
std::size_t HeapInUse() {
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
}

// The window the program opens: built, listed and painted once.
std::unique_ptr<acv::CDataListDlg> OpenVirtualList() {
  auto list = std::make_unique<acv::CDataListDlg>(LargestDoc(), nullptr);
  list->Rebuild(acv::DisplayMode::StoreRms, Shown());
  list->resize(620, 700);
  benchmark::DoNotOptimize(list->grab());
  return list;
}

// The same rows as items of a QTableWidget.
std::unique_ptr<QTableWidget> OpenTableWidget() {
  const acv::CDTDoc& doc = LargestDoc();
  const acv::DisplaySetup view = Shown();
  auto table = std::make_unique<QTableWidget>(kRows, acv::kDataListColumns);
  for (int row = 0; row < kRows; ++row) {
    for (int c = 0; c < acv::kDataListColumns; ++c) {
      table->setItem(row, c,
                     new QTableWidgetItem(QString::fromStdString(
                         acv::DataListCell(doc, acv::DisplayMode::StoreRms, view, row, c))));
    }
  }
  table->resize(620, 700);
  benchmark::DoNotOptimize(table->grab());
  return table;
}

template <typename Open>
void MeasureOpen(benchmark::State& state, Open open) {
  LargestDoc();
  for (auto _ : state) {
    const std::size_t before = HeapInUse();
    auto window = open();
    state.counters["extra_MiB"] = static_cast<double>(HeapInUse() - before) / (1024.0 * 1024.0);
    state.PauseTiming();
    window.reset();
    state.ResumeTiming();
  }
}

void BM_Open_VirtualList(benchmark::State& state) {
  MeasureOpen(state, OpenVirtualList);
}
BENCHMARK(BM_Open_VirtualList)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_Open_QTableWidget(benchmark::State& state) {
  MeasureOpen(state, OpenTableWidget);
}
BENCHMARK(BM_Open_QTableWidget)->Unit(benchmark::kMillisecond)->Iterations(2);

// From the top to the last row and painted there, as End does.
template <typename Open, typename Scroll>
void MeasureScroll(benchmark::State& state, Open open, Scroll scroll) {
  auto window = open();
  for (auto _ : state) {
    scroll(*window, false);
    state.PauseTiming();
    benchmark::DoNotOptimize(window->grab());
    state.ResumeTiming();
    scroll(*window, true);
    benchmark::DoNotOptimize(window->grab());
  }
}

void BM_ScrollToEnd_VirtualList(benchmark::State& state) {
  MeasureScroll(state, OpenVirtualList, [](acv::CDataListDlg& list, bool toEnd) {
    if (toEnd) {
      list.List()->ScrollToBottom();
    } else {
      list.List()->verticalScrollBar()->setValue(0);
    }
  });
}
BENCHMARK(BM_ScrollToEnd_VirtualList)->Unit(benchmark::kMillisecond);

void BM_ScrollToEnd_QTableWidget(benchmark::State& state) {
  MeasureScroll(state, OpenTableWidget, [](QTableWidget& table, bool toEnd) {
    if (toEnd) {
      table.scrollToBottom();
    } else {
      table.scrollToTop();
    }
  });
}
BENCHMARK(BM_ScrollToEnd_QTableWidget)->Unit(benchmark::kMillisecond)->Iterations(5);

// The virtual list's figures next to the filled QTableWidget's.
void PrintRatios(const acv::bench::TimesReporter& times) {
  const auto real = [&](const char* name) {
    const auto t = times.Find(name);
    return t ? t->real : 0.0;
  };
  const auto extra = [&](const char* name) {
    const auto t = times.Find(name);
    return t && t->counters.count("extra_MiB") ? t->counters.at("extra_MiB") : 0.0;
  };
  const double open = real("BM_Open_VirtualList/iterations:10");
  const double widget = real("BM_Open_QTableWidget/iterations:2");
  if (open > 0) std::printf("open: virtual list %.1fx faster than QTableWidget\n", widget / open);
  std::printf("extra memory while open: virtual list %.3f MiB, QTableWidget %.1f MiB\n",
              extra("BM_Open_VirtualList/iterations:10"),
              extra("BM_Open_QTableWidget/iterations:2"));
  std::printf("scroll to the end: virtual list %.2f ms, QTableWidget %.2f ms\n",
              real("BM_ScrollToEnd_VirtualList"), real("BM_ScrollToEnd_QTableWidget/iterations:5"));
}

}  // namespace

int main(int argc, char** argv) {
  return acv::bench::RunQtBenchmarks(argc, argv, nullptr, PrintRatios);
}
