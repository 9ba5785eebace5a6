// A site's timeline drawn from its stored envelope. The site: --points
// points (100 M by default: 400 full downloads of 262,144 points on two
// channels, one a second, two days without a point after every 25th),
// written once per run into a temporary SQLite library (or into --library
// FILE, kept). Timed, each a paint of both channels into a 1600 x 900 image:
//   open               the envelopes read and the pyramids built;
//   first full paint   the full span right after opening (its column edges read);
//   full paint         the full span again;
//   zoom into a week   a week not seen before;
//   scroll             a week view moved on by a tenth of its width;
//   the window's open and geometry: what View > Site Timeline reads, and the
//                      graph's lines of the full span and of a week.
// Baseline: M4 from every point, every chunk the view covers read from the
// library and reduced column by column. At the end the ratios, the memory
// the envelope holds, and each view's pixels against a paint of every
// point: none may differ.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QLine>
#include <QPainter>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <numbers>
#include <string>

#include "BenchSupport.h"
#include "graph/geometry/ColumnWalk.h"
#include "graph/geometry/GraphFrame.h"
#include "graph/geometry/Scaling.h"
#include "graph/geometry/Segments.h"
#include "graph/geometry/Zoom.h"
#include "library/LibraryConnection.h"
#include "library/LibraryEnvelope.h"
#include "library/LibrarySiteData.h"
#include "library/LibrarySql.h"
#include "library/LibraryStore.h"

namespace {

namespace lib = acv::library;

constexpr int kWidth = 1600;
constexpr int kHeight = 900;
constexpr int kLeft = 50, kRight = 1549, kTop = 20, kBottom = 879;
constexpr std::int64_t kDownload = 262144;
constexpr std::int64_t kGap = 2 * 86400;
constexpr std::int64_t kWeek = 7 * 86400;
constexpr acv::TimeStamp kStart = 1'600'000'123;

std::int64_t gPoints = 400 * kDownload;
// --library FILE: the site written there and kept, to look at in the window.
std::string gLibraryPath;

// The library and the site in it, written once.
struct Site {
  QTemporaryDir folder;
  std::unique_ptr<acv::LibraryConnection> connection;
  std::unique_ptr<lib::LibraryStore> store;
  std::int64_t siteId = 0;
  double writeSeconds = 0.0;

  Site() {
    acv::LibraryLocation where;
    where.path =
        gLibraryPath.empty() ? folder.filePath("timeline.sqlite").toStdString() : gLibraryPath;
    std::string problem;
    connection = acv::LibraryConnection::Open(where, &problem);
    if (connection) store = lib::LibraryStore::Attach(*connection, &problem);
    if (!store) {
      std::fprintf(stderr, "bench_timeline: %s\n", problem.c_str());
      std::exit(1);
    }
    const auto began = std::chrono::steady_clock::now();
    Write();
    writeSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
  }

