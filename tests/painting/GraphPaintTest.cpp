// The painted graph face: colours, curves and the draw/skip rule, the
// inverting cursor and rubber band, the readout, the start screen and the
// real-time fast path.
#include <QPainter>
#include <cmath>
#include <limits>
#include <random>

#include "PaintFixture.h"
#include "graph/geometry/Readout.h"

namespace acv {
namespace {

using test::kBlack;
using test::kBlue;
using test::kGreen;
using test::kPlot;
using test::kRed;
using test::kWhite;

class GraphPaint : public test::PaintTest {};

TEST_F(GraphPaint, DefaultColoursAndLayout) {
  CDTDoc doc = test::StoreRmsDoc(test::Constant(101, 5.0f), test::Constant(101, 80.0f));
  GraphModel m = test::GraphOf(doc);
  QImage image = ClientImage();
  painter_.Paint(image, m, doc);

  EXPECT_EQ(image.pixel(500, 400), kBlack);  // background, index 13
  EXPECT_EQ(image.pixel(500, 270), kRed);    // CH1 at 5 of 0..10, index 0
  EXPECT_EQ(image.pixel(500, 150), kGreen);  // CH2 at 80 of 0..100, index 1
  // Dotted blue grid: every other pixel of a grid line.
  const int onGridLine = test::PaintTest::Count(image, kBlue, {400, 110, 419, 110});
  EXPECT_EQ(onGridLine, 10);
  // Button face in the box, black outside it, the white frame, and nothing
  // left unpainted.
  EXPECT_EQ(image.pixel(40, 300), qRgb(240, 240, 240));
  // The plot background ends before the plot's right column; left of the
  // plot is the grey label column.
  EXPECT_EQ(image.pixel(909, 300), kBlack);
  EXPECT_NE(image.pixel(910, 300), kBlack);  // grey, or the dotted grid line of a label
  EXPECT_NE(image.pixel(910, 301), kBlack);
  EXPECT_EQ(image.pixel(109, 300), qRgb(240, 240, 240));
  EXPECT_EQ(image.pixel(15, 300), kBlack);
  EXPECT_EQ(image.pixel(10, 300), kWhite);
  EXPECT_EQ(Count(image, qRgb(255, 0, 255), {0, 0, 1019, 579}), 0);
  // Axis labels are written left and right of the plot.
  EXPECT_GT(CountDark(image, {60, 455, 105, 470}), 10);
  EXPECT_GT(CountDark(image, {916, 455, 960, 470}), 10);

  m.state.backgroundColour = 12;  // white
  m.state.ch1Colour = 14;         // grey
  painter_.Paint(image, m, doc);
  EXPECT_EQ(image.pixel(500, 400), kWhite);
  EXPECT_EQ(image.pixel(500, 270), qRgb(0xC8, 0xC8, 0xC8));
}

TEST_F(GraphPaint, SegmentsOnTheTopLineAndAboveIt) {
  // 10 and 10 lie on the top line (drawn); 10 to 10.075 goes from the line
  // to 3 px above it (skipped); the last segment lies wholly above (skipped).
  CDTDoc doc = test::StoreRmsDoc({10.0f, 10.0f, 10.075f, 10.075f});
  GraphModel m = test::GraphOf(doc);
  QImage image = ClientImage();
  painter_.Paint(image, m, doc);
  EXPECT_EQ(image.pixel(200, kPlot.top), kRed);
  EXPECT_NE(image.pixel(400, kPlot.top), kRed);
  EXPECT_EQ(Count(image, kRed, {380, kPlot.top, 910, kPlot.top}), 0);
}

TEST_F(GraphPaint, PointMarksAreSixPixelsAroundEachEnd) {
  CDTDoc doc = test::StoreRmsDoc({4.5f, 4.5f, 4.5f});  // row 290, off the tick rows
  GraphModel m = test::GraphOf(doc);
  QImage image = ClientImage();
  painter_.Paint(image, m, doc);
  EXPECT_EQ(Count(image, kRed, {509, 289, 511, 291}), 3);  // the curve alone
  m.state.markPoints = 1;
  painter_.Paint(image, m, doc);
  EXPECT_EQ(Count(image, kRed, {509, 289, 511, 291}), 9);  // a 3 x 3 block around point 1
  // At the left end the part outside the plot is covered.
  EXPECT_EQ(Count(image, kRed, {109, 289, 111, 291}), 6);
}

TEST_F(GraphPaint, CursorAndRubberBandVanishWhenDrawnTwice) {
  CDTDoc doc = test::StoreRmsDoc(test::Constant(101, 5.0f));
  GraphModel m = test::GraphOf(doc);
  QImage image = ClientImage();
  painter_.Paint(image, m, doc);
  const QImage before = image.copy();

  const QRect line = painter_.ToggleCursorLine(image, m.state, 500);
  EXPECT_EQ(line, QRect(500, kPlot.top, 1, kPlot.Height()));
  // On the black background the line shows in its complement, dotted.
  EXPECT_EQ(image.pixel(500, kPlot.top + 20), kWhite);
  EXPECT_EQ(image.pixel(500, kPlot.top + 21), kBlack);
  EXPECT_EQ(image.pixel(500, 270), qRgb(0, 255, 255));  // over the red curve
  painter_.ToggleCursorLine(image, m.state, 500);
  EXPECT_EQ(Differences(image, before), 0);

  const Rect band{150, 100, 400, 300};
  painter_.ToggleRubberBand(image, band);
  EXPECT_GT(Differences(image, before), 300);
  painter_.ToggleRubberBand(image, band);
  EXPECT_EQ(Differences(image, before), 0);
  // Degenerate bands (a line, a point) restore as well.
  for (const Rect& r : {Rect{150, 100, 150, 300}, Rect{150, 100, 400, 100}, Rect{7, 7, 7, 7}}) {
    painter_.ToggleRubberBand(image, r);
    painter_.ToggleRubberBand(image, r);
  }
  EXPECT_EQ(Differences(image, before), 0);
}

TEST_F(GraphPaint, CursorMoveWritesTheReadout) {
  CDTDoc doc;
  doc.trCount = 2;
  doc.trWaves.assign(2 * kTrWavePoints, 100.0f);
  doc.trTimes = {1'000'000'000, 1'000'000'100};
  doc.trUnit = {kUnitVolt, kUnitVolt};
  doc.trChannel = {kChannel1, kChannel1};
  GraphModel m = test::GraphOf(doc, GraphMode::StoreTr);
  m.state.firstPoint = kTrWavePoints + 1;
  m.state.lastPoint = 2 * kTrWavePoints;
  m.state.plotCh1 = 1;
  m.state.ch1UnitText = "V";
  m.state.ch1From = -200;
  m.state.ch1To = 200;
  QImage image = ClientImage();
  painter_.Paint(image, m, doc);
  const Rect bar = ReadoutBar(m.state);
  EXPECT_EQ(Count(image, kButtonFace.rgb(), bar), 0);

  const QRect dirty = painter_.ApplyCursorMove(image, m.state, MoveCursor(m, doc, 111, 300));
  EXPECT_EQ(m.state.readoutText, "Data Point No.:1  Time:09/09/01 01:48:20   CH1: 100V");
  EXPECT_TRUE(dirty.contains(QRect(bar.left, bar.top, 100, 20)));
  EXPECT_GT(Count(image, kButtonFace.rgb(), bar), 50);  // the text, in button face on black
  // A full paint keeps the last readout and takes the cursor away.
  painter_.Paint(image, m, doc);
  EXPECT_GT(Count(image, kButtonFace.rgb(), bar), 50);
  EXPECT_TRUE(m.state.cursorHidden);
}

TEST_F(GraphPaint, StartScreen) {
  CDTDoc doc;
  GraphModel m;
  QImage image = ClientImage();
  painter_.Paint(image, m, doc);
  EXPECT_EQ(image.pixel(5, 5), qRgb(0xC8, 0xC8, 0xC8));
  const int words = Count(image, qRgb(0x66, 0x7A, 0x9D), {280, 0, 1019, 579});
  EXPECT_GT(words, 5000);  // three large words
}

TEST_F(GraphPaint, NewestSegmentMatchesAFullPaint) {
  CDTDoc doc = test::RealTimeDoc(1000);
  std::mt19937 rng(3);
  std::uniform_real_distribution<float> value(1.0f, 9.0f);
  for (auto& p : doc.rtRms) {
    p.ch1 = value(rng);
    p.ch2 = 95.0f;  // well away from channel 1, so that drawing order cannot matter
  }
  GraphModel m = test::RealTimeGraph(doc, 40);
  m.state.markPoints = 1;
  m.state.markerBIndex = 39;  // the new segment starts on B, which stays on top
  QImage image = ClientImage();
  painter_.Paint(image, m, doc);
  // Put the cursor where the new segment goes: it is lifted while drawing.
  painter_.ApplyCursorMove(image, m.state, MoveCursor(m, doc, 430, 300));
  ASSERT_FALSE(m.state.cursorHidden);

  test::AddPoint(doc, m, 2.0f);
  ASSERT_EQ(IncrementalUpdate(m, doc), IncrementalAction::DrawNewest);
  const QImage before = image.copy();
  const QRect dirty = painter_.PaintNewestSegments(image, m, doc);
  painter_.ToggleCursorLine(image, m.state, m.state.cursorX);
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (!dirty.contains(x, y)) {
        ASSERT_EQ(image.pixel(x, y), before.pixel(x, y)) << x << "," << y;
      }
    }
  }

