#include "logger/Download.h"

#include <algorithm>

#include "data/DataFile.h"
#include "logger/CommandBuilders.h"

namespace acv {

Download::Download(LoggerLink& link, CDTDoc& doc, LinkHost& host,
                   std::string previousMeasurementPath)
    : link_(link),
      doc_(doc),
      host_(host),
      previousMeasurementPath_(std::move(previousMeasurementPath)) {}

void Download::ClearCounters() {
  downloadTotal = downloadStart = 0;
  downloadState = kStateHeaderExpected;
  bytesReceived = 0;
  fullBlocks = -1;
}

std::uint8_t Download::PrepareStart() {
  // A new download never inherits the timers of an earlier one.
  link_.Timers().Kill(timer::kBlockRetry);
  link_.Timers().Kill(timer::kDownloadWatchdog);
  downloadBuffer.clear();
  header_ = DownloadHeader{};
  blockWaitMs = kBlockRetryMs;
  blockRequests = 0;
  draining = false;
  headerPart_.clear();
  link_.SetThreshold(static_cast<int>(kDownloadHeaderSize));
  // USB adapters otherwise hold back the tail of every reply for their
  // latency timer (up to 16 ms a block: 46 s become 63 s for a full memory).
  link_.Serial().SetLowLatency(true);
  return kCmdDownloadStart;
}

bool Download::OwnsTimer(int id) const {
  return id == timer::kBlockRetry || id == timer::kDownloadWatchdog;
}

void Download::OnReply(std::span<const std::uint8_t> block) {
  if (block.empty()) return;
  if (downloadState == kStateHeaderExpected) {
    std::vector<std::uint8_t> joined;
    const bool afterPause = link_.replyPauseAt >= 0;
    if (afterPause) {
      headerPart_.clear();
      block = block.subspan(std::min(static_cast<std::size_t>(link_.replyPauseAt), block.size()));
    }
    const bool continued = !headerPart_.empty();
    if (continued) {
      joined.swap(headerPart_);
      joined.insert(joined.end(), block.begin(), block.end());
      block = joined;
    }
    if (block.empty()) return;
    const bool headerStart = block[0] == kLoggingRefusalCode || block[0] == kDownloadHeaderCode;
    if (headerStart && block.size() < kDownloadHeaderSize && (afterPause || continued)) {
      // A reply that began after a pause: its rest follows at once.
      headerPart_.assign(block.begin(), block.end());
      link_.SetThreshold(static_cast<int>(kDownloadHeaderSize - block.size()));
      return;
    }
    link_.SetThreshold(static_cast<int>(kDownloadHeaderSize));
    if (block[0] == kLoggingRefusalCode) {
      // The download keeps waiting for a header; the logger will not send one
      // until the user stops logging and starts again.
      Report(kLoggingNowMessage);
    } else if (block[0] == kDownloadHeaderCode) {
      HandleHeader(block);
    }
    return;
  }
  if (downloadState == kStateWholeBlocks || downloadState == kStateFinalBlock) HandleBlock(block);
}

void Download::HandleHeader(std::span<const std::uint8_t> block) {
  if (block.size() < 2) return;
  if (block[1] == 0) {
    Report(kNoDataMessage);
    return;
  }
  const std::optional<DownloadHeader> decoded = DecodeDownloadHeader(block);
  if (!decoded) return;  // cut short: as a reply that never completed
  // A channel count or a size the logger cannot have is a garbled header:
  // reading on would allocate for, and parse, whatever the line delivers.
  if (decoded->channelCount > 2 || decoded->total > kLoggerMemoryBytes) {
    Abandon(kInterruptionMessage);
    return;
  }
  header_ = *decoded;
  downloadTotal = header_.total;
  downloadStart = header_.start;
  blockIndex = downloadStart / kMemoryBlockSize;
  downloadBuffer.assign(static_cast<std::size_t>(downloadTotal), 0);
  countA = header_.countA;
  countB = header_.countB;

  if (downloadTotal == 0) {
    link_.transferActive = 0;
    downloadTotal = downloadStart = 0;
    downloadBuffer.clear();
    link_.SetThreshold(1);
    link_.ClosePort();
    Report(kNoDataMessage);
    return;
  }

  progressPos = 1;
  host_.ProgressOpen(downloadTotal / kMemoryBlockSize + 1, progressPos);
  fullBlocks = downloadTotal / kMemoryBlockSize;
  if (fullBlocks == 0) {
    requestedBytes = downloadTotal;
    blockFill = kBlockFillPartial;
  } else {
    blockFill = kBlockFillWhole;
    requestedBytes = kMemoryBlockSize;
  }
  link_.Serial().SetLowLatency(true);
  downloadState = kStateHeaderHandled;
  // A start frame sent twice may still get its second header.
  RequestNextBlock(link_.firstFrameRepeated);
  downloadState = kStateWholeBlocks;
}

void Download::HandleBlock(std::span<const std::uint8_t> block) {
  if (draining) {
    // Still arriving: the quiet period starts again.
    link_.Timers().Start(timer::kBlockRetry, blockWaitMs);
    return;
  }
  const bool onlyPartial = downloadState == kStateWholeBlocks && fullBlocks == 0;
  const int expected = onlyPartial                          ? downloadTotal
                       : downloadState == kStateWholeBlocks ? kMemoryBlockSize
                                                            : downloadTotal - bytesReceived;
  // The threshold keeps shorter replies from arriving at all; should one come
  // anyway, it is treated as the reply that never came: the timers re-request.
  if (static_cast<int>(block.size()) < expected) return;
  // More than was asked for: the tail of a late reply and the start of
  // another, in whatever order. None of it can be trusted.
  if (static_cast<int>(block.size()) > expected) {
    BlockFailed();
    return;
  }

  const bool askedAgain = blockRequests > 1;
  link_.replySeen = 1;
  link_.Timers().Kill(timer::kBlockRetry);
  link_.Timers().Kill(timer::kDownloadWatchdog);
  std::uint8_t* const into = downloadBuffer.data() + bytesReceived;
  std::copy_n(block.begin(), expected, into);

  if (onlyPartial) {
    bytesReceived = downloadTotal;
    progressPos = downloadTotal / kMemoryBlockSize + 1;
    host_.ProgressSet(progressPos);
  } else if (downloadState == kStateWholeBlocks) {
    bytesReceived += kMemoryBlockSize;
    blockFill = kBlockFillWhole;
    if (bytesReceived == fullBlocks * kMemoryBlockSize) {
      const int rest = downloadTotal - bytesReceived;
      if (rest > 0) {
        requestedBytes = rest;
        blockFill = kBlockFillPartial;
        downloadState = kStateLastPartialRequested;
      } else {
        downloadState = kStateFinalBlock;
      }
    }
    if (downloadState != kStateFinalBlock) {
      link_.replySeen = 0;
      // A block asked for twice may still get its second answer.
      RequestNextBlock(askedAgain);
    }
    ++progressPos;
    host_.ProgressSet(progressPos);
  } else {
    bytesReceived = downloadTotal;
  }

  if (downloadTotal > 0 && bytesReceived == downloadTotal) {
    Complete();
    return;
  }
  if (downloadState == kStateLastPartialRequested) downloadState = kStateFinalBlock;
}

void Download::RequestNextBlock(bool afterQuiet) {
  blockRequest = BuildBlockRequest(blockIndex, blockFill);
  ++blockIndex;
  blockRequests = 0;
  if (afterQuiet) {
    StartDrain();
  } else {
    SendRequest(true);
  }
}

void Download::SendRequest(bool restartWatchdog) {
  // Bytes still waiting came before this request (the tail of a reply
  // longer than asked for): they would shift the block against the read.
  link_.Serial().DiscardInput();
  link_.SetThreshold(requestedBytes);
  // A failed send is left to the re-request and the watchdog.
  link_.SendBytes(blockRequest);
  link_.replySeen = 0;
  ++blockRequests;
  link_.Timers().Start(timer::kBlockRetry, blockWaitMs);
  if (restartWatchdog) link_.Timers().Start(timer::kDownloadWatchdog, kDownloadWatchdogMs);
}

void Download::OnTimer(int id) {
  if (id == timer::kBlockRetry) {
    link_.Timers().Kill(timer::kBlockRetry);
    if (fullBlocks < 0) return;
    if (draining) {
      DrainEnded();
    } else {
      RetryBlock();
    }
  } else if (id == timer::kDownloadWatchdog) {
    link_.Timers().Kill(timer::kDownloadWatchdog);
    if (fullBlocks >= 0) Abandon(kInterruptionMessage);
  }
}

void Download::RetryBlock() {
  SerialControl& serial = link_.Serial();
  // Only a control that last reported received data is trusted to have lost
  // a reply; after a line error the input is thrown away and the watchdog
  // decides. The event is taken before the reopen, which some controls
  // count as a fresh start, and so are the bytes of the reply so far.
  const bool lastWasReceive = serial.CommEvent() == kCommEventReceive;
  const bool partReceived = !serial.Input().empty();
  link_.ClosePort();
  try {
    serial.SetPortOpen(true);
  } catch (const SerialError&) {
    Abandon(kInterruptionMessage);
    return;
  }
  serial.SetLowLatency(true);
  if (!lastWasReceive) {
    serial.DiscardInput();
    return;
  }
  if (partReceived) {
    // A reply slower than the wait, or one cut short: the rest of it would
    // run into the answer to a repeated request.
    BlockFailed();
    return;
  }
  // Nothing came: the request or the whole reply was lost. It is asked for
  // once more at once; after that the watchdog decides.
  if (blockRequests >= 2) return;
  if (!link_.SendBytes(blockRequest)) {
    Abandon(kInterruptionMessage);
    return;
  }
  link_.replySeen = 0;
  ++blockRequests;
  link_.Timers().Start(timer::kBlockRetry, blockWaitMs);
}

void Download::BlockFailed() {
  link_.Timers().Kill(timer::kBlockRetry);
  blockWaitMs = std::min(2 * blockWaitMs, kMaxBlockWaitMs);
  StartDrain();
}

void Download::StartDrain() {
  draining = true;
  link_.Serial().DiscardInput();
  // Every byte now raises a receive event, which restarts the quiet period.
  link_.SetThreshold(1);
  link_.Timers().Start(timer::kBlockRetry, blockWaitMs);
  // A line that never falls quiet ends the download.
  link_.Timers().Start(timer::kDownloadWatchdog, kDownloadWatchdogMs + blockWaitMs);
}

void Download::DrainEnded() {
  draining = false;
  if (blockRequests >= kMaxBlockRequests) {
    Abandon(kInterruptionMessage);
    return;
  }
  SendRequest(true);
}

void Download::ForgetPartialReply() {
  headerPart_.clear();
  if (downloadState == kStateHeaderExpected) {
    link_.SetThreshold(static_cast<int>(kDownloadHeaderSize));
  }
}

void Download::OnPortLost() {
  Abandon(kInterruptionMessage);
}

void Download::Complete() {
  link_.Timers().Kill(timer::kBlockRetry);
  link_.Timers().Kill(timer::kDownloadWatchdog);
  link_.ResetPort();
  host_.ProgressSet(fullBlocks + 1);
  host_.ProgressClose();

  // The header's description starts from the document's, since kinds and
  // interval units the logger leaves undefined keep the previous values.
  CDTDoc store;
  store.hasCh1 = doc_.hasCh1;
  store.hasCh2 = doc_.hasCh2;
  store.rmsUnitCh1 = doc_.rmsUnitCh1;
  store.rmsUnitCh2 = doc_.rmsUnitCh2;
  store.rmsInterval = doc_.rmsInterval;
  ApplyDownloadHeader(header_, store);
  ParseMemoryImage(downloadBuffer, header_, store);
  doc_.TakeStoreFamilyFrom(store);

  ResetTransferState();
  link_.transferActive = 0;
  downloadBuffer = std::vector<std::uint8_t>();
  doc_.formatTag = kTagStore;
  if (!previousMeasurementPath_.empty()) SavePreviousMeasurement(doc_, previousMeasurementPath_);
  host_.DownloadFinished();
}

void Download::Abandon(const char* message) {
  link_.Timers().Kill(timer::kBlockRetry);
  link_.Timers().Kill(timer::kDownloadWatchdog);
  if (host_.ProgressWindowOpen()) host_.ProgressClose();
  link_.transferActive = 0;
  ResetTransferState();
  downloadBuffer = std::vector<std::uint8_t>();
  header_ = DownloadHeader{};
  link_.ResetPort();
  host_.ShowMessage(message, MessageIcon::Warning);
  host_.DownloadFailed(message);
}

void Download::Report(const char* message) {
  host_.ShowMessage(message, MessageIcon::Information);
  host_.DownloadFailed(message);
}

void Download::ResetTransferState() {
  blockIndex = 0;
  blockRequests = 0;
  draining = false;
  downloadState = kStateHeaderExpected;
  downloadTotal = downloadStart = 0;
  bytesReceived = 0;
  fullBlocks = -1;
}

}  // namespace acv
