// Markers A and B: their keys, their places through zooms, scrolls and
// pointer moves, their colours, and their readout.
#include <gtest/gtest.h>

#include "GraphFixtures.h"
#include "graph/geometry/Colours.h"
#include "graph/geometry/CursorPlacement.h"
#include "graph/geometry/GraphKeys.h"
#include "graph/geometry/Markers.h"
#include "graph/geometry/Readout.h"
#include "graph/geometry/Zoom.h"

namespace acv {
namespace {

TEST(Markers, TimeDifferencesInTheAxisForm) {
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

TEST(Markers, ReadoutOfThePointsAndTheDifferences) {
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
       "A:3  B:1  B-A  \u0394t:-0:00:20  \u0394CH1:+20.0V  \u0394CH2:-1.2A"},
      {"one channel, no difference",
       {7.0f, 7.0f},
       {},
       GraphMode::StoreRms,
       0,
       1,
       "A:1  B:2  B-A  \u0394t:+0:00:10  \u0394CH1:0.0V"},
      {"an end reading LO",
       {230.0f, 0.02f},
       {},
       GraphMode::StoreRms,
       0,
       1,
       "A:1  B:2  B-A  \u0394t:+0:00:10  \u0394CH1:LO"},
      {"A and B on one point",
       {1.0f},
       {},
       GraphMode::StoreRms,
       0,
       0,
       "A:1  B:1  B-A  \u0394t:0:00:00  \u0394CH1:0.0V"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CDTDoc doc = test::StoreRmsDoc(c.ch1, c.ch2);
    GraphModel m = test::GraphOf(doc, c.mode);
    test::PaintOnce(m, doc);
    m.state.markerAIndex = c.a;
    m.state.markerBIndex = c.b;
    EXPECT_EQ(MarkerReadoutText(m, doc), c.text);
    // One marker alone: only where it is.
    m.state.markerBIndex = -1;
    EXPECT_EQ(MarkerReadoutText(m, doc), "A:" + std::to_string(c.a + 1));
    m.state.markerAIndex = -1;
    EXPECT_EQ(MarkerReadoutText(m, doc), "");
  }
}

TEST(Markers, ColoursStandApartFromTheBackgroundTheCurvesThePointerAndEachOther) {
  struct Case {
    int background, ch1, ch2;
    std::uint32_t b, a;  // 0x00BBGGRR
  };
  // Indices: 0 red, 1 green, 2 blue, 3 yellow, 4 magenta, 5 cyan, 12 white, 13 black.
  const Case cases[] = {
      {13, 0, 1, 0xFFFF00, 0xFF00FF},  // the default plot: B cyan, A magenta
      {13, 5, 1, 0xFF00FF, 0x00FFFF},  // a cyan curve: magenta, yellow
      {13, 5, 4, 0x00FFFF, 0x00A5FF},  // cyan and magenta curves: yellow, orange
      {12, 0, 1, 0xFF00FF, 0x00A5FF},  // on white, cyan and yellow are too pale
      // On white with magenta and blue curves: B orange; for A none stands
      // apart enough (black is the pointer's dots), so the farthest: cyan.
      {12, 4, 2, 0x00A5FF, 0xFFFF00},
  };
  for (const Case& c : cases) {
    GraphState s;
    s.backgroundColour = c.background;
    s.ch1Colour = c.ch1;
    s.ch2Colour = c.ch2;
    EXPECT_EQ(MarkerColour(s, Marker::B), c.b) << c.background << " " << c.ch1 << " " << c.ch2;
    EXPECT_EQ(MarkerColour(s, Marker::A), c.a) << c.background << " " << c.ch1 << " " << c.ch2;
  }
}

using MarkerRules = test::KeyedGraph;

TEST_F(MarkerRules, KeysPlaceMoveAndRemoveB) {
  struct Step {
    GraphKey key;
    std::int64_t b;  // B's point afterwards, -1 none
  };
  // Without A, B starts at the near edge of the screen; it stops at both
  // ends; Delete removes it; with A it starts beside A.
  const Step steps[] = {
      {GraphKey::BLeft, 100},     {GraphKey::BLeftTen, 90}, {GraphKey::BRight, 91},
      {GraphKey::BRightTen, 100}, {GraphKey::BRight, 100},  {GraphKey::BHome, 0},
      {GraphKey::BLeft, 0},       {GraphKey::BEnd, 100},    {GraphKey::Remove, -1},
  };
  for (const Step& step : steps) {
    ASSERT_TRUE(Press(step.key).handled);
    EXPECT_EQ(m_.state.markerBIndex, step.b);
  }
  EXPECT_FALSE(HandleGraphKey(m_, GraphKey::Remove).handled);  // nothing to remove
  PlaceMarker(m_, doc_, Marker::A, 40);
  ASSERT_TRUE(Press(GraphKey::BRightTen).handled);
  EXPECT_EQ(m_.state.markerBIndex, 50);
  EXPECT_EQ(m_.state.markerText, "A:41  B:51  B-A  \u0394t:+0:01:40  \u0394CH1:0.0V");
  // Delete takes B first, then A.
  ASSERT_TRUE(Press(GraphKey::Remove).handled);
  EXPECT_EQ(m_.state.markerBIndex, -1);
  EXPECT_EQ(m_.state.markerAIndex, 40);
  ASSERT_TRUE(Press(GraphKey::Remove).handled);
  EXPECT_EQ(m_.state.markerAIndex, -1);
  EXPECT_EQ(m_.state.markerText, "");
}

TEST_F(MarkerRules, MarkersKeepTheirPointsThroughZoomScrollAndPointerMoves) {
  PlaceMarker(m_, doc_, Marker::A, 20);
  PlaceMarker(m_, doc_, Marker::B, 30);
  EXPECT_EQ(MarkerColumn(m_, Marker::B), 110 + 8 * 30);
  EXPECT_FALSE(PlaceMarker(m_, doc_, Marker::B, 30));  // the same point: no change
  // The pointer crossing the plot moves its own cursor and readout only.
  const std::string markers = m_.state.markerText;
  for (const int x : {130, 400, 880}) {
    MoveCursor(m_, doc_, x, 200);
    EXPECT_EQ(m_.state.markerAIndex, 20);
    EXPECT_EQ(m_.state.markerBIndex, 30);
    EXPECT_EQ(m_.state.markerText, markers);
  }
  MoveCursor(m_, doc_, 400, 900);  // off the plot
  EXPECT_EQ(m_.state.markerAIndex, 20);

  BeginDrag(m_.state, 310, 100);  // points 25..50 fill the plot
  MoveDrag(m_.state, 510, 460);
  ASSERT_TRUE(ReleaseDrag(m_, 510, 460).accepted);
  test::PaintOnce(m_, doc_);
  EXPECT_EQ(m_.state.markerBIndex, 30);
  EXPECT_EQ(MarkerColumn(m_, Marker::B), 110 + 32 * 5);
  // A is off the screen: kept, not drawn, and said so.
  EXPECT_EQ(m_.state.markerAIndex, 20);
  EXPECT_EQ(MarkerColumn(m_, Marker::A), std::nullopt);
  EXPECT_EQ(m_.state.markerText.rfind("A:21 (off screen)  B:31  B-A", 0), 0u);
  // A scroll brings A back and B off the screen.
  ASSERT_TRUE(BringPointIntoView(m_, 0));  // points 0..25
  test::PaintOnce(m_, doc_);
  EXPECT_EQ(MarkerColumn(m_, Marker::A), 110 + 32 * 20);
  EXPECT_EQ(m_.state.markerText.rfind("A:21  B:31 (off screen)  B-A", 0), 0u);

  m_.state.dragging = true;  // nothing placed during a drag; removing is always fine
  EXPECT_FALSE(PlaceMarker(m_, doc_, Marker::A, 40));
  EXPECT_TRUE(PlaceMarker(m_, doc_, Marker::B, -1));
}

TEST_F(MarkerRules, APlainClickPlacesAAndADragDoesNot) {
  struct Case {
    PixelPoint press, release;
    std::optional<std::int64_t> point;
  };
  const Case cases[] = {
      {{300, 200}, {300, 200}, 24},            // (300 - 110) / 8 = 23.75
      {{300, 200}, {303, 197}, 24},            // a hand's tremble is still a click
      {{300, 200}, {304, 200}, std::nullopt},  // a drag
      {{300, 200}, {300, 204}, std::nullopt},
      {{300, 40}, {300, 40}, std::nullopt},  // above the plot
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ClickedPoint(m_, c.press, c.release), c.point) << c.release.x << "," << c.release.y;
  }
}

TEST(Markers, PlacesForAWindowBesideTheGraph) {
  struct Case {
    std::int64_t a, b;
    std::pair<std::int64_t, std::int64_t> visible;
    const char* text;
  };
  const Case cases[] = {
      {1233, 1299, {1000, 1500}, "A at 1234; B at 1300"},
      {1233, 1299, {1250, 1500}, "A at 1234, off screen; B at 1300"},
      {-1, 1299, {0, 10}, "B at 1300, off screen"},
      {5, -1, {0, -1}, "A at 6, off screen"},  // nothing on the screen
      {-1, -1, {0, 10}, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(MarkerPlacesText(c.a, c.b, c.visible), c.text);
}

}  // namespace
}  // namespace acv
