#pragma once
// The download of the logger's stored data: the memory header (0x68 frame),
// then the memory image in 512-byte blocks (0xD8 frames) under the
// "Loading..." progress window, with re-requests (timer::kBlockRetry) and a
// watchdog (timer::kDownloadWatchdog). When the image is complete it becomes
// the document's STORE family, is saved as the previous measurement, and the
// host is told.
//
// The header is taken only as one reply: bytes that came before a pause in
// the arrival, or before a repeat of the start frame, are a header cut short
// and never completed by the next one (whose start time it would then
// carry). When the start frame had to be repeated, the line must be quiet
// before the first block request, so a second header is not read as data.
//
// Replies carry no framing, so a reply that comes late (a slow logger, a
// slow link) cannot be told from the next one. A block is therefore only
// taken when exactly the bytes asked for arrived from a quiet line: when a
// reply is still arriving at the re-request, or more bytes come than were
// asked for, everything is dropped until the line has been quiet for the
// current wait, and the block is asked for again with a doubled wait (up to
// kMaxBlockWaitMs). After a block that needed more than one request, the
// line must also be quiet before the next request, so a second answer to
// the same request cannot be taken as the next block. A block that does not
// arrive cleanly after kMaxBlockRequests requests ends the download with
// "Communication interruption!".
//
// An abandoned download (watchdog, lost port, failed reopen, corrupt header)
// leaves the document exactly as it was: the decoded header is kept here and
// taken into the document only together with a complete image.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "data/CDTDoc.h"
#include "logger/LinkHost.h"
#include "logger/LoggerLink.h"
#include "logger/MemoryImage.h"

namespace acv {

inline constexpr const char* kNoDataMessage = "There is no data in DATALOGGER!";
inline constexpr const char* kLoggingNowMessage =
    "The DATA LOGGER is logging now!Please stop logging,and try again!";
inline constexpr const char* kInterruptionMessage = "Communication interruption!";

inline constexpr int kBlockRetryMs = 900;     // first wait for a block reply
inline constexpr int kMaxBlockWaitMs = 3600;  // the wait doubles up to this
inline constexpr int kMaxBlockRequests = 4;   // requests of one block before giving up
inline constexpr int kDownloadWatchdogMs = 5000;

// Values of downloadState.
inline constexpr std::uint8_t kStateHeaderExpected = 0xFF;
inline constexpr std::uint8_t kStateHeaderHandled = 0;
inline constexpr std::uint8_t kStateWholeBlocks = 1;
inline constexpr std::uint8_t kStateLastPartialRequested = 2;
inline constexpr std::uint8_t kStateFinalBlock = 3;

class Download : public TransferHandler {
 public:
  // An empty previousMeasurementPath skips writing the previous-measurement
  // file (benchmarks, fuzzing).
  Download(LoggerLink& link, CDTDoc& doc, LinkHost& host, std::string previousMeasurementPath);
  Download(const Download&) = delete;
  Download& operator=(const Download&) = delete;

  // ---- TransferHandler ----------------------------------------------------
  void ClearCounters() override;
  std::uint8_t PrepareStart() override;
  void OnReply(std::span<const std::uint8_t> block) override;
  bool OwnsTimer(int id) const override;
  void OnTimer(int id) override;
  void OnPortLost() override;
  void ForgetPartialReply() override;

  // ---- transfer state -----------------------------------------------------
  std::uint8_t downloadState = kStateHeaderExpected;
  int downloadTotal = 0;  // bytes in the memory image
  int downloadStart = 0;  // memory offset of the oldest byte
  int blockIndex = 0;     // next block to request, 0..1023
  std::uint8_t blockFill = 0xFF;
  int fullBlocks = -1;  // downloadTotal / 512; -1 when no download runs
  int bytesReceived = 0;
  int progressPos = 1;
  std::vector<std::uint8_t> downloadBuffer;
  int countA = 0, countB = 0;
  CommandFrame blockRequest{};
  int requestedBytes = 0;           // size of the block asked for
  int blockWaitMs = kBlockRetryMs;  // grows with a slow logger, kept for the whole download
  int blockRequests = 0;            // times the awaited block was asked for
  bool draining = false;            // dropping bytes until the line is quiet

  // The header of the running download, kept until the image is complete.
  const DownloadHeader& PendingHeader() const { return header_; }

 private:
  void HandleHeader(std::span<const std::uint8_t> block);
  void HandleBlock(std::span<const std::uint8_t> block);
  // Builds the request of block blockIndex and sends it, after a quiet line
  // when afterQuiet is set.
  void RequestNextBlock(bool afterQuiet);
  // Sends blockRequest; a repeat after silence keeps the running watchdog.
  void SendRequest(bool restartWatchdog);
  void RetryBlock();
  // The awaited reply is late, cut short or mixed: drop it and ask again.
  void BlockFailed();
  void StartDrain();
  void DrainEnded();
  void Complete();
  // Ends the download without touching the document.
  void Abandon(const char* message);
  // A refusal or an empty memory: a message, and the CLI learns why.
  void Report(const char* message);
  void ResetTransferState();

  LoggerLink& link_;
  CDTDoc& doc_;
  LinkHost& host_;
  std::string previousMeasurementPath_;
  DownloadHeader header_;
  // The beginning of a header that came after a pause, until its rest.
  std::vector<std::uint8_t> headerPart_;
};

}  // namespace acv
