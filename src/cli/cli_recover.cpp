// acvlogger-cli recover: brings back a real-time run that ended unexpectedly
// (crash, killed program, power cut) from the journal it left.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cli/CliCommand.h"
#include "cli/CliLogger.h"
#include "data/CDTDoc.h"
#include "data/DataFile.h"
#include "data/Export.h"
#include "data/RunRecovery.h"
#include "platform/AppPaths.h"

namespace acv::cli {
namespace {

constexpr const char* kCommand = "recover";
constexpr const char* kHelp =
    "usage: acvlogger-cli recover [--journal FILE] [-o FILE.stdata]\n\n"
    "Every real-time run keeps a journal of its points in the data folder\n"
    "($XDG_DATA_HOME/acvlogger); a run that ends normally removes it. A journal\n"
    "left behind is a run that ended unexpectedly. This loads its points (every\n"
    "whole point before any damage) as the previous measurement, as the desktop\n"
    "program's recovery question does, and then removes the journal.\n\n"
    "  --journal FILE     recover this journal; without it the oldest one left\n"
    "                     in the data folder\n"
    "  -o, --output FILE  also save the run as a data file with its reports, as\n"
    "                     \"Save...\" does\n\n"
    "Exit status: 0 recovered; 1 nothing to recover, or the journal or a file\n"
    "could not be read or written; 2 a usage error.\n";

struct Options {
  std::optional<std::string> journal;
  std::optional<std::string> output;
};

std::string TakeOptions(OptionList& options, Options& o) {
  o.journal = options.Take("--journal");
  o.output = options.TakeOutput();
  return {};
}

std::string CheckOptions(const Options& o) {
  if ((o.journal && o.journal->empty()) || (o.output && o.output->empty()))
    return "a file name is empty";
  return {};
}

int Recover(const Options& o, Invocation& cli) {
  std::optional<std::string> journal = o.journal;
  const std::optional<std::string>& output = o.output;
  int more = 0;
  if (!journal) {
    const JournalsLeft left = NextLeftJournal(JournalFolder());
    if (left.oldest.empty()) {
      return cli.Fail(left.busy > 0
                          ? "no journal to recover; " + std::to_string(left.busy) +
                                " belong(s) to a run another program is still recording"
                          : "no journal of an unexpectedly ended run in " + JournalFolder());
    }
    journal = left.oldest;
    more = left.more;
  }

  // Held until this command ends, so no other program recovers the same run.
  LeftJournal taken;
  JournalContents contents = taken.Take(*journal);
  if (!contents.ok) return cli.Fail(contents.error);
  const std::string summary = RecoverySummary(contents);
  CDTDoc doc;
  const Adoption adopted = AdoptRecoveredRun(contents, taken, PreviousMeasurementPath(), doc);
  if (!adopted.problem.empty()) cli.Note(adopted.problem);
  if (!adopted.kept) return 1;
  std::printf("%s\n", summary.c_str());
  if (output) {
    if (std::string error = SaveDataAndExport(doc, *output); !error.empty())
      return cli.Fail(error + " (the points are kept as the previous measurement)");
    std::printf("%s\n", DataPathFor(*output).c_str());
  }
  if (more > 0) {
    std::fprintf(stderr, "%d more journal(s) left; run 'acvlogger-cli recover' again.\n", more);
  }
  return 0;
}

int RunRecover(const std::vector<std::string>& args) {
  Options o;
  return RunSubcommand(Subcommand(kCommand, kHelp)
                           .Options([&](OptionList& options) { return TakeOptions(options, o); })
                           .Check([&] { return CheckOptions(o); })
                           .Body([&](Invocation& cli) { return Recover(o, cli); }),
                       args);
}

const CliRegistrar kRegistrar{kCommand, "recover a real-time run that ended unexpectedly",
                              RunRecover};

}  // namespace
}  // namespace acv::cli
