#pragma once
// A real-time run under test: the link and the run on the fake clock and fake
// port, with a scripted logger that answers every 0xC8 x 8 request with one
// 2365-byte block built from the test's waveforms.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <numbers>
#include <span>
#include <string>
#include <vector>

#include "data/CDTDoc.h"
#include "logger/CommandBuilders.h"
#include "logger/LinkHost.h"
#include "logger/LoggerLink.h"
#include "logger/MemoryImage.h"
#include "logger/RealTimeRun.h"
#include "support/FakeClock.h"
#include "support/FakeSerialControl.h"

namespace acv::test {

// A sine with its zero crossing (going negative) at sample zeroAt; the
// period is given in samples of the real-time wave.
inline std::vector<int> SineWave(double peak, double periodSamples, double zeroAt = 10.5) {
  std::vector<int> w(kEpaPoints);
  for (int i = 0; i < kEpaPoints; ++i) {
    w[i] = static_cast<int>(
        std::lround(-peak * std::sin(2 * std::numbers::pi * (i - zeroAt) / periodSamples)));
  }
  return w;
}

// Samples per period of a frequency in Hz.
inline double PeriodOf(double hz) {
  return 1.0 / (hz * kEpaSampleMs / 1000.0);
}

struct BlockContent {
  std::uint8_t flag = 1;
  std::uint8_t kind1 = kKindVoltage;
  std::uint8_t kind2 = kKindCurrent;
  std::vector<int> ch1 = SineWave(1000, PeriodOf(50));
  std::vector<int> ch2 = SineWave(300, PeriodOf(50));
};

inline std::vector<std::uint8_t> MakeBlock(const BlockContent& s) {
  std::vector<std::uint8_t> b(kRealTimeBlockSize, 0);
  b[0] = b[1] = kRealTimeBlockMark;
  b[2] = s.flag;
  b[3] = s.kind1;
  b[4] = s.kind2;
  for (int i = 0; i < kEpaPoints; ++i) {
    const auto v1 = static_cast<std::uint16_t>(static_cast<std::int16_t>(s.ch1[i]));
    const auto v2 = static_cast<std::uint16_t>(static_cast<std::int16_t>(s.ch2[i]));
    b[5 + 4 * i] = static_cast<std::uint8_t>(v1 >> 8);
    b[6 + 4 * i] = static_cast<std::uint8_t>(v1 & 0xFF);
    b[7 + 4 * i] = static_cast<std::uint8_t>(v2 >> 8);
    b[8 + 4 * i] = static_cast<std::uint8_t>(v2 & 0xFF);
  }
  return b;
}

class RealTimeHost : public LinkHost {
 public:
  explicit RealTimeHost(FakeClock& clock) : clock_(clock) {}
  std::vector<ConnectionDialog*> OpenDialogs() override { return {}; }
  void ShowMessage(const std::string& text, MessageIcon) override { messages.push_back(text); }
  bool ProgressWindowOpen() const override { return false; }
  void ProgressOpen(int, int) override {}
  void ProgressSet(int) override {}
  void ProgressClose() override {}
  void RealTimeFirstBlock() override { firstBlocks.push_back(clock_.Now()); }
  void RealTimePointAdded() override { pointTimes.push_back(clock_.Now()); }
  void RealTimeEnded(RunEnd why) override { ends.push_back(why); }
  void RealTimeJournalFailed(const std::string& problem) override {
    journalProblems.push_back(problem);
  }

  std::vector<std::string> messages;
  std::vector<std::int64_t> firstBlocks;  // clock times of RealTimeFirstBlock
  std::vector<std::int64_t> pointTimes;   // clock times of RealTimePointAdded
  std::vector<RunEnd> ends;
  std::vector<std::string> journalProblems;

 private:
  FakeClock& clock_;
};

class RealTimeTest : public ::testing::Test {
 protected:
  RealTimeTest() {
    serial.AddPort(1);
    link.AttachRealTime(&run);
    serial.SetResponder([this](int, std::span<const std::uint8_t> bytes) {
      if (!IsRequest(bytes)) return;
      ++requestsSeen;
      if (answerRequests && (maxAnswers < 0 || answered < maxAnswers)) {
        ++answered;
        std::vector<std::uint8_t> block = MakeBlock(nextBlock ? nextBlock(answered) : content);
        if (auto cut = answerBytes.find(answered); cut != answerBytes.end()) {
          block.resize(cut->second, 0x5A);
        }
        serial.Feed(block);
      }
    });
  }
  ~RealTimeTest() override {
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }

  // What the connect dialog's RUN does.
  void Start(int interval, int points) {
    doc.rtInterval = interval;
    run.realTimePoints = points;
    link.realTimeMode = 1;
    link.downloadMode = 0;
    link.StartTransfer();
  }

  static bool IsRequest(std::span<const std::uint8_t> bytes) {
    const CommandFrame f = RealTimeStartFrame();
    return std::equal(bytes.begin(), bytes.end(), f.begin(), f.end());
  }
  static bool IsStop(std::span<const std::uint8_t> bytes) {
    const CommandFrame f = RealTimeStopFrame();
    return std::equal(bytes.begin(), bytes.end(), f.begin(), f.end());
  }
  int Count(bool (*what)(std::span<const std::uint8_t>)) const {
    int n = 0;
    for (const auto& w : serial.writes) n += what(w.bytes) ? 1 : 0;
    return n;
  }
  int StopFrames() const { return Count(IsStop); }
  int Requests() const { return Count(IsRequest); }
  bool LastWriteIsStop() const {
    return !serial.writes.empty() && IsStop(serial.writes.back().bytes);
  }

  void FeedBlock(const BlockContent& s) {
    serial.Feed(MakeBlock(s));
    clock.RunDue();
  }

  FakeClock clock;
  FakeTimerHost timers{clock};
  FakeSerialControl serial{clock};
  RealTimeHost host{clock};
  LoggerLink link{serial, timers, host};
  CDTDoc doc;
  std::filesystem::path dir = std::filesystem::temp_directory_path() /
                              ("acv-rt-" + std::to_string(::getpid()) + "-" +
                               ::testing::UnitTest::GetInstance()->current_test_info()->name());
  std::string previousPath = (dir / "PreMeasureQX7.stdata").string();
  bool created = std::filesystem::create_directories(dir);
  RealTimeRun run{link, doc, host, previousPath};

  // The scripted logger.
  BlockContent content;
  std::function<BlockContent(int answerNumber)> nextBlock;  // overrides content when set
  bool answerRequests = true;
  int maxAnswers = -1;  // -1 = every request
  // Answers (1-based) sent with only this many bytes, or padded to them.
  std::map<int, std::size_t> answerBytes;
  int answered = 0;
  int requestsSeen = 0;
};

// Waves told apart by their RMS and frequency: before a cut, the cut block,
// after the cut.
struct Waves {
  BlockContent before, cut, after;
  Waves() {
    before.ch1 = SineWave(1000, PeriodOf(50));
    cut.ch1 = SineWave(2000, PeriodOf(80));
    after.ch1 = SineWave(1500, PeriodOf(60));
  }
};

// The data set's wave is `wave`, sample for sample.
inline void ExpectWave(const CDTDoc& doc, const BlockContent& wave) {
  for (int i = 0; i < kEpaPoints; ++i) {
    ASSERT_EQ(doc.epaWave[i].ch1, static_cast<float>(wave.ch1[i])) << "sample " << i;
  }
}

}  // namespace acv::test
