// The cursor's nearest point and the readout line.
#include <gtest/gtest.h>

#include "GraphFixtures.h"
#include "graph/geometry/Readout.h"

namespace acv {
namespace {

TEST(Cursor, NearestPointPrefersTheLeftOneAtHalfway) {
  CDTDoc doc = test::StoreRmsDoc(test::Constant(101, 1.0f));  // 8 px per point
  GraphModel m = test::GraphOf(doc);
  test::PaintOnce(m, doc);
  EXPECT_EQ(NearestPoint(m, 110), 0);
  EXPECT_EQ(NearestPoint(m, 114), 0);  // exactly halfway between points 0 and 1
  EXPECT_EQ(NearestPoint(m, 115), 1);
  EXPECT_EQ(NearestPoint(m, 910), 100);
  EXPECT_EQ(NearestPoint(m, 990), 100);  // clamped to the last point
  // Scrolled by 5 points: the point under x is 5 further on.
  m.state.scrollShift = -5;
  EXPECT_EQ(NearestPoint(m, 114), 5);

  CDTDoc one = test::StoreRmsDoc({1.0f});
  GraphModel single = test::GraphOf(one);
  test::PaintOnce(single, one);
  EXPECT_EQ(NearestPoint(single, 800), 0);
}

TEST(Cursor, MoveShowsErasesAndHidesTheLine) {
  CDTDoc doc = test::StoreRmsDoc(test::Constant(101, 230.5f));
  GraphModel m = test::GraphOf(doc);
  test::PaintOnce(m, doc);
  CursorMove move = MoveCursor(m, doc, 300, 200);
  EXPECT_TRUE(move.drawNew);
  EXPECT_FALSE(move.eraseOld);
  EXPECT_TRUE(move.readoutChanged);
  EXPECT_EQ(m.state.cursorIndex, 24);  // (300 - 110) / 8 = 23.75
  EXPECT_EQ(m.state.readoutText, "Data Point No.:25  Time:09/09/01 01:50:40   CH1: 230.5V");

  move = MoveCursor(m, doc, 301, 200);
  EXPECT_TRUE(move.eraseOld);
  EXPECT_EQ(move.oldX, 300);
  EXPECT_EQ(m.state.cursorX, 301);

  move = MoveCursor(m, doc, 301, 70);  // the top line itself is outside for the cursor
  EXPECT_TRUE(move.eraseOld);
  EXPECT_FALSE(move.drawNew);
  EXPECT_TRUE(m.state.cursorHidden);
  EXPECT_FALSE(MoveCursor(m, doc, 301, 600).eraseOld);  // already hidden

  m.state.cursorEnabled = 0;  // after a file load, until the zoom reset
  EXPECT_FALSE(MoveCursor(m, doc, 300, 200).drawNew);
}

TEST(Readout, ValueTextsAndRangeWords) {
  EXPECT_EQ(FormatChannelValue(GraphMode::RealTimeFreq, 40.0f, "Hz"), "LO");
  EXPECT_EQ(FormatChannelValue(GraphMode::RealTimeFreq, 400.0f, "Hz"), "OL");
  EXPECT_EQ(FormatChannelValue(GraphMode::RealTimeFreq, 40.1f, "Hz"), "40.1Hz");
  EXPECT_EQ(FormatChannelValue(GraphMode::StoreRms, 0.04f, "V"), "LO");  // reads as 0.0
  EXPECT_EQ(FormatChannelValue(GraphMode::StoreRms, -0.04f, "V"), "LO");
  EXPECT_EQ(FormatChannelValue(GraphMode::StoreRms, 0.05f, "V"), "0.1V");
  EXPECT_EQ(FormatChannelValue(GraphMode::StoreTr, 0.0f, "A"), "0A");  // raw samples keep zero
  EXPECT_EQ(FormatChannelValue(GraphMode::RealTimeEpa, -12.4f, "V"), "-12V");
  EXPECT_EQ(FormatChannelValue(GraphMode::RealTimeS, 1150.6f, "VA"), "1151VA");
  // A sample scaled to 0.01 V per count keeps its hundredths.
  EXPECT_EQ(FormatChannelValue(GraphMode::StoreTr, 230.45f, "V", 2), "230.45V");
}

TEST(Readout, PointNumbersAndTimesPerMode) {
  CDTDoc doc;
  doc.trCount = 3;
  doc.trWaves.assign(3 * kTrWavePoints, 7.0f);
  doc.trTimes = {100, 200, 1'000'000'000};
  GraphState s;
  s.mode = GraphMode::StoreTr;
  s.firstPoint = 2 * kTrWavePoints + 1;
  s.lastPoint = 3 * kTrWavePoints;
  s.plotCh2 = 1;
  s.ch2UnitText = "A";
  EXPECT_EQ(ReadoutText(s, doc, s.firstPoint - 1),
            "Data Point No.:1  Time:09/09/01 01:46:40   CH2: 7A");
  EXPECT_FALSE(ReadoutText(s, doc, s.lastPoint));

  CDTDoc rt = test::RealTimeDoc(10);
  rt.rtCount = 4;
  rt.rtRms[2] = {230.0f, 5.0f};
  GraphState va;
  va.mode = GraphMode::RealTimeS;
  va.firstPoint = 1;
  va.lastPoint = 4;
  va.plotCh1 = va.plotCh2 = 1;
  va.ch1UnitText = "VA";
  EXPECT_EQ(ReadoutText(va, rt, 2), "Data Point No.:3  Time:01/01/70 00:00:04   S(VA): 1150VA");

  // The wave belongs to the newest real-time point, whatever the cursor's point.
  GraphState epa;
  epa.mode = GraphMode::RealTimeEpa;
  epa.firstPoint = 1;
  epa.lastPoint = kEpaPoints;
  epa.plotCh1 = 1;
  epa.ch1UnitText = "V";
  rt.epaWave[10].ch1 = 311.0f;
  EXPECT_EQ(ReadoutText(epa, rt, 10), "Data Point No.:11  Time:01/01/70 00:00:06   CH1: 311V");

  // A range longer than the data set has gives no readout instead of reading past it.
  GraphState rms;
  rms.mode = GraphMode::RealTimeRms;
  rms.firstPoint = 1;
  rms.lastPoint = 9;
  rms.plotCh1 = 1;
  EXPECT_TRUE(ReadoutText(rms, rt, 3));
  EXPECT_FALSE(ReadoutText(rms, rt, 5));
}

}  // namespace
}  // namespace acv
