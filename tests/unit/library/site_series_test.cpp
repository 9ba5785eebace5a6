// A site's chunks as one series on one time axis: gaps kept as points
// without a value, and the sites that cannot be one series refused.
#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "library/core/SiteSeriesData.h"

namespace acv::library {
namespace {

struct Stored {
  ChunkInfo info;
  PointRun run;
};

Stored Chunk(std::int64_t id, TimeStamp start, std::int64_t interval, std::vector<float> ch1,
             std::string unit1 = "V", std::vector<float> ch2 = {}) {
  Stored s;
  s.info.id = s.info.measurement = id;
  s.info.start = s.run.start = start;
  s.info.interval = s.run.interval = interval;
  s.info.count = static_cast<std::int64_t>(ch1.size());
  s.info.present = s.run.present = {true, !ch2.empty()};
  s.info.units = {unit1, ch2.empty() ? "" : "A"};
  s.run.values = {std::move(ch1), std::move(ch2)};
  return s;
}

std::string Build(const std::vector<Stored>& stored, StoreFamily& out, std::int64_t* leftOut,
                  std::int64_t max = 1000, GridRuns* runs = nullptr) {
  std::vector<ChunkInfo> chunks;
  std::map<std::int64_t, PointRun> points;
  for (const Stored& s : stored) {
    chunks.push_back(s.info);
    points[s.info.id] = s.run;
  }
  return BuildSiteSeries(
      chunks, [&](const ChunkInfo& c) { return points.at(c.id); }, {2.0, 1.0}, out, leftOut, max,
      runs);
}

TEST(SiteSeries, PointsAtTheirTimesWithGapsLeftEmpty) {
  // Two downloads 10 s apart at 10 s intervals, the second with a current
  // channel; 20 s without a point between them.
  StoreFamily out;
  std::int64_t leftOut = -1;
  GridRuns runs;
  ASSERT_EQ(Build({Chunk(1, 1000, 10, {1, 2, 3}), Chunk(2, 1050, 10, {4, 5}, "V", {7, 8}),
                   Chunk(3, 1070, 10, {6}, "V", {9}), Chunk(4, 1080, 10, {7})},
                  out, &leftOut, 1000, &runs),
            "");
  // A run ends at a gap and where the channels change.
  EXPECT_EQ(runs, (GridRuns{{0, 3}, {5, 3}, {8, 1}}));
  EXPECT_EQ(leftOut, 0);
  EXPECT_EQ(out.rmsStartTime, 1000);
  EXPECT_EQ(out.rmsInterval, 10.0f);
  ASSERT_EQ(out.rmsCount, 9);
  const std::vector<float> ch1 = {2, 4, 6, NAN, NAN, 8, 10, 12, 14};  // times the site's factor 2
  for (std::size_t i = 0; i < ch1.size(); ++i) {
    if (std::isnan(ch1[i])) {
      EXPECT_TRUE(std::isnan(out.rmsCh1[i])) << i;
    } else {
      EXPECT_EQ(out.rmsCh1[i], ch1[i]) << i;
    }
  }
  EXPECT_EQ(out.hasCh2, 1);
  EXPECT_TRUE(std::isnan(out.rmsCh2[0]));  // the first download had no current
  EXPECT_EQ(out.rmsCh2[6], 8.0f);
  EXPECT_EQ(out.RmsSampleTime(5), 1050);
  EXPECT_NE(out.rmsMaxTextCh1.find("14.0"), std::string::npos);  // gaps are no extremes
}

TEST(SiteSeries, PointsOffTheCommonIntervalAndGridAreLeftOutAndCounted) {
  const struct Case {
    const char* what;
    std::vector<Stored> chunks;
    std::int32_t count;
    std::int64_t leftOut;
  } cases[] = {
      {"a shorter interval, fewer points",
       {Chunk(1, 0, 10, {1, 2, 3}), Chunk(2, 100, 1, {1, 2})},
       3,
       2},
      {"off the grid", {Chunk(1, 0, 10, {1, 2}), Chunk(7, 105, 10, {1})}, 2, 1},
      {"the first chunk off the others' interval",
       {Chunk(1, 0, 1, {1}), Chunk(2, 100, 10, {1, 2})},
       2,
       1},
  };
  for (const Case& c : cases) {
    StoreFamily out;
    std::int64_t leftOut = -1;
    EXPECT_EQ(Build(c.chunks, out, &leftOut), "") << c.what;
    EXPECT_EQ(out.rmsCount, c.count) << c.what;
    EXPECT_EQ(leftOut, c.leftOut) << c.what;
  }
}

TEST(SiteSeries, SitesThatAreNotOneSeriesAreRefused) {
  const struct Case {
    const char* what;
    std::vector<Stored> chunks;
    const char* says;
  } cases[] = {
      {"nothing stored", {}, "no points"},
      {"units", {Chunk(1, 0, 10, {1}), Chunk(2, 100, 10, {1}, "A")}, "in V and in A"},
      {"too long", {Chunk(1, 0, 10, {1}), Chunk(2, 100000, 10, {1})}, "10001 points"},
  };
  for (const Case& c : cases) {
    StoreFamily out;
    out.rmsCount = 99;
    std::int64_t leftOut = 0;
    const std::string problem = Build(c.chunks, out, &leftOut);
    EXPECT_NE(problem.find(c.says), std::string::npos) << c.what << ": " << problem;
    EXPECT_EQ(out.rmsCount, 99) << c.what;  // left as it was
  }
}

}  // namespace
}  // namespace acv::library
