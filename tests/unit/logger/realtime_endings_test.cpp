// How a real-time run ends other than by its point count: a silent logger,
// a vanished port, no channel, a changed channel, the Stop command; and that
// a new run starts clean after any of them.
#include <filesystem>

#include "data/DataFile.h"
#include "realtime_fixture.h"

namespace acv::test {
namespace {

TEST_F(RealTimeTest, WatchdogEndsASilentRunWithoutStopFrame) {
  maxAnswers = 1;  // the logger answers the first request only
  Start(2, 100);
  clock.Advance(10500);
  // The first watchdog period saw a block: the run goes on.
  EXPECT_TRUE(host.ends.empty());
  clock.Advance(10000);  // the second period saw none
  ASSERT_EQ(host.ends, (std::vector<RunEnd>{RunEnd::Silent}));
  EXPECT_EQ(doc.rtCount, 10);  // ticks at 0.01, 2.01 ... 18.01 s
  EXPECT_EQ(StopFrames(), 0);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_FALSE(serial.PortOpen());
  EXPECT_EQ(link.realTimeStopped, 1);
  for (int id : {timer::kFirstFrameRepeat, timer::kRealTimeWatchdog, timer::kSamplingTick,
                 timer::kRealTimeRepeat})
    EXPECT_FALSE(timers.IsActive(id)) << id;

  CDTDoc loaded;
  ASSERT_TRUE(LoadPreviousMeasurement(previousPath, loaded).ok);
  EXPECT_EQ(loaded.rtCount, 10);
}

TEST_F(RealTimeTest, LoggerThatNeverAnswersEndsTheRun) {
  answerRequests = false;
  Start(2, 100);
  clock.Advance(9900);
  EXPECT_EQ(link.realTimeStopped, 0);
  EXPECT_EQ(Requests(), 2);  // the first frame and its one repeat
  clock.Advance(200);
  EXPECT_EQ(host.ends, (std::vector<RunEnd>{RunEnd::Silent}));
  EXPECT_EQ(link.realTimeStopped, 1);
  // Nothing was measured: the previous measurement is not overwritten.
  EXPECT_FALSE(std::filesystem::exists(previousPath));
}

TEST_F(RealTimeTest, PortLostMidRunKeepsThePoints) {
  Start(2, 100);
  clock.Advance(4100);
  ASSERT_EQ(doc.rtCount, 3);
  serial.RemovePort(1);
  clock.RunDue();
  EXPECT_EQ(host.ends, (std::vector<RunEnd>{RunEnd::Silent}));
  EXPECT_EQ(doc.rtCount, 3);
  EXPECT_EQ(link.realTimeStopped, 1);
  EXPECT_EQ(StopFrames(), 0);
  EXPECT_TRUE(std::filesystem::exists(previousPath));
  clock.Advance(30000);
  EXPECT_EQ(host.ends.size(), 1u);
}

TEST_F(RealTimeTest, NoChannel) {
  content.flag = 0;
  Start(2, 100);
  clock.Advance(100);
  EXPECT_EQ(host.messages, (std::vector<std::string>{kNoChannelMessage}));
  EXPECT_EQ(host.ends, (std::vector<RunEnd>{RunEnd::NoChannel}));
  EXPECT_TRUE(host.firstBlocks.empty());
  EXPECT_EQ(doc.rtCount, 0);
  EXPECT_EQ(StopFrames(), 1);
  EXPECT_FALSE(std::filesystem::exists(previousPath));
}

TEST_F(RealTimeTest, BothChannelsOffCountsAsNoChannel) {
  content.kind1 = kKindOff;
  content.kind2 = kKindOff;
  Start(2, 100);
  clock.Advance(100);
  EXPECT_EQ(host.messages, (std::vector<std::string>{kNoChannelMessage}));
  EXPECT_EQ(host.ends, (std::vector<RunEnd>{RunEnd::NoChannel}));
  EXPECT_EQ(doc.rtCount, 0);
}

TEST_F(RealTimeTest, ChannelChangeStopsAndRestoresThePresence) {
  nextBlock = [this](int answer) {
    BlockContent s = content;
    if (answer >= 2) s.kind2 = kKindOff;  // CH2 unplugged after the first block
    return s;
  };
  Start(2, 100);
  clock.Advance(5100);
  EXPECT_EQ(host.messages, (std::vector<std::string>{kChannelChangedMessage}));
  EXPECT_EQ(host.ends, (std::vector<RunEnd>{RunEnd::ChannelChanged}));
  EXPECT_EQ(doc.rtHasCh2, 1);  // the run's points still describe CH2
  EXPECT_EQ(doc.rtCount, 3);
  EXPECT_EQ(StopFrames(), 1);
  CDTDoc loaded;
  ASSERT_TRUE(LoadPreviousMeasurement(previousPath, loaded).ok);
  EXPECT_EQ(loaded.rtCount, 3);
  EXPECT_EQ(loaded.rtHasCh2, 1);
}

TEST_F(RealTimeTest, UnitChangeCountsAsChannelChange) {
  // A current clamp swapped for a voltage lead would relabel every point
  // taken so far.
  nextBlock = [this](int answer) {
    BlockContent s = content;
    if (answer >= 2) s.kind2 = kKindVoltage;
    return s;
  };
  Start(2, 100);
  clock.Advance(5100);
  EXPECT_EQ(host.ends, (std::vector<RunEnd>{RunEnd::ChannelChanged}));
  EXPECT_EQ(doc.rtUnitCh2, "A");
  EXPECT_EQ(doc.rtCount, 3);
}

TEST_F(RealTimeTest, StopCommand) {
  Start(2, 100);
  clock.Advance(2100);
  ASSERT_EQ(doc.rtCount, 2);
  run.StopRealTime(RunEnd::Stopped);
  EXPECT_EQ(host.ends, (std::vector<RunEnd>{RunEnd::Stopped}));
  EXPECT_TRUE(LastWriteIsStop());
  EXPECT_TRUE(std::filesystem::exists(previousPath));
  // Stopping what is already stopped does nothing.
  run.StopRealTime(RunEnd::Stopped);
  EXPECT_EQ(host.ends.size(), 1u);
  EXPECT_EQ(StopFrames(), 1);
  clock.Advance(20000);
  EXPECT_EQ(doc.rtCount, 2);
}

TEST_F(RealTimeTest, UnwritablePreviousMeasurementIsReported) {
  std::filesystem::create_directories(previousPath);  // a folder where the file should go
  Start(2, 100);
  clock.Advance(100);
  run.StopRealTime(RunEnd::Stopped);
  EXPECT_FALSE(run.saveError.empty());
  EXPECT_EQ(host.ends, (std::vector<RunEnd>{RunEnd::Stopped}));
}

TEST_F(RealTimeTest, NewRunStartsClean) {
  Start(2, 2);
  clock.Advance(5000);
  ASSERT_EQ(host.ends.size(), 1u);
  ASSERT_FALSE(doc.rtRmsMaxText[1].empty());

  content.kind2 = kKindOff;
  Start(2, 7);
  clock.Advance(100);
  EXPECT_EQ(host.firstBlocks.size(), 2u);
  EXPECT_EQ(doc.rtCount, 1);
  EXPECT_EQ(doc.rtRms.size(), 7u);
  // Extremes of the earlier run are not shown for a channel this run lacks.
  EXPECT_TRUE(doc.rtRmsMaxText[1].empty());
  EXPECT_TRUE(doc.rtSMaxText.empty());
  EXPECT_FALSE(doc.rtRmsMaxText[0].empty());
}

}  // namespace
}  // namespace acv::test
