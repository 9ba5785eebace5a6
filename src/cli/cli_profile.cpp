// acvlogger-cli profile: the daily profile of a data file's RMS series.
#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "analysis/SurveyText.h"
#include "cli/CliCommand.h"
#include "cli/CliLibrary.h"
#include "cli/CliOptions.h"
#include "cli/CliSeriesPart.h"
#include "data/CDTDoc.h"

namespace acv::cli {
namespace {

constexpr const char* kCommand = "profile";
constexpr const char* kHelp =
    "usage: acvlogger-cli profile FILE.stdata [--part store|realtime] [--csv]\n"
    "   or: acvlogger-cli profile --site NAME [...]: a site of the library\n"
    "       (see acvlogger-cli library profile --help)\n\n"
    "Prints the daily profile of an RMS series: for each 10-minute slot of the\n"
    "day (local time, 00:00 .. 23:50) the minimum, mean and maximum of the\n"
    "points of every day that fall in it. A slot without points has empty\n"
    "fields. Damaged points (not numbers) are left out.\n\n"
    "  --part PART   store or realtime; default: the STORE series when the\n"
    "                file holds one\n"
    "  --csv         CSV: slot,ch1_min,ch1_mean,ch1_max,ch2_min,ch2_mean,ch2_max\n"
    "                (the same lines as without it, with the header)\n\n"
    "Exit status: 0 printed; 1 the file cannot be read or holds no such\n"
    "series; 2 a usage error.\n";

struct Options {
  std::optional<FilePart> part;
  bool csv = false;
};

int PrintProfile(const Options& o, Invocation& cli) {
  AnalysisSeries series;
  if (const std::string problem = ChooseRmsSeries(cli.doc, cli.dataPath, o.part, true, series);
      !problem.empty()) {
    return cli.Fail(problem);
  }
  std::array<DailyProfile, 2> profiles{};
  std::array<const DailyProfile*, 2> shown{};
  for (int c = 0; c < 2; ++c) {
    if (!series.channels[static_cast<std::size_t>(c)].present) continue;
    profiles[static_cast<std::size_t>(c)] = DailyProfileOf(series, c, 0, series.count - 1);
    shown[static_cast<std::size_t>(c)] = &profiles[static_cast<std::size_t>(c)];
  }
  if (o.csv) std::printf("%s\n", kProfileCsvHeader);
  for (const std::string& line : ProfileCsvLines(shown)) std::printf("%s\n", line.c_str());
  return 0;
}

int RunProfile(const std::vector<std::string>& args) {
  // A site instead of a file: the library's command, which takes the rest.
  if (std::find(args.begin(), args.end(), "--site") != args.end()) {
    for (const LibraryCommand& command : LibraryCommands()) {
      if (std::string(command.name) == "profile") return command.run(args);
    }
  }
  Options o;
  return RunSubcommand(Subcommand(kCommand, kHelp)
                           .Options([&](OptionList& options) {
                             std::string problem = TakePart(options, o.part);
                             o.csv = options.TakeFlag("--csv");
                             return problem;
                           })
                           .ReadsDataFile()
                           .ScalesValues()
                           .Body([&](Invocation& cli) { return PrintProfile(o, cli); }),
                       args);
}

const CliRegistrar kRegistrar{kCommand, "the daily profile of a data file's RMS series",
                              RunProfile};

}  // namespace
}  // namespace acv::cli
