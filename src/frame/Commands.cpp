#include "frame/Commands.h"

#include <array>
#include <cctype>

namespace acv::cmd {
namespace {

constexpr std::array<CommandInfo, 49> kCommands{{
    {kOpen, "&Open...", "Open an existing data file", "Open"},
    {kSave, "&Save...", "Save the data to a data file and a spreadsheet table", "Save"},
    {kPreviousMeasurement, "&Previous Measurement", "Import the last measurement data.",
     "Previous Measurement"},
    {kExportCsv, "Expor&t CSV...", "Write the data to a CSV table with numbers as numbers",
     "Export CSV"},
    {kExportComtrade, "Export CO&MTRADE...",
     "Write the TR record or real time wave on show as COMTRADE files", "Export COMTRADE"},
    {kAddToLibrary, "&Add to Library...",
     "Keep the data on show in the measurement library, with the other measurements of its site",
     "Add to Library"},
    {kLibrary, "&Library...",
     "Show the sites and measurements of the measurement library, and work with them", "Library"},
    {kPrintPreviewGraph, "&Graph", "Show the graph page as it will be printed",
     "Print Preview Graph"},
    {kPrintPreviewList, "&List", "Show the data list pages as they will be printed",
     "Print Preview List"},
    {kPrintPreviewSummary, "&Summary",
     "Show the summary pages (statistics, energy, events) as they will be printed",
     "Print Preview Summary"},
    {kPrintGraph, "&Graph", "Print the graph", "Print Graph"},
    {kPrintList, "&List", "Print the data list with its test report heading", "Print List"},
    {kPrintSummary, "&Summary", "Print the summary: statistics, energy, band and events",
     "Print Summary"},
    {kExportPdfGraph, "&Graph...", "Write the graph page to a PDF file", "Export PDF Graph"},
    {kExportPdfList, "&List...", "Write the data list pages to a PDF file", "Export PDF List"},
    {kExportPdfSummary, "&Summary...", "Write the summary pages to a PDF file",
     "Export PDF Summary"},
    {kSaveGraphPicture, "Save Graph Pi&cture...",
     "Save the graph as it is shown to a PNG or SVG picture", "Save Graph Picture"},
    {kPrintSetup, "&Print Setup...", "Change the printer and the page settings", "Print Setup"},
    {kExit, "&Exit", "Quit the program; asks to save unsaved data", "Exit"},
    {kDownload, "&Download Data...", "Download the data stored in the logger", "Download"},
    {kLoggerSetup, "Datalogger &Setup...",
     "Set the logger's sampling rate, power-off, circular logging and detection levels",
     "Datalogger Setup"},
    {kCorrectTime, "&Correct Time...", "Set the logger's clock", "Correct Time"},
    {kImportToList, "&Import Data To List", "Import data into the data list", "Import Data"},
    {kRun, "&Run...", "Read real time data", "Run"},
    {kStop, "S&top", "Stop reading real time data.", "Stop"},
    {kRealTimeRms, "Real Time R&MS", "Show the real time RMS graph", "Real Time RMS"},
    {kRealTimeFreq, "Real Time Wave &Frequency", "Show the real time wave frequency graph",
     "Real Time Frequency"},
    {kRealTimeS, "Real Time &S(VA)", "Show the real time apparent power graph", "Real Time S(VA)"},
    {kRealTimeEpa, "&Power Parameter Analysis",
     "Show the latest real time wave with its power parameters", "Power Parameter Analysis"},
    {kStoreRms, "Store &RMS", "Show store RMS graph", "Store RMS"},
    {kStoreTr, "Store &Transient Wave", "Show store transient wave graph", "Store Transient Wave"},
    {kDataList, "Data &List", "Show the data list", "Data List"},
    {kGraph, "&Graph", "Show the graph", "Graph"},
    {kStatistics, "&Statistics", "Show the statistics between the cursors or of the visible span",
     "Statistics"},
    {kEvents, "&Events", "List the dips, swells, interruptions and transients", "Events"},
    {kDistribution, "&Distribution",
     "Show how the values of the statistics' span are distributed: histogram, percentiles and "
     "daily profile",
     "Distribution"},
    {kColorSetup, "&Color Setup...", "Choose the colours of the curves, the plot and the grid",
     "Color Setup"},
    {kAxisSetup, "&Axis Setup...", "Set the Y range of each channel and the X range in points",
     "Axis Setup"},
    {kViewOptions, "&View Options...", "Switch curves, point marks and grid lines on or off",
     "View Options"},
    {kFitAxes, "&Fit Y Axes to Data", "Set each channel's Y axis to the range of its data on show",
     "Fit"},
    {kEventLimits, "Event Li&mits...",
     "Set the nominal voltage and the limits that make dips, swells and interruptions",
     "Event Limits"},
    {kSiteTimeline, "Site Timeli&ne...", "Show every measurement of a library site as one timeline",
     "Site Timeline"},
    {kChannelScaling, "Channel Scal&ing...",
     "Set each channel's ratio and sample scale, so that values show in primary units",
     "Channel Scaling"},
    {kToggleInstrument, "&Instrument", "Show or hide the instrument column", "Instrument"},
    {kToggleInfoPanel, "I&nfo Dialog", "Show or hide the information panel", "Info Dialog"},
    {kPowerPanel, "&Power Panel",
     "Show the RMS of each channel and the power values of the latest real time wave",
     "Power Panel"},
    {kHelpTopics, "&Help topics...", "Open the help", "Help"},
    {kAbout, "&About...", "Display program information and version", "About"},
    {kTotalTypesList, "Total Types Data LIST", "", ""},
}};

constexpr std::array<int, 21> kToolbar{
    kSave,       0, kOpen,      0, kCorrectTime, 0, kLoggerSetup, 0, kDownload, 0, kDataList, 0,
    kPrintGraph, 0, kPrintList, 0, kHelpTopics,  0, kStoreRms,    0, kStoreTr};

}  // namespace

std::span<const CommandInfo> AllCommands() {
  return kCommands;
}

const CommandInfo* FindCommand(int id) {
  for (const CommandInfo& c : kCommands) {
    if (c.id == id) return &c;
  }
  return nullptr;
}

std::span<const int> ToolbarLayout() {
  return kToolbar;
}

std::string PromptAndTip(int id) {
  const CommandInfo* c = FindCommand(id);
  if (c == nullptr) return {};
  return std::string(c->prompt) + "\n" + c->toolTip;
}

char MenuMnemonic(std::string_view text) {
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != '&') continue;
    if (text[i + 1] != '&')
      return static_cast<char>(std::tolower(static_cast<unsigned char>(text[i + 1])));
    ++i;  // "&&" stands for '&'
  }
  return 0;
}

std::string MenuTextShown(std::string_view text) {
  std::string shown;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&' && i + 1 < text.size()) ++i;
    shown += text[i];
  }
  return shown;
}

}  // namespace acv::cmd
