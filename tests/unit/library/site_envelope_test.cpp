// A site's envelope against the site's series built from every point: the
// same values at every grid point, and the same curve walked column by
// column at any zoom, whatever the downloads' alignment, gaps, missing
// values, absent channels or stored envelopes.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <random>

#include "graph/geometry/ColumnWalk.h"
#include "library/core/SiteEnvelope.h"

namespace acv::library {
namespace {

constexpr float kNan = std::numeric_limits<float>::quiet_NaN();

struct Site {
  std::vector<ChunkEnvelopeRow> rows;
  std::map<std::int64_t, PointRun> runs;
  int reads = 0;

  // A download of n points from `start` (10 s apart), cut into chunks as
  // the store does; `ch2` adds a current channel.
  void Download(TimeStamp start, std::int64_t n, unsigned seed, bool ch2) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<float> value(200.0f, 260.0f);
    std::uniform_int_distribution<int> pick(0, 999);
    for (std::int64_t first = 0; first < n; first += kChunkPoints) {
      const std::int64_t count = std::min(kChunkPoints, n - first);
      ChunkEnvelopeRow row;
      ChunkInfo& c = row.chunk;
      c.id = c.measurement = static_cast<std::int64_t>(rows.size()) + 1;
      c.start = start + first * 10;
      c.interval = 10;
      c.count = count;
      c.present = {true, ch2};
      c.units = {"V", ch2 ? "A" : ""};
      PointRun run{c.start, 10, c.present, {}};
      for (int ch = 0; ch < (ch2 ? 2 : 1); ++ch) {
        for (std::int64_t k = 0; k < count; ++k) {
          const int p = pick(rng);
          // Now and then a point without a value or far beyond the plot.
          run.values[ch].push_back(p == 0 ? kNan : p == 1 ? 900.0f : value(rng) / (ch + 1.0f));
        }
        row.blocks[ch] = SummariseEnvelope(run.values[ch].data(), count, GridNumber(c.start, 10));
      }
      runs[c.id] = std::move(run);
      rows.push_back(std::move(row));
    }
  }
  ChunkReader Reader() {
    return [this](const ChunkInfo& c) {
      ++reads;
      return runs.at(c.id);
    };
  }
};

// Downloads at every alignment to the envelope's blocks, overlapping none,
// with gaps of a few points (inside a block) and of days.
Site Survey() {
  Site site;
  site.Download(1'700'000'070, 9000, 1, true);
  site.Download(1'700'000'070 + 9003 * 10, 5000, 2, false);  // a 3-point gap, no CH2
  site.Download(1'700'000'070 + 40000 * 10, 20000, 3, true);
  site.Download(1'700'000'070 + 60000 * 10, 777, 4, true);  // right after, one partial chunk
  return site;
}

std::vector<SegmentLine> Walk(const MinMaxPyramid& pyramid, std::int64_t base, double step,
                              double shift, std::int64_t first, std::int64_t last,
                              const std::function<double(std::int64_t)>& value) {
  const ColumnGeometry g{40.0, step, shift, 1.0, 20, 420, base};
  const auto yOf = [](double v) { return 420.0 - (v + 200.0) * 0.5; };  // -200..600 fill the plot
  std::vector<SegmentLine> lines;
  ColumnWalker<decltype(value), decltype(yOf)>(g, pyramid, value, yOf, lines).Walk(first, last);
  return lines;
}

TEST(SiteEnvelope, SameValuesAndCurveAsEveryPoint) {
  Site site = Survey();
  std::vector<ChunkInfo> infos;
  for (const ChunkEnvelopeRow& r : site.rows) infos.push_back(r.chunk);
  // One stored envelope missing and one of the wrong size: both read instead.
  site.rows[1].blocks[0].reset();
  site.rows[5].blocks[1]->pop_back();
  const ChannelFactors factors{2.0, -0.5};
  StoreFamily series;
  std::int64_t leftOut = 0;
  ASSERT_EQ(BuildSiteSeries(infos, site.Reader(), factors, series, &leftOut), "");
  SiteEnvelope envelope;
  site.reads = 0;
  ASSERT_EQ(envelope.Open(site.rows, site.Reader(), factors), "");
  EXPECT_EQ(site.reads, 2);
  ASSERT_EQ(envelope.Count(), series.rmsCount);
  EXPECT_EQ(envelope.Lead(), GridNumber(series.rmsStartTime, 10) % kEnvelopeBlock);

  const std::array<const std::vector<float>*, 2> every{&series.rmsCh1, &series.rmsCh2};
  for (int ch = 0; ch < 2; ++ch) {
    const auto all = [&](std::int64_t p) -> double {
      return p >= 0 && p < envelope.Count() ? (*every[ch])[static_cast<std::size_t>(p)] : kNan;
    };
    const auto stored = [&](std::int64_t q) -> double {
      return envelope.Value(ch, q - envelope.Lead());
    };
    const MinMaxPyramid none;
    // The full span over 800 and over 40 columns (whole blocks in a
    // column); 25 points a column from the start and scrolled to straddle
    // the long gap; fewer points than columns.
    struct View {
      double step, shift;
      std::int64_t first, last;
    };
    const std::int64_t n = envelope.Count();
    for (const View v :
         {View{800.0 / static_cast<double>(n), 0.0, 1, n - 1},
          View{40.0 / static_cast<double>(n), 0.0, 1, n - 1}, View{0.04, 0.0, 1, 19999},
          View{0.04, -38000.0, 38001, 58000}, View{3.0, -60200.0, 60201, 60400}}) {
      const std::vector<SegmentLine> want = Walk(none, 0, v.step, v.shift, v.first, v.last, all);
      ASSERT_FALSE(want.empty());
      EXPECT_EQ(
          Walk(envelope.Pyramid(ch), envelope.Lead(), v.step, v.shift, v.first, v.last, stored),
          want)
          << "channel " << ch << ", step " << v.step;
    }
    for (std::int64_t p = -2; p < n + 2; ++p) {
      const double a = all(p), b = stored(p + envelope.Lead());
      ASSERT_TRUE(a == b || (std::isnan(a) && std::isnan(b))) << "channel " << ch << " point " << p;
    }
  }
  // A repeated paint is served from the caches.
  const int before = site.reads;
  const auto value = [&](std::int64_t q) -> double {
    return envelope.Value(0, q - envelope.Lead());
  };
  const std::int64_t n = envelope.Count();
  Walk(envelope.Pyramid(0), envelope.Lead(), 800.0 / static_cast<double>(n), 0.0, 1, n - 1, value);
  const int first = site.reads;
  Walk(envelope.Pyramid(0), envelope.Lead(), 800.0 / static_cast<double>(n), 0.0, 1, n - 1, value);
  EXPECT_EQ(site.reads, first);
  EXPECT_GE(first, before);
}

TEST(SiteEnvelope, RefusesWhatMakesNoSeries) {
  Site none;
  SiteEnvelope envelope;
  EXPECT_EQ(envelope.Open(none.rows, none.Reader(), {1.0, 1.0}),
            "the site has no points of this kind");
  Site mixed = Survey();
  mixed.rows.back().chunk.units[0] = "A";
  EXPECT_EQ(envelope.Open(mixed.rows, mixed.Reader(), {1.0, 1.0}),
            "channel 1 was measured in V and in A");
}

}  // namespace
}  // namespace acv::library
