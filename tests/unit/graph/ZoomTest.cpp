// Rubber-band zoom: acceptance, applying, nesting, resizing and reset.
#include <gtest/gtest.h>

#include "GraphFixtures.h"
#include "graph/geometry/SeriesSource.h"
#include "graph/geometry/Zoom.h"

namespace acv {
namespace {

using test::kClient;

// 101 points, 8 px apart; CH1 0..10 and CH2 0..100 over 400 px.
class ZoomTest : public ::testing::Test {
 protected:
  ZoomTest() : doc_(test::StoreRmsDoc(test::Constant(101, 5.0f), test::Constant(101, 50.0f))) {
    m_ = test::GraphOf(doc_);
    test::PaintOnce(m_, doc_);
  }

  ReleaseOutcome Drag(int x0, int y0, int x1, int y1) {
    BeginDrag(m_.state, x0, y0);
    MoveDrag(m_.state, x1, y1);
    return ReleaseDrag(m_, x1, y1);
  }

  CDTDoc doc_;
  GraphModel m_;
};

TEST_F(ZoomTest, AcceptedZoomIsAppliedAtTheNextPaint) {
  const ReleaseOutcome out = Drag(310, 170, 510, 370);
  EXPECT_TRUE(out.accepted);
  EXPECT_EQ(m_.state.zoomPending, 1);
  EXPECT_EQ(out.repaintArea, (Rect{20, 60, 1010, 525}));
  test::PaintOnce(m_, doc_);
  const GraphState& s = m_.state;
  EXPECT_EQ(s.zoomPending, 0);
  EXPECT_EQ(s.ch1Labels[0], "2.50");
  EXPECT_EQ(s.ch1Labels[10], "7.50");
  EXPECT_EQ(s.ch2Labels[0], "25.00");
  EXPECT_DOUBLE_EQ(m_.buffers.pointX[kZoomedView].origin, -690.0);
  EXPECT_DOUBLE_EQ(s.pointStep, 32.0);
  EXPECT_EQ(s.scrollBase, 25);  // points left of the plot
  EXPECT_TRUE(s.hScroll.enabled);
  EXPECT_EQ(s.hScroll.maximum, 101);
  EXPECT_EQ(s.hScroll.position, 26);
  EXPECT_EQ(s.ch1Scroll.minimum, -200);
  // 5.0 in the middle of 2.5..7.5
  EXPECT_DOUBLE_EQ(m_.buffers.Y(SeriesSource(doc_, m_.state.mode), 0, kZoomedView, 30), 270.0);
}

TEST_F(ZoomTest, RightToLeftDragZoomsLikeTheMirroredOne) {
  Drag(310, 170, 510, 370);
  test::PaintOnce(m_, doc_);
  const GraphState forward = m_.state;
  const PointBuffers forwardBuffers = m_.buffers;

  ZoomReset(m_.state);
  test::PaintOnce(m_, doc_);
  EXPECT_TRUE(Drag(510, 370, 310, 170).accepted);
  test::PaintOnce(m_, doc_);
  EXPECT_EQ(m_.state.ch1Ticks[kZoomedView], forward.ch1Ticks[kZoomedView]);
  EXPECT_EQ(m_.state.ch2Ticks[kZoomedView], forward.ch2Ticks[kZoomedView]);
  EXPECT_DOUBLE_EQ(m_.buffers.pointX[kZoomedView].origin,
                   forwardBuffers.pointX[kZoomedView].origin);
  EXPECT_EQ(m_.state.scrollBase, forward.scrollBase);
}

TEST_F(ZoomTest, ZoomsNestOnTheZoomedView) {
  Drag(310, 170, 510, 370);
  test::PaintOnce(m_, doc_);
  EXPECT_TRUE(Drag(310, 170, 510, 370).accepted);
  test::PaintOnce(m_, doc_);
  EXPECT_EQ(m_.state.ch1Labels[0], "3.75");
  EXPECT_EQ(m_.state.ch1Labels[10], "6.25");
  EXPECT_DOUBLE_EQ(m_.buffers.pointX[kZoomedView].origin, -3890.0);
  EXPECT_DOUBLE_EQ(m_.state.pointStep, 128.0);
  // The first zoom's base is kept in the saved slot.
  EXPECT_FLOAT_EQ(m_.state.savedTicks[0][10], 10.0f);
  EXPECT_DOUBLE_EQ(m_.buffers.pointX[kSavedView].origin, 110.0);
}

TEST_F(ZoomTest, SmallFlatOrTooNarrowRectanglesAreIgnored) {
  // Three pixels wide: ignored, and the band no longer blocks the real-time path.
  ReleaseOutcome out = Drag(300, 100, 303, 300);
  EXPECT_FALSE(out.accepted);
  EXPECT_EQ(m_.state.dragShown, 0);
  EXPECT_EQ(m_.state.zoomState, kFullView);

  // Zero height fails the tenth-of-a-unit rule.
  EXPECT_FALSE(Drag(300, 200, 500, 200).accepted);
  // 1.6 % of the height spans 0.016 V per tenth: below 0.1.
  EXPECT_FALSE(Drag(300, 200, 500, 206).accepted);
  EXPECT_EQ(m_.state.zoomPending, 0);

  // Three points 400 px apart: a 200 px band would put two points 1600 px apart.
  CDTDoc three = test::StoreRmsDoc({1.0f, 2.0f, 3.0f});
  GraphModel m = test::GraphOf(three);
  test::PaintOnce(m, three);
  BeginDrag(m.state, 300, 100);
  MoveDrag(m.state, 500, 400);
  EXPECT_FALSE(ReleaseDrag(m, 500, 400).accepted);

  // A click without movement does nothing.
  BeginDrag(m_.state, 300, 100);
  out = ReleaseDrag(m_, 600, 400);
  EXPECT_TRUE(out.handled);
  EXPECT_FALSE(out.accepted);
}

TEST_F(ZoomTest, BandAndDragWatch) {
  EXPECT_TRUE(BeginDrag(m_.state, 50, 20));  // clamped to the plot's corner
  BandUpdate u = MoveDrag(m_.state, 200, 300);
  EXPECT_TRUE(u.drawNew);
  EXPECT_FALSE(u.eraseOld);
  EXPECT_EQ(u.newBand, (Rect{110, 70, 200, 300}));
  EXPECT_FALSE(MoveDrag(m_.state, 200, 300).drawNew);  // same corner: nothing
  u = MoveDrag(m_.state, 2000, 30);
  EXPECT_TRUE(u.eraseOld);
  EXPECT_EQ(u.oldBand, (Rect{110, 70, 200, 300}));
  EXPECT_EQ(u.newBand, (Rect{110, 70, 910, 70}));

  EXPECT_FALSE(DragWatchCancels(m_.state, 900, 480));  // still near the plot
  EXPECT_TRUE(DragWatchCancels(m_.state, 59, 300));    // left of plot left - 50
  EXPECT_FALSE(m_.state.dragging);
  EXPECT_EQ(m_.state.dragShown, 0);

  GraphState empty;
  empty.displayMode = kGraphFace;
  EXPECT_FALSE(BeginDrag(empty, 300, 300));  // no data: the mouse does nothing
}

TEST_F(ZoomTest, ResizeRemapsTheZoomAndDropsAPendingOne) {
  Drag(310, 170, 510, 370);
  test::PaintOnce(m_, doc_);
  test::PaintOnce(m_, doc_, {0, 0, 1220, 580});  // plot 110..1110
  EXPECT_DOUBLE_EQ(m_.buffers.pointX[kZoomedView].origin, -890.0);
  EXPECT_DOUBLE_EQ(m_.state.pointStep, 40.0);
  EXPECT_EQ(m_.state.zoomState, kZoomedView);

  // Through a window too narrow for a plot and back, the zoom survives.
  test::PaintOnce(m_, doc_, {0, 0, 200, 580});
  test::PaintOnce(m_, doc_, {0, 0, 1220, 580});
  EXPECT_DOUBLE_EQ(m_.buffers.pointX[kZoomedView].origin, -890.0);

  ZoomReset(m_.state);
  test::PaintOnce(m_, doc_);
  EXPECT_TRUE(Drag(310, 170, 510, 370).accepted);
  test::PaintOnce(m_, doc_, {0, 0, 1220, 580});  // resized before the zoom was applied
  EXPECT_EQ(m_.state.zoomState, kFullView);
  EXPECT_DOUBLE_EQ(m_.state.pointStep, 10.0);
}

TEST_F(ZoomTest, ResetReturnsToTheFullView) {
  Drag(310, 170, 510, 370);
  test::PaintOnce(m_, doc_);
  m_.state.scrollShift = -7;
  m_.state.ch1Offset[kFullView] = 3;
  m_.state.cursorEnabled = 0;
  const Rect area = ZoomReset(m_.state);
  EXPECT_EQ(area, (Rect{0, 50, 1020, 580}));
  EXPECT_EQ(m_.state.zoomState, kFullView);
  EXPECT_EQ(m_.state.scrollShift, 0);
  EXPECT_EQ(m_.state.scrollBase, 0);
  EXPECT_FALSE(m_.state.hScroll.enabled);
  EXPECT_EQ(m_.state.ch1Offset[kFullView], 3);  // stored offsets stay
  EXPECT_EQ(m_.state.cursorEnabled, 1);
  test::PaintOnce(m_, doc_);
  EXPECT_DOUBLE_EQ(m_.state.pointStep, 8.0);
}

}  // namespace
}  // namespace acv

