// acvlogger-cli comtrade: the TR records of a data file as COMTRADE files,
// for the protection and power-quality tools that read that format.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cli/CliCommand.h"
#include "cli/CliOptions.h"
#include "data/Comtrade.h"
#include "data/Settings.h"
#include "platform/AppPaths.h"

namespace acv::cli {
namespace {

constexpr const char* kCommand = "comtrade";
constexpr const char* kHelp =
    "usage: acvlogger-cli comtrade FILE.stdata [-o DIR] [--record N] [--ascii]\n"
    "                              [--station NAME] [channel scaling options]\n\n"
    "Writes each TR record of FILE.stdata as a pair of COMTRADE (IEEE C37.111-1999)\n"
    "files, DIR/BASE-trN.cfg and DIR/BASE-trN.dat (BASE: the data file's name\n"
    "without its suffix; N counts from 1), and prints each written path on a\n"
    "line. The .dat file holds the logger's raw 16-bit samples; the .cfg file's\n"
    "conversion factor (sample scale x ratio) turns them into primary units.\n"
    "The line frequency written is the settings' nominal frequency (Event\n"
    "Limits in the program; 50 Hz by default).\n\n"
    "  -o, --output DIR   the folder to write to (default: the current folder)\n"
    "  --record N         only TR record N\n"
    "  --ascii            ASCII sample rows instead of BINARY\n"
    "  --station NAME     the station name of the .cfg file (default: BASE)\n\n"
    "Example:\n"
    "  acvlogger-cli comtrade site.stdata -o out --ratio-ch2 20 --scale-ch2 0.01\n\n"
    "Exit status: 0 written; 1 the file cannot be read, holds no TR record (or\n"
    "not record N), or a file cannot be written; 2 a usage error.\n";

struct Options {
  std::string folder = ".";
  std::optional<int> record;
  bool ascii = false;
  std::optional<std::string> station;
  double lineFrequency = 50.0;
};

std::string TakeOptions(OptionList& options, Options& o) {
  if (const auto folder = options.TakeOutput("a folder")) o.folder = *folder;
  if (o.folder.empty()) return "the output folder name is empty";
  if (const auto record = options.Take("--record", "a record number")) {
    o.record = ParseInt(*record);
    if (!o.record || *o.record < 1)
      return "--record needs a record number from 1, not '" + *record + "'";
  }
  o.ascii = options.TakeFlag("--ascii");
  o.station = options.Take("--station", "a name");
  return {};
}

// The data file's name without its folder and suffix.
std::string BaseName(const std::string& path) {
  std::string name = path.substr(path.find_last_of('/') + 1);
  const std::size_t dot = name.find_last_of('.');
  if (dot != std::string::npos && dot > 0) name.resize(dot);
  return name;
}

int WriteRecords(const Options& o, Invocation& cli) {
  const StoreFamily& store = cli.doc;
  if (store.trCount <= 0) return cli.Fail("'" + cli.dataPath + "' holds no TR record");
  if (o.record && *o.record > store.trCount) {
    return cli.Fail("'" + cli.dataPath + "' holds TR records 1 .. " +
                    std::to_string(store.trCount) + ", not " + std::to_string(*o.record));
  }
  const std::string base = BaseName(cli.dataPath);
  const int first = o.record ? *o.record - 1 : 0;
  const int last = o.record ? *o.record - 1 : store.trCount - 1;
  for (int r = first; r <= last; ++r) {
    ComtradeRecord record = ComtradeOfTrRecord(store, r, cli.doc.scaling);
    if (record.channels.empty()) {
      return cli.Fail("TR record " + std::to_string(r + 1) + " has no known channel");
    }
    record.station = o.station.value_or(base);
    record.lineFrequency = o.lineFrequency;
    const ComtradeFiles files =
        FormatComtrade(record, o.ascii ? ComtradeFormat::Ascii : ComtradeFormat::Binary);
    const std::string path = o.folder + "/" + base + "-tr" + std::to_string(r + 1);
    if (!files.problem.empty()) {
      return cli.Fail("TR record " + std::to_string(r + 1) + ": " + files.problem);
    }
    if (const std::string error = SaveComtradeFiles(files, path); !error.empty()) {
      return cli.Fail(error);
    }
    std::printf("%s.cfg\n%s.dat\n", path.c_str(), path.c_str());
  }
  return 0;
}

int RunComtrade(const std::vector<std::string>& args) {
  Options o;
  // The line frequency is the nominal frequency of the settings (Event Limits).
  o.lineFrequency = LoadSettings(SettingsFilePath()).eventLimits.frequency;
  return RunSubcommand(Subcommand(kCommand, kHelp)
                           .Options([&](OptionList& options) { return TakeOptions(options, o); })
                           .ReadsDataFile()
                           .ScalesValues()
                           .Body([&](Invocation& cli) { return WriteRecords(o, cli); }),
                       args);
}

const CliRegistrar kRegistrar{kCommand, "write the TR records of a data file as COMTRADE files",
                              RunComtrade};

}  // namespace
}  // namespace acv::cli
