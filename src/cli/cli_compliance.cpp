// acvlogger-cli compliance: the weekly verdict on a data file's supply
// voltage, with its dips and swells counted by depth and duration.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "analysis/Compliance.h"
#include "analysis/SurveyText.h"
#include "cli/CliCommand.h"
#include "cli/CliOptions.h"
#include "cli/CliSeriesPart.h"
#include "data/CDTDoc.h"
#include "data/Settings.h"
#include "platform/AppPaths.h"

namespace acv::cli {
namespace {

constexpr const char* kCommand = "compliance";
constexpr const char* kHelp =
    "usage: acvlogger-cli compliance FILE.stdata [--part store|realtime]\n"
    "           [--channel 1|2] [--nominal V] [--dip PCT] [--swell PCT]\n"
    "           [--interruption PCT] [--hysteresis PCT] [--band PCT] [--json]\n\n"
    "Judges a supply voltage week by week as EN 50160 does. Weeks run from\n"
    "Monday 00:00 local time. In each week the 10-minute values (the RMS of\n"
    "each complete 10-minute interval of the clock) are counted: n, those\n"
    "without a dip, swell or interruption of at most 60 s in their interval\n"
    "(the flagged ones are counted apart); n1, those outside Un ± band %; n2,\n"
    "those outside Un - 15 % .. Un + 10 %. A week passes when n > 0, n1 is at\n"
    "most 5 % of n and n2 is 0; it has no data when n is 0. The coverage is\n"
    "the share of the week's 1,008 intervals that have a value; a recording\n"
    "interval that does not divide 600 s gives no 10-minute values at all.\n\n"
    "Then the dips (by residual voltage) and swells (by highest voltage), in %\n"
    "of Un, counted by duration in the standard's table. Every interruption\n"
    "lies inside a dip and is counted there, in the row below 5 %. An RMS\n"
    "series of the logger cannot see events shorter than its interval: they\n"
    "fall into the longer columns.\n\n"
    "  --part PART    store or realtime; default: the STORE series when the\n"
    "                 file holds one\n"
    "  --channel N    the channel to judge, 1 or 2; it must be in V (default:\n"
    "                 the first channel in V)\n"
    "  --nominal V, --dip PCT, --swell PCT, --interruption PCT,\n"
    "  --hysteresis PCT, --band PCT\n"
    "                 the event limits (see acvlogger-cli events --help)\n"
    "  --json         one JSON object: channel, nominal, band_pct, weeks (start,\n"
    "                 end, n, n1, n2, flagged, expected, coverage, verdict) and\n"
    "                 events (rows, columns, counts)\n\n"
    "Exit status: 0 printed; 1 the file cannot be read, holds no such series\n"
    "or no channel in V; 2 a usage error.\n";

struct Options {
  std::optional<FilePart> part;
  std::optional<int> channel;
  EventLimits limits;
  bool json = false;
};

std::string TakeOptions(OptionList& options, Options& o) {
  std::string problem = TakePart(options, o.part);
  if (const std::optional<std::string> text = options.Take("--channel", "1 or 2")) {
    if (*text == "1" || *text == "2") {
      o.channel = *text == "1" ? 0 : 1;
    } else if (problem.empty()) {
      problem = "--channel needs 1 or 2, not '" + *text + "'";
    }
  }
  const std::string limitsProblem = TakeLimits(options, false, o.limits);
  if (problem.empty()) problem = limitsProblem;
  o.json = options.TakeFlag("--json");
  return problem;
}

int PrintCompliance(const Options& o, Invocation& cli) {
  AnalysisSeries series;
  if (const std::string problem = ChooseRmsSeries(cli.doc, cli.dataPath, o.part, true, series);
      !problem.empty()) {
    return cli.Fail(problem);
  }
  const auto isVolts = [&](int c) {
    const SeriesChannel& ch = series.channels[static_cast<std::size_t>(c)];
    return ch.present && ch.unit == "V";
  };
  const int channel = o.channel.value_or(isVolts(0) ? 0 : 1);
  if (!isVolts(channel)) {
    return cli.Fail(o.channel ? std::string(ChannelName(channel)) + " is not a channel in V"
                              : "the series has no channel in V");
  }
  const std::vector<Event> events = FindLevelEvents(series, o.limits);
  ComplianceReport report;
  report.channel = channel;
  report.limits = o.limits;
  report.weeks = JudgeWeeks(TenMinuteValues(series, channel, events), o.limits, series.PointTime(0),
                            series.PointTime(series.count));
  report.events = CountEvents(events, channel, o.limits);
  if (o.json) {
    std::printf("%s\n", ComplianceJson(report).c_str());
    return 0;
  }
  for (const std::string& line : ComplianceLines(report)) std::printf("%s\n", line.c_str());
  return 0;
}

int RunCompliance(const std::vector<std::string>& args) {
  Options o;
  o.limits = LoadSettings(SettingsFilePath()).eventLimits;
  return RunSubcommand(Subcommand(kCommand, kHelp)
                           .Options([&](OptionList& options) { return TakeOptions(options, o); })
                           .ReadsDataFile()
                           .ScalesValues()
                           .Check([&] { return EventLimitsProblem(o.limits); })
                           .Body([&](Invocation& cli) { return PrintCompliance(o, cli); }),
                       args);
}

const CliRegistrar kRegistrar{kCommand, "the weekly EN 50160 verdict on a data file's voltage",
                              RunCompliance};

}  // namespace
}  // namespace acv::cli
