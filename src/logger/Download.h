#pragma once
// The download of the logger's stored data: the memory header (0x68 frame),
// then the memory image in 512-byte blocks (0xD8 frames) under the
// "Loading..." progress window, with one re-request per block (timer::kBlockRetry)
// and a watchdog (timer::kDownloadWatchdog). When the image is complete it becomes the document's
// STORE family, is saved as the previous measurement, and the host is told.
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

inline constexpr int kBlockRetryMs = 900;
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

  // The header of the running download, kept until the image is complete.
  const DownloadHeader& PendingHeader() const { return header_; }

 private:
  void HandleHeader(std::span<const std::uint8_t> block);
  void HandleBlock(std::span<const std::uint8_t> block);
  void SendBlockRequest();
  void ArmBlockTimers();
  void RetryBlock();
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
};

}  // namespace acv
