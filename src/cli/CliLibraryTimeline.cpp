// acvlogger-cli library timeline: a site's merged series over a time range,
// as CSV or as a data file.
#include <cstdio>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "cli/CliLibrary.h"
#include "data/DataFile.h"
#include "data/FileIO.h"
#include "data/NumberText.h"

namespace acv::cli {
namespace {

constexpr const char* kTimelineHelp =
    "usage: acvlogger-cli library timeline --site NAME [--kind store|realtime]\n"
    "           [--from TIME] [--to TIME] [--csv] [-o FILE] [--db URL]\n\n"
    "The site's measurements of one kind merged into one series, ordered by\n"
    "time. Without --csv or -o: one line per stretch without a gap. Values are\n"
    "shown with the site's channel scaling.\n\n"
    "  --site NAME   the site\n"
    "  --kind KIND   store (the STORE RMS series, the default) or realtime\n"
    "  --from TIME, --to TIME\n"
    "                the first and the last time, local, 2026-03-01T10:00:00\n"
    "                (default: all)\n"
    "  --csv         CSV with the columns time,ch1,ch1_unit,ch2,ch2_unit,\n"
    "                measurement (the measurement that stored the point)\n"
    "  -o FILE       write it to FILE: with --csv the CSV, else a data file\n"
    "                (.stdata, the points as the logger sent them, with the\n"
    "                TR records of the range), which needs one STORE series\n"
    "                without a gap at one interval\n"
    "  --db URL      the library (see acvlogger-cli library --help)\n\n"
    "Exit status: 0 written; 1 no such site, nothing in the range, a data file\n"
    "asked for a timeline with a gap or of real-time points, the file cannot\n"
    "be written, or the library failed; 2 a usage error.\n";

struct Options : SiteRangeOptions {
  std::optional<std::string> output;
  bool csv = false;
};

void WriteCsv(std::ostream& out, const std::vector<library::TimelinePiece>& pieces,
              const library::ChunkReader& read, const library::ChannelFactors& factors) {
  out << "time,ch1,ch1_unit,ch2,ch2_unit,measurement\n";
  for (const library::TimelinePiece& p : pieces) {
    const library::PointRun run = read(*p.chunk);
    for (std::int64_t k = p.first; k < p.first + p.count; ++k) {
      out << FormatTime(run.Time(k), kCsvTimeFormat);
      for (int c = 0; c < 2; ++c) {
        out << ',';
        if (run.present[c]) out << FloatText(static_cast<double>(run.values[c][k]) * factors[c]);
        out << ',' << p.chunk->units[c];
      }
      out << ',' << p.chunk->measurement << '\n';
    }
  }
}

std::string SaveTimelineFile(library::LibraryStore& store, const library::SiteRecord& site,
                             const std::vector<std::vector<library::TimelinePiece>>& segments,
                             const library::TimeRange& range, const library::ChunkReader& read,
                             const std::string& path) {
  if (segments.size() > 1) {
    const library::TimelinePiece& end = segments[0].back();
    const library::TimelinePiece& next = segments[1].front();
    return "a data file holds one series without gaps, and this one has a gap from " +
           FormatTime(end.End(), kCsvTimeFormat) + " to " +
           FormatTime(next.Start(), kCsvTimeFormat) +
           (end.chunk->interval != next.chunk->interval ? " (and another interval after it)" : "") +
           ": choose a range without it with --from and --to";
  }
  CDTDoc doc;
  doc.Store() = library::SegmentData(segments[0], read, {1.0, 1.0});
  const library::TimeRange records{doc.rmsStartTime, doc.RmsSampleTime(doc.rmsCount) - 1};
  for (const library::StoredTrRecord& r :
       store.TrRecords(site.id, range.from || range.to ? range : records)) {
    doc.trWaves.insert(doc.trWaves.end(), r.samples.begin(), r.samples.end());
    doc.trTimes.push_back(r.trigger);
    doc.trChannel.push_back(r.channel);
    doc.trUnit.push_back(r.unit);
    ++doc.trCount;
  }
  doc.formatTag = kTagStore;
  doc.ComputeStoreStatistics();
  return SaveDataFile(doc, path);
}

int PrintTimeline(const Options& o, Invocation& cli) {
  OpenedLibrary library;
  if (const std::string problem = OpenLibrary(o.db.value_or(""), library); !problem.empty())
    return cli.Fail(problem);
  library::SiteRecord site;
  if (const std::string problem = FindSite(*library, *o.site, site); !problem.empty())
    return cli.Fail(problem);
  const std::vector<library::ChunkInfo> chunks = library->Chunks(site.id, o.kind, o.range);
  const std::vector<library::TimelinePiece> pieces = library::PiecesInRange(chunks, o.range);
  if (pieces.empty()) {
    return cli.Fail("site '" + site.name + "' has no " +
                    (o.kind == library::SeriesKind::Store ? "STORE" : "real-time") +
                    " points in the range");
  }
  const library::ChunkReader read = [&](const library::ChunkInfo& c) {
    return library->ReadChunk(c);
  };
  const library::ChannelFactors factors = library::LibraryStore::FactorsOf(site, o.kind);
  if (o.csv) {
    const auto write = [&](std::ostream& out) { WriteCsv(out, pieces, read, factors); };
    if (!o.output) {
      std::ostringstream text;
      write(text);
      std::fputs(text.str().c_str(), stdout);
      return 0;
    }
    if (const std::string problem = WriteFileWith(*o.output, write); !problem.empty())
      return cli.Fail(problem);
    return 0;
  }
  const auto segments = library::SplitAtGaps(pieces);
  if (o.output) {
    if (o.kind != library::SeriesKind::Store) {
      return cli.Fail(
          "a data file of the library holds STORE points only: the library keeps no "
          "frequencies of a real-time run (use --csv)");
    }
    if (const std::string problem =
            SaveTimelineFile(*library, site, segments, o.range, read, *o.output);
        !problem.empty())
      return cli.Fail(problem);
    return 0;
  }
  for (const auto& segment : segments) {
    std::int64_t points = 0;
    for (const library::TimelinePiece& p : segment) points += p.count;
    std::printf("%s .. %s  %lld points every %lld s\n",
                FormatTime(segment.front().Start(), kCsvTimeFormat).c_str(),
                FormatTime(segment.back().End(), kCsvTimeFormat).c_str(),
                static_cast<long long>(points),
                static_cast<long long>(segment.front().chunk->interval));
  }
  return 0;
}

int RunTimeline(const std::vector<std::string>& args) {
  Options o;
  return RunSubcommand(Subcommand("library timeline", kTimelineHelp)
                           .Options([&](OptionList& options) {
                             o.csv = options.TakeFlag("--csv");
                             o.output = options.TakeOutput("a file name");
                             return TakeSiteRangeOptions(options, o);
                           })
                           .Body([&](Invocation& cli) { return PrintTimeline(o, cli); }),
                       args);
}

const LibraryCommandRegistrar kTimeline{
    {"timeline", "a site's merged series as CSV or a data file", kTimelineHelp, RunTimeline}};

}  // namespace
}  // namespace acv::cli
