#include "logger/RealTimeRun.h"

#include <algorithm>
#include <utility>

#include "data/DataFile.h"
#include "data/TimeText.h"
#include "logger/CommandBuilders.h"
#include "logger/MemoryImage.h"

namespace acv {
namespace {

// Offsets inside a real-time data block.
constexpr std::size_t kChannelFlagOffset = 2;
constexpr std::size_t kCh1KindOffset = 3;
constexpr std::size_t kCh2KindOffset = 4;
constexpr std::size_t kSamplesOffset = 5;
constexpr std::size_t kBytesPerPair = 4;

// Applies one channel kind byte; codes the logger does not define leave the
// channel as it was.
void ApplyKind(std::uint8_t kind, std::uint8_t& present, std::string& unit) {
  switch (kind) {
    case kKindCurrent:
      present = 1;
      unit = "A";
      break;
    case kKindVoltage:
      present = 1;
      unit = "V";
      break;
    case kKindOff:
      present = 0;
      break;
    default:
      break;
  }
}

constexpr std::size_t kHeadSize = 5;

// Whether the bytes from `at` on begin a block head: the mark, the channel
// flag and two kind codes the logger sends. Partly: what has arrived fits so
// far.
enum class HeadMatch { No, Partly, Yes };
HeadMatch HeadAt(std::span<const std::uint8_t> bytes, std::size_t at) {
  for (std::size_t i = 0; i < kHeadSize; ++i) {
    if (at + i >= bytes.size()) return HeadMatch::Partly;
    const std::uint8_t b = bytes[at + i];
    const bool fits = i < kChannelFlagOffset ? b == kRealTimeBlockMark
                      : i == kChannelFlagOffset
                          ? true
                          : b == kKindCurrent || b == kKindVoltage || b == kKindOff;
    if (!fits) return HeadMatch::No;
  }
  return HeadMatch::Yes;
}

float SignedBigEndian(std::uint8_t high, std::uint8_t low) {
  return static_cast<float>(static_cast<std::int16_t>(static_cast<std::uint16_t>(high << 8 | low)));
}

}  // namespace

RealTimeRun::RealTimeRun(LoggerLink& link, CDTDoc& doc, LinkHost& host,
                         std::string previousMeasurementPath)
    : link_(link),
      doc_(doc),
      host_(host),
      previousMeasurementPath_(std::move(previousMeasurementPath)) {}

std::uint8_t RealTimeRun::PrepareStart() {
  // The connect dialog checks both ranges; values set another way must still
  // give arrays of a sane size and a timer period that cannot overflow.
  realTimePoints = std::clamp(realTimePoints, 1, kMaxRealTimePoints);
  doc_.rtInterval = std::clamp(doc_.rtInterval, kMinRealTimeInterval, kMaxRealTimeInterval);
  doc_.rtCount = 0;
  runBegun_ = false;
  // Bytes of an earlier run must not begin this run's first block.
  pending_.clear();
  heldNeed_ = 0;
  link_.realTimeStopped = 0;
  link_.replySeen = 0;
  saveError.clear();
  link_.SetThreshold(kRealTimeBlockSize);
  // The watchdog also covers the wait for the first block: a logger that
  // never answers must end the run instead of leaving it "running" for ever.
  link_.Timers().Start(timer::kRealTimeWatchdog, kRealTimeWatchdogMs);
  return kCmdRealTime;
}

bool RealTimeRun::OwnsTimer(int id) const {
  return id == timer::kRealTimeWatchdog || id == timer::kSamplingTick ||
         id == timer::kRealTimeRepeat || id == timer::kBlockSettle;
}

void RealTimeRun::OnTimer(int id) {
  switch (id) {
    case timer::kRealTimeWatchdog:
      WatchdogTick();
      break;
    case timer::kSamplingTick:
      SamplingTick();
      break;
    case timer::kRealTimeRepeat:
      RepeatRequest();
      break;
    case timer::kBlockSettle:
      SettleHeldBlock();
      break;
    default:
      break;
  }
}

void RealTimeRun::OnReply(std::span<const std::uint8_t> read) {
  if (link_.realTimeStopped) {
    // The logger keeps sending until it sees a stop frame: answer every
    // block of a finished run with one more.
    pending_.clear();
    SendStopFrame();
    return;
  }
  Receive(read, link_.replyPauseAt, false);
}

void RealTimeRun::Receive(std::span<const std::uint8_t> read, long pauseAt, bool settling) {
  if (pauseAt >= 0) {
    // What came before the pause ends the reply in progress: a block it
    // completes is taken, a block it leaves short (the logger was unplugged,
    // or lost the rest) is dropped, never completed with the bytes of the
    // next reply. What follows the pause starts a reply.
    const std::size_t before = std::min(static_cast<std::size_t>(pauseAt), read.size());
    Append(read.first(before));
    TakeWholeBlocks(true);
    pending_.clear();
    read = read.subspan(before);
  } else if (pending_.empty() && !settling && StartsWithMark(read) &&
             read.size() < static_cast<std::size_t>(kRealTimeBlockSize)) {
    // The receive event waits for a whole block: a reply of its own that
    // is shorter, without a pause before it, cannot be told from garbage
    // and would leave part of the wave undefined. The watchdog or the next
    // block takes care of the run.
    read = {};
  }
  Append(read);
  TakeWholeBlocks(settling && pauseAt < 0);
  ExpectRest();
}

void RealTimeRun::Append(std::span<const std::uint8_t> bytes) {
  if (pending_.empty()) {
    // A read that does not start with a block: bytes sent before it (the
    // rest of a block that was on its way when the stop frame came) shifted
    // the replies against the reads. The block is taken from its mark on,
    // so that one stray byte does not make every later block unreadable.
    KeepFromMark(bytes);
  } else {
    pending_.insert(pending_.end(), bytes.begin(), bytes.end());
  }
}

void RealTimeRun::TakeWholeBlocks(bool nothingFollows) {
  heldNeed_ = 0;
  const std::size_t size = kRealTimeBlockSize;
  while (pending_.size() >= size && !link_.realTimeStopped) {
    const Verdict verdict = Judge(nothingFollows);
    if (verdict.kind == Verdict::Kind::Undecided) {
      heldNeed_ = verdict.at;
      return;
    }
    if (verdict.kind == Verdict::Kind::Spliced) {
      pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(verdict.at));
      continue;
    }
    const std::vector<std::uint8_t> whole(pending_.begin(), pending_.begin() + size);
    const std::vector<std::uint8_t> rest(pending_.begin() + size, pending_.end());
    HandleDataBlock(whole);
    KeepFromMark(rest);
  }
}

