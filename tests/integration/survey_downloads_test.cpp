// A survey as the logger gives it: its memory read twice during one
// recording, so the second download repeats the end of the first. The
// repeated points (dips included) are the same values at the same times:
// the library counts them as duplicates instead of refusing a conflict.
#include <gtest/gtest.h>

#include "SimProcess.h"

namespace acv::test {
namespace {

class SurveyDownloads : public CliTest {
 protected:
  // Downloads the simulated logger's memory built from `spec` into `file`.
  void Download(const std::string& spec, const std::string& file) {
    SimProcess sim({"--synthetic", spec});
    ASSERT_TRUE(sim.Started()) << sim.Error();
    const ProgramRun run =
        RunProgram(CliPath(), {"download", "--port", sim.Device(), "-o", file}, env_, 60000);
    ASSERT_EQ(run.exitCode, 0) << run.err;
  }
};

TEST_F(SurveyDownloads, AReadOfTheRingMemoryRepeatsTheOverlapValueForValue) {
  const std::string recording =
      "samples=600,tr=1,interval=1min,dips=1,swells=1,interruptions=1,every=100";
  const std::string first = Home() + "/first.stdata", second = Home() + "/second.stdata";
  ASSERT_NO_FATAL_FAILURE(Download(recording, first));
  ASSERT_NO_FATAL_FAILURE(Download(recording + ",wrap=400", second));
  const std::string db = Home() + "/library.sqlite";
  const ProgramRun add =
      RunProgram(CliPath(), {"library", "add", first, second, "--site", "S", "--db", db}, env_);
  EXPECT_EQ(add.exitCode, 0) << add.err;
  EXPECT_NE(add.out.find("added 400 points (200 duplicates) to S as measurement 2"),
            std::string::npos)
      << add.out;
  // The excursions come back every 100 minutes of the recording, the kinds in
  // turn: the second download starts at minute 400, so its first one is the
  // fifth of the recording, a swell.
  const ProgramRun events = RunProgram(CliPath(), {"events", second, "--csv"}, env_);
  EXPECT_EQ(events.exitCode, 0) << events.err;
  EXPECT_NE(events.out.find(",swell,CH1,51,75,"), std::string::npos) << events.out;
}

}  // namespace
}  // namespace acv::test
