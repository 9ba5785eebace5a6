// acvlogger-cli ports: the port numbers 1..16 and their devices.
#include <unistd.h>

#include <cstdio>

#include "cli/CliCommand.h"
#include "cli/CliLogger.h"
#include "platform/PortMap.h"

namespace acv::cli {
namespace {

constexpr const char* kCommand = "ports";
constexpr const char* kHelp =
    "usage: acvlogger-cli ports [--port DEVICE]\n\n"
    "Lists the serial ports the logger is searched on, one line each: the port\n"
    "number (1..16) and its device. USB adapters (ttyUSB*, ttyACM*) come first,\n"
    "then the other serial devices, each group in name order; adapters are also\n"
    "shown with their /dev/serial/by-id name.\n\n"
    "  --port DEVICE   show DEVICE as port 1, as the other commands would use it\n\n"
    "Exit status: 0 listed (also when the system has no serial port); 2 a usage\n"
    "error.\n";

int ListPorts(const std::string& preferred, Invocation& cli) {
  const PortMap map = PortMap::FromSystem(preferred);
  // No port is an answer, not a failure.
  if (map.Size() == 0) {
    cli.Note("no serial port found on this system");
    return 0;
  }
  bool denied = false;
  for (int port = 1; port <= map.Size(); ++port) {
    const bool usable = ::access(map.DevicePath(port).c_str(), R_OK | W_OK) == 0;
    denied = denied || !usable;
    std::printf("%2d  %s%s\n", port, map.DisplayName(port).c_str(),
                usable ? "" : "  (no permission)");
  }
  if (denied) {
    cli.Note(
        "to use a port marked 'no permission', add yourself to the 'dialout' group (sudo usermod "
        "-aG dialout $USER) and log in again.");
  }
  return 0;
}

int RunPorts(const std::vector<std::string>& args) {
  std::string preferred;
  return RunSubcommand(Subcommand(kCommand, kHelp)
                           .Options([&](OptionList& options) {
                             preferred = options.Take("--port").value_or("");
                             return std::string();
                           })
                           .Body([&](Invocation& cli) { return ListPorts(preferred, cli); }),
                       args);
}

const CliRegistrar kRegistrar{kCommand, "list the serial ports searched for the logger", RunPorts};

}  // namespace
}  // namespace acv::cli
