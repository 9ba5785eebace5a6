// acvlogger-cli library add and remove: data files into the library, and a
// measurement out of it.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cli/CliDataFile.h"
#include "cli/CliLibrary.h"
#include "data/FileIO.h"

namespace acv::cli {
namespace {

constexpr const char* kAddHelp =
    "usage: acvlogger-cli library add FILE.stdata... --site NAME [--db URL]\n\n"
    "Adds each data file to the site (created when new) as a measurement of\n"
    "its own: the STORE RMS series with its TR records, or else the real-time\n"
    "run. Each file is added whole or not at all, and prints one line:\n"
    "\"added P points (D duplicates) to SITE as measurement N\", or \"already\n"
    "in the library as measurement N\" for a file added before (the same\n"
    "SHA-256 of its bytes). A point at the time of a stored point of the site\n"
    "with the same values is a duplicate, counted and not stored again; with\n"
    "other values (after the logger's clock was set back, say) the file is\n"
    "refused, naming the first such time: add it to another site. The events\n"
    "are found with the site's nominal voltage and the settings' limits.\n\n"
    "  --site NAME   the site\n"
    "  --db URL      the library (see acvlogger-cli library --help)\n\n"
    "Exit status: 0 every file added or already there; 1 a file could not be\n"
    "read or was refused, or the library failed (the other files are still\n"
    "added); 2 a usage error.\n";

constexpr const char* kRemoveHelp =
    "usage: acvlogger-cli library remove ID [--db URL]\n\n"
    "Removes measurement ID (see library list) with its points, TR records and\n"
    "events. Its points that another measurement of the site repeated stay,\n"
    "as that measurement's own.\n\n"
    "  --db URL      the library (see acvlogger-cli library --help)\n\n"
    "Exit status: 0 removed; 1 no such measurement, or the library failed;\n"
    "2 a usage error.\n";

// Data files are far smaller; a larger one is not read into memory.
constexpr std::uint64_t kMaxFileBytes = std::uint64_t{1} << 32;

std::string BaseName(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

int RunAdd(const std::vector<std::string>& args) {
  std::optional<std::string> db, site;
  std::vector<std::string> files;
  return RunSubcommand(
      Subcommand("library add", kAddHelp)
          .Options([&](OptionList& options) {
            db = options.Take("--db", "a library URL");
            std::string problem = TakeSite(options, site, true);
            files = options.TakeWords();
            if (problem.empty() && files.empty()) problem = "no data file given";
            return problem;
          })
          .Body([&](Invocation& cli) {
            OpenedLibrary library;
            if (const std::string problem = OpenLibrary(db.value_or(""), library); !problem.empty())
              return cli.Fail(problem);
            int status = 0;
            for (const std::string& path : files) {
              CDTDoc doc;
              std::vector<std::uint8_t> bytes;
              std::string problem = LoadDataFileFor(path, doc);
              if (problem.empty()) problem = ReadWholeFile(path, bytes, kMaxFileBytes);
              std::string line;
              if (problem.empty() &&
                  library->AddDataSet(doc, bytes, BaseName(path), *site, &line, &problem)) {
                std::printf("%s: %s\n", path.c_str(), line.c_str());
                std::fflush(stdout);
                continue;
              }
              status = cli.Fail(path + ": " + problem);
            }
            return status;
          }),
      args);
}

int RunRemove(const std::vector<std::string>& args) {
  std::optional<std::string> db;
  std::optional<int> id;
  return RunSubcommand(
      Subcommand("library remove", kRemoveHelp)
          .Options([&](OptionList& options) {
            db = options.Take("--db", "a library URL");
            const std::vector<std::string> words = options.TakeWords();
            if (words.size() != 1) return std::string("one measurement number is needed");
            id = ParseInt(words[0]);
            if (!id || *id < 1) return "'" + words[0] + "' is no measurement number";
            return std::string();
          })
          .Body([&](Invocation& cli) {
            OpenedLibrary library;
            if (const std::string problem = OpenLibrary(db.value_or(""), library); !problem.empty())
              return cli.Fail(problem);
            if (!library->RemoveMeasurement(*id))
              return cli.Fail("the library has no measurement " + std::to_string(*id));
            std::printf("removed measurement %d\n", *id);
            return 0;
          }),
      args);
}

const LibraryCommandRegistrar kAdd{{"add", "add data files to a site", kAddHelp, RunAdd}};
const LibraryCommandRegistrar kRemove{{"remove", "remove a measurement", kRemoveHelp, RunRemove}};

}  // namespace
}  // namespace acv::cli
