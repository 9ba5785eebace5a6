// acvlogger-cli: the program's core without windows.
#include <QCoreApplication>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/CliCommand.h"

namespace acv::cli {

std::vector<CliEntry>& Registry() {
  static std::vector<CliEntry> entries;
  return entries;
}

bool WantsHelp(const std::vector<std::string>& args) {
  return std::any_of(args.begin(), args.end(),
                     [](const std::string& a) { return a == "--help" || a == "-h"; });
}

}  // namespace acv::cli

namespace {

void PrintUsage(std::FILE* out) {
  auto entries = acv::cli::Registry();
  std::sort(entries.begin(), entries.end(),
            [](const auto& a, const auto& b) { return a.name < b.name; });
  std::fprintf(out,
               "usage: acvlogger-cli SUBCOMMAND [options]\n\n"
               "The AC voltage/current data logger companion, without windows.\n\n"
               "subcommands:\n");
  for (const auto& e : entries)
    std::fprintf(out, "  %-10s %s\n", e.name.c_str(), e.summary.c_str());
  std::fprintf(out, "\n'acvlogger-cli SUBCOMMAND --help' describes one subcommand.\n");
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("acvlogger"));
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty() || args[0] == "--help" || args[0] == "-h") {
    PrintUsage(args.empty() ? stderr : stdout);
    return args.empty() ? 2 : 0;
  }
  if (args[0] == "--version") {
    std::printf("acvlogger-cli %s\n", ACV_VERSION);
    return 0;
  }
  for (const auto& e : acv::cli::Registry()) {
    if (e.name == args[0]) return e.run(std::vector<std::string>(args.begin() + 1, args.end()));
  }
  std::fprintf(stderr, "acvlogger-cli: unknown subcommand '%s'\n", args[0].c_str());
  PrintUsage(stderr);
  return 2;
}
