// acvlogger-cli download against the simulated logger: the real serial port
// on a pseudo-terminal, real timers, faults injected by the simulator.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <filesystem>

#include "SimProcess.h"
#include "data/DataFile.h"
#include "data/FileIO.h"
#include "logger/MemoryImage.h"

namespace acv::test {
namespace {

class DownloadCli : public CliTest {
 protected:
  std::string Out() const { return Home() + "/F.stdata"; }
  ProgramRun Download(const SimProcess& sim) {
    return RunProgram(CliPath(), {"download", "--port", sim.Device(), "-o", Out()}, env_);
  }
};

TEST_F(DownloadCli, AFullWrappedMemoryIsSavedAsTheLoggerStoredIt) {
  const std::string dump = Home() + "/served.bin";
  SimProcess sim({"--full", "--dump-image", dump});
  ASSERT_TRUE(sim.Started()) << sim.Error();
  const ProgramRun run = Download(sim);
  ASSERT_TRUE(run.finished);
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find("16 TR records"), std::string::npos) << run.out;
  EXPECT_TRUE(std::filesystem::exists(Home() + "/F.xls"));

  CDTDoc saved;
  ASSERT_TRUE(LoadDataFile(Out(), saved).ok);
  // What the simulator served, split by our own parser.
  std::vector<std::uint8_t> image;
  ASSERT_EQ(ReadWholeFile(dump, image, 1 << 20), "");
  ASSERT_EQ(image.size(), static_cast<std::size_t>(kLoggerMemoryBytes));
  DownloadHeader header;
  header.channelCount = 2;
  CDTDoc expected;
  expected.hasCh1 = expected.hasCh2 = 1;
  ASSERT_TRUE(ParseMemoryImage(image, header, expected));
  EXPECT_EQ(saved.rmsCount, expected.rmsCount);
  EXPECT_EQ(saved.trCount, 16);
  EXPECT_TRUE(saved.rmsCh1 == expected.rmsCh1);
  EXPECT_TRUE(saved.rmsCh2 == expected.rmsCh2);
  EXPECT_TRUE(saved.trWaves == expected.trWaves);
  EXPECT_EQ(saved.trTimes, expected.trTimes);
  EXPECT_EQ(saved.trUnit, expected.trUnit);
  EXPECT_EQ(saved.trChannel, expected.trChannel);
  EXPECT_EQ(saved.rmsUnitCh1, "V");
  EXPECT_EQ(saved.rmsUnitCh2, "A");
  // The simulator's header counts put the start at its oldest stored item:
  // 86400 one-second items after logging began.
  EXPECT_EQ(saved.rmsStartTime, MakeLocalTime(LocalFields{2026, 3, 1, 10, 0, 0}) + 86400);