  // Chunks, summaries and envelopes inserted straight, in one transaction.
  void Write() {
    lib::SiteRecord record;
    record.name = "Site";
    store->SaveSite(record);
    siteId = store->Site("Site")->id;
    const QSqlDatabase& db = connection->Database();
    lib::Transaction transaction(db);
    QSqlQuery measurement = lib::Prepare(
        db,
        "INSERT INTO measurement (id, site_id, kind, source, sha256, imported_at, start_time,"
        " end_time, interval_s, points, duplicates, ch1_unit, ch2_unit, tr_records,"
        " limit_nominal, limit_dip, limit_swell, limit_interruption, limit_hysteresis,"
        " limit_over_current, limit_band) VALUES (?, ?, 'store', 'bench', ?, '', ?, ?, 1, ?, 0,"
        " 'V', 'A', 0, 230, 10, 10, 5, 2, 100, 10)");
    QSqlQuery chunk = lib::Prepare(
        db,
        "INSERT INTO chunk (id, measurement_id, site_id, kind, start_time, interval_s, points,"
        " ch1_points, ch1_left_out, ch1_min, ch1_max, ch1_sum, ch1_deviations, ch2_points,"
        " ch2_left_out, ch2_min, ch2_max, ch2_sum, ch2_deviations, product_sum, product_points,"
        " ch1, ch2) VALUES (?, ?, ?, 'store', ?, 1, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?,"
        " ?, ?)");
    QSqlQuery envelope =
        lib::Prepare(db, "INSERT INTO chunk_envelope (chunk_id, ch1, ch2) VALUES (?, ?, ?)");
    std::uint32_t noise = 12345;
    std::int64_t chunkId = 0;
    acv::TimeStamp t = kStart;
    lib::PointRun run;
    run.interval = 1;
    run.present = {true, true};
    for (std::int64_t done = 0, d = 0; done < gPoints; ++d) {
      const std::int64_t n = std::min(kDownload, gPoints - done);
      run.start = t;
      for (auto& v : run.values) v.resize(static_cast<std::size_t>(n));
      for (std::int64_t i = 0; i < n; ++i) {
        noise = noise * 1664525u + 1013904223u;
        const double r = static_cast<double>(noise >> 8) / 16777216.0 - 0.5;
        const double day =
            std::sin(static_cast<double>(t + i) * (2.0 * std::numbers::pi / 86400.0));
        // A swell of one point now and then.
        const double spike = (t + i) % 100003 == 0 ? 60.0 : 0.0;
        run.values[0][static_cast<std::size_t>(i)] =
            static_cast<float>(232.0 + 5.0 * day + r + spike);
        run.values[1][static_cast<std::size_t>(i)] = static_cast<float>(6.0 + 3.0 * day + 0.4 * r);
      }
      lib::Run(measurement, {lib::Int(d + 1), lib::Int(siteId), lib::Text(std::to_string(d)),
                             lib::Int(t), lib::Int(t + n), lib::Int(n)});
      for (std::int64_t first = 0; first < n; first += lib::kChunkPoints) {
        const std::int64_t count = std::min(lib::kChunkPoints, n - first);
        const lib::ChunkSummary s = lib::SummariseRun(run, first, count);
        const lib::ChannelSummary &a = s.channels[0], &b = s.channels[1];
        lib::Run(chunk, {lib::Int(++chunkId),
                         lib::Int(d + 1),
                         lib::Int(siteId),
                         lib::Int(t + first),
                         lib::Int(count),
                         lib::Int(a.points),
                         lib::Int(a.leftOut),
                         a.min,
                         a.max,
                         a.sum,
                         a.deviations,
                         lib::Int(b.points),
                         lib::Int(b.leftOut),
                         b.min,
                         b.max,
                         b.sum,
                         b.deviations,
                         s.productSum,
                         lib::Int(s.productPoints),
                         lib::FloatsBlob(run.values[0].data() + first, count),
                         lib::FloatsBlob(run.values[1].data() + first, count)});
        std::array<QVariant, 2> blobs;
        for (int ch = 0; ch < 2; ++ch) {
          blobs[ch] = lib::Blob(lib::EncodeEnvelope(lib::SummariseEnvelope(
              run.values[ch].data() + first, count, lib::GridNumber(t + first, 1))));
        }
        lib::Run(envelope, {lib::Int(chunkId), blobs[0], blobs[1]});
      }
      done += n;
      t += n + ((d + 1) % 25 == 0 ? kGap : 0);
    }
    measurement.finish();
    chunk.finish();
    envelope.finish();
    transaction.Commit();
  }

