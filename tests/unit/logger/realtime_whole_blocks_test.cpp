// Real-time blocks are taken only whole, as one reply: a block the logger cut
// short is never completed with the bytes of the next reply, wherever the
// cut falls, so every point of a run comes from a wave the logger sent.
#include "realtime_fixture.h"

namespace acv::test {
namespace {

// Each point's frequency is one of the waves sent whole (a spliced wave
// has another), and its RMS that wave's.
void ExpectPointsFrom(const CDTDoc& doc, std::vector<std::pair<float, float>> hzAndRms) {
  for (int n = 0; n < doc.rtCount; ++n) {
    const ChannelPair freq = doc.rtFreq[static_cast<std::size_t>(n)];
    const ChannelPair rms = doc.rtRms[static_cast<std::size_t>(n)];
    bool known = false;
    for (const auto& [hz, level] : hzAndRms) {
      known = known || (std::abs(freq.ch1 - hz) < 0.5f && std::abs(rms.ch1 - level) < 15.0f);
    }
    EXPECT_TRUE(known) << "point " << n << ": " << freq.ch1 << " Hz, RMS " << rms.ch1;
  }
}

class RealTimeCutTest : public RealTimeTest, public ::testing::WithParamInterface<std::size_t> {};

// The second answer carries only some of its bytes (or one too many); the
// request repeated after 5 s is answered whole. Without the rule the rest of
// the cut block would be taken from the start of that answer.
TEST_P(RealTimeCutTest, TheNextWholeBlockIsTakenAndNothingSpliced) {
  const Waves w;
  nextBlock = [&w](int answer) { return answer == 1 ? w.before : answer == 2 ? w.cut : w.after; };
  answerBytes[2] = GetParam();
  Start(2, 8);
  clock.Advance(10500);
  ASSERT_EQ(doc.rtCount, 6);  // points at 0.01, 2.01 ... 10.01 s
  ExpectWave(doc, w.after);
  std::vector<std::pair<float, float>> sent = {{50.0f, 707.0f}, {60.0f, 1061.0f}};
  if (GetParam() > kRealTimeBlockSize) sent.emplace_back(80.0f, 1414.0f);
  ExpectPointsFrom(doc, sent);
  EXPECT_NEAR(doc.rtFreq[5].ch1, 60.0f, 0.5f) << "the point after the repeat is the new wave's";
  EXPECT_EQ(link.realTimeStopped, 0);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(serial.RThreshold(), kRealTimeBlockSize);
}

INSTANTIATE_TEST_SUITE_P(CutAt, RealTimeCutTest,
                         ::testing::Values(std::size_t{1}, std::size_t{1182}, std::size_t{2364},
                                           std::size_t{2366}));

// A logger that streams on its own: the rest of the cut block never comes,
// and the next block follows a pause without being asked for.
TEST_F(RealTimeTest, BytesBeforeAPauseNeverCompleteTheBlockAfterIt) {
  const Waves w;
  content = w.before;
  Start(2, 100);
  clock.Advance(100);
  ASSERT_EQ(doc.rtCount, 1);
  std::vector<std::uint8_t> cut = MakeBlock(w.cut);
  cut.resize(kRealTimeBlockSize / 2);
  serial.Feed(cut);
  clock.Advance(kReplyPauseMs + 50);
  serial.Feed(MakeBlock(w.after));
  clock.RunDue();
  ExpectWave(doc, w.after);

  // The same after a pause inside the next block: its first part comes, then
  // (the line still busy) its rest, then a pause, then a whole block.
  const std::vector<std::uint8_t> next = MakeBlock(w.before);
  serial.Feed(std::span(next).first(1000));
  clock.Advance(5);
  serial.Feed(std::span(next).subspan(1000, 100));
  clock.Advance(kReplyPauseMs + 50);
  serial.Feed(MakeBlock(w.cut));
  clock.RunDue();
  ExpectWave(doc, w.cut);
  EXPECT_EQ(serial.RThreshold(), kRealTimeBlockSize);
}

// A read that holds the rest of a block, a pause, and the start of another:
// the block the bytes before the pause complete is taken, the bytes after
// it begin the next block.
TEST_F(RealTimeTest, BytesBeforeAPauseThatCompleteABlockAreTaken) {
  const Waves w;
  content = w.before;
  Start(2, 100);
  clock.Advance(100);
  const std::vector<std::uint8_t> next = MakeBlock(w.after);
  const std::vector<std::uint8_t> later = MakeBlock(w.cut);
  std::vector<std::uint8_t> read = MakeBlock(w.before);
  read.insert(read.end(), next.begin(), next.begin() + 1000);
  link.Dispatch(read);
  read.assign(next.begin() + 1000, next.end());
  read.insert(read.end(), later.begin(), later.begin() + 500);
  link.replyPauseAt = kRealTimeBlockSize - 1000;
  link.Dispatch(read);
  link.replyPauseAt = -1;
  ExpectWave(doc, w.after);
  EXPECT_EQ(serial.RThreshold(), kRealTimeBlockSize - 500);
}

// A logger that can no longer send a whole block: the run ends as when it
// falls silent, with the points taken from whole blocks only.
TEST_F(RealTimeTest, ABlockThatNeverComesWholeEndsTheRunSilently) {
  const Waves w;
  content = w.cut;
  nextBlock = [&w](int answer) { return answer == 1 ? w.before : w.cut; };
  for (int answer = 2; answer < 10; ++answer) answerBytes[answer] = kRealTimeBlockSize / 2;
  Start(2, 100);
  clock.Advance(30000);
  EXPECT_EQ(host.ends, (std::vector<RunEnd>{RunEnd::Silent}));
  ASSERT_GT(doc.rtCount, 0);
  ExpectPointsFrom(doc, {{50.0f, 707.0f}});
}

}  // namespace
}  // namespace acv::test
