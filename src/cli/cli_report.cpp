// acvlogger-cli report: the printed pages of a data file as a PDF, without a
// window: the graph page or the "Test Report" list pages of one display.
#include <QApplication>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "cli/CliCommand.h"
#include "cli/CliOptions.h"
#include "data/CDTDoc.h"
#include "data/DataFile.h"
#include "data/Settings.h"
#include "frame/DataLists.h"
#include "frame/ReportDisplay.h"
#include "frame/SummaryPages.h"
#include "graph/ReportGraph.h"
#include "graph/ReportPdf.h"
#include "platform/AppPaths.h"

namespace acv::cli {
namespace {

constexpr const char* kCommand = "report";
constexpr const char* kHelp =
    "usage: acvlogger-cli report FILE.stdata --graph|--list|--summary\n"
    "                            [--mode MODE] [--record N] -o OUT.pdf\n\n"
    "Writes the pages the program prints for FILE.stdata into a PDF (A4):\n\n"
    "  --graph            the graph page: the graph with its text header\n"
    "  --list             the \"Test Report\" pages of the data list\n"
    "  --summary          the \"Summary Report\": the file, the span, the\n"
    "                     statistics of each channel, the energy, the band\n"
    "                     summary and the event table (continued on further\n"
    "                     pages when long), then the graph page with the\n"
    "                     events shaded; of store-rms or realtime-rms, with\n"
    "                     the event limits of the settings (landscape)\n"
    "  --mode MODE        store-rms, store-tr, realtime-rms, realtime-f or\n"
    "                     realtime-s; default: the display the file opens in\n"
    "                     (realtime-rms for a real-time file, else store-rms)\n"
    "  --record N         the TR record of store-tr, counted from 1 (default 1)\n"
    "  -o, --output OUT   the PDF to write\n\n"
    "Colours and Y axes come from the program's settings file. The PDF appears\n"
    "only when it is complete.\n\n"
    "Exit status: 0 written; 1 the file cannot be read, the display has no data\n"
    "or the PDF cannot be written; 2 a usage error.\n";

struct Options {
  std::string output;
  bool graph = false, list = false, summary = false;
  DisplayMode mode = DisplayMode::None;  // None: the file's opening mode
  int record = 1;
};

bool ParseMode(const std::string& name, DisplayMode& mode) {
  const struct {
    const char* name;
    DisplayMode mode;
  } modes[] = {{"store-rms", DisplayMode::StoreRms},
               {"store-tr", DisplayMode::StoreTr},
               {"realtime-rms", DisplayMode::RealTimeRms},
               {"realtime-f", DisplayMode::RealTimeFreq},
               {"realtime-s", DisplayMode::RealTimeS}};
  for (const auto& m : modes) {
    if (name == m.name) {
      mode = m.mode;
      return true;
    }
  }
  return false;
}

std::string TakeOptions(OptionList& options, Options& o) {
  // Options with values first, so that a value is never read as a flag.
  if (const auto mode = options.Take("--mode", "a mode")) {
    if (!ParseMode(*mode, o.mode)) return "unknown mode '" + *mode + "'";
  }
  if (const auto record = options.Take("--record", "a number")) {
    try {
      std::size_t used = 0;
      o.record = std::stoi(*record, &used);
      if (used != record->size() || o.record < 1) return "--record counts from 1";
    } catch (const std::exception&) {
      return "--record needs a number";
    }
  }
  o.output = options.TakeOutput("a file name").value_or("");
  o.graph = options.TakeFlag("--graph");
  o.list = options.TakeFlag("--list");
  o.summary = options.TakeFlag("--summary");
  return {};
}

std::string CheckOptions(const Options& o) {
  if (int(o.graph) + int(o.list) + int(o.summary) != 1) {
    return "choose one of --graph, --list and --summary";
  }
  if (o.summary && o.mode != DisplayMode::None && o.mode != DisplayMode::StoreRms &&
      o.mode != DisplayMode::RealTimeRms) {
    return "the summary is of store-rms or realtime-rms";
  }
  if (o.output.empty()) return "no output file given (-o OUT.pdf)";
  return {};
}

int WriteReport(const Options& o, Invocation& cli) {
  const CDTDoc& doc = cli.doc;
  const DisplayMode mode = o.mode == DisplayMode::None ? OpeningMode(doc) : o.mode;
  if (const std::string problem = ReportModeProblem(doc, mode, o.record - 1); !problem.empty())
    return cli.Fail(problem);
  std::string settingsProblem;
  const AppSettings settings = LoadSettings(SettingsFilePath(), &settingsProblem);
  if (!settingsProblem.empty()) {
    cli.Note("warning: the settings could not be read, the default axes and limits are used: " +
             settingsProblem);
  }
  const ReportDisplay display = PrepareReportDisplay(doc, mode, o.record - 1, settings);
  const QString path = QString::fromStdString(o.output);
  PdfOutcome out;
  if (o.graph) {
    out =
        WriteGraphPdf(path, DefaultReportLayout(QPageLayout::Landscape),
                      ReportGraphPicture(doc, display, settings), display.Facts(), {cli.dataPath});
  } else if (o.summary) {
    const SummaryContent content =
        SummariseDataSet(doc, mode == DisplayMode::RealTimeRms, settings.eventLimits,
                         std::filesystem::path(cli.dataPath).filename().string());
    out =
        WriteSummaryPdf(path, DefaultReportLayout(QPageLayout::Landscape), content,
                        ReportGraphPicture(doc, display, settings,
                                           std::make_shared<EventShading>(ShadingOf(doc, content))),
                        display.Facts(), {cli.dataPath});
  } else {
    const DataListText list(doc, mode, display.setup);
    out = WriteListPdf(path, DefaultReportLayout(QPageLayout::Portrait), display.Facts(), list, {},
                       1, 0, {cli.dataPath});
  }
  if (!out.written) return cli.Fail(out.error.empty() ? "the PDF was not written" : out.error);
  std::printf("%s\n", o.output.c_str());
  return 0;
}

int RunReport(const std::vector<std::string>& args) {
  Options o;
  return RunSubcommand(Subcommand(kCommand, kHelp)
                           .Options([&](OptionList& options) { return TakeOptions(options, o); })
                           .ReadsDataFile()
                           .ScalesValues()
                           .Check([&] { return CheckOptions(o); })
                           .Body([&](Invocation& cli) { return WriteReport(o, cli); }),
                       args);
}

const CliRegistrar kRegistrar{
    kCommand, "write the printed graph, list or summary pages of a data file as PDF", RunReport};

}  // namespace
}  // namespace acv::cli
