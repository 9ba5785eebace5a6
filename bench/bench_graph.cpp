// The graph painter against baselines measured in the same run: a plain
// QPainter::drawPolyline of every point and a Qt Charts line series, each
// painting 262,144 points into a 1600 x 900 premultiplied image. Also the
// same full paint on a screen scaled to 200 % (the same layout in an image
// of twice the pixels each way), the real-time append (one point onto a
// 100,000-point series) and one cursor move (erase, draw, readout). At the
// end the ratios are printed, with the picture's fidelity against the
// polyline: the share of curve pixels that differ, and whether a lone
// one-sample spike is visible.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QImage>
#include <QLineSeries>
#include <QPainter>
#include <QPolygon>
#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <string>

#include "BenchSupport.h"
#include "analysis/AnalysisSeries.h"
#include "graph/CDTView.h"
#include "graph/GraphPainter.h"
#include "graph/geometry/EventBands.h"
#include "graph/geometry/Readout.h"
#include "graph/geometry/SeriesSource.h"

namespace {

constexpr int kWidth = 1600;
constexpr int kHeight = 900;
constexpr int kPoints = 262144;
constexpr int kSpikeAt = 131072;

QImage FrameImage() {
  return QImage(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
}

// A slow wave with noise in 0..10 V, and one sample far above the rest.
std::vector<float> Series(int n, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<float> noise(-0.4f, 0.4f);
  std::vector<float> v(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    v[static_cast<std::size_t>(i)] =
        static_cast<float>(4.0 + 2.5 * std::sin(i * 2e-4)) + noise(rng);
  }
  if (n > kSpikeAt) v[kSpikeAt] = 9.5f;
  return v;
}

acv::CDTDoc StoreDoc(int n, bool twoChannels) {
  acv::CDTDoc doc;
  doc.rmsCount = n;
  doc.hasCh1 = 1;
  doc.rmsCh1 = Series(n, 1);
  if (twoChannels) {
    doc.hasCh2 = 1;
    doc.rmsCh2 = Series(n, 2);
    for (float& v : doc.rmsCh2) v *= 10.0f;
  }
  doc.rmsUnitCh1 = "V";
  doc.rmsUnitCh2 = "A";
  doc.rmsInterval = 1.0f;
  doc.rmsStartTime = 1'700'000'000;
  return doc;
}

acv::GraphModel StoreGraph(const acv::CDTDoc& doc) {
  acv::GraphModel m;
  acv::GraphState& s = m.state;
  s.displayMode = acv::kGraphFace;
  s.mode = acv::GraphMode::StoreRms;
  s.firstPoint = 1;
  s.lastPoint = doc.rmsCount;
  s.ch1To = 10;
  s.ch2To = 100;
  s.plotCh1 = doc.hasCh1;
  s.plotCh2 = doc.hasCh2;
  s.ch1UnitText = "V";
  s.ch2UnitText = "A";
  return m;
}

// The points of the curve at the pixels the graph computes for them.
QPolygon CurvePixels(const acv::GraphModel& m, const acv::CDTDoc& doc) {
  QPolygon polygon;
  const acv::SeriesSource source(doc, m.state.mode);
  const std::int64_t n = m.buffers.count;
  polygon.reserve(static_cast<qsizetype>(n));
  const acv::XMapping& x = m.buffers.pointX[acv::kFullView];
  for (std::int64_t i = 0; i < n; ++i) {
    const double y = m.buffers.Y(source, 0, acv::kFullView, m.buffers.base + i);
    polygon.append(QPoint(acv::TruncToPixel(x.At(i)), acv::TruncToPixel(y)));
  }
  return polygon;
}

void PaintPolyline(QImage& image, const QPolygon& polygon) {
  QPainter p(&image);
  p.fillRect(image.rect(), Qt::black);
  p.setPen(QPen(Qt::red, 0));
  p.drawPolyline(polygon);
}

void BM_Baseline_Polyline(benchmark::State& state) {
  const acv::CDTDoc doc = StoreDoc(kPoints, false);
  acv::GraphModel m = StoreGraph(doc);
  QImage image = FrameImage();
  acv::GraphPainter().Paint(image, m, doc);
  const QPolygon polygon = CurvePixels(m, doc);
  for (auto _ : state) {
    PaintPolyline(image, polygon);
    benchmark::DoNotOptimize(image.constBits());
  }
}
BENCHMARK(BM_Baseline_Polyline)->Unit(benchmark::kMillisecond);

void BM_Baseline_QtCharts(benchmark::State& state) {
  const std::vector<float> v = Series(kPoints, 1);
  QList<QPointF> points;
  points.reserve(kPoints);
  for (int i = 0; i < kPoints; ++i) points.append(QPointF(i, v[static_cast<std::size_t>(i)]));
  auto* series = new QLineSeries;
  series->replace(points);
  auto* chart = new QChart;
  chart->addSeries(series);
  chart->createDefaultAxes();
  chart->legend()->hide();
  chart->setAnimationOptions(QChart::NoAnimation);
  QChartView view(chart);
  view.setRenderHint(QPainter::Antialiasing, false);
  view.resize(kWidth, kHeight);
  // The chart lays its series out through the event loop: show it once.
  view.show();
  QApplication::processEvents();
  QImage image = FrameImage();
  for (auto _ : state) {
    QPainter p(&image);
    view.render(&p);
    p.end();
    benchmark::DoNotOptimize(image.constBits());
  }
}
BENCHMARK(BM_Baseline_QtCharts)->Unit(benchmark::kMillisecond)->Iterations(5);

// Curve pixels inside the plot that differ between two pictures, as a share
// of the polyline's curve pixels.
double DifferingShare(const QImage& graph, const QImage& polyline, const acv::Rect& plot) {
  int curve = 0;
  int differing = 0;
  for (int y = plot.top; y <= plot.bottom; ++y) {
    for (int x = plot.left; x <= plot.right; ++x) {
      const bool inGraph = graph.pixel(x, y) == 0xFFFF0000;
      const bool inPolyline = polyline.pixel(x, y) == 0xFFFF0000;
      curve += inPolyline ? 1 : 0;
      differing += inGraph != inPolyline ? 1 : 0;
    }
  }
  return curve > 0 ? static_cast<double>(differing) / curve : 1.0;
}

void BM_Graph_FullPaint(benchmark::State& state) {
  const bool two = state.range(0) == 2;
  const acv::CDTDoc doc = StoreDoc(two ? kPoints / 2 : kPoints, two);
  acv::GraphModel m = StoreGraph(doc);
  acv::GraphPainter painter;
  QImage image = FrameImage();
  for (auto _ : state) {
    painter.Paint(image, m, doc);
    benchmark::DoNotOptimize(image.constBits());
  }
  if (two) return;
  QImage polyline = FrameImage();
  PaintPolyline(polyline, CurvePixels(m, doc));
  const acv::Rect& plot = m.state.plotRect;
  state.counters["differing_pct"] = 100.0 * DifferingShare(image, polyline, plot);
  const int spikeX = acv::TruncToPixel(plot.left + plot.Width() * double(kSpikeAt) / (kPoints - 1));
  const int spikeY = acv::TruncToPixel(plot.bottom - 9.5 * plot.Height() / 10.0);
  state.counters["spike_visible"] = image.pixel(spikeX, spikeY) == 0xFFFF0000 ? 1 : 0;
}
BENCHMARK(BM_Graph_FullPaint)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// A site's timeline as one series: range(0) points (16 downloads of the
// largest size and more) with a gap of a tenth of them between two
// downloads, painted whole. Its pixels are compared with a paint that
// draws every segment (no column merging): differing_px must be 0.
void BM_Graph_FullPaintOfASite(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  acv::CDTDoc doc = StoreDoc(n, false);
  for (int i = n / 2; i < n / 2 + n / 10; ++i) {
    doc.rmsCh1[static_cast<std::size_t>(i)] = std::numeric_limits<float>::quiet_NaN();
  }
  acv::GraphModel m = StoreGraph(doc);
  acv::GraphPainter painter;
  QImage image = FrameImage();
  for (auto _ : state) {
    painter.Paint(image, m, doc);
    benchmark::DoNotOptimize(image.constBits());
  }
  acv::GraphPainter::Options every;
  every.decimate = false;
  every.directSpans = false;
  acv::GraphModel reference = StoreGraph(doc);
  QImage drawn = FrameImage();
  acv::GraphPainter(every).Paint(drawn, reference, doc);
  int differing = 0;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) differing += image.pixel(x, y) != drawn.pixel(x, y) ? 1 : 0;
  }
  state.counters["differing_px"] = differing;
}
BENCHMARK(BM_Graph_FullPaintOfASite)
    ->Arg(std::int64_t{1} << 22)
    ->Arg(std::int64_t{1} << 24)
    ->Unit(benchmark::kMillisecond);

