// acvlogger-cli probe, setup and clock against the simulated logger.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <sstream>

#include "SimProcess.h"
#include "data/Settings.h"

namespace acv::test {
namespace {

class LinkCli : public CliTest {
 protected:
  ProgramRun Cli(const std::vector<std::string>& args) { return RunProgram(CliPath(), args, env_); }
  // The frames the simulator received, one line each.
  std::vector<std::string> Trace() const {
    std::vector<std::string> lines;
    std::istringstream text(ReadTextFile(TracePath()));
    for (std::string l; std::getline(text, l);) lines.push_back(l);
    return lines;
  }
};

TEST_F(LinkCli, ProbePrintsTheDeviceWhereTheLoggerAnswered) {
  SimProcess sim;
  ASSERT_TRUE(sim.Started()) << sim.Error();
  const ProgramRun run = Cli({"probe", "--port", sim.Device()});
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, sim.Device() + "\n");
}

TEST_F(LinkCli, ProbeWithoutAnswerFailsNotConnected) {
  SimProcess sim({"--silent"});
  ASSERT_TRUE(sim.Started()) << sim.Error();
  const ProgramRun run = Cli({"probe", "--port", sim.Device()});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("Not Connected"), std::string::npos) << run.err;
  EXPECT_TRUE(run.out.empty());

  const ProgramRun missing = Cli({"probe", "--port", "/dev/acvlogger-no-such-device"});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_NE(missing.err.find("no such serial device"), std::string::npos) << missing.err;
}

TEST_F(LinkCli, SetupSendsTheFrameAndKeepsTheValues) {
  SimProcess sim({"--trace", TracePath()});
  ASSERT_TRUE(sim.Started()) << sim.Error();
  const ProgramRun run = Cli({"setup", "--port", sim.Device(), "--rate", "75", "--unit", "minute",
                              "--auto-off", "on", "--circular=on", "--rise", "1000"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.err.find("60"), std::string::npos) << "the clamped rate is announced";
  const std::vector<std::string> trace = Trace();
  ASSERT_EQ(trace.size(), 2u);
  EXPECT_EQ(trace[0], "78");
  EXPECT_EQ(trace[1], "AA 1C 20 3C 03 E8 00 64");

  const AppSettings stored = LoadSettings(SettingsPath());
  EXPECT_EQ(stored.sampleRateText, "60");
  EXPECT_EQ(stored.sampleRateUnit, 1);
  EXPECT_EQ(stored.autoPowerOff, 2);
  EXPECT_EQ(stored.circulateLogging, 3);
  EXPECT_EQ(stored.riseLevelSetting, "1000");
  EXPECT_EQ(stored.dropLevelSetting, "100");

  // Switching to hours brings the stored rate of 60 down to 24; the rest is kept.
  const ProgramRun hours = Cli({"setup", "--port", sim.Device(), "--unit", "hour"});
  EXPECT_EQ(hours.exitCode, 0) << hours.err;
  EXPECT_EQ(Trace().back(), "AA 1C 30 18 03 E8 00 64");

  // Levels beyond what the logger takes, in a settings file, go out as the
  // highest level, 1000, and are announced and kept as such.
  AppSettings damaged = LoadSettings(SettingsPath());
  damaged.riseLevelSetting = "5000";
  damaged.dropLevelSetting = "99999";
  ASSERT_TRUE(SaveSettings(damaged, SettingsPath()));
  const ProgramRun levels = Cli({"setup", "--port", sim.Device()});
  EXPECT_EQ(levels.exitCode, 0) << levels.err;
  EXPECT_EQ(Trace().back(), "AA 1C 30 18 03 E8 03 E8");
  EXPECT_NE(levels.out.find("rise level 1000, drop level 1000"), std::string::npos) << levels.out;
  EXPECT_EQ(LoadSettings(SettingsPath()).dropLevelSetting, "1000");
}

TEST_F(LinkCli, SetupRefusesBadOptionsBeforeTouchingTheLogger) {
  for (const std::vector<std::string>& args : {std::vector<std::string>{"setup", "--rate", "ten"},
                                               {"setup", "--unit", "week"},
                                               {"setup", "--rise", "1001"},
                                               {"setup", "--auto-off", "maybe"},
                                               {"setup", "--bogus"},
                                               {"setup", "--rate"},
                                               {"clock", "--time", "2100-01-01 00:00:00"},
                                               {"clock", "--time", "2023-02-29 12:00:00"},
                                               {"clock", "--time", "yesterday"}}) {
    const ProgramRun run = Cli(args);
    EXPECT_EQ(run.exitCode, 2) << args[1] << ": " << run.err;
    EXPECT_FALSE(run.err.empty());
  }
  EXPECT_TRUE(ReadTextFile(SettingsPath()).empty());
}

TEST_F(LinkCli, PressStartAnswerIsPrintedAndCountsAsSuccess) {
  SimProcess sim({"--ack", "1e"});
  ASSERT_TRUE(sim.Started()) << sim.Error();
  const ProgramRun run = Cli({"setup", "--port", sim.Device()});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(
      run.err.find("To start logging, press the START button on the DATA LOGGER for three seconds"),
      std::string::npos)
      << run.err;
}

TEST_F(LinkCli, ClockSendsTheGivenTimeAndStoresItsTexts) {
  SimProcess sim({"--trace", TracePath()});
  ASSERT_TRUE(sim.Started()) << sim.Error();
  const ProgramRun run = Cli({"clock", "--port", sim.Device(), "--time", "2024-02-29 07:05:09"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  ASSERT_FALSE(Trace().empty());
  EXPECT_EQ(Trace().back(), "AC 24 02 29 07 05 09 FF");
  const AppSettings stored = LoadSettings(SettingsPath());
  EXPECT_EQ(stored.lastClockText, (std::array<std::string, 6>{"2024", "2", "29", "7", "5", "9"}));
}

}  // namespace
}  // namespace acv::test
