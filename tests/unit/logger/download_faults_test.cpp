// Refusals, lost replies, silence, a vanishing port and garbled headers: the
// download ends with the right message and an abandoned one leaves the
// document exactly as it was.
#include <gtest/gtest.h>

#include "data/DataFile.h"
#include "download_fixture.h"

namespace acv::test {
namespace {

class DownloadFaultTest : public DownloadTest {
 protected:
  DownloadFaultTest() { doc = DocumentWithStoreData(); }

  // Header for a 1300-byte two-channel image (two whole blocks and a rest).
  void PrepareLogger(int total = 1300) {
    HeaderFields f;
    f.total = total;
    logger.header = EncodeHeader(f);
    logger.total = total;
    std::vector<std::uint8_t> image(static_cast<std::size_t>(total), 0x01);
    logger.Store(image, 0);
  }

  // A 1300-byte two-channel image whose items count up, behind the header
  // `f` (its total set here).
  void PrepareCountingLogger(HeaderFields f) {
    std::vector<std::uint8_t> image;
    for (int i = 0; image.size() < 1300; ++i) {
      PutS16(image, 2000 + i);
      PutS16(image, i);
    }
    image.resize(1300);
    f.total = 1300;
    logger.header = EncodeHeader(f);
    logger.total = f.total;
    logger.Store(image, f.start);
  }

