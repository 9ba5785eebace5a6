// The byte layout of data files: what the writer produces and what the
// reader accepts, field by field.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "data/ByteIO.h"
#include "data/DataFile.h"
#include "data_test_util.h"

namespace acv {
namespace {

using Bytes = std::vector<std::uint8_t>;
using test::Local;
using test::StoreDoc;

std::int32_t I32At(const Bytes& b, std::size_t at) {
  std::int32_t v;
  std::memcpy(&v, b.data() + at, 4);
  return v;
}

float F32At(const Bytes& b, std::size_t at) {
  float v;
  std::memcpy(&v, b.data() + at, 4);
  return v;
}

// A hand-written file head: tag, counts, presence bytes, interval and the
// six local-time fields.
Bytes Head(const std::string& tag, std::int32_t rmsCount, std::uint8_t ch1, std::uint8_t ch2) {
  Bytes b;
  ByteWriter w(b);
  w.String(tag);
  w.I32(rmsCount);
  w.U8(ch1);
  w.U8(ch2);
  w.F32(10.0f);
  for (int v : {2026, 3, 2, 10, 0, 0}) w.I32(v);
  return b;
}

TEST(DataFileLayout, EmptyStoreFileIs56Bytes) {
  CDTDoc doc;
  doc.formatTag = kTagStore;
  const Bytes b = EncodeDataFile(doc);
  ASSERT_EQ(b.size(), 56u);
  EXPECT_EQ(b[0], 9);
  EXPECT_EQ(std::string(b.begin() + 1, b.begin() + 10), "RMSTRDATA");
  EXPECT_EQ(I32At(b, 10), 0);
  EXPECT_EQ(b[14], 0);
  EXPECT_EQ(b[15], 0);
  EXPECT_EQ(I32At(b, 20), 1970) << "time 0 in UTC";
  EXPECT_EQ(I32At(b, 44), 0) << "trCount";

  CDTDoc back;
  const LoadResult r = DecodeDataFile(b, back, "empty");
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(back.readTag, "RMSTRDATA");
  EXPECT_EQ(back.rmsStartTime, 0);
}

TEST(DataFileLayout, FieldsSitWhereTheLayoutPutsThem) {
  CDTDoc doc = StoreDoc(2, true, true, 60.0f);
  doc.rmsCh1 = {230.5f, 231.5f};
  doc.rmsCh2 = {4.5f, 5.5f};
  doc.ComputeStoreStatistics();
  test::AddTr(doc, kChannel2, kUnitAmpere, Local(2026, 3, 2, 11, 22, 33), -3.0f);
  const Bytes b = EncodeDataFile(doc);

  EXPECT_EQ(I32At(b, 10), 2);
  EXPECT_EQ(b[14], 1);
  EXPECT_EQ(b[15], 1);
  EXPECT_FLOAT_EQ(F32At(b, 16), 60.0f);
  const std::int32_t start[] = {2026, 3, 2, 10, 0, 0};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(I32At(b, 20 + 4 * i), start[i]);
  EXPECT_FLOAT_EQ(F32At(b, 44), 230.5f);
  EXPECT_FLOAT_EQ(F32At(b, 48), 231.5f);

  // CH1 block strings: max, min, unit CH1, unit CH2.
  std::size_t at = 52;
  auto nextString = [&] {
    const std::size_t n = b[at];
    std::string s(b.begin() + static_cast<std::ptrdiff_t>(at + 1),
                  b.begin() + static_cast<std::ptrdiff_t>(at + 1 + n));
    at += 1 + n;
    return s;
  };
  EXPECT_EQ(nextString(), "231.5 V @02/03/26 10:01:00");
  EXPECT_EQ(nextString(), "230.5V @02/03/26 10:00:00");
  EXPECT_EQ(nextString(), "V");
  EXPECT_EQ(nextString(), "A");
  EXPECT_FLOAT_EQ(F32At(b, at), 4.5f);
  at += 8;
  EXPECT_EQ(nextString(), "5.5 A @02/03/26 10:01:00");
  EXPECT_EQ(nextString(), "4.5A @02/03/26 10:00:00");

  // trCount, one 26-byte head, 251 samples, the two levels, end of file.
  EXPECT_EQ(I32At(b, at), 1);
  at += 4;
  EXPECT_EQ(b[at], kChannel2);
  EXPECT_EQ(b[at + 1], kUnitAmpere);
  const std::int32_t trigger[] = {2026, 3, 2, 11, 22, 33};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(I32At(b, at + 2 + 4 * i), trigger[i]);
  at += 26;
  EXPECT_FLOAT_EQ(F32At(b, at), -3.0f);
  EXPECT_FLOAT_EQ(F32At(b, at + 250 * 4), 247.0f);
  at += 251 * 4;
  EXPECT_FLOAT_EQ(F32At(b, at), 500.0f);
  EXPECT_FLOAT_EQ(F32At(b, at + 4), -100.0f);
  EXPECT_EQ(b.size(), at + 8);
}

TEST(DataFileLayout, RoundTripKeepsEveryStoreField) {
  CDTDoc doc = StoreDoc(300, true, true, 1.5f);
  test::AddTr(doc, kChannel1, kUnitVolt, doc.RmsSampleTime(10), 100.0f);
  test::AddTr(doc, kChannel2, kUnitAmpere, doc.RmsSampleTime(200), -50.0f);
  doc.rmsMaxTextCh1 = std::string(300, 'x');  // the three-byte prefix

  CDTDoc back;
  back.rtCount = 17;  // the real-time family is not the file's
  const LoadResult r = DecodeDataFile(EncodeDataFile(doc), back, "round trip");
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.tag, "RMSTRDATA");
  EXPECT_EQ(back.rmsCh1, doc.rmsCh1);
  EXPECT_EQ(back.trWaves, doc.trWaves);
  EXPECT_EQ(back.trTimes, doc.trTimes);
  EXPECT_EQ(back.rtCount, 17);
  // Every written field came back: the bytes written again are the same.
  back.formatTag = kTagStore;
  EXPECT_EQ(EncodeDataFile(back), EncodeDataFile(doc));
}

TEST(DataFileLayout, StringLengthPrefixes) {
  auto prefixOf = [](std::size_t n) {
    Bytes b;
    ByteWriter(b).String(std::string(n, 'a'));
    EXPECT_EQ(b.size() - n, n < 255 ? 1u : n < 65534 ? 3u : 7u) << n;
    return Bytes(b.begin(), b.end() - static_cast<std::ptrdiff_t>(n));
  };
  EXPECT_EQ(prefixOf(0), (Bytes{0x00}));
  EXPECT_EQ(prefixOf(254), (Bytes{0xFE}));
  EXPECT_EQ(prefixOf(255), (Bytes{0xFF, 0xFF, 0x00}));
  EXPECT_EQ(prefixOf(65533), (Bytes{0xFF, 0xFD, 0xFF}));
  EXPECT_EQ(prefixOf(65534), (Bytes{0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}));
  EXPECT_EQ(prefixOf(70000), (Bytes{0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}));

  // Every form reads back.
  for (std::size_t n : {0u, 254u, 255u, 65533u, 65534u, 70000u}) {
    Bytes b;
    ByteWriter(b).String(std::string(n, 'q'));
    ByteReader r(b);
    EXPECT_EQ(r.String("text"), std::string(n, 'q'));
    EXPECT_TRUE(r.AtEnd());
  }
}

TEST(DataFileLayout, SixteenBitStringsAreReadAsSingleByteText) {
  // 0xFF 0xFFFE marks 16-bit characters; the length prefix follows again.
  Bytes b = {0xFF, 0xFE, 0xFF, 4, 'V', 0, 0xE9, 0, 0x3A, 0x26, 'x', 0};
  ByteReader r(b);
  EXPECT_EQ(r.String("unit"), std::string("V\xE9?x"));
  EXPECT_TRUE(r.AtEnd());

  // The long form after the marker.
  Bytes longForm = {0xFF, 0xFE, 0xFF, 0xFF, 0x01, 0x01};
  for (int i = 0; i < 257; ++i) longForm.insert(longForm.end(), {'A', 0});
  ByteReader r2(longForm);
  EXPECT_EQ(r2.String("text"), std::string(257, 'A'));

  // A second marker, or units beyond the bytes, are errors, not reads.
  Bytes twice = {0xFF, 0xFE, 0xFF, 0xFF, 0xFE, 0xFF, 1, 'a', 0};
  ByteReader r3(twice);
  EXPECT_THROW(r3.String("text"), DataFormatError);
  Bytes shortWide = {0xFF, 0xFE, 0xFF, 3, 'a', 0, 'b'};
  ByteReader r4(shortWide);
  EXPECT_THROW(r4.String("text"), DataFormatError);
}

TEST(DataFileLayout, OnlyCh2FileTakesItsUnitFromItsTextsAndPresenceCountsOnlyAsOne) {
  CDTDoc doc = StoreDoc(3, false, true);
  const Bytes b = EncodeDataFile(doc);
  // No unit strings in the file: 56 bytes + 3 floats + the two CH2 texts.
  EXPECT_EQ(b.size(), 56u + 12u + 1 + doc.rmsMaxTextCh2.size() + 1 + doc.rmsMinTextCh2.size());

  CDTDoc target;
  target.rmsUnitCh1 = "A";
  target.rmsUnitCh2 = "V";
  ASSERT_TRUE(DecodeDataFile(b, target, "ch2").ok);
  EXPECT_EQ(target.hasCh1, 0);
  EXPECT_EQ(target.hasCh2, 1);
  EXPECT_EQ(target.rmsUnitCh1, "A");  // not the file's: CH1 is absent
  EXPECT_EQ(target.rmsUnitCh2, "A");  // the letter before " @" in "5.0 A @..."
  EXPECT_EQ(target.rmsCh2, doc.rmsCh2);
  // The maximum text first, then the minimum text, else no unit at all.
  struct Texts {
    std::string max, min, unit;
  };
  for (const Texts& t :
       {Texts{"4.6 V @02/03/26 10:00:00", "4.1A @02/03/26 10:00:10", "V"},
        Texts{"", "4.1A @02/03/26 10:00:10", "A"}, Texts{"4.6 @02/03/26 10:00:00", "@", ""}}) {
    CDTDoc texts = doc;
    texts.rmsMaxTextCh2 = t.max;
    texts.rmsMinTextCh2 = t.min;
    ASSERT_TRUE(DecodeDataFile(EncodeDataFile(texts), target, "ch2").ok);
    EXPECT_EQ(target.rmsUnitCh2, t.unit) << t.max << " | " << t.min;
  }

  // A presence byte of 2 means "absent", for the writer and the reader.
  Bytes two = Head("RMSTRDATA", 3, 2, 0);
  ByteWriter w(two);
  w.I32(0);
  w.F32(0);
  w.F32(0);
  CDTDoc read;
  ASSERT_TRUE(DecodeDataFile(two, read, "two").ok);
  EXPECT_EQ(read.hasCh1, 0) << "stored as plain absent";
  EXPECT_TRUE(read.rmsCh1.empty());
  doc.hasCh1 = 2;
  EXPECT_EQ(EncodeDataFile(doc).size(), b.size());
}

TEST(DataFileLayout, RealTimeRunSectionRoundTrip) {
  CDTDoc doc = StoreDoc(2, true, false);
  doc.formatTag = kTagRealTime;
  doc.rtStartTime = Local(2026, 6, 1, 8, 0, 0);
  doc.rtInterval = 5;
  doc.rtHasCh1 = doc.rtHasCh2 = 1;
  doc.rtUnitCh1 = "V";
  doc.rtUnitCh2 = "A";
  doc.rtRms = {{230, 2}, {232, 0}, {0, 0}};
  doc.rtFreq = {{50, 50}, {50.1f, 400}, {400, 400}};
  doc.rtRms.resize(100);  // capacity of the run
  doc.rtFreq.resize(100);
  doc.rtCount = 3;
  const Bytes b = EncodeDataFile(doc);
  const Bytes store = [&] {
    CDTDoc s = doc;
    s.formatTag = kTagStore;
    return EncodeDataFile(s);
  }();
  // The section follows the usual layout: same bytes up to dropLevel
  // (after the two tags).
  ASSERT_GT(b.size(), store.size() - 2);
  EXPECT_TRUE(std::equal(store.begin() + 10, store.end(), b.begin() + 8));
  EXPECT_EQ(std::string(b.begin() + static_cast<std::ptrdiff_t>(store.size() - 2),
                        b.begin() + static_cast<std::ptrdiff_t>(store.size() + 2)),
            "RTPT");
  EXPECT_EQ(b.size(), store.size() - 2 + 4 + 8 + 4 + 4 + 2 + 2 + 2 + 3 * 16);

  CDTDoc back;
  back.epaCount = kEpaPoints;
  const LoadResult r = DecodeDataFile(b, back, "run");
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.tag, "EPADATA");
  EXPECT_EQ(back.readTag, "EPADATA");
  EXPECT_EQ(back.rmsCh1, doc.rmsCh1);
  EXPECT_EQ(back.rtCount, 3);
  EXPECT_EQ(back.rtRms.size(), 3u);
  EXPECT_EQ(back.rtRms[1].ch1, 232.0f);
  EXPECT_EQ(back.rtFreq[1].ch1, 50.1f);
  EXPECT_EQ(back.rtStartTime, doc.rtStartTime);
  EXPECT_EQ(back.rtInterval, 5);
  EXPECT_EQ(back.rtUnitCh2, "A");
  EXPECT_EQ(back.epaCount, kEpaPoints) << "the wave is not part of the file";
  // The info texts come back.
  EXPECT_EQ(back.rtRmsMaxText[0], "232.0 @01/06/26 08:00:05");
  EXPECT_EQ(back.rtRmsMinText[0], "LO @01/06/26 08:00:10");
  EXPECT_EQ(back.rtFreqMaxText[1], "OL @01/06/26 08:00:10");
  EXPECT_EQ(back.rtSMaxText, "460.0 @01/06/26 08:00:00");
}

