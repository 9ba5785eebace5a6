// The Library window's rules: the Site dialog's fields and the rows copied.
#include <gtest/gtest.h>

#include <algorithm>

#include "frame/LibraryWindowRules.h"

namespace acv {
namespace {

TEST(LibraryWindowRules, SiteFieldsReadBackAndNameTheFirstBadOne) {
  const SiteValues site{11000.0, 60.0, ChannelScaling{ChannelScale{100.0, 1.0}, ChannelScale{}},
                        "feeder 4, transformer T2"};
  const SiteCheck same = CheckSiteTexts(SiteTextsOf(site));
  EXPECT_EQ(same.problem, "");
  EXPECT_EQ(same.values, site);

  struct Case {
    const char* nominal;
    const char* frequency;
    const char* ratio1;
    const char* problemStart;  // "" when good
  } cases[] = {
      {" 230 ", "50", "1", ""},
      {"0", "50", "1", "The nominal voltage"},
      {"-230", "50", "1", "The nominal voltage"},
      {"230 V", "50", "1", "The nominal voltage"},
      {"1e9", "50", "1", "The nominal voltage"},
      {"230", "55", "1", "The line frequency"},
      {"230", "", "1", "The line frequency"},
      {"230", "60", "0", "The CH1 ratio"},
  };
  for (const Case& c : cases) {
    SiteTexts texts = SiteTextsOf(SiteValues{});
    texts.nominal = c.nominal;
    texts.frequency = c.frequency;
    texts.scaling[0] = c.ratio1;
    const SiteCheck check = CheckSiteTexts(texts);
    if (*c.problemStart == '\0') {
      EXPECT_EQ(check.problem, "") << c.nominal;
    } else {
      EXPECT_EQ(check.problem.rfind(c.problemStart, 0), 0u) << c.nominal << ": " << check.problem;
    }
  }
}

// A source name may hold a tab or a line end; a copied row is still one
// line of the listed columns.
TEST(LibraryWindowRules, CopiedRowsKeepTheirColumns) {
  LibraryMeasurementRow m;
  m.id = 7;
  m.site = "North";
  m.kind = "store";
  m.source = "week\t2\n.stdata";
  const std::string text = RowsCopyText(MeasurementColumns(), {MeasurementCells(m)});
  const std::size_t firstLine = text.find('\n');
  ASSERT_NE(firstLine, std::string::npos);
  const std::string row = text.substr(firstLine + 1);
  EXPECT_EQ(std::count(row.begin(), row.end(), '\n'), 1);
  EXPECT_EQ(std::count(row.begin(), row.end(), '\t'),
            static_cast<long>(MeasurementColumns().size()) - 1);
  EXPECT_NE(row.find("week 2 .stdata"), std::string::npos) << row;
}

TEST(LibraryWindowRules, OnlyAHashShowsShort) {
  const std::string hash(64, 'a');
  EXPECT_EQ(ShownCell("sha256", hash), std::string(12, 'a') + "\u2026");
  EXPECT_EQ(ShownCell("source", hash), hash);
  EXPECT_EQ(ShownCell("sha256", ""), "");
}

}  // namespace
}  // namespace acv
