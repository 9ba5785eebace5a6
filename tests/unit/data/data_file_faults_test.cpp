// Damaged, foreign and unwritable files: a load either takes a whole file or
// changes nothing and says why; a save either replaces the file or leaves it.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstring>

#include "data/ByteIO.h"
#include "data/DataFile.h"
#include "data/FileIO.h"
#include "data_test_util.h"

namespace acv {
namespace {

using Bytes = std::vector<std::uint8_t>;
using test::ScratchDir;
using test::StoreDoc;

// A data set that differs from StoreDoc in every STORE field, to see that a
// failed load changes none of them.
CDTDoc Existing() {
  CDTDoc doc = StoreDoc(7, true, false, 2.0f);
  test::AddTr(doc, kChannel1, kUnitVolt, doc.rmsStartTime + 3, 9.0f);
  doc.readTag = "before";
  doc.rtCount = 1;
  doc.rtRms = {{1, 1}};
  return doc;
}

void ExpectUnchanged(const CDTDoc& doc, const std::string& readTag) {
  const CDTDoc ref = Existing();
  EXPECT_EQ(doc.rmsCount, ref.rmsCount);
  EXPECT_EQ(doc.rmsCh1, ref.rmsCh1);
  EXPECT_EQ(doc.hasCh2, ref.hasCh2);
  EXPECT_EQ(doc.trCount, ref.trCount);
  EXPECT_EQ(doc.trWaves, ref.trWaves);
  EXPECT_EQ(doc.rmsStartTime, ref.rmsStartTime);
  EXPECT_EQ(doc.rmsMaxTextCh1, ref.rmsMaxTextCh1);
  EXPECT_EQ(doc.rtCount, ref.rtCount);
  EXPECT_EQ(doc.readTag, readTag);
}

CDTDoc RunDoc() {
  CDTDoc doc = StoreDoc(20, true, true);
  test::AddTr(doc, kChannel2, kUnitAmpere, doc.rmsStartTime + 30);
  doc.formatTag = kTagRealTime;
  doc.rtCount = 4;
  doc.rtHasCh1 = 1;
  doc.rtUnitCh1 = "V";
  doc.rtRms = {{1, 0}, {2, 0}, {3, 0}, {4, 0}};
  doc.rtFreq = doc.rtRms;
  return doc;
}

Bytes RunFile() {
  return EncodeDataFile(RunDoc());
}

// Where the real-time section starts in RunFile().
std::size_t RunSectionStart() {
  CDTDoc store = RunDoc();
  store.formatTag = kTagStore;
  return EncodeDataFile(store).size() - 2;  // "EPADATA" is two bytes shorter
}

TEST(DataFileFaults, EveryTruncationIsRefusedAndChangesNothing) {
  // Cut exactly before its section, a run's file looks like an older
  // program's: that one cut is refused as a foreign format.
  const std::size_t sectionStart = RunSectionStart();
  for (const Bytes& full : {EncodeDataFile(StoreDoc(20, true, true)), RunFile()}) {
    const bool isRun = full[0] == 7;
    for (std::size_t cut = 0; cut < full.size(); ++cut) {
      CDTDoc doc = Existing();
      const LoadResult r = DecodeDataFile(std::span(full.data(), cut), doc, "/data/cut.stdata");
      ASSERT_FALSE(r.ok) << "cut at " << cut;
      ExpectUnchanged(doc, isRun && cut == sectionStart ? "EPADATA" : "before");
      if (isRun && cut == sectionStart) continue;
      EXPECT_NE(r.error, kInvalidFormatMessage) << "a cut file is ours, but damaged: " << cut;
      EXPECT_NE(r.error.find("/data/cut.stdata"), std::string::npos) << r.error;
      if (testing::Test::HasFailure()) return;
    }
  }
}

TEST(DataFileFaults, AFileReadAPieceAtATimeLoadsAsItsBytesDecode) {
  // Larger than the reader's window, with a text longer than the window too.
  CDTDoc run = RunDoc();
  run.rmsMaxTextCh1 = std::string(70000, 'x');
  for (int i = 0; i < 80; ++i) test::AddTr(run, kChannel1, kUnitVolt, run.rmsStartTime + 40 + i);
  const Bytes full = EncodeDataFile(run);
  std::vector<std::size_t> cuts = {65535, 65536, 65537, full.size() - 1, full.size()};
  for (std::size_t cut = 0; cut < full.size(); cut += 4093) cuts.push_back(cut);
  ScratchDir dir;
  const std::string path = dir.File("piecewise.stdata");
  for (const std::size_t cut : cuts) {
    test::WriteBytes(path, Bytes(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(cut)));
    CDTDoc fromFile = Existing();
    CDTDoc fromBytes = Existing();
    const LoadResult loaded = LoadDataFile(path, fromFile);
    const LoadResult decoded = DecodeDataFile(std::span(full.data(), cut), fromBytes, path);
    ASSERT_EQ(loaded.ok, decoded.ok) << "cut at " << cut;
    ASSERT_EQ(loaded.error, decoded.error);
    ASSERT_EQ(EncodeDataFile(fromFile), EncodeDataFile(fromBytes)) << "cut at " << cut;
  }
  EXPECT_TRUE(DecodeDataFile(full, run, "whole").ok);
}

TEST(DataFileFaults, CountsAreCheckedAgainstTheBytesThatFollow) {
  struct Case {
    const char* name;
    std::int32_t rmsCount;
    std::uint8_t ch1;
    std::int32_t trCount;
    const char* says;
  };
  const Case cases[] = {
      {"negative RMS count", -1, 1, 0, "negative"},
      {"huge RMS count", 0x7FFFFFFF, 1, 0, "announce"},
      {"count without a channel", 5'000'000, 0, 0, "more than the logger"},
      {"negative TR count", 0, 0, -3, "negative"},
      {"huge TR count", 0, 0, 0x7FFFFFFF, "announce"},
  };
  for (const Case& c : cases) {
    Bytes b;
    ByteWriter w(b);
    w.String("RMSTRDATA");
    w.I32(c.rmsCount);
    w.U8(c.ch1);
    w.U8(0);
    w.F32(1.0f);
    for (int v : {2026, 1, 1, 0, 0, 0}) w.I32(v);
    w.I32(c.trCount);
    w.F32(0);
    w.F32(0);
    CDTDoc doc = Existing();
    const LoadResult r = DecodeDataFile(b, doc, "counts");
    EXPECT_FALSE(r.ok) << c.name;
    EXPECT_NE(r.error.find(c.says), std::string::npos) << c.name << ": " << r.error;
    ExpectUnchanged(doc, "before");
  }

  // The largest legal count without a channel loads (a logger with both
  // channels off still counts its samples).
  Bytes ok;
  ByteWriter w(ok);
  w.String("RMSTRDATA");
  w.I32(kMaxStoreSamples);
  w.U8(0);
  w.U8(0);
  w.F32(1.0f);
  for (int v : {2026, 1, 1, 0, 0, 0}) w.I32(v);
  w.I32(0);
  w.F32(0);
  w.F32(0);
  CDTDoc doc;
  EXPECT_TRUE(DecodeDataFile(ok, doc, "ok").ok);
  EXPECT_EQ(doc.rmsCount, kMaxStoreSamples);
}

// A file ends where its layout ends and holds only values its writers
// produce; a count lowered by damage shifts every later field, which this
// catches even where the shifted values look harmless.
TEST(DataFileFaults, BytesLeftOverAndImpossibleFieldsAreRefused) {
  CDTDoc six = StoreDoc(3, true, true);
  for (int i = 0; i < 6; ++i) test::AddTr(six, kChannel1, kUnitVolt, six.rmsStartTime + i);
  const Bytes store = EncodeDataFile(six);
  const std::size_t levelsAt = store.size() - 8;
  const std::size_t trCountAt = levelsAt - 6 * (26 + 4 * kTrWavePoints) - 4;
  const std::size_t head4At = trCountAt + 4 + 3 * 26;
  auto withF32 = [](Bytes b, std::size_t at, float v) {
    std::uint32_t u = 0;
    std::memcpy(&u, &v, 4);
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(u >> (8 * i));
    return b;
  };
  auto withByte = [](Bytes b, std::size_t at, std::uint8_t v) {
    b[at] = v;
    return b;
  };
  auto appended = [](Bytes b, std::size_t n) {
    b.resize(b.size() + n, 0x5A);
    return b;
  };
  struct Case {
    const char* name;
    Bytes bytes;
    const char* says;
  };
  const Case cases[] = {
      {"TR count lowered 6 -> 5", withByte(store, trCountAt, 5), "1030 bytes follow"},
      {"one byte appended", appended(store, 1), "1 byte follows"},
      {"junk after a run's section", appended(RunFile(), 100), "100 bytes follow"},
      {"channel code", withByte(store, head4At, 0), "TR record 4 channel code is 0"},
      {"unit code", withByte(store, head4At + 1, 251), "TR record 4 unit code is 251"},
      {"rise level far out", withF32(store, levelsAt, 1.6e29f), "rise level"},
      {"rise level a fraction", withF32(store, levelsAt, 0.5f), "rise level"},
      {"drop level beyond 16 bits", withF32(store, levelsAt + 4, 40000.0f), "drop level"},
      {"drop level NaN", withF32(store, levelsAt + 4, std::nanf("")), "drop level"},
  };
  for (const Case& c : cases) {
    CDTDoc doc = Existing();
    const LoadResult r = DecodeDataFile(c.bytes, doc, "strict");
    EXPECT_FALSE(r.ok) << c.name;
    EXPECT_NE(r.error.find(c.says), std::string::npos) << c.name << ": " << r.error;
    ExpectUnchanged(doc, "before");
  }
  // The extremes of what the logger reports still load.
  CDTDoc doc;
  EXPECT_TRUE(DecodeDataFile(withF32(withF32(store, levelsAt, -32768.0f), levelsAt + 4, 32767.0f),
                             doc, "levels")
                  .ok);
}

TEST(DataFileFaults, DamagedDatesAndIntervalsAreRefused) {
  const Bytes good = EncodeDataFile(StoreDoc(1, true, false));
  struct Patch {
    std::size_t at;
    std::uint32_t value;
  };
  const std::uint32_t nan = 0x7FC00000u, negative = 0xBF800000u;  // NaN, -1.0f
  for (Patch p : {Patch{16, nan}, Patch{16, negative}, Patch{20, 0x80000000u}, Patch{24, 13},
                  Patch{28, 0}, Patch{32, 24}, Patch{36, 0xFFFFFFFFu}}) {
    Bytes b = good;
    for (int i = 0; i < 4; ++i) b[p.at + i] = static_cast<std::uint8_t>(p.value >> (8 * i));
    CDTDoc doc = Existing();
    const LoadResult r = DecodeDataFile(b, doc, "dates");
    EXPECT_FALSE(r.ok) << "offset " << p.at;
    ExpectUnchanged(doc, "before");
  }
}

TEST(DataFileFaults, ForeignTagsAreInvalidFormat) {
  for (const std::string tag : {"rmstrdata", "RMSTRDAT", "SOMETHING ELSE", ""}) {
    Bytes b;
    ByteWriter(b).String(tag);
    b.resize(200, 0);
    CDTDoc doc = Existing();
    const LoadResult r = DecodeDataFile(b, doc, "foreign");
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, kInvalidFormatMessage);
    EXPECT_EQ(r.tag, tag);
    ExpectUnchanged(doc, tag);  // readTag tells the view what was read
  }
  // A text file is not ours either, even when its first byte reads as a
  // length longer than the file.
  const std::string text = "hello, world\n";
  CDTDoc doc = Existing();
  const LoadResult r = DecodeDataFile(Bytes(text.begin(), text.end()), doc, "text");
  EXPECT_EQ(r.error, kInvalidFormatMessage);
  ExpectUnchanged(doc, "");
  // An empty file says so.
  EXPECT_NE(DecodeDataFile(Bytes{}, doc, "none").error.find("empty"), std::string::npos);
}

TEST(DataFileFaults, RealTimeFileNeedsItsSection) {
  // As an older program wrote it: the tag, the usual layout, nothing more.
  CDTDoc old = StoreDoc(5, true, false);
  old.formatTag = kTagStore;
  Bytes b = EncodeDataFile(old);
  b.erase(b.begin(), b.begin() + 10);
  Bytes tagged;
  ByteWriter(tagged).String("EPADATA");
  tagged.insert(tagged.end(), b.begin(), b.end());

  CDTDoc doc = Existing();
  LoadResult r = DecodeDataFile(tagged, doc, "old run");
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.error, kInvalidFormatMessage);
  EXPECT_EQ(r.tag, "EPADATA");
  ExpectUnchanged(doc, "EPADATA");

