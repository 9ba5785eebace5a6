#include "frame/CommandLine.h"

#include <charconv>

namespace acv {
namespace {

// "a,b,c" of exactly n integers.
bool ParseIntList(const std::string& text, std::size_t n, std::vector<int>& out) {
  std::vector<int> values;
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = text.find(',', start);
    const std::size_t stop = comma == std::string::npos ? text.size() : comma;
    int v = 0;
    const char* first = text.data() + start;
    const char* last = text.data() + stop;
    auto [end, ec] = std::from_chars(first, last, v);
    if (ec != std::errc() || end != last) return false;
    values.push_back(v);
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  if (values.size() != n) return false;
  out = std::move(values);
  return true;
}

bool KnownDisplayName(const std::string& name) {
  for (const char* known :
       {"store-rms", "store-tr", "realtime-epa", "realtime-rms", "realtime-freq", "realtime-s"}) {
    if (name == known) return true;
  }
  return false;
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
  CommandLine line;
  auto fail = [&line](std::string message) {
    line.error = std::move(message);
    return line;
  };
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](std::string& out) {
      if (i + 1 >= args.size() || args[i + 1].empty()) return false;
      out = args[++i];
      return true;
    };
    if (a == "--help" || a == "-h") {
      line.help = true;
    } else if (a == "--version") {
      line.version = true;
    } else if (a == "--simulate") {
      line.simulate = true;
    } else if (a == "--auto-download") {
      line.autoDownload = true;
    } else if (a == "--auto-run") {
      line.autoRun = true;
    } else if (a == "--port") {
      if (!value(line.port)) return fail("--port needs a device, e.g. --port /dev/ttyUSB0");
    } else if (a == "--sim-arg") {
      std::string arg;
      if (!value(arg)) return fail("--sim-arg needs a value");
      line.simArgs.push_back(arg);
    } else if (a == "--screenshot") {
      if (!value(line.screenshot)) return fail("--screenshot needs a file name");
    } else if (a == "--screenshot-dialog") {
      if (!value(line.screenshotDialog) ||
          (line.screenshotDialog != "download" && line.screenshotDialog != "realtime" &&
           line.screenshotDialog != "setup" && line.screenshotDialog != "clock" &&
           line.screenshotDialog != "loading")) {
        return fail("--screenshot-dialog takes download, realtime, setup, clock or loading");
      }
    } else if (a == "--auto-mode") {
      if (!value(line.autoMode) || !KnownDisplayName(line.autoMode)) {
        return fail(
            "--auto-mode takes store-rms, store-tr, realtime-epa, realtime-rms, realtime-freq "
            "or realtime-s");
      }
    } else if (a == "--auto-zoom") {
      std::string text;
      if (!value(text) || !ParseIntList(text, 4, line.autoZoom)) {
        return fail("--auto-zoom takes X0,Y0,X1,Y1 in pixels of the graph");
      }
    } else if (a == "--auto-cursor") {
      std::string text;
      if (!value(text) || !ParseIntList(text, 2, line.autoCursor)) {
        return fail("--auto-cursor takes X,Y in pixels of the graph");
      }
    } else if (a == "--auto-list") {
      line.autoList = true;
    } else if (a == "--auto-record") {
      std::string text;
      std::vector<int> record;
      if (!value(text) || !ParseIntList(text, 1, record) || record[0] < 0) {
        return fail("--auto-record takes a TR record number from 0");
      }
      line.autoRecord = record[0];
    } else if (a == "--screenshot-delay") {
      std::string text;
      if (!value(text)) return fail("--screenshot-delay needs milliseconds");
      int ms = 0;
      auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), ms);
      if (ec != std::errc() || end != text.data() + text.size() || ms < 0 || ms > 600000) {
        return fail("--screenshot-delay takes 0 to 600000 milliseconds, not '" + text + "'");
      }
      line.screenshotDelayMs = ms;
    } else if (!a.empty() && a[0] == '-') {
      return fail("unknown option '" + a + "'");
    } else if (line.file.empty()) {
      line.file = a;
    } else {
      return fail("only one data file can be opened, got '" + line.file + "' and '" + a + "'");
    }
  }
  if (line.autoDownload && line.autoRun) {
    return fail("--auto-download and --auto-run cannot be combined");
  }
  if (!line.screenshotDialog.empty() && line.screenshot.empty()) {
    return fail("--screenshot-dialog needs --screenshot FILE");
  }
  if (!line.screenshotDialog.empty() && (line.autoDownload || line.autoRun)) {
    return fail(
        "--screenshot-dialog opens its own window; leave out --auto-download and --auto-run");
  }
  if (line.simulate && !line.port.empty()) {
    return fail("--simulate brings its own port; leave out --port");
  }
  return line;
}

bool OptionTakesValue(const std::string& option) {
  return option == "--port" || option == "--sim-arg" || option == "--screenshot" ||
         option == "--screenshot-delay" || option == "--screenshot-dialog" ||
         option == "--auto-mode" || option == "--auto-zoom" || option == "--auto-cursor" ||
         option == "--auto-record";
}

std::string UsageText() {
  return "usage: acvlogger [FILE.stdata] [options]\n"
         "\n"
         "The desktop companion of the two-channel AC voltage/current data logger.\n"
         "\n"
         "  FILE.stdata          open this data file at start\n"
         "  --port DEVICE        try this serial device first, e.g. /dev/ttyUSB0\n"
         "  --simulate           start the simulated logger and use it as the logger\n"
         "  --sim-arg ARG        pass ARG to the simulated logger (repeatable)\n"
         "  --auto-download      press Download as soon as the logger answers\n"
         "  --auto-run           press RUN as soon as the logger answers\n"
         "  --screenshot PNG     save a picture of the window, then quit\n"
         "  --screenshot-delay MS  wait this long before the picture, counted from the\n"
         "                       automatic download or the first real-time point\n"
         "                       when there is one (default 1500)\n"
         "  --help               show this text\n"
         "  --version            show the version\n";
}

}  // namespace acv
