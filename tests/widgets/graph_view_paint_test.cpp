// The graph view's picture: colours, the series of each display mode, the
// real-time fast path and the view's timers.
#include "graph_view_fixture.h"

namespace acv::test {
namespace {

// CH1 (volts, 230..234) and CH2 (amperes, 5..7), twenty points.
class StoreRmsView : public GraphViewTest {
 protected:
  StoreRmsView() {
    doc_ = StoreData(20, true);
    Show(DisplayMode::StoreRms, Setup(20, true, true));
  }
};

TEST_F(GraphViewTest, StartScreenComesFromTheGraphPainter) {
  const QImage& picture = view_->Picture();
  // One routine paints it, for the screen, the tests and the printer alike.
  QImage painted(picture.size(), picture.format());
  GraphModel start;
  GraphPainter().Paint(painted, start, doc_);
  EXPECT_EQ(picture, painted);
  // Grey, with the three words from x = 280 on.
  EXPECT_EQ(picture.pixel(5, 5), qRgb(0xC8, 0xC8, 0xC8));
  EXPECT_EQ(Count(picture, qRgb(0x66, 0x7A, 0x9D), QRect(0, 0, 279, 580)), 0);
  EXPECT_GT(Count(picture, qRgb(0x66, 0x7A, 0x9D), QRect(280, 0, 740, 580)), 5000);
}

// A view whose screen ratio the test chooses, as moving the window to
// another screen would change it.
class RatioView : public CDTView {
 public:
  using CDTView::CDTView;
  qreal ratio = 1.0;

