// The library's rules below the database: merging downloads, the chunk
// blobs and summaries, and questions over a site's timeline.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>

#include "analysis/SpanStatistics.h"
#include "library/core/ChunkFigures.h"
#include "library/core/MergeDownloads.h"
#include "library/core/SeriesChunks.h"
#include "library/core/SiteTimeline.h"

namespace acv::library {
namespace {

PointRun MakeRun(TimeStamp start, std::int64_t interval, std::vector<float> ch1,
                 std::vector<float> ch2 = {}) {
  PointRun run;
  run.start = start;
  run.interval = interval;
  run.present = {true, !ch2.empty()};
  run.values = {std::move(ch1), std::move(ch2)};
  return run;
}

TEST(MergeDownloads, DuplicatesConflictsAndInterleaving) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const PointRun stored = MakeRun(100, 10, {1, 2, 3, 4}, {5, 6, 7, 8});  // 100 .. 130
  struct Case {
    const char* what;
    PointRun added;
    std::int64_t duplicates;
    std::vector<std::pair<std::int64_t, std::int64_t>> keep;
    std::optional<TimeStamp> conflictAt, interleaveAt;
  } cases[] = {
      {"after a gap", MakeRun(200, 10, {1, 2}, {1, 2}), 0, {{0, 2}}, {}, {}},
      {"overlapping the tail", MakeRun(120, 10, {3, 4, 9}, {7, 8, 9}), 2, {{2, 1}}, {}, {}},
      {"inside, all repeated", MakeRun(110, 10, {2, 3}, {6, 7}), 2, {}, {}, {}},
      {"a changed value", MakeRun(110, 10, {2, 9, 4}, {6, 7, 8}), 2, {{1, 1}}, 120, {}},
      {"first conflict named", MakeRun(90, 10, {0, 9, 9}, {0, 9, 9}), 0, {{0, 3}}, 100, 100},
      {"a channel fewer", MakeRun(130, 10, {4, 5}), 0, {{0, 2}}, 130, 130},
      {"another interval", MakeRun(105, 10, {1, 2}, {1, 2}), 0, {{0, 2}}, {}, 105},
      {"around the stored run", MakeRun(90, 5, {0, 1, 2}, {5, 5, 5}), 0, {{0, 3}}, 100, 90},
  };
  for (const Case& c : cases) {
    const MergePlan plan = PlanMerge(c.added, {stored});
    EXPECT_EQ(plan.duplicates, c.duplicates) << c.what;
    EXPECT_EQ(plan.keep, c.keep) << c.what;
    EXPECT_EQ(plan.conflictAt, c.conflictAt) << c.what;
    if (!c.conflictAt) {
      EXPECT_EQ(plan.interleaveAt, c.interleaveAt) << c.what;
    }
  }
  // A damaged point repeated as it was is the same point.
  EXPECT_EQ(PlanMerge(MakeRun(0, 1, {nan}), {MakeRun(0, 1, {nan})}).duplicates, 1);
}

TEST(SeriesChunks, BlobsKeepTheirValuesAndRefuseAWrongCount) {
  const std::vector<float> values = {229.5f, -0.0f, std::numeric_limits<float>::infinity(), 1e-30f};
  const std::vector<std::uint8_t> bytes = EncodeFloats(values);
  ASSERT_EQ(bytes.size(), 16u);
  EXPECT_EQ(bytes[0], 0x00);  // 229.5f = 0x43658000, little-endian
  EXPECT_EQ(bytes[3], 0x43);
  const auto back = DecodeFloats(bytes, 4);
  ASSERT_TRUE(back);
  for (std::size_t i = 0; i < values.size(); ++i) {
    EXPECT_EQ(std::bit_cast<std::uint32_t>((*back)[i]), std::bit_cast<std::uint32_t>(values[i]));
  }
  for (const std::int64_t wrong : {3, 5, -1}) EXPECT_FALSE(DecodeFloats(bytes, wrong)) << wrong;
  EXPECT_EQ(ChunkBounds(10, 4), (std::vector<std::int64_t>{0, 4, 8, 10}));
}

// A long steady series with a few damaged points, cut into uneven chunks.
PointRun SteadySeries(std::int64_t n) {
  PointRun run = MakeRun(1'000'000, 2, {}, {});
  run.present = {true, true};
  for (std::int64_t k = 0; k < n; ++k) {
    run.values[0].push_back(230.0f + 0.1f * static_cast<float>(std::sin(0.01 * k)));
    run.values[1].push_back(k % 97 == 5 ? std::numeric_limits<float>::quiet_NaN()
                                        : 5.0f + static_cast<float>(k % 13));
  }
  return run;
}

std::vector<ChunkInfo> ChunksOf(const PointRun& run, std::int64_t perChunk) {
  std::vector<ChunkInfo> chunks;
  const std::vector<std::int64_t> bounds = ChunkBounds(run.Count(), perChunk);
  for (std::size_t i = 0; i + 1 < bounds.size(); ++i) {
    ChunkInfo c;
    c.id = static_cast<std::int64_t>(i);
    c.start = run.Time(bounds[i]);
    c.interval = run.interval;
    c.count = bounds[i + 1] - bounds[i];
    c.present = run.present;
    c.units = {"V", "A"};
    c.summary = SummariseRun(run, bounds[i], c.count);
    chunks.push_back(c);
  }
  return chunks;
}

TEST(SiteTimeline, ChunkSummariesJoinToAScan) {
  const PointRun run = SteadySeries(1000);
  ChunkSummary joined;
  for (const ChunkInfo& c : ChunksOf(run, 64)) joined.Join(c.summary);
  const ChunkSummary whole = SummariseRun(run, 0, run.Count());
  for (int c = 0; c < 2; ++c) {
    EXPECT_EQ(joined.channels[c].points, whole.channels[c].points);
    EXPECT_EQ(joined.channels[c].leftOut, whole.channels[c].leftOut);
    EXPECT_EQ(joined.channels[c].min, whole.channels[c].min);
    EXPECT_EQ(joined.channels[c].max, whole.channels[c].max);
    EXPECT_NEAR(joined.channels[c].sum, whole.channels[c].sum, 1e-9 * whole.channels[c].sum);
    EXPECT_NEAR(joined.channels[c].deviations, whole.channels[c].deviations,
                1e-9 * whole.channels[c].deviations);
  }
}

// The figures an import stores: a summary of both channels adds each sum
// in point order, as a scan of each channel alone does, to the last bit;
// the figures worked out on a thread of their own are those worked out in
// place, chunk for chunk over several pieces, with more work after them;
// and an import that stops early leaves the thread behind cleanly.
TEST(ChunkFigures, AheadOnAThreadAsInPlaceAndEveryBitOfAScan) {
  PointRun run = SteadySeries(9000);
  run.values[0][4100] = -std::numeric_limits<float>::infinity();
  const ChunkSummary both = SummariseRun(run, 100, 4096);
  for (int c = 0; c < 2; ++c) {
    EXPECT_EQ(both.channels[c], SummariseChannel(run.values[c].data() + 100, 4096)) << c;
  }
  const BandBasis basis{{1.0, 0.5}, 229.0, 231.0};
  const std::vector<std::pair<std::int64_t, std::int64_t>> pieces = {
      {0, 5000}, {6000, 100}, {8999, 1}};
  bool then = false;
  ChunkFiguresAhead ahead(run, pieces, basis, [&] { then = true; });
  std::size_t i = 0;
  for (const auto& [first, count] : pieces) {
    for (const ChunkFigures& want : FiguresOfChunks(run, first, count, basis)) {
      ASSERT_LT(i, ahead.Count());
      const ChunkFigures& got = ahead.Get(i++);
      EXPECT_EQ(got.first, want.first);
      EXPECT_EQ(got.count, want.count);
      EXPECT_EQ(got.summary, want.summary);
      EXPECT_EQ(got.band, want.band);
      EXPECT_EQ(got.envelopes, want.envelopes);
    }
  }
  EXPECT_EQ(i, ahead.Count());
  EXPECT_EQ(i, 4u);
  ahead.Finish();
  EXPECT_TRUE(then) << "the work after the figures is done once Finish returns";
  { ChunkFiguresAhead abandoned(run, pieces, basis); }
  ChunkFiguresAhead none(run, {}, basis);
  EXPECT_EQ(none.Count(), 0u);
}

TEST(SiteTimeline, RangeInsideChunksGivesTheFiguresOfAScan) {
  const PointRun run = SteadySeries(1000);
  const std::vector<ChunkInfo> chunks = ChunksOf(run, 64);
  int reads = 0;
  const ChunkReader read = [&](const ChunkInfo& c) {
    ++reads;
    return run.Slice((c.start - run.start) / run.interval, c.count);
  };
  // From inside the second chunk to inside the last but one.
  const std::int64_t first = 70, last = 900;
  const TimeRange range{run.Time(first) - 1, run.Time(last) + 1};
  const std::vector<TimelinePiece> pieces = PiecesInRange(chunks, range);
  ASSERT_EQ(pieces.size(), 14u);
  EXPECT_FALSE(pieces.front().Whole());
  EXPECT_TRUE(pieces[1].Whole());
  const SpanStatistics got = TimelineStatistics(pieces, read, {1.0, 1.0});
  EXPECT_LE(reads, 6);  // the two cut chunks and where the extremes lie, never all 14

  StoreFamily file = SegmentData(SplitAtGaps(PiecesInRange(chunks, {})).front(), read, {1, 1});
  const SpanStatistics want = ScanSpan(StoreRmsSeries(file, {}), first, last);
  EXPECT_EQ(got.Points(), want.Points());
  EXPECT_EQ(got.start, want.start);
  EXPECT_EQ(got.end, want.end);
  for (int c = 0; c < 2; ++c) {
    const ChannelSpan &g = got.channels[c], &w = want.channels[c];
    EXPECT_EQ(g.points, w.points);
    EXPECT_EQ(g.leftOut, w.leftOut);
    EXPECT_EQ(g.min, w.min);
    EXPECT_EQ(g.max, w.max);
    EXPECT_EQ(g.minPoint, w.minPoint - first);
    EXPECT_EQ(g.maxPoint, w.maxPoint - first);
    EXPECT_FLOAT_EQ(g.mean, w.mean);
    EXPECT_FLOAT_EQ(g.stddev, w.stddev);
  }
  EXPECT_TRUE(got.hasPower);
  EXPECT_EQ(got.powerLeftOut, want.powerLeftOut);
  EXPECT_FLOAT_EQ(got.meanVa, want.meanVa);
  EXPECT_FLOAT_EQ(got.energyVah, want.energyVah);

  // A clamp of ratio 20 on CH2 shows every CH2 figure, and the power, 20 times larger.
  const SpanStatistics scaled = TimelineStatistics(pieces, read, {1.0, 20.0});
  EXPECT_EQ(scaled.channels[0].max, got.channels[0].max);
  EXPECT_FLOAT_EQ(scaled.channels[1].min, 20 * got.channels[1].min);
  EXPECT_FLOAT_EQ(scaled.channels[1].stddev, 20 * got.channels[1].stddev);
  EXPECT_FLOAT_EQ(scaled.meanVa, 20 * got.meanVa);
  EXPECT_FLOAT_EQ(scaled.energyVah, 20 * got.energyVah);
}

TEST(SiteTimeline, GapsSplitSegmentsAndEndEventsThere) {
  // A dip that runs into a gap, and a second download after the gap that
  // starts inside a dip: two open-ended pieces, never one event across.
  const PointRun before = MakeRun(0, 1, {230, 230, 150, 150});
  const PointRun after = MakeRun(10, 1, {150, 230, 230});
  const PointRun adjacent = MakeRun(13, 1, {230, 230});
  std::vector<ChunkInfo> chunks;
  for (const PointRun* r : {&before, &after, &adjacent}) {
    for (ChunkInfo c : ChunksOf(*r, 100)) {
      c.units = {"V", ""};
      c.present = r->present;
      chunks.push_back(c);
    }
  }
  const std::vector<const PointRun*> runs = {&before, &after, &adjacent};
  const ChunkReader read = [&](const ChunkInfo& c) {
    for (const PointRun* r : runs) {
      if (r->start == c.start) return *r;
    }
    return PointRun{};
  };
  const auto segments = SplitAtGaps(PiecesInRange(chunks, {}));
  ASSERT_EQ(segments.size(), 2u);  // the third download follows the second at once
  const TimelineAnalysis a = AnalyseSegments(segments, read, {1, 1}, EventLimits{});
  ASSERT_EQ(a.level.size(), 2u);
  EXPECT_EQ(a.level[0].first, 3);
  EXPECT_EQ(a.level[0].last, 4);
  EXPECT_TRUE(a.level[0].open);
  EXPECT_EQ(a.level[0].end, 4);
  EXPECT_EQ(a.level[1].first, 5);
  EXPECT_EQ(a.level[1].start, 10);
  EXPECT_FALSE(a.level[1].open);
  ASSERT_EQ(a.band.size(), 1u);
  EXPECT_EQ(a.band[0].points, 9);
  EXPECT_EQ(a.band[0].pointsInBand, 6);
}

}  // namespace
}  // namespace acv::library
