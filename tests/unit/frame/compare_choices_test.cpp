// The Compare window's spans: a site's measurements and weeks, and a typed
// FROM..TO read back.
#include <gtest/gtest.h>

#include "frame/CompareChoices.h"

namespace acv {
namespace {

TEST(CompareChoices, OffersTheMeasurementsThenEveryWeekWithPoints) {
  LibraryMeasurementRow m;
  m.id = 3;
  m.source = "d3.stdata";
  m.start = 1773014400;  // 2026-03-09 00:00:00 UTC, a Monday
  m.end = m.start + 3600;
  // From a Wednesday to the Monday two weeks on, 00:30: three weeks.
  const TimeStamp first = 1772582400, last = 1773620400 + 1800;
  const std::vector<CompareSpan> spans = CompareSpansOf({m}, first, last);
  ASSERT_EQ(spans.size(), 4u);
  EXPECT_EQ(spans[0], (CompareSpan{"measurement 3 (d3.stdata)", m.start, m.end - 1}));
  EXPECT_EQ(spans[1].label, "week from 2026-03-02");
  EXPECT_EQ(spans[1].to + 1, spans[2].from);
  EXPECT_EQ(spans[2].from, m.start);
  EXPECT_EQ(spans[3].label, "week from 2026-03-16");
  EXPECT_EQ(spans[3].to - spans[3].from + 1, 7 * 86400);
}

TEST(CompareChoices, ReadsAFromToTextOrSaysWhatIsWrong) {
  struct Case {
    const char* text;
    bool good;
    TimeStamp from, to;
  } cases[] = {
      {"2026-03-09T00:00:00..2026-03-15T23:59:59", true, 1773014400, 1773619199},
      {" 2026-03-09 00:00 .. 2026-03-09T01:00:00 ", true, 1773014400, 1773018000},
      {"2026-03-09T00:00:00", false, 0, 0},
      {"2026-03-09T00:00:00..yesterday", false, 0, 0},
      {"2026-13-09T00:00:00..2026-03-15T00:00:00", false, 0, 0},
      {"2026-03-15T00:00:00..2026-03-09T00:00:00", false, 0, 0},  // backwards
  };
  for (const Case& c : cases) {
    std::string problem;
    const std::optional<CompareSpan> span = ParseCompareSpan(c.text, &problem);
    EXPECT_EQ(span.has_value(), c.good) << c.text;
    if (c.good && span) {
      EXPECT_EQ(span->from, c.from) << c.text;
      EXPECT_EQ(span->to, c.to) << c.text;
      EXPECT_EQ(ParseCompareSpan(CompareSpanText(*span), &problem)->from, c.from);
    } else if (!c.good) {
      EXPECT_NE(problem.find(c.text), std::string::npos) << problem;
    }
  }
}

}  // namespace
}  // namespace acv
