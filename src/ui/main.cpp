// acvlogger: the desktop companion of the AC voltage/current data logger.
#include <cstdio>
#include <string>
#include <vector>

#include "ProjectVersion.h"
#include "frame/CommandLine.h"
#include "ui/CDTApp.h"

namespace {

// Our own options, checked before any window system is needed, so that
// --help, --version and mistakes are answered on a terminal without a
// display. Qt's options (one dash, e.g. "-platform offscreen") are left for
// QApplication; the full check follows once it has taken them out.
std::vector<std::string> OwnArguments(int argc, char** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const bool valueOfOurs = !args.empty() && acv::OptionTakesValue(args.back());
    const bool qtOption = !valueOfOurs && a.size() > 1 && a[0] == '-' && a[1] != '-' && a != "-h";
    if (qtOption) {
      if (i + 1 < argc && argv[i + 1][0] != '-') ++i;  // its value
      continue;
    }
    args.push_back(a);
  }
  return args;
}

}  // namespace

int main(int argc, char** argv) {
  const acv::CommandLine line = acv::ParseCommandLine(OwnArguments(argc, argv));
  if (line.help) {
    std::fputs(acv::UsageText().c_str(), stdout);
    return 0;
  }
  if (line.version) {
    std::printf("acvlogger %s\n", acv::kProjectVersion);
    return 0;
  }
  if (!line.error.empty()) {
    std::fprintf(stderr, "acvlogger: %s\n\n%s", line.error.c_str(), acv::UsageText().c_str());
    return 2;
  }
  acv::CDTApp app(argc, argv);
  int exitCode = 0;
  if (!app.InitInstance(exitCode)) return exitCode;
  return app.exec();
}
