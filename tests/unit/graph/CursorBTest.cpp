// Cursor B: its keys, its place through zooms, its colour, and the B - A
// readout.
#include <gtest/gtest.h>

#include "GraphFixtures.h"
#include "graph/geometry/Colours.h"
#include "graph/geometry/CursorB.h"
#include "graph/geometry/CursorPlacement.h"
#include "graph/geometry/GraphKeys.h"
#include "graph/geometry/Zoom.h"

namespace acv {
namespace {

TEST(CursorB, TimeDifferencesInTheAxisForm) {
  struct Case {
    GraphMode mode;
    double seconds;
    const char* text;
  };
  const Case cases[] = {
      {GraphMode::StoreRms, 90.0, "+0:01:30"},
      {GraphMode::StoreRms, -7200.0, "-2:00:00"},
      {GraphMode::StoreRms, 0.0, "0:00:00"},
      {GraphMode::RealTimeRms, 86400.0 + 3723.0, "+1 d 01:02:03"},
      {GraphMode::StoreTr, 0.0000874, "+87.4 \u00b5s"},
      {GraphMode::StoreTr, -0.00874, "-8.74 ms"},
      {GraphMode::StoreTr, 0.0, "0.0 \u00b5s"},
      {GraphMode::RealTimeEpa, 0.001, "+1.00 ms"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DeltaTimeText(c.mode, c.seconds), c.text) << c.seconds;
  }
}

TEST(CursorB, ReadoutOfTheDifferences) {
  struct Case {
    const char* name;
    std::vector<float> ch1, ch2;
    GraphMode mode;
    std::int64_t a, b;
    const char* text;
  };
  const Case cases[] = {
      {"both channels, B before A",
       {230.0f, 228.5f, 210.0f},
       {5.0f, 5.5f, 6.25f},
       GraphMode::StoreRms,
       2,
       0,
       "B-A  \u0394t:-0:00:20  \u0394CH1:+20.0V  \u0394CH2:-1.2A"},
      {"one channel, no difference",
       {7.0f, 7.0f},
       {},
       GraphMode::StoreRms,
       0,
       1,
       "B-A  \u0394t:+0:00:10  \u0394CH1:0.0V"},
      {"an end reading LO",
       {230.0f, 0.02f},
       {},
       GraphMode::StoreRms,
       0,
       1,
       "B-A  \u0394t:+0:00:10  \u0394CH1:LO"},
      {"A and B on one point",
       {1.0f},
       {},
       GraphMode::StoreRms,
       0,
       0,
       "B-A  \u0394t:0:00:00  \u0394CH1:0.0V"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CDTDoc doc = test::StoreRmsDoc(c.ch1, c.ch2);
    GraphModel m = test::GraphOf(doc, c.mode);
    m.state.cursorIndex = static_cast<int>(c.a);
    m.state.readoutText = "A";
    m.state.cursorBIndex = c.b;
    EXPECT_EQ(DeltaReadoutText(m.state, doc), c.text);
    // Without A's readout or without B there is nothing to compare.
    m.state.readoutText.clear();
    EXPECT_EQ(DeltaReadoutText(m.state, doc), "");
    m.state.readoutText = "A";
    m.state.cursorBIndex = -1;
    EXPECT_EQ(DeltaReadoutText(m.state, doc), "");
  }
}

TEST(CursorB, ColourStandsApartFromTheBackgroundTheCurvesAndCursorA) {
  struct Case {
    int background, ch1, ch2;
    std::uint32_t colour;  // 0x00BBGGRR
  };
  // Indices: 0 red, 1 green, 2 blue, 3 yellow, 4 magenta, 5 cyan, 12 white, 13 black.
  const Case cases[] = {
      {13, 0, 1, 0xFFFF00},  // the default plot: cyan
      {13, 5, 1, 0xFF00FF},  // a cyan curve: magenta
      {13, 5, 4, 0x00FFFF},  // cyan and magenta curves: yellow
      {12, 0, 1, 0xFF00FF},  // on white, cyan and yellow are too pale: magenta
      {12, 4, 2, 0x00A5FF},  // on white with a magenta curve: orange
  };
  for (const Case& c : cases) {
    GraphState s;
    s.backgroundColour = c.background;
    s.ch1Colour = c.ch1;
    s.ch2Colour = c.ch2;
    EXPECT_EQ(CursorBColour(s), c.colour) << c.background << " " << c.ch1 << " " << c.ch2;
  }
}

// 101 points, 8 px apart over the 800 px plot.
class CursorBKeys : public ::testing::Test {
 protected:
  CursorBKeys() : doc_(test::StoreRmsDoc(test::Constant(101, 5.0f))) {
    m_ = test::GraphOf(doc_);
    test::PaintOnce(m_, doc_);
  }
  // Presses the key and carries out the outcome as the view does.
  void Press(GraphKey key) {
    const KeyOutcome out = HandleGraphKey(m_, key);
    ASSERT_TRUE(out.handled);
    ASSERT_TRUE(out.cursorBPoint.has_value());
    if (*out.cursorBPoint >= 0 && BringPointIntoView(m_, *out.cursorBPoint)) {
      test::PaintOnce(m_, doc_);
    }
    PlaceCursorB(m_, doc_, *out.cursorBPoint);
  }

  CDTDoc doc_;
  GraphModel m_;
};

TEST_F(CursorBKeys, KeysPlaceMoveAndRemoveB) {
  struct Step {
    GraphKey key;
    std::int64_t b;  // B's point afterwards, -1 none
  };
  // Without A, B starts at the near edge of the screen; it stops at both
  // ends; Delete removes it; with A it starts beside A.
  const Step steps[] = {
      {GraphKey::BLeft, 100},     {GraphKey::BLeftTen, 90}, {GraphKey::BRight, 91},
      {GraphKey::BRightTen, 100}, {GraphKey::BRight, 100},  {GraphKey::BHome, 0},
      {GraphKey::BLeft, 0},       {GraphKey::BEnd, 100},    {GraphKey::BRemove, -1},
  };
  for (const Step& step : steps) {
    Press(step.key);
    EXPECT_EQ(m_.state.cursorBIndex, step.b);
  }
  EXPECT_FALSE(HandleGraphKey(m_, GraphKey::BRemove).handled);  // nothing to remove
  PlaceCursor(m_, doc_, 40);
  Press(GraphKey::BRightTen);
  EXPECT_EQ(m_.state.cursorBIndex, 50);
  EXPECT_EQ(m_.state.deltaText.rfind("B-A  \u0394t:+0:01:40", 0), 0u);
}

TEST_F(CursorBKeys, BStaysOnItsPointThroughAZoomAndIsDrawnOnlyOnTheScreen) {
  PlaceCursorB(m_, doc_, 30);
  EXPECT_EQ(CursorBColumn(m_), 110 + 8 * 30);
  EXPECT_FALSE(PlaceCursorB(m_, doc_, 30));  // the same point: no change
  BeginDrag(m_.state, 310, 100);             // points 25..50 fill the plot
  MoveDrag(m_.state, 510, 460);
  ASSERT_TRUE(ReleaseDrag(m_, 510, 460).accepted);
  test::PaintOnce(m_, doc_);
  EXPECT_EQ(m_.state.cursorBIndex, 30);
  EXPECT_EQ(CursorBColumn(m_), 110 + 32 * 5);
  PlaceCursorB(m_, doc_, 80);  // off the screen: kept, not drawn
  EXPECT_EQ(CursorBColumn(m_), std::nullopt);
  m_.state.dragging = true;  // no B placed during a drag; removing is always fine
  EXPECT_FALSE(PlaceCursorB(m_, doc_, 40));
  EXPECT_TRUE(PlaceCursorB(m_, doc_, -1));
}

}  // namespace
}  // namespace acv
