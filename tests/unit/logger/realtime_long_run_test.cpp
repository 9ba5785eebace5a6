// The longest run the program allows, 100,000 points at 2 s, on the fake
// clock: every point reaches the crash journal while the run lasts and the
// previous measurement at its end, with no memory beyond the point arrays.
#include <fcntl.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "data/DataFile.h"
#include "data/FileIO.h"
#include "data/RunJournal.h"
#include "realtime_fixture.h"
#include "support/SmallTmpfs.h"

namespace acv::test {
namespace {

namespace fs = std::filesystem;

// The journal written by this run, read without taking its lock (the run
// holds it).
JournalContents ReadRunningJournal(const fs::path& folder) {
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path().extension() != ".journal") continue;
    std::vector<std::uint8_t> bytes;
    if (!ReadWholeFile(entry.path().string(), bytes, kMaxJournalBytes).empty()) break;
    return DecodeJournal(bytes);
  }
  return {};
}

TEST_F(RealTimeTest, HundredThousandPointsReachJournalAndPreviousMeasurement) {
  // A memory file system where there is one: the journal syncs every point,
  // which costs a disk's latency on a real disk.
  const fs::path journals = (fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : dir) /
                            ("acv-journal-" + std::to_string(::getpid()));
  fs::remove_all(journals);
  run.SetJournalFolder(journals.string());
  constexpr int kPoints = kMaxRealTimePoints;
  Start(2, kPoints);

  // The last point is taken 10 ms + 99,999 x 2 s after the first block; the
  // block that ends the run comes with the next request repeat.
  clock.Advance(11 + 2000LL * (kPoints - 1) + 50);
  ASSERT_EQ(doc.rtCount, kPoints);
  ASSERT_TRUE(host.ends.empty());
  EXPECT_TRUE(run.journalError.empty()) << run.journalError;
  EXPECT_EQ(doc.rtRms.capacity(), static_cast<std::size_t>(kPoints));
  EXPECT_EQ(doc.rtFreq.capacity(), static_cast<std::size_t>(kPoints));

  const JournalContents journal = ReadRunningJournal(journals);
  ASSERT_TRUE(journal.ok) << journal.error;
  EXPECT_EQ(journal.dropped, 0);
  ASSERT_EQ(journal.run.rtCount, kPoints);
  EXPECT_EQ(journal.run.rtRms, doc.rtRms);
  EXPECT_EQ(journal.run.rtFreq, doc.rtFreq);
  EXPECT_EQ(journal.run.rtRmsMaxText, doc.rtRmsMaxText);
  EXPECT_EQ(journal.run.rtSMinText, doc.rtSMinText);

  clock.Advance(5000);
  ASSERT_EQ(host.ends, (std::vector<RunEnd>{RunEnd::PointLimit}));
  CDTDoc loaded;
  ASSERT_TRUE(LoadPreviousMeasurement(previousPath, loaded).ok);
  EXPECT_EQ(loaded.RealTime(), doc.RealTime());
  // A run that ended normally leaves no journal behind.
  EXPECT_TRUE(FindLeftJournals(journals.string()).empty());
  EXPECT_TRUE(fs::is_empty(journals));
  fs::remove_all(journals);
}

TEST_F(RealTimeTest, JournalIsKeptWhenThePreviousMeasurementCannotBeWritten) {
  const fs::path journals = dir / "journals";
  run.SetJournalFolder(journals.string());
  fs::create_directories(previousPath);  // a folder where the file should go
  Start(2, 2);
  clock.Advance(6000);
  ASSERT_EQ(host.ends.size(), 1u);
  EXPECT_FALSE(run.saveError.empty());
  const std::vector<std::string> left = FindLeftJournals(journals.string());
  ASSERT_EQ(left.size(), 1u);
  const JournalContents c = LeftJournal().Take(left[0]);
  ASSERT_TRUE(c.ok) << c.error;
  EXPECT_EQ(c.run.rtCount, 2);
  EXPECT_EQ(c.run.rtStartTime, doc.rtStartTime);
  EXPECT_EQ(c.run.rtUnitCh2, "A");
}

// The disk fills up during a run: the journal stops with one report, the run
// takes every point, and its normal end leaves no journal to offer.
TEST_F(RealTimeTest, AFullDiskStopsTheJournalWithOneReportAndTheRunGoesOn) {
  SmallTmpfs disk((dir / "disk").string(), 64);
  if (!disk.Mounted()) GTEST_SKIP() << disk.Why();
  run.SetJournalFolder(disk.Folder());
  // More records than the journal's first page holds, so that it must grow.
  constexpr int kPoints = 400;
  Start(2, kPoints);
  clock.Advance(11);
  ASSERT_EQ(doc.rtCount, 1);
  disk.Fill();
  clock.Advance(2000LL * kPoints + 5000);
  EXPECT_EQ(doc.rtCount, kPoints);
  ASSERT_EQ(host.journalProblems.size(), 1u);
  EXPECT_NE(host.journalProblems[0].find(std::strerror(ENOSPC)), std::string::npos)
      << host.journalProblems[0];
  ASSERT_EQ(host.ends, (std::vector<RunEnd>{RunEnd::PointLimit}));
  EXPECT_TRUE(run.saveError.empty()) << run.saveError;
  EXPECT_TRUE(FindLeftJournals(disk.Folder()).empty());
}

}  // namespace
}  // namespace acv::test
