#pragma once
// The serial link to the logger: port search (scan, probe cycle, keep-alive
// check), the command frame and its send routine, reception, and the reply
// dispatcher that hands transfer replies to the running real-time run or
// download. One object, owned by the main window or the command-line tool,
// driven by its timers and by the serial control's receive event.
#include <array>
#include <cstdint>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "logger/LinkHost.h"
#include "logger/SerialControl.h"
#include "logger/TimerHost.h"

namespace acv {

using CommandFrame = std::array<std::uint8_t, 8>;

inline constexpr std::uint8_t kProbeByte = 0x78;
inline constexpr std::uint8_t kProbeAnswer = 0xAF;
inline constexpr std::uint8_t kAckOk = 0xEE;
inline constexpr std::uint8_t kAckPressStart = 0x1E;
inline constexpr const char* kPressStartMessage =
    "To start logging, press the START button on the DATA LOGGER for three seconds";

// Hint lines the link writes into the open dialogs when the logger answers.
inline constexpr const char* kDownloadReadyHint =
    "Press \"Download\" to load store data from the logger, or \"Cancel\" to exit.";
inline constexpr const char* kRealTimeReadyHint = "Press \"RUN\" to read real time data,";
// The set-up dialog's message line is blanked (two blanks) on the answer.
inline constexpr const char* kSetupReadyMessage = "  ";

// A transfer (real-time run or download) plugged into the link. The link
// calls it from StartTransfer, the dispatcher and its timers.
class TransferHandler {
 public:
  virtual ~TransferHandler() = default;
  // The "clear the transfer counters" step of StartTransfer, run for every
  // transfer start whichever transfer is selected.
  virtual void ClearCounters() = 0;
  // This transfer's part of StartTransfer: resets its state and sets the
  // receive threshold; returns the byte the first frame is filled with
  // (0xC8 or 0x68).
  virtual std::uint8_t PrepareStart() = 0;
  // A received block while this transfer is the active one.
  virtual void OnReply(std::span<const std::uint8_t> block) = 0;
  virtual bool OwnsTimer(int id) const = 0;
  virtual void OnTimer(int id) = 0;
  // The port vanished (adapter pulled) while this transfer was active.
  virtual void OnPortLost() = 0;
  // The first frame goes out again: the beginning of a reply held so far
  // came before it and must not be completed by the answer to the repeat.
  virtual void ForgetPartialReply() {}
};

// A pause in the arrival of bytes longer than this ends a reply: the logger
// sends each reply in one piece (a whole real-time block takes 205 ms on the
// line), so bytes after such a pause belong to another reply, and a reply
// interrupted by one is never completed by what follows it.
inline constexpr int kReplyPauseMs = 250;

// The constructor installs the link as the serial control's event handler
// and as the timer host's callback. An owner with timers of its own may
// replace that callback and forward the ids it does not own to OnTimer().
class LoggerLink {
 public:
  LoggerLink(SerialControl& serial, TimerHost& timers, LinkHost& host);
  LoggerLink(const LoggerLink&) = delete;
  LoggerLink& operator=(const LoggerLink&) = delete;

  void AttachRealTime(TransferHandler* handler) { realTime_ = handler; }
  void AttachDownload(TransferHandler* handler) { download_ = handler; }

  // ---- link state ---------------------------------------------------------
  int portNumber = 1;          // port in use, 1..16
  std::uint8_t portCount = 0;  // ports opened by the last scan
  std::array<std::uint8_t, 16> portList{};
  std::uint8_t probeIndex = 1;  // 1-based, counted from the end of portList
  std::uint8_t portAnswered = 0;
  std::uint8_t loggerFound = 0;
  std::uint8_t transferActive = 0;
  std::uint8_t realTimeMode = 0;
  std::uint8_t downloadMode = 0;
  std::uint8_t realTimeStopped = 1;
  std::uint8_t replySeen = 0;
  CommandFrame commandFrame{};
  // While a read is dispatched: how many of its bytes came before the last
  // pause of more than kReplyPauseMs (0: before its first byte), else -1.
  long replyPauseAt = -1;
  // The running transfer's first frame had to be sent a second time, so a
  // second answer to it may still come.
  bool firstFrameRepeated = false;
  // Port scans run so far; lets a headless user tell "no port could be
  // opened" (a scan ran, portCount stayed 0) from "still searching".
  std::uint32_t scansRun = 0;

  // ---- operations ---------------------------------------------------------
  // Closes the port and restores the idle settings (threshold 1, buffers
  // discarded). The port is left closed.
  void ResetPort();
  void ProbeLoggerPort(int port);
  // Sends commandFrame: kills timer::kKeepAlive, opens the port if closed; a failure
  // closes the port.
  void SendCommandFrame();
  // Sends other bytes (block requests, repeats) to an open port; a failure is
  // swallowed. Returns false when the bytes could not be sent.
  bool SendBytes(std::span<const std::uint8_t> bytes);
  void KillConnectTimers();
  void OnCommEvent();

  // Opening of a connection dialog: nothing when the "Loading..." window
  // exists (returns false); otherwise clears portAnswered and starts
  // timer::kKeepAlive when the logger answered before, else
  // timer::kPortScan. The set-up and clock
  // dialogs also clear transferActive, so the logger's acknowledgement takes
  // the idle reply path; the download and real-time dialogs leave it, so
  // late blocks of a stopped run still get the stop frame. Port problems are
  // explained again for each opening.
  bool BeginConnection(DialogKind kind);
  // The port check a dialog makes at opening when the logger answered
  // before: close, reopen, close. True when the port could be opened.
  bool CheckPort();

  // Starts the selected transfer (realTimeMode or downloadMode).
  void StartTransfer();

  // The receive threshold (RThreshold).
  void SetThreshold(int bytes);
  // Closes the port if open (errors swallowed).
  void ClosePort();

  void OnTimer(int id);
  // The reply dispatcher: one received block, its first byte is byte 0.
  void Dispatch(std::span<const std::uint8_t> block);

  SerialControl& Serial() { return serial_; }
  TimerHost& Timers() { return timers_; }
  LinkHost& Host() { return host_; }

 private:
  void ScanPorts();
  void ProbeTick();
  void KeepAliveCheck();
  void ProbeAnswered();
  void SetAllStatus(const char* status, bool withFailureHint);
  bool AnyDialogOpen();
  void RepeatFirstFrame();
  TransferHandler* ActiveTransfer() const;
  // Opens the port last set with SetCommPort (if closed); a port that is
  // there but refuses is reported once. False when it could not be opened.
  bool TryOpen();
  // Port problems are collected while the link works and handed to the host
  // once the outermost operation is done (ProblemReport): a host that shows
  // them in a modal box keeps the event loop, and so timer::kPortScan, running, and
  // must not find a scan half done underneath.
  void ReportProblem(const SerialError& error);
  void ReportPendingProblems();
  class ProblemReport;

  SerialControl& serial_;
  TimerHost& timers_;
  LinkHost& host_;
  TransferHandler* realTime_ = nullptr;
  TransferHandler* download_ = nullptr;
  CommandFrame firstFrame_{};  // the first frame of the running transfer, for its repeat
  std::set<std::string> reportedProblems_;  // since the last dialog opening
  std::vector<std::string> pendingProblems_;
  int operationDepth_ = 0;
  bool scanning_ = false;
};

}  // namespace acv
