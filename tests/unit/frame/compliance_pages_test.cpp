// The compliance pages: the verdict of a series made of segments, and how
// the weeks and the table of dips and swells go onto pages.
#include <gtest/gtest.h>

#include <algorithm>

#include "frame/CompliancePages.h"

namespace acv {
namespace {

constexpr TimeStamp kMonday = 1772409600;  // 2026-03-02 00:00:00 UTC, a Monday

StoreFamily Steady(TimeStamp start, int points, float volts) {
  StoreFamily s;
  s.rmsStartTime = start;
  s.rmsInterval = 60.0f;
  s.rmsCount = points;
  s.hasCh1 = 1;
  s.rmsUnitCh1 = "V";
  s.rmsCh1.assign(static_cast<std::size_t>(points), volts);
  return s;
}

// A gap between two downloads: the 10-minute interval it cuts has no value,
// and a dip at the end of the first is not joined to the second.
TEST(CompliancePages, SegmentsAreJudgedTogetherWithoutBridgingTheirGap) {
  StoreFamily first = Steady(kMonday, 2 * 24 * 60, 230.0f);  // two days
  first.rmsCh1.back() = 150.0f;                              // a dip of one point, 60 s
  const StoreFamily second = Steady(kMonday + 3 * 86400 + 300, 24 * 60, 230.0f);
  const EventLimits limits;
  const std::vector<ComplianceReport> reports =
      ComplianceOf({StoreRmsSeries(first, {}), StoreRmsSeries(second, {})}, limits);
  ASSERT_EQ(reports.size(), 1u);
  ASSERT_EQ(reports[0].weeks.size(), 1u);
  const ComplianceWeek& w = reports[0].weeks[0];
  // 288 intervals of the first two days (the last one flagged by the dip),
  // 143 whole ones of the second download, which starts 5 minutes late.
  EXPECT_EQ(w.n + w.flagged, 288 + 143);
  EXPECT_EQ(w.flagged, 1);
  std::int64_t dips = 0;
  for (const auto& row : reports[0].events.counts) {
    for (const std::int64_t n : row) dips += n;
  }
  EXPECT_EQ(dips, 1);
}

TEST(CompliancePages, WeeksRunOnWithTheirTitlesAndTheEventTableStaysWhole) {
  SummaryContent content;
  content.file = "site North";
  for (int channel = 0; channel < 2; ++channel) {
    ComplianceReport r;
    r.channel = channel;
    for (int week = 0; week < 40; ++week) {
      ComplianceWeek w;
      w.start = kMonday + week * 7 * 86400;
      w.end = w.start + 7 * 86400;
      w.n = w.expected = 1008;
      w.verdict = WeekVerdict::Pass;
      r.weeks.push_back(w);
    }
    content.compliance.push_back(r);
  }
  const PageUnits units = UnitsOfPage(1400, 990);  // landscape, 14 px lines
  const int pages = CompliancePageCount(content, units);
  ASSERT_GE(pages, 2);
  int weekRows = 0, eventTitles = 0;
  for (int page = 1; page <= pages; ++page) {
    const SummaryPageLayout l = LayOutCompliancePage(page, page + 2, content, units, "09/12/26");
    EXPECT_EQ(l.footer.text, "09/12/26  page" + std::to_string(page + 2));
    int lowest = 0, rowsHere = 0;
    bool header = false;
    for (const PageText& t : l.texts) {
      lowest = std::max(lowest, t.y);
      if (t.text == "WEEK FROM") header = true;
      if (t.text == "pass") ++rowsHere;
      if (t.text.rfind("DIPS (RESIDUAL", 0) == 0) {
        ++eventTitles;
        // The title, the column titles and seven rows below it on this page.
        const int rows =
            static_cast<int>(std::count_if(l.texts.begin(), l.texts.end(), [&](const PageText& o) {
              return o.x == 0 && o.y > t.y && o.y <= t.y + 8 * units.u;
            }));
        EXPECT_EQ(rows, 7) << "page " << page;
      }
    }
    EXPECT_LT(lowest + units.u, l.footer.y) << "page " << page;
    if (rowsHere > 0) {
      EXPECT_TRUE(header) << "page " << page;
    }
    weekRows += rowsHere;
  }
  EXPECT_EQ(weekRows, 80);
  EXPECT_EQ(eventTitles, 2);
}

}  // namespace
}  // namespace acv