// A block cut short and followed at once by the next one (a streaming logger
// sends them back to back, so there is no pause to see) fills the window of
// one block with the head of one and the start of the other. Such a window
// has a block head (mark and kind codes) inside it where the other block
// begins. Sample pairs can hold those bytes too, so a head inside the window
// alone proves nothing; what follows decides:
//  - a block head right after the window: the window is the block the logger
//    sent, and the inner head only sample values;
//  - else, once the block from the inner head is there whole: the window was
//    spliced; it is dropped and that block is taken;
//  - when nothing more comes: a window that is all the logger sent (or is
//    followed by the beginning of a head) is its block; anything else is
//    dropped, since a lost wave only delays the next point and a spliced one
//    would make a point the logger never measured.
RealTimeRun::Verdict RealTimeRun::Judge(bool nothingFollows) const {
  const std::span<const std::uint8_t> bytes(pending_);
  const std::size_t size = kRealTimeBlockSize;
  std::size_t inner = 0;
  for (std::size_t at = 1; at < size && inner == 0; ++at) {
    if (HeadAt(bytes, at) != HeadMatch::No) inner = at;
  }
  if (inner == 0) return {Verdict::Kind::Whole};
  const HeadMatch next = HeadAt(bytes, size);
  if (next == HeadMatch::Yes) return {Verdict::Kind::Whole};
  const std::size_t innerEnd = inner + size;
  if (next == HeadMatch::No && bytes.size() >= innerEnd) return {Verdict::Kind::Spliced, inner};
  if (!nothingFollows) return {Verdict::Kind::Undecided, std::max(innerEnd, size + kHeadSize)};
  if (bytes.size() == size || next == HeadMatch::Partly) return {Verdict::Kind::Whole};
  return {Verdict::Kind::Spliced, inner};
}

void RealTimeRun::SettleHeldBlock() {
  link_.Timers().Kill(timer::kBlockSettle);
  if (link_.realTimeStopped || pending_.size() < static_cast<std::size_t>(kRealTimeBlockSize)) {
    return;
  }
  // The bytes that came since, fewer than the decision waited for.
  SerialControl& serial = link_.Serial();
  const long pauseAt = serial.LastPauseAt(kReplyPauseMs);
  const std::vector<std::uint8_t> more = serial.Input();
  Receive(more, pauseAt, true);
}

