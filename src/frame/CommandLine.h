#pragma once
// The desktop program's command line:
//   acvlogger [FILE.stdata] [--port DEVICE] [--simulate [--sim-arg ARG]...]
//             [--auto-download | --auto-run] [--screenshot PNG [--screenshot-delay MS]]
//   acvlogger --help | --version
#include <string>
#include <vector>

namespace acv {

struct CommandLine {
  bool help = false;
  bool version = false;
  std::string file;  // a data file to open at start
  std::string port;  // a serial device to try first
  bool simulate = false;
  std::vector<std::string> simArgs;  // passed on to the simulated logger
  // Demonstration and screenshot helpers: press Download (or RUN) as soon as
  // the logger answers, and grab the window to a PNG file, then quit.
  bool autoDownload = false;
  bool autoRun = false;
  std::string screenshot;
  int screenshotDelayMs = 1500;
  std::string error;  // not empty: the line could not be understood
};

// args are the words after the program name. Qt's own options (-platform,
// -style, ...) must be removed by the caller first.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

// Whether an option of ours is followed by a value (--port DEVICE, ...).
bool OptionTakesValue(const std::string& option);

std::string UsageText();

}  // namespace acv
