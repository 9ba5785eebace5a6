// The command frames on the wire and the input rules of the set-up and
// clock dialogs.
#include <gtest/gtest.h>

#include <climits>

#include "logger/CommandBuilders.h"

namespace acv {
namespace {

using Frame = CommandFrame;

TEST(CommandFrames, FixedFrames) {
  EXPECT_EQ(kProbeByte, 0x78);
  EXPECT_EQ(DownloadStartFrame(), Frame({0x68, 0x68, 0x68, 0x68, 0x68, 0x68, 0x68, 0x68}));
  EXPECT_EQ(RealTimeStartFrame(), Frame({0xC8, 0xC8, 0xC8, 0xC8, 0xC8, 0xC8, 0xC8, 0xC8}));
  EXPECT_EQ(RealTimeStopFrame(), Frame({0xC8, 0xC8, 0xC8, 0xC8, 0xC8, 0xC8, 0xC8, 0xC9}));
}

TEST(CommandFrames, BlockRequestsAddressTheRingOf1024Blocks) {
  int index = 5;
  EXPECT_EQ(BuildBlockRequest(index, kBlockFillWhole),
            Frame({0xD8, 0x00, 0x0A, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(index, 5);
  index = 1023;
  EXPECT_EQ(BuildBlockRequest(index, kBlockFillPartial),
            Frame({0xD8, 0x07, 0xFE, 0x01, 0x01, 0x01, 0x01, 0x01}));
  index = 1024;  // one past the end: block 0, and counting goes on from there
  EXPECT_EQ(BuildBlockRequest(index, kBlockFillWhole),
            Frame({0xD8, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(index, 0);
  index = -3;  // never an address outside the ring
  EXPECT_EQ(BuildBlockRequest(index, kBlockFillWhole)[1], 0x00);
  EXPECT_EQ(index, 0);
}

TEST(CommandFrames, SetupFrameFromTheDefaultsAndTheFlagBits) {
  SetupValues v;
  EXPECT_EQ(BuildSetupFrame(v), Frame({0xAA, 0x10, 0x10, 0x0A, 0x01, 0xF4, 0x00, 0x64}));
  v.autoPowerOff = 2;
  EXPECT_EQ(BuildSetupFrame(v)[1], 0x14);
  v.circulateLogging = 3;
  EXPECT_EQ(BuildSetupFrame(v)[1], 0x1C);
  v.autoPowerOff = 0;
  EXPECT_EQ(BuildSetupFrame(v)[1], 0x18);
  v.autoPowerOff = 1;  // only 2 means "on", as the dialog shows it
  EXPECT_EQ(BuildSetupFrame(v)[1], 0x18);
}

TEST(CommandFrames, SetupFrameUnitsRatesAndLevels) {
  SetupValues v;
  v.riseLevelSetting = "1000";
  v.dropLevelSetting = "0";
  Frame f = BuildSetupFrame(v);
  EXPECT_EQ(f[4], 0x03);
  EXPECT_EQ(f[5], 0xE8);
  EXPECT_EQ(f[6], 0x00);
  EXPECT_EQ(f[7], 0x00);

  v.sampleRateUnit = kUnitMinute;
  v.sampleRateText = "60";
  f = BuildSetupFrame(v);
  EXPECT_EQ(f[2], 0x20);
  EXPECT_EQ(f[3], 60);

  // A rate from the settings file outside its range is clamped, not wrapped.
  v.sampleRateUnit = kUnitHour;
  f = BuildSetupFrame(v);
  EXPECT_EQ(f[2], 0x30);
  EXPECT_EQ(f[3], 24);
  v.sampleRateText = "300";
  v.sampleRateUnit = 9;  // unknown unit: seconds
  f = BuildSetupFrame(v);
  EXPECT_EQ(f[2], 0x10);
  EXPECT_EQ(f[3], 60);

  // Levels go out within the dialog's 0..1000: values beyond either end as
  // that end, never above 1000 nor as a wrapped bit pattern.
  const std::pair<const char*, std::array<std::uint8_t, 2>> levels[] = {
      {"256", {0x01, 0x00}},   {"-2", {0x00, 0x00}},    {"1001", {0x03, 0xE8}},
      {"65535", {0x03, 0xE8}}, {"99999", {0x03, 0xE8}}, {"abc", {0x00, 0x00}}};
  for (const auto& [text, bytes] : levels) {
    v.riseLevelSetting = text;
    f = BuildSetupFrame(v);
    EXPECT_EQ(f[4], bytes[0]) << text;
    EXPECT_EQ(f[5], bytes[1]) << text;
  }
}

TEST(CommandFrames, ClockFrameInBcd) {
  EXPECT_EQ(BuildClockFrame(2012, 3, 15, 9, 41, 7),
            Frame({0xAC, 0x12, 0x03, 0x15, 0x09, 0x41, 0x07, 0xFF}));
  EXPECT_EQ(BuildClockFrame(2009, 12, 31, 23, 59, 58),
            Frame({0xAC, 0x09, 0x12, 0x31, 0x23, 0x59, 0x58, 0xFF}));
  EXPECT_EQ(BuildClockFrame(2026, 0, 1, 0, 0, 0)[2], 0x00);
  EXPECT_EQ(BuildClockFrame(2099, 1, 1, 0, 0, 0)[1], 0x99);
  EXPECT_EQ(BuildClockFrame(2000, 1, 1, 0, 0, 0)[1], 0x00);
  // No lower clamp in the dialog: a negative field goes out as its 8-bit pattern.
  EXPECT_EQ(ToBcd(-1), 0xFF);
  EXPECT_EQ(BuildClockFrame(INT_MIN, 1, 1, 0, 0, 0)[0], 0xAC);  // no overflow on wild input
}

TEST(CommandInput, LeadingIntegerOfAText) {
  EXPECT_EQ(ParseLeadingInt(""), 0);
  EXPECT_EQ(ParseLeadingInt("abc"), 0);
  EXPECT_EQ(ParseLeadingInt("-"), 0);
  EXPECT_EQ(ParseLeadingInt("12abc"), 12);
  EXPECT_EQ(ParseLeadingInt("  42"), 42);
  EXPECT_EQ(ParseLeadingInt("+7"), 7);
  EXPECT_EQ(ParseLeadingInt("-12.5"), -12);
  EXPECT_EQ(ParseLeadingInt("99999999999999999999"), INT_MAX);
  EXPECT_EQ(ParseLeadingInt("-99999999999999999999"), INT_MIN);
}

TEST(CommandInput, SampleRateClamping) {
  EXPECT_EQ(ClampSampleRate("75", kUnitSecond), 60);
  EXPECT_EQ(ClampSampleRate("75", kUnitMinute), 60);
  EXPECT_EQ(ClampSampleRate("30", kUnitHour), 24);
  EXPECT_EQ(ClampSampleRate("24", kUnitHour), 24);
  EXPECT_EQ(ClampSampleRate("", kUnitSecond), 1);
  EXPECT_EQ(ClampSampleRate("x", kUnitHour), 1);
  EXPECT_EQ(ClampSampleRate("-4", kUnitSecond), 1);
  EXPECT_EQ(ClampSampleRate("10", kUnitSecond), 10);
}

TEST(CommandInput, ClockFieldClamping) {
  // Every year the logger can keep is accepted, today's included.
  EXPECT_EQ(ClampClockField(ClockField::Year, 2030), 2030);
  EXPECT_EQ(ClampClockField(ClockField::Year, 2099), 2099);
  EXPECT_EQ(ClampClockField(ClockField::Year, 2100), 2099);
  EXPECT_EQ(ClampClockField(ClockField::Year, 1999), 2000);
  EXPECT_EQ(ClampClockField(ClockField::Month, 13), 12);
  EXPECT_EQ(ClampClockField(ClockField::Month, 0), 0);
  EXPECT_EQ(ClampClockField(ClockField::Day, 40), 31);
  EXPECT_EQ(ClampClockField(ClockField::Hour, 24), 23);
  EXPECT_EQ(ClampClockField(ClockField::Minute, 60), 59);
  EXPECT_EQ(ClampClockField(ClockField::Second, 75), 59);
  EXPECT_EQ(ClampClockField(ClockField::Second, -3), -3);
}

}  // namespace
}  // namespace acv
