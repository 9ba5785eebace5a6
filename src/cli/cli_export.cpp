// acvlogger-cli export: the spreadsheet report of a data file, as "Save..."
// writes it beside the data file, or the same records as CSV.
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "cli/CliCommand.h"
#include "cli/CliOptions.h"
#include "data/CDTDoc.h"
#include "data/DataFile.h"
#include "data/Export.h"
#include "data/FileIO.h"
#include "data/RealTimeExport.h"

namespace acv::cli {
namespace {

constexpr const char* kCommand = "export";
constexpr const char* kHelp =
    "usage: acvlogger-cli export [--csv] [--part store|realtime] FILE.stdata [-o OUT]\n\n"
    "Writes a report of FILE.stdata. The STORE part lists the STORE RMS samples\n"
    "and the TR wave samples in one numbered list, merged by time; the realtime\n"
    "part lists the points of a real-time run.\n\n"
    "  (default)          the tab-separated report \"Save...\" writes, byte for\n"
    "                     byte; OUT defaults to FILE.xls (realtime part:\n"
    "                     FILE-realtime.xls) beside the data file\n"
    "  --csv              the same records as CSV: STORE with the columns\n"
    "                     no,kind,ch1,ch1_unit,ch2,ch2_unit,time, realtime with\n"
    "                     the columns of 'acvlogger-cli realtime'; OUT defaults\n"
    "                     to FILE.csv (FILE-realtime.csv); values in primary\n"
    "                     units (the channel scaling below), while the .xls\n"
    "                     report always keeps the logger's values\n"
    "  --part PART        store or realtime; without it the STORE part when the\n"
    "                     file holds STORE data, else the real-time run\n"
    "  -o, --output OUT   the file to write; \"-\" writes to stdout\n\n"
    "Exit status: 0 written; 1 the data file cannot be read, holds nothing to\n"
    "export (or not the part asked for), or the report cannot be written;\n"
    "2 a usage error.\n";

struct Options {
  bool csv = false;
  std::string part;  // "", "store" or "realtime"
  std::optional<std::string> output;
};

// Returns "" or the usage problem.
std::string TakeOptions(OptionList& options, Options& o) {
  if (const auto part = options.Take("--part", "store or realtime")) {
    o.part = *part;
    if (o.part != "store" && o.part != "realtime") return "--part must be store or realtime";
  }
  o.output = options.TakeOutput("a file name");
  o.csv = options.TakeFlag("--csv");
  if (o.output && o.output->empty()) return "the output file name is empty";
  return {};
}

int Export(Options& options, Invocation& cli) {
  const CDTDoc& doc = cli.doc;
  const std::string& input = cli.dataPath;

  // Which part: asked for, or what the file holds; never an empty table.
  const bool store = HoldsStoreData(doc), run = HoldsRun(doc);
  if (options.part.empty()) {
    options.part = store || !run ? "store" : "realtime";
    if (store && run) {
      std::fprintf(stderr, "note: '%s' also holds a real-time run; --part realtime exports it\n",
                   input.c_str());
    }
  }
  const bool realTime = options.part == "realtime";
  if (!store && !run) {
    return cli.Fail("'" + input +
                    "' holds no data to export (no STORE samples, no real-time points)");
  }
  if (realTime ? !run : !store) {
    return cli.Fail(
        "'" + input + "' holds no " +
        (realTime ? "real-time points" : "STORE data (it holds a real-time run: --part realtime)"));
  }
  const char* extension = options.csv ? ".csv" : ".xls";
  const std::string output = options.output.value_or(
      ReplaceExtension(input, realTime ? std::string("-realtime") + extension : extension));
  const auto write = [&](std::ostream& out) {
    if (realTime) {
      options.csv ? WriteRealTimeCsv(out, doc, doc.scaling) : WriteRealTimeExport(out, doc);
    } else {
      options.csv ? WriteCsvExport(out, doc) : WriteExport(out, doc);
    }
  };
  if (output == "-") {
    write(std::cout);
    std::cout.flush();
    if (!std::cout) return cli.Fail("writing to stdout failed");
    return 0;
  }
  // The data file is the command's input: no spelling of its name may be
  // written over.
  const std::string error = WriteFileWith(output, write, {input});
  if (!error.empty()) return cli.Fail(error);
  std::printf("%s\n", output.c_str());
  return 0;
}

int RunExport(const std::vector<std::string>& args) {
  Options o;
  return RunSubcommand(Subcommand(kCommand, kHelp)
                           .Options([&](OptionList& options) { return TakeOptions(options, o); })
                           .ReadsDataFile()
                           .ScalesValues()
                           .Body([&](Invocation& cli) { return Export(o, cli); }),
                       args);
}

const CliRegistrar kRegistrar{kCommand, "write the spreadsheet report (or CSV) of a data file",
                              RunExport};

}  // namespace
}  // namespace acv::cli
