#pragma once
// The crash journal of a real-time run: every point is appended to a file in
// the program's data folder as soon as it is taken, so a crash, a killed
// program or a power cut loses at most the point being written. A run that
// ends normally removes its journal once the previous measurement holds the
// points; a journal found later is a run that ended unexpectedly.
//
// Layout (little-endian):
//   8 bytes   "ACVRTJ01"
//   int64     rtStartTime, seconds since 1970 UTC
//   int32     rtInterval, seconds
//   int32     points requested for the run
//   u8        rtHasCh1, u8 rtHasCh2
//   strings   rtUnitCh1, rtUnitCh2 (the data files' string form)
//   u32       CRC-32 of every header byte before it
// then one 24-byte record per point:
//   int32     point index (0, 1, 2, ...)
//   float32   rtRms.ch1, rtRms.ch2, rtFreq.ch1, rtFreq.ch2
//   u32       CRC-32 of the 20 bytes before it
//
// Each journal has its own file name (start time and process id) and is
// locked (flock) by the program writing it, so two programs never share one
// and a running program's journal is never taken for a crashed one. It is
// created under a hidden name, locked and given its head before it takes
// its name, so no other program ever sees it unlocked or empty. A program
// recovering or setting aside a journal holds the same lock until it is
// done, so two programs never recover the same run.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "data/CDTDoc.h"

namespace acv {

inline constexpr std::size_t kJournalRecordBytes = 24;
// The header with two units of up to 254 characters stays well below this.
inline constexpr std::uint64_t kMaxJournalBytes =
    1024 + static_cast<std::uint64_t>(kMaxRealTimePoints) * kJournalRecordBytes;

// What a run's journal says about itself before its first point.
struct JournalHeader {
  TimeStamp rtStartTime = 0;
  std::int32_t rtInterval = 2;
  std::int32_t realTimePoints = 0;
  std::uint8_t rtHasCh1 = 0, rtHasCh2 = 0;
  std::string rtUnitCh1, rtUnitCh2;
};

// The header of a run described by `run`, asked for `realTimePoints` points.
JournalHeader HeaderOf(const RealTimeFamily& run, std::int32_t realTimePoints);
std::vector<std::uint8_t> EncodeJournalHeader(const JournalHeader& header);
std::vector<std::uint8_t> EncodeJournalRecord(std::int32_t index, const ChannelPair& rms,
                                              const ChannelPair& freq);

// What a journal gives back. ok = false means nothing could be recovered
// (error says why); otherwise `run` holds every whole point before the first
// damaged or missing byte, with its statistics texts rebuilt, and `dropped`
// counts the records (whole or cut) after that point.
struct JournalContents {
  bool ok = false;
  std::string error;
  RealTimeFamily run;
  std::int32_t realTimePoints = 0;
  std::int32_t dropped = 0;
};
JournalContents DecodeJournal(std::span<const std::uint8_t> bytes);

// Appends a run's points to its journal. Not copyable; the destructor closes
// the file and keeps it (a run that did not end through Finish() is exactly
// what the journal is for).
class JournalWriter {
 public:
  JournalWriter() = default;
  ~JournalWriter();
  JournalWriter(const JournalWriter&) = delete;
  JournalWriter& operator=(const JournalWriter&) = delete;

  // Creates and locks a new journal in `folder` (created when missing) and
  // writes the header. Returns "" or the problem; on a problem the writer
  // stays closed and every Append is a no-op.
  std::string Begin(const std::string& folder, const JournalHeader& header);
  // Writes point `index` and syncs it to the disk: a point is on the disk
  // before the next one is taken. Returns "" or the problem (after the first
  // problem nothing more is written; the journal keeps what it has).
  std::string Append(std::int32_t index, const ChannelPair& rms, const ChannelPair& freq);
  // The run ended and its points are safe elsewhere: close and remove.
  // Returns "" or the problem (the journal is then marked, if it can be, so
  // that the saved run is not offered for recovery).
  std::string Finish();
  // The run ended but its points are not safe elsewhere: close and keep.
  void Keep();

  bool IsOpen() const { return fd_ >= 0; }
  const std::string& Path() const { return path_; }

 private:
  int fd_ = -1;
  bool stopped_ = false;  // a write failed; the rest of the run is not written
  std::string path_;
};

// Journals in `folder` left by runs that ended unexpectedly, oldest first.
// Journals locked by another program are not listed; `busy` (when given)
// receives how many of those there are.
std::vector<std::string> FindLeftJournals(const std::string& folder, int* busy = nullptr);

// A left journal taken by this program: locked from Take() until the object
// goes, so that it is read, adopted, set aside or removed by this program
// alone.
class LeftJournal {
 public:
  LeftJournal() = default;
  ~LeftJournal();
  LeftJournal(const LeftJournal&) = delete;
  LeftJournal& operator=(const LeftJournal&) = delete;

  // Locks and reads the journal at `path`. A journal another program holds
  // (a run still recording, or another recovery) is refused with a message
  // saying so.
  JournalContents Take(const std::string& path);
  // "No" to recovery: renames the journal so that it is kept but never
  // offered again. Returns "" or the problem.
  std::string SetAside();
  // The points were recovered and saved: the journal goes. Returns "" or the
  // problem.
  std::string Remove();
  const std::string& Path() const { return path_; }
  // The lock is held: the journal may be set aside or removed, whatever its
  // contents.
  bool Taken() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
  std::string path_;
};

// The recovery question's text for a journal's contents.
std::string RecoveryQuestion(const JournalContents& contents);
// "Recovered n points" with the dropped ones, for messages after a recovery.
std::string RecoverySummary(const JournalContents& contents);

}  // namespace acv