void RealTimeRun::ExpectRest() {
  TimerHost& timers = link_.Timers();
  if (link_.realTimeStopped) {
    timers.Kill(timer::kBlockSettle);
    return;
  }
  if (heldNeed_ > pending_.size()) {
    // A block held back: the event comes once the bytes that decide it are
    // there, the timer when they do not come.
    link_.SetThreshold(static_cast<int>(heldNeed_ - pending_.size()));
    timers.Start(timer::kBlockSettle, kReplyPauseMs);
    return;
  }
  timers.Kill(timer::kBlockSettle);
  // The event then comes as soon as the block is whole, not only once a
  // whole block's worth of later bytes has piled up behind it.
  link_.SetThreshold(kRealTimeBlockSize - static_cast<int>(pending_.size()));
}

void RealTimeRun::ForgetPartialReply() {
  // A whole block held back is decided on what came before the repeat.
  if (!link_.realTimeStopped) TakeWholeBlocks(true);
  pending_.clear();
  heldNeed_ = 0;
  link_.Timers().Kill(timer::kBlockSettle);
  if (!link_.realTimeStopped) link_.SetThreshold(kRealTimeBlockSize);
}

void RealTimeRun::RepeatRequest() {
  // A block held back is decided on the bytes that came before this
  // request. Bytes still waiting after that came before the request too: a
  // block cut short, whose rest will never come. Left in place, the answer
  // to this request would complete it.
  SettleHeldBlock();
  if (link_.realTimeStopped) return;
  link_.Serial().DiscardInput();
  ForgetPartialReply();
  link_.SendCommandFrame();
}

bool RealTimeRun::StartsWithMark(std::span<const std::uint8_t> bytes) {
  return bytes.size() >= 2 && bytes[0] == kRealTimeBlockMark && bytes[1] == kRealTimeBlockMark;
}

void RealTimeRun::KeepFromMark(std::span<const std::uint8_t> bytes) {
  pending_.clear();
  for (std::size_t i = 0; i + 1 < bytes.size(); ++i) {
    if (StartsWithMark(bytes.subspan(i))) {
      pending_.assign(bytes.begin() + static_cast<std::ptrdiff_t>(i), bytes.end());
      return;
    }
  }
}

void RealTimeRun::HandleDataBlock(std::span<const std::uint8_t> block) {
  link_.replySeen = 1;
  if (block[kChannelFlagOffset] == 0) {
    StopRealTime(RunEnd::NoChannel);
    host_.ShowMessage(kNoChannelMessage, MessageIcon::None);
    return;
  }
  ApplyKind(block[kCh1KindOffset], doc_.rtHasCh1, doc_.rtUnitCh1);
  ApplyKind(block[kCh2KindOffset], doc_.rtHasCh2, doc_.rtUnitCh2);

  if (!runBegun_) {
    if (!doc_.rtHasCh1 && !doc_.rtHasCh2) {
      // Nothing to measure: a run of empty points would only overwrite the
      // previous measurement.
      StopRealTime(RunEnd::NoChannel);
      host_.ShowMessage(kNoChannelMessage, MessageIcon::None);
      return;
    }
    rememberedHasCh1 = doc_.rtHasCh1;
    rememberedHasCh2 = doc_.rtHasCh2;
    rememberedUnitCh1 = doc_.rtUnitCh1;
    rememberedUnitCh2 = doc_.rtUnitCh2;
  } else {
    // A channel that appears, vanishes or switches between V and A would mix
    // series of different meaning under one unit.
    const bool changed = doc_.rtHasCh1 != rememberedHasCh1 || doc_.rtHasCh2 != rememberedHasCh2 ||
                         (doc_.rtHasCh1 && doc_.rtUnitCh1 != rememberedUnitCh1) ||
                         (doc_.rtHasCh2 && doc_.rtUnitCh2 != rememberedUnitCh2);
    if (changed) {
      doc_.rtHasCh1 = rememberedHasCh1;
      doc_.rtHasCh2 = rememberedHasCh2;
      doc_.rtUnitCh1 = rememberedUnitCh1;
      doc_.rtUnitCh2 = rememberedUnitCh2;
      StopRealTime(RunEnd::ChannelChanged);
      host_.ShowMessage(kChannelChangedMessage, MessageIcon::None);
      return;
    }
  }

  for (std::size_t i = 0; i < static_cast<std::size_t>(kEpaPoints); ++i) {
    const std::size_t at = kSamplesOffset + i * kBytesPerPair;
    if (doc_.rtHasCh1) doc_.epaWave[i].ch1 = SignedBigEndian(block[at], block[at + 1]);
    if (doc_.rtHasCh2) doc_.epaWave[i].ch2 = SignedBigEndian(block[at + 2], block[at + 3]);
  }
  doc_.epaCount = kEpaPoints;

  if (!runBegun_) BeginRun();

  if (doc_.rtCount >= runPoints_ || doc_.rtCount >= kMaxRealTimePoints) {
    StopRealTime(RunEnd::PointLimit);
    // The stop frame goes out a second time, so a logger that missed the
    // first one still stops.
    SendStopFrame();
  }
}

