#include "logger/LoggerLink.h"

#include <algorithm>

namespace acv {

namespace {
constexpr int kScanFirstMs = 100;
constexpr int kScanAfterFailureMs = 1000;
constexpr int kProbeMs = 500;
constexpr int kKeepAliveMs = 3000;
constexpr int kFirstFrameRepeatMs = 500;
constexpr int kMaxPorts = 16;
}  // namespace

// Marks one operation of the link; the outermost one hands the problems
// found meanwhile to the host when it ends.
class LoggerLink::ProblemReport {
 public:
  explicit ProblemReport(LoggerLink& link) : link_(link) { ++link_.operationDepth_; }
  ~ProblemReport() {
    if (--link_.operationDepth_ == 0) link_.ReportPendingProblems();
  }
  ProblemReport(const ProblemReport&) = delete;
  ProblemReport& operator=(const ProblemReport&) = delete;

 private:
  LoggerLink& link_;
};

LoggerLink::LoggerLink(SerialControl& serial, TimerHost& timers, LinkHost& host)
    : serial_(serial), timers_(timers), host_(host) {
  serial_.SetEventHandler([this] { OnCommEvent(); });
  timers_.SetCallback([this](int id) { OnTimer(id); });
  // The control starts configured but closed: threshold 1, buffers empty.
  serial_.SetRThreshold(1);
  serial_.DiscardInput();
  serial_.DiscardOutput();
}

// ---- port primitives ---------------------------------------------------------

void LoggerLink::ClosePort() {
  try {
    if (serial_.PortOpen()) serial_.SetPortOpen(false);
  } catch (const SerialError&) {
  }
}

void LoggerLink::SetThreshold(int bytes) {
  serial_.SetRThreshold(bytes);
}

bool LoggerLink::TryOpen() {
  try {
    if (!serial_.PortOpen()) serial_.SetPortOpen(true);
    return true;
  } catch (const SerialError& e) {
    ReportProblem(e);
    return false;
  }
}

void LoggerLink::ReportProblem(const SerialError& error) {
  // A missing port is the normal case of the search; only a port that is
  // there but refuses us deserves an explanation, and only once, because the
  // scan and the keep-alive check retry it every few hundred milliseconds.
  if (error.kind() == SerialError::Kind::NotFound || error.kind() == SerialError::Kind::NotOpen)
    return;
  // The text names the device and the cause: one report per device and
  // problem for each dialog opening.
  if (reportedProblems_.insert(error.what()).second) pendingProblems_.push_back(error.what());
}

void LoggerLink::ReportPendingProblems() {
  std::vector<std::string> problems;
  problems.swap(pendingProblems_);
  for (const std::string& text : problems) host_.PortProblem(text);
}

void LoggerLink::ResetPort() {
  ClosePort();
  serial_.SetCommPort(portNumber);
  serial_.SetRThreshold(1);
  serial_.DiscardInput();
  (void)serial_.Input();
  serial_.DiscardInput();
  serial_.DiscardOutput();
  serial_.DiscardOutput();
}

void LoggerLink::ProbeLoggerPort(int port) {
  ProblemReport report(*this);
  // A port left open on another number would swallow the probe.
  if (serial_.PortOpen() && serial_.CommPort() != port) ClosePort();
  serial_.SetCommPort(port);
  serial_.SetRThreshold(1);
  if (!TryOpen()) return;
  const std::uint8_t probe = kProbeByte;
  SendBytes(std::span<const std::uint8_t>(&probe, 1));
}

void LoggerLink::SendCommandFrame() {
  ProblemReport report(*this);
  timers_.Kill(timer::kKeepAlive);
  try {
    if (!serial_.PortOpen()) serial_.SetPortOpen(true);
    serial_.Output(commandFrame);
  } catch (const SerialError& e) {
    ReportProblem(e);
    ClosePort();
  }
}

bool LoggerLink::SendBytes(std::span<const std::uint8_t> bytes) {
  try {
    serial_.Output(bytes);
    return true;
  } catch (const SerialError&) {
    return false;
  }
}

void LoggerLink::KillConnectTimers() {
  timers_.Kill(timer::kPortScan);
  timers_.Kill(timer::kProbe);
  timers_.Kill(timer::kKeepAlive);
}

// ---- connection dialogs ------------------------------------------------------

bool LoggerLink::BeginConnection(DialogKind kind) {
  if (host_.ProgressWindowOpen()) return false;
  if (kind == DialogKind::LoggerSetup || kind == DialogKind::CorrectTime) transferActive = 0;
  portAnswered = 0;
  reportedProblems_.clear();
  if (loggerFound)
    timers_.Start(timer::kKeepAlive, kKeepAliveMs);
  else
    timers_.Start(timer::kPortScan, kScanFirstMs);
  return true;
}

bool LoggerLink::CheckPort() {
  ProblemReport report(*this);
  ClosePort();
  serial_.SetCommPort(portNumber);
  if (!TryOpen()) return false;
  ClosePort();
  return true;
}

bool LoggerLink::AnyDialogOpen() {
  return !host_.OpenDialogs().empty();
}

void LoggerLink::SetAllStatus(const char* status, bool withFailureHint) {
  for (ConnectionDialog* dialog : host_.OpenDialogs()) {
    dialog->SetStatus(status);
    if (withFailureHint && dialog->Kind() == DialogKind::Download)
      dialog->SetMessage(kConnectingFailed);
  }
}

void LoggerLink::ScanPorts() {
  if (!AnyDialogOpen()) {
    timers_.Kill(timer::kPortScan);
    return;
  }
  // A scan is never entered from inside another (a host running the event
  // loop from a callback would otherwise let timer::kPortScan start one).
  if (scanning_) return;
  scanning_ = true;
  ++scansRun;
  probeIndex = 1;
  // A probe cycle cut short by a closing dialog leaves its ports behind;
  // every scan starts from an empty list so it never outgrows its 16 slots.
  portCount = 0;
  portList.fill(0);
  ClosePort();
  // Devices plugged in (or renamed by a replug) since the last scan.
  serial_.RefreshPorts();
  for (int port = 1; port <= kMaxPorts && portCount < kMaxPorts; ++port) {
    ClosePort();
    portNumber = port;
    serial_.SetCommPort(port);
    if (TryOpen()) portList[portCount++] = static_cast<std::uint8_t>(port);
  }
  scanning_ = false;
  if (portCount == 0) return;  // timer::kPortScan keeps running: scan again at its next tick
  timers_.Kill(timer::kPortScan);
  const int highest = portList[portCount - 1];
  ProbeLoggerPort(highest);
  portNumber = highest;
  timers_.Start(timer::kProbe, kProbeMs);
}

void LoggerLink::ProbeTick() {
  if (!AnyDialogOpen()) {
    timers_.Kill(timer::kProbe);
    return;
  }
  if (portAnswered) return;
  if (probeIndex > portCount) {
    timers_.Kill(timer::kProbe);
    probeIndex = 1;
    portCount = 0;
    SetAllStatus(kStatusNotConnected, true);
    timers_.Start(timer::kPortScan, kScanAfterFailureMs);
    return;
  }
  const int port = portList[portCount - probeIndex];
  ClosePort();
  ProbeLoggerPort(port);
  portNumber = port;
  ++probeIndex;
}

void LoggerLink::ProbeAnswered() {
  portAnswered = 1;
  loggerFound = 1;
  const std::vector<ConnectionDialog*> dialogs = host_.OpenDialogs();
  if (dialogs.empty()) return;  // nobody waits: the port stays open
  timers_.Kill(timer::kPortScan);
  timers_.Kill(timer::kProbe);
  for (ConnectionDialog* dialog : dialogs) {
    dialog->SetStatus(kStatusConnected);
    switch (dialog->Kind()) {
      case DialogKind::LoggerSetup:
        dialog->SetMessage(kSetupReadyMessage);
        break;
      case DialogKind::Download:
        dialog->SetMessage(kDownloadReadyHint);
        break;
      case DialogKind::RealTime:
        dialog->SetMessage(kRealTimeReadyHint);
        break;
      case DialogKind::CorrectTime:
        break;
    }
  }
  timers_.Start(timer::kKeepAlive, kKeepAliveMs);
  ClosePort();
}

void LoggerLink::KeepAliveCheck() {
  if (!AnyDialogOpen()) {
    timers_.Kill(timer::kKeepAlive);
    return;
  }
  // Only proves the port can still be opened; the logger is not asked.
  if (CheckPort())
    SetAllStatus(kStatusConnected, false);
  else
    SetAllStatus(kStatusNotConnected, true);
}

// ---- transfers ----------------------------------------------------------------

TransferHandler* LoggerLink::ActiveTransfer() const {
  if (realTimeMode) return realTime_;
  if (downloadMode) return download_;
  return nullptr;
}

void LoggerLink::StartTransfer() {
  if (download_ != nullptr) download_->ClearCounters();
  ClosePort();
  TransferHandler* handler = ActiveTransfer();
  if (handler == nullptr) return;  // no transfer selected or none attached
  replySeen = 0;
  firstFrameRepeated = false;
  commandFrame.fill(handler->PrepareStart());
  firstFrame_ = commandFrame;
  transferActive = 1;
  // Bytes of an earlier transfer still on their way (a logger finishes the
  // block it was sending when the stop frame came) would shift every block
  // of this one: the port starts empty.
  try {
    serial_.SetPortOpen(true);
    serial_.DiscardInput();
  } catch (const SerialError&) {
    // SendCommandFrame tries the port again and reports why it fails.
  }
  SendCommandFrame();
  timers_.Start(timer::kFirstFrameRepeat, kFirstFrameRepeatMs);
}

void LoggerLink::RepeatFirstFrame() {
  timers_.Kill(timer::kFirstFrameRepeat);
  if (replySeen != 0 || !serial_.PortOpen()) return;
  // Whatever arrived so far is a reply cut short (a whole one would have
  // been seen): the answer to the repeat must not complete it.
  serial_.DiscardInput();
  if (TransferHandler* handler = ActiveTransfer()) handler->ForgetPartialReply();
  firstFrameRepeated = true;
  SendBytes(firstFrame_);
}

void LoggerLink::OnTimer(int id) {
  ProblemReport report(*this);
  switch (id) {
    case timer::kPortScan:
      ScanPorts();
      return;
    case timer::kProbe:
      ProbeTick();
      return;
    case timer::kKeepAlive:
      KeepAliveCheck();
      return;
    case timer::kFirstFrameRepeat:
      RepeatFirstFrame();
      return;
    default:
      break;
  }
  for (TransferHandler* handler : {realTime_, download_}) {
    if (handler != nullptr && handler->OwnsTimer(id)) {
      handler->OnTimer(id);
      return;
    }
  }
}

// ---- reception ----------------------------------------------------------------

void LoggerLink::OnCommEvent() {
  const int event = serial_.CommEvent();
  if (event == kCommEventPortLost) {
    // The control has already closed the port; a running transfer must not
    // wait for its watchdog to learn that nothing will arrive any more.
    serial_.DiscardInput();
    if (transferActive) {
      if (TransferHandler* handler = ActiveTransfer()) handler->OnPortLost();
    }
    return;
  }
  if (event != kCommEventReceive) {
    serial_.DiscardInput();
    return;
  }
  replyPauseAt = serial_.LastPauseAt(kReplyPauseMs);
  const std::vector<std::uint8_t> block = serial_.Input();
  Dispatch(block);
  replyPauseAt = -1;
}

void LoggerLink::Dispatch(std::span<const std::uint8_t> block) {
  if (block.empty()) return;
  if (!transferActive) {
    switch (block[0]) {
      case kProbeAnswer:
        ProbeAnswered();
        break;
      case kAckOk:
        ClosePort();
        host_.CommandAcknowledged(false);
        break;
      case kAckPressStart:
        host_.ShowMessage(kPressStartMessage, MessageIcon::Information);
        ClosePort();
        host_.CommandAcknowledged(true);
        break;
      default:
        break;
    }
    return;
  }
  if (realTimeMode) {
    // The real-time run decides itself: data, a stop answer, or nothing.
    if (realTime_ != nullptr) realTime_->OnReply(block);
    return;
  }
  if (downloadMode) {
    replySeen = 1;
    timers_.Kill(timer::kFirstFrameRepeat);
    if (download_ != nullptr) download_->OnReply(block);
  }
}

}  // namespace acv