  // The previous measurement holds the same data set.
  std::vector<std::uint8_t> previous, data;
  ASSERT_EQ(ReadWholeFile(Home() + "/data/acvlogger/PreMeasureQX7.stdata", previous, 4 << 20), "");
  ASSERT_EQ(ReadWholeFile(Out(), data, 4 << 20), "");
  EXPECT_TRUE(previous == data);
}

TEST_F(DownloadCli, ALostAndACutReplyAreRequestedAgain) {
  SimProcess sim(
      {"--synthetic", "samples=5000,tr=2", "--drop-reply", "3", "--truncate-reply", "7"});
  ASSERT_TRUE(sim.Started()) << sim.Error();
  const ProgramRun run = Download(sim);
  ASSERT_EQ(run.exitCode, 0) << run.err;
  CDTDoc saved;
  ASSERT_TRUE(LoadDataFile(Out(), saved).ok);
  EXPECT_EQ(saved.rmsCount, 5000);
  EXPECT_EQ(saved.trCount, 2);
}

// The first header is cut short (or carries a byte too many): the start
// frame's repeat brings a whole one, and the start time of the wrapped
// memory is the one the logger stored, not one read from bytes of two
// headers.
TEST_F(DownloadCli, ACutHeaderIsNeverCompletedWithTheNext) {
  const std::string spec = "samples=3000,tr=1,wrap=500,start=2026-03-01T10:00:00";
  SimProcess whole({"--synthetic", spec});
  ASSERT_TRUE(whole.Started()) << whole.Error();
  ASSERT_EQ(Download(whole).exitCode, 0);
  CDTDoc right;
  ASSERT_TRUE(LoadDataFile(Out(), right).ok);
  for (const char* bytes : {"27", "20", "29"}) {
    SCOPED_TRACE(bytes);
    std::filesystem::remove(Out());
    SimProcess sim({"--synthetic", spec, "--cut-header", bytes});
    ASSERT_TRUE(sim.Started()) << sim.Error();
    const ProgramRun run = Download(sim);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    CDTDoc saved;
    ASSERT_TRUE(LoadDataFile(Out(), saved).ok);
    EXPECT_EQ(saved.rmsStartTime, right.rmsStartTime);
    EXPECT_TRUE(saved.rmsCh1 == right.rmsCh1);
    EXPECT_EQ(saved.trTimes, right.trTimes);
  }
}

TEST_F(DownloadCli, ALoggerThatVanishesEndsTheDownloadAtOnce) {
  SimProcess sim({"--full", "--vanish-after-blocks", "100"});
  ASSERT_TRUE(sim.Started()) << sim.Error();
  // That the lost port ends it at once, not the 5 s watchdog, is shown on
  // the fake clock (DownloadFaultTest); here: the real port sees the loss.
  const ProgramRun run = Download(sim);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("Communication interruption!"), std::string::npos) << run.err;
  EXPECT_FALSE(std::filesystem::exists(Out()));
}

// A logger behind a slow link answers each block after the 900 ms
// re-request: the download waits for quiet lines and longer, and saves
// exactly the image, or ends with the message when a block never finishes.
TEST_F(DownloadCli, SlowLoggersGiveTheRightImageOrTheMessage) {
  for (const char* baud : {"9600", "4800"}) {
    SCOPED_TRACE(baud);
    const std::string dump = Home() + "/served.bin";
    SimProcess sim({"--synthetic", "samples=200,tr=1", "--baud", baud, "--dump-image", dump});
    ASSERT_TRUE(sim.Started()) << sim.Error();
    const ProgramRun run = Download(sim);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::vector<std::uint8_t> image;
    ASSERT_EQ(ReadWholeFile(dump, image, 1 << 20), "");
    DownloadHeader header;
    header.channelCount = 2;
    CDTDoc expected, saved;
    expected.hasCh1 = expected.hasCh2 = 1;
    ASSERT_TRUE(ParseMemoryImage(image, header, expected));
    ASSERT_TRUE(LoadDataFile(Out(), saved).ok);
    EXPECT_EQ(saved.rmsCount, 200);
    EXPECT_TRUE(saved.rmsCh1 == expected.rmsCh1);
    EXPECT_TRUE(saved.rmsCh2 == expected.rmsCh2);
    EXPECT_TRUE(saved.trWaves == expected.trWaves);
    std::filesystem::remove(Out());
  }

  SimProcess never({"--synthetic", "samples=200,tr=1", "--baud", "300"});
  ASSERT_TRUE(never.Started()) << never.Error();
  const ProgramRun run = Download(never);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("acvlogger-cli download: Communication interruption!"), std::string::npos)
      << run.err;
  EXPECT_FALSE(std::filesystem::exists(Out()));
}

TEST_F(DownloadCli, RefusalsExitWithTwo) {
  const std::vector<std::pair<std::string, std::string>> cases{
      {"--refuse-logging", "The DATA LOGGER is logging now!Please stop logging,and try again!"},
      {"--empty", "There is no data in DATALOGGER!"},
      {"--zero-bytes", "There is no data in DATALOGGER!"},
  };
  for (const auto& [option, message] : cases) {
    SimProcess sim({option});
    ASSERT_TRUE(sim.Started()) << sim.Error();
    const ProgramRun run = Download(sim);
    EXPECT_EQ(run.exitCode, 2) << option;
    EXPECT_NE(run.err.find(message), std::string::npos) << option << ": " << run.err;
    EXPECT_FALSE(std::filesystem::exists(Out())) << option;
  }
}

}  // namespace
}  // namespace acv::test
