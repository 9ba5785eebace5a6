// Dense series: merging the segments of a pixel column must paint the same
// picture as drawing every segment, in the full view and zoomed, and keep a
// lone spike visible.
#include <QPainter>
#include <cmath>
#include <random>

#include "PaintFixture.h"
#include "graph/geometry/Zoom.h"

namespace acv {
namespace {

using test::kBlack;
using test::kGreen;
using test::kRed;

class DensePaint : public test::PaintTest {
 protected:
  static std::vector<float> Noise(std::size_t n, unsigned seed, float low, float high) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<float> value(low, high);
    std::vector<float> v(n);
    // A slow wave with noise, partly beyond the top and bottom lines.
    for (std::size_t i = 0; i < n; ++i) {
      v[i] = static_cast<float>(5.0 + 6.0 * std::sin(static_cast<double>(i) * 1e-4)) +
             value(rng) * 0.5f;
    }
    return v;
  }

  // Paints with and without merging and returns the two pictures.
  std::pair<QImage, QImage> BothWays(GraphModel m, const CDTDoc& doc) {
    GraphModel copy = m;
    QImage merged = ClientImage(1600, 900);
    QImage every = ClientImage(1600, 900);
    GraphPainter perSegment;
    perSegment.options().decimate = false;
    painter_.Paint(merged, m, doc);
    perSegment.Paint(every, copy, doc);
    return {merged, every};
  }

  // Differing pixels as a share of the curve pixels of the per-segment picture.
  static double DifferingShare(const QImage& merged, const QImage& every, QRgb curve) {
    const int curvePixels = Count(every, curve, {0, 0, every.width() - 1, every.height() - 1});
    EXPECT_GT(curvePixels, 1000);
    return static_cast<double>(Differences(merged, every)) / std::max(1, curvePixels);
  }
};

TEST_F(DensePaint, MergedColumnsPaintWhatEverySegmentPaints) {
  CDTDoc doc = test::StoreRmsDoc(Noise(262144, 1, -1.0f, 1.0f));
  GraphModel m = test::GraphOf(doc);
  auto [merged, every] = BothWays(m, doc);
  EXPECT_LE(DifferingShare(merged, every, kRed), 0.005);
  EXPECT_EQ(Differences(merged, every), 0);

  CDTDoc two = test::StoreRmsDoc(Noise(131072, 2, -1.0f, 1.0f), Noise(131072, 3, -10.0f, 10.0f));
  for (float& v : two.rmsCh2) v *= 10.0f;
  GraphModel m2 = test::GraphOf(two);
  m2.state.markPoints = 1;
  auto [merged2, every2] = BothWays(m2, two);
  EXPECT_EQ(Differences(merged2, every2), 0);
  EXPECT_GT(Count(merged2, kGreen, {0, 0, 1599, 899}), 1000);
}

TEST_F(DensePaint, ZoomedAndScrolledPicturesMatchToo) {
  CDTDoc doc = test::StoreRmsDoc(Noise(262144, 4, -2.0f, 2.0f));
  GraphModel m = test::GraphOf(doc);
  QImage image = ClientImage(1600, 900);
  painter_.Paint(image, m, doc);
  BeginDrag(m.state, 300, 250);
  MoveDrag(m.state, 700, 600);
  ASSERT_TRUE(ReleaseDrag(m, 700, 600).accepted);
  painter_.Paint(image, m, doc);
  m.state.scrollShift = -5000;
  auto [merged, every] = BothWays(m, doc);
  EXPECT_EQ(Differences(merged, every), 0);
  EXPECT_GT(Count(merged, kRed, {0, 0, 1599, 899}), 1000);
}

TEST_F(DensePaint, ALoneSpikeStaysVisible) {
  std::vector<float> ch1(262144, 2.0f);
  ch1[131072] = 9.0f;
  CDTDoc doc = test::StoreRmsDoc(ch1);
  GraphModel m = test::GraphOf(doc);
  QImage image = ClientImage(1600, 900);
  painter_.Paint(image, m, doc);
  const Rect& plot = m.state.plotRect;
  const int x = TruncToPixel(plot.left + plot.Width() * 131072.0 / 262143.0);
  const int spikeY = TruncToPixel(plot.bottom - 9.0 * plot.Height() / 10.0);
  EXPECT_EQ(image.pixel(x, spikeY), kRed);
  EXPECT_GE(Count(image, kRed, {x - 1, plot.top, x + 1, plot.bottom}),
            TruncToPixel(7.0 * plot.Height() / 10.0));
  EXPECT_EQ(image.pixel(x + 20, spikeY), kBlack);
}

// The painter clips the curves to the plot instead of covering what strays
// outside it; that only holds if clipping leaves the pixels inside alone.
TEST_F(DensePaint, ClippingKeepsThePixelsOfLinesInsideTheClip) {
  std::mt19937 rng(5);
  std::uniform_int_distribution<int> coord(-3000, 4000);
  QVector<QLine> lines;
  for (int i = 0; i < 2000; ++i)
    lines.append(QLine(coord(rng), coord(rng), coord(rng), coord(rng)));
  lines.append(QLine(300, -1000000000, 310, 1000000000));
  const QRect clip(110, 190, 1381, 601);
  QImage open = ClientImage(1600, 900), clipped = ClientImage(1600, 900);
  for (QImage* image : {&open, &clipped}) {
    QPainter p(image);
    p.setPen(QPen(Qt::red, 0));
    if (image == &clipped) p.setClipRect(clip);
    p.drawLines(lines);
  }
  int differing = 0;
  for (int y = clip.top(); y <= clip.bottom(); ++y) {
    for (int x = clip.left(); x <= clip.right(); ++x)
      differing += open.pixel(x, y) != clipped.pixel(x, y);
  }
  EXPECT_EQ(differing, 0);
}

}  // namespace
}  // namespace acv
