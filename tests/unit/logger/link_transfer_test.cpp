// The link's part in transfers and commands: StartTransfer and the one
// repeat of the first frame, the reply dispatcher in every state, reception
// events, and sending command frames.
#include "link_fixture.h"

namespace acv::test::linktest {
namespace {

class TransferTest : public LinkTest {
 protected:
  StubTransfer realTime{link, 0xC8, 2365};
  StubTransfer download{link, 0x68, 28};

  void SetUp() override {
    serial.AddPort(2);
    link.portNumber = 2;
    serial.SetCommPort(2);
    link.AttachRealTime(&realTime);
    link.AttachDownload(&download);
  }
  void Start(bool realTimeRun) {
    link.realTimeMode = realTimeRun ? 1 : 0;
    link.downloadMode = realTimeRun ? 0 : 1;
    link.realTimeStopped = realTimeRun ? 0 : 1;
    link.StartTransfer();
  }
};

TEST_F(TransferTest, StartTransferSendsTheSelectedFirstFrameAndArmsItsRepeat) {
  Start(true);
  EXPECT_EQ(download.clears, 1);  // the download counters are cleared for every start
  EXPECT_EQ(realTime.prepares, 1);
  EXPECT_EQ(download.prepares, 0);
  EXPECT_EQ(serial.RThreshold(), 2365);
  EXPECT_TRUE(link.transferActive);
  EXPECT_TRUE(serial.PortOpen());
  ASSERT_EQ(serial.writes.size(), 1u);
  EXPECT_EQ(serial.writes[0].bytes, Bytes(8, 0xC8));
  EXPECT_EQ(timers.PeriodOf(timer::kFirstFrameRepeat), 500);

  link.realTimeMode = 0;
  Start(false);
  EXPECT_EQ(download.clears, 2);
  EXPECT_EQ(serial.RThreshold(), 28);
  ASSERT_EQ(serial.writes.size(), 2u);
  EXPECT_EQ(serial.writes[1].bytes, Bytes(8, 0x68));
}

TEST_F(TransferTest, TheFirstFrameIsRepeatedExactlyOnceWhenNoReplyCame) {
  Start(false);
  clock.Advance(499);
  EXPECT_EQ(serial.writes.size(), 1u);
  clock.Advance(1);
  ASSERT_EQ(serial.writes.size(), 2u);
  EXPECT_EQ(serial.writes[1].bytes, Bytes(8, 0x68));
  EXPECT_FALSE(timers.IsActive(timer::kFirstFrameRepeat));
  clock.Advance(10000);
  EXPECT_EQ(serial.writes.size(), 2u);
}

TEST_F(TransferTest, NoRepeatAfterAReplyOrOnAClosedPort) {
  Start(false);
  serial.Feed(Bytes(28, 0xDD));
  clock.Advance(1000);
  EXPECT_EQ(serial.writes.size(), 1u);

  Start(true);
  link.ClosePort();
  clock.Advance(1000);
  EXPECT_EQ(serial.writes.size(), 2u);
}

TEST_F(TransferTest, ADownloadReplyIsMarkedSeenAndStopsTheRepeatBeforeTheHandlerRuns) {
  Start(false);
  serial.Feed(Bytes(28, 0xDD));
  clock.RunDue();
  ASSERT_EQ(download.replies.size(), 1u);
  EXPECT_EQ(download.replies[0], Bytes(28, 0xDD));
  EXPECT_EQ(download.replySeenAtReply[0], 1);
  EXPECT_FALSE(download.repeatArmedAtReply[0]);
}

TEST_F(TransferTest, AcknowledgementBytesDuringATransferBelongToTheTransfer) {
  for (bool realTimeRun : {true, false}) {
    Start(realTimeRun);
    serial.SetRThreshold(1);
    for (std::uint8_t b : {kAckOk, kAckPressStart, kProbeAnswer}) {
      serial.Feed({b});
      clock.RunDue();
    }
    const StubTransfer& handler = realTimeRun ? realTime : download;
    ASSERT_EQ(handler.replies.size(), 3u);
    EXPECT_EQ(handler.replies[1], Bytes{kAckPressStart});
  }
  EXPECT_TRUE(host.acks.empty());
  EXPECT_TRUE(host.messages.empty());
  EXPECT_FALSE(link.portAnswered);
}

TEST_F(TransferTest, IdleRepliesAcknowledgeCloseThePortOrAreIgnored) {
  serial.SetPortOpen(true);
  serial.Feed({0x55});  // not a reply of this state
  clock.RunDue();
  EXPECT_TRUE(serial.PortOpen());
  EXPECT_TRUE(host.acks.empty());

  serial.Feed({kAckOk});
  clock.RunDue();
  EXPECT_FALSE(serial.PortOpen());
  EXPECT_EQ(host.acks, std::vector<bool>{false});
  EXPECT_TRUE(host.messages.empty());

  serial.SetPortOpen(true);
  serial.Feed({kAckPressStart});
  clock.RunDue();
  EXPECT_FALSE(serial.PortOpen());
  EXPECT_EQ(host.acks, (std::vector<bool>{false, true}));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0],
            "To start logging, press the START button on the DATA LOGGER for three seconds");
  EXPECT_EQ(host.icons[0], MessageIcon::Information);
  EXPECT_TRUE(realTime.replies.empty());
  EXPECT_TRUE(download.replies.empty());
}

