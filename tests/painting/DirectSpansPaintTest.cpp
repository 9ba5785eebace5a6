// The curves' vertical lines are written straight into the image's pixels.
// The picture must be the one QPainter draws for the same lines, pixel for
// pixel: dense and sparse series, two channels crossing, marks, lines cut by
// the plot's edges, an image format the direct writes must leave to
// QPainter, and a scaled screen's picture, where they work in device pixels.
#include <cmath>
#include <random>

#include "PaintFixture.h"

namespace acv {
namespace {

using test::kGreen;
using test::kRed;

class DirectSpans : public test::PaintTest {
 protected:
  static std::vector<float> Wave(std::size_t n, unsigned seed, double amplitude) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> noise(-1.0, 1.0);
    std::vector<float> v(n);
    for (std::size_t i = 0; i < n; ++i) {
      // Beyond the top and bottom lines at the crests, so that spans are cut.
      v[i] = static_cast<float>(5.0 + amplitude * std::sin(static_cast<double>(i) * 3e-4) +
                                noise(rng));
    }
    return v;
  }

  // The same model painted with direct writes and with QPainter only.
  static int DifferencesAgainstQPainter(const GraphModel& m, const CDTDoc& doc, QImage direct) {
    QImage reference = direct.copy();
    GraphModel a = m;
    GraphModel b = m;
    GraphPainter withDirect;
    GraphPainter painterOnly;
    painterOnly.options().directSpans = false;
    withDirect.Paint(direct, a, doc);
    painterOnly.Paint(reference, b, doc);
    return Differences(direct, reference);
  }
};

TEST_F(DirectSpans, DenseCurvesMatchQPainter) {
  CDTDoc doc = test::StoreRmsDoc(Wave(262144, 1, 6.0));
  GraphModel m = test::GraphOf(doc);
  QImage image = ClientImage(1600, 900);
  EXPECT_EQ(DifferencesAgainstQPainter(m, doc, image), 0);

  // Two channels over each other (the second paints over the first), with marks.
  std::vector<float> ch2 = Wave(131072, 3, 5.0);
  for (float& v : ch2) v *= 10.0f;
  CDTDoc two = test::StoreRmsDoc(Wave(131072, 2, 5.0), ch2);
  GraphModel m2 = test::GraphOf(two);
  EXPECT_EQ(DifferencesAgainstQPainter(m2, two, image), 0);
  m2.state.markPoints = 1;
  EXPECT_EQ(DifferencesAgainstQPainter(m2, two, image), 0);

  GraphPainter painter;
  painter.Paint(image, m2, two);
  EXPECT_GT(Count(image, kRed, {0, 0, 1599, 899}), 1000);
  EXPECT_GT(Count(image, kGreen, {0, 0, 1599, 899}), 1000);
}

TEST_F(DirectSpans, SparseCurvesAndFlatRunsMatchQPainter) {
  // Few points per column, steps straight up and down, and flat runs whose
  // spans are a single pixel.
  std::vector<float> ch1(3000);
  for (std::size_t i = 0; i < ch1.size(); ++i) {
    ch1[i] = (i / 7) % 3 == 0 ? 11.0f : static_cast<float>((i / 5) % 10);
  }
  CDTDoc doc = test::StoreRmsDoc(ch1);
  GraphModel m = test::GraphOf(doc);
  EXPECT_EQ(DifferencesAgainstQPainter(m, doc, ClientImage()), 0);
  CDTDoc sparse = test::StoreRmsDoc(Wave(300, 4, 8.0));
  GraphModel ms = test::GraphOf(sparse);
  EXPECT_EQ(DifferencesAgainstQPainter(ms, sparse, ClientImage()), 0);
}

TEST_F(DirectSpans, StepsIntoTheNextColumnMatchQPainter) {
  // Two points per column at random heights: every column is a span and a
  // line one column across, of every height up and down, level ones too,
  // some reaching beyond the plot.
  std::mt19937 rng(8);
  std::uniform_real_distribution<float> value(-0.5f, 10.5f);
  std::uniform_int_distribution<int> level(0, 9);
  for (int picture = 0; picture < 12; ++picture) {
    std::vector<float> ch1(1601);
    for (float& v : ch1) v = level(rng) == 0 ? 5.0f : value(rng);
    CDTDoc doc = test::StoreRmsDoc(ch1);
    GraphModel m = test::GraphOf(doc);
    ASSERT_EQ(DifferencesAgainstQPainter(m, doc, ClientImage()), 0) << "picture " << picture;
  }
}

TEST_F(DirectSpans, OtherFormatsAndScalesMatchQPainter) {
  CDTDoc doc = test::StoreRmsDoc(Wave(65536, 5, 6.0));
  GraphModel m = test::GraphOf(doc);
  EXPECT_EQ(DifferencesAgainstQPainter(m, doc, ClientImage().convertToFormat(QImage::Format_RGB32)),
            0);
  EXPECT_EQ(DifferencesAgainstQPainter(m, doc, ClientImage().convertToFormat(QImage::Format_RGB16)),
            0);
  QImage scaled = ClientImage(2040, 1160);
  scaled.setDevicePixelRatio(2.0);
  EXPECT_EQ(DifferencesAgainstQPainter(m, doc, scaled), 0);
}

TEST_F(DirectSpans, ASharedImageIsDetachedBeforeItsPixelsAreWritten) {
  CDTDoc doc = test::StoreRmsDoc(Wave(65536, 6, 6.0));
  GraphModel m = test::GraphOf(doc);
  QImage image = ClientImage();
  const QImage before = image;  // shares the pixels until the paint
  GraphPainter painter;
  painter.Paint(image, m, doc);
  EXPECT_EQ(Differences(before, ClientImage()), 0);
  EXPECT_GT(Count(image, kRed, {0, 0, image.width() - 1, image.height() - 1}), 1000);
}

}  // namespace
}  // namespace acv
