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
  // With --screenshot: picture one logger window instead of the main window
  // ("download", "realtime", "setup", "clock" once connected, or "loading"
  // during a download). Not in the usage text: it serves the picture script.
  std::string screenshotDialog;
  int screenshotDelayMs = 1500;
  // Graph pictures (hidden, for the picture script): once the data are on
  // show, enter a display ("store-rms", "store-tr", "realtime-epa",
  // "realtime-rms", "realtime-freq", "realtime-s"), drag a zoom band from
  // (x0, y0) to (x1, y1) and put the cursor at (x, y), in graph view pixels.
  std::string autoMode;
  std::vector<int> autoZoom;    // x0, y0, x1, y1, or empty
  std::vector<int> autoCursor;  // x, y, or empty
  // Then open the Data List, and in STORE TR show this record (0-based) as a
  // double click in the TR File List would; -1 leaves the record alone.
  bool autoList = false;
  int autoRecord = -1;

  std::string error;  // not empty: the line could not be understood
};

// args are the words after the program name. Qt's own options (-platform,
// -style, ...) must be removed by the caller first.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

// Whether an option of ours is followed by a value (--port DEVICE, ...).
bool OptionTakesValue(const std::string& option);

std::string UsageText();

}  // namespace acv