  QImage full = ClientImage();
  m.state.readoutText.clear();
  painter_.Paint(full, m, doc);
  QImage fast = image;
  painter_.PaintReadout(fast, m.state);  // same (empty) readout in both
  EXPECT_EQ(Differences(fast, full), 0);
}

TEST_F(GraphPaint, HostileValuesAndLayoutsPaintWithoutHarm) {
  std::vector<float> ch1{1e30f,
                         -1e30f,
                         std::numeric_limits<float>::quiet_NaN(),
                         std::numeric_limits<float>::infinity(),
                         5.0f,
                         5.0f};
  CDTDoc doc = test::StoreRmsDoc(ch1, ch1);
  GraphModel m = test::GraphOf(doc);
  m.state.ch2From = INT32_MIN;
  m.state.ch2To = INT32_MAX;
  m.state.markPoints = 1;
  for (const auto& size : {QSize(1020, 580), QSize(200, 580), QSize(1020, 150), QSize(1, 1)}) {
    QImage image = ClientImage(size.width(), size.height());
    painter_.Paint(image, m, doc);
  }
  QImage image = ClientImage();
  painter_.Paint(image, m, doc);
  EXPECT_EQ(image.pixel(800, 270), kRed);  // the sane tail still shows
  // 1e30 lies far above the plot and -1e30 far below: the line between them
  // crosses the plot halfway between the two points.
  EXPECT_GT(400 * 11 - Count(image, kBlack, {185, 71, 195, 470}), 300);
}

}  // namespace
}  // namespace acv
