// acvlogger-cli stats: the statistics of a span of a data file's RMS series.
#include <array>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "analysis/AnalysisText.h"
#include "analysis/BandSummary.h"
#include "analysis/Distribution.h"
#include "analysis/SpanStatistics.h"
#include "cli/CliCommand.h"
#include "cli/CliOptions.h"
#include "cli/CliSeriesPart.h"
#include "data/CDTDoc.h"
#include "data/Settings.h"
#include "platform/AppPaths.h"

namespace acv::cli {
namespace {

constexpr const char* kCommand = "stats";
constexpr const char* kHelp =
    "usage: acvlogger-cli stats FILE.stdata [--part store|realtime] [--from P]\n"
    "           [--to P] [--nominal V] [--dip PCT] [--swell PCT]\n"
    "           [--interruption PCT] [--hysteresis PCT] [--band PCT] [--json]\n\n"
    "Prints the statistics of a span of an RMS series: per channel\n"
    "the minimum and the maximum with the first point where each occurs, the\n"
    "mean and the population standard deviation; when one channel is in V and\n"
    "the other in A, the mean apparent power (the mean of V x A per point) and\n"
    "the apparent energy in VAh (the sum of V x A x interval / 3600). Values\n"
    "that read as zero show as LO, as the program shows them. Damaged points\n"
    "(not numbers) are left out of every figure and counted.\n\n"
    "For each channel in V, the band summary of the span, as events prints it:\n"
    "the points within Un ± band %, and the 10-minute values (the RMS of each\n"
    "complete 10-minute interval of the clock, when the interval divides\n"
    "600 s), those holding a dip, swell or interruption of at most 60 s\n"
    "flagged. The limits come from the program's settings (Event Limits); the\n"
    "options override them, as for events.\n\n"
    "  --part PART   store (the STORE RMS series) or realtime (the RMS of a\n"
    "                real-time run); default: the STORE series when the file\n"
    "                holds one\n"
    "  --from P      the first point, counted from 1 (default 1)\n"
    "  --to P        the last point (default: the last of the series)\n"
    "  --nominal V, --dip PCT, --swell PCT, --interruption PCT,\n"
    "  --hysteresis PCT, --band PCT\n"
    "                the event limits (see acvlogger-cli events --help)\n"
    "  --json        one JSON object: points, first, last, start, end (local\n"
    "                time, 2026-03-01T10:00:00; end is the time of the point\n"
    "                after the last), ch1 and ch2 with unit, min, min_point,\n"
    "                max, max_point (first points), mean, stddev, left_out\n"
    "                (damaged points), percentiles p1, p5, p50, p95, p99 (the\n"
    "                nearest-rank values of the span's points) and, for a\n"
    "                channel in V, band: low,\n"
    "                high, points, points_within, ten_min_values (complete\n"
    "                intervals, flagged included), ten_min_flagged,\n"
    "                ten_min_within (unflagged ones within the band); and\n"
    "                mean_va, energy_vah and energy_left_out for a V/A pair\n\n"
    "Exit status: 0 printed; 1 the file cannot be read or holds no such\n"
    "series; 2 a usage error (also a point outside the series, --from after\n"
    "--to, a limit that is not a number, a band outside 1 .. 50, or\n"
    "thresholds out of order).\n";

struct Options {
  std::optional<FilePart> part;
  std::optional<std::int64_t> from, to;
  EventLimits limits;
  bool json = false;
};

std::string TakePoint(OptionList& options, const std::string& name,
                      std::optional<std::int64_t>& point) {
  const std::optional<std::string> text = options.Take(name, "a point number");
  if (!text) return {};
  const std::optional<int> value = ParseInt(*text);
  if (!value || *value < 1) return name + " needs a point number from 1, not '" + *text + "'";
  point = *value;
  return {};
}

std::string TakeOptions(OptionList& options, Options& o) {
  std::string problem = TakePart(options, o.part);
  if (problem.empty()) problem = TakePoint(options, "--from", o.from);
  if (problem.empty()) problem = TakePoint(options, "--to", o.to);
  const std::string limitsProblem = TakeLimits(options, false, o.limits);
  if (problem.empty()) problem = limitsProblem;
  o.json = options.TakeFlag("--json");
  return problem;
}

std::string CheckOptions(const Options& o) {
  if (o.from && o.to && *o.from > *o.to) return "--from is after --to";
  return {};
}

int PrintStats(const Options& o, Invocation& cli) {
  AnalysisSeries series;
  FilePart part = FilePart::Store;
  if (const std::string problem =
          ChooseRmsSeries(cli.doc, cli.dataPath, o.part, true, series, &part);
      !problem.empty()) {
    return cli.Fail(problem);
  }
  const std::int64_t first = o.from.value_or(1), last = o.to.value_or(series.count);
  if (first > series.count || last > series.count) {
    return cli.Usage("the series has points 1 .. " + std::to_string(series.count) + ", not " +
                     std::to_string(std::max(first, last)));
  }
  if (first > last) return cli.Usage("--from is after the last point " + std::to_string(last));
  // One span: a plain scan answers it without preparing the whole series.
  const SpanStatistics stats = ScanSpan(series, first - 1, last - 1);
  const std::vector<BandShare> band =
      SummariseBand(SubSeries(series, first - 1, last - 1), o.limits);
  if (o.json) {
    std::array<Percentiles, 2> percentiles{};
    for (int c = 0; c < 2; ++c) {
      if (stats.channels[c].present) percentiles[c] = PercentilesOf(series, c, first - 1, last - 1);
    }
    std::printf("%s\n", StatisticsJson(stats, band, percentiles).c_str());
    return 0;
  }
  std::printf("File:        %s\n", cli.dataPath.c_str());
  std::printf("Part:        %s\n", part == FilePart::Store ? "STORE RMS" : "REAL TIME RMS");
  for (const std::string& line : StatisticsLines(stats, kCsvTimeFormat)) {
    std::printf("%s\n", line.c_str());
  }
  if (!band.empty()) {
    std::printf("\n%s\n", BandHeading(o.limits).c_str());
    for (const BandShare& share : band) std::printf("%s\n", BandLine(share).c_str());
  }
  return 0;
}

int RunStats(const std::vector<std::string>& args) {
  Options o;
  o.limits = LoadSettings(SettingsFilePath()).eventLimits;
  return RunSubcommand(Subcommand(kCommand, kHelp)
                           .Options([&](OptionList& options) { return TakeOptions(options, o); })
                           .ReadsDataFile()
                           .ScalesValues()
                           .Check([&] { return CheckOptions(o); })
                           .Body([&](Invocation& cli) { return PrintStats(o, cli); }),
                       args);
}

const CliRegistrar kRegistrar{kCommand, "statistics of a span of a data file's RMS series",
                              RunStats};

}  // namespace
}  // namespace acv::cli
