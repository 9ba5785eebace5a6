#include "cli/CliLibrary.h"

#include <cstdio>

#include "data/Settings.h"
#include "library/LibraryConnection.h"
#include "library/LibrarySql.h"
#include "library/core/LibraryLocation.h"
#include "library/core/TimelineBand.h"
#include "library/core/TimelineEvents.h"
#include "platform/AppPaths.h"

namespace acv::cli {

std::vector<LibraryCommand>& LibraryCommands() {
  static std::vector<LibraryCommand> commands;
  return commands;
}

std::string OpenLibrary(const std::string& dbOption, OpenedLibrary& out) {
  const AppSettings settings = LoadSettings(SettingsFilePath());
  std::string problem;
  const std::optional<LibraryLocation> location =
      ChooseLibraryForUser(dbOption, settings.library.url, &problem);
  if (!location) return problem;
  out.connection = LibraryConnection::Open(*location, &problem);
  if (!out.connection) return problem;
  out.store = library::LibraryStore::Attach(
      out.connection->Database(), out.connection->IsPostgres(), location->Display(), &problem);
  if (!out.store) return problem;
  out.store->SetEventLimits(settings.eventLimits);
  return {};
}

std::string TakeSite(OptionList& options, std::optional<std::string>& site, bool required) {
  site = options.Take("--site", "a site name");
  if (site && site->empty()) return "--site needs a site name";
  if (!site && required) return "--site NAME is needed";
  return {};
}

std::string TakeKind(OptionList& options, library::SeriesKind& kind) {
  const std::optional<std::string> text = options.Take("--kind", "store or realtime");
  if (!text) return {};
  if (*text == "store") {
    kind = library::SeriesKind::Store;
  } else if (*text == "realtime") {
    kind = library::SeriesKind::RealTime;
  } else {
    return "--kind must be store or realtime";
  }
  return {};
}

std::optional<TimeStamp> ParseIsoTime(const std::string& text) {
  LocalFields f;
  char tee = 0;
  int used = 0;
  if (text.size() != 19 ||
      std::sscanf(text.c_str(), "%4d-%2d-%2d%c%2d:%2d:%2d%n", &f.year, &f.month, &f.day, &tee,
                  &f.hour, &f.minute, &f.second, &used) != 7 ||
      used != 19 || tee != 'T') {
    return std::nullopt;
  }
  const TimeStamp t = MakeLocalTime(f);
  // A date that mktime would move (the 31st of April) is no date.
  const LocalFields back = BreakDownLocal(t);
  if (back.year != f.year || back.month != f.month || back.day != f.day || back.hour != f.hour ||
      back.minute != f.minute || back.second != f.second) {
    return std::nullopt;
  }
  return t;
}

std::string TakeRange(OptionList& options, library::TimeRange& range) {
  std::string problem;
  for (const auto& [name, bound] :
       {std::pair{"--from", &range.from}, std::pair{"--to", &range.to}}) {
    const std::optional<std::string> text = options.Take(name, "a time");
    if (!text) continue;
    *bound = ParseIsoTime(*text);
    if (!*bound && problem.empty()) {
      problem = std::string(name) + " needs a local time such as 2026-03-01T10:00:00, not '" +
                *text + "'";
    }
  }
  if (problem.empty() && range.from && range.to && *range.from > *range.to) {
    problem = "--from is after --to";
  }
  return problem;
}

void FollowStoredLimits(library::LibraryStore& store, std::int64_t siteId) {
  try {
    const int n = store.FollowLimits(siteId);
    if (n > 0) {
      std::fprintf(stderr, "events found again with the current limits for %d measurement%s\n", n,
                   n == 1 ? "" : "s");
    }
  } catch (const library::LibraryError& e) {
    std::fprintf(stderr, "the stored events could not be found again with the current limits: %s\n",
                 e.what());
  }
}

std::string FindSite(library::LibraryStore& store, const std::string& name,
                     library::SiteRecord& site) {
  std::optional<library::SiteRecord> found = store.Site(name);
  if (!found) return "the library has no site '" + name + "' (see acvlogger-cli library sites)";
  site = *found;
  return {};
}

std::string TakeSiteRangeOptions(OptionList& options, SiteRangeOptions& o) {
  o.db = options.Take("--db", "a library URL");
  std::string problem = TakeSite(options, o.site, true);
  const std::string kind = TakeKind(options, o.kind);
  const std::string range = TakeRange(options, o.range);
  for (const std::string* p : {&kind, &range}) {
    if (problem.empty()) problem = *p;
  }
  return problem;
}

std::string ReadSiteRange(const SiteRangeOptions& o, SiteRange& r, RangeChunks how) {
  const library::SeriesKind kind = o.kind;
  const library::TimeRange& range = o.range;
  if (std::string problem = OpenLibrary(o.db.value_or(""), r.library); !problem.empty())
    return problem;
  if (std::string problem = FindSite(*r.library, *o.site, r.site); !problem.empty()) return problem;
  FollowStoredLimits(*r.library, r.site.id);
  r.chunks = how == RangeChunks::Rollups ? r.library->SummaryChunks(r.site.id, kind, range)
                                         : r.library->Chunks(r.site.id, kind, range);
  r.pieces = library::PiecesInRange(r.chunks, range);
  if (r.pieces.empty()) {
    return "site '" + r.site.name + "' has no " +
           (kind == library::SeriesKind::Store ? "STORE" : "real-time") + " points in the range";
  }
  r.read = [store = r.library.store.get()](const library::ChunkInfo& c) {
    return store->ReadChunk(c);
  };
  r.factors = library::LibraryStore::FactorsOf(r.site, kind);
  r.kind = kind;
  return {};
}

}  // namespace acv::cli

namespace acv::cli {

std::vector<std::vector<library::TimelinePiece>> BandSegments(SiteRange& r,
                                                              const library::TimeRange& range,
                                                              const EventLimits& limits) {
  const library::RollupParts parts = [store =
                                          r.library.store.get()](const library::ChunkInfo& rollup) {
    return store->RollupParts(rollup);
  };
  r.bandChunks = library::ChunksForBand(r.chunks, range, parts, r.factors, limits);
  return library::SplitAtGaps(library::PiecesInRange(r.bandChunks, range));
}

std::vector<Event> LevelEvents(SiteRange& r, const library::TimeRange& range,
                               const EventLimits& limits) {
  library::LibraryStore* store = r.library.store.get();
  const library::RollupParts parts = [store](const library::ChunkInfo& rollup) {
    return store->RollupParts(rollup);
  };
  r.eventChunks = library::ChunksForEvents(r.chunks, range, parts, r.factors, limits);
  return library::TimelineLevelEvents(
      library::SplitAtGaps(library::PiecesInRange(r.eventChunks, range)), r.read, r.factors, limits,
      store->LevelEventsFoundWith(r.site.id, r.kind, range, limits));
}

}  // namespace acv::cli
