// The graph from the keyboard: the keys of marker A, placing it on a point,
// page scrolling, and zooming in around A and out one level.
#include <gtest/gtest.h>

#include "GraphFixtures.h"
#include "graph/geometry/CursorPlacement.h"
#include "graph/geometry/GraphKeys.h"
#include "graph/geometry/Markers.h"
#include "graph/geometry/Zoom.h"

namespace acv {
namespace {

using test::kPlot;

// CH1 0..10.
class GraphKeysTest : public test::KeyedGraph {
 protected:
  void PlaceA(std::int64_t point) { Place(Marker::A, point); }
  // Zooms to the points under x 310..510 (a quarter of the width).
  void ZoomToQuarter() {
    BeginDrag(m_.state, 310, 100);
    MoveDrag(m_.state, 510, 460);
    ASSERT_TRUE(ReleaseDrag(m_, 510, 460).accepted);
    test::PaintOnce(m_, doc_);
  }
};

TEST_F(GraphKeysTest, MarkerKeysInTheFullView) {
  struct Step {
    GraphKey key;
    int point;  // 0-based point of A afterwards
  };
  // Without A or B, A starts at the near edge; then it steps, stopping at
  // both ends of the series.
  const Step steps[] = {{GraphKey::Right, 0}, {GraphKey::Right, 1},   {GraphKey::RightTen, 11},
                        {GraphKey::Left, 10}, {GraphKey::LeftTen, 0}, {GraphKey::Left, 0},
                        {GraphKey::End, 100}, {GraphKey::Right, 100}, {GraphKey::LeftTen, 90},
                        {GraphKey::Home, 0}};
  for (const Step& step : steps) {
    ASSERT_TRUE(Press(step.key).handled);
    EXPECT_EQ(m_.state.markerAIndex, step.point);
    // The line stands on the point, where a click there would put it.
    ASSERT_TRUE(MarkerColumn(m_, Marker::A).has_value());
    EXPECT_EQ(NearestPoint(m_, *MarkerColumn(m_, Marker::A)), step.point);
  }
  // The readout reads A's point.
  EXPECT_EQ(m_.state.readoutText, "Data Point No.:1  Time:09/09/01 01:46:40   CH1: 5.0V");

  // A repaint keeps A: the next key steps on from its point.
  Press(GraphKey::End);
  test::PaintOnce(m_, doc_);
  Press(GraphKey::Left);
  EXPECT_EQ(m_.state.markerAIndex, 99);
  // Without A but with B, A starts beside B.
  PlaceA(-1);
  PlaceMarker(m_, doc_, Marker::B, 40);
  Press(GraphKey::LeftTen);
  EXPECT_EQ(m_.state.markerAIndex, 30);
  // Page keys belong to the zoomed view's scroll bar.
  EXPECT_FALSE(Press(GraphKey::PageOn).handled);
  EXPECT_FALSE(Press(GraphKey::ZoomOut).handled);  // nothing to take back
}

TEST_F(GraphKeysTest, ZoomedViewScrollsToFollowMarkerA) {
  ZoomToQuarter();  // points 25..50 on the screen, 32 px apart
  const PointRange shown = ShownPoints(m_);
  EXPECT_EQ(shown.first, 25);
  EXPECT_EQ(shown.last, 50);
  Press(GraphKey::End);
  EXPECT_EQ(m_.state.markerAIndex, 50);
  // One more step scrolls by one point, and A stays on the screen.
  Press(GraphKey::Right);
  EXPECT_EQ(m_.state.markerAIndex, 51);
  EXPECT_EQ(ShownPoints(m_).last, 51);
  EXPECT_EQ(MarkerColumn(m_, Marker::A), TruncToPixel(PointScreenX(m_, 51)));
  EXPECT_LE(*MarkerColumn(m_, Marker::A), kPlot.right);
  EXPECT_EQ(m_.state.hScroll.position, 27);

  // Page keys move as the bar's page step: (800 + 120) / 32 + 1 = 29 points.
  const int before = m_.state.hScroll.position;
  EXPECT_TRUE(Press(GraphKey::PageOn).repaint);
  EXPECT_EQ(m_.state.hScroll.position, before + 29);
  Press(GraphKey::PageBack);
  EXPECT_EQ(m_.state.hScroll.position, before);

  // The Data List's entry: a point far off the screen is scrolled into view.
  PlaceA(5);
  EXPECT_EQ(ShownPoints(m_).first, 5);
  EXPECT_EQ(MarkerColumn(m_, Marker::A), kPlot.left);
  EXPECT_EQ(m_.state.readoutText.rfind("Data Point No.:6 ", 0), 0u);
}

TEST_F(GraphKeysTest, ZoomInAroundMarkerAAndOutOneLevelAtATime) {
  Press(GraphKey::Home);
  Press(GraphKey::RightTen);
  Press(GraphKey::RightTen);  // point 20, x 270
  const TickSet fullTicks = m_.state.ch1Ticks[kFullView];

  // Half the width around A: points 0..50 shown, twice as far apart.
  KeyOutcome out = Press(GraphKey::ZoomIn);
  ASSERT_TRUE(out.repaint);
  EXPECT_EQ(m_.state.zoomState, kZoomedView);
  EXPECT_DOUBLE_EQ(m_.state.pointStep, 16.0);
  EXPECT_EQ(m_.state.markerAIndex, 20);  // A stays on its point
  EXPECT_EQ(MarkerColumn(m_, Marker::A), 110 + 16 * 20);
  EXPECT_EQ(m_.state.ch1Labels[10], "10.00");  // the whole height: Y stays
  const XMapping first = m_.buffers.pointX[kZoomedView];
  Press(GraphKey::ZoomIn);
  EXPECT_DOUBLE_EQ(m_.state.pointStep, 32.0);
  EXPECT_EQ(m_.state.zoomHistory.size(), 2u);

  // A resize in between: the level taken back is remapped with the window.
  test::PaintOnce(m_, doc_, {0, 0, 1220, 580});
  test::PaintOnce(m_, doc_);
  out = Press(GraphKey::ZoomOut);
  EXPECT_TRUE(out.repaint);
  EXPECT_EQ(m_.state.zoomState, kZoomedView);
  EXPECT_DOUBLE_EQ(m_.buffers.pointX[kZoomedView].origin, first.origin);
  EXPECT_DOUBLE_EQ(m_.state.pointStep, 16.0);
  EXPECT_TRUE(m_.state.hScroll.enabled);
  Press(GraphKey::ZoomOut);
  EXPECT_EQ(m_.state.zoomState, kFullView);
  EXPECT_FALSE(m_.state.hScroll.enabled);
  EXPECT_EQ(m_.state.ch1Ticks[kFullView], fullTicks);
  EXPECT_FALSE(Press(GraphKey::ZoomOut).handled);

  // Without A or the pointer on the screen the zoom centres on the plot; a
  // reset forgets every level.
  PlaceA(-1);
  Press(GraphKey::ZoomIn);
  EXPECT_EQ(ShownPoints(m_).first, 25);
  ZoomReset(m_.state);
  EXPECT_TRUE(m_.state.zoomHistory.empty());
}

TEST_F(GraphKeysTest, NothingHappensWithoutAGraph) {
  for (GraphKey key : {GraphKey::Right, GraphKey::Home, GraphKey::ZoomIn, GraphKey::ZoomOut}) {
    GraphModel start;  // the start screen
    EXPECT_FALSE(HandleGraphKey(start, key).handled);
    GraphModel dragging = m_;
    dragging.state.dragging = true;
    EXPECT_FALSE(HandleGraphKey(dragging, key).handled);
  }
}

// Each row: the deltas of one gesture and the zoom steps each one gives.
TEST(WheelStepsTest, SmallDeltasAddUpToWholeNotches) {
  struct Case {
    const char* what;
    std::vector<int> deltas;
    std::vector<int> steps;
  };
  const Case cases[] = {
      {"mouse notches", {120, -120, 240}, {1, -1, 2}},
      {"touchpad swipe", {30, 30, 30, 30, 30}, {0, 0, 0, 1, 0}},
      {"turned back drops the rest", {90, -30, -90}, {0, 0, -1}},
      {"fine back swipe", {-60, -70, -110}, {0, -1, -1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WheelSteps wheel;
    std::vector<int> got;
    for (int d : c.deltas) got.push_back(wheel.Take(d));
    EXPECT_EQ(got, c.steps);
  }
}

}  // namespace
}  // namespace acv
