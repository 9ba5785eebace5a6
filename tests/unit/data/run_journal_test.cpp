// The crash journal: what a run writes, what a crash leaves, and what comes
// back from it, including journals cut or damaged at every byte.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "data/DataFile.h"
#include "data/RunJournal.h"
#include "data/RunRecovery.h"
#include "data_test_util.h"
#include "support/SmallTmpfs.h"

namespace acv::test {
namespace {

JournalHeader Header() {
  JournalHeader h;
  h.rtStartTime = Local(2026, 3, 29, 1, 59, 0);
  h.rtInterval = 2;
  h.realTimePoints = 3600;
  h.rtHasCh1 = 1;
  h.rtHasCh2 = 1;
  h.rtUnitCh1 = "V";
  h.rtUnitCh2 = "A";
  return h;
}

ChannelPair Rms(int i) {
  return {230.0f + static_cast<float>(i), 4.5f + 0.5f * static_cast<float>(i)};
}
ChannelPair Freq(int i) {
  return {50.0f + 0.1f * static_cast<float>(i), i == 1 ? 400.0f : 49.9f};
}

std::vector<std::uint8_t> JournalBytes(int points) {
  std::vector<std::uint8_t> bytes = EncodeJournalHeader(Header());
  for (int i = 0; i < points; ++i) {
    const auto record = EncodeJournalRecord(i, Rms(i), Freq(i));
    bytes.insert(bytes.end(), record.begin(), record.end());
  }
  return bytes;
}

TEST(RunJournal, WrittenPointsComeBackWithTheRunsDescriptionAndTexts) {
  ScratchDir dir;
  {
    JournalWriter writer;
    ASSERT_EQ(writer.Begin(dir.File("journals"), Header()), "");
    for (int i = 0; i < 3; ++i) ASSERT_EQ(writer.Append(i, Rms(i), Freq(i)), "");
    EXPECT_EQ(ReadBytes(writer.Path()), JournalBytes(3));
    // The writer holds the journal: it is no crashed run, and no second
    // program may take it.
    int busy = 0;
    EXPECT_TRUE(FindLeftJournals(dir.File("journals"), &busy).empty());
    EXPECT_EQ(busy, 1);
    LeftJournal other;
    const JournalContents refused = other.Take(writer.Path());
    EXPECT_FALSE(refused.ok);
    EXPECT_FALSE(other.Taken());
    EXPECT_NE(refused.error.find("held by another program"), std::string::npos) << refused.error;
  }  // the program dies without finishing the run

  const std::vector<std::string> left = FindLeftJournals(dir.File("journals"));
  ASSERT_EQ(left.size(), 1u);
  LeftJournal taken;
  JournalContents c = taken.Take(left[0]);
  ASSERT_TRUE(c.ok) << c.error;
  EXPECT_EQ(c.dropped, 0);
  EXPECT_EQ(c.realTimePoints, 3600);
  RealTimeFamily expected;
  expected.rtStartTime = Header().rtStartTime;
  expected.rtInterval = 2;
  expected.rtCount = 3;
  expected.rtHasCh1 = expected.rtHasCh2 = 1;
  expected.rtUnitCh1 = "V";
  expected.rtUnitCh2 = "A";
  for (int i = 0; i < 3; ++i) {
    expected.rtRms.push_back(Rms(i));
    expected.rtFreq.push_back(Freq(i));
  }
  RecomputeRealTimeStatistics(expected);
  EXPECT_EQ(c.run, expected);
  EXPECT_EQ(c.run.rtFreqMaxText[1], "OL @29/03/26 01:59:02");
  EXPECT_EQ(RecoveryQuestion(c),
            "A real-time run ended unexpectedly (started 29/03/26 01:59:00, 3 points). "
            "Recover it?");

  // Recovery: the points become the REAL TIME data and the previous
  // measurement; the STORE data of the previous measurement (the download
  // the run was made with) stay; the journal goes.
  const std::string previousPath = dir.File("PreMeasureQX7.stdata");
  const StoreFamily store = StoreDoc(4, true, false).Store();
  ASSERT_EQ(SavePreviousMeasurement(StoreDoc(4, true, false), previousPath), "");
  CDTDoc doc;
  const Adoption adopted = AdoptRecoveredRun(c, taken, previousPath, doc);
  EXPECT_TRUE(adopted.kept);
  EXPECT_EQ(adopted.problem, "");
  EXPECT_EQ(doc.RealTime(), expected);
  EXPECT_EQ(doc.Store(), store);
  CDTDoc previous;
  ASSERT_TRUE(LoadPreviousMeasurement(previousPath, previous).ok);
  EXPECT_EQ(previous.RealTime(), expected);
  EXPECT_EQ(previous.Store(), store);
  EXPECT_FALSE(std::filesystem::exists(left[0]));
}

TEST(RunJournal, FinishRemovesAndKeepLeavesTheJournal) {
  ScratchDir dir;
  JournalWriter finished, kept;
  ASSERT_EQ(finished.Begin(dir.Path().string(), Header()), "");
  ASSERT_EQ(kept.Begin(dir.Path().string(), Header()), "");
  EXPECT_NE(finished.Path(), kept.Path());  // two runs never share a journal
  EXPECT_EQ(finished.Finish(), "");
  kept.Keep();
  EXPECT_EQ(FindLeftJournals(dir.Path().string()), std::vector<std::string>{kept.Path()});
  // "No" to the question: kept under another name, never offered again.
  LeftJournal declined;
  ASSERT_TRUE(declined.Take(kept.Path()).ok);
  ASSERT_EQ(declined.SetAside(), "");
  EXPECT_TRUE(FindLeftJournals(dir.Path().string()).empty());
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

// A journal spoilt at every byte of a stretch in turn, cut there or with a
// bit flipped there: every whole point before the fault comes back, nothing
// after it; a spoilt header recovers nothing and says why.
TEST(RunJournal, ACutOrDamageRecoversEveryWholePointBeforeIt) {
  const std::size_t header = EncodeJournalHeader(Header()).size();
  const std::size_t record = kJournalRecordBytes;
  const struct Case {
    const char* what;
    int points;            // records written
    std::size_t from, to;  // the stretch
    std::uint8_t flip;     // 0: cut instead
    int kept, dropped;     // kept -1: nothing recovered
  } cases[] = {
      {"cut in the last record", 3, header + 2 * record, header + 3 * record, 0, 2, 1},
      {"damage in the second record", 4, header + record, header + 2 * record, 0x10, 1, 3},
      {"cut in the header", 0, 0, header, 0, -1, 0},
      {"damage in the header", 0, 0, header, 0x01, -1, 0},
  };
  for (const Case& c : cases) {
    const std::vector<std::uint8_t> whole = JournalBytes(c.points);
    for (std::size_t at = c.from; at < c.to; ++at) {
      SCOPED_TRACE(::testing::Message() << c.what << " at byte " << at);
      std::vector<std::uint8_t> spoilt = whole;
      c.flip ? void(spoilt[at] ^= c.flip) : spoilt.resize(at);
      const JournalContents got = DecodeJournal(spoilt);
      if (c.kept < 0) {
        EXPECT_FALSE(got.ok);
        EXPECT_FALSE(got.error.empty());
        continue;
      }
      ASSERT_TRUE(got.ok);
      EXPECT_EQ(got.run.rtCount, c.kept);
      EXPECT_EQ(got.dropped, !c.flip && at == c.from ? 0 : c.dropped);  // a cut between records
      std::vector<ChannelPair> kept;
      for (int i = 0; i < c.kept; ++i) kept.push_back(Rms(i));
      EXPECT_EQ(got.run.rtRms, kept);
    }
  }
  // A record out of sequence (a stale one from an older write) counts as
  // damage too, and a header that cannot be is refused.
  std::vector<std::uint8_t> repeated = JournalBytes(2);
  const auto again = EncodeJournalRecord(0, Rms(0), Freq(0));
  repeated.insert(repeated.end(), again.begin(), again.end());
  EXPECT_EQ(DecodeJournal(repeated).run.rtCount, 2);
  EXPECT_EQ(DecodeJournal(repeated).dropped, 1);
  JournalHeader impossible = Header();
  impossible.rtInterval = 0;
  EXPECT_FALSE(DecodeJournal(EncodeJournalHeader(impossible)).ok);
}

TEST(RunJournal, NoFolderOrNoJournalIsNothingToRecover) {
  ScratchDir dir;
  const JournalsLeft none = NextLeftJournal(dir.File("missing"));
  EXPECT_EQ(none.oldest, "");
  EXPECT_EQ(none.more, 0);
  EXPECT_EQ(none.busy, 0);
  WriteBytes(dir.File("notes.txt"), {1, 2, 3});
  EXPECT_TRUE(FindLeftJournals(dir.Path().string()).empty());
  const JournalContents c = LeftJournal().Take(dir.File("realtime-x.journal"));
  EXPECT_FALSE(c.ok);
  EXPECT_NE(c.error.find("realtime-x.journal"), std::string::npos);
}

}  // namespace
}  // namespace acv::test

namespace acv::test {
namespace {

// Runs `body` in a child process that reports through a pipe when it holds
// what it took, and waits for a byte from the parent before it exits.
class ChildProcess {
 public:
  explicit ChildProcess(const std::function<bool()>& body) {
    if (::pipe(toParent_) != 0 || ::pipe(toChild_) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      const char ok = body() ? 'y' : 'n';
      (void)::write(toParent_[1], &ok, 1);
      char go = 0;
      (void)::read(toChild_[0], &go, 1);
      ::_exit(0);
    }
  }
  // What the child's body returned, once it did.
  bool Ready() {
    char ok = 0;
    return ::read(toParent_[0], &ok, 1) == 1 && ok == 'y';
  }
  ~ChildProcess() {
    if (pid_ <= 0) return;
    const char go = 1;
    (void)::write(toChild_[1], &go, 1);
    ::waitpid(pid_, nullptr, 0);
    for (int fd : {toParent_[0], toParent_[1], toChild_[0], toChild_[1]}) ::close(fd);
  }

