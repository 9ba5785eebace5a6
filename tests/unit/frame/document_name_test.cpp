// The window title for the data on show and the recent-file list.
#include <gtest/gtest.h>

#include "frame/DocumentName.h"

namespace acv {
namespace {

TEST(DocumentName, TitleNamesTheFileAndMarksUnsavedData) {
  const struct {
    const char* file;
    bool hasData, unsaved;
    const char* site;
    const char* title;
  } cases[] = {
      {"", false, false, "", "App"},
      {"/home/u/x.stdata", false, false, "", "App"},  // nothing shown any more
      {"/home/u/x.stdata", true, false, "", "x.stdata \u2014 App"},
      {"/home/u/x.stdata", true, true, "", "x.stdata* \u2014 App"},
      {"", true, true, "", "Untitled* \u2014 App"},
      {"", true, false, "Yard 2", "SITE Yard 2 \u2014 App"},
      {"", false, false, "Yard 2", "App"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(WindowTitle("App", c.file, c.hasData, c.unsaved, c.site), c.title) << c.title;
}

TEST(DocumentName, RecentFilesAreNewestFirstUniqueAndFour) {
  std::vector<std::string> list;
  for (const char* f : {"a", "b", "c", "d", "e", "c"}) RememberRecentFile(list, f);
  EXPECT_EQ(list, (std::vector<std::string>{"c", "e", "d", "b"}));
  ForgetRecentFile(list, "e");
  EXPECT_EQ(list, (std::vector<std::string>{"c", "d", "b"}));
  EXPECT_EQ(RecentFileMenuText(0, "/home/u/A&B/x.stdata", "/home/u"), "&1 ~/A&&B/x.stdata");
  EXPECT_EQ(RecentFileMenuText(3, "/home/user2/x.stdata", "/home/u"), "&4 /home/user2/x.stdata");
}

}  // namespace
}  // namespace acv
