// acvlogger-cli probe: finds the logger and prints its device.
#include <cstdio>

#include "cli/CliCommand.h"
#include "cli/CliLogger.h"

namespace acv::cli {
namespace {

constexpr const char* kHelp =
    "usage: acvlogger-cli probe [--port DEVICE|N]\n\n"
    "Searches for the logger as the connection dialogs do: opens every port,\n"
    "then sends the probe byte to one port every 500 ms, from the highest port\n"
    "down, until the logger answers. Prints the device where it answered.\n\n"
    "  --port DEVICE|N   search only this device path or port number (1..16)\n\n"
    "Exit status: 0 found; 1 not found ('Not Connected'); 2 usage error.\n";

int RunProbe(const std::vector<std::string>& args) {
  if (WantsHelp(args)) {
    std::fputs(kHelp, stdout);
    return 0;
  }
  OptionList options(args);
  const std::string port = options.Take("--port").value_or("");
  if (const std::string error = options.Error(); !error.empty()) {
    PrintError("probe", error);
    return 2;
  }
  PortMap map;
  std::string error;
  if (!ResolvePortMap(port, map, error)) {
    PrintError("probe", error);
    return 1;
  }
  CliLogger logger(std::move(map), DialogKind::Download);
  if (!logger.ConnectAndReport("probe")) return 1;
  std::printf("%s\n", logger.Device().c_str());
  logger.CloseDialog();
  return 0;
}

const CliRegistrar registrar{"probe", "find the logger and print its device", RunProbe};

}  // namespace
}  // namespace acv::cli