 private:
  int toParent_[2] = {-1, -1}, toChild_[2] = {-1, -1};
  pid_t pid_ = -1;
};

// Two programs at the same journal: while one holds it (recording, or
// recovering it) the other neither lists, reads, sets aside nor removes it.
TEST(RunJournal, AJournalHeldByAnotherProcessIsLeftAlone) {
  ScratchDir dir;
  std::string path;
  {
    JournalWriter crashed;
    ASSERT_EQ(crashed.Begin(dir.Path().string(), Header()), "");
    ASSERT_EQ(crashed.Append(0, Rms(0), Freq(0)), "");
    path = crashed.Path();
  }
  {
    ChildProcess recovering([&] {
      static LeftJournal held;  // kept until the child exits
      return held.Take(path).ok;
    });
    ASSERT_TRUE(recovering.Ready());
    int busy = 0;
    EXPECT_TRUE(FindLeftJournals(dir.Path().string(), &busy).empty());
    EXPECT_EQ(busy, 1);
    LeftJournal second;
    EXPECT_FALSE(second.Take(path).ok);
    EXPECT_FALSE(second.Taken());
    EXPECT_NE(second.SetAside(), "");
    EXPECT_TRUE(std::filesystem::exists(path));
  }
  // The other program set it aside meanwhile: a name taken before is gone.
  const std::vector<std::string> left = FindLeftJournals(dir.Path().string());
  ASSERT_EQ(left, std::vector<std::string>{path});
  {
    ChildProcess declining([&] {
      LeftJournal j;
      return j.Take(path).ok && j.SetAside().empty();
    });
    ASSERT_TRUE(declining.Ready());
  }
  LeftJournal late;
  EXPECT_FALSE(late.Take(left[0]).ok);
  EXPECT_TRUE(FindLeftJournals(dir.Path().string()).empty());

  // A run being written by another process is never listed.
  ChildProcess recording([&] {
    static JournalWriter live;
    return live.Begin(dir.File("live"), Header()).empty();
  });
  ASSERT_TRUE(recording.Ready());
  int busy = 0;
  EXPECT_TRUE(FindLeftJournals(dir.File("live"), &busy).empty());
  EXPECT_EQ(busy, 1);
}

// Where the journal's folder may not change, a set-aside, a removal after a
// recovery or after a saved run fails: it is said once, and the journal is
// marked so that it is not offered at every start.
TEST(RunJournal, AJournalThatCannotBeRenamedOrRemovedIsNotOfferedAgain) {
  ScratchDir dir;
  const std::string folder = dir.File("journals");
  JournalWriter declined, recovered, saved;
  for (JournalWriter* w : {&declined, &recovered, &saved}) {
    ASSERT_EQ(w->Begin(folder, Header()), "");
    ASSERT_EQ(w->Append(0, Rms(0), Freq(0)), "");
  }
  declined.Keep();
  recovered.Keep();
  FrozenFolder frozen(folder);
  if (!frozen.Frozen()) GTEST_SKIP() << "the folder cannot be made unchangeable here";
  EXPECT_NE(saved.Finish().find("not offered again"), std::string::npos);
  LeftJournal no, yes;
  ASSERT_TRUE(no.Take(declined.Path()).ok);
  EXPECT_NE(no.SetAside().find("not offered again"), std::string::npos);
  ASSERT_TRUE(yes.Take(recovered.Path()).ok);
  EXPECT_NE(yes.Remove().find("not offered again"), std::string::npos);
  EXPECT_TRUE(FindLeftJournals(folder).empty());
}

}  // namespace
}  // namespace acv::test
