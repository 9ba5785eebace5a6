#include <gtest/gtest.h>

#include "frame/CommandLine.h"

namespace acv {
namespace {

TEST(CommandLine, AcceptsAFileAndTheOptions) {
  CommandLine line = ParseCommandLine({});
  EXPECT_TRUE(line.error.empty());
  EXPECT_TRUE(line.file.empty());
  EXPECT_FALSE(line.simulate);

  line = ParseCommandLine({"/tmp/a b.stdata", "--port", "/dev/ttyUSB3"});
  EXPECT_TRUE(line.error.empty());
  EXPECT_EQ(line.file, "/tmp/a b.stdata");
  EXPECT_EQ(line.port, "/dev/ttyUSB3");

  line =
      ParseCommandLine({"--simulate", "--sim-arg", "--synthetic", "--sim-arg", "2ch",
                        "--auto-download", "--screenshot", "x.png", "--screenshot-delay", "250"});
  EXPECT_TRUE(line.error.empty()) << line.error;
  EXPECT_TRUE(line.simulate);
  EXPECT_EQ(line.simArgs, (std::vector<std::string>{"--synthetic", "2ch"}));
  EXPECT_TRUE(line.autoDownload);
  EXPECT_EQ(line.screenshot, "x.png");
  EXPECT_EQ(line.screenshotDelayMs, 250);

  EXPECT_TRUE(ParseCommandLine({"--help"}).help);
  EXPECT_TRUE(ParseCommandLine({"--version"}).version);
}

TEST(CommandLine, RejectsWhatItCannotUseWithAClearMessage) {
  EXPECT_NE(ParseCommandLine({"--port"}).error.find("--port needs a device"), std::string::npos);
  EXPECT_NE(ParseCommandLine({"--bogus"}).error.find("'--bogus'"), std::string::npos);
  EXPECT_NE(ParseCommandLine({"a.stdata", "b.stdata"}).error.find("only one"), std::string::npos);
  EXPECT_FALSE(ParseCommandLine({"--screenshot-delay", "12x"}).error.empty());
  EXPECT_FALSE(ParseCommandLine({"--screenshot-delay", "-5"}).error.empty());
  EXPECT_FALSE(ParseCommandLine({"--screenshot"}).error.empty());
  EXPECT_FALSE(ParseCommandLine({"--auto-run", "--auto-download"}).error.empty());
  EXPECT_FALSE(ParseCommandLine({"--simulate", "--port", "/dev/ttyS0"}).error.empty());
}

TEST(CommandLine, DialogPictureNamesOneKnownWindowAndNeedsAFile) {
  CommandLine line =
      ParseCommandLine({"--simulate", "--screenshot", "d.png", "--screenshot-dialog", "loading"});
  EXPECT_TRUE(line.error.empty()) << line.error;
  EXPECT_EQ(line.screenshotDialog, "loading");
  EXPECT_NE(ParseCommandLine({"--screenshot", "d.png", "--screenshot-dialog", "about"})
                .error.find("download, realtime, setup, clock or loading"),
            std::string::npos);
  EXPECT_FALSE(ParseCommandLine({"--screenshot-dialog", "setup"}).error.empty());
  EXPECT_FALSE(
      ParseCommandLine({"--screenshot", "d.png", "--screenshot-dialog", "setup", "--auto-run"})
          .error.empty());
}

// The hidden options of the graph pictures: a display, a zoom band, a cursor.
TEST(CommandLine, GraphPictureOptionsAreReadAndCheckedStrictly) {
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