 protected:
  qreal PictureRatio() const override { return ratio; }
};

TEST_F(GraphViewTest, PictureFollowsTheScreenRatio) {
  doc_ = StoreData(20, true);
  RatioView view(doc_);
  view.UseTimerHost(&timers_);
  view.resize(1020, 580);
  view.SetDisplayMode(DisplayMode::StoreRms);
  view.ApplyDisplay(Setup(20, true, true));
  view.ZoomReset();
  EXPECT_EQ(view.Picture().size(), QSize(1020, 580));
  const Rect plot = view.State().plotRect;
  const int paints = view.FullPaints();

  view.ratio = 2.0;  // the window moved to a screen at 200 %
  QEvent moved(QEvent::ScreenChangeInternal);
  QCoreApplication::sendEvent(&view, &moved);
  const QImage& picture = view.Picture();
  EXPECT_EQ(picture.size(), QSize(2040, 1160));
  EXPECT_EQ(picture.devicePixelRatio(), 2.0);
  EXPECT_EQ(view.FullPaints(), paints + 1);
  EXPECT_EQ(view.State().plotRect, plot);  // the layout is the same
  // The mouse works in layout pixels; the cursor line is one device pixel
  // wide at twice the x.
  QMouseEvent move(QEvent::MouseMove, QPointF(300, 270), view.mapToGlobal(QPointF(300, 270)),
                   Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&view, &move);
  EXPECT_GT(Count(view.Picture(), kWhitePixel, QRect(600, 140, 1, 800)), 300);
  EXPECT_EQ(Count(view.Picture(), kWhitePixel, QRect(601, 140, 1, 800)), 0);
  view.ratio = 1.5;
  EXPECT_EQ(view.Picture().size(), QSize(1530, 870));
}

TEST_F(StoreRmsView, PaintsTheDefaultColours) {
  const QImage& picture = view_->Picture();
  ASSERT_EQ(picture.size(), QSize(1020, 580));
  // Black plot with the blue dotted grid, the CH1 curve near 230 V of 300
  // (y about 163) in red, the CH2 curve near 5..7 A of 10 (y 190..270) in green.
  EXPECT_GT(Count(picture, kBlackPixel, kPlotArea), 800 * 400 * 8 / 10);
  EXPECT_GT(Count(picture, kBluePixel, QRect(110, 110, 800, 1)), 300);
  EXPECT_GT(Count(picture, kRedPixel, QRect(112, 155, 40, 15)), 30);
  EXPECT_EQ(Count(picture, kRedPixel, QRect(112, 185, 790, 280)), 0);
  EXPECT_GT(Count(picture, kGreenPixel, QRect(112, 185, 790, 90)), 300);
  // The grey box around the plot, the black surround, the white frame.
  EXPECT_EQ(picture.pixel(60, 60 + 40), qRgb(240, 240, 240));
  EXPECT_EQ(picture.pixel(15, 300), kBlackPixel);
  EXPECT_EQ(picture.pixel(10, 300), kWhitePixel);
  // Legends under the plot: "CH1 V" in red at the left, "CH2 A" in green at the right.
  EXPECT_GT(CountTinted(picture, kRedPixel, QRect(40, 501, 60, 14)), 5);
  EXPECT_GT(CountTinted(picture, kGreenPixel, QRect(911, 501, 60, 14)), 5);
}

TEST_F(StoreRmsView, FollowsTheColourAndViewSettings) {
  AppSettings look;
  look.backgroundColour = 12;  // white
  look.ch1Colour = 2;          // blue
  look.gridColour = 14;        // grey
  look.showCh2 = 0;
  look.xGrid = 0;
  view_->TakeSettings(look);
  const QImage& picture = view_->Picture();
  EXPECT_GT(Count(picture, kWhitePixel, kPlotArea), 800 * 400 * 8 / 10);
  EXPECT_GT(Count(picture, kBluePixel, QRect(112, 155, 40, 15)), 30);
  EXPECT_EQ(Count(picture, kGreenPixel, kPlotArea), 0);
  // The vertical grid lines only: a row of the former horizontal grid
  // meets them at the label positions alone.
  EXPECT_LT(Count(picture, qRgb(0xC8, 0xC8, 0xC8), QRect(130, 110, 700, 1)), 12);
  EXPECT_GT(Count(picture, qRgb(0xC8, 0xC8, 0xC8), QRect(111, 75, 798, 390)), 100);  // columns
}

TEST_F(GraphViewTest, EachModePaintsItsSeries) {
  doc_ = StoreData(20, true);
  // Record 1 of STORE TR on channel 1 (volts), samples 100..350.
  doc_.trCount = 2;
  doc_.trWaves.resize(2 * kTrWavePoints);
  for (int j = 0; j < kTrWavePoints; ++j) doc_.trWaves[kTrWavePoints + j] = 100.0f + j;
  doc_.trTimes.push_back(doc_.rmsStartTime + 60);
  doc_.trUnit.push_back(kUnitVolt);
  doc_.trChannel.push_back(kChannel1);
  // Real-time points: 200 V and 5 A (S = 1000 VA), 50 Hz; an EPA wave.
  doc_.rtCount = 10;
  doc_.rtHasCh1 = doc_.rtHasCh2 = 1;
  doc_.rtUnitCh1 = "V";
  doc_.rtUnitCh2 = "A";
  doc_.rtRms.assign(10, ChannelPair{200.0f, 5.0f});
  doc_.rtFreq.assign(10, ChannelPair{50.0f, 5.0f});
  for (int i = 0; i < kEpaPoints; ++i) doc_.epaWave[i] = {100.0f + (i % 50), 5.0f};
  doc_.epaCount = kEpaPoints;

  struct Case {
    DisplayMode mode;
    DisplaySetup setup;
    bool red, green;
  };
  DisplaySetup tr = Setup(kTrWavePoints, true, false);
  tr.trRecord = 1;
  DisplaySetup apparent = Setup(10, true, true, "VA", "VA");
  apparent.ch1To = 3000;
  const Case cases[] = {
      {DisplayMode::StoreRms, Setup(20, true, false), true, false},
      {DisplayMode::StoreTr, tr, true, false},
      {DisplayMode::RealTimeEpa, Setup(kEpaPoints, true, true), true, true},
      {DisplayMode::RealTimeRms, Setup(10, true, true), true, true},
      {DisplayMode::RealTimeFreq, Setup(10, true, true, "Hz", "Hz"), true, true},
      // S(VA) draws channel 1 only, whatever plotCh2 says.
      {DisplayMode::RealTimeS, apparent, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ModeName(c.mode));
    Show(c.mode, c.setup);
    const QImage& picture = view_->Picture();
    EXPECT_EQ(Count(picture, kRedPixel, kPlotArea) > 50, c.red);
    EXPECT_EQ(Count(picture, kGreenPixel, kPlotArea) > 50, c.green);
    EXPECT_EQ(CountTinted(picture, kGreenPixel, QRect(911, 501, 60, 14)) > 5, c.green);  // legend
  }
}

// A REAL TIME RMS run of two channels: 100 V and 5 A at every point.
class RunningView : public GraphViewTest {
 protected:
  RunningView() {
    doc_.rtHasCh1 = doc_.rtHasCh2 = 1;
    doc_.rtUnitCh1 = "V";
    doc_.rtUnitCh2 = "A";
    doc_.rtRms.assign(200, ChannelPair{100.0f, 5.0f});
    doc_.rtFreq.assign(200, ChannelPair{50.0f, 50.0f});
    view_->SetRealTimeStopped(false);
    Show(DisplayMode::RealTimeRms, Setup(5, true, true));
    AddPointsUpTo(5);
    view_->Picture();
  }
  // What the main window does for every new point.
  void AddPointsUpTo(int count) {
    while (doc_.rtCount < count) {
      ++doc_.rtCount;
      view_->ApplyDisplay(Setup(doc_.rtCount, true, true));
      view_->FitRealTimeSpan(doc_.rtCount);
      view_->RealTimePointAdded();
    }
  }
};

TEST_F(RunningView, DrawsTheNewestSegmentWithoutARepaint) {
  doc_.rtRms[5] = {200.0f, 8.0f};
  const int paints = view_->FullPaints();
  AddPointsUpTo(6);
  EXPECT_EQ(view_->FullPaints(), paints);
  const QImage incremental = view_->Picture().copy();
  EXPECT_EQ(view_->FullPaints(), paints);
  // Points 5 and 6 lie at x = 110 + 800/99 * 4 and * 5 (142, 150): the
  // segment climbs from 100 V to 200 V (y 337 to 203) and from 5 A to 8 A.
  EXPECT_GT(Count(incremental, kRedPixel, QRect(143, 204, 7, 132)), 40);
  EXPECT_GT(Count(incremental, kGreenPixel, QRect(143, 151, 7, 118)), 40);
  // The same picture as a full paint gives.
  view_->DataChanged();
  EXPECT_EQ(Differences(incremental, view_->Picture(), kPlotArea), 0);
}

TEST_F(RunningView, RepaintsWhenTheCurveLeavesThePlotOrTheAxisCompresses) {
  int paints = view_->FullPaints();
  doc_.rtRms[5] = {400.0f, 5.0f};  // above the top of 300 V: crosses the top line
  AddPointsUpTo(6);
  view_->Picture();
  EXPECT_EQ(view_->FullPaints(), paints + 1);
  paints = view_->FullPaints();
  AddPointsUpTo(100);  // back inside and still within the first 100 points ...
  view_->Picture();
  EXPECT_EQ(view_->FullPaints(), paints + 1);
  paints = view_->FullPaints();
  AddPointsUpTo(101);  // ... the 101st compresses the X axis
  EXPECT_EQ(view_->State().zoomLevel, 1);
  view_->Picture();
  EXPECT_EQ(view_->FullPaints(), paints + 1);
}

TEST_F(StoreRmsView, ViewTimersResetTheFirstGraphAndRepaintAfterAResize) {
  view_->Picture();
  EXPECT_TRUE(timers_.IsActive(viewtimer::kFirstZoomReset));
  const int resets = view_->ZoomResets();
  clock_.Advance(50);
  EXPECT_EQ(view_->ZoomResets(), resets + 1);
  EXPECT_FALSE(timers_.IsActive(viewtimer::kFirstZoomReset));
  view_->Picture();
  EXPECT_FALSE(timers_.IsActive(viewtimer::kFirstZoomReset));  // only once

  view_->resize(1100, 600);
  EXPECT_TRUE(timers_.IsActive(viewtimer::kResizeRepaint));
  EXPECT_EQ(view_->Picture().size(), QSize(1100, 600));
  const int paints = view_->FullPaints();
  clock_.Advance(50);
  view_->Picture();
  EXPECT_EQ(view_->FullPaints(), paints + 1);
  EXPECT_FALSE(timers_.IsActive(viewtimer::kResizeRepaint));
}

TEST_F(GraphViewTest, StartScreenAndEmptyGraphIgnoreTheMouse) {
  EXPECT_EQ(view_->Picture().pixel(5, 5), qRgb(0xC8, 0xC8, 0xC8));
  Drag(300, 200, 500, 400);
  EXPECT_FALSE(timers_.IsActive(viewtimer::kDragWatch));
  EXPECT_EQ(view_->State().zoomState, kFullView);
  EXPECT_TRUE(view_->State().readoutText.empty());
  EXPECT_TRUE(view_->HorizontalBar()->isHidden());
  // A graph without data: no cursor, no drag.
  Show(DisplayMode::StoreRms, Setup(0, true, false));
  const QImage before = view_->Picture().copy();
  MoveTo(300, 200);
  Drag(300, 200, 500, 400);
  EXPECT_EQ(Differences(before, view_->Picture(), QRect(0, 0, 1020, 580)), 0);
  EXPECT_FALSE(view_->HorizontalBar()->isHidden());
  EXPECT_EQ(view_->State().zoomState, kFullView);
}

}  // namespace
}  // namespace acv::test
