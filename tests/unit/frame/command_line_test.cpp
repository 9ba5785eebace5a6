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

}  // namespace
}  // namespace acv
