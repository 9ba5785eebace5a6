// The graph view from the keyboard and from other windows: the keys of
// marker A, the one-step zooms, the focus, and the readout going when what
// it described goes.
#include <QKeyEvent>
#include <QPalette>

#include "graph_view_fixture.h"

namespace acv::test {
namespace {

// 201 points of STORE RMS, 4 px apart.
class KeysView : public GraphViewTest {
 protected:
  KeysView() {
    doc_ = StoreData(201, true);
    Show(DisplayMode::StoreRms, Setup(201, true, true));
    view_->Picture();
  }

  // Sends the key; true when the view took it.
  bool Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QCoreApplication::sendEvent(view_.get(), &press);
    return press.isAccepted();
  }
  // The point number in the readout, -1 without one.
  int ReadoutPoint() const {
    const std::string& text = view_->State().readoutText;
    const std::string tag = "Data Point No.:";
    return text.rfind(tag, 0) == 0 ? std::stoi(text.substr(tag.size())) : -1;
  }
  // Whether marker A's line (magenta on the default plot) stands in column
  // x of the picture.
  bool MarkerALineAt(int x) {
    return Count(view_->Picture(), kMagentaPixel, QRect(x, 70, 1, 400)) > 380;
  }
};

TEST_F(KeysView, KeysMoveMarkerAAndZoomThroughTheLevels) {
  struct Step {
    int key;
    Qt::KeyboardModifiers modifiers;
    int point;           // readout point number afterwards
    bool zoomed;         // view zoomed afterwards
    std::size_t levels;  // zoom levels below the current one
  };
  const Qt::KeyboardModifiers none = Qt::NoModifier;
  const Step steps[] = {
      {Qt::Key_Right, none, 1, false, 0},  // A, not yet placed, starts on the first point
      {Qt::Key_Right, none, 2, false, 0},
      {Qt::Key_Right, Qt::ShiftModifier, 12, false, 0},
      {Qt::Key_Left, none, 11, false, 0},
      {Qt::Key_End, none, 201, false, 0},
      {Qt::Key_Left, Qt::ShiftModifier, 191, false, 0},
      {Qt::Key_Home, none, 1, false, 0},
      {Qt::Key_Plus, none, 1, true, 1},     // around A, which stays on its point
      {Qt::Key_End, none, 101, true, 1},    // the last point on the screen
      {Qt::Key_Right, none, 102, true, 1},  // scrolls the zoomed view by one point
      {Qt::Key_Plus, Qt::KeypadModifier, 102, true, 2},
      {Qt::Key_Minus, none, 102, true, 1},
      {Qt::Key_Escape, none, 102, false, 0},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.point);
    EXPECT_TRUE(Key(step.key, step.modifiers));
    const GraphState& s = view_->State();
    EXPECT_EQ(ReadoutPoint(), step.point);
    EXPECT_EQ(s.zoomState == kZoomedView, step.zoomed);
    EXPECT_EQ(s.zoomHistory.size(), step.levels);
    EXPECT_EQ(view_->HorizontalBar()->isEnabled(), step.zoomed);
    EXPECT_EQ(view_->MarkerPoint(Marker::A), step.point - 1);
  }
  // The line stands on the point, in the picture on the screen.
  EXPECT_TRUE(MarkerALineAt(110 + 4 * 101));
  // Esc and the page keys in the full view are left to the window around
  // the graph.
  EXPECT_FALSE(Key(Qt::Key_Escape));
  EXPECT_FALSE(Key(Qt::Key_PageDown));
}

TEST_F(KeysView, DataListEntryScrollsAZoomedViewAndReportsMarkerA) {
  QList<qint64> reported;
  QObject::connect(view_.get(), &CDTView::markerAMoved, [&](qint64 index) { reported << index; });
  view_->ZoomInAt(510);  // points 51..151 on the screen
  view_->Picture();
  view_->PlaceMarkerAOnGraphPoint(9);
  EXPECT_EQ(ReadoutPoint(), 10);
  EXPECT_TRUE(MarkerALineAt(110));  // scrolled: the point is the first shown
  EXPECT_EQ(view_->HorizontalBar()->value(), view_->State().hScroll.position);
  // The pointer reads another point but reports nothing: the list follows A.
  MoveTo(120, 270);
  EXPECT_EQ(ReadoutPoint(), 11);
  EXPECT_TRUE(Key(Qt::Key_Right));
  EXPECT_EQ(reported, (QList<qint64>{9, 10}));
}

TEST_F(KeysView, FocusByClickAndTabWithAFrame) {
  EXPECT_EQ(view_->focusPolicy(), Qt::StrongFocus);  // Tab and click
  view_->activateWindow();
  ASSERT_TRUE(WaitUntil([&] { return view_->isActiveWindow(); }, 2000));
  Mouse(QEvent::MouseButtonPress, 300, 200, Qt::LeftButton);
  Mouse(QEvent::MouseButtonRelease, 300, 200, Qt::NoButton);
  ASSERT_TRUE(view_->hasFocus());
  const QRgb highlight = view_->palette().color(QPalette::Highlight).rgb();
  const QImage focused = view_->grab().toImage();
  EXPECT_EQ(focused.pixel(13, 300), highlight);
  EXPECT_EQ(focused.pixel(500, 566), highlight);
  view_->clearFocus();
  EXPECT_EQ(view_->grab().toImage().pixel(13, 300), kBlackPixel);
}

TEST_F(GraphViewTest, KeysDoNothingOnTheStartScreen) {
  EXPECT_EQ(view_->focusPolicy(), Qt::NoFocus);  // Tab goes to the start buttons
  const QImage before = view_->Picture().copy();
  for (int key : {Qt::Key_Right, Qt::Key_End, Qt::Key_Plus, Qt::Key_Escape}) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(view_.get(), &press);
    EXPECT_FALSE(press.isAccepted());
  }
  view_->PlaceMarkerAOnGraphPoint(3);
  EXPECT_EQ(view_->Picture(), before);
  EXPECT_TRUE(view_->State().readoutText.empty());
}

TEST_F(KeysView, NewDataAndEveryModeChangeDropTheReadout) {
  doc_.rtCount = 10;
  doc_.rtHasCh1 = 1;
  doc_.rtRms.assign(10, ChannelPair{200.0f, 5.0f});
  doc_.rtFreq.assign(10, ChannelPair{50.0f, 50.0f});
  const QRect bar(30, 545, 978, 20);
  const std::pair<const char*, std::function<void()>> changes[] = {
      {"new data", [&] { view_->DataChanged(); }},
      {"mode change", [&] { Show(DisplayMode::RealTimeRms, Setup(10, true, false)); }},
      {"back to STORE RMS", [&] { Show(DisplayMode::StoreRms, Setup(201, true, true)); }},
  };
  for (const auto& [name, change] : changes) {
    SCOPED_TRACE(name);
    view_->PlaceMarkerAOnGraphPoint(5);
    ASSERT_FALSE(view_->State().readoutText.empty());
    ASSERT_GT(Count(view_->Picture(), kButtonFace.rgb(), bar), 50);
    change();
    EXPECT_TRUE(view_->State().readoutText.empty());
    EXPECT_TRUE(view_->State().cursorHidden);
    EXPECT_EQ(view_->MarkerPoint(Marker::A), -1);
    EXPECT_EQ(Count(view_->Picture(), kButtonFace.rgb(), bar), 0);
  }
}

}  // namespace
}  // namespace acv::test
