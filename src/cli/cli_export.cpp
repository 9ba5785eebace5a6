// acvlogger-cli export: the spreadsheet report of a data file, as "Save..."
// writes it beside the data file, or the same records as CSV.
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "cli/CliCommand.h"
#include "data/CDTDoc.h"
#include "data/DataFile.h"
#include "data/Export.h"

namespace acv::cli {
namespace {

constexpr const char* kHelp =
    "usage: acvlogger-cli export [--csv] FILE.stdata [-o OUT]\n\n"
    "Writes the report of the STORE data in FILE.stdata: the STORE RMS samples\n"
    "and the TR wave samples in one numbered list, merged by time.\n\n"
    "  (default)          the tab-separated report \"Save...\" writes, byte for\n"
    "                     byte; OUT defaults to FILE.xls beside the data file\n"
    "  --csv              the same records as CSV with the columns\n"
    "                     no,kind,ch1,ch1_unit,ch2,ch2_unit,time; OUT defaults\n"
    "                     to FILE.csv\n"
    "  -o, --output OUT   the file to write; \"-\" writes to stdout\n\n"
    "Exit status: 0 written; 1 the data file cannot be read or the report\n"
    "cannot be written; 2 a usage error.\n";

void Fail(const std::string& text) {
  std::fprintf(stderr, "acvlogger-cli export: %s\n", text.c_str());
}

struct Options {
  bool csv = false;
  std::string input;
  std::optional<std::string> output;
};

// Returns "" or the usage problem.
std::string ParseOptions(const std::vector<std::string>& args, Options& o) {
  std::vector<std::string> files;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (optionsEnded) {
      files.push_back(a);
    } else if (a == "--") {
      optionsEnded = true;
    } else if (a == "--csv") {
      o.csv = true;
    } else if (a == "-o" || a == "--output") {
      if (i + 1 >= args.size()) return a + " needs a file name";
      o.output = args[++i];
    } else if (a.rfind("--output=", 0) == 0) {
      o.output = a.substr(9);
    } else if (a.size() > 1 && a[0] == '-') {
      return "unknown option '" + a + "'";
    } else {
      files.push_back(a);
    }
  }
  if (files.empty()) return "no data file given";
  if (files.size() > 1) return "one data file at a time";
  if (o.output && o.output->empty()) return "the output file name is empty";
  o.input = files[0];
  return {};
}

int RunExport(const std::vector<std::string>& args) {
  if (WantsHelp(args)) {
    std::fputs(kHelp, stdout);
    return 0;
  }
  Options options;
  if (const std::string usage = ParseOptions(args, options); !usage.empty()) {
    Fail(usage);
    std::fputs(kHelp, stderr);
    return 2;
  }

  CDTDoc doc;
  const LoadResult loaded = LoadDataFile(options.input, doc);
  if (!loaded.ok) {
    Fail(loaded.error == kInvalidFormatMessage
             ? "'" + options.input + "' is not a data file (" + kInvalidFormatMessage + ")"
             : loaded.error);
    return 1;
  }

  const std::string output =
      options.output.value_or(ReplaceExtension(options.input, options.csv ? ".csv" : ".xls"));
  if (output == "-") {
    if (options.csv) {
      WriteCsvExport(std::cout, doc);
    } else {
      WriteExport(std::cout, doc);
    }
    std::cout.flush();
    if (!std::cout) {
      Fail("writing to stdout failed");
      return 1;
    }
    return 0;
  }
  if (output == options.input) {
    Fail("the report would overwrite the data file '" + output + "'");
    return 2;
  }
  const std::string error =
      options.csv ? SaveCsvExportFile(doc, output) : SaveExportFile(doc, output);
  if (!error.empty()) {
    Fail(error);
    return 1;
  }
  std::printf("%s\n", output.c_str());
  return 0;
}

const CliRegistrar kRegistrar{"export", "write the spreadsheet report (or CSV) of a data file",
                              RunExport};

}  // namespace
}  // namespace acv::cli