  lib::ChunkReader Reader() const {
    return [store = store.get()](const lib::ChunkInfo& c) { return store->ReadChunk(c); };
  }
  std::string Open(lib::SiteEnvelope& into) const {
    return into.Open(lib::SiteEnvelopes(connection->Database(), siteId, lib::SeriesKind::Store),
                     Reader(), {1.0, 1.0});
  }
};

Site& TheSite() {
  static Site site;
  return site;
}

// The envelope the view benchmarks share, opened and painted whole once.
lib::SiteEnvelope& Shared();

// What a paint shows: elements first - 1 .. last, element k at
// x = kLeft + step (shift + k).
struct View {
  double step, shift;
  std::int64_t first, last;
};
View FullSpan(std::int64_t n) {
  return {static_cast<double>(kRight - kLeft) / static_cast<double>(n - 1), 0.0, 1, n - 1};
}
View WeekFrom(std::int64_t start, std::int64_t n) {
  const std::int64_t from =
      std::clamp<std::int64_t>(start, 0, std::max<std::int64_t>(n - kWeek, 0));
  return {static_cast<double>(kRight - kLeft) / static_cast<double>(kWeek),
          -static_cast<double>(from), from + 1, std::min(from + kWeek, n - 1)};
}

double YOf(int channel, double v) {
  // CH1 220 .. 300 V, CH2 0 .. 12 A over the plot.
  const double low = channel == 0 ? 220.0 : 0.0, span = channel == 0 ? 80.0 : 12.0;
  return kBottom - (v - low) * (kBottom - kTop) / span;
}

using ValueOf = std::function<double(std::int64_t)>;

std::vector<acv::SegmentLine> Lines(int channel, const acv::MinMaxPyramid& pyramid,
                                    std::int64_t base, const ValueOf& value, const View& v) {
  const acv::ColumnGeometry g{kLeft, v.step, v.shift, 1.0, kTop, kBottom, base};
  const auto yOf = [channel](double x) { return YOf(channel, x); };
  std::vector<acv::SegmentLine> lines;
  acv::ColumnWalker<ValueOf, decltype(yOf)>(g, pyramid, value, yOf, lines).Walk(v.first, v.last);
  return lines;
}

void Draw(QImage& image, const std::array<std::vector<acv::SegmentLine>, 2>& channels) {
  QPainter p(&image);
  p.fillRect(image.rect(), Qt::black);
  const QColor colours[2] = {Qt::red, Qt::green};
  for (int ch = 0; ch < 2; ++ch) {
    QVector<QLine> lines;
    lines.reserve(static_cast<qsizetype>(channels[ch].size()));
    for (const acv::SegmentLine& l : channels[ch]) lines.append(QLine(l.a.x, l.a.y, l.b.x, l.b.y));
    p.setPen(QPen(colours[ch], 0));
    p.drawLines(lines);
  }
}

void PaintEnvelope(QImage& image, lib::SiteEnvelope& e, const View& v) {
  std::array<std::vector<acv::SegmentLine>, 2> channels;
  for (int ch = 0; ch < 2; ++ch) {
    const ValueOf value = [&e, ch](std::int64_t q) { return e.Value(ch, q - e.Lead()); };
    channels[ch] = Lines(ch, e.Pyramid(ch), e.Lead(), value, v);
  }
  Draw(image, channels);
}

// Every point of the grid elements from .. to - 1 read from the library.
std::array<std::vector<float>, 2> EveryPoint(std::int64_t from, std::int64_t to) {
  Site& site = TheSite();
  const lib::SiteGrid& grid = Shared().Grid();
  std::array<std::vector<float>, 2> values;
  for (auto& v : values) v.assign(static_cast<std::size_t>(to - from), std::nanf(""));
  const lib::TimeRange range{grid.start + from * grid.interval,
                             grid.start + (to - 1) * grid.interval};
  for (const lib::ChunkInfo& c : site.store->Chunks(site.siteId, lib::SeriesKind::Store, range)) {
    const lib::PointRun run = site.store->ReadChunk(c);
    for (std::int64_t k = 0; k < c.count; ++k) {
      const std::int64_t p = grid.At(c.Time(k)) - from;
      if (p < 0 || p >= to - from) continue;
      for (int ch = 0; ch < 2; ++ch)
        values[ch][static_cast<std::size_t>(p)] = run.values[ch][static_cast<std::size_t>(k)];
    }
  }
  return values;
}

// M4 from every point: the points the view covers read, then every one of
// them walked column by column.
void PaintEveryPoint(QImage& image, const View& v) {
  const std::int64_t n = Shared().Count();
  const std::int64_t from = std::max<std::int64_t>(v.first - 1, 0);
  const std::int64_t to = std::min(v.last + 1, n);
  const std::array<std::vector<float>, 2> values = EveryPoint(from, to);
  static const acv::MinMaxPyramid kNone;
  std::array<std::vector<acv::SegmentLine>, 2> channels;
  for (int ch = 0; ch < 2; ++ch) {
    const ValueOf value = [&, ch](std::int64_t p) -> double {
      return p >= from && p < to ? values[ch][static_cast<std::size_t>(p - from)] : std::nan("");
    };
    channels[ch] = Lines(ch, kNone, 0, value, v);
  }
  Draw(image, channels);
}

lib::SiteEnvelope& Shared() {
  static lib::SiteEnvelope* envelope = [] {
    auto* e = new lib::SiteEnvelope;
    const std::string problem = TheSite().Open(*e);
    if (!problem.empty()) {
      std::fprintf(stderr, "bench_timeline: %s\n", problem.c_str());
      std::exit(1);
    }
    QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    PaintEnvelope(image, *e, FullSpan(e->Count()));
    return e;
  }();
  return *envelope;
}

// The start of the i-th week the benchmarks visit: spread over the span,
// none twice in a run.
std::int64_t WeekStart(std::int64_t i) {
  const std::int64_t n = Shared().Count();
  return (i * 7919 * 86400 + 3 * 3600) % std::max<std::int64_t>(n - kWeek, 1);
}

void BM_Timeline_Open(benchmark::State& state) {
  for (auto _ : state) {
    lib::SiteEnvelope e;
    benchmark::DoNotOptimize(TheSite().Open(e));
    state.counters["memory_MiB"] = static_cast<double>(e.MemoryBytes()) / 1048576.0;
  }
}
BENCHMARK(BM_Timeline_Open)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_Timeline_FirstFullPaint(benchmark::State& state) {
  QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    state.PauseTiming();
    lib::SiteEnvelope e;
    TheSite().Open(e);
    state.ResumeTiming();
    PaintEnvelope(image, e, FullSpan(e.Count()));
    state.counters["chunks_read"] = static_cast<double>(e.ChunksRead());
  }
}
BENCHMARK(BM_Timeline_FirstFullPaint)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_Timeline_FullPaint(benchmark::State& state) {
  lib::SiteEnvelope& e = Shared();
  QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) PaintEnvelope(image, e, FullSpan(e.Count()));
}
BENCHMARK(BM_Timeline_FullPaint)->Unit(benchmark::kMillisecond);

