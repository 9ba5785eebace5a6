// The download header and the memory image parser, on hand-made bytes.
#include <gtest/gtest.h>

#include "download_fixture.h"
#include "logger/MemoryImage.h"

namespace acv::test {
namespace {

constexpr std::array<std::uint8_t, 6> kTrTime{0x26, 0x02, 0x03, 0x11, 0x30, 0x15};

TimeStamp Local(int y, int mo, int d, int h, int mi, int s) {
  return MakeLocalTime(LocalFields{y, mo, d, h, mi, s});
}

// A document carrying the header, as the download prepares it.
CDTDoc StoreFor(const DownloadHeader& header) {
  CDTDoc store;
  ApplyDownloadHeader(header, store);
  return store;
}

DownloadHeader HeaderOf(const HeaderFields& f) {
  auto h = DecodeDownloadHeader(EncodeHeader(f));
  EXPECT_TRUE(h.has_value());
  return h.value_or(DownloadHeader{});
}

TEST(ImageHeader, DecodesEveryField) {
  HeaderFields f;
  f.channels = 2;
  f.total = 0x012345;
  f.start = 0x07FE00;
  f.intervalUnit = kIntervalMinutes;
  f.intervalValue = 15;
  f.rise = -300;
  f.drop = 32767;
  f.rawCountA = 101;  // divided by n = 2 on receipt, truncating
  f.rawCountB = 0xFFFFFF;
  const DownloadHeader h = HeaderOf(f);
  EXPECT_EQ(h.channelCount, 2);
  EXPECT_EQ(h.ch1Kind, kKindVoltage);
  EXPECT_EQ(h.ch2Kind, kKindCurrent);
  EXPECT_EQ(h.total, 0x012345);
  EXPECT_EQ(h.start, 0x07FE00);
  EXPECT_EQ(h.riseLevel, -300);
  EXPECT_EQ(h.dropLevel, 32767);
  EXPECT_EQ(h.countA, 50);
  EXPECT_EQ(h.countB, 0xFFFFFF / 2);
  EXPECT_EQ(h.startTime, Local(2026, 2, 3, 10, 0, 0));
}

TEST(ImageHeader, RejectsWhatIsNotAWholeHeader) {
  auto bytes = EncodeHeader(HeaderFields{});
  EXPECT_FALSE(DecodeDownloadHeader(std::span(bytes).first(27)).has_value());
  bytes[0] = kLoggingRefusalCode;
  EXPECT_FALSE(DecodeDownloadHeader(bytes).has_value());
  // n = 0 decodes (nothing stored) without dividing by it.
  HeaderFields empty;
  empty.channels = 0;
  empty.rawCountA = 9;
  EXPECT_EQ(HeaderOf(empty).countA, 0);
}

TEST(ImageHeader, BcdNibblesAboveNineCountArithmetically) {
  EXPECT_EQ(BcdValue(0x59), 59);
  EXPECT_EQ(BcdValue(0x1A), 20);
  EXPECT_EQ(BcdValue(0xFF), 165);
  const std::array<std::uint8_t, 6> bytes{0x99, 0x12, 0x31, 0x23, 0x59, 0x59};
  EXPECT_EQ(BcdLocalTime(bytes), Local(2099, 12, 31, 23, 59, 59));
}

TEST(ImageHeader, AppliesKindsIntervalsAndKeepsUndefinedValues) {
  CDTDoc store;
  store.hasCh1 = 1;
  store.rmsUnitCh1 = "A";
  store.hasCh2 = 1;
  store.rmsUnitCh2 = "V";
  store.rmsInterval = 42.0f;
  DownloadHeader h;
  h.ch1Kind = 7;  // undefined: CH1 keeps presence and unit
  h.ch2Kind = kKindOff;
  h.intervalUnit = 0x40;  // undefined: the interval stays
  h.intervalValue = 5;
  h.riseLevel = -2;
  ApplyDownloadHeader(h, store);
  EXPECT_EQ(store.hasCh1, 1);
  EXPECT_EQ(store.rmsUnitCh1, "A");
  EXPECT_EQ(store.hasCh2, 0);
  EXPECT_EQ(store.rmsInterval, 42.0f);
  EXPECT_EQ(store.riseLevel, -2.0f);

  for (auto [unit, seconds] : {std::pair{kIntervalSeconds, 5.0f},
                               {kIntervalMinutes, 300.0f},
                               {kIntervalHours, 18000.0f}}) {
    h.intervalUnit = unit;
    h.ch1Kind = kKindCurrent;
    ApplyDownloadHeader(h, store);
    EXPECT_EQ(store.rmsInterval, seconds);
    EXPECT_EQ(store.rmsUnitCh1, "A");
  }
  h.ch1Kind = kKindVoltage;
  ApplyDownloadHeader(h, store);
  EXPECT_EQ(store.rmsUnitCh1, "V");
}

TEST(ImageParse, TwoChannelsWithATrRecordInTheMiddle) {
  std::vector<std::uint8_t> image;
  for (int i = 0; i < 3; ++i) PutS16(image, 2300 + i), PutS16(image, 10 + i);
  PutTrRecord(image, kUnitAmpere, kChannel2, kTrTime, -125);
  for (int i = 3; i < 5; ++i) PutS16(image, 2300 + i), PutS16(image, 10 + i);
  HeaderFields f;
  f.total = static_cast<int>(image.size());
  const DownloadHeader h = HeaderOf(f);
  CDTDoc store = StoreFor(h);
  ASSERT_TRUE(ParseMemoryImage(image, h, store));

  EXPECT_EQ(store.trCount, 1);
  EXPECT_EQ(store.rmsCount, (f.total - 512) / 4);
  ASSERT_EQ(store.rmsCh1.size(), 5u);
  ASSERT_EQ(store.rmsCh2.size(), 5u);
  for (int i = 0; i < 5; ++i) {
    EXPECT_FLOAT_EQ(store.rmsCh1[i], (2300 + i) * 0.1f) << i;
    EXPECT_FLOAT_EQ(store.rmsCh2[i], (10 + i) * 0.1f) << i;
  }
  ASSERT_EQ(store.trWaves.size(), 251u);
  EXPECT_EQ(store.trWaves.front(), -125.0f);  // unscaled
  EXPECT_EQ(store.trWaves.back(), 125.0f);
  EXPECT_EQ(store.trUnit, std::vector<std::uint8_t>{kUnitAmpere});
  EXPECT_EQ(store.trChannel, std::vector<std::uint8_t>{kChannel2});
  EXPECT_EQ(store.trTimes, std::vector<TimeStamp>{Local(2026, 2, 3, 11, 30, 15)});
}

TEST(ImageParse, OneRecordedChannelGoesWhereverItIsPresent) {
  std::vector<std::uint8_t> image;
  for (int v : {-5, 0, 2305}) PutS16(image, v);
  HeaderFields f;
  f.channels = 1;
  f.ch1Kind = kKindOff;
  f.ch2Kind = kKindVoltage;
  f.total = static_cast<int>(image.size());
  DownloadHeader h = HeaderOf(f);
  CDTDoc store = StoreFor(h);
  ASSERT_TRUE(ParseMemoryImage(image, h, store));
  EXPECT_TRUE(store.rmsCh1.empty());
  EXPECT_EQ(store.rmsCh2, (std::vector<float>{-0.5f, 0.0f, 230.5f}));
  EXPECT_EQ(store.rmsCount, 3);

  // With both channels marked present, the single value goes to both.
  h.ch1Kind = kKindCurrent;
  store = StoreFor(h);
  ASSERT_TRUE(ParseMemoryImage(image, h, store));
  EXPECT_EQ(store.rmsCh1, store.rmsCh2);
}

TEST(ImageParse, AMarkerIsOnlySeenWhereAnItemBegins) {
  // 0x7F 0xFF as channel 2's value is a value (3276.7), not a TR record.
  std::vector<std::uint8_t> image;
  PutS16(image, 1);
  PutS16(image, 0x7FFF);
  PutS16(image, 2);
  PutS16(image, 3);
  HeaderFields f;
  f.total = static_cast<int>(image.size());
  const DownloadHeader h = HeaderOf(f);
  CDTDoc store = StoreFor(h);
  ASSERT_TRUE(ParseMemoryImage(image, h, store));
  EXPECT_EQ(store.trCount, 0);
  EXPECT_EQ(store.rmsCount, 2);
  EXPECT_FLOAT_EQ(store.rmsCh2[0], 3276.7f);
}

TEST(ImageParse, NothingIsReadBeyondTheImage) {
  // A TR record cut off by the end of the image, after two whole items: the
  // parser keeps the items and drops the stub instead of reading past it.
  std::vector<std::uint8_t> image;
  PutS16(image, 100), PutS16(image, 200);
  PutS16(image, 101), PutS16(image, 201);
  PutTrRecord(image, kUnitVolt, kChannel1, kTrTime, 0);
  image.resize(image.size() - 20);
  HeaderFields f;
  f.total = static_cast<int>(image.size());
  DownloadHeader h = HeaderOf(f);
  // The image in a buffer of its exact size, so ASan sees any read past it.
  auto exact = std::make_unique<std::uint8_t[]>(image.size());
  std::copy(image.begin(), image.end(), exact.get());
  CDTDoc store = StoreFor(h);
  ASSERT_TRUE(ParseMemoryImage(std::span(exact.get(), image.size()), h, store));
  EXPECT_EQ(store.trCount, 0);
  EXPECT_EQ(store.rmsCount, 2);
  EXPECT_TRUE(store.trWaves.empty());
  EXPECT_FLOAT_EQ(store.rmsCh1[1], 10.1f);

  // A last item shorter than n x 2 bytes is dropped the same way; so is a
  // lone marker byte pair at the very end.
  for (std::size_t cut : {6u, 7u}) {
    std::vector<std::uint8_t> shortImage(image.begin(), image.begin() + cut);
    CDTDoc s = StoreFor(h);
    ASSERT_TRUE(ParseMemoryImage(shortImage, h, s));
    EXPECT_EQ(s.rmsCount, 1) << cut;
    EXPECT_EQ(s.rmsCh1.size(), 1u);
  }
  std::vector<std::uint8_t> markerTail{0x00, 0x01, 0x00, 0x02, 0x7F, 0xFF};
  CDTDoc s = StoreFor(h);
  ASSERT_TRUE(ParseMemoryImage(markerTail, h, s));
  EXPECT_EQ(s.rmsCount, 1);
  EXPECT_EQ(s.trCount, 0);
}

TEST(ImageParse, AWrappedMemoryMovesTheStartTime) {
  // 1300 bytes of two channels = 325 items; (1300 mod 512) / 2 / 2 = 69.
  std::vector<std::uint8_t> image(1300, 0);
  HeaderFields f;
  f.total = 1300;
  f.intervalUnit = kIntervalMinutes;
  f.intervalValue = 2;  // 120 s
  f.rawCountA = 2 * 300;
  f.rawCountB = 2 * 7 + 1;  // 7 after the integer division
  f.start = 0;
  DownloadHeader h = HeaderOf(f);
  CDTDoc store = StoreFor(h);
  ASSERT_TRUE(ParseMemoryImage(image, h, store));
  EXPECT_EQ(store.rmsStartTime, h.startTime);  // start 0: not wrapped

  f.start = 3 * 512 + 100;
  h = HeaderOf(f);
  store = StoreFor(h);
  ASSERT_TRUE(ParseMemoryImage(image, h, store));
  const std::int64_t y = 69 - 325 + 300 + 7;
  EXPECT_EQ(store.rmsStartTime, h.startTime + y * 120);

  // A negative Y moves it back; the product is truncated toward zero.
  f.rawCountA = 0;
  f.rawCountB = 0;
  f.intervalUnit = kIntervalSeconds;
  f.intervalValue = 3;
  h = HeaderOf(f);
  EXPECT_EQ(WrappedStartShift(1300, h, 325, 2.5f), static_cast<std::int64_t>((69 - 325) * 2.5));
  EXPECT_EQ(WrappedStartShift(1300, h, 324, 0.5f), -127);  // -127.5 truncates to -127
}

}  // namespace
}  // namespace acv::test
