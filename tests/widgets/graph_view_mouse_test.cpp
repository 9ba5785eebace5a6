// The graph view under the mouse: the cursor line and its readout, the
// rubber-band zoom, the zoom reset and the scroll bars.
#include <QAction>
#include <QKeyEvent>
#include <QToolBar>
#include <QWheelEvent>

#include "graph_view_fixture.h"

namespace acv::test {
namespace {

// 200 points of STORE RMS on both channels.
class ZoomView : public GraphViewTest {
 protected:
  ZoomView() {
    doc_ = StoreData(200, true);
    Show(DisplayMode::StoreRms, Setup(200, true, true));
    view_->Picture();
  }
};

TEST_F(ZoomView, DragZoomsNestsAndZoomOutRestores) {
  EXPECT_EQ(PointAt(110), 1);
  EXPECT_EQ(PointAt(909), 200);
  // A quarter of the width (x 310..510) and most of the height.
  Mouse(QEvent::MouseButtonPress, 310, 100, Qt::LeftButton);
  EXPECT_TRUE(timers_.IsActive(viewtimer::kDragWatch));
  Mouse(QEvent::MouseMove, 510, 460, Qt::LeftButton);
  EXPECT_EQ(view_->State().dragShown, 1);
  Mouse(QEvent::MouseButtonRelease, 510, 460, Qt::NoButton);
  EXPECT_FALSE(timers_.IsActive(viewtimer::kDragWatch));
  view_->Picture();
  ASSERT_EQ(view_->State().zoomState, kZoomedView);
  // The plot now spans the points under the band: about 50 .. 100.
  const int left = PointAt(110);
  const int right = PointAt(909);
  EXPECT_NEAR(left, 51, 1);
  EXPECT_NEAR(right, 100, 1);
  // The Y axis too: the labels no longer start at 0.
  EXPECT_NE(view_->State().ch1Labels[0], "0.00");

  // A second band inside the first narrows it further.
  Drag(310, 100, 710, 460);
  view_->Picture();
  EXPECT_GT(PointAt(110), left);
  EXPECT_LT(PointAt(909), right);

  // The toolbar's Zoom Out returns to the full view.
  QAction* zoomOut = view_->GraphToolBar()->findChild<QAction*>(QStringLiteral("zoomOutAction"));
  ASSERT_NE(zoomOut, nullptr);
  zoomOut->trigger();
  view_->Picture();
  EXPECT_EQ(view_->State().zoomState, kFullView);
  EXPECT_EQ(PointAt(110), 1);
  EXPECT_EQ(PointAt(909), 200);
  EXPECT_EQ(view_->State().ch1Labels[0], "0.00");
}

TEST_F(ZoomView, DragsThatDoNotZoom) {
  // Right to left zooms like left to right.
  Drag(510, 460, 310, 100);
  view_->Picture();
  EXPECT_NEAR(PointAt(110), 51, 1);
  view_->OnCommand(viewcmd::kZoomOut);
  // Three pixels wide, zero height, and a plain click: ignored.
  Drag(300, 100, 303, 400);
  Drag(300, 200, 600, 200);
  Drag(300, 200, 300, 200);
  view_->Picture();
  EXPECT_EQ(view_->State().zoomState, kFullView);
  // Leaving the region around the plot cancels the drag at the next watch.
  Mouse(QEvent::MouseButtonPress, 300, 100, Qt::LeftButton);
  Mouse(QEvent::MouseMove, 600, 560, Qt::LeftButton);
  clock_.Advance(10);
  EXPECT_FALSE(view_->State().dragging);
  EXPECT_FALSE(timers_.IsActive(viewtimer::kDragWatch));
  Mouse(QEvent::MouseButtonRelease, 600, 460, Qt::NoButton);
  view_->Picture();
  EXPECT_EQ(view_->State().zoomState, kFullView);
  // A double click does not start a drag.
  Mouse(QEvent::MouseButtonDblClick, 300, 100, Qt::LeftButton);
  EXPECT_FALSE(view_->State().dragging);
}

TEST_F(ZoomView, ScrollBarsWorkOnlyWhileZoomed) {
  QScrollBar* h = view_->HorizontalBar();
  QScrollBar* left = view_->Channel1Bar();
  QScrollBar* right = view_->Channel2Bar();
  EXPECT_EQ(h->geometry(), QRect(110, 505, 800, 20));
  EXPECT_EQ(left->geometry(), QRect(20, 70, 20, 400));
  EXPECT_EQ(right->geometry(), QRect(980, 70, 20, 400));
  EXPECT_FALSE(h->isEnabled() || left->isEnabled() || right->isEnabled());

  Drag(310, 100, 510, 460);
  view_->Picture();
  ASSERT_TRUE(h->isEnabled() && left->isEnabled() && right->isEnabled());
  EXPECT_EQ(h->maximum(), 200);
  EXPECT_EQ(left->minimum(), -200);
  EXPECT_EQ(left->maximum(), 200);
  const int first = PointAt(110);
  h->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  view_->Picture();
  EXPECT_EQ(PointAt(110), first + 1);
  EXPECT_EQ(h->value(), view_->State().hScroll.position);
  h->triggerAction(QAbstractSlider::SliderSingleStepSub);
  view_->Picture();
  EXPECT_EQ(PointAt(110), first);

  const std::string bottomLabel = view_->State().ch1Labels[0];
  left->triggerAction(QAbstractSlider::SliderPageStepAdd);
  view_->Picture();
  EXPECT_EQ(view_->State().ch1Offset[kZoomedView], 200);
  EXPECT_EQ(left->value(), 200);
  EXPECT_NE(view_->State().ch1Labels[0], bottomLabel);

  view_->ZoomReset();
  EXPECT_FALSE(h->isEnabled() || left->isEnabled() || right->isEnabled());
  // Back in the full view the bars are empty: no thumb is left standing.
  for (QScrollBar* bar : {h, left, right}) {
    EXPECT_EQ(bar->minimum(), bar->maximum());
    EXPECT_EQ(bar->value(), 0);
  }
}

TEST_F(ZoomView, ZoomSurvivesAResize) {
  Drag(310, 100, 510, 460);
  view_->Picture();
  const int left = PointAt(110);
  const int right = PointAt(909);
  view_->resize(1220, 580);  // plot 110 .. 1110
  view_->Picture();
  EXPECT_EQ(view_->State().zoomState, kZoomedView);
  EXPECT_EQ(PointAt(110), left);
  EXPECT_EQ(PointAt(1109), right);
}

TEST_F(ZoomView, CursorDrawnTwiceLeavesThePlotAsItWas) {
  const QImage before = view_->Picture().copy();
  MoveTo(300, 200);
  const QImage withCursor = view_->Picture().copy();
  // The dotted line inverts the black plot to white at every other row.
  EXPECT_GT(Count(withCursor, kWhitePixel, QRect(300, 70, 1, 400)), 150);
  EXPECT_EQ(Differences(before, withCursor, QRect(110, 70, 190, 400)), 0);
  MoveTo(420, 250);
  MoveTo(300, 20);  // out of the plot: the line goes, the readout stays
  EXPECT_EQ(Differences(before, view_->Picture(), kPlotArea), 0);
  EXPECT_GT(Differences(before, view_->Picture(), QRect(30, 545, 980, 20)), 0);
  EXPECT_EQ(view_->FullPaints(), 1);
}

TEST_F(GraphViewTest, ReadoutOfATrRecordCountsFromOne) {
  doc_ = StoreData(20, true);
  doc_.trCount = 2;
  doc_.trWaves.resize(2 * kTrWavePoints);
  for (int j = 0; j < kTrWavePoints; ++j) doc_.trWaves[kTrWavePoints + j] = 100.0f + j;
  doc_.trTimes.push_back(1767225600);  // 01/01/26 00:00:00
  doc_.trUnit.push_back(kUnitVolt);
  doc_.trChannel.push_back(kChannel1);
  DisplaySetup setup = Setup(kTrWavePoints, true, false);
  setup.trRecord = 1;
  Show(DisplayMode::StoreTr, setup);
  EXPECT_EQ(ReadoutAt(110), "Data Point No.:1  Time:01/01/26 00:00:00   CH1: 100V");
  EXPECT_EQ(ReadoutAt(909), "Data Point No.:251  Time:01/01/26 00:00:00   CH1: 350V");
}

TEST_F(GraphViewTest, FrequencyReadoutShowsRangeWords) {
  doc_.rtCount = 4;
  doc_.rtHasCh1 = 1;
  doc_.rtFreq = {{40.0f, 0}, {400.0f, 0}, {40.1f, 0}, {50.0f, 0}};
  doc_.rtRms.assign(4, ChannelPair{});
  doc_.rtStartTime = 1767225600;
  doc_.rtInterval = 2;
  Show(DisplayMode::RealTimeFreq, Setup(4, true, false, "Hz", "Hz"));
  // Three steps of 266.7 pixels.
  EXPECT_EQ(ReadoutAt(110), "Data Point No.:1  Time:01/01/26 00:00:00   CH1: LO");
  EXPECT_EQ(ReadoutAt(377), "Data Point No.:2  Time:01/01/26 00:00:02   CH1: OL");
  EXPECT_EQ(ReadoutAt(643), "Data Point No.:3  Time:01/01/26 00:00:04   CH1: 40.1Hz");
}

}  // namespace
}  // namespace acv::test

