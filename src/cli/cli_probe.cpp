// acvlogger-cli probe: finds the logger and prints its device.
#include <cstdio>

#include "cli/CliCommand.h"
#include "cli/CliLogger.h"

namespace acv::cli {
namespace {

constexpr const char* kCommand = "probe";
constexpr const char* kHelp =
    "usage: acvlogger-cli probe [--port DEVICE|N]\n\n"
    "Searches for the logger as the connection dialogs do: opens every port,\n"
    "then sends the probe byte to one port every 500 ms, from the highest port\n"
    "down, until the logger answers. Prints the device where it answered.\n\n"
    "  --port DEVICE|N   search only this device path or port number (1..16)\n\n"
    "Exit status: 0 found; 1 not found ('Not Connected'); 2 usage error.\n";

int Probe(const std::string& port, Invocation& cli) {
  PortMap map;
  std::string error;
  if (!ResolvePortMap(port, map, error)) return cli.Fail(error);
  CliLogger logger(std::move(map), DialogKind::Download);
  if (!logger.ConnectAndReport(kCommand)) return 1;
  std::printf("%s\n", logger.Device().c_str());
  logger.CloseDialog();
  return 0;
}

int RunProbe(const std::vector<std::string>& args) {
  std::string port;
  return RunSubcommand(Subcommand(kCommand, kHelp)
                           .Options([&](OptionList& options) {
                             port = options.Take("--port").value_or("");
                             return std::string();
                           })
                           .Body([&](Invocation& cli) { return Probe(port, cli); }),
                       args);
}

const CliRegistrar kRegistrar{kCommand, "find the logger and print its device", RunProbe};

}  // namespace
}  // namespace acv::cli
