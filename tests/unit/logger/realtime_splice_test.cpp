// A streaming logger sends its blocks back to back: a block it cuts short is
// followed by the next one without a pause, so the window of one block holds
// the head of the cut block and the start of the next. No point may come from
// such a window; and a whole block whose samples happen to hold the bytes of a
// block head is still taken.
#include "realtime_fixture.h"

namespace acv::test {
namespace {

std::vector<std::uint8_t> Cut(const BlockContent& wave, std::size_t bytes) {
  std::vector<std::uint8_t> block = MakeBlock(wave);
  block.resize(bytes);
  return block;
}

// A wave whose samples 100 and 101 put the bytes 3F 3F 01 00 01 into the
// block: a mark, a channel flag and two kind codes, where sample pairs
// continue.
BlockContent WithHeadInside() {
  BlockContent b;
  b.ch1 = SineWave(1000, PeriodOf(50));
  b.ch1[100] = 0x3F3F;
  b.ch2[100] = 0x0100;
  b.ch1[101] = 0x0100;
  return b;
}

// The logger streams on its own; the test feeds every block.
class RealTimeSpliceTest : public RealTimeTest {
 protected:
  RealTimeSpliceTest() { answerRequests = false; }
  // The run begins with a whole block at 0 and takes its first point at
  // 10 ms; the next tick comes at 2010 ms.
  void BeginStreamedRun(const BlockContent& first) {
    Start(2, 10);
    FeedBlock(first);
    clock.Advance(1000);
    ASSERT_EQ(doc.rtCount, 1);
  }
};

struct SpliceCase {
  std::size_t cutBytes;
  int gapMs;  // between the cut block and the next, always under a reply pause
};

class RealTimeSpliceGapTest : public RealTimeSpliceTest,
                              public ::testing::WithParamInterface<SpliceCase> {};

// The cut block comes, then after the gap the next whole block; the tick after
// them must take the whole block's wave, not one made of both.
TEST_P(RealTimeSpliceGapTest, ACutBlockFollowedAtOnceByTheNextIsDropped) {
  const Waves w;
  BeginStreamedRun(w.before);
  serial.Feed(Cut(w.cut, GetParam().cutBytes));
  clock.Advance(GetParam().gapMs);
  FeedBlock(w.after);
  ExpectWave(doc, w.after);
  clock.Advance(1100 - GetParam().gapMs);
  ASSERT_EQ(doc.rtCount, 2);
  EXPECT_NEAR(doc.rtFreq[1].ch1, 60.0f, 0.5f);
  EXPECT_NEAR(doc.rtRms[1].ch1, 1061.0f, 15.0f);
  EXPECT_EQ(serial.RThreshold(), kRealTimeBlockSize);
  EXPECT_TRUE(host.ends.empty());
}

INSTANTIATE_TEST_SUITE_P(Gaps, RealTimeSpliceGapTest,
                         ::testing::Values(SpliceCase{1000, 0}, SpliceCase{1000, 50},
                                           SpliceCase{1000, 150}, SpliceCase{1000, 200},
                                           SpliceCase{2, 0}, SpliceCase{7, 50}, SpliceCase{2364, 0},
                                           SpliceCase{2364, 200}),
                         [](const ::testing::TestParamInfo<SpliceCase>& info) {
                           return "Cut" + std::to_string(info.param.cutBytes) + "Gap" +
                                  std::to_string(info.param.gapMs) + "ms";
                         });

// The same when the next block is also streamed on at once after the one that
// followed the cut: the whole blocks are taken, in order.
TEST_F(RealTimeSpliceTest, BlocksBackToBackAfterACutAreAllTaken) {
  const Waves w;
  BeginStreamedRun(w.before);
  std::vector<std::uint8_t> bytes = Cut(w.cut, 1500);
  for (const BlockContent* b : {&w.after, &w.before}) {
    const std::vector<std::uint8_t> block = MakeBlock(*b);
    bytes.insert(bytes.end(), block.begin(), block.end());
  }
  serial.Feed(bytes);
  clock.RunDue();
  ExpectWave(doc, w.before);
  EXPECT_EQ(serial.RThreshold(), kRealTimeBlockSize);
}

// Whole blocks whose samples hold a block head: sent alone (taken once no
// more bytes come), or followed by the next block after a gap under a reply
// pause, or back to back. Each is taken; none is held past the pause.
class RealTimeHeadInsideTest : public RealTimeSpliceTest,
                               public ::testing::WithParamInterface<int> {};

TEST_P(RealTimeHeadInsideTest, AWholeBlockWithAHeadAmongItsSamplesIsTaken) {
  const Waves w;
  const BlockContent inside = WithHeadInside();
  BeginStreamedRun(w.before);
  serial.Feed(MakeBlock(inside));
  const int gap = GetParam();
  if (gap >= 0) {
    clock.Advance(gap);
    serial.Feed(MakeBlock(w.after));
    clock.RunDue();
    ExpectWave(doc, w.after);
  } else {
    clock.Advance(kReplyPauseMs);
    ExpectWave(doc, inside);
  }
  EXPECT_EQ(serial.RThreshold(), kRealTimeBlockSize);
  EXPECT_FALSE(timers.IsActive(timer::kBlockSettle));
  EXPECT_TRUE(host.ends.empty());
}

INSTANTIATE_TEST_SUITE_P(FollowedAfter, RealTimeHeadInsideTest, ::testing::Values(-1, 0, 50, 200));

// A run's first block with a head among its samples, from a logger that
// answers each request with one block: its first point still comes at once
// after the hold, not with the next request.
TEST_F(RealTimeSpliceTest, AFirstBlockHeldBackStartsTheRunAfterTheHold) {
  content = WithHeadInside();
  answerRequests = true;
  Start(2, 10);
  clock.Advance(kReplyPauseMs + 20);
  EXPECT_EQ(host.firstBlocks, (std::vector<std::int64_t>{1 + kReplyPauseMs}));
  EXPECT_EQ(doc.rtCount, 1);
  ExpectWave(doc, content);
}

// A block cut short, then (still without a pause) another cut one: neither
// becomes a point; the run goes on with the next whole block after a pause.
TEST_F(RealTimeSpliceTest, TwoCutBlocksInARowGiveNoPoint) {
  const Waves w;
  BeginStreamedRun(w.before);
  serial.Feed(Cut(w.cut, 1000));
  clock.Advance(50);
  serial.Feed(Cut(w.after, 1500));
  clock.Advance(kReplyPauseMs + 50);
  ExpectWave(doc, w.before);
  FeedBlock(w.after);
  ExpectWave(doc, w.after);
  clock.Advance(800);
  ASSERT_EQ(doc.rtCount, 2);
  EXPECT_NEAR(doc.rtFreq[1].ch1, 60.0f, 0.5f);
}

}  // namespace
}  // namespace acv::test
