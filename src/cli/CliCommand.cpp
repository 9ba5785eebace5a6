#include "cli/CliCommand.h"

#include <algorithm>
#include <cstdio>
#include <exception>

#include "cli/CliDataFile.h"
#include "cli/CliScaling.h"
#include "data/Settings.h"
#include "platform/AppPaths.h"

namespace acv::cli {
namespace {

bool WantsHelp(const std::vector<std::string>& args) {
  return std::any_of(args.begin(), args.end(),
                     [](const std::string& a) { return a == "--help" || a == "-h"; });
}

}  // namespace

std::vector<CliEntry>& Registry() {
  static std::vector<CliEntry> entries;
  return entries;
}

int Invocation::Fail(const std::string& text, int status) const {
  std::fprintf(stderr, "acvlogger-cli %s: %s\n", command_.c_str(), text.c_str());
  return status;
}

int Invocation::Usage(const std::string& problem) const {
  PrintUsageProblem(command_, problem);
  return kExitUsage;
}

void PrintUsageProblem(const std::string& command, const std::string& problem) {
  std::fprintf(stderr, "acvlogger-cli %s: %s (try 'acvlogger-cli %s --help')\n", command.c_str(),
               problem.c_str(), command.c_str());
}

// The first usage problem, in the order a reader fixes them: an option's own
// value, a word nobody took, the data file's name, then the options together.
std::string Subcommand::UsageProblem(OptionList& options, std::string& dataPath,
                                     ChannelScaling& scaling) const {
  std::string problem = options_ ? options_(options) : std::string();
  if (scalesValues_) {
    const std::string scalingProblem = TakeScalingOptions(options, scaling);
    if (problem.empty()) problem = scalingProblem;
  }
  const std::string fileProblem = readsDataFile_ ? options.TakeDataFile(dataPath) : "";
  if (problem.empty()) problem = options.Error();
  if (problem.empty()) problem = fileProblem;
  if (problem.empty() && check_) problem = check_();
  return problem;
}

std::string Subcommand::Help() const {
  std::string help = help_;
  if (!scalesValues_) return help;
  // The scaling options go last among the options, before the exit status.
  std::size_t at = help.rfind("Exit status:");
  if (at == std::string::npos) at = help.size();
  return help.insert(
      at, std::string("Channel scaling (values in primary units):\n") + kScalingHelp + "\n");
}

int RunSubcommand(const Subcommand& sub, const std::vector<std::string>& args) {
  if (WantsHelp(args)) {
    std::fputs(sub.Help().c_str(), stdout);
    return 0;
  }
  Invocation cli(sub.name_);
  try {
    OptionList options(args);
    ChannelScaling scaling;
    if (sub.scalesValues_) scaling = LoadSettings(SettingsFilePath()).channelScaling;
    if (const std::string problem = sub.UsageProblem(options, cli.dataPath, scaling);
        !problem.empty())
      return cli.Usage(problem);
    if (sub.readsDataFile_) {
      if (const std::string problem = LoadDataFileFor(cli.dataPath, cli.doc, &cli.dataTag);
          !problem.empty()) {
        return cli.Fail(problem);
      }
    }
    cli.doc.scaling = scaling;
    return sub.work_ ? sub.work_(cli) : 0;
  } catch (const std::exception& e) {
    // Out of memory for a huge file, say: one line, not an abort.
    return cli.Fail(e.what());
  }
}

}  // namespace acv::cli