void BM_Timeline_ZoomIntoAWeek(benchmark::State& state) {
  lib::SiteEnvelope& e = Shared();
  QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
  std::int64_t i = 0;
  for (auto _ : state) PaintEnvelope(image, e, WeekFrom(WeekStart(++i), e.Count()));
}
BENCHMARK(BM_Timeline_ZoomIntoAWeek)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_Timeline_Scroll(benchmark::State& state) {
  lib::SiteEnvelope& e = Shared();
  QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
  std::int64_t at = WeekStart(1000);
  PaintEnvelope(image, e, WeekFrom(at, e.Count()));
  for (auto _ : state) {
    at += kWeek / 10;
    PaintEnvelope(image, e, WeekFrom(at, e.Count()));
  }
}
BENCHMARK(BM_Timeline_Scroll)->Unit(benchmark::kMillisecond)->Iterations(20);

// What View > Site Timeline does below the window for a site this long:
// the chunk list, its time grid, the envelopes and the pyramids, as the
// data set the graph shows.
acv::StoreFamily OpenAsTheWindowDoes() {
  Site& site = TheSite();
  acv::StoreFamily data;
  lib::SiteDataRead read;
  const std::string problem =
      lib::ReadSiteData(site.connection->Database(), *site.store, *site.store->Site("Site"),
                        lib::SeriesKind::Store, lib::kMaxSiteSeriesPoints, nullptr, data, read);
  if (!problem.empty() || data.rmsExternal == nullptr) {
    std::fprintf(stderr, "bench_timeline: the window's read: %s\n", problem.c_str());
    std::exit(1);
  }
  return data;
}

void BM_Timeline_OpenInTheWindow(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(OpenAsTheWindowDoes());
}
BENCHMARK(BM_Timeline_OpenInTheWindow)->Unit(benchmark::kMillisecond)->Iterations(3);

// The window's graph geometry over that data set: the curve's lines of
// both channels for the full span, then for a zoom onto a week.
void BM_Timeline_WindowGeometry(benchmark::State& state) {
  acv::CDTDoc doc;
  doc.Store() = OpenAsTheWindowDoes();
  const acv::Rect client{0, 0, kWidth, kHeight};
  acv::GraphModel full;
  acv::GraphState& s = full.state;
  s.displayMode = acv::kGraphFace;
  s.mode = acv::GraphMode::StoreRms;
  s.panelHeight = 0;
  s.firstPoint = 1;
  s.lastPoint = doc.rmsCount;
  s.ch1From = 220;
  s.ch1To = 300;
  s.ch2To = 12;
  s.plotCh1 = s.plotCh2 = 1;
  acv::LayoutGraph(s, client);
  acv::BuildZoomLevels(s);
  const bool zoom = state.range(0) == 1;
  acv::CurveBatch batch;
  std::int64_t i = 300, lines = 0;
  for (auto _ : state) {
    acv::GraphModel m = full;
    if (zoom) {
      state.PauseTiming();
      acv::PrepareGraphPaint(m, doc, client);
      acv::FinishGraphPaint(m.state);
      state.ResumeTiming();
      const std::int64_t from = WeekStart(++i);
      acv::ZoomOntoPoints(m, from + 1, from + kWeek);
    }
    acv::PrepareGraphPaint(m, doc, client);
    const acv::SeriesSource source(doc, m.state.mode);
    for (int ch = 0; ch < 2; ++ch) {
      acv::BuildCurve(m, source, ch, true, false, batch);
      lines += static_cast<std::int64_t>(batch.lines.size());
    }
  }
  state.counters["lines"] = static_cast<double>(lines) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_Timeline_WindowGeometry)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20);

