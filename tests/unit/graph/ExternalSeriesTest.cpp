// A STORE RMS series read where it lies is drawn and fitted as the same
// values in memory are, while reading only a small part of its points.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <set>

#include "GraphFixtures.h"
#include "graph/geometry/ExternalSeries.h"
#include "graph/geometry/Fit.h"
#include "graph/geometry/Segments.h"
#include "graph/geometry/Zoom.h"

namespace acv::test {
namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr int kStoredLevel = 2;  // buckets of 256 points, as a library keeps them

// Values with a pyramid of only one stored level, starting `lead` points
// before the series (as a library's blocks do); counts the values read.
class StoredSeries final : public ExternalSeries {
 public:
  StoredSeries(std::vector<float> values, std::int64_t lead)
      : values_(std::move(values)), lead_(lead) {
    const std::int64_t size = MinMaxPyramid::BucketSize(kStoredLevel);
    std::vector<MinMaxPyramid::Bucket> buckets;
    for (std::int64_t q = 0; q + size <= Count() + lead_; q += size) {
      MinMaxPyramid::Bucket b{std::numeric_limits<float>::infinity(),
                              -std::numeric_limits<float>::infinity(), false};
      for (std::int64_t i = q; i < q + size; ++i) {
        const float v = i < lead_ ? kNaN : values_[static_cast<std::size_t>(i - lead_)];
        if (std::isnan(v)) {
          b.gap = true;
        } else {
          b.low = std::min(b.low, v);
          b.high = std::max(b.high, v);
        }
      }
      buckets.push_back(b);
    }
    pyramid_.AssignLevel(kStoredLevel, std::move(buckets));
  }
  std::int64_t Count() const override { return static_cast<std::int64_t>(values_.size()); }
  bool Present(int channel) const override { return channel == 0; }
  float Value(int, std::int64_t p) const override {
    read_.insert(p);
    return p >= 0 && p < Count() ? values_[static_cast<std::size_t>(p)] : kNaN;
  }
  const MinMaxPyramid& Pyramid(int) const override { return pyramid_; }
  std::int64_t Lead() const override { return lead_; }
  std::string Failure() const override { return {}; }

  mutable std::set<std::int64_t> read_;

 private:
  std::vector<float> values_;
  std::int64_t lead_;
  MinMaxPyramid pyramid_;
};

// A day of mains at one point a second on the 0..10 axis: a slow swing,
// spikes beyond the plot, a lone gap, a long gap between two downloads and
// an infinity.
std::vector<float> Survey(std::size_t points = 300'000) {
  std::vector<float> v(points);
  for (std::size_t i = 0; i < v.size(); ++i) {
    v[i] = 5.0f + 3.0f * static_cast<float>(std::sin(static_cast<double>(i) / 5000.0)) +
           0.25f * static_cast<float>((i * 7919) % 13) / 13.0f;
  }
  v[1000] = 14.0f;
  v[77'777] = -3.0f;
  v[123'456] = kNaN;
  for (std::size_t i = 150'000; i < 180'000; ++i) v[i] = kNaN;
  v[250'000] = std::numeric_limits<float>::infinity();
  return v;
}

CDTDoc ReadWhereItLies(const std::vector<float>& values, std::int64_t lead,
                       std::shared_ptr<StoredSeries>* series) {
  CDTDoc doc = StoreRmsDoc({});
  doc.rmsCount = static_cast<std::int32_t>(values.size());
  *series = std::make_shared<StoredSeries>(values, lead);
  doc.rmsExternal = *series;
  return doc;
}

std::vector<SegmentLine> Lines(GraphModel& m, const CDTDoc& doc) {
  PaintOnce(m, doc);
  CurveBatch batch;
  BuildCurve(m, SeriesSource(doc, m.state.mode), 0, true, false, batch);
  return batch.lines;
}

TEST(ExternalSeries, DrawsTheLinesOfEveryPointAtAnyViewAndLead) {
  const std::vector<float> values = Survey();
  const CDTDoc inMemory = StoreRmsDoc(values);
  struct View {
    std::int64_t first, last;  // 0: the full view
  } views[] = {{0, 0}, {140'000, 200'000}, {1, 70'000}, {123'000, 124'000}};
  for (const std::int64_t lead : {0, 1, 255}) {
    std::shared_ptr<StoredSeries> series;
    const CDTDoc outside = ReadWhereItLies(values, lead, &series);
    for (const View& v : views) {
      GraphModel a = GraphOf(inMemory);
      GraphModel b = GraphOf(outside);
      if (v.first != 0) {
        PaintOnce(a, inMemory);
        PaintOnce(b, outside);
        ZoomOntoPoints(a, v.first, v.last);
        ZoomOntoPoints(b, v.first, v.last);
      }
      const std::vector<SegmentLine> expected = Lines(a, inMemory);
      EXPECT_FALSE(expected.empty());
      EXPECT_EQ(Lines(b, outside), expected) << "lead " << lead << ", view " << v.first;
    }
  }
}

TEST(ExternalSeries, AFullViewReadsAFewPointsAColumnAndFitsFromTheBuckets) {
  {
    // 800 columns of 2,500 points: only the points at a column's edges
    // inside a stored bucket are read, at most 255 on either side.
    std::shared_ptr<StoredSeries> series;
    const CDTDoc outside = ReadWhereItLies(Survey(2'000'000), 100, &series);
    GraphModel m = GraphOf(outside);
    Lines(m, outside);
    EXPECT_LT(series->read_.size(), std::size_t{800} * 2 * 255);
  }
  const std::vector<float> values = Survey();
  std::shared_ptr<StoredSeries> series;
  const CDTDoc outside = ReadWhereItLies(values, 100, &series);
  const CDTDoc inMemory = StoreRmsDoc(values);
  for (const auto& [first, last] : {std::pair{1, 300'000}, {20'001, 260'017}, {150'100, 179'900}}) {
    GraphModel a = GraphOf(inMemory);
    GraphModel b = GraphOf(outside);
    a.state.firstPoint = b.state.firstPoint = first;
    a.state.lastPoint = b.state.lastPoint = last;
    EXPECT_EQ(FitAxes(b.state, outside), FitAxes(a.state, inMemory)) << first << ".." << last;
  }
}

TEST(ExternalSeries, FindsTheLastPointOfEachExtremeThroughThePyramid) {
  std::vector<float> ties = Survey();
  ties[250'000] = 5.0f;  // no infinity: 14 is the highest, twice
  ties[260'000] = 14.0f;
  ties[200'000] = -3.0f;  // the lowest, twice
  for (const std::vector<float>& values : {Survey(), ties}) {
    const StoredSeries series(values, 100);
    const auto value = [&](std::int64_t q) { return series.Value(0, q - 100); };
    for (const bool highest : {true, false}) {
      std::int64_t at = -1;
      for (std::size_t i = 0; i < values.size(); ++i) {
        const float v = values[i];
        if (!std::isnan(v) && (at < 0 || (highest ? v >= values[static_cast<std::size_t>(at)]
                                                  : v <= values[static_cast<std::size_t>(at)]))) {
          at = static_cast<std::int64_t>(i);
        }
      }
      const auto [q, extreme] =
          LastExtreme(series.Pyramid(0), 100, 100 + series.Count(), highest, value);
      EXPECT_EQ(q - 100, at) << highest;
      EXPECT_EQ(extreme, values[static_cast<std::size_t>(at)]) << highest;
    }
  }
}

}  // namespace
}  // namespace acv::test
