#pragma once
// Subcommands of acvlogger-cli. Each lives in its own file and registers
// itself with a static CliRegistrar, so main() needs to know none of them;
// each runs through RunSubcommand, so all of them answer --help, word a
// usage problem, load their data file and end alike.
//
//   constexpr const char* kCommand = "stats";
//   int RunStats(const std::vector<std::string>& args) {
//     Options o;
//     return RunSubcommand(
//         Subcommand(kCommand, kHelp)
//             .Options([&](OptionList& options) { return TakeOptions(options, o); })
//             .ReadsDataFile()
//             .Body([&](Invocation& cli) { return PrintStats(o, cli); }),
//         args);
//   }
//   const CliRegistrar kRegistrar{kCommand, "statistics of ...", RunStats};
//
// Exit codes: 0 success; 1 a failure, told on one line on stderr; 2 a usage
// error, told on one line with a hint to the help (and refusals a
// subcommand documents); others as a subcommand's help says.
#include <functional>
#include <string>
#include <vector>

#include "cli/CliOptions.h"
#include "data/CDTDoc.h"

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

inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// What a running subcommand is given: its data file, loaded, and the one
// way to tell a failure.
class Invocation {
 public:
  explicit Invocation(std::string command) : command_(std::move(command)) {}
  const std::string& Command() const { return command_; }
  // Prints "acvlogger-cli NAME: TEXT" on stderr; returns `status`.
  int Fail(const std::string& text, int status = kExitFailure) const;
  // The same line for a note or a warning that does not end the command.
  void Note(const std::string& text) const { Fail(text, 0); }
  // A usage problem found only once the data are read (a point beyond the
  // series, say): the line of a usage error; returns 2.
  int Usage(const std::string& problem) const;

  // The data file named on the command line and what it holds, for a
  // subcommand that reads one.
  std::string dataPath;
  std::string dataTag;
  CDTDoc doc;

 private:
  std::string command_;
};

// How one subcommand reads its words and what it then does, built in steps:
//   Subcommand(kCommand, kHelp).Options(...).ReadsDataFile().Check(...).Body(...)
class Subcommand {
 public:
  using TakeOptions = std::function<std::string(OptionList&)>;
  using CheckOptions = std::function<std::string()>;
  using Work = std::function<int(Invocation&)>;

  Subcommand(const char* name, const char* help) : name_(name), help_(help) {}
  // Takes the subcommand's options from the list: "" or the usage problem.
  // Runs before the words that are no options are taken, so that every
  // option has its value first. Words left over are reported after it.
  Subcommand& Options(TakeOptions take) {
    options_ = std::move(take);
    return *this;
  }
  // One word is the data file, loaded before the body; a file that cannot
  // be read is a failure (1) worded alike for every subcommand.
  Subcommand& ReadsDataFile() {
    readsDataFile_ = true;
    return *this;
  }
  // The subcommand shows or writes values: it takes the channel scaling
  // options (over the settings' scaling), lists them in its help before
  // "Exit status", and the loaded data set carries the scaling.
  Subcommand& ScalesValues() {
    scalesValues_ = true;
    return *this;
  }
  // Checks the options against each other once all words are read: "" or
  // the usage problem.
  Subcommand& Check(CheckOptions check) {
    check_ = std::move(check);
    return *this;
  }
  // The work, once the words are read and the data file is loaded: the
  // exit status.
  Subcommand& Body(Work work) {
    work_ = std::move(work);
    return *this;
  }

 private:
  friend int RunSubcommand(const Subcommand& subcommand, const std::vector<std::string>& args);
  std::string UsageProblem(OptionList& options, std::string& dataPath,
                           ChannelScaling& scaling) const;
  std::string Help() const;

  const char* name_;
  const char* help_;
  TakeOptions options_;
  bool readsDataFile_ = false;
  bool scalesValues_ = false;
  CheckOptions check_;
  Work work_;
};

// "--help" (or "-h") anywhere prints the help on stdout: 0. A usage problem
// prints "acvlogger-cli NAME: PROBLEM (try 'acvlogger-cli NAME --help')": 2.
// Otherwise `run`'s status; an exception out of it is a failure line and 1.
int RunSubcommand(const Subcommand& subcommand, const std::vector<std::string>& args);

// The one line of a usage problem, on stderr.
void PrintUsageProblem(const std::string& command, const std::string& problem);

}  // namespace acv::cli