void BM_Baseline_M4FullSpan(benchmark::State& state) {
  QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) PaintEveryPoint(image, FullSpan(Shared().Count()));
}
BENCHMARK(BM_Baseline_M4FullSpan)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_Baseline_M4Week(benchmark::State& state) {
  QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
  std::int64_t i = 500;
  for (auto _ : state) PaintEveryPoint(image, WeekFrom(WeekStart(++i), Shared().Count()));
}
BENCHMARK(BM_Baseline_M4Week)->Unit(benchmark::kMillisecond)->Iterations(10);

// Pixels that differ between the envelope's paint and every point's.
void ComparePixels() {
  lib::SiteEnvelope& e = Shared();
  const std::int64_t n = e.Count();
  struct Case {
    const char* name;
    View view;
  };
  for (const Case& c : {Case{"full span", FullSpan(n)}, Case{"a week", WeekFrom(WeekStart(77), n)},
                        Case{"a week scrolled", WeekFrom(WeekStart(77) + kWeek / 10 + 12345, n)}}) {
    QImage mine(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    QImage every(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    PaintEnvelope(mine, e, c.view);
    PaintEveryPoint(every, c.view);
    std::int64_t curve = 0, differing = 0;
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        curve += every.pixel(x, y) != 0xFF000000 ? 1 : 0;
        differing += mine.pixel(x, y) != every.pixel(x, y) ? 1 : 0;
      }
    }
    std::printf("pixels differing from every point's paint, %s: %lld of %lld curve pixels\n",
                c.name, static_cast<long long>(differing), static_cast<long long>(curve));
  }
}

void Report(const acv::bench::TimesReporter& times) {
  Site& site = TheSite();
  lib::SiteEnvelope& e = Shared();
  std::printf(
      "site: %lld points on two channels (%lld grid points with the gaps), written in %.1f s\n",
      static_cast<long long>(gPoints), static_cast<long long>(e.Count()), site.writeSeconds);
  std::printf(
      "envelope memory: %.1f MiB (pyramids %.1f MiB)\n",
      static_cast<double>(e.MemoryBytes()) / 1048576.0,
      static_cast<double>(e.Pyramid(0).MemoryBytes() + e.Pyramid(1).MemoryBytes()) / 1048576.0);
  const auto ratio = [&](const char* label, const char* mine, const char* base) {
    const auto a = times.Find(mine), b = times.Find(base);
    if (a && b && a->real > 0)
      std::printf("%s: %.2f ms, %.1fx faster than M4 from every point (%.1f ms)\n", label, a->real,
                  b->real / a->real, b->real);
  };
  ratio("open", "BM_Timeline_Open/iterations:3", "BM_Baseline_M4FullSpan/iterations:1");
  ratio("first full paint", "BM_Timeline_FirstFullPaint/iterations:3",
        "BM_Baseline_M4FullSpan/iterations:1");
  ratio("full paint", "BM_Timeline_FullPaint", "BM_Baseline_M4FullSpan/iterations:1");
  ratio("zoom into a week", "BM_Timeline_ZoomIntoAWeek/iterations:20",
        "BM_Baseline_M4Week/iterations:10");
  ratio("scroll", "BM_Timeline_Scroll/iterations:20", "BM_Baseline_M4Week/iterations:10");
  ratio("the window's open", "BM_Timeline_OpenInTheWindow/iterations:3",
        "BM_Baseline_M4FullSpan/iterations:1");
  ratio("the window's full span (geometry)", "BM_Timeline_WindowGeometry/0/iterations:20",
        "BM_Baseline_M4FullSpan/iterations:1");
  ratio("the window's zoom into a week (geometry)", "BM_Timeline_WindowGeometry/1/iterations:20",
        "BM_Baseline_M4Week/iterations:10");
  ComparePixels();
}

}  // namespace

int main(int argc, char** argv) {
  // --points N: the site's size (a short smoke run takes a small one).
  // --library FILE: written there and kept (see gLibraryPath).
  for (int i = 1; i < argc;) {
    const bool points = std::strcmp(argv[i], "--points") == 0;
    if ((points || std::strcmp(argv[i], "--library") == 0) && i + 1 < argc) {
      if (points) {
        gPoints = std::max<std::int64_t>(std::atoll(argv[i + 1]), 2 * kWeek);
      } else {
        gLibraryPath = argv[i + 1];
      }
      for (int j = i; j + 2 <= argc; ++j) argv[j] = argv[j + 2];
      argc -= 2;
    } else {
      ++i;
    }
  }
  return acv::bench::RunQtBenchmarks(
      argc, argv, [] { Shared(); }, Report);
}
