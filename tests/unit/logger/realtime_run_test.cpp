// A real-time run from its first block to its point limit: timing of the
// sampling ticks, the points and extremes it stores, what is kept per
// channel, and the previous-measurement file it leaves.
#include <cstdio>

#include "data/DataFile.h"
#include "realtime_fixture.h"

namespace acv::test {
namespace {

std::string Tenths(float v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.1f", v);
  return buf;
}
std::string ValueText(float v) {
  return Tenths(v) + " @";
}

TEST_F(RealTimeTest, IntervalTwoSecondsThreePoints) {
  const TimeStamp before = LocalNow();
  Start(2, 3);
  EXPECT_EQ(serial.RThreshold(), kRealTimeBlockSize);
  EXPECT_EQ(link.realTimeStopped, 0);

  clock.Advance(4500);
  // The block arrives 1 ms after the request; ticks 10 ms later, then every 2 s.
  EXPECT_EQ(host.firstBlocks, (std::vector<std::int64_t>{1}));
  EXPECT_EQ(host.pointTimes, (std::vector<std::int64_t>{11, 2011, 4011}));
  EXPECT_EQ(timers.PeriodOf(timer::kSamplingTick), 2000);
  EXPECT_GE(doc.rtStartTime, before);
  EXPECT_LE(doc.rtStartTime, LocalNow());
  EXPECT_TRUE(host.ends.empty());
  EXPECT_EQ(StopFrames(), 0);

  // The request repeat at 5 s brings the block that ends the run: the stop
  // frame goes out twice and the arrays are never outgrown.
  clock.Advance(1000);
  EXPECT_EQ(Requests(), 2);
  ASSERT_EQ(host.ends, (std::vector<RunEnd>{RunEnd::PointLimit}));
  EXPECT_EQ(StopFrames(), 2);
  EXPECT_EQ(doc.rtCount, 3);
  EXPECT_EQ(doc.rtRms.size(), 3u);
  EXPECT_EQ(link.realTimeStopped, 1);
  for (int id : {timer::kFirstFrameRepeat, timer::kRealTimeWatchdog, timer::kSamplingTick,
                 timer::kRealTimeRepeat})
    EXPECT_FALSE(timers.IsActive(id)) << id;

  for (int i = 0; i < 3; ++i) {
    EXPECT_NEAR(doc.rtRms[i].ch1, 707, 8) << i;
    EXPECT_NEAR(doc.rtRms[i].ch2, 212, 3) << i;
    EXPECT_NEAR(doc.rtFreq[i].ch1, 50, 0.2) << i;
    EXPECT_NEAR(doc.rtFreq[i].ch2, 50, 0.2) << i;
  }
  // Equal values every point: ties move the extreme to the latest point.
  const std::string lastTime = FormatTime(doc.RealTimeSampleTime(2), kSampleTimeFormat);
  EXPECT_EQ(doc.rtRmsMaxText[0], ValueText(doc.rtRms[2].ch1) + lastTime);
  EXPECT_EQ(doc.rtFreqMinText[1], ValueText(doc.rtFreq[2].ch2) + lastTime);
  // Volts on one channel, amperes on the other: S(VA) = RMS1 x RMS2.
  EXPECT_EQ(doc.rtSMaxText, ValueText(doc.rtRms[2].ch1 * doc.rtRms[2].ch2) + lastTime);
  EXPECT_FLOAT_EQ(run.rtSMax, doc.rtRms[2].ch1 * doc.rtRms[2].ch2);

  // The points are kept as the previous measurement, and load back.
  EXPECT_EQ(doc.formatTag, kTagRealTime);
  EXPECT_TRUE(run.saveError.empty()) << run.saveError;
  CDTDoc loaded;
  ASSERT_TRUE(LoadPreviousMeasurement(previousPath, loaded).ok);
  ASSERT_EQ(loaded.rtCount, 3);
  EXPECT_EQ(loaded.rtRms[1].ch1, doc.rtRms[1].ch1);
  EXPECT_EQ(loaded.rtFreq[2].ch2, doc.rtFreq[2].ch2);

  // A stopped run answers every further block with one more stop frame.
  FeedBlock(content);
  FeedBlock(BlockContent{.flag = 0});
  EXPECT_EQ(StopFrames(), 4);
  EXPECT_EQ(doc.rtCount, 3);
  EXPECT_EQ(host.ends.size(), 1u);
}

TEST_F(RealTimeTest, TickAtThePointLimitStopsInsteadOfStoring) {
  // Two points at 2 s: the third tick (4 s) comes before the next block (5 s).
  Start(2, 2);
  clock.Advance(4005);
  EXPECT_EQ(doc.rtCount, 2);
  EXPECT_TRUE(host.ends.empty());
  clock.Advance(10);
  EXPECT_EQ(host.ends, (std::vector<RunEnd>{RunEnd::PointLimit}));
  EXPECT_EQ(doc.rtCount, 2);
  EXPECT_EQ(host.pointTimes.size(), 2u);
  EXPECT_EQ(StopFrames(), 1);
  EXPECT_TRUE(LastWriteIsStop());
  for (int id : {timer::kRealTimeWatchdog, timer::kSamplingTick, timer::kRealTimeRepeat})
    EXPECT_FALSE(timers.IsActive(id)) << id;
  clock.Advance(30000);
  EXPECT_EQ(doc.rtCount, 2);
  EXPECT_EQ(Requests(), 1);  // no more repeats once stopped
}

TEST_F(RealTimeTest, OnlyThePresentChannelIsWritten) {
  content.kind2 = kKindOff;
  for (auto& p : doc.epaWave) p.ch2 = 77.0f;  // an earlier wave's samples
  Start(2, 5);
  clock.Advance(2100);
  ASSERT_EQ(doc.rtCount, 2);
  EXPECT_EQ(doc.rtHasCh1, 1);
  EXPECT_EQ(doc.rtHasCh2, 0);
  EXPECT_EQ(doc.epaWave[100].ch2, 77.0f);  // an absent channel keeps its samples
  EXPECT_EQ(doc.epaCount, kEpaPoints);
  for (int i = 0; i < 2; ++i) {
    EXPECT_GT(doc.rtRms[i].ch1, 700.0f);
    // Analysing the stale wave would have stored frequency 400 here.
    EXPECT_EQ(doc.rtRms[i].ch2, 0.0f);
    EXPECT_EQ(doc.rtFreq[i].ch2, 0.0f);
  }
  EXPECT_FALSE(doc.rtRmsMaxText[0].empty());
  EXPECT_TRUE(doc.rtRmsMaxText[1].empty());
  EXPECT_TRUE(doc.rtSMaxText.empty());
  EXPECT_EQ(run.panelTexts[1].rms, kPanelNone);
}

TEST_F(RealTimeTest, EqualUnitsHaveNoApparentPower) {
  content.kind2 = kKindVoltage;
  Start(2, 5);
  clock.Advance(2100);
  ASSERT_EQ(doc.rtCount, 2);
  EXPECT_EQ(doc.rtUnitCh1, "V");
  EXPECT_EQ(doc.rtUnitCh2, "V");
  EXPECT_FALSE(doc.rtRmsMaxText[1].empty());
  EXPECT_TRUE(doc.rtSMaxText.empty());
  EXPECT_TRUE(doc.rtSMinText.empty());
}

TEST_F(RealTimeTest, RangeWordsInTheExtremes) {
  // CH1 flat: no signal (RMS 0, frequency 400). CH2 at exactly 457 samples a
  // period: 39.997 Hz, stored as 40.0.
  content.ch1 = std::vector<int>(kEpaPoints, 0);
  content.ch2 = SineWave(1000, 457);
  Start(2, 5);
  clock.Advance(100);
  ASSERT_EQ(doc.rtCount, 1);
  const std::string t = FormatTime(doc.RealTimeSampleTime(0), kSampleTimeFormat);
  EXPECT_EQ(doc.rtFreq[0].ch1, 400.0f);
  EXPECT_EQ(doc.rtFreqMaxText[0], "OL @" + t);
  EXPECT_EQ(doc.rtRmsMinText[0], "LO @" + t);
  EXPECT_FLOAT_EQ(doc.rtFreq[0].ch2, 40.0f);
  EXPECT_EQ(doc.rtFreqMaxText[1], "LO @" + t);
  // S(VA) of a dead channel is 0; P, Q and the phases are not measured.
  EXPECT_EQ(doc.rtSMaxText, "LO @" + t);
  EXPECT_FALSE(run.power.has_value());
}

TEST_F(RealTimeTest, PanelTextsAreResetThenFollowTheWave) {
  run.panelTexts[0].peakToPeak = "123";
  run.power = PowerValues{};  // an earlier run's
  Start(2, 5);
  clock.Advance(5);  // first block in, no tick yet
  ASSERT_EQ(host.firstBlocks.size(), 1u);
  const PowerPanelTexts reset{"NONE", "NONE", "NONE", "123", "NONE", "NONE"};
  EXPECT_EQ(run.panelTexts[0], reset);
  EXPECT_FALSE(run.power.has_value());
  clock.Advance(10);
  EXPECT_EQ(run.panelTexts[0].rms, Tenths(doc.rtRms[0].ch1));
  EXPECT_NE(run.panelTexts[0].peakToPeak, "123");
  // The voltage and current waves are in phase.
  ASSERT_TRUE(run.power.has_value());
  EXPECT_NEAR(run.power->powerFactor, 1.0, 0.01);
}

TEST_F(RealTimeTest, MalformedBlocksAreIgnored) {
  Start(2, 5);
  clock.Advance(100);
  ASSERT_EQ(doc.rtCount, 1);
  const auto wave = doc.epaWave;
  link.replySeen = 0;

  std::vector<std::uint8_t> shortBlock = MakeBlock(BlockContent{.flag = 0});
  shortBlock.resize(100);  // 0x3F 0x3F, but far too short to hold a wave
  link.Dispatch(shortBlock);
  std::vector<std::uint8_t> foreign = MakeBlock(BlockContent{.flag = 0});
  foreign[1] = 0x00;  // full length, but not a real-time block
  link.Dispatch(foreign);
  link.Dispatch(std::vector<std::uint8_t>{0x3F});

  EXPECT_EQ(link.replySeen, 0);
  EXPECT_EQ(link.realTimeStopped, 0);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(doc.epaWave[7].ch1, wave[7].ch1);

  // A block with trailing bytes of another reply is read from its start.
  BlockContent louder;
  louder.ch1 = SineWave(2000, PeriodOf(50));
  std::vector<std::uint8_t> longBlock = MakeBlock(louder);
  longBlock.insert(longBlock.end(), 50, 0xAB);
  link.Dispatch(longBlock);
  EXPECT_EQ(link.replySeen, 1);
  EXPECT_EQ(doc.epaWave[100].ch1, static_cast<float>(louder.ch1[100]));
}

// Stray bytes before a streamed block (the rest of a block sent before the
// last stop) shift every later read against the blocks: each block is still
// read whole, from its mark, across two reads.
TEST_F(RealTimeTest, BlocksShiftedAgainstTheReadsAreReadFromTheirMark) {
  Start(2, 5);
  clock.Advance(100);
  ASSERT_EQ(doc.rtCount, 1);
  BlockContent a, b;
  a.ch1 = SineWave(2000, PeriodOf(50));
  b.ch1 = SineWave(1500, PeriodOf(60));
  std::vector<std::uint8_t> stream = {0x12, 0x34, 0x56};
  for (const BlockContent& c : {a, b}) {
    const auto block = MakeBlock(c);
    stream.insert(stream.end(), block.begin(), block.end());
  }
  const std::size_t read = kRealTimeBlockSize;  // reads as long as a block
  link.replySeen = 0;
  link.Dispatch(std::span(stream).first(read));
  EXPECT_EQ(link.replySeen, 0);  // three bytes of block a are still to come
  link.Dispatch(std::span(stream).subspan(read, read));
  EXPECT_EQ(link.replySeen, 1);
  EXPECT_EQ(doc.epaWave[100].ch1, static_cast<float>(a.ch1[100]));
  link.Dispatch(std::span(stream).subspan(2 * read));
  EXPECT_EQ(doc.epaWave[100].ch1, static_cast<float>(b.ch1[100]));
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(RealTimeTest, FastBlocksDoNotPostponeTheFirstTick) {
  Start(2, 5);
  clock.Advance(5);
  for (int i = 0; i < 4; ++i) {  // a block every 3 ms, as a streaming logger sends them
    FeedBlock(content);
    clock.Advance(3);
  }
  EXPECT_EQ(host.firstBlocks.size(), 1u);
  EXPECT_EQ(host.pointTimes, (std::vector<std::int64_t>{11}));
}

TEST_F(RealTimeTest, UnknownKindByteKeepsTheChannel) {
  Start(2, 5);
  clock.Advance(100);
  content.kind2 = 7;  // not a kind the logger defines: no change
  clock.Advance(5000);
  EXPECT_EQ(doc.rtHasCh2, 1);
  EXPECT_EQ(doc.rtUnitCh2, "A");
  EXPECT_TRUE(host.ends.empty());
  EXPECT_EQ(doc.rtCount, 3);
}

TEST_F(RealTimeTest, ParametersOutOfRangeAreClamped) {
  Start(0, 0);
  clock.Advance(3000);
  EXPECT_EQ(run.realTimePoints, 1);
  EXPECT_EQ(doc.rtInterval, kMinRealTimeInterval);
  EXPECT_EQ(doc.rtRms.size(), 1u);
  EXPECT_EQ(doc.rtCount, 1);
  EXPECT_EQ(host.ends, (std::vector<RunEnd>{RunEnd::PointLimit}));

  Start(100000, kMaxRealTimePoints + 5);
  EXPECT_EQ(run.realTimePoints, kMaxRealTimePoints);
  EXPECT_EQ(doc.rtInterval, kMaxRealTimeInterval);
}

}  // namespace
}  // namespace acv::test
