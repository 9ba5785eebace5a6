// The summary report's text pages: the event table runs on over as many
// pages as it needs, each event exactly once and in order, nothing written
// into the footer's line.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

#include "frame/CompliancePages.h"
#include "frame/SummaryPages.h"

namespace acv {
namespace {

// A STORE RMS series of `dips` one-point dips on CH1.
CDTDoc WithDips(int dips) {
  CDTDoc doc;
  doc.rmsCount = 2 * dips + 1;
  doc.hasCh1 = 1;
  doc.rmsUnitCh1 = "V";
  doc.rmsInterval = 1.0f;
  doc.rmsStartTime = 1772359200;
  for (int k = 0; k < doc.rmsCount; ++k) doc.rmsCh1.push_back(k % 2 == 1 ? 150.0f : 230.0f);
  return doc;
}

TEST(SummaryPages, EventTableContinuesOverPagesWithoutLosingARow) {
  const PageUnits units = UnitsOfPage(3300, 2300);  // A4 landscape at 300 dpi
  for (const int dips : {0, 1, 40, 500}) {
    SCOPED_TRACE(dips);
    const SummaryContent content = SummariseDataSet(WithDips(dips), false, EventLimits{}, "d");
    ASSERT_EQ(content.events.size(), static_cast<std::size_t>(dips));
    const int pages = SummaryTextPages(content, units);
    std::vector<int> numbers;
    for (int page = 1; page <= pages; ++page) {
      const SummaryPageLayout l = LayOutSummaryPage(page, content, units, "01/03/26");
      EXPECT_EQ(l.footer.text, "01/03/26  page" + std::to_string(page));
      // A rule runs between the lines of text, never through one.
      for (const int rule : l.rules) {
        for (const PageText& t : l.texts) {
          EXPECT_FALSE(rule >= t.y && rule < t.y + units.u) << rule << " through " << t.text;
        }
      }
      for (const PageText& t : l.texts) {
        EXPECT_LT(t.y, l.footer.y) << t.text;
        const bool number =
            !t.text.empty() && t.x == 0 && std::all_of(t.text.begin(), t.text.end(), ::isdigit);
        if (number) numbers.push_back(std::stoi(t.text));
      }
    }
    std::vector<int> expected(static_cast<std::size_t>(dips));
    for (int i = 0; i < dips; ++i) expected[static_cast<std::size_t>(i)] = i + 1;
    EXPECT_EQ(numbers, expected);
    EXPECT_EQ(pages > 1, dips > 40) << pages << " pages";
  }
}

// Page 1 carries the figures the command line prints: the band with its
// 10-minute values, the limits with the band, the damaged points left out.
TEST(SummaryPages, FirstPageNamesTheBandItsTenMinuteValuesAndTheDamagedPoints) {
  CDTDoc doc = WithDips(15);  // 31 points of 60 s: three 10-minute intervals, the dips flag them
  doc.rmsInterval = 60.0f;
  doc.rmsCh1[30] = std::numeric_limits<float>::quiet_NaN();
  EventLimits limits;
  limits.bandPct = 20;
  const SummaryContent content = SummariseDataSet(doc, false, limits, "d");
  std::string page;
  for (const PageText& t : LayOutSummaryPage(1, content, UnitsOfPage(3300, 2300), "x").texts) {
    page += t.text + "\n";
  }
  for (const char* line :
       {"Band 184.0 .. 276.0 V (Un 230 V ± 20 %)\n",
        "CH1: 15 of 30 points within the band (50.0 %), 1 damaged left out; 3 10-minute values, "
        "3 flagged by short events\n",
        "Left out:    1 damaged point of CH1 (not numbers)\n", ", band 20 %\n"}) {
    EXPECT_NE(page.find(line), std::string::npos) << line << "\n" << page;
  }
}

// A site's timeline on show: the points between two downloads are a gap,
// counted as such and not as damaged values, and no event runs across it.
TEST(SummaryPages, ASitesGapEndsItsEventsAndIsNoDamage) {
  CDTDoc doc;
  doc.rmsCount = 50;
  doc.hasCh1 = 1;
  doc.rmsUnitCh1 = "V";
  doc.rmsInterval = 60.0f;
  doc.rmsStartTime = 1772359200;
  const float none = std::numeric_limits<float>::quiet_NaN();
  doc.rmsCh1.assign(50, 230.0f);
  for (int k = 17; k < 20; ++k) doc.rmsCh1[k] = 150.0f;  // a dip up to the gap
  for (int k = 20; k < 30; ++k) doc.rmsCh1[k] = none;    // the gap
  for (int k = 30; k < 32; ++k) doc.rmsCh1[k] = 150.0f;  // a dip from its end
  doc.rmsCh1[40] = none;                                 // a damaged point
  const TimeStamp t0 = doc.rmsStartTime;
  const auto covered =
      PointsOfStretches({{t0, t0 + 20 * 60, 60}, {t0 + 30 * 60, t0 + 50 * 60, 60}}, t0, 60, 50);
  ASSERT_EQ(covered, (std::vector<std::pair<std::int64_t, std::int64_t>>{{0, 19}, {30, 49}}));

  const SummaryContent c = SummariseSite(doc, EventLimits{}, "North", covered);
  EXPECT_EQ(c.gapPoints, 10);
  EXPECT_EQ(c.stats.channels[0].leftOut, 1);
  ASSERT_EQ(c.events.size(), 2u);  // the file's rule would run one dip over the gap
  EXPECT_EQ(c.events[0].first, 18);
  EXPECT_EQ(c.events[0].last, 20);
  EXPECT_FALSE(c.events[0].open);
  EXPECT_EQ(c.events[1].first, 31);
  EXPECT_EQ(c.events[1].last, 32);
  ASSERT_EQ(c.band.size(), 1u);
  EXPECT_EQ(c.band[0].points, 39);
  EXPECT_EQ(c.band[0].pointsLeftOut, 1);
  std::string page;
  for (const PageText& t : LayOutSummaryPage(1, c, UnitsOfPage(3300, 2300), "x").texts) {
    page += t.text + "\n";
  }
  for (const char* line : {"SITE: North (library timeline)\n",
                           "Gaps:        10 points between downloads, without a value",
                           "Left out:    1 damaged point of CH1 (not numbers)\n"}) {
    EXPECT_NE(page.find(line), std::string::npos) << line << "\n" << page;
  }
  ASSERT_EQ(c.compliance.size(), 1u);
  EXPECT_EQ(LayOutCompliancePage(1, 2, c, UnitsOfPage(3300, 2300), "x").texts.at(0).text,
            "Site North   STORE RMS");
}

TEST(SummaryPages, StretchesFallOnTheGridOfTheSeriesOnShow) {
  const TimeStamp t0 = 1772359200;
  using Points = std::vector<std::pair<std::int64_t, std::int64_t>>;
  struct Case {
    std::vector<TimeStretch> stretches;
    Points points;
  } cases[] = {
      // Off the grid by 30 s: from the next point on, to the last before the end.
      {{{t0 + 30, t0 + 630, 60}}, {{1, 10}}},
      // Before the first point and beyond the last: cut to the series.
      {{{t0 - 600, t0 + 120, 60}, {t0 + 1200, t0 + 9000, 60}}, {{0, 1}, {20, 29}}},
      // Stretches that meet are one; another interval lies off this grid.
      {{{t0, t0 + 300, 60}, {t0 + 300, t0 + 600, 60}, {t0 + 900, t0 + 1000, 10}}, {{0, 9}}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PointsOfStretches(c.stretches, t0, 60, 30), c.points);
  }
}

}  // namespace
}  // namespace acv
