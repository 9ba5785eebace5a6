// The pointer cursor and markers A and B in the graph view as a user and the
// other windows drive them: a click for A, Shift+click and the Alt keys for
// B, both kept through a zoom and the passing pointer, both gone with the
// display, the span shown for another window, and the signals those windows
// follow.
#include <QKeyEvent>

#include "graph_view_fixture.h"

namespace acv::test {
namespace {

// 201 points of STORE RMS, 4 px apart.
class CursorsView : public GraphViewTest {
 protected:
  CursorsView() {
    doc_ = StoreData(201, true);
    Show(DisplayMode::StoreRms, Setup(201, true, true));
    view_->Picture();
    QObject::connect(view_.get(), &CDTView::markersChanged, [this] { ++cursorSignals_; });
    QObject::connect(view_.get(), &CDTView::visibleSpanChanged, [this] { ++spanSignals_; });
  }

  void ShiftClick(int x, int y) {
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
      const QPointF at(x, y);
      QMouseEvent event(type, at, view_->mapToGlobal(at), Qt::LeftButton,
                        type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                        Qt::ShiftModifier);
      QCoreApplication::sendEvent(view_.get(), &event);
    }
  }
  bool Key(int key, Qt::KeyboardModifiers modifiers) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QCoreApplication::sendEvent(view_.get(), &press);
    return press.isAccepted();
  }
  // A user's plain click: the pointer comes there first.
  void Click(int x, int y) {
    MoveTo(x, y);
    Mouse(QEvent::MouseButtonPress, x, y, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, x, y, Qt::NoButton);
  }
  // A's and B's lines: their colours down most of column x of the plot.
  int APixelsAt(int x) { return Count(view_->Picture(), kMagentaPixel, QRect(x, 70, 1, 400)); }
  int BPixelsAt(int x) { return Count(view_->Picture(), kCyanPixel, QRect(x, 70, 1, 400)); }
  // The pointer cursor's dotted line in column x.
  bool PointerLineAt(int x) {
    return Count(view_->Picture(), kWhitePixel, QRect(x, 70, 1, 400)) > 150;
  }

  int cursorSignals_ = 0;
  int spanSignals_ = 0;
};

TEST_F(CursorsView, ClicksAndAltKeysPlaceTheMarkersWhichSurviveAZoomAndThePointer) {
  Click(110 + 4 * 20 + 1, 200);  // nearest point: 20
  MoveTo(110 + 4 * 50 + 1, 200);
  ShiftClick(110 + 4 * 50 + 1, 200);  // nearest point: 50
  EXPECT_EQ(view_->MarkerPoint(Marker::A), 20);
  EXPECT_EQ(view_->MarkerPoint(Marker::B), 50);
  EXPECT_EQ(cursorSignals_, 2);
  EXPECT_FALSE(view_->State().dragging);  // no rubber band started
  EXPECT_GT(APixelsAt(110 + 4 * 20), 380);
  EXPECT_GT(BPixelsAt(110 + 4 * 50), 380);
  EXPECT_EQ(view_->State().markerText,
            "A:21  B:51  B-A  \u0394t:+0:00:30  \u0394CH1:0.0V  \u0394CH2:0.0A");
  // The pointer cursor goes on following the pointer with its readout; the
  // markers stay.
  MoveTo(110 + 4 * 85, 200);
  EXPECT_TRUE(PointerLineAt(110 + 4 * 85));
  EXPECT_EQ(view_->State().readoutText.rfind("Data Point No.:86 ", 0), 0u);
  EXPECT_EQ(view_->MarkerPoint(Marker::A), 20);
  EXPECT_EQ(cursorSignals_, 2);
  // Leaving the view, even without a move off the plot first, takes the
  // pointer's line away and leaves the markers.
  QEvent leave(QEvent::Leave);
  QCoreApplication::sendEvent(view_.get(), &leave);
  EXPECT_FALSE(PointerLineAt(110 + 4 * 85));
  EXPECT_GT(APixelsAt(110 + 4 * 20), 380);
  // The markers' readout is on the black readout bar, beside the readout.
  const QRect bar(30, 545, 978, 20);
  EXPECT_GT(Count(view_->Picture(), kButtonFace.rgb(), bar.adjusted(600, 0, 0, 0)), 50);

  const Qt::KeyboardModifiers alt = Qt::AltModifier;
  EXPECT_TRUE(Key(Qt::Key_Right, alt));
  EXPECT_TRUE(Key(Qt::Key_Left, alt | Qt::ShiftModifier));
  EXPECT_EQ(view_->MarkerPoint(Marker::B), 41);
  EXPECT_EQ(BPixelsAt(110 + 4 * 50), 0);         // no line left where B was
  EXPECT_EQ(view_->MarkerPoint(Marker::A), 20);  // A kept its point and line
  EXPECT_GT(APixelsAt(110 + 4 * 20), 380);

  // A zoom around A: both stay on their points, drawn where these are now.
  EXPECT_TRUE(Key(Qt::Key_Plus, Qt::NoModifier));
  const auto [first, last] = view_->VisiblePoints();
  ASSERT_TRUE(first <= 20 && 41 <= last);
  EXPECT_EQ(view_->MarkerPoint(Marker::A), 20);
  EXPECT_EQ(view_->MarkerPoint(Marker::B), 41);
  const int ax = 110 + 8 * static_cast<int>(20 - first);
  const int bx = 110 + 8 * static_cast<int>(41 - first);
  EXPECT_GT(APixelsAt(ax), 380);
  EXPECT_GT(BPixelsAt(bx), 380);
  // Scrolled away, the markers are said to be off the screen; back, both
  // lines stand on their points again.
  EXPECT_TRUE(Key(Qt::Key_PageDown, Qt::NoModifier));
  EXPECT_EQ(BPixelsAt(bx), 0);
  EXPECT_EQ(view_->State().markerText.rfind("A:21 (off screen)  B:42 (off screen)", 0), 0u);
  EXPECT_TRUE(Key(Qt::Key_PageUp, Qt::NoModifier));
  EXPECT_GT(BPixelsAt(bx), 380);
  EXPECT_GT(APixelsAt(ax), 380);
  // The pointer passing over B leaves B's line whole.
  MoveTo(bx, 270);
  MoveTo(bx + 40, 270);
  EXPECT_GT(BPixelsAt(bx), 380);

  // New data drop both (as another display does), and say so once.
  const int before = cursorSignals_;
  view_->DataChanged();
  EXPECT_EQ(view_->MarkerPoint(Marker::A), -1);
  EXPECT_EQ(view_->MarkerPoint(Marker::B), -1);
  EXPECT_EQ(cursorSignals_, before + 1);
  EXPECT_TRUE(view_->State().markerText.empty());
  EXPECT_FALSE(Key(Qt::Key_Delete, Qt::NoModifier));  // no marker: the key is the window's
}