// Once per run, at its first block. A second block before the first tick
// must not restart the 10 ms tick: blocks arriving faster than that would
// otherwise keep the run from ever taking a point.
void RealTimeRun::BeginRun() {
  runBegun_ = true;
  for (PowerPanelTexts& t : panelTexts) {
    t.rms = t.period = t.frequency = t.amplitude = t.spare = kPanelNone;
  }
  power.reset();
  // Extremes of an earlier run must not be shown as this run's, also not for
  // a channel this run lacks.
  for (int c = 0; c < 2; ++c) {
    doc_.rtRmsMaxText[c].clear();
    doc_.rtRmsMinText[c].clear();
    doc_.rtFreqMaxText[c].clear();
    doc_.rtFreqMinText[c].clear();
  }
  doc_.rtSMaxText.clear();
  doc_.rtSMinText.clear();
  doc_.rtStartTime = LocalNow();

  runPoints_ = std::clamp(realTimePoints, 1, kMaxRealTimePoints);
  doc_.rtRms.assign(static_cast<std::size_t>(runPoints_), ChannelPair{});
  doc_.rtFreq.assign(static_cast<std::size_t>(runPoints_), ChannelPair{});
  BeginJournal();
  host_.RealTimeFirstBlock();

  TimerHost& timers = link_.Timers();
  timers.Start(timer::kRealTimeWatchdog, kRealTimeWatchdogMs);
  timers.Start(timer::kRealTimeRepeat, kRealTimeRepeatMs);
  timers.Start(timer::kSamplingTick, kFirstTickMs);
}

void RealTimeRun::SamplingTick() {
  const std::int32_t n = doc_.rtCount;
  const std::int32_t capacity =
      static_cast<std::int32_t>(std::min(doc_.rtRms.size(), doc_.rtFreq.size()));
  if (n >= capacity || n >= runPoints_) {
    // All points are taken and the block that would stop the run has not
    // come yet: storing would run past the arrays, so end the run here.
    StopRealTime(RunEnd::PointLimit);
    return;
  }
  if (n == 0) link_.Timers().Start(timer::kSamplingTick, doc_.rtInterval * 1000);

  AnalyseChannels(n);

  const TimeStamp when = doc_.RealTimeSampleTime(n);
  const ChannelPair& rms = doc_.rtRms[static_cast<std::size_t>(n)];
  const ChannelPair& freq = doc_.rtFreq[static_cast<std::size_t>(n)];
  if (doc_.rtHasCh1) {
    UpdateExtremes(ExtremeKind::Frequency, rtFreqMax[0], rtFreqMin[0], freq.ch1,
                   doc_.rtFreqMaxText[0], doc_.rtFreqMinText[0], n, when);
    UpdateExtremes(ExtremeKind::Level, rtRmsMax[0], rtRmsMin[0], rms.ch1, doc_.rtRmsMaxText[0],
                   doc_.rtRmsMinText[0], n, when);
  }
  if (doc_.rtHasCh2) {
    UpdateExtremes(ExtremeKind::Frequency, rtFreqMax[1], rtFreqMin[1], freq.ch2,
                   doc_.rtFreqMaxText[1], doc_.rtFreqMinText[1], n, when);
    UpdateExtremes(ExtremeKind::Level, rtRmsMax[1], rtRmsMin[1], rms.ch2, doc_.rtRmsMaxText[1],
                   doc_.rtRmsMinText[1], n, when);
  }
  if (doc_.HasApparentPower()) {
    UpdateExtremes(ExtremeKind::Level, rtSMax, rtSMin, rms.ch2 * rms.ch1, doc_.rtSMaxText,
                   doc_.rtSMinText, n, when);
  }
  doc_.rtCount = n + 1;
  if (std::string problem = journal_.Append(n, rms, freq); !problem.empty()) {
    JournalFailed(std::move(problem));
  }
  host_.RealTimePointAdded();
}

