// Layout, axes and horizontal scaling of the graph.
#include <gtest/gtest.h>

#include <cmath>

#include "GraphFixtures.h"
#include "graph/geometry/Colours.h"
#include "graph/geometry/Scaling.h"
#include "graph/geometry/Segments.h"
#include "graph/geometry/SeriesSource.h"

namespace acv {
namespace {

using test::kClient;
using test::kPlot;

TEST(GraphLayout, PlotAndBoxFollowTheClientAndTheStrip) {
  GraphState s;
  s.panelHeight = 120;
  LayoutGraph(s, {0, 0, 300, 600});
  EXPECT_EQ(s.plotRect.Width(), 80);
  EXPECT_EQ(s.plotRect, (Rect{110, 190, 190, 490}));
  EXPECT_EQ(s.graphBox, (Rect{20, 172, 280, 545}));

  s.panelHeight = 0;
  LayoutGraph(s, {0, 0, 300, 600});
  EXPECT_EQ(s.plotRect.top, 70);

  LayoutGraph(s, {0, 0, 219, 600});
  EXPECT_LE(s.plotRect.Width(), 0);
}

TEST(GraphColours, NamedIndicesAndRawValues) {
  EXPECT_EQ(colourOf(0), 0x0000FFu);   // red in the low byte
  EXPECT_EQ(colourOf(13), 0x000000u);  // black
  EXPECT_EQ(colourOf(14), 0xC8C8C8u);  // grey
  EXPECT_EQ(colourOf(15), 15u);        // raw value
  EXPECT_EQ(colourOf(0x123456), 0x123456u);
  EXPECT_EQ(ToRgb(colourOf(2)), 0x0000FFu);  // blue, as an image pixel
  EXPECT_EQ(ColourName(9), "Dark Yellow");
}

TEST(YAxis, LabelsTicksAndOffsets) {
  CDTDoc doc = test::StoreRmsDoc(test::Constant(11, 5.0f));
  GraphModel m = test::GraphOf(doc);
  test::PaintOnce(m, doc);
  const GraphState& s = m.state;
  for (int k = 0; k < kTickCount; ++k) {
    char expected[16];
    std::snprintf(expected, sizeof expected, "%d.00", k);
    EXPECT_EQ(s.ch1Labels[k], expected);
  }
  EXPECT_EQ(s.ch2Labels[10], "100.00");
  // Label k sits at bottom - k * H / 10 - 8; channel 1 right-aligned by length.
  EXPECT_EQ(YLabelY(s, 0), 470 - 8);
  EXPECT_EQ(YLabelY(s, 10), 70 - 8);
  EXPECT_EQ(YLabelX(s, 0, "10.00"), 88 - 25);
  EXPECT_EQ(YLabelX(s, 1, "1.00"), 916);
  EXPECT_EQ(YTickY(s, 3), 70 + 120);

  // Scrolling channel 1 by a tenth of the height lowers every tick by a tenth of the range.
  m.state.ch1Offset[kFullView] = 40;
  test::PaintOnce(m, doc);
  EXPECT_FLOAT_EQ(m.state.ch1Ticks[kFullView][0], -1.0f);
  EXPECT_EQ(m.state.ch1Labels[10], "9.00");
}

TEST(YAxis, ValuesMapToPixelsWithTruncation) {
  CDTDoc doc = test::StoreRmsDoc({0.0f, 10.0f, 5.0f, 12.5f, 2.0001f});
  GraphModel m = test::GraphOf(doc);
  test::PaintOnce(m, doc);
  const SeriesSource source(doc, m.state.mode);
  EXPECT_DOUBLE_EQ(m.buffers.Y(source, 0, kFullView, 0), 470.0);
  EXPECT_DOUBLE_EQ(m.buffers.Y(source, 0, kFullView, 1), 70.0);
  EXPECT_DOUBLE_EQ(m.buffers.Y(source, 0, kFullView, 2), 270.0);
  EXPECT_DOUBLE_EQ(m.buffers.Y(source, 0, kFullView, 3), -30.0);  // above the plot, covered later
  EXPECT_EQ(TruncToPixel(m.buffers.Y(source, 0, kFullView, 4)), 389);  // 389.996 truncates
  EXPECT_EQ(TruncToPixel(-0.7), 0);                                    // toward zero
}

TEST(PointStep, SpansThePlotOrFollowsTheCompressionLevel) {
  GraphState s;
  LayoutGraph(s, kClient);
  s.firstPoint = 1;
  s.lastPoint = 101;
  UpdatePointStep(s, 0);
  EXPECT_DOUBLE_EQ(s.pointStep, 8.0);
  s.lastPoint = 1;
  UpdatePointStep(s, 0);
  EXPECT_DOUBLE_EQ(s.pointStep, 800.0);

  // During a run the X axis holds zoomLevels[zoomLevel] points per screen.
  s.mode = GraphMode::RealTimeRms;
  s.realTimeStopped = 0;
  BuildZoomLevels(s);
  EXPECT_FALSE(UpdatePointStep(s, 100));
  EXPECT_DOUBLE_EQ(s.pointStep, 800.0 / 99);
  EXPECT_TRUE(UpdatePointStep(s, 101));  // rtCount - firstPoint reached 100
  EXPECT_EQ(s.zoomLevel, 1);
  EXPECT_DOUBLE_EQ(s.pointStep, 800.0 / (s.zoomLevels[1] - 1));
  EXPECT_FALSE(UpdatePointStep(s, 102));

  // A new run starts over in the full view at level 0.
  s.zoomState = kZoomedView;
  s.scrollShift = -4;
  s.ch1Offset[kFullView] = 7;
  UpdatePointStep(s, 1);
  EXPECT_EQ(s.zoomLevel, 0);
  EXPECT_EQ(s.zoomState, kFullView);
  EXPECT_EQ(s.scrollShift, 0);
  EXPECT_EQ(s.ch1Offset[kFullView], 0);
}

TEST(PointStep, ZoomLevelsGrowByATwelfthOfTheWidth) {
  for (int width : {80, 800, 1380}) {
    GraphState s;
    LayoutGraph(s, {0, 0, width + 220, 600});
    BuildZoomLevels(s);
    EXPECT_EQ(s.zoomLevels[0], 100);
    int n = 1;
    for (; n < kZoomLevelCount && s.zoomLevels[n] != 0; ++n) {
      const double rule = (s.zoomLevels[n - 1] - 1) * 12.0 / 11.0 + 1;
      EXPECT_NEAR(s.zoomLevels[n], rule, 1.0) << "width " << width << " level " << n;
    }
    EXPECT_GT(s.zoomLevels[n - 1], 99999);  // stops after the first entry above 99999
    EXPECT_LE(s.zoomLevels[n - 2], 99999);
  }
  GraphState s;
  LayoutGraph(s, kClient);
  FitZoomLevel(s, 100);
  EXPECT_EQ(s.zoomLevel, 0);
  FitZoomLevel(s, 101);
  EXPECT_EQ(s.zoomLevel, 1);
}

TEST(XAxis, SpacingAndTimeLabels) {
  EXPECT_EQ(XLabelSpacing(100), 25);
  EXPECT_EQ(XLabelSpacing(3), 1);
  EXPECT_EQ(XLabelSpacing(2), 1);
  EXPECT_EQ(XLabelSpacing(1), 1);

  CDTDoc doc = test::StoreRmsDoc(test::Constant(101, 1.0f));
  GraphModel m = test::GraphOf(doc);
  const GraphFrame frame = test::PaintOnce(m, doc);
  ASSERT_EQ(frame.xLabels.size(), 10u);
  // 100 points per screen: a label every 25 points (200 px); five fit.
  EXPECT_TRUE(frame.xLabels[4].shown);
  EXPECT_FALSE(frame.xLabels[5].shown);
  EXPECT_EQ(frame.xLabels[1].x, 310);
  EXPECT_EQ(frame.xLabels[0].text, "01:46:40");
  EXPECT_EQ(frame.xLabels[0].date, "09/09/01");
  EXPECT_EQ(frame.xLabels[1].text, "01:50:50");  // 25 samples of 10 s later
  EXPECT_EQ(frame.xLabels[1].textX, 310 - 28);
}

TEST(XAxis, PointNumbersAndTheSinglePointLabel) {
  CDTDoc doc;
  doc.trCount = 3;
  doc.trWaves.assign(3 * kTrWavePoints, 0.0f);
  doc.trTimes = {10, 20, 30};
  GraphModel m = test::GraphOf(doc, GraphMode::StoreTr);
  m.state.firstPoint = 2 * kTrWavePoints + 1;
  m.state.lastPoint = 3 * kTrWavePoints;
  m.state.plotCh1 = 1;
  GraphFrame frame = test::PaintOnce(m, doc);
  EXPECT_EQ(frame.xLabels[0].text, "1");
  EXPECT_EQ(frame.xLabels[1].text, "63");  // 250 points per screen, a label every 62
  EXPECT_TRUE(frame.xLabels[1].date.empty());

  CDTDoc one = test::StoreRmsDoc({3.0f});
  GraphModel single = test::GraphOf(one);
  frame = test::PaintOnce(single, one);
  EXPECT_DOUBLE_EQ(single.state.pointStep, 800.0);
  ASSERT_TRUE(frame.singleLabel);
  EXPECT_EQ(frame.single.textX, kPlot.left - 23);
  EXPECT_EQ(frame.single.text, "01:46:40");
  EXPECT_EQ(frame.single.date, "09/09/01");
  single.state.mode = GraphMode::RealTimeEpa;
  frame = test::PaintOnce(single, one);
  EXPECT_EQ(frame.single.text, "1");
  EXPECT_EQ(frame.single.textX, kPlot.left);
}

// Divisions by zero of a degenerate layout or range draw nothing instead of garbage.
TEST(DegenerateGraphs, PaintNoCurve) {
  CDTDoc doc = test::StoreRmsDoc({1.0f, 2.0f, 3.0f}, {1.0f, 2.0f, 3.0f});
  CurveBatch batch;

  GraphModel narrow = test::GraphOf(doc);
  const GraphFrame frame = test::PaintOnce(narrow, doc, {0, 0, 200, 580});
  EXPECT_TRUE(frame.xLabels.empty());
  BuildCurve(narrow, SeriesSource(doc, narrow.state.mode), 0, true, true, batch);
  EXPECT_TRUE(batch.lines.empty());

  GraphModel flat = test::GraphOf(doc);
  flat.state.ch1To = 0;  // equal ticks
  test::PaintOnce(flat, doc);
  EXPECT_FALSE(flat.state.yScaleValid[0]);
  EXPECT_TRUE(flat.state.yScaleValid[1]);
  BuildCurve(flat, SeriesSource(doc, flat.state.mode), 0, true, false, batch);
  EXPECT_TRUE(batch.lines.empty());

  GraphModel low = test::GraphOf(doc);
  test::PaintOnce(low, doc, {0, 0, 1020, 180});  // zero plot height
  EXPECT_FALSE(low.state.yScaleValid[0]);
  BuildCurve(low, SeriesSource(doc, low.state.mode), 1, true, false, batch);
  EXPECT_TRUE(batch.lines.empty());

  GraphModel samePoint = test::GraphOf(doc);
  samePoint.state.firstPoint = samePoint.state.lastPoint = 2;
  test::PaintOnce(samePoint, doc);
  EXPECT_DOUBLE_EQ(samePoint.state.pointStep, 800.0);
  BuildCurve(samePoint, SeriesSource(doc, samePoint.state.mode), 0, true, false, batch);
  EXPECT_TRUE(batch.lines.empty());

  // A range that claims more points than the data set holds reads nothing beyond it.
  GraphModel tooLong = test::GraphOf(doc);
  tooLong.state.lastPoint = 1'000'000'000;
  test::PaintOnce(tooLong, doc);
  EXPECT_EQ(tooLong.buffers.count, 3);
  EXPECT_TRUE(
      std::isnan(tooLong.buffers.Y(SeriesSource(doc, tooLong.state.mode), 0, kFullView, 3)));
}

}  // namespace
}  // namespace acv