TEST_F(CursorsView, APlainClickPlacesAWhileADragZooms) {
  Drag(110 + 4 * 40, 150, 110 + 4 * 90, 400);
  view_->Picture();
  EXPECT_EQ(view_->State().zoomState, kZoomedView);
  EXPECT_EQ(view_->MarkerPoint(Marker::A), -1);
  const auto [first, last] = view_->VisiblePoints();
  // A hand's tremble of two pixels is still a click.
  const int x = 110 + 300;
  MoveTo(x, 200);
  Mouse(QEvent::MouseButtonPress, x, 200, Qt::LeftButton);
  Mouse(QEvent::MouseMove, x + 2, 201, Qt::LeftButton);
  Mouse(QEvent::MouseButtonRelease, x + 2, 201, Qt::NoButton);
  const qint64 a = view_->MarkerPoint(Marker::A);
  EXPECT_TRUE(first <= a && a <= last);
  EXPECT_EQ(view_->VisiblePoints(), (std::pair<qint64, qint64>(first, last)));  // no zoom
  EXPECT_GT(APixelsAt(TruncToPixel(view_->State().plotRect.left +
                                   view_->State().pointStep * static_cast<double>(a - first))),
            380);
}

TEST_F(CursorsView, ShowSpanZoomsWithAMarginAndPutsTheMarkersOnIt) {
  spanSignals_ = 0;
  view_->ShowSpan(119, 100);  // either order
  EXPECT_EQ(view_->VisiblePoints(), (std::pair<qint64, qint64>(98, 121)));
  EXPECT_EQ(view_->MarkerPoint(Marker::A), 100);
  EXPECT_EQ(view_->MarkerPoint(Marker::B), 119);
  EXPECT_GE(spanSignals_, 1);
  EXPECT_TRUE(Key(Qt::Key_Delete, Qt::NoModifier));
  EXPECT_EQ(view_->MarkerPoint(Marker::B), -1);
  view_->PlaceMarker(Marker::B, 150);  // off the screen: the zoomed view scrolls to it
  EXPECT_EQ(view_->VisiblePoints().second, 150);
  view_->PlaceMarker(Marker::B, -1);
  EXPECT_EQ(view_->MarkerPoint(Marker::B), -1);
}

TEST_F(CursorsView, ATrRecordsPointsCountFromItsFirstSample) {
  doc_.trCount = 2;
  doc_.trWaves.resize(2 * kTrWavePoints, 20.0f);
  doc_.trTimes.push_back(doc_.rmsStartTime + 9);
  doc_.trUnit.push_back(kUnitAmpere);
  doc_.trChannel.push_back(kChannel2);
  DisplaySetup record = Setup(kTrWavePoints, false, true);
  record.trRecord = 1;
  Show(DisplayMode::StoreTr, record);
  view_->Picture();
  view_->ShowSpan(100, 150);
  EXPECT_EQ(view_->MarkerPoint(Marker::A), 100);
  EXPECT_EQ(view_->MarkerPoint(Marker::B), 150);
  EXPECT_EQ(view_->State().markerBIndex, kTrWavePoints + 150);
  EXPECT_EQ(view_->VisiblePoints(), (std::pair<qint64, qint64>(95, 155)));
  EXPECT_EQ(view_->State().markerText, "A:101  B:151  B-A  \u0394t:+4.37 ms  \u0394CH2:0A");
}

}  // namespace
}  // namespace acv::test