namespace acv::test {
namespace {

// The wheel and Backspace walk the same zoom levels as the rubber band.
TEST_F(ZoomView, WheelZoomsAroundThePointerAndBackspaceUndoesOneLevel) {
  auto wheel = [this](int x, int delta) {
    const QPointF at(x, 270);
    QWheelEvent event(at, view_->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(view_.get(), &event);
    view_->Picture();
  };
  auto backspace = [this] {
    QKeyEvent key(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
    QCoreApplication::sendEvent(view_.get(), &key);
    view_->Picture();
  };
  const int under = PointAt(310);
  wheel(310, 120);
  ASSERT_EQ(view_->State().zoomState, kZoomedView);
  EXPECT_NEAR(PointAt(909) - PointAt(110), 100, 2);  // half of 200 points
  EXPECT_GT(under, PointAt(110));                    // around the pointer
  EXPECT_LT(under, PointAt(909));
  const int firstLeft = PointAt(110);
  Drag(310, 75, 510, 465);  // a band zoom on top
  EXPECT_GT(PointAt(110), firstLeft);
  backspace();
  EXPECT_EQ(PointAt(110), firstLeft);
  wheel(310, -120);  // the wheel turned back undoes as well
  EXPECT_EQ(view_->State().zoomState, kFullView);
  EXPECT_EQ(PointAt(909), 200);
  backspace();  // nothing left to undo
  EXPECT_EQ(view_->State().zoomState, kFullView);
}

}  // namespace
}  // namespace acv::test
