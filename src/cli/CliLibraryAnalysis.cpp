// acvlogger-cli library stats, events and check: the analysis of a site's
// timeline, in the forms stats and events give for a file, and the check of
// the stored points.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "analysis/AnalysisText.h"
#include "cli/CliLibrary.h"
#include "cli/CliSeriesPart.h"
#include "data/Settings.h"
#include "library/core/TimelineBand.h"
#include "platform/AppPaths.h"

namespace acv::cli {
namespace {

constexpr const char* kStatsHelp =
    "usage: acvlogger-cli library stats --site NAME [--kind store|realtime]\n"
    "           [--from TIME] [--to TIME] [--nominal V] [--dip PCT] [--swell PCT]\n"
    "           [--interruption PCT] [--hysteresis PCT] [--band PCT] [--json]\n"
    "           [--db URL]\n\n"
    "The statistics of the site's timeline over the range, in the form\n"
    "acvlogger-cli stats prints for a file (see its help): points are numbered\n"
    "from 1 at the first point of the range, gaps are not counted as points,\n"
    "and the band summary's 10-minute values leave out the intervals a gap\n"
    "cuts. Whole chunks of the range are read from their summaries. Values\n"
    "are shown with the site's channel scaling; the limits are the site's\n"
    "nominal voltage and the settings' Event Limits, which the options override.\n\n"
    "  --site NAME   the site\n"
    "  --kind KIND   store (default) or realtime\n"
    "  --from TIME, --to TIME\n"
    "                the range, local time, 2026-03-01T10:00:00 (default: all)\n"
    "  --json        the JSON object of acvlogger-cli stats --json, with each\n"
    "                channel's percentiles (these read every point of the range)\n"
    "  --db URL      the library (see acvlogger-cli library --help)\n\n"
    "Exit status: 0 printed; 1 no such site, no points in the range, a channel\n"
    "in two units over it, or the library failed; 2 a usage error.\n";

constexpr const char* kEventsHelp =
    "usage: acvlogger-cli library events --site NAME [--kind store|realtime]\n"
    "           [--from TIME] [--to TIME] [--nominal V] [--dip PCT] [--swell PCT]\n"
    "           [--interruption PCT] [--hysteresis PCT] [--over-current A]\n"
    "           [--band PCT] [--csv] [--db URL]\n\n"
    "The events of the site's timeline over the range, in the forms of\n"
    "acvlogger-cli events (see its help), with the TR records of its STORE\n"
    "measurements as transients. No event runs across a gap: one that runs\n"
    "into a gap ends there and is marked open. Points are numbered from 1 at\n"
    "the first point of the range.\n\n"
    "  --site NAME   the site\n"
    "  --kind KIND   store (default) or realtime\n"
    "  --from TIME, --to TIME\n"
    "                the range, local time, 2026-03-01T10:00:00 (default: all)\n"
    "  --csv         the CSV of acvlogger-cli events --csv\n"
    "  --db URL      the library (see acvlogger-cli library --help)\n\n"
    "Exit status: 0 printed; 1 no such site, no points in the range, or the\n"
    "library failed; 2 a usage error.\n";

constexpr const char* kCheckHelp =
    "usage: acvlogger-cli library check [--db URL]\n\n"
    "Reads every stored point: recomputes every chunk's summaries and every\n"
    "measurement's counts, and prints each difference.\n\n"
    "  --db URL      the library (see acvlogger-cli library --help)\n\n"
    "Exit status: 0 all agree; 1 differences were found, or the library\n"
    "failed; 2 a usage error.\n";

struct Options : SiteRangeOptions {
  EventLimits limits;
  std::optional<double> nominal;  // given as an option, over the site's
  bool json = false, csv = false;
};

std::string TakeAnalysisOptions(OptionList& options, Options& o, bool events) {
  o.json = !events && options.TakeFlag("--json");
  o.csv = events && options.TakeFlag("--csv");
  std::string problem = TakeSiteRangeOptions(options, o);
  // The nominal is the site's unless given: read it apart from the others.
  const std::string nominal = TakeNumber(options, "--nominal", o.nominal);
  if (o.nominal) o.limits.nominal = *o.nominal;
  const std::string limits = TakeLimits(options, events, o.limits);
  for (const std::string* p : {&nominal, &limits}) {
    if (problem.empty()) problem = *p;
  }
  return problem;
}

// What both commands read: the site, its pieces in the range, the limits.
struct Timeline : SiteRange {
  EventLimits limits;
};

std::string ReadTimeline(const Options& o, Timeline& t, RangeChunks how) {
  if (std::string problem = ReadSiteRange(o, t, how); !problem.empty()) return problem;
  t.limits = o.limits;
  if (!o.nominal) t.limits.nominal = t.site.nominal;
  return EventLimitsProblem(t.limits);
}

int PrintStats(const Options& o, Invocation& cli) {
  Timeline t;
  if (const std::string problem = ReadTimeline(o, t, RangeChunks::Rollups); !problem.empty())
    return cli.Fail(problem);
  if (const std::string problem = library::MixedUnitsProblem(t.pieces); !problem.empty())
    return cli.Fail(problem);
  const SpanStatistics stats = library::TimelineStatistics(t.pieces, t.read, t.factors);
  const std::vector<BandShare> band =
      library::TimelineBand(BandSegments(t, o.range, t.limits), t.read, t.factors, t.limits);
  if (o.json) {
    // Exact percentiles need every point: only the JSON, which carries them,
    // pays for that read.
    const auto percentiles = library::TimelinePercentiles(t.pieces, t.read, t.factors);
    std::printf("%s\n", StatisticsJson(stats, band, percentiles).c_str());
    return 0;
  }
  std::printf("Site:        %s\n", t.site.name.c_str());
  std::printf("Part:        %s\n",
              o.kind == library::SeriesKind::Store ? "STORE RMS" : "REAL TIME RMS");
  for (const std::string& line : StatisticsLines(stats, kCsvTimeFormat))
    std::printf("%s\n", line.c_str());
  if (!band.empty()) {
    std::printf("\n%s\n", BandHeading(t.limits).c_str());
    for (const BandShare& share : band) std::printf("%s\n", BandLine(share).c_str());
  }
  return 0;
}

int ListSiteEvents(const Options& o, Invocation& cli) {
  Timeline t;
  if (const std::string problem = ReadTimeline(o, t, RangeChunks::Rollups); !problem.empty())
    return cli.Fail(problem);
  const std::vector<BandShare> band =
      library::TimelineBand(BandSegments(t, o.range, t.limits), t.read, t.factors, t.limits);
  const std::vector<Event> level = LevelEvents(t, o.range, t.limits);
  StoreFamily records;  // the TR records of the range, as stored
  if (o.kind == library::SeriesKind::Store) {
    const library::TimeRange range{t.pieces.front().Start(), t.pieces.back().End() - 1};
    for (const library::StoredTrRecord& r :
         t.library->TrRecords(t.site.id, o.range.from || o.range.to ? o.range : range)) {
      records.trWaves.insert(records.trWaves.end(), r.samples.begin(), r.samples.end());
      records.trTimes.push_back(r.trigger);
      records.trChannel.push_back(r.channel);
      records.trUnit.push_back(r.unit);
      ++records.trCount;
    }
  }
  const std::vector<Event> events = MergeByStart(level, TransientEvents(records, t.site.scaling));
  PrintEvents(events, band, t.limits, o.csv);
  return 0;
}

int RunAnalysis(const std::vector<std::string>& args, bool events) {
  Options o;
  o.limits = LoadSettings(SettingsFilePath()).eventLimits;
  return RunSubcommand(
      Subcommand(events ? "library events" : "library stats", events ? kEventsHelp : kStatsHelp)
          .Options([&](OptionList& options) { return TakeAnalysisOptions(options, o, events); })
          .Body([&](Invocation& cli) {
            return events ? ListSiteEvents(o, cli) : PrintStats(o, cli);
          }),
      args);
}

int RunCheck(const std::vector<std::string>& args) {
  std::optional<std::string> db;
  return RunSubcommand(
      Subcommand("library check", kCheckHelp)
          .Options([&](OptionList& options) {
            db = options.Take("--db", "a library URL");
            return std::string();
          })
          .Body([&](Invocation& cli) {
            OpenedLibrary library;
            if (const std::string problem = OpenLibrary(db.value_or(""), library); !problem.empty())
              return cli.Fail(problem);
            const std::vector<std::string> problems = library->Check();
            for (const std::string& p : problems) std::printf("%s\n", p.c_str());
            if (!problems.empty()) {
              return cli.Fail(std::to_string(problems.size()) +
                              (problems.size() == 1 ? " difference" : " differences") + " found");
            }
            std::printf("The library agrees with its stored points.\n");
            return 0;
          }),
      args);
}

const LibraryCommandRegistrar kStats{{"stats", "statistics of a site over a time range", kStatsHelp,
                                      [](const auto& args) { return RunAnalysis(args, false); }}};
const LibraryCommandRegistrar kEvents{{"events", "events of a site over a time range", kEventsHelp,
                                       [](const auto& args) { return RunAnalysis(args, true); }}};
const LibraryCommandRegistrar kCheck{
    {"check", "recompute every summary and count from the stored points", kCheckHelp, RunCheck}};

}  // namespace
}  // namespace acv::cli
