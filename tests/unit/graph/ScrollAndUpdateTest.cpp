// Scroll bars and the real-time update decision.
#include <gtest/gtest.h>

#include <cmath>

#include "GraphFixtures.h"
#include "graph/geometry/PointBuffers.h"
#include "graph/geometry/Scroll.h"
#include "graph/geometry/Segments.h"
#include "graph/geometry/SeriesSource.h"
#include "graph/geometry/Zoom.h"

namespace acv {
namespace {

// A zoomed STORE RMS view: 101 points 32 px apart, 25 of them left of the plot.
GraphModel ZoomedView(const CDTDoc& doc) {
  GraphModel m = test::GraphOf(doc);
  test::PaintOnce(m, doc);
  BeginDrag(m.state, 310, 170);
  MoveDrag(m.state, 510, 370);
  ReleaseDrag(m, 510, 370);
  test::PaintOnce(m, doc);
  return m;
}

TEST(HorizontalScroll, LinesPagesAndThumb) {
  const CDTDoc doc = test::StoreRmsDoc(test::Constant(101, 5.0f));
  GraphModel m = ZoomedView(doc);
  GraphState& s = m.state;
  ASSERT_EQ(HorizontalPosition(s), 26);

  EXPECT_TRUE(ScrollHorizontal(s, ScrollAction::LineForward, 0, 0));
  EXPECT_EQ(s.scrollShift, -1);
  EXPECT_EQ(s.hScroll.position, 27);
  EXPECT_TRUE(ScrollHorizontal(s, ScrollAction::LineBack, 0, 0));
  EXPECT_EQ(HorizontalPosition(s), 26);

  // A page is trunc((W + 120) / pointStep) + 1 = 29 points.
  ScrollHorizontal(s, ScrollAction::PageForward, 0, 0);
  EXPECT_EQ(HorizontalPosition(s), 55);
  // The last page shows the last point at the plot's right edge, and a
  // page more moves nothing.
  ScrollHorizontal(s, ScrollAction::PageForward, 0, 0);
  const int last = HorizontalPosition(s);
  const double lastX = s.plotRect.left + (101 - last) * s.pointStep;
  EXPECT_LE(lastX, s.plotRect.right);
  EXPECT_GT(lastX, s.plotRect.right - s.pointStep);
  EXPECT_FALSE(ScrollHorizontal(s, ScrollAction::PageForward, 0, 0));
  // Lines and the thumb still reach the end of the bar's range.
  for (int k = last; k < 101; ++k) ScrollHorizontal(s, ScrollAction::LineForward, 0, 0);
  EXPECT_EQ(HorizontalPosition(s), 101);
  EXPECT_FALSE(ScrollHorizontal(s, ScrollAction::LineForward, 0, 0));
  EXPECT_FALSE(ScrollHorizontal(s, ScrollAction::PageForward, 0, 0));
  ScrollHorizontal(s, ScrollAction::PageBack, 0, 0);
  EXPECT_EQ(HorizontalPosition(s), 72);
  // The first page starts with the first point at the left edge; a line
  // still goes one further.
  ScrollHorizontal(s, ScrollAction::ThumbTrack, 10, 0);
  ScrollHorizontal(s, ScrollAction::PageBack, 0, 0);
  EXPECT_EQ(HorizontalPosition(s), 1);
  EXPECT_FALSE(ScrollHorizontal(s, ScrollAction::PageBack, 0, 0));
  EXPECT_TRUE(ScrollHorizontal(s, ScrollAction::LineBack, 0, 0));
  EXPECT_FALSE(ScrollHorizontal(s, ScrollAction::LineBack, 0, 0));
  EXPECT_EQ(s.scrollShift, 26);

  ScrollHorizontal(s, ScrollAction::ThumbTrack, 40, 0);
  EXPECT_EQ(HorizontalPosition(s), 40);
  EXPECT_EQ(s.scrollShift, 25 + 1 - 40);
}

TEST(HorizontalScroll, LongSeriesTrackTheMouseAndRecordsStayInRange) {
  GraphState s;
  LayoutGraph(s, test::kClient);
  s.firstPoint = 1;
  s.lastPoint = 40000;
  s.pointStep = 0.02;
  ScrollHorizontal(s, ScrollAction::ThumbTrack, 123, 110 + 30 + 370);
  EXPECT_EQ(HorizontalPosition(s), 20000);
  ScrollHorizontal(s, ScrollAction::ThumbTrack, 123, 120);
  EXPECT_EQ(HorizontalPosition(s), 0);
  ScrollHorizontal(s, ScrollAction::ThumbTrack, 123, 900);
  EXPECT_EQ(HorizontalPosition(s), 40000);

  // A TR record deep in the data scrolls within its 251 points.
  s.firstPoint = 100 * kTrWavePoints + 1;
  s.lastPoint = 101 * kTrWavePoints;
  s.scrollShift = 0;
  s.scrollBase = 250;
  EXPECT_EQ(HorizontalPosition(s), 251);
  EXPECT_FALSE(ScrollHorizontal(s, ScrollAction::LineForward, 0, 0));
}

TEST(VerticalScroll, OffsetsStayWithinHalfTheHeight) {
  const CDTDoc doc = test::StoreRmsDoc(test::Constant(101, 5.0f));
  GraphModel m = ZoomedView(doc);
  GraphState& s = m.state;
  EXPECT_TRUE(ScrollVertical(s, 0, ScrollAction::LineBack, 0));
  EXPECT_EQ(s.ch1Offset[kZoomedView], -1);
  EXPECT_EQ(s.ch1Offset[kFullView], 0);
  ScrollVertical(s, 0, ScrollAction::PageBack, 0);
  EXPECT_EQ(s.ch1Offset[kZoomedView], -200);
  EXPECT_FALSE(ScrollVertical(s, 0, ScrollAction::LineBack, 0));
  ScrollVertical(s, 1, ScrollAction::ThumbTrack, 500);
  EXPECT_EQ(s.ch2Offset[kZoomedView], 200);
  EXPECT_EQ(s.ch2Scroll.position, 200);
  // The offset moves that channel's ticks: a tenth of the height is a tick step.
  s.ch2Offset[kZoomedView] = 40;
  test::PaintOnce(m, doc);
  EXPECT_EQ(m.state.ch2Labels[1], "25.00");
}

TEST(RealTimeUpdate, DrawsTheNewestSegmentOrAsksForARepaint) {
  CDTDoc doc = test::RealTimeDoc(1000);
  GraphModel m = test::RealTimeGraph(doc, 2);
  EXPECT_EQ(IncrementalUpdate(m, doc), IncrementalAction::Repaint);  // fewer than 3 points
  test::AddPoint(doc, m, 6.0f);
  EXPECT_EQ(IncrementalUpdate(m, doc), IncrementalAction::DrawNewest);
  test::AddPoint(doc, m, 12.0f);  // crosses the top line
  EXPECT_EQ(IncrementalUpdate(m, doc), IncrementalAction::Repaint);
  test::AddPoint(doc, m, 14.0f);  // wholly above: the fast path skips it by itself
  EXPECT_EQ(IncrementalUpdate(m, doc), IncrementalAction::DrawNewest);

  m.state.dragShown = 1;
  test::AddPoint(doc, m, 5.0f);
  EXPECT_EQ(IncrementalUpdate(m, doc), IncrementalAction::None);
  m.state.dragShown = 0;

  while (doc.rtCount < 100) test::AddPoint(doc, m, 5.0f);
  EXPECT_EQ(IncrementalUpdate(m, doc), IncrementalAction::DrawNewest);
  test::AddPoint(doc, m, 5.0f);  // 101 points: the X axis compresses
  EXPECT_EQ(IncrementalUpdate(m, doc), IncrementalAction::RepaintWithErase);
  EXPECT_EQ(m.state.zoomLevel, 1);
}

TEST(RealTimeUpdate, ZoomedViewFollowsTheData) {
  CDTDoc doc = test::RealTimeDoc(1000);
  GraphModel m = test::RealTimeGraph(doc, 40);
  // Zoom to the left half: points 16.16 px apart, point 49 at the right edge.
  BeginDrag(m.state, 110, 100);
  MoveDrag(m.state, 510, 400);
  ASSERT_TRUE(ReleaseDrag(m, 510, 400).accepted);
  test::PaintOnce(m, doc);
  ASSERT_EQ(m.state.zoomState, kZoomedView);

  test::AddPoint(doc, m, 5.0f);
  EXPECT_EQ(IncrementalUpdate(m, doc), IncrementalAction::DrawNewest);
  while (doc.rtCount < 51) test::AddPoint(doc, m, 5.0f);
  EXPECT_EQ(IncrementalUpdate(m, doc), IncrementalAction::Repaint);  // newest crosses the edge
  test::AddPoint(doc, m, 5.0f);  // point 50 is past the right edge: follow
  EXPECT_EQ(IncrementalUpdate(m, doc), IncrementalAction::Repaint);
  EXPECT_EQ(m.state.scrollShift, -1);
  EXPECT_EQ(m.state.hScroll.position, HorizontalPosition(m.state));

  // Right after a vertical scroll the view holds still once.
  ScrollVertical(m.state, 0, ScrollAction::LineForward, 0);
  test::AddPoint(doc, m, 5.0f);
  IncrementalUpdate(m, doc);
  EXPECT_EQ(m.state.scrollShift, -1);
  test::AddPoint(doc, m, 5.0f);
  IncrementalUpdate(m, doc);
  EXPECT_EQ(m.state.scrollShift, -2);
}

TEST(RealTimeUpdate, NewPointsArePlacedAsAWholeComputationWould) {
  CDTDoc doc = test::RealTimeDoc(1000);
  GraphModel m = test::RealTimeGraph(doc, 40);
  // A whole computation of the same state, from a model that never saw the
  // run grow: the reference.
  auto expectWhole = [&] {
    GraphModel fresh = m;
    fresh.buffers.ForgetData();
    const SeriesSource source(doc, fresh.state.mode);
    ComputeY(fresh, source, CurrentSlot(fresh.state));
    for (std::int64_t p = 0; p <= doc.rtCount; ++p) {
      const double a = m.buffers.Y(source, 0, kFullView, p);
      const double b = fresh.buffers.Y(source, 0, kFullView, p);
      EXPECT_TRUE(a == b || (std::isnan(a) && std::isnan(b))) << p;
    }
    EXPECT_EQ(m.buffers.pyramids[0].levels.Count(), fresh.buffers.pyramids[0].levels.Count());
  };
  for (int k = 0; k < 5; ++k) {
    test::AddPoint(doc, m, 1.0f + static_cast<float>(k));
    IncrementalUpdate(m, doc);
    expectWhole();
  }
  // Another scale (a vertical scroll moves the ticks of a zoomed view; here
  // the range itself) moves every point.
  m.state.ch1To = 20;
  test::AddPoint(doc, m, 7.0f);
  IncrementalUpdate(m, doc);
  expectWhole();
  EXPECT_DOUBLE_EQ(m.buffers.Y(SeriesSource(doc, m.state.mode), 0, kFullView, 0),
                   470.0 - 5.0 * 20.0);  // 400 px for 0..20
}

}  // namespace
}  // namespace acv
