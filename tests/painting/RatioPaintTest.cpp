// The graph on a scaled screen: at a device pixel ratio of 2 the layout is
// the same and the raster twice as fine, so lines stay one device pixel thin
// and the picture, sampled back at every other pixel, is the picture at 1.
#include <QFontMetrics>
#include <QPainter>
#include <cmath>

#include "PaintFixture.h"
#include "graph/GraphFonts.h"
#include "graph/geometry/GraphFrame.h"
#include "graph/geometry/Scaling.h"
#include "graph/geometry/Zoom.h"

namespace acv {
namespace {

using test::kBlack;
using test::kBlue;
using test::kRed;

class RatioPaint : public test::PaintTest {
 protected:
  // A graph pane of a maximised window on a 1600 x 1000 screen.
  static QImage ImageAt(double ratio, int width = 1600, int height = 900) {
    QImage image = ClientImage(static_cast<int>(width * ratio), static_cast<int>(height * ratio));
    image.setDevicePixelRatio(ratio);
    return image;
  }
  // Nearest-neighbour downscale by 2: the top-left device pixel of each
  // layout pixel.
  static QImage EveryOtherPixel(const QImage& image) {
    QImage down(image.width() / 2, image.height() / 2, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < down.height(); ++y) {
      for (int x = 0; x < down.width(); ++x) down.setPixel(x, y, image.pixel(2 * x, 2 * y));
    }
    return down;
  }
  // Two channels of a wave with some of it beyond the axes, the cursor
  // readout, and a zoom: most of what the face shows.
  static CDTDoc Waves(std::size_t n) {
    std::vector<float> ch1(n), ch2(n);
    for (std::size_t i = 0; i < n; ++i) {
      const double t = static_cast<double>(i) / static_cast<double>(n);
      ch1[i] = static_cast<float>(5.0 + 5.5 * std::sin(t * 20.0));
      ch2[i] = static_cast<float>(50.0 + 30.0 * std::cos(t * 7.0));
    }
    return test::StoreRmsDoc(ch1, ch2);
  }
};

TEST_F(RatioPaint, TwiceThePixelsSameLayoutSamePictureSampledBack) {
  const CDTDoc doc = Waves(3000);
  for (bool zoomed : {false, true}) {
    SCOPED_TRACE(zoomed);
    GraphModel at1 = test::GraphOf(doc);
    GraphModel at2 = test::GraphOf(doc);
    QImage one = ImageAt(1.0);
    QImage two = ImageAt(2.0);
    painter_.Paint(one, at1, doc);
    painter_.Paint(two, at2, doc);
    if (zoomed) {
      for (GraphModel* m : {&at1, &at2}) {
        BeginDrag(m->state, 300, 120);
        MoveDrag(m->state, 620, 430);
        ASSERT_TRUE(ReleaseDrag(*m, 620, 430).accepted);
      }
      painter_.Paint(one, at1, doc);
      painter_.Paint(two, at2, doc);
    }
    painter_.ApplyCursorMove(one, at1.state, MoveCursor(at1, doc, 500, 300));
    painter_.ApplyCursorMove(two, at2.state, MoveCursor(at2, doc, 500, 300));

    EXPECT_EQ(two.size(), QSize(3200, 1800));
    EXPECT_EQ(at2.state.plotRect, at1.state.plotRect);
    EXPECT_EQ(Count(two, qRgb(255, 0, 255), {0, 0, 3199, 1799}), 0);
    if (!zoomed) {
      // Grid line k = 1 lies at y = 70 + 72 = 142: device row 284 carries
      // its dots, two device pixels on and two off; the rows either side
      // have none.
      EXPECT_EQ(Count(two, kBlue, {800, 284, 839, 284}), 20);
      EXPECT_EQ(Count(two, kBlue, {800, 283, 839, 285}), 20);
      // The cursor line is one device pixel wide: column 1000 only.
      EXPECT_GT(Count(two, test::kWhite, {1000, 140, 1000, 1579}), 600);
      EXPECT_EQ(Count(two, test::kWhite, {1001, 140, 1001, 1579}), 0);
    }

    const int differing = Differences(EveryOtherPixel(two), one);

    RecordProperty(zoomed ? "differing_zoomed" : "differing_full", differing);
    EXPECT_LE(differing, 1600 * 900 / 100);
  }
}

// The device rows (or columns) of layout pixel v: those whose centre lies in it.
std::pair<int, int> DevicePixels(int v, double ratio) {
  auto edge = [ratio](int at) { return static_cast<int>(std::ceil(at * ratio - 0.5)); };
  return {edge(v), edge(v + 1) - 1};
}

// Scaled screens of 125 % and 175 % put most layout edges between two device
// pixels: still every grid line and tick is drawn, on its own layout pixel,
// and the top labels are whole.
TEST_F(RatioPaint, GridTicksAndLabelsAreWholeAtEveryRatio) {
  const CDTDoc doc = test::StoreRmsDoc(test::Constant(200, 2.5f), test::Constant(200, 25.0f));
  for (double ratio : {1.0, 1.25, 1.5, 1.75, 2.0}) {
    SCOPED_TRACE(ratio);
    GraphModel m = test::GraphOf(doc);
    m.state.ch1To = 500;  // top labels "500.00" and "100.00"
    QImage image = ImageAt(ratio);
    painter_.Paint(image, m, doc);
    const GraphState& s = m.state;
    const Rect& plot = s.plotRect;
    GraphModel copy = m;
    const GraphFrame frame = test::PaintOnce(copy, doc, s.clientRect);
    const int plotLeft = DevicePixels(plot.left, ratio).first;
    const int plotRight = DevicePixels(plot.right, ratio).first;
    for (int k = 0; k < kTickCount; ++k) {
      const auto [top, bottom] = DevicePixels(GridLineY(s, k), ratio);
      EXPECT_GT(Count(image, kBlue, {plotLeft, top, plotRight, bottom}), 300) << "grid " << k;
      // Ticks: solid on the rows of their layout pixel, nothing above.
      const int tickRow = DevicePixels(YTickY(s, k), ratio).first;
      const int from = DevicePixels(plot.left - 5, ratio).first;
      const Rect tick{from, tickRow, plotLeft - 1, tickRow};
      EXPECT_EQ(Count(image, kBlue, tick), tick.Width() + 1) << "tick " << k;
      EXPECT_EQ(Count(image, kBlue, {from, tickRow - 1, plotLeft - 1, tickRow - 1}), 0);
    }
    int vertical = 0;
    for (const XLabel& label : frame.xLabels) {
      if (!label.shown) continue;
      ++vertical;
      const auto [left, right] = DevicePixels(label.x, ratio);
      const int rows = TruncToPixel(plot.Height() * ratio);
      EXPECT_GT(Count(image, kBlue, {left, 0, right, 2000}), rows / 3) << "x grid at " << label.x;
    }
    EXPECT_GE(vertical, 4);

    // The top labels look as they do drawn alone on the grey box.
    const QFont font = AxisLabelFont();
    const QFontMetrics metrics(font);
    for (int channel : {0, 1}) {
      const std::string& text = channel == 0 ? s.ch1Labels[10] : s.ch2Labels[10];
      const QPoint at(YLabelX(s, channel, text), YLabelY(s, 10) + metrics.ascent());
      QImage alone = ImageAt(ratio);
      alone.fill(kButtonFace);
      {
        QPainter p(&alone);
        p.setRenderHint(QPainter::TextAntialiasing, true);
        p.setFont(font);
        p.setPen(Qt::black);
        p.drawText(at, QString::fromStdString(text));
      }
      const QRect box = metrics.boundingRect(QString::fromStdString(text)).translated(at);
      const QRect device(QPoint(TruncToPixel(box.left() * ratio), TruncToPixel(box.top() * ratio)),
                         QPoint(TruncToPixel((box.right() + 1) * ratio),
                                TruncToPixel((box.bottom() + 1) * ratio)));
      EXPECT_EQ(Differences(image.copy(device), alone.copy(device)), 0) << text;
      EXPECT_GT(CountDark(alone, {device.left(), device.top(), device.right(), device.bottom()}),
                20);
    }
  }
}

TEST_F(RatioPaint, SpikeCursorAndBandAtRatioTwo) {
  std::vector<float> ch1(262144, 2.0f);
  ch1[131072] = 9.0f;
  const CDTDoc doc = test::StoreRmsDoc(ch1);
  GraphModel m = test::GraphOf(doc);
  QImage image = ImageAt(2.0, 1600, 900);
  painter_.Paint(image, m, doc);
  const Rect& plot = m.state.plotRect;
  // The spike in its device column, from the flat line up to 9 of 10.
  const int x = TruncToPixel(2.0 * (plot.left + plot.Width() * 131072.0 / 262143.0));
  const int spikeY = TruncToPixel(2.0 * (plot.bottom - 9.0 * plot.Height() / 10.0));
  EXPECT_EQ(image.pixel(x, spikeY), kRed);
  EXPECT_GE(Count(image, kRed, {x - 1, 2 * plot.top, x + 1, 2 * plot.bottom}),
            TruncToPixel(2.0 * 7.0 * plot.Height() / 10.0));
  EXPECT_EQ(image.pixel(x + 40, spikeY), kBlack);
  // The flat line is one device pixel high.
  const int flatY = TruncToPixel(2.0 * (plot.bottom - 2.0 * plot.Height() / 10.0));
  EXPECT_EQ(image.pixel(600, flatY), kRed);
  EXPECT_NE(image.pixel(600, flatY - 1), kRed);
  EXPECT_NE(image.pixel(600, flatY + 1), kRed);

  // Cursor and band drawn twice leave every device pixel as it was.
  const QImage before = image.copy();
  const QRect line = painter_.ToggleCursorLine(image, m.state, 700);
  EXPECT_EQ(line, QRect(700, plot.top, 1, plot.Height()));  // in layout pixels
  EXPECT_GT(Differences(image, before), 300);
  painter_.ToggleCursorLine(image, m.state, 700);
  const Rect band{150, 100, 400, 300};
  painter_.ToggleRubberBand(image, band);
  EXPECT_GT(Differences(image, before), 600);
  painter_.ToggleRubberBand(image, band);
  EXPECT_EQ(Differences(image, before), 0);
}

}  // namespace
}  // namespace acv
