// acvlogger-cli library compliance and library profile: the weekly verdict
// and the daily profile of a site's timeline, in the forms compliance and
// profile print for a file.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "analysis/Compliance.h"
#include "analysis/SurveyText.h"
#include "cli/CliLibrary.h"
#include "cli/CliSeriesPart.h"
#include "data/Settings.h"
#include "library/core/TimelineBand.h"
#include "platform/AppPaths.h"

namespace acv::cli {
namespace {

constexpr const char* kComplianceHelp =
    "usage: acvlogger-cli library compliance --site NAME [--kind store|realtime]\n"
    "           [--from TIME] [--to TIME] [--channel 1|2] [--nominal V] [--dip PCT]\n"
    "           [--swell PCT] [--interruption PCT] [--hysteresis PCT] [--band PCT]\n"
    "           [--json] [--db URL]\n\n"
    "The weekly EN 50160 verdict and the table of dips and swells of the site's\n"
    "timeline over the range, in the forms of acvlogger-cli compliance (see its\n"
    "help). A 10-minute interval a gap cuts has no value, and no event runs\n"
    "across a gap. Values are shown with the site's channel scaling; the\n"
    "limits are the site's nominal voltage and the settings' Event Limits,\n"
    "which the options override.\n\n"
    "  --site NAME   the site\n"
    "  --kind KIND   store (default) or realtime\n"
    "  --from TIME, --to TIME\n"
    "                the range, local time, 2026-03-01T10:00:00 (default: all)\n"
    "  --channel N   the channel to judge, 1 or 2, in V (default: the first in V)\n"
    "  --json        the JSON object of acvlogger-cli compliance --json\n"
    "  --db URL      the library (see acvlogger-cli library --help)\n\n"
    "Exit status: 0 printed; 1 no such site, no points in the range, no such\n"
    "channel in V, or the library failed; 2 a usage error.\n";

constexpr const char* kProfileHelp =
    "usage: acvlogger-cli library profile --site NAME [--kind store|realtime]\n"
    "           [--from TIME] [--to TIME] [--csv] [--db URL]\n"
    "   or: acvlogger-cli profile --site NAME [the same options]\n\n"
    "The daily profile of the site's timeline over the range, as\n"
    "acvlogger-cli profile prints it for a file: for each 10-minute slot of\n"
    "the day (local time) the minimum, mean and maximum of the points of\n"
    "every day in it. Values are shown with the site's channel scaling.\n\n"
    "  --site NAME   the site\n"
    "  --kind KIND   store (default) or realtime\n"
    "  --from TIME, --to TIME\n"
    "                the range, local time, 2026-03-01T10:00:00 (default: all)\n"
    "  --csv         with the header slot,ch1_min,ch1_mean,ch1_max,ch2_min,\n"
    "                ch2_mean,ch2_max\n"
    "  --db URL      the library (see acvlogger-cli library --help)\n\n"
    "Exit status: 0 printed; 1 no such site, no points in the range, a channel\n"
    "in two units over it, or the library failed; 2 a usage error.\n";

struct Options : SiteRangeOptions {
  EventLimits limits;
  std::optional<double> nominal;
  std::optional<int> channel;
  bool json = false, csv = false;
};

std::string TakeComplianceOptions(OptionList& options, Options& o) {
  std::string problem = TakeSiteRangeOptions(options, o);
  o.json = options.TakeFlag("--json");
  if (const std::optional<std::string> text = options.Take("--channel", "1 or 2")) {
    if (*text == "1" || *text == "2") {
      o.channel = *text == "1" ? 0 : 1;
    } else if (problem.empty()) {
      problem = "--channel needs 1 or 2, not '" + *text + "'";
    }
  }
  const std::string nominal = TakeNumber(options, "--nominal", o.nominal);
  if (o.nominal) o.limits.nominal = *o.nominal;
  const std::string limits = TakeLimits(options, false, o.limits);
  for (const std::string* p : {&nominal, &limits}) {
    if (problem.empty()) problem = *p;
  }
  return problem;
}

// The site's pieces of the range, read with its scaling.
std::string ReadRange(const Options& o, SiteRange& r, RangeChunks how) {
  if (std::string problem = ReadSiteRange(o, r, how); !problem.empty()) return problem;
  return library::MixedUnitsProblem(r.pieces);
}

int PrintCompliance(Options o, Invocation& cli) {
  SiteRange r;
  if (const std::string problem = ReadRange(o, r, RangeChunks::Rollups); !problem.empty())
    return cli.Fail(problem);
  if (!o.nominal) o.limits.nominal = r.site.nominal;
  if (const std::string problem = EventLimitsProblem(o.limits); !problem.empty())
    return cli.Fail(problem);
  const auto isVolts = [&](int c) {
    for (const library::TimelinePiece& p : r.pieces) {
      if (p.chunk->present[c] && p.chunk->units[c] == "V") return true;
    }
    return false;
  };
  const int channel = o.channel.value_or(isVolts(0) ? 0 : 1);
  if (!isVolts(channel)) {
    return cli.Fail(o.channel ? std::string(ChannelName(channel)) + " is not a channel in V"
                              : "the site's series has no channel in V");
  }
  ComplianceReport report;
  for (ComplianceReport& judged : library::TimelineCompliance(BandSegments(r, o.range, o.limits),
                                                              r.read, r.factors, o.limits)) {
    if (judged.channel == channel) report = std::move(judged);
  }
  if (o.json) {
    std::printf("%s\n", ComplianceJson(report).c_str());
    return 0;
  }
  for (const std::string& line : ComplianceLines(report)) std::printf("%s\n", line.c_str());
  return 0;
}

// A slot's figures over two sets of points.
void JoinSlot(ProfileSlot& into, const ProfileSlot& more) {
  if (more.points == 0) return;
  if (into.points == 0) {
    into = more;
    return;
  }
  const double n1 = static_cast<double>(into.points), n2 = static_cast<double>(more.points);
  into.mean = (into.mean * n1 + more.mean * n2) / (n1 + n2);
  into.min = std::min(into.min, more.min);
  into.max = std::max(into.max, more.max);
  into.points += more.points;
}

int PrintProfile(const Options& o, Invocation& cli) {
  SiteRange r;
  if (const std::string problem = ReadRange(o, r, RangeChunks::Each); !problem.empty())
    return cli.Fail(problem);
  std::array<DailyProfile, 2> profiles{};
  std::array<const DailyProfile*, 2> shown{};
  for (const auto& segment : library::SplitAtGaps(r.pieces)) {
    const StoreFamily data = library::SegmentData(segment, r.read, r.factors);
    const AnalysisSeries series = StoreRmsSeries(data, ChannelScaling{});  // factors applied
    for (int c = 0; c < 2; ++c) {
      if (!series.channels[static_cast<std::size_t>(c)].present) continue;
      const DailyProfile part = DailyProfileOf(series, c, 0, series.count - 1);
      DailyProfile& total = profiles[static_cast<std::size_t>(c)];
      for (int s = 0; s < kProfileSlots; ++s) {
        JoinSlot(total[static_cast<std::size_t>(s)], part[static_cast<std::size_t>(s)]);
      }
      shown[static_cast<std::size_t>(c)] = &total;
    }
  }
  if (o.csv) std::printf("%s\n", kProfileCsvHeader);
  for (const std::string& line : ProfileCsvLines(shown)) std::printf("%s\n", line.c_str());
  return 0;
}

int RunCompliance(const std::vector<std::string>& args) {
  Options o;
  o.limits = LoadSettings(SettingsFilePath()).eventLimits;
  return RunSubcommand(
      Subcommand("library compliance", kComplianceHelp)
          .Options([&](OptionList& options) { return TakeComplianceOptions(options, o); })
          .Body([&](Invocation& cli) { return PrintCompliance(o, cli); }),
      args);
}

int RunProfile(const std::vector<std::string>& args) {
  Options o;
  return RunSubcommand(Subcommand("library profile", kProfileHelp)
                           .Options([&](OptionList& options) {
                             std::string problem = TakeSiteRangeOptions(options, o);
                             o.csv = options.TakeFlag("--csv");
                             return problem;
                           })
                           .Body([&](Invocation& cli) { return PrintProfile(o, cli); }),
                       args);
}

const LibraryCommandRegistrar kCompliance{{"compliance",
                                           "the weekly EN 50160 verdict on a site's voltage",
                                           kComplianceHelp, RunCompliance}};
const LibraryCommandRegistrar kProfile{
    {"profile", "the daily profile of a site over a time range", kProfileHelp, RunProfile}};

}  // namespace
}  // namespace acv::cli
