#include "frame/CommandLine.h"

#include <charconv>

namespace acv {

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
  if (line.simulate && !line.port.empty()) {
    return fail("--simulate brings its own port; leave out --port");
  }
  return line;
}

bool OptionTakesValue(const std::string& option) {
  return option == "--port" || option == "--sim-arg" || option == "--screenshot" ||
         option == "--screenshot-delay";
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