  // Something else after the layout is not the section either.
  tagged.insert(tagged.end(), {'X', 'Y', 'Z', 'W', 0, 0, 0, 0});
  doc = Existing();
  EXPECT_EQ(DecodeDataFile(tagged, doc, "old run").error, kInvalidFormatMessage);

  // A section with impossible values is damage, not a foreign format.
  Bytes run = RunFile();
  const std::size_t countAt = RunSectionStart() + 4 + 8 + 4;  // magic, start, interval
  run[countAt] = 0xA1;  // 100,001 points: more than a run takes
  run[countAt + 1] = 0x86;
  run[countAt + 2] = 0x01;
  doc = Existing();
  r = DecodeDataFile(run, doc, "run");
  EXPECT_FALSE(r.ok);
  EXPECT_NE(r.error.find("more than a run"), std::string::npos) << r.error;
  ExpectUnchanged(doc, "before");
}

TEST(DataFileFaults, ReadOnlyFilesOpenAndMissingFilesSaySo) {
  ScratchDir dir;
  const std::string path = dir.File("kept.stdata");
  ASSERT_EQ(SaveDataFile(StoreDoc(4, true, true), path), "");
  ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
  CDTDoc doc;
  const LoadResult r = LoadDataFile(path, doc);
  EXPECT_TRUE(r.ok) << r.error;
  EXPECT_EQ(doc.rmsCount, 4);

  const LoadResult missing = LoadDataFile(dir.File("nothing.stdata"), doc);
  EXPECT_FALSE(missing.ok);
  EXPECT_NE(missing.error.find("does not exist"), std::string::npos);
  const LoadResult folder = LoadDataFile(dir.Path().string(), doc);
  EXPECT_NE(folder.error.find("folder"), std::string::npos);
  // A named pipe is refused at once instead of waiting for a writer.
  ASSERT_EQ(::mkfifo(dir.File("pipe").c_str(), 0600), 0);
  EXPECT_NE(LoadDataFile(dir.File("pipe"), doc).error.find("not a regular file"),
            std::string::npos);

  // No previous measurement yet: nothing to do, nothing to say.
  const LoadResult none = LoadPreviousMeasurement(dir.File("PreMeasureQX7.stdata"), doc);
  EXPECT_FALSE(none.ok);
  EXPECT_EQ(none.error, "");
  EXPECT_EQ(doc.rmsCount, 4);
}

