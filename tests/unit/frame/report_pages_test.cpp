// The printed pages' layout: page counts, each page's rows, the column
// positions, the graph page's header and the list page's block and footer.
#include <gtest/gtest.h>

#include "frame/ReportPages.h"

namespace acv {
namespace {

// A page of 5000 x 7000 device pixels: u = 100, k = 100.
const PageUnits kPage = UnitsOfPage(5000, 7000);

ReportFacts Facts(DisplayMode mode, bool ch1, bool ch2) {
  ReportFacts f;
  f.mode = mode;
  f.plotCh1 = ch1;
  f.plotCh2 = ch2;
  f.info.modeText = "STORE RMS";
  f.info.rateText = "10 s";
  f.info.startText = "01/01/26 10:00:00";
  f.info.countText = "300";
  f.info.max1Text = "a1";
  f.info.min1Text = "i1";
  f.info.max2Text = "a2";
  f.info.min2Text = "i2";
  return f;
}

TEST(ListPages, CountAndRowsFollowFromThePageNumber) {
  struct Case {
    DisplayMode mode;
    std::int64_t rows;
    std::vector<std::int64_t> perPage;
  } cases[] = {
      {DisplayMode::StoreRms, 55, {55}},
      {DisplayMode::StoreRms, 56, {55, 1}},
      {DisplayMode::StoreTr, 251, {60, 60, 60, 60, 11}},
      {DisplayMode::RealTimeEpa, 590, {60, 60, 60, 60, 60, 60, 60, 60, 60, 50}},
      {DisplayMode::RealTimeRms, 0, {0}},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(ListPageCount(c.rows, c.mode), static_cast<int>(c.perPage.size())) << c.rows;
    std::int64_t next = 0;
    for (int page = 1; page <= static_cast<int>(c.perPage.size()); ++page) {
      const RowWindow w = RowsOfPage(page, c.rows, c.mode);
      EXPECT_EQ(w.first, next) << c.rows << " page " << page;
      EXPECT_EQ(w.end - w.first, c.perPage[static_cast<std::size_t>(page - 1)]);
      next = w.end;
    }
  }
  // The largest data set: 55 + 4369 x 60 rows cover 262,144.
  EXPECT_EQ(ListPageCount(262144, DisplayMode::StoreRms), 4370);
  EXPECT_EQ(RowsOfPage(4370, 262144, DisplayMode::StoreRms).end, 262144);
  // Asked for again, or out of order, a page keeps its rows.
  EXPECT_EQ(RowsOfPage(3, 251, DisplayMode::StoreTr).first, 120);
}

TEST(ListPages, ColumnsStandThreeKPerHeaderCharacter) {
  EXPECT_EQ(ColumnPositions({"No.", "Time", "CH1", "CH2"}, 100),
            (std::vector<int>{900, 2100, 3000, 3900}));
  EXPECT_EQ(ColumnPositions({"No.", "Time", "S(VA)", ""}, 10),
            (std::vector<int>{90, 210, 360, 360}));
}

TEST(ListPages, PageOneCarriesTheBlockAndTheRowsStartBelowIt) {
  const std::vector<std::string> headers{"No.", "Time", "CH1", "CH2"};
  const ListPageLayout one =
      LayOutListPage(1, Facts(DisplayMode::StoreRms, true, true), headers, 300, kPage, "08/12/26");
  EXPECT_EQ(one.title, (PageText{2500 - 600, 0, "Test Report"}));
  ASSERT_EQ(one.block.size(), 8u);
  EXPECT_EQ(one.block[0], (PageText{0, 100 + 200, "MODE: STORE RMS"}));
  EXPECT_EQ(one.block[3], (PageText{2000, 200 + 200, "DATANO: 300"}));
  EXPECT_EQ(one.block[7], (PageText{2000, 400 + 200, "CH2 DATA MIN: i2"}));
  EXPECT_TRUE(one.hasRule);
  EXPECT_EQ(one.ruleY, 550 + 200);
  EXPECT_EQ(one.headers[1], (PageText{2100, 600 + 200, "Time"}));
  EXPECT_EQ(one.firstRowY, 700 + 200);
  EXPECT_EQ(one.footer, (PageText{2500 - 500, 7000 - 100, "08/12/26  page1"}));

  const ListPageLayout two =
      LayOutListPage(2, Facts(DisplayMode::StoreRms, true, true), headers, 300, kPage, "08/12/26");
  EXPECT_TRUE(two.block.empty());
  EXPECT_FALSE(two.hasRule);
  EXPECT_EQ(two.headers[0].y, 100 + 200);
  EXPECT_EQ(two.firstRowY, 200 + 200);
  EXPECT_EQ(two.footer.text, "08/12/26  page2");
  // STORE TR has no block even on page 1.
  const ListPageLayout tr =
      LayOutListPage(1, Facts(DisplayMode::StoreTr, false, true), headers, 251, kPage, "x");
  EXPECT_TRUE(tr.block.empty());
  EXPECT_EQ(tr.rows.end, 60);
}

TEST(GraphHeader, ShownOutsideStoreTrAndEpaWithThePanelOn) {
  const auto two = GraphPageHeader(Facts(DisplayMode::StoreRms, true, true), kPage);
  ASSERT_EQ(two.size(), 8u);
  EXPECT_EQ(two[1], (PageText{2000, 100, "SAMPLING RATE: 10 s"}));
  EXPECT_EQ(two[2], (PageText{0, 200, "START TIME: 01/01/26 10:00:00"}));
  EXPECT_EQ(two[4], (PageText{0, 300, "CH1 DATA MAX: a1"}));
  EXPECT_EQ(two[6], (PageText{0, 400, "CH2 DATA MAX: a2"}));

  const auto ch2 = GraphPageHeader(Facts(DisplayMode::StoreRms, false, true), kPage);
  ASSERT_EQ(ch2.size(), 6u);
  EXPECT_EQ(ch2[4], (PageText{0, 300, "CH2 MAX: a2"}));
  EXPECT_EQ(ch2[5], (PageText{2000, 300, "CH2 MIN: i2"}));

  for (DisplayMode none : {DisplayMode::StoreTr, DisplayMode::RealTimeEpa}) {
    EXPECT_TRUE(GraphPageHeader(Facts(none, true, false), kPage).empty());
  }
  ReportFacts off = Facts(DisplayMode::RealTimeRms, true, true);
  off.panelHeight = 0;
  EXPECT_TRUE(GraphPageHeader(off, kPage).empty());
}

TEST(PrintDialog, TheRangeAskedForStaysWithinThePages) {
  struct Case {
    int from, to, pages;
    PageSpan printed;
  } const cases[] = {
      {0, 0, 5, {1, 5}},                     // no range: all pages
      {2, 4, 5, {2, 4}}, {4, 9, 5, {4, 5}},  // past the end
      {7, 0, 5, {5, 5}},                     // from past the end
      {3, 2, 5, {3, 3}},                     // to before from
      {0, 0, 0, {1, 1}},                     // an empty list still prints its one page
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PrintedPages(c.from, c.to, c.pages), c.printed) << c.from << ".." << c.to;
  }
}

TEST(PictureSize, TypedAsWidthTimesHeight) {
  EXPECT_EQ(PictureSizeText(1920, 1080), "1920 x 1080");
  EXPECT_EQ(ParsePictureSize(" 1920 x 1080 "), (PictureSize{1920, 1080}));
  EXPECT_EQ(ParsePictureSize("800X600"), (PictureSize{800, 600}));
  for (const char* bad :
       {"", "1920", "1920 x", "0 x 10", "-5 x 10", "12a x 3", "1 x 2 x 3", "99999999999 x 10"}) {
    EXPECT_FALSE(ParsePictureSize(bad)) << bad;
  }
}

}  // namespace
}  // namespace acv