  void ExpectAbandoned(const CDTDoc& before) {
    EXPECT_EQ(host.messages, std::vector<std::string>{kInterruptionMessage});
    EXPECT_EQ(host.failures, std::vector<std::string>{kInterruptionMessage});
    EXPECT_EQ(host.finished, 0);
    EXPECT_FALSE(host.progressOpen);
    EXPECT_EQ(link.transferActive, 0);
    EXPECT_FALSE(serial.PortOpen());
    EXPECT_FALSE(timers.IsActive(timer::kDownloadWatchdog));
    EXPECT_FALSE(timers.IsActive(timer::kBlockRetry));
    EXPECT_EQ(download.fullBlocks, -1);
    ExpectSameDocument(before, doc);
  }
};

TEST_F(DownloadFaultTest, RefusalsLeaveTheDownloadWaitingForAHeader) {
  const CDTDoc before = doc;
  std::vector<std::uint8_t> refusal(28, 0);
  refusal[0] = kLoggingRefusalCode;
  logger.header = refusal;
  StartDownload();
  clock.Advance(20000);
  EXPECT_EQ(host.messages, std::vector<std::string>{kLoggingNowMessage});
  EXPECT_EQ(host.failures, std::vector<std::string>{kLoggingNowMessage});
  EXPECT_TRUE(BlockRequests().empty());
  EXPECT_EQ(link.transferActive, 1);
  EXPECT_EQ(download.downloadState, kStateHeaderExpected);
  EXPECT_FALSE(timers.IsActive(timer::kDownloadWatchdog));
  ExpectSameDocument(before, doc);

  // n = 0: nothing stored; nothing else changes either.
  host.Reset();
  HeaderFields none;
  none.channels = 0;
  none.total = 4000;  // not read when n is 0
  logger.header = EncodeHeader(none);
  StartDownload();
  clock.Advance(20000);
  EXPECT_EQ(host.messages, std::vector<std::string>{kNoDataMessage});
  EXPECT_EQ(host.failures, std::vector<std::string>{kNoDataMessage});
  EXPECT_TRUE(BlockRequests().empty());
  EXPECT_EQ(link.transferActive, 1);
  EXPECT_FALSE(host.progressOpen);
  ExpectSameDocument(before, doc);
}

TEST_F(DownloadFaultTest, AnEmptyMemoryEndsTheTransferAndClosesThePort) {
  const CDTDoc before = doc;
  HeaderFields f;
  f.total = 0;
  f.start = 4096;
  logger.header = EncodeHeader(f);
  StartDownload();
  clock.Advance(20000);
  EXPECT_EQ(host.messages, std::vector<std::string>{kNoDataMessage});
  EXPECT_EQ(host.failures, std::vector<std::string>{kNoDataMessage});
  EXPECT_EQ(link.transferActive, 0);
  EXPECT_EQ(serial.RThreshold(), 1);
  EXPECT_FALSE(serial.PortOpen());
  EXPECT_EQ(download.downloadStart, 0);
  EXPECT_FALSE(host.progressOpen);
  EXPECT_TRUE(BlockRequests().empty());
  ExpectSameDocument(before, doc);
}

TEST_F(DownloadFaultTest, ALostBlockIsRequestedOnceMore) {
  PrepareLogger();
  logger.dropBlockReplies = {1};
  StartDownload();
  clock.Advance(20000);
  ASSERT_EQ(logger.requests.size(), 4u);
  EXPECT_EQ(logger.requests[1], logger.requests[2]);  // the same frame again
  EXPECT_EQ(logger.requests[2][2], 2);                // block 1
  EXPECT_EQ(host.finished, 1);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(doc.rmsCount, 325);
}

TEST_F(DownloadFaultTest, NoReRequestAfterAnEventOtherThanReceive) {
  const CDTDoc before = doc;
  PrepareLogger();
  logger.dropBlockReplies = {1};
  StartDownload();
  clock.Advance(50);
  serial.forcedEvent = kCommEventLineError;
  clock.Advance(20000);
  EXPECT_EQ(logger.requests.size(), 2u);
  ExpectAbandoned(before);
}

TEST_F(DownloadFaultTest, ASilentLoggerEndsInAnInterruption) {
  const CDTDoc before = doc;
  PrepareLogger();
  logger.silentBlocks = true;
  StartDownload();
  clock.Advance(4990);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_TRUE(host.progressOpen);
  EXPECT_EQ(logger.requests.size(), 2u);  // the request and its one repeat at 900 ms
  clock.Advance(20);
  ExpectAbandoned(before);
  clock.Advance(20000);
  EXPECT_EQ(host.messages.size(), 1u);
}

TEST_F(DownloadFaultTest, APortThatCannotBeReopenedEndsTheDownload) {
  const CDTDoc before = doc;
  PrepareLogger();
  logger.dropBlockReplies = {1};
  StartDownload();
  clock.Advance(50);
  serial.DenyPort(1);
  clock.Advance(1000);
  ExpectAbandoned(before);
  clock.Advance(20000);  // the watchdog does not report it a second time
  EXPECT_EQ(host.messages.size(), 1u);
}

TEST_F(DownloadFaultTest, AVanishingPortEndsItPromptlyAndTheNextDownloadWorks) {
  const CDTDoc before = doc;
  PrepareLogger();
  logger.dropBlockReplies = {1};
  StartDownload();
  clock.Advance(50);
  serial.RemovePort(1);
  clock.Advance(5);
  ExpectAbandoned(before);

  serial.AddPort(1);
  logger.dropBlockReplies.clear();
  host.Reset();
  StartDownload();
  clock.Advance(20000);
  EXPECT_EQ(host.finished, 1);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(doc.rmsCount, 325);
}

TEST_F(DownloadFaultTest, AGarbledHeaderIsNotBelieved) {
  const CDTDoc before = doc;
  for (auto [channels, total] : {std::pair{2, kLoggerMemoryBytes + 1}, {3, 1024}, {255, 1024}}) {
    SCOPED_TRACE(channels);
    host.Reset();
    HeaderFields f;
    f.channels = static_cast<std::uint8_t>(channels);
    f.total = total;
    logger.header = EncodeHeader(f);
    StartDownload();
    clock.Advance(20000);
    EXPECT_TRUE(BlockRequests().empty());
    EXPECT_EQ(download.downloadBuffer.capacity(), 0u);
    ExpectAbandoned(before);
  }
}

// Replies slower than the re-request, late or carrying bytes of another
// reply: only blocks that arrived cleanly are taken, so the download ends
// with exactly the image a prompt logger gives, or with the message.
TEST_F(DownloadFaultTest, LateSlowAndMixedRepliesNeverBecomeData) {
  PrepareCountingLogger(HeaderFields{});
  StartDownload();
  clock.Advance(20000);
  ASSERT_EQ(host.finished, 1);
  const std::vector<std::uint8_t> right = EncodeDataFile(doc);

  const std::map<int, int> everyReply{{0, 1}, {1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}};
  struct Case {
    const char* what;
    int msPerBlock;
    std::map<int, int> late;
    std::map<int, int> extra;
    bool completes;
  };
  for (const Case& c : {Case{"9600 baud", 530, {}, {}, true}, Case{"4800 baud", 1070, {}, {}, true},
                        Case{"3000 baud", 1700, {}, {}, true},
                        Case{"second block 1.2 s late", 0, {{1, 1200}}, {}, true},
                        Case{"second reply too long", 0, {}, {{1, 100}}, true},
                        Case{"a block never finishes", 20000, {}, {}, false},
                        Case{"every reply too long", 0, {}, everyReply, false}}) {
    SCOPED_TRACE(c.what);
    host.Reset();
    doc = DocumentWithStoreData();
    const CDTDoc before = doc;
    logger.msPerBlock = c.msPerBlock;
    logger.lateBlockReplies = c.late;
    logger.extraBytes = c.extra;
    logger.blockRequests = 0;
    StartDownload();
    clock.Advance(120000);
    if (c.completes) {
      EXPECT_EQ(host.finished, 1);
      EXPECT_TRUE(host.messages.empty());
      EXPECT_TRUE(EncodeDataFile(doc) == right) << "the image differs";
    } else {
      ExpectAbandoned(before);
      EXPECT_LE(logger.blockRequests, kMaxBlockRequests);
    }
  }
}

// A header cut short is never completed with bytes of the next one (of the
// answer to the repeated start frame, or of one sent unasked after a pause),
// and a byte too many goes with it: the download ends with the data and the
// start time a whole header gives. The memory has wrapped, so every byte of
// the header counts.
TEST_F(DownloadFaultTest, AHeaderIsTakenOnlyWhole) {
  HeaderFields f;
  f.start = 700 * kMemoryBlockSize;
  f.rawCountA = 0x012345;
  f.rawCountB = 0x0ABCDE;
  PrepareCountingLogger(f);
  StartDownload();
  clock.Advance(20000);
  ASSERT_EQ(host.finished, 1);
  const std::vector<std::uint8_t> right = EncodeDataFile(doc);

  struct Case {
    std::size_t firstAnswerBytes;
    int wholeHeaderAfterMs;  // unasked; 0: none
  };
  for (const Case c : {Case{27, 0}, Case{14, 0}, Case{1, 0}, Case{29, 0}, Case{20, 300}}) {
    SCOPED_TRACE(c.firstAnswerBytes);
    host.Reset();
    doc = DocumentWithStoreData();
    logger.headerRequests = 0;
    logger.headerBytes = {{0, c.firstAnswerBytes}};
    StartDownload();
    if (c.wholeHeaderAfterMs > 0) {
      clock.Post(c.wholeHeaderAfterMs, [this] { serial.Feed(logger.header); });
    }
    clock.Advance(20000);
    EXPECT_EQ(host.finished, 1);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_TRUE(EncodeDataFile(doc) == right) << "the data or the start time differ";
  }
}

TEST_F(DownloadFaultTest, AShortBlockIsNeverReadPast) {
  const CDTDoc before = doc;
  PrepareLogger();
  logger.silentBlocks = true;
  StartDownload();
  clock.Advance(10);
  ASSERT_EQ(download.downloadState, kStateWholeBlocks);
  const std::vector<std::uint8_t> stub(100, 0x22);
  download.OnReply(stub);
  EXPECT_EQ(download.bytesReceived, 0);
  EXPECT_TRUE(timers.IsActive(timer::kDownloadWatchdog));

  // A whole block goes in; a short final one does not.
  const std::vector<std::uint8_t> whole(512, 0x33);
  download.OnReply(whole);
  download.OnReply(whole);
  ASSERT_EQ(download.downloadState, kStateFinalBlock);
  download.OnReply(std::span(stub).first(275));
  EXPECT_EQ(download.bytesReceived, 1024);
  ExpectSameDocument(before, doc);
  download.OnReply(std::span(whole).first(276));
  EXPECT_EQ(host.finished, 1);
  EXPECT_EQ(doc.rmsCount, 325);
}

}  // namespace
}  // namespace acv::test