TEST(DataFileFaults, FailedSaveLeavesTheOldFileWhole) {
  ScratchDir dir;
  const std::string path = dir.File("data.stdata");
  ASSERT_EQ(SaveDataFile(StoreDoc(3, true, false), path), "");
  const Bytes before = test::ReadBytes(path);

  // A folder that does not exist.
  const std::string error = SaveDataFile(StoreDoc(9, true, true), dir.File("no/such/x.stdata"));
  EXPECT_NE(error.find("does not exist"), std::string::npos) << error;

  // A target that is a folder: the rename fails after the temporary file
  // was written, and the temporary file does not stay behind.
  std::filesystem::create_directory(dir.File("taken.stdata"));
  std::filesystem::create_directory(dir.File("taken.stdata/inside"));
  EXPECT_NE(SaveDataFile(StoreDoc(9, true, true), dir.File("taken.stdata")), "");
  std::size_t entries = 0;
  for (auto& e : std::filesystem::directory_iterator(dir.Path())) {
    (void)e;
    ++entries;
  }
  EXPECT_EQ(entries, 2u) << "data.stdata and the folder, no leftovers";

  // A read-only folder (root may write anywhere, so only for other users).
  if (::geteuid() != 0) {
    ASSERT_EQ(::chmod(dir.Path().c_str(), 0555), 0);
    const std::string denied = SaveDataFile(StoreDoc(9, true, true), path);
    ::chmod(dir.Path().c_str(), 0755);
    EXPECT_NE(denied.find("permission"), std::string::npos) << denied;
  }
  EXPECT_EQ(test::ReadBytes(path), before);

  // A successful save replaces the file and keeps its permissions.
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  EXPECT_EQ(SaveDataFile(StoreDoc(9, true, true), path), "");
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  CDTDoc doc;
  EXPECT_TRUE(LoadDataFile(path, doc).ok);
  EXPECT_EQ(doc.rmsCount, 9);
}

