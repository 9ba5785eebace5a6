// What the Add to Library dialog proposes and which site names it takes.
#include <gtest/gtest.h>

#include "frame/LibraryChoices.h"

namespace acv {
namespace {

TEST(LibraryChoices, TheProposedSiteIsTheSettingsThenTheLastOneThenTheOnlyOne) {
  struct Case {
    std::vector<std::string> sites;
    std::string autoAdd, last;
    std::string proposed;
    bool every;
  };
  const Case cases[] = {
      {{"North", "South"}, "East", "North", "East", true},  // a site not created yet
      {{"North", "South"}, "", "South", "South", false},
      {{"North", "South"}, "", "Gone", "", false},  // removed meanwhile
      {{"North"}, "", "", "North", false},
      {{"North", "South"}, "", "", "", false},
      {{}, "", "", "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.autoAdd + "|" + c.last);
    const LibrarySiteOffer offer = OfferSites("/lib.sqlite", c.sites, c.autoAdd, c.last);
    EXPECT_EQ(offer.site, c.proposed);
    EXPECT_EQ(offer.addEveryDownload, c.every);
    EXPECT_EQ(offer.sites, c.sites);
  }
}

TEST(LibraryChoices, ASiteNameIsReadableTextOfBoundedLength) {
  const std::pair<std::string, bool> cases[] = {
      {"North feeder", true},
      {"  Umspannwerk Süd 4 ", true},
      {"", false},
      {" \t ", false},
      {"North\nfeeder", false},
      {"North\tfeeder", false},
      {std::string(kMaxSiteNameBytes, 'n'), true},
      {std::string(kMaxSiteNameBytes + 1, 'n'), false},
  };
  for (const auto& [name, valid] : cases) {
    SCOPED_TRACE(name);
    EXPECT_EQ(SiteNameProblem(name).empty(), valid) << SiteNameProblem(name);
  }
  EXPECT_EQ(CleanSiteName("  Umspannwerk Süd 4 "), "Umspannwerk Süd 4");
}

TEST(LibraryChoices, TheSourceIsTheFileNameOrTheDownloadWithItsTime) {
  EXPECT_EQ(LibrarySourceName("/home/me/surveys/week 2.stdata", "2026-12-09T10:00:00"),
            "week 2.stdata");
  EXPECT_EQ(LibrarySourceName("", "2026-12-09T10:00:00"), "Untitled download 2026-12-09T10:00:00");
}

}  // namespace
}  // namespace acv
