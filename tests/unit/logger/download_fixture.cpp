#include "download_fixture.h"

#include <algorithm>

#include "data/DataFile.h"

namespace acv::test {

namespace {

void PutU24(std::vector<std::uint8_t>& out, int value) {
  out.push_back(static_cast<std::uint8_t>(value >> 16));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
  out.push_back(static_cast<std::uint8_t>(value));
}

}  // namespace

void PutS16(std::vector<std::uint8_t>& out, int value) {
  const auto v = static_cast<std::uint16_t>(static_cast<std::int16_t>(value));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
  out.push_back(static_cast<std::uint8_t>(v));
}

std::vector<std::uint8_t> EncodeHeader(const HeaderFields& f) {
  std::vector<std::uint8_t> h{kDownloadHeaderCode, f.channels, f.ch1Kind, f.ch2Kind};
  PutU24(h, f.total);
  PutU24(h, f.start);
  h.push_back(f.intervalUnit);
  h.push_back(f.intervalValue);
  PutS16(h, f.rise);
  PutS16(h, f.drop);
  h.insert(h.end(), f.bcdTime.begin(), f.bcdTime.end());
  PutU24(h, f.rawCountA);
  PutU24(h, f.rawCountB);
  return h;
}

void PutTrRecord(std::vector<std::uint8_t>& out, std::uint8_t unit, std::uint8_t channel,
                 const std::array<std::uint8_t, 6>& bcdTime, int firstSample) {
  out.push_back(kTrMarkerHigh);
  out.push_back(kTrMarkerLow);
  out.push_back(unit);
  out.push_back(channel);
  out.insert(out.end(), bcdTime.begin(), bcdTime.end());
  for (int s = 0; s < kTrWavePoints; ++s) PutS16(out, firstSample + s);
}

void ScriptedLogger::Store(const std::vector<std::uint8_t>& image, int start) {
  const std::size_t base = static_cast<std::size_t>(start / kMemoryBlockSize) * kMemoryBlockSize;
  for (std::size_t i = 0; i < image.size(); ++i) memory[(base + i) % memory.size()] = image[i];
}

DownloadTest::DownloadTest() {
  serial.AddPort(1);
  serial.SetCommPort(1);
  link.portNumber = 1;
  link.loggerFound = 1;
  link.AttachDownload(&download);
  serial.SetResponder([this](int, std::span<const std::uint8_t> bytes) {
    if (bytes.size() != 8) return;
    if (bytes[0] == kCmdDownloadStart) {
      std::vector<std::uint8_t> reply = logger.header;
      const auto cut = logger.headerBytes.find(logger.headerRequests++);
      if (cut != logger.headerBytes.end()) reply.resize(cut->second, 0x5A);
      serial.Feed(reply);
      return;
    }
    if (bytes[0] != kCmdBlockRequest) return;
    const int number = logger.blockRequests++;
    logger.requests.emplace_back(bytes.begin(), bytes.end());
    logger.thresholdAtRequest.push_back(serial.RThreshold());
    if (logger.silentBlocks || logger.dropBlockReplies.count(number) != 0) return;
    const int block = ((bytes[1] << 8) | bytes[2]) / 2;
    const int length =
        bytes[3] == kBlockFillPartial ? logger.total % kMemoryBlockSize : kMemoryBlockSize;
    const auto from = logger.memory.begin() + block * kMemoryBlockSize;
    std::vector<std::uint8_t> reply(from, from + length);
    if (auto extra = logger.extraBytes.find(number); extra != logger.extraBytes.end())
      reply.insert(reply.end(), static_cast<std::size_t>(extra->second), 0x5A);
    if (auto late = logger.lateBlockReplies.find(number); late != logger.lateBlockReplies.end()) {
      clock.Post(late->second, [this, reply] { serial.Feed(reply); });
      return;
    }
    if (logger.msPerBlock == 0) {
      serial.Feed(reply);
      return;
    }
    constexpr std::size_t kPieces = 32;
    const std::size_t piece = (reply.size() + kPieces - 1) / kPieces;
    for (std::size_t at = 0, k = 1; at < reply.size(); at += piece, ++k) {
      std::vector<std::uint8_t> part(
          reply.begin() + static_cast<long>(at),
          reply.begin() + static_cast<long>(std::min(reply.size(), at + piece)));
      clock.Post(static_cast<std::int64_t>(logger.msPerBlock * k / kPieces),
                 [this, part] { serial.Feed(part); });
    }
  });
}

void DownloadTest::StartDownload() {
  link.downloadMode = 1;
  link.realTimeMode = 0;
  link.StartTransfer();
}

void DownloadTest::RunDownload(const HeaderFields& fields, const std::vector<std::uint8_t>& image) {
  logger.header = EncodeHeader(fields);
  logger.total = fields.total;
  logger.Store(image, fields.start);
  StartDownload();
  clock.Advance(20000);
}

std::vector<std::vector<std::uint8_t>> DownloadTest::BlockRequests() const {
  std::vector<std::vector<std::uint8_t>> out;
  for (const auto& w : serial.writes)
    if (w.bytes.size() == 8 && w.bytes[0] == 0xD8) out.push_back(w.bytes);
  return out;
}

void ExpectSameDocument(const CDTDoc& a, const CDTDoc& b) {
  // The data file holds the whole STORE family with its descriptions.
  EXPECT_TRUE(EncodeDataFile(a) == EncodeDataFile(b)) << "the STORE data changed";
  EXPECT_EQ(a.formatTag, b.formatTag);
  EXPECT_EQ(a.rtRms.size(), b.rtRms.size());
}

CDTDoc DocumentWithStoreData() {
  CDTDoc d;
  d.rmsCh1 = {1.5f, 2.5f, 3.5f};
  d.rmsCh2 = {0.1f, 0.2f, 0.3f};
  d.rmsCount = 3;
  d.hasCh1 = d.hasCh2 = 1;
  d.rmsUnitCh1 = "V";
  d.rmsUnitCh2 = "A";
  d.rmsInterval = 60.0f;
  d.riseLevel = 7.0f;
  d.dropLevel = -7.0f;
  d.rmsStartTime = 1700000000;
  d.trCount = 1;
  d.trWaves.assign(kTrWavePoints, 4.0f);
  d.trTimes = {1700000100};
  d.trUnit = {kUnitVolt};
  d.trChannel = {kChannel1};
  d.rmsMaxTextCh1 = "3.5 V @old";
  d.rmsMinTextCh1 = "1.5V @old";
  d.rmsMaxTextCh2 = "0.3 A @old";
  d.rmsMinTextCh2 = "0.1A @old";
  d.formatTag = kTagStore;
  d.readTag = kTagStore;
  d.rtRms = {{230.0f, 1.0f}};
  d.rtCount = 1;
  return d;
}

}  // namespace acv::test