// The file holds local wall-clock fields: in a zone with daylight saving a
// summer and a winter time both come back to the same instant.
TEST(DataFileLayout, LocalTimeFieldsAcrossDaylightSaving) {
  struct Zone {
    std::string saved;
    bool had;
    Zone() : had(std::getenv("TZ") != nullptr) {
      if (had) saved = std::getenv("TZ");
      ::setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
      ::tzset();
    }
    ~Zone() {
      if (had) {
        ::setenv("TZ", saved.c_str(), 1);
      } else {
        ::unsetenv("TZ");
      }
      ::tzset();
    }
  } zone;
  CDTDoc doc = StoreDoc(1, true, false);
  doc.rmsStartTime = 1782900000;                       // 2026-07-01 10:00:00 UTC, 12:00 summer time
  test::AddTr(doc, kChannel1, kUnitVolt, 1767261600);  // 2026-01-01 10:00 UTC, 11:00 CET
  const Bytes b = EncodeDataFile(doc);
  EXPECT_EQ(I32At(b, 32), 12) << "the hour is local";
  CDTDoc back;
  ASSERT_TRUE(DecodeDataFile(b, back, "zone").ok);
  EXPECT_EQ(back.rmsStartTime, doc.rmsStartTime);
  EXPECT_EQ(back.trTimes, doc.trTimes);
}

// The fuzzer's seeds must stay files the reader accepts, or they seed
// nothing but the error paths.
TEST(DataFileLayout, FuzzSeedsLoad) {
  const std::filesystem::path corpus =
      std::filesystem::path(ACV_SOURCE_DIR) / "fuzz/corpus/datafile";
  int seeds = 0;
  for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
    CDTDoc doc;
    const LoadResult r = LoadDataFile(entry.path().string(), doc);
    EXPECT_TRUE(r.ok) << entry.path() << ": " << r.error;
    ++seeds;
  }
  EXPECT_GE(seeds, 3);
}

}  // namespace
}  // namespace acv
