// The TR records' marks on the STORE RMS time axis.
#include <gtest/gtest.h>

#include "GraphFixtures.h"
#include "graph/geometry/TrMarks.h"

namespace acv {
namespace {

// 101 samples 10 s apart: sample k at x = 110 + 8 k.
CDTDoc WithRecords(std::vector<TimeStamp> offsets, std::vector<std::uint8_t> channels) {
  CDTDoc doc = test::StoreRmsDoc(test::Constant(101, 230.5f));
  for (TimeStamp& t : offsets) t += doc.rmsStartTime;
  doc.trCount = static_cast<std::int32_t>(offsets.size());
  doc.trTimes = std::move(offsets);
  doc.trChannel = std::move(channels);
  doc.trUnit.assign(doc.trTimes.size(), kUnitVolt);
  return doc;
}

TEST(TrMarksTest, RecordsSitAtTheirTriggerTimeInTheirChannel) {
  // Sample 10, between samples 20 and 21, two in one pixel column, one
  // before the data and one after it.
  CDTDoc doc = WithRecords({100, 205, 300, 301, -10, 1001},
                           {kChannel1, kChannel2, kChannel1, kChannel2, kChannel1, kChannel1});
  GraphModel m = test::GraphOf(doc);
  test::PaintOnce(m, doc);
  const std::vector<TrMark> marks = TrMarks(m, doc);
  ASSERT_EQ(marks.size(), 3u);
  EXPECT_EQ(marks[0].record, 0);
  EXPECT_EQ(marks[0].x, 190);
  EXPECT_EQ(marks[1].record, 1);
  EXPECT_EQ(marks[1].x, 274);  // 20.5 samples in
  EXPECT_EQ(marks[1].channel, kChannel2);
  EXPECT_EQ(marks[2].record, 2);  // record 3 shares its column

  const Rect r = TrMarkRect(m.state, 190);
  EXPECT_EQ(TrMarkAt(m, doc, 190, r.top), 0);
  EXPECT_EQ(TrMarkAt(m, doc, 192, r.bottom + 2), 0);
  EXPECT_EQ(TrMarkAt(m, doc, 196, r.top), -1);  // too far to the side
  EXPECT_EQ(TrMarkAt(m, doc, 190, 200), -1);    // up in the plot

  // A channel hidden by the view options has none; only STORE RMS has them.
  m.state.showCh2 = 0;
  EXPECT_EQ(TrMarks(m, doc).size(), 2u);
  m.state.mode = GraphMode::StoreTr;
  EXPECT_TRUE(TrMarks(m, doc).empty());
}

}  // namespace
}  // namespace acv
