#pragma once
// What the library subcommands share: --db and the one rule of which
// library is used, opening it, the site, kind and time-range options, and
// the library's commands as a table for `acvlogger-cli library`.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/CliCommand.h"
#include "cli/CliOptions.h"
#include "library/LibraryConnection.h"
#include "library/LibraryStore.h"

namespace acv::cli {

struct LibraryCommand {
  const char* name;  // the word after "library"
  const char* summary;
  const char* help;  // its whole --help text
  std::function<int(const std::vector<std::string>& args)> run;
};
std::vector<LibraryCommand>& LibraryCommands();
struct LibraryCommandRegistrar {
  explicit LibraryCommandRegistrar(LibraryCommand command) {
    LibraryCommands().push_back(std::move(command));
  }
};

// The open library of a command.
struct OpenedLibrary {
  std::unique_ptr<LibraryConnection> connection;
  std::unique_ptr<library::LibraryStore> store;
  library::LibraryStore& operator*() const { return *store; }
  library::LibraryStore* operator->() const { return store.get(); }
};
// Opens the library `dbOption` (empty: the default) names, with the
// settings' event limits: "" or the one line of why not.
std::string OpenLibrary(const std::string& dbOption, OpenedLibrary& out);

// "--site NAME": "" or the usage problem; `required` makes a missing one one.
std::string TakeSite(OptionList& options, std::optional<std::string>& site, bool required);
// "--kind store|realtime".
std::string TakeKind(OptionList& options, library::SeriesKind& kind);
// "--from TIME" and "--to TIME" in the ISO form of the CSV files.
std::string TakeRange(OptionList& options, library::TimeRange& range);
// A local time written 2026-03-01T10:00:00, or nullopt.
std::optional<TimeStamp> ParseIsoTime(const std::string& text);

// The stored events of the site's measurements found again where they were
// found with other limits than the settings' (saying so once on stderr);
// a library that cannot be written is used as it is, with a warning.
void FollowStoredLimits(library::LibraryStore& store, std::int64_t siteId);

// The site's record, or the failure line naming the missing site.
std::string FindSite(library::LibraryStore& store, const std::string& name,
                     library::SiteRecord& site);

// What a command over a time range of a site names: the library, the site,
// the kind of series and the range.
struct SiteRangeOptions {
  std::optional<std::string> db, site;
  library::SeriesKind kind = library::SeriesKind::Store;
  library::TimeRange range;
};
// --db URL, --site NAME (required), --kind and --from/--to: "" or the first
// usage problem.
std::string TakeSiteRangeOptions(OptionList& options, SiteRangeOptions& o);

// What a command over a time range of a site reads: the open library, the
// site, its chunks of one kind and the pieces of them in the range, and how
// the points are read and scaled.
struct SiteRange {
  OpenedLibrary library;
  library::SiteRecord site;
  std::vector<library::ChunkInfo> chunks;
  std::vector<library::ChunkInfo> bandChunks;   // BandSegments's
  std::vector<library::ChunkInfo> eventChunks;  // LevelEvents's
  library::SeriesKind kind = library::SeriesKind::Store;
  std::vector<library::TimelinePiece> pieces;
  library::ChunkReader read;
  library::ChannelFactors factors{};
};
// How the range's chunks are read: each as it is, or, for the questions the
// summaries answer, a measurement the range holds whole as its rollup.
enum class RangeChunks { Each, Rollups };
// Fills `r` (the stored events made to follow the settings' limits first):
// "" or the one line of why not, also when the range holds no point.
std::string ReadSiteRange(const SiteRangeOptions& o, SiteRange& r,
                          RangeChunks how = RangeChunks::Each);
// The level events of the range (as AnalyseSegments finds them), read only
// where the stored events found with `limits` do not answer for them.
std::vector<Event> LevelEvents(SiteRange& r, const library::TimeRange& range,
                               const EventLimits& limits);
// The segments of the range to hand the band summary and the voltage
// events (library/core/TimelineBand.h): the rollups whose points they would
// read opened into their chunks (kept in r.bandChunks).
std::vector<std::vector<library::TimelinePiece>> BandSegments(SiteRange& r,
                                                              const library::TimeRange& range,
                                                              const EventLimits& limits);

}  // namespace acv::cli