TEST_F(TransferTest, ALostPortReachesTheRunningTransferOnly) {
  serial.SetPortOpen(true);
  serial.RemovePort(2);
  clock.RunDue();
  EXPECT_EQ(realTime.portLost + download.portLost, 0);

  serial.AddPort(2);
  Start(true);
  serial.RemovePort(2);
  clock.RunDue();
  EXPECT_EQ(realTime.portLost, 1);
  EXPECT_EQ(download.portLost, 0);
  EXPECT_TRUE(realTime.replies.empty());
}

TEST_F(TransferTest, OtherReceiveEventsDiscardTheInput) {
  Start(true);  // threshold 2365: a few bytes stay buffered
  serial.Feed({0x3F, 0x3F, 0x01});
  clock.RunDue();
  ASSERT_EQ(serial.Buffered(), 3u);
  serial.RaiseEvent(kCommEventLineError);
  clock.RunDue();
  EXPECT_EQ(serial.Buffered(), 0u);
  EXPECT_TRUE(realTime.replies.empty());
}

TEST_F(TransferTest, TransferTimersAreForwardedToTheirOwner) {
  download.ownedTimers = {timer::kBlockRetry, timer::kDownloadWatchdog};
  realTime.ownedTimers = {timer::kRealTimeWatchdog};
  timers.Start(timer::kBlockRetry, 900);
  timers.Start(timer::kRealTimeWatchdog, 1000);
  clock.Advance(1000);
  EXPECT_EQ(download.firedTimers, std::vector<int>{timer::kBlockRetry});
  EXPECT_EQ(realTime.firedTimers, std::vector<int>{timer::kRealTimeWatchdog});
}

TEST_F(TransferTest, ACommandFrameOpensThePortAndAFailedOneLeavesItClosed) {
  link.loggerFound = 1;
  timers.Start(timer::kKeepAlive, 3000);
  link.commandFrame = {0xAA, 0x10, 0x10, 0x0A, 0x01, 0xF4, 0x00, 0x64};
  link.SendCommandFrame();
  EXPECT_FALSE(timers.IsActive(timer::kKeepAlive));
  ASSERT_EQ(serial.writes.size(), 1u);
  EXPECT_EQ(serial.writes[0].bytes, (Bytes{0xAA, 0x10, 0x10, 0x0A, 0x01, 0xF4, 0x00, 0x64}));

  link.ClosePort();
  serial.RemovePort(2);
  link.SendCommandFrame();  // must not throw
  EXPECT_FALSE(serial.PortOpen());
  EXPECT_EQ(serial.writes.size(), 1u);
}

}  // namespace
}  // namespace acv::test::linktest