TEST(DataFileFaults, FilesBeyondTheSizeCapAreRefusedUnread) {
  ScratchDir dir;
  const std::string path = dir.File("huge.stdata");
  ASSERT_EQ(SaveDataFile(StoreDoc(4, true, true), path), "");
  // A sparse tail: the size a reader would allocate for costs no disk.
  ASSERT_EQ(::truncate(path.c_str(), static_cast<off_t>(kMaxDataFileBytes + 1)), 0);
  CDTDoc doc = Existing();
  const LoadResult r = LoadDataFile(path, doc);
  EXPECT_FALSE(r.ok);
  EXPECT_NE(r.error.find(std::to_string(kMaxDataFileBytes + 1) + " bytes long"), std::string::npos)
      << r.error;
  ExpectUnchanged(doc, "before");
}

// Only a regular file is replaced through a temporary file; a device or a
// pipe is written to, a folder refused. Renaming over /dev/null as root
// would have replaced the device with a plain file.
TEST(DataFileFaults, SpecialTargetsAreWrittenDirectlyOrRefused) {
  ScratchDir dir;
  const Bytes bytes = EncodeDataFile(StoreDoc(4, true, true));
  struct Case {
    std::string target;
    std::string error;  // "" when the write must succeed
  };
  ASSERT_EQ(::mkfifo(dir.File("unread").c_str(), 0600), 0);
  std::filesystem::create_directory(dir.File("folder"));
  for (const Case& c : {Case{"/dev/null", ""}, Case{"/dev/full", "the disk is full"},
                        Case{dir.File("unread"), "no program reads from it"},
                        Case{dir.File("folder"), "it is a folder"}}) {
    SCOPED_TRACE(c.target);
    const std::string error = WriteFileAtomically(c.target, bytes);
    if (c.error.empty()) {
      EXPECT_EQ(error, "");
    } else {
      EXPECT_NE(error.find(c.error), std::string::npos) << error;
    }
  }
  struct stat st {};
  ASSERT_EQ(::stat("/dev/null", &st), 0);
  EXPECT_TRUE(S_ISCHR(st.st_mode));

  // A pipe with a reader gets the bytes and stays a pipe.
  const std::string pipe = dir.File("pipe");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  const int reader = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  ASSERT_EQ(WriteFileAtomically(pipe, bytes), "");
  Bytes got(bytes.size() + 1);
  EXPECT_EQ(::read(reader, got.data(), got.size()), static_cast<ssize_t>(bytes.size()));
  got.resize(bytes.size());
  EXPECT_EQ(got, bytes);
  ::close(reader);
  ASSERT_EQ(::stat(pipe.c_str(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 3)
      << "no temporary file left behind";
}

TEST(DataFileFaults, PreviousMeasurementOfARunComesBack) {
  ScratchDir dir;
  const std::string path = dir.File("PreMeasureQX7.stdata");
  CDTDoc doc;
  ASSERT_TRUE(DecodeDataFile(RunFile(), doc, "run").ok);
  doc.formatTag = kTagRealTime;
  ASSERT_EQ(SavePreviousMeasurement(doc, path), "");
  CDTDoc back;
  const LoadResult r = LoadPreviousMeasurement(path, back);
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.tag, "EPADATA");
  EXPECT_EQ(back.rtCount, 4);
  EXPECT_EQ(back.rmsCount, 20);
  EXPECT_EQ(back.rtRmsMaxText[0], doc.rtRmsMaxText[0]);
  EXPECT_NE(back.rtRmsMaxText[0], "");
}

}  // namespace
}  // namespace acv
