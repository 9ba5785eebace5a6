#pragma once
// What every logger subcommand of acvlogger-cli shares: the --port option,
// the port search as the connection dialogs run it, sending a set-up or clock
// command and waiting for its acknowledgement, and running the Qt event loop
// until something has happened.
//
//   OptionList options(args);
//   std::string port = options.Take("--port").value_or("");
//   ...
//   PortMap map;
//   if (!ResolvePortMap(port, map, error)) ...
//   CliLogger logger(map, DialogKind::LoggerSetup);
//   if (!logger.ConnectAndReport("setup")) return 1;
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/CliLinkHost.h"
#include "cli/CliOptions.h"
#include "logger/LoggerLink.h"
#include "platform/PortMap.h"
#include "platform/QtSerialControl.h"
#include "platform/QtTimerHost.h"

namespace acv::cli {

// The port map for a --port value: empty searches the system's ports 1..16;
// a number 1..16 is that port of the system's list alone; anything else is a
// device path, used alone (pseudo-terminals are reached this way). False with
// a message when the port does not exist.
bool ResolvePortMap(const std::string& portOption, PortMap& map, std::string& error);

// Runs the event loop until done() holds (true) or timeoutMs passed (false).
bool RunEventLoopUntil(const std::function<bool()>& done, int timeoutMs);

// Prints "acvlogger-cli COMMAND: TEXT" on stderr.
void PrintError(const std::string& command, const std::string& text);

inline constexpr int kConnectTimeoutMs = 20000;  // a full probe cycle of 16 ports takes 8.6 s
inline constexpr int kAcknowledgeTimeoutMs = 3000;

class CliLogger {
 public:
  // With a host of its own.
  CliLogger(PortMap map, DialogKind kind);
  // With the caller's host (a subclass that handles downloads, say); the
  // host must outlive this object.
  CliLogger(PortMap map, CliLinkHost& host);
  CliLogger(const CliLogger&) = delete;
  CliLogger& operator=(const CliLogger&) = delete;

  LoggerLink& Link() { return link_; }
  CliLinkHost& Host() { return host_; }
  QtSerialControl& Serial() { return serial_; }
  QtTimerHost& Timers() { return timers_; }

  enum class ConnectResult { Connected, NotConnected, NoPort, TimedOut };
  // Opens the headless dialog and runs the search (scan, then probes from
  // the highest port down) until the status is "Connected" or a probe cycle
  // failed. The dialog stays open; CloseDialog() ends the search.
  ConnectResult Connect(int timeoutMs = kConnectTimeoutMs);
  // Connect(), printing the failure on stderr; true when connected.
  bool ConnectAndReport(const std::string& command, int timeoutMs = kConnectTimeoutMs);
  // Closes the dialog as Cancel or a start button does: KillConnectTimers.
  void CloseDialog();

  // The device the link uses (the one that answered after Connect()).
  std::string Device() const;

  enum class AckResult { Acknowledged, PressStart, NoAnswer, SendFailed };
  // Sends frame as the set-up and clock dialogs do (commandFrame,
  // SendCommandFrame, threshold 1, dialog closed) and waits for 0xEE/0x1E.
  AckResult SendCommand(const CommandFrame& frame, int timeoutMs = kAcknowledgeTimeoutMs);
  // 0 for an acknowledgement, otherwise 1 after a message on stderr.
  int ReportAck(const std::string& command, AckResult result);

 private:
  std::unique_ptr<CliLinkHost> ownedHost_;
  CliLinkHost& host_;
  QtSerialControl serial_;
  QtTimerHost timers_;
  LoggerLink link_;
};

}  // namespace acv::cli