// The one-channel full paint at a device pixel ratio of 2.
void BM_Graph_FullPaintAtRatio2(benchmark::State& state) {
  const acv::CDTDoc doc = StoreDoc(kPoints, false);
  acv::GraphModel m = StoreGraph(doc);
  acv::GraphPainter painter;
  QImage image(2 * kWidth, 2 * kHeight, QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(2.0);
  for (auto _ : state) {
    painter.Paint(image, m, doc);
    benchmark::DoNotOptimize(image.constBits());
  }
  const acv::Rect& plot = m.state.plotRect;
  const int spikeX =
      acv::TruncToPixel(2.0 * (plot.left + plot.Width() * double(kSpikeAt) / (kPoints - 1)));
  const int spikeY = acv::TruncToPixel(2.0 * (plot.bottom - 9.5 * plot.Height() / 10.0));
  state.counters["spike_visible"] = image.pixel(spikeX, spikeY) == 0xFFFF0000 ? 1 : 0;
}
BENCHMARK(BM_Graph_FullPaintAtRatio2)->Unit(benchmark::kMillisecond);

void BM_Graph_RealTimeAppend(benchmark::State& state) {
  constexpr int kRun = 100000;
  acv::CDTDoc doc;
  doc.rtRms.resize(kRun);
  const std::vector<float> v = Series(kRun, 3);
  for (int i = 0; i < kRun; ++i) doc.rtRms[static_cast<std::size_t>(i)] = {v[i], 50.0f};
  doc.rtHasCh1 = doc.rtHasCh2 = 1;
  doc.rtUnitCh1 = "V";
  doc.rtUnitCh2 = "A";
  doc.rtCount = kRun - 1000;
  acv::GraphModel m = StoreGraph(doc);
  acv::GraphState& s = m.state;
  s.mode = acv::GraphMode::RealTimeRms;
  s.realTimeStopped = 0;
  s.plotCh2 = 1;
  s.lastPoint = doc.rtCount;
  acv::GraphPainter painter;
  QImage image = FrameImage();
  painter.Paint(image, m, doc);
  int drawn = 0;
  for (auto _ : state) {
    // The run appends a point; the view decides and draws the newest segment.
    if (++doc.rtCount > kRun) doc.rtCount = kRun - 1000;
    s.lastPoint = doc.rtCount;
    const acv::IncrementalAction action = acv::IncrementalUpdate(m, doc);
    if (action == acv::IncrementalAction::DrawNewest) {
      benchmark::DoNotOptimize(painter.PaintNewestSegments(image, m, doc));
      ++drawn;
    }
  }
  state.counters["fast_path_pct"] = 100.0 * drawn / std::max<double>(1, state.iterations());
}
BENCHMARK(BM_Graph_RealTimeAppend)->Unit(benchmark::kMillisecond);

// One real-time point as the window takes it, in a run of range(0) points
// with an event open at its end: the analysis hands the graph a new shading
// (the open dip grew by a point), the display grows, the view draws.
void BM_Graph_RealTimePointWithOpenEvent(benchmark::State& state) {
  const int run = static_cast<int>(state.range(0));
  constexpr int kRoom = 20000;
  acv::CDTDoc doc;
  const std::vector<float> v = Series(run + kRoom, 3);
  doc.rtRms.resize(static_cast<std::size_t>(run + kRoom));
  for (int i = 0; i < run + kRoom; ++i) doc.rtRms[static_cast<std::size_t>(i)] = {v[i], 5.0f};
  doc.rtHasCh1 = doc.rtHasCh2 = 1;
  doc.rtUnitCh1 = "V";
  doc.rtUnitCh2 = "A";
  doc.rtCount = run;
  acv::CDTView view(doc);
  view.resize(1020, 580);
  acv::DisplaySetup setup;
  setup.displayMode = 1;
  setup.firstPoint = 1;
  setup.panelHeight = 0;
  setup.plotCh1 = setup.plotCh2 = true;
  setup.ch1UnitText = "V";
  setup.ch2UnitText = "A";
  setup.ch1To = 300;
  setup.ch2To = 10;
  view.SetRealTimeStopped(false);
  view.SetDisplayMode(acv::DisplayMode::RealTimeRms);
  auto grow = [&] {
    setup.lastPoint = doc.rtCount;
    view.ApplyDisplay(setup);
    view.FitRealTimeSpan(doc.rtCount);
  };
  grow();
  view.Picture();
  acv::Event dip;
  dip.kind = acv::EventKind::Dip;
  dip.first = run - 5000;
  dip.open = true;
  const int paints = view.FullPaints();
  for (auto _ : state) {
    if (++doc.rtCount > run + kRoom) doc.rtCount = run;
    auto shading = std::make_shared<acv::EventShading>();
    shading->mode = acv::GraphMode::RealTimeRms;
    shading->series = acv::RealTimeRmsSeries(doc, {});
    dip.last = doc.rtCount;
    dip.start = doc.RealTimeSampleTime(dip.first - 1);
    dip.end = doc.RealTimeSampleTime(dip.last);
    shading->events = {dip};
    view.SetEventShading(std::move(shading));
    grow();
    view.RealTimePointAdded();
    benchmark::DoNotOptimize(view.Picture());
  }
  state.counters["full_paint_pct"] =
      100.0 * (view.FullPaints() - paints) / std::max<double>(1, state.iterations());
}
BENCHMARK(BM_Graph_RealTimePointWithOpenEvent)
    ->Arg(16384)
    ->Arg(262144)
    ->Unit(benchmark::kMillisecond);

void BM_Graph_CursorMove(benchmark::State& state) {
  const acv::CDTDoc doc = StoreDoc(kPoints, false);
  acv::GraphModel m = StoreGraph(doc);
  acv::GraphPainter painter;
  QImage image = FrameImage();
  painter.Paint(image, m, doc);
  int x = m.state.plotRect.left;
  for (auto _ : state) {
    if (++x > m.state.plotRect.right) x = m.state.plotRect.left;
    const acv::CursorMove move = acv::MoveCursor(m, doc, x, 400);
    benchmark::DoNotOptimize(painter.ApplyCursorMove(image, m.state, move));
  }
}
BENCHMARK(BM_Graph_CursorMove)->Unit(benchmark::kMillisecond);

// The full paint against its baselines and at ratio 2, by wall-clock and by
// CPU time.
void PrintRatios(const acv::bench::TimesReporter& times) {
  const auto paint = times.Find("BM_Graph_FullPaint/1");
  if (!paint) return;
  for (const auto& [what, name] : {std::pair{"plain polyline", "BM_Baseline_Polyline"},
                                   std::pair{"Qt Charts", "BM_Baseline_QtCharts/iterations:5"}}) {
    const auto base = times.Find(name);
    if (!base) continue;
    std::printf("full paint vs %s: %.1fx faster (wall), %.1fx (CPU)\n", what,
                base->real / paint->real, base->cpu / paint->cpu);
  }
  if (const auto scaled = times.Find("BM_Graph_FullPaintAtRatio2")) {
    std::printf("full paint at ratio 2 vs ratio 1: %.2fx the time (wall), %.2fx (CPU)\n",
                scaled->real / paint->real, scaled->cpu / paint->cpu);
  }
}
}  // namespace

int main(int argc, char** argv) {
  return acv::bench::RunQtBenchmarks(argc, argv, nullptr, PrintRatios);
}
