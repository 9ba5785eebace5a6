// Cursors A and B in the graph view as a user and the other windows drive
// them: Shift+click and the Alt keys for B, both kept through a zoom and a
// passing cursor A, both gone with the display, the span shown for another
// window, and the signals those windows follow.
#include <QKeyEvent>

#include "graph_view_fixture.h"

namespace acv::test {
namespace {

constexpr QRgb kCyanPixel = 0xFF00FFFF;  // B's colour on the default plot

// 201 points of STORE RMS, 4 px apart.
class CursorsView : public GraphViewTest {
 protected:
  CursorsView() {
    doc_ = StoreData(201, true);
    Show(DisplayMode::StoreRms, Setup(201, true, true));
    view_->Picture();
    QObject::connect(view_.get(), &CDTView::cursorsChanged, [this] { ++cursorSignals_; });
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
  // B's line: its colour down most of column x of the plot.
  int BPixelsAt(int x) { return Count(view_->Picture(), kCyanPixel, QRect(x, 70, 1, 400)); }

  int cursorSignals_ = 0;
  int spanSignals_ = 0;
};

TEST_F(CursorsView, ShiftClickAndAltKeysPlaceBWhichSurvivesAZoomAndCursorA) {
  view_->PlaceCursorOnPoint(20);
  ShiftClick(110 + 4 * 50 + 1, 200);  // nearest point: 50
  EXPECT_EQ(view_->CursorPoint(), 20);
  EXPECT_EQ(view_->CursorBPoint(), 50);
  EXPECT_EQ(cursorSignals_, 2);
  EXPECT_FALSE(view_->State().dragging);  // no rubber band started
  EXPECT_GT(BPixelsAt(110 + 4 * 50), 380);
  EXPECT_EQ(view_->State().deltaText, "B-A  \u0394t:+0:00:30  \u0394CH1:0.0V  \u0394CH2:0.0A");
  // The differences are on the black readout bar, beside the readout.
  const QRect bar(30, 545, 978, 20);
  EXPECT_GT(Count(view_->Picture(), kButtonFace.rgb(), bar.adjusted(600, 0, 0, 0)), 50);

  const Qt::KeyboardModifiers alt = Qt::AltModifier;
  EXPECT_TRUE(Key(Qt::Key_Right, alt));
  EXPECT_TRUE(Key(Qt::Key_Left, alt | Qt::ShiftModifier));
  EXPECT_EQ(view_->CursorBPoint(), 41);
  EXPECT_EQ(BPixelsAt(110 + 4 * 50), 0);  // no line left where B was
  EXPECT_EQ(view_->CursorPoint(), 20);    // A kept its point and line
  EXPECT_GT(Count(view_->Picture(), kWhitePixel, QRect(110 + 4 * 20, 70, 1, 400)), 150);

  // A zoom around A: both stay on their points, drawn where these are now.
  EXPECT_TRUE(Key(Qt::Key_Plus, Qt::NoModifier));
  const auto [first, last] = view_->VisiblePoints();
  ASSERT_TRUE(first <= 41 && 41 <= last);
  EXPECT_EQ(view_->CursorPoint(), 20);
  EXPECT_EQ(view_->CursorBPoint(), 41);
  const int bx = 110 + 8 * static_cast<int>(41 - first);
  EXPECT_GT(BPixelsAt(bx), 380);
  // Scrolled away and back: both lines stand on their points again.
  const int ax = view_->State().cursorX;
  EXPECT_TRUE(Key(Qt::Key_PageDown, Qt::NoModifier));
  EXPECT_EQ(BPixelsAt(bx), 0);
  EXPECT_TRUE(Key(Qt::Key_PageUp, Qt::NoModifier));
  EXPECT_GT(BPixelsAt(bx), 380);
  EXPECT_GT(Count(view_->Picture(), kWhitePixel, QRect(ax, 70, 1, 400)), 150);
  // Cursor A passing over B leaves B's line whole.
  MoveTo(bx, 270);
  MoveTo(bx + 40, 270);
  EXPECT_GT(BPixelsAt(bx), 380);

  // New data drop both (as another display does), and say so once.
  const int before = cursorSignals_;
  view_->DataChanged();
  EXPECT_EQ(view_->CursorPoint(), -1);
  EXPECT_EQ(view_->CursorBPoint(), -1);
  EXPECT_EQ(cursorSignals_, before + 1);
  EXPECT_TRUE(view_->State().deltaText.empty());
  EXPECT_FALSE(Key(Qt::Key_Delete, Qt::NoModifier));  // no B: the key is the window's
}

TEST_F(CursorsView, ShowSpanZoomsWithAMarginAndPutsTheCursorsOnIt) {
  spanSignals_ = 0;
  view_->ShowSpan(119, 100);  // either order
  EXPECT_EQ(view_->VisiblePoints(), (std::pair<qint64, qint64>(98, 121)));
  EXPECT_EQ(view_->CursorPoint(), 100);
  EXPECT_EQ(view_->CursorBPoint(), 119);
  EXPECT_GE(spanSignals_, 1);
  EXPECT_TRUE(Key(Qt::Key_Delete, Qt::NoModifier));
  EXPECT_EQ(view_->CursorBPoint(), -1);
  view_->PlaceCursorB(150);  // off the screen: the zoomed view scrolls to it
  EXPECT_EQ(view_->VisiblePoints().second, 150);
  view_->PlaceCursorB(-1);
  EXPECT_EQ(view_->CursorBPoint(), -1);
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
  EXPECT_EQ(view_->CursorPoint(), 100);
  EXPECT_EQ(view_->CursorBPoint(), 150);
  EXPECT_EQ(view_->State().cursorBIndex, kTrWavePoints + 150);
  EXPECT_EQ(view_->VisiblePoints(), (std::pair<qint64, qint64>(95, 155)));
  EXPECT_EQ(view_->State().deltaText, "B-A  \u0394t:+4.37 ms  \u0394CH2:0A");
}

}  // namespace
}  // namespace acv::test
