// acvlogger-cli events: the dips, interruptions, swells, over-currents and
// transients of a data file, and how much of the time the voltage stayed
// within its band.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "analysis/AnalysisText.h"
#include "analysis/BandSummary.h"
#include "analysis/Events.h"
#include "cli/CliCommand.h"
#include "cli/CliOptions.h"
#include "cli/CliSeriesPart.h"
#include "data/CDTDoc.h"
#include "data/Settings.h"
#include "platform/AppPaths.h"

namespace acv::cli {
namespace {

constexpr const char* kCommand = "events";
constexpr const char* kHelp =
    "usage: acvlogger-cli events FILE.stdata [--part store|realtime]\n"
    "           [--nominal V] [--dip PCT] [--swell PCT] [--interruption PCT]\n"
    "           [--hysteresis PCT] [--over-current A] [--band PCT] [--csv]\n\n"
    "Lists the events of an RMS series, ordered by start time (a dip before\n"
    "the interruption that starts at the same point). For a channel in V: a\n"
    "dip starts at the first point below the dip threshold and ends at the\n"
    "first later point at or above the threshold plus the hysteresis; its\n"
    "extreme is its residual (lowest) voltage. An interruption starts below\n"
    "the interruption threshold and ends at or above that threshold plus the\n"
    "hysteresis; the dip around it is listed as well. A swell starts above the\n"
    "swell threshold and ends at or below it less the hysteresis. For a\n"
    "channel in A, with a limit set: an over-current starts above the limit\n"
    "and ends at or below 98 % of it. Every TR record of the STORE data is a\n"
    "transient (its largest sample). An event still running at the last point\n"
    "is marked open. Events shorter than the recording interval cannot be\n"
    "seen in an RMS series.\n\n"
    "The limits come from the program's settings (Event Limits); the options\n"
    "override them. Percentages are of the nominal voltage, a primary voltage\n"
    "when the channel scaling gives a transformer's ratio (11000 behind an\n"
    "11 kV transformer): events are found in the scaled values.\n\n"
    "  --part PART          store or realtime; default: the STORE data when the\n"
    "                       file holds any\n"
    "  --nominal V          the nominal voltage Un (default 230)\n"
    "  --dip PCT            the dip threshold (default 90)\n"
    "  --swell PCT          the swell threshold (default 110)\n"
    "  --interruption PCT   the interruption threshold (default 5)\n"
    "  --hysteresis PCT     the hysteresis (default 2)\n"
    "  --over-current A     the over-current limit; 0 = none (the default)\n"
    "  --band PCT           the band Un ± PCT %, 1 .. 50 (default 10)\n"
    "  --csv                CSV with the columns event,kind,channel,first_point,\n"
    "                       last_point,start,end,duration_s,extreme,unit,open\n"
    "                       (local time, 2026-03-01T10:00:00; end is the time of\n"
    "                       the point after the last; a transient has no points,\n"
    "                       and lasts its 251 samples)\n\n"
    "Without --csv: an aligned table, then for each channel in V the points\n"
    "within the band Un ± band %, and its 10-minute values: the RMS of the\n"
    "points of each complete 10-minute interval of the clock (00:00, 00:10,\n"
    "...), when the interval divides 600 s. An interval holding a point of a\n"
    "dip, swell or interruption of at most 60 s is flagged and left out of the\n"
    "share within the band.\n\n"
    "Exit status: 0 printed; 1 the file cannot be read or lacks the part asked\n"
    "for; 2 a usage error (also a negative or non-numeric limit, a band\n"
    "outside 1 .. 50, or thresholds out of order).\n";

struct Options {
  std::optional<FilePart> part;
  EventLimits limits;
  bool csv = false;
};

std::string TakeOptions(OptionList& options, Options& o) {
  std::string problem = TakePart(options, o.part);
  const std::string limitsProblem = TakeLimits(options, true, o.limits);
  if (problem.empty()) problem = limitsProblem;
  o.csv = options.TakeFlag("--csv");
  return problem;
}

int ListEvents(const Options& o, Invocation& cli) {
  const CDTDoc& doc = cli.doc;
  AnalysisSeries series;
  FilePart part = FilePart::Store;
  if (const std::string problem = ChooseRmsSeries(doc, cli.dataPath, o.part, false, series, &part);
      !problem.empty()) {
    return cli.Fail(problem);
  }
  const std::vector<Event> level = FindLevelEvents(series, o.limits);
  const std::vector<Event> events = MergeByStart(
      level, part == FilePart::Store ? TransientEvents(doc, doc.scaling) : std::vector<Event>{});
  // The band summary reads every point: only the table shows it.
  PrintEvents(events, o.csv ? std::vector<BandShare>{} : SummariseBand(series, o.limits, level),
              o.limits, o.csv);
  return 0;
}

int RunEvents(const std::vector<std::string>& args) {
  Options o;
  std::string settingsProblem;
  o.limits = LoadSettings(SettingsFilePath(), &settingsProblem).eventLimits;
  return RunSubcommand(
      Subcommand(kCommand, kHelp)
          .Options([&](OptionList& options) { return TakeOptions(options, o); })
          .ReadsDataFile()
          .ScalesValues()
          .Check([&] { return EventLimitsProblem(o.limits); })
          .Body([&](Invocation& cli) {
            if (!settingsProblem.empty()) {
              cli.Note(
                  "warning: the settings could not be read, the default event limits are used: " +
                  settingsProblem);
            }
            return ListEvents(o, cli);
          }),
      args);
}

const CliRegistrar kRegistrar{kCommand, "dips, swells, interruptions and transients of a data file",
                              RunEvents};

}  // namespace
}  // namespace acv::cli
