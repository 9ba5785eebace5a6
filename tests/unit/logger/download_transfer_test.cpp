// A download from the 0x68 frame to the finished document, against the
// scripted logger on the fake port and clock.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "download_fixture.h"

namespace acv::test {
namespace {

using Frame = std::vector<std::uint8_t>;

Frame BlockFrame(int addressHigh, int addressLow, std::uint8_t fill) {
  return {0xD8,
          static_cast<std::uint8_t>(addressHigh),
          static_cast<std::uint8_t>(addressLow),
          fill,
          fill,
          fill,
          fill,
          fill};
}

// Two-channel items whose values tell their position.
std::vector<std::uint8_t> TwoChannelImage(int bytes) {
  std::vector<std::uint8_t> image;
  for (int i = 0; static_cast<int>(image.size()) < bytes; ++i) {
    PutS16(image, 2000 + i % 500);
    PutS16(image, i % 300);
  }
  image.resize(static_cast<std::size_t>(bytes));
  return image;
}

struct BlockCase {
  int total;
  int start;
  std::vector<Frame> frames;    // the D8 requests, in order
  std::vector<int> thresholds;  // the receive threshold at each request
  std::vector<int> progress;    // positions shown, from the opening on
};

TEST_F(DownloadTest, BlocksRequestedForEachSize) {
  const std::vector<BlockCase> cases{
      // One partial block: fill 0x01, threshold = the whole image.
      {300, 5 * 512 + 17, {BlockFrame(0, 0x0A, 0x01)}, {300}, {1, 1, 1}},
      // Two whole blocks and no partial request.
      {1024, 0, {BlockFrame(0, 0, 0xFF), BlockFrame(0, 2, 0xFF)}, {512, 512}, {1, 2, 3, 3}},
      // Two whole blocks, then the 276-byte rest.
      {1300,
       512,
       {BlockFrame(0, 2, 0xFF), BlockFrame(0, 4, 0xFF), BlockFrame(0, 6, 0x01)},
       {512, 512, 276},
       {1, 2, 3, 3}},
      // Block 1023 is followed by block 0.
      {1024,
       1023 * 512,
       {BlockFrame(0x07, 0xFE, 0xFF), BlockFrame(0, 0, 0xFF)},
       {512, 512},
       {1, 2, 3, 3}},
  };
  for (const BlockCase& c : cases) {
    SCOPED_TRACE(c.total);
    serial.writes.clear();
    logger = ScriptedLogger{};
    host.Reset();
    HeaderFields f;
    f.total = c.total;
    f.start = c.start;
    RunDownload(f, TwoChannelImage(c.total));
    EXPECT_EQ(BlockRequests(), c.frames);
    EXPECT_EQ(logger.thresholdAtRequest, c.thresholds);
    EXPECT_EQ(host.progressRange, c.total / 512 + 1);
    EXPECT_EQ(host.progressPositions, c.progress);
    ASSERT_EQ(host.finished, 1);
    ASSERT_EQ(doc.rmsCount, c.total / 4);
    const int last = doc.rmsCount - 1;  // the image arrived whole and in ring order
    EXPECT_FLOAT_EQ(doc.rmsCh1[last], (2000 + last % 500) * 0.1f);
    EXPECT_FLOAT_EQ(doc.rmsCh2[last], (last % 300) * 0.1f);
  }
}

TEST_F(DownloadTest, ProgressOfAThousandBytesStartsAtOneOfTwo) {
  HeaderFields f;
  f.total = 1000;
  logger.header = EncodeHeader(f);
  logger.silentBlocks = true;
  StartDownload();
  clock.Advance(10);
  EXPECT_TRUE(host.progressOpen);
  EXPECT_EQ(host.progressRange, 2);
  EXPECT_EQ(host.progressPositions, std::vector<int>{1});
}

TEST_F(DownloadTest, CompletionReplacesTheStoreDataAndEndsTheTransfer) {
  doc = DocumentWithStoreData();
  const auto path = std::filesystem::temp_directory_path() /
                    ("acv_download_prev_" + std::to_string(::getpid()) + ".stdata");
  std::filesystem::remove(path);
  Download saving{link, doc, host, path.string()};
  link.AttachDownload(&saving);

  std::vector<std::uint8_t> image;
  PutS16(image, 2305);
  PutTrRecord(image, kUnitVolt, kChannel1, {0x26, 0x02, 0x03, 0x10, 0x00, 0x05}, 7);
  PutS16(image, 2298);
  HeaderFields f;
  f.channels = 1;
  f.ch1Kind = kKindVoltage;
  f.ch2Kind = kKindOff;
  f.total = static_cast<int>(image.size());
  f.intervalUnit = kIntervalHours;
  f.intervalValue = 1;
  f.rise = 450;
  f.drop = -20;
  RunDownload(f, image);

  ASSERT_EQ(host.finished, 1);
  EXPECT_EQ(doc.formatTag, kTagStore);
  EXPECT_EQ(doc.hasCh2, 0);
  EXPECT_TRUE(doc.rmsCh2.empty());
  EXPECT_EQ(doc.rmsCh1, (std::vector<float>{230.5f, 229.8f}));
  EXPECT_EQ(doc.trCount, 1);
  EXPECT_EQ(doc.rmsInterval, 3600.0f);
  EXPECT_EQ(doc.riseLevel, 450.0f);
  EXPECT_EQ(doc.dropLevel, -20.0f);
  EXPECT_EQ(doc.rmsMaxTextCh1, "230.5 V @03/02/26 10:00:00");
  EXPECT_EQ(doc.rmsMinTextCh1, "229.8V @03/02/26 11:00:00");
  EXPECT_EQ(doc.rtRms.size(), 1u);  // the REAL TIME family stays

  EXPECT_EQ(link.transferActive, 0);
  EXPECT_EQ(saving.downloadState, kStateHeaderExpected);
  EXPECT_EQ(saving.fullBlocks, -1);
  EXPECT_FALSE(serial.PortOpen());
  EXPECT_EQ(serial.RThreshold(), 1);
  EXPECT_FALSE(timers.IsActive(timer::kDownloadWatchdog));
  EXPECT_FALSE(timers.IsActive(timer::kBlockRetry));
  EXPECT_GE(serial.lowLatencyRequests, 1);
  EXPECT_GT(std::filesystem::file_size(path), 56u);  // the previous measurement
  std::filesystem::remove(path);
}

TEST_F(DownloadTest, AFullWrappedMemory) {
  HeaderFields f;
  f.total = kLoggerMemoryBytes;
  f.start = 600 * 512;
  RunDownload(f, TwoChannelImage(kLoggerMemoryBytes));
  clock.Advance(60000);
  ASSERT_EQ(host.finished, 1);
  EXPECT_EQ(logger.blockRequests, 1024);
  EXPECT_EQ(doc.rmsCount, kLoggerMemoryBytes / 4);
  EXPECT_FLOAT_EQ(doc.rmsCh2[131071], (131071 % 300) * 0.1f);
  EXPECT_EQ(host.progressPositions.back(), 1025);
}

}  // namespace
}  // namespace acv::test
