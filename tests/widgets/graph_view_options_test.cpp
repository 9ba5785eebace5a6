// The hidden options of the graph pictures: a display, a zoom band, a cursor.
#include <gtest/gtest.h>

#include "frame/CommandLine.h"

namespace acv {
namespace {

TEST(GraphPictureOptions, AreReadAndCheckedStrictly) {
  const CommandLine line =
      ParseCommandLine({"--auto-download", "--auto-mode", "store-tr", "--auto-zoom",
                        "400,260,700,-5", "--auto-cursor", "560,420", "--screenshot", "a.png"});
  ASSERT_TRUE(line.error.empty()) << line.error;
  EXPECT_EQ(line.autoMode, "store-tr");
  EXPECT_EQ(line.autoZoom, (std::vector<int>{400, 260, 700, -5}));
  EXPECT_EQ(line.autoCursor, (std::vector<int>{560, 420}));
  EXPECT_TRUE(OptionTakesValue("--auto-zoom"));

  for (const std::vector<std::string>& bad :
       std::vector<std::vector<std::string>>{{"--auto-mode", "graph"},
                                             {"--auto-mode"},
                                             {"--auto-zoom", "1,2,3"},
                                             {"--auto-zoom", "1,2,3,4,5"},
                                             {"--auto-zoom", "1,2,,4"},
                                             {"--auto-zoom", "1,2,3,4,"},
                                             {"--auto-cursor", "1;2"},
                                             {"--auto-cursor", "x,2"},
                                             {"--auto-cursor", "99999999999,2"}}) {
    EXPECT_FALSE(ParseCommandLine(bad).error.empty()) << bad.back();
  }
}

}  // namespace
}  // namespace acv
