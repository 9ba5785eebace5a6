#include "cli/CliLogger.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>
#include <filesystem>

namespace acv::cli {

bool ResolvePortMap(const std::string& portOption, PortMap& map, std::string& error) {
  if (portOption.empty()) {
    map = PortMap::FromSystem();
    if (map.Size() == 0) {
      error = "no serial port found on this system (name one with --port DEVICE)";
      return false;
    }
    return true;
  }
  if (std::optional<int> number = ParseInt(portOption)) {
    if (*number < 1 || *number > PortMap::kMaxPorts) {
      error = "port numbers run from 1 to 16";
      return false;
    }
    const std::string device = PortMap::FromSystem().DevicePath(*number);
    if (device.empty()) {
      error = "there is no port " + portOption + " (see 'acvlogger-cli ports')";
      return false;
    }
    map = PortMap::Single(device);
    return true;
  }
  std::error_code ec;
  if (!std::filesystem::exists(portOption, ec)) {
    error = "no such serial device: " + portOption;
    return false;
  }
  map = PortMap::Single(portOption);
  return true;
}

bool RunEventLoopUntil(const std::function<bool()>& done, int timeoutMs) {
  QElapsedTimer clock;
  clock.start();
  // Wakes the loop at the deadline even when nothing else happens. Re-armed
  // every round: a timer may fire a little early, and a wait with no timer
  // left would never end.
  QTimer deadline;
  deadline.setSingleShot(true);
  deadline.setTimerType(Qt::PreciseTimer);
  while (!done()) {
    const qint64 left = timeoutMs - clock.elapsed();
    if (left <= 0) return false;
    deadline.start(static_cast<int>(left));
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  }
  return true;
}

void PrintError(const std::string& command, const std::string& text) {
  std::fprintf(stderr, "acvlogger-cli %s: %s\n", command.c_str(), text.c_str());
}

// ---- the logger ------------------------------------------------------------------

CliLogger::CliLogger(PortMap map, DialogKind kind)
    : ownedHost_(std::make_unique<CliLinkHost>(kind)),
      host_(*ownedHost_),
      serial_(std::move(map)),
      link_(serial_, timers_, host_) {}

CliLogger::CliLogger(PortMap map, CliLinkHost& host)
    : host_(host), serial_(std::move(map)), link_(serial_, timers_, host_) {}

CliLogger::ConnectResult CliLogger::Connect(int timeoutMs) {
  host_.OpenDialog();
  link_.BeginConnection(host_.Dialog().Kind());
  // A scan that opened no port leaves the search "Connecting..." for ever
  // (it retries every 100 ms); on the command line that is an answer too.
  const auto noPort = [this] {
    return link_.scansRun > 0 && link_.portCount == 0 && !timers_.IsActive(timer::kProbe);
  };
  const auto settled = [&] { return host_.Dialog().Status() != kStatusConnecting || noPort(); };
  const bool finished = RunEventLoopUntil(settled, timeoutMs);
  const std::string status = host_.Dialog().Status();
  if (status == kStatusConnected) return ConnectResult::Connected;
  if (status == kStatusNotConnected) return ConnectResult::NotConnected;
  return finished ? ConnectResult::NoPort : ConnectResult::TimedOut;
}

bool CliLogger::ConnectAndReport(const std::string& command, int timeoutMs) {
  host_.SetCommand(command);
  switch (Connect(timeoutMs)) {
    case ConnectResult::Connected:
      return true;
    case ConnectResult::NotConnected:
      PrintError(command, std::string(kStatusNotConnected) + ": " + kConnectingFailed);
      break;
    case ConnectResult::NoPort:
      PrintError(command, std::string(kStatusNotConnected) + ": no serial port could be opened");
      break;
    case ConnectResult::TimedOut:
      PrintError(command, std::string(kStatusNotConnected) + ": the port search timed out");
      break;
  }
  CloseDialog();
  return false;
}

void CliLogger::CloseDialog() {
  host_.CloseDialog();
  link_.KillConnectTimers();
}

std::string CliLogger::Device() const {
  return serial_.Map().DevicePath(link_.portNumber);
}

CliLogger::AckResult CliLogger::SendCommand(const CommandFrame& frame, int timeoutMs) {
  const int before = host_.acknowledgements;
  link_.commandFrame = frame;
  link_.SendCommandFrame();
  link_.SetThreshold(1);
  CloseDialog();
  // SendCommandFrame closes the port when the bytes could not go out.
  if (!serial_.PortOpen()) return AckResult::SendFailed;
  if (!RunEventLoopUntil([&] { return host_.acknowledgements > before; }, timeoutMs))
    return AckResult::NoAnswer;
  return host_.lastAckPressStart ? AckResult::PressStart : AckResult::Acknowledged;
}

int CliLogger::ReportAck(const std::string& command, AckResult result) {
  switch (result) {
    case AckResult::Acknowledged:
    case AckResult::PressStart:  // the START message has been printed already
      return 0;
    case AckResult::NoAnswer:
      PrintError(command, "the logger on " + Device() + " did not acknowledge the command within " +
                              std::to_string(kAcknowledgeTimeoutMs / 1000) + " s");
      return 1;
    case AckResult::SendFailed:
      PrintError(command, "the command could not be sent to " + Device());
      return 1;
  }
  return 1;
}

}  // namespace acv::cli