void RealTimeRun::AnalyseChannels(std::int32_t n) {
  const CapturedWaves waves =
      AnalyseCapturedWaves(doc_, {doc_.rtHasCh1 != 0, doc_.rtHasCh2 != 0}, panelTexts);
  std::array<PowerChannel, 2> channels{};
  ChannelPair& rms = doc_.rtRms[static_cast<std::size_t>(n)];
  ChannelPair& freq = doc_.rtFreq[static_cast<std::size_t>(n)];
  for (std::size_t c = 0; c < 2; ++c) {
    const bool first = c == 0;
    if ((first ? doc_.rtHasCh1 : doc_.rtHasCh2) == 0) continue;
    const WaveResult& r = waves.result[c];
    (first ? rms.ch1 : rms.ch2) = r.rms;
    (first ? freq.ch1 : freq.ch2) = r.frequency;
    channels[c] = {waves.samples[c], first ? doc_.rtUnitCh1 : doc_.rtUnitCh2, r.rms, r.window};
  }
  power = AnalysePower(channels[0], channels[1]);
}

void RealTimeRun::WatchdogTick() {
  if (link_.replySeen) {
    link_.replySeen = 0;
    return;
  }
  EndSilently();
}

void RealTimeRun::OnPortLost() {
  if (link_.realTimeStopped) return;
  EndSilently();
}

void RealTimeRun::EndSilently() {
  // The logger is gone or mute: nobody would hear a stop frame.
  link_.ClosePort();
  KillRunTimers();
  link_.realTimeStopped = 1;
  SavePoints();
  host_.RealTimeEnded(RunEnd::Silent);
}

void RealTimeRun::StopRealTime(RunEnd why) {
  if (link_.realTimeStopped) return;
  KillRunTimers();
  link_.realTimeStopped = 1;
  SavePoints();
  SendStopFrame();
  host_.RealTimeEnded(why);
}

void RealTimeRun::KillRunTimers() {
  TimerHost& timers = link_.Timers();
  timers.Kill(timer::kFirstFrameRepeat);
  timers.Kill(timer::kRealTimeWatchdog);
  timers.Kill(timer::kSamplingTick);
  timers.Kill(timer::kRealTimeRepeat);
  timers.Kill(timer::kBlockSettle);
}

void RealTimeRun::BeginJournal() {
  journalError.clear();
  if (journalFolder_.empty()) return;
  if (std::string problem = journal_.Begin(journalFolder_, HeaderOf(doc_, runPoints_));
      !problem.empty()) {
    JournalFailed(std::move(problem));
  }
}

void RealTimeRun::JournalFailed(std::string problem) {
  if (!journalError.empty()) return;
  journalError = std::move(problem);
  host_.RealTimeJournalFailed(journalError);
}

void RealTimeRun::FinishJournal() {
  // Said once, now: a journal left behind would offer a saved run again.
  if (std::string problem = journal_.Finish(); !problem.empty()) {
    host_.ShowMessage(problem, MessageIcon::Warning);
  }
}

void RealTimeRun::SavePoints() {
  saveError.clear();
  if (doc_.rtCount <= 0) {
    FinishJournal();
    return;
  }
  doc_.formatTag = kTagRealTime;
  if (!previousMeasurementPath_.empty()) {
    saveError = SavePreviousMeasurement(doc_, previousMeasurementPath_);
  }
  // The journal goes only once the points are safe in the previous
  // measurement; otherwise it is what the next start recovers them from.
  if (saveError.empty() && !previousMeasurementPath_.empty()) {
    FinishJournal();
  } else {
    journal_.Keep();
  }
}

void RealTimeRun::SendStopFrame() {
  // Bytes 0..6 keep the request code; byte 7 turns the frame into "stop".
  link_.commandFrame = RealTimeStopFrame();
  link_.SendCommandFrame();
}

}  // namespace acv
