#pragma once
// The real-time run: asks the logger for waveform blocks (0xC8 frames, repeated
// every 5 s), keeps the latest wave in the document, and once per sampling
// interval turns it into one RMS and one frequency point per present channel,
// with running extremes. The run ends at its point count, on Stop, when the
// logger reports no channel or a changed channel, or silently when the logger
// stops answering; the points taken are kept as the previous measurement.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "data/CDTDoc.h"
#include "data/RunJournal.h"
#include "logger/LinkHost.h"
#include "logger/LoggerLink.h"
#include "logger/PowerAnalysis.h"
#include "logger/WaveAnalysis.h"

namespace acv {

inline constexpr const char* kNoChannelMessage = "There is no channel!";
inline constexpr const char* kChannelChangedMessage = "The channel is changed,please restart!";

inline constexpr std::uint8_t kRealTimeBlockMark = 0x3F;  // bytes 0 and 1 of a data block
inline constexpr int kRealTimeBlockSize = 2365;
inline constexpr int kRealTimeWatchdogMs = 10000;
inline constexpr int kRealTimeRepeatMs = 5000;
inline constexpr int kFirstTickMs = 10;
inline constexpr int kDefaultRealTimePoints = 3600;
inline constexpr int kMinRealTimeInterval = 2;
inline constexpr int kMaxRealTimeInterval = 3600;

class RealTimeRun : public TransferHandler {
 public:
  // An empty previousMeasurementPath skips writing the previous-measurement
  // file (benchmarks).
  RealTimeRun(LoggerLink& link, CDTDoc& doc, LinkHost& host, std::string previousMeasurementPath);
  RealTimeRun(const RealTimeRun&) = delete;
  RealTimeRun& operator=(const RealTimeRun&) = delete;

  // ---- TransferHandler ----------------------------------------------------
  void ClearCounters() override {}
  std::uint8_t PrepareStart() override;
  void OnReply(std::span<const std::uint8_t> block) override;
  bool OwnsTimer(int id) const override;
  void OnTimer(int id) override;
  void OnPortLost() override;
  void ForgetPartialReply() override;

  // Ends a running run: timers killed, points kept and saved as the previous
  // measurement, stop frame sent, host told why. Does nothing when no run is
  // in progress.
  void StopRealTime(RunEnd why);

  // Each run from now on keeps a crash journal in `folder` (see RunJournal.h);
  // empty: no journal.
  void SetJournalFolder(std::string folder) { journalFolder_ = std::move(folder); }

  // ---- run parameters and state -------------------------------------------
  int realTimePoints = kDefaultRealTimePoints;  // points to take, 1..100000
  std::array<float, 2> rtRmsMax{}, rtRmsMin{}, rtFreqMax{}, rtFreqMin{};
  float rtSMax = 0.0f, rtSMin = 0.0f;
  // Channel presence and units as the first block of the run reported them.
  std::uint8_t rememberedHasCh1 = 0, rememberedHasCh2 = 0;
  std::string rememberedUnitCh1, rememberedUnitCh2;
  // The latest power-analysis texts per channel (index 0 = CH1).
  std::array<PowerPanelTexts, 2> panelTexts{};
  // P, Q, power factor and phases of the latest point; none without a
  // voltage/current pair that both carry a signal.
  std::optional<PowerValues> power;
  // Why saving the previous measurement failed at the end of the last run;
  // empty when it succeeded or nothing was saved.
  std::string saveError;
  // The first problem with the current run's journal; empty while it works.
  // The run goes on without it.
  std::string journalError;

 private:
  // What the first kRealTimeBlockSize bytes of pending_ are.
  struct Verdict {
    enum class Kind { Whole, Spliced, Undecided } kind;
    // Spliced: where the block that cut it short begins. Undecided: how many
    // bytes the decision needs.
    std::size_t at = 0;
  };
  static bool StartsWithMark(std::span<const std::uint8_t> bytes);
  // Keeps the bytes from the first block mark on (nothing when there is none)
  // as the beginning of the next block.
  void KeepFromMark(std::span<const std::uint8_t> bytes);
  // A read (or the bytes taken when a held block is settled): what came
  // before a pause in it (pauseAt >= 0) ends the reply in progress; the rest
  // starts or continues one.
  void Receive(std::span<const std::uint8_t> read, long pauseAt, bool settling);
  void Append(std::span<const std::uint8_t> bytes);
  // Handles every whole block pending_ holds; `nothingFollows`: no more
  // bytes will come for it, so a block held back is decided on what is there.
  void TakeWholeBlocks(bool nothingFollows);
  Verdict Judge(bool nothingFollows) const;
  // timer::kBlockSettle: nothing more came for a block held back.
  void SettleHeldBlock();
  // The receive threshold: the rest of a block begun, else a whole block.
  void ExpectRest();
  void RepeatRequest();
  void HandleDataBlock(std::span<const std::uint8_t> block);
  void BeginRun();
  void SamplingTick();
  // The wave analysis of each present channel into point n, then the power
  // analysis of the pair.
  void AnalyseChannels(std::int32_t n);
  void WatchdogTick();
  // Ends the run without a stop frame (logger silent, port gone).
  void EndSilently();
  void KillRunTimers();
  void BeginJournal();
  // Keeps the run's first journal problem and tells the host about it.
  void JournalFailed(std::string problem);
  void FinishJournal();
  void SavePoints();
  void SendStopFrame();

  LoggerLink& link_;
  CDTDoc& doc_;
  LinkHost& host_;
  std::string previousMeasurementPath_;
  std::string journalFolder_;
  JournalWriter journal_;
  int runPoints_ = 0;      // capacity of the point arrays of this run
  bool runBegun_ = false;  // the first block of this run has arrived
  // The beginning of a block whose rest comes with the next read, without a
  // pause between them; or a whole block held back until what follows it
  // shows whether a block mark inside it began the next block.
  std::vector<std::uint8_t> pending_;
  std::size_t heldNeed_ = 0;  // bytes the decision on a held block waits for
};

}  // namespace acv
