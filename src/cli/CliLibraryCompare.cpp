// acvlogger-cli library compare: two spans of a site's timeline side by
// side, before and after a change at the site, with B - A.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "analysis/SpanComparison.h"
#include "cli/CliLibrary.h"
#include "library/LibraryCompare.h"

namespace acv::cli {
namespace {

constexpr const char* kCompareHelp =
    "usage: acvlogger-cli library compare --site NAME --a FROM..TO --b FROM..TO\n"
    "           [--kind store|realtime] [--json] [--db URL]\n\n"
    "Two spans of the site's timeline side by side, say the weeks before and\n"
    "after a capacitor bank went in: each span's statistics (those of\n"
    "acvlogger-cli library stats), its percentiles and its events by kind,\n"
    "and the differences B - A of each channel's mean, minimum, maximum and\n"
    "CP95, of the mean apparent power, the energy and the event counts.\n"
    "Values are shown with the site's channel scaling; events are found with\n"
    "the site's nominal voltage and the settings' Event Limits.\n\n"
    "  --site NAME   the site\n"
    "  --a FROM..TO, --b FROM..TO\n"
    "                the spans, local times, both ends included, e.g.\n"
    "                2026-03-02T00:00:00..2026-03-08T23:59:59\n"
    "  --kind KIND   store (default) or realtime\n"
    "  --json        {\"a\":{...},\"b\":{...},\"difference\":{...}}: a and b as\n"
    "                acvlogger-cli stats --json prints a span, difference per\n"
    "                channel mean, min, max and p95, then mean_va, energy_vah\n"
    "                and the events by kind\n"
    "  --db URL      the library (see acvlogger-cli library --help)\n\n"
    "Exit status: 0 printed; 1 no such site, a span without points, a channel\n"
    "in two units over a span, or the library failed; 2 a usage error (a span\n"
    "that is not FROM..TO, or FROM after TO).\n";

struct Options {
  std::optional<std::string> db, site;
  library::SeriesKind kind = library::SeriesKind::Store;
  std::array<library::TimeRange, 2> spans;
  std::array<std::string, 2> spanTexts;
  bool json = false;
};

// "FROM..TO" into a range: "" or the usage problem.
std::string TakeSpan(OptionList& options, const char* name, library::TimeRange& range,
                     std::string& text) {
  const std::optional<std::string> value = options.Take(name, "FROM..TO");
  if (!value) return std::string(name) + " FROM..TO is needed";
  text = *value;
  const std::size_t dots = value->find("..");
  const std::optional<TimeStamp> from =
      dots == std::string::npos ? std::nullopt : ParseIsoTime(value->substr(0, dots));
  const std::optional<TimeStamp> to =
      dots == std::string::npos ? std::nullopt : ParseIsoTime(value->substr(dots + 2));
  if (!from || !to) {
    return std::string(name) +
           " needs FROM..TO, two local times such as "
           "2026-03-02T00:00:00..2026-03-08T23:59:59, not '" +
           *value + "'";
  }
  if (*from > *to) return std::string(name) + " runs backwards: " + *value + " (FROM after TO)";
  range = {from, to};
  return {};
}

std::string TakeOptions(OptionList& options, Options& o) {
  o.db = options.Take("--db", "a library URL");
  o.json = options.TakeFlag("--json");
  std::string problem = TakeSite(options, o.site, true);
  const std::string kind = TakeKind(options, o.kind);
  const std::string a = TakeSpan(options, "--a", o.spans[0], o.spanTexts[0]);
  const std::string b = TakeSpan(options, "--b", o.spans[1], o.spanTexts[1]);
  for (const std::string* p : {&kind, &a, &b}) {
    if (problem.empty()) problem = *p;
  }
  return problem;
}

// One span's figures; "" or why it has none.
std::string SpanFigures(library::LibraryStore& store, const library::SiteRecord& site,
                        const Options& o, int which, const EventLimits& limits, ComparedSpan& out) {
  const std::string name = which == 0 ? "A" : "B";
  std::string mixed;
  switch (library::CompareFigures(store, site, o.kind, o.spans[static_cast<std::size_t>(which)],
                                  limits, out, &mixed)) {
    case library::SpanFigures::NoPoints:
      return "span " + name + " (" + o.spanTexts[static_cast<std::size_t>(which)] +
             ") holds no point of site '" + site.name + "'";
    case library::SpanFigures::MixedUnits:
      return "span " + name + ": " + mixed;
    case library::SpanFigures::Found:
      break;
  }
  return {};
}

int Compare(const Options& o, Invocation& cli) {
  OpenedLibrary library;
  if (const std::string problem = OpenLibrary(o.db.value_or(""), library); !problem.empty())
    return cli.Fail(problem);
  library::SiteRecord site;
  if (const std::string problem = FindSite(*library, *o.site, site); !problem.empty())
    return cli.Fail(problem);
  FollowStoredLimits(*library, site.id);
  EventLimits limits = library->DefaultLimits();
  limits.nominal = site.nominal;
  if (const std::string problem = EventLimitsProblem(limits); !problem.empty())
    return cli.Fail(problem);
  std::array<ComparedSpan, 2> spans;
  for (int which = 0; which < 2; ++which) {
    const std::string problem =
        SpanFigures(*library, site, o, which, limits, spans[static_cast<std::size_t>(which)]);
    if (!problem.empty()) return cli.Fail(problem);
  }
  const SpanComparison comparison = CompareSpans(std::move(spans[0]), std::move(spans[1]));
  if (o.json) {
    std::printf("%s\n", ComparisonJson(comparison).c_str());
    return 0;
  }
  std::printf("Site:        %s\n", site.name.c_str());
  std::printf("Part:        %s\n\n",
              o.kind == library::SeriesKind::Store ? "STORE RMS" : "REAL TIME RMS");
  for (const std::string& line : ComparisonLines(comparison, kCsvTimeFormat))
    std::printf("%s\n", line.c_str());
  return 0;
}

int RunCompare(const std::vector<std::string>& args) {
  Options o;
  return RunSubcommand(Subcommand("library compare", kCompareHelp)
                           .Options([&](OptionList& options) { return TakeOptions(options, o); })
                           .Body([&](Invocation& cli) { return Compare(o, cli); }),
                       args);
}

const LibraryCommandRegistrar kCompare{
    {"compare", "two spans of a site side by side, with B - A", kCompareHelp, RunCompare}};

}  // namespace
}  // namespace acv::cli
