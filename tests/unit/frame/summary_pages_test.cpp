// The summary report's text pages: the event table runs on over as many
// pages as it needs, each event exactly once and in order, nothing written
// into the footer's line.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

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

}  // namespace
}  // namespace acv
