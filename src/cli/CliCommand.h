#pragma once
// Subcommands of acvlogger-cli. Each lives in its own file and registers
// itself with a static CliRegistrar, so main() needs to know none of them.
//
//   static int RunInfo(const std::vector<std::string>& args);
//   static acv::cli::CliRegistrar reg{"info", "summary of a data file", RunInfo};
//
// args holds the words after the subcommand name. A subcommand answers
// "--help" itself. Exit codes: 0 success, 1 failure (one line on stderr),
// 2 usage errors and refusals the subcommand documents.
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace acv::cli {

using CliFunction = std::function<int(const std::vector<std::string>& args)>;

struct CliEntry {
  std::string name;
  std::string summary;
  CliFunction run;
};

std::vector<CliEntry>& Registry();

struct CliRegistrar {
  CliRegistrar(std::string name, std::string summary, CliFunction run) {
    Registry().push_back({std::move(name), std::move(summary), std::move(run)});
  }
};

// True when args contains "--help" or "-h".
bool WantsHelp(const std::vector<std::string>& args);

// The start of a subcommand that reads its options with `parse` (which
// returns "" or the usage problem): "--help" prints `help` and ends with 0;
// a usage problem is told on one line, the help follows on stderr, and the
// subcommand ends with 2. Empty: go on.
std::optional<int> HelpOrUsageExit(const char* command, const char* help,
                                   const std::vector<std::string>& args,
                                   const std::function<std::string()>& parse);

}  // namespace acv::cli