namespace acv {
namespace {

TEST(ZoomSpan, ATenthOfTheSpanOnEachSideClampedToTheData) {
  struct Case {
    std::int64_t first, last, low, high;
    PointSpan shown;
  };
  const Case cases[] = {
      {100, 200, 0, 999, {90, 210}},   // a tenth each side
      {200, 100, 0, 999, {90, 210}},   // either order
      {500, 500, 0, 999, {499, 501}},  // one point: one on each side
      {500, 503, 0, 999, {499, 504}},  // less than ten points: still one
      {0, 0, 0, 999, {0, 1}},          // at the ends, clamped
      {990, 999, 0, 999, {989, 999}}, {-50, 5000, 0, 999, {0, 999}},  // ends beyond the data
      {3, 3, 3, 3, {3, 3}},                                           // a series of one point
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SpanWithMargin(c.first, c.last, c.low, c.high), c.shown) << c.first << ".." << c.last;
  }
}

TEST_F(ZoomTest, ZoomOntoPointsFillsThePlotWithThem) {
  ASSERT_TRUE(ZoomOntoPoints(m_, 40, 60).accepted);
  test::PaintOnce(m_, doc_);
  const XMapping& x = m_.buffers.pointX[kZoomedView];
  EXPECT_NEAR(x.At(40), 110.0, 1e-9);
  EXPECT_NEAR(x.At(60), 910.0, 1e-9);
  EXPECT_FALSE(ZoomOntoPoints(m_, 45, 50).accepted);  // only from the full view
  ZoomReset(m_.state);
  test::PaintOnce(m_, doc_);
  EXPECT_FALSE(ZoomOntoPoints(m_, 50, 50).accepted);  // no width: nothing to fill
}

}  // namespace
}  // namespace acv
