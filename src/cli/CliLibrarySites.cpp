// acvlogger-cli library sites, site and list: what the library holds.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cli/CliLibrary.h"
#include "cli/CliScaling.h"
#include "cli/CliSeriesPart.h"
#include "data/Export.h"
#include "data/NumberText.h"

namespace acv::cli {
namespace {

constexpr const char* kSitesHelp =
    "usage: acvlogger-cli library sites [--csv] [--db URL]\n\n"
    "Lists the sites: the number of measurements, the first point, the time\n"
    "just after the last point, and the points stored (duplicates once).\n\n"
    "  --csv         CSV with the columns site,measurements,first,last,points\n"
    "                (local time, 2026-03-01T10:00:00)\n"
    "  --db URL      the library (see acvlogger-cli library --help)\n\n"
    "Exit status: 0 listed; 1 the library failed; 2 a usage error.\n";

constexpr const char* kSiteHelp =
    "usage: acvlogger-cli library site NAME [--nominal V] [--frequency HZ]\n"
    "           [--ratio-ch1 R] [--ratio-ch2 R] [--scale-ch1 U] [--scale-ch2 U]\n"
    "           [--note TEXT] [--db URL]\n\n"
    "Creates the site or changes it; without options prints it. The events\n"
    "of its measurements are found again when the nominal voltage or the\n"
    "scaling changes. Stored points always stay as the logger sent them; the\n"
    "scaling applies to the values library stats, events and timeline show.\n\n"
    "  --nominal V   the nominal voltage Un in primary volts (default: the\n"
    "                settings' Event Limits)\n"
    "  --frequency HZ\n"
    "                the line frequency, 50 or 60 (default 50)\n"
    "  --ratio-ch1 R, --ratio-ch2 R, --scale-ch1 U, --scale-ch2 U\n"
    "                the channel scaling (see acvlogger-cli comtrade --help);\n"
    "                default 1\n"
    "  --note TEXT   notes on the site\n"
    "  --db URL      the library (see acvlogger-cli library --help)\n\n"
    "Exit status: 0 printed or saved; 1 no such site to print, or the library\n"
    "failed; 2 a usage error (also a value that is not a number or out of\n"
    "range).\n";

constexpr const char* kListHelp =
    "usage: acvlogger-cli library list [--site NAME] [--csv] [--db URL]\n\n"
    "Lists the measurements, of one site or of all, in the order they were\n"
    "added.\n\n"
    "  --site NAME   only this site's\n"
    "  --csv         CSV with the columns id,site,kind,start,end,points,\n"
    "                duplicates,interval_s,ch1_unit,ch2_unit,tr_records,source,\n"
    "                sha256 (local time; end is the time just after the last\n"
    "                point; points counts the file's points, duplicates those\n"
    "                the library held already)\n"
    "  --db URL      the library (see acvlogger-cli library --help)\n\n"
    "Exit status: 0 listed; 1 the library failed; 2 a usage error.\n";

std::string TimeOrEmpty(const std::optional<TimeStamp>& t) {
  return t ? FormatTime(*t, kCsvTimeFormat) : "";
}

// A CSV field: quoted when it holds a comma, a quote or a line end.
std::string Field(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (const char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

int RunSites(const std::vector<std::string>& args) {
  std::optional<std::string> db;
  bool csv = false;
  return RunSubcommand(
      Subcommand("library sites", kSitesHelp)
          .Options([&](OptionList& options) {
            db = options.Take("--db", "a library URL");
            csv = options.TakeFlag("--csv");
            return std::string();
          })
          .Body([&](Invocation& cli) {
            OpenedLibrary library;
            if (const std::string problem = OpenLibrary(db.value_or(""), library); !problem.empty())
              return cli.Fail(problem);
            const std::vector<library::SiteListing> sites = library->Sites();
            if (csv) std::printf("site,measurements,first,last,points\n");
            if (!csv && sites.empty()) std::printf("No sites.\n");
            for (const library::SiteListing& s : sites) {
              if (csv) {
                std::printf("%s,%lld,%s,%s,%lld\n", Field(s.name).c_str(),
                            static_cast<long long>(s.measurements), TimeOrEmpty(s.first).c_str(),
                            TimeOrEmpty(s.last).c_str(), static_cast<long long>(s.points));
              } else {
                std::printf("%-24s %4lld measurements  %19s .. %19s  %lld points\n", s.name.c_str(),
                            static_cast<long long>(s.measurements), TimeOrEmpty(s.first).c_str(),
                            TimeOrEmpty(s.last).c_str(), static_cast<long long>(s.points));
              }
            }
            return 0;
          }),
      args);
}

struct SiteChanges {
  std::optional<double> nominal, frequency;
  std::optional<std::string> note;
  ChannelScaling scaling{};
  bool scalingGiven = false;
};

std::string TakeSiteChanges(OptionList& options, SiteChanges& c) {
  std::string problem = TakeNumber(options, "--nominal", c.nominal);
  const std::string frequencyProblem = TakeNumber(options, "--frequency", c.frequency);
  if (problem.empty()) problem = frequencyProblem;
  c.note = options.Take("--note", "a text");
  // Zero marks a value not given: every given one lies above it.
  ChannelScaling marker{};
  marker[0].ratio = marker[1].ratio = marker[0].sampleScale = marker[1].sampleScale = 0.0;
  ChannelScaling taken = marker;
  const std::string scalingProblem = TakeScalingOptions(options, taken);
  if (problem.empty()) problem = scalingProblem;
  c.scalingGiven = taken != marker;
  c.scaling = taken;
  if (problem.empty() && c.nominal && !(*c.nominal > 0.0))
    problem = "--nominal needs a voltage above 0";
  if (problem.empty() && c.frequency && *c.frequency != 50.0 && *c.frequency != 60.0)
    problem = "--frequency must be 50 or 60";
  return problem;
}

void PrintSite(const library::SiteRecord& s) {
  std::printf("Site:        %s\n", s.name.c_str());
  std::printf("Nominal:     %s V\n", FormatNumber("%g", s.nominal).c_str());
  std::printf("Frequency:   %s Hz\n", FormatNumber("%g", s.frequency).c_str());
  for (int c = 0; c < 2; ++c) {
    std::printf("CH%d:         ratio %s, sample scale %s\n", c + 1,
                FormatNumber("%g", s.scaling[c].ratio).c_str(),
                FormatNumber("%g", s.scaling[c].sampleScale).c_str());
  }
  std::printf("Notes:       %s\n", s.notes.c_str());
}

int RunSite(const std::vector<std::string>& args) {
  std::optional<std::string> db;
  std::string name;
  SiteChanges changes;
  return RunSubcommand(
      Subcommand("library site", kSiteHelp)
          .Options([&](OptionList& options) {
            db = options.Take("--db", "a library URL");
            std::string problem = TakeSiteChanges(options, changes);
            const std::vector<std::string> words = options.TakeWords();
            if (problem.empty() && words.size() != 1) problem = "one site name is needed";
            if (words.size() == 1) name = words[0];
            if (problem.empty() && name.empty()) problem = "the site needs a name";
            return problem;
          })
          .Body([&](Invocation& cli) {
            OpenedLibrary library;
            if (const std::string problem = OpenLibrary(db.value_or(""), library); !problem.empty())
              return cli.Fail(problem);
            std::optional<library::SiteRecord> site = library->Site(name);
            const bool changing =
                changes.nominal || changes.frequency || changes.note || changes.scalingGiven;
            if (!changing) {
              if (!site) return cli.Fail("the library has no site '" + name + "'");
              PrintSite(*site);
              return 0;
            }
            library::SiteRecord s = site.value_or(library::SiteRecord{});
            if (!site) {
              s.name = name;
              s.nominal = library->DefaultLimits().nominal;
            }
            if (changes.nominal) s.nominal = *changes.nominal;
            if (changes.frequency) s.frequency = *changes.frequency;
            if (changes.note) s.notes = *changes.note;
            for (int c = 0; c < 2; ++c) {
              if (changes.scaling[c].ratio > 0.0) s.scaling[c].ratio = changes.scaling[c].ratio;
              if (changes.scaling[c].sampleScale > 0.0)
                s.scaling[c].sampleScale = changes.scaling[c].sampleScale;
            }
            library->SaveSite(s);
            PrintSite(s);
            return 0;
          }),
      args);
}

int RunList(const std::vector<std::string>& args) {
  std::optional<std::string> db, site;
  bool csv = false;
  return RunSubcommand(
      Subcommand("library list", kListHelp)
          .Options([&](OptionList& options) {
            db = options.Take("--db", "a library URL");
            csv = options.TakeFlag("--csv");
            return TakeSite(options, site, false);
          })
          .Body([&](Invocation& cli) {
            OpenedLibrary library;
            if (const std::string problem = OpenLibrary(db.value_or(""), library); !problem.empty())
              return cli.Fail(problem);
            const auto list = library->Measurements(site);
            if (csv) {
              std::printf(
                  "id,site,kind,start,end,points,duplicates,interval_s,ch1_unit,ch2_unit,"
                  "tr_records,source,sha256\n");
            } else if (list.empty()) {
              std::printf("No measurements.\n");
            }
            for (const library::MeasurementRecord& m : list) {
              const std::string start = FormatTime(m.start, kCsvTimeFormat);
              const std::string end = FormatTime(m.end, kCsvTimeFormat);
              if (csv) {
                std::printf("%lld,%s,%s,%s,%s,%lld,%lld,%lld,%s,%s,%lld,%s,%s\n",
                            static_cast<long long>(m.id), Field(m.site).c_str(),
                            library::KindName(m.kind), start.c_str(), end.c_str(),
                            static_cast<long long>(m.points), static_cast<long long>(m.duplicates),
                            static_cast<long long>(m.interval), m.units[0].c_str(),
                            m.units[1].c_str(), static_cast<long long>(m.trRecords),
                            Field(m.source).c_str(), m.sha256.c_str());
              } else {
                std::printf("%4lld  %-16s %-8s %s .. %s  %lld points (%lld duplicates)  %s\n",
                            static_cast<long long>(m.id), m.site.c_str(), library::KindName(m.kind),
                            start.c_str(), end.c_str(), static_cast<long long>(m.points),
                            static_cast<long long>(m.duplicates), m.source.c_str());
              }
            }
            return 0;
          }),
      args);
}

const LibraryCommandRegistrar kSites{{"sites", "list the sites", kSitesHelp, RunSites}};
const LibraryCommandRegistrar kSite{{"site", "create, change or print a site", kSiteHelp, RunSite}};
const LibraryCommandRegistrar kList{{"list", "list the measurements", kListHelp, RunList}};

}  // namespace
}  // namespace acv::cli
