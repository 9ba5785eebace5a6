#pragma once
// The main window's commands: their ids, menu texts, status-bar prompts and
// tool tips. The ids are the ones the logger dialogs, the instrument panel
// and the settings refer to; the texts are shown as they stand.
#include <span>
#include <string>
#include <string_view>

namespace acv::cmd {

inline constexpr int kSave = 32814;
inline constexpr int kOpen = 32827;
inline constexpr int kPrintSetup = 57606;
inline constexpr int kPrintPreviewGraph = 32889;
inline constexpr int kPrintPreviewList = 32890;
inline constexpr int kPrintGraph = 32891;
inline constexpr int kPrintList = 32892;
inline constexpr int kExit = 57665;
inline constexpr int kCorrectTime = 32840;
inline constexpr int kLoggerSetup = 32869;
inline constexpr int kDownload = 32847;
inline constexpr int kImportToList = 32920;
inline constexpr int kPreviousMeasurement = 32882;
inline constexpr int kToggleInstrument = 32884;
inline constexpr int kToggleInfoPanel = 32885;
inline constexpr int kAbout = 57664;
inline constexpr int kHelpTopics = 32779;
inline constexpr int kDataList = 32836;
inline constexpr int kGraph = 32835;
inline constexpr int kStoreRms = 32904;
inline constexpr int kStoreTr = 32906;
inline constexpr int kRealTimeEpa = 32907;
inline constexpr int kRealTimeRms = 32913;
inline constexpr int kRealTimeFreq = 32908;
inline constexpr int kRealTimeS = 32911;
inline constexpr int kRun = 32917;
inline constexpr int kStop = 32772;
inline constexpr int kTotalTypesList = 32915;
// The display-settings dialogs and the Fit command (View menu and the graph
// view's own toolbar).
inline constexpr int kColorSetup = 32845;
inline constexpr int kAxisSetup = 32868;
inline constexpr int kViewOptions = 32881;
inline constexpr int kFitAxes = 32952;
// PDF copies of the printed pages and pictures of the graph (File menu).
inline constexpr int kExportPdfGraph = 32953;
inline constexpr int kExportPdfList = 32954;
inline constexpr int kSaveGraphPicture = 32955;
// The analysis of the data on show: the tool windows and the event limits
// (View menu), the summary pages (File menu) and the CSV table (File menu).
inline constexpr int kStatistics = 32956;
inline constexpr int kEvents = 32957;
inline constexpr int kEventLimits = 32958;
inline constexpr int kExportCsv = 32959;
inline constexpr int kPrintPreviewSummary = 32960;
inline constexpr int kPrintSummary = 32961;
inline constexpr int kExportPdfSummary = 32962;
// The electric power analysis panel (Window menu), which REAL TIME EPA opens
// by itself.
inline constexpr int kPowerPanel = 32963;
// Primary units and the standard waveform files: the channels' ratios and
// sample scales (View menu), the TR record or real-time wave on show as
// COMTRADE files (File menu).
inline constexpr int kChannelScaling = 32970;
inline constexpr int kExportComtrade = 32971;
// The data on show into the measurement library (File menu).
inline constexpr int kAddToLibrary = 32972;
// A site's measurements of the library as one timeline (View menu).
inline constexpr int kSiteTimeline = 32973;
// The measurement library's window (File menu) and the distribution of the
// values on show (View menu).
inline constexpr int kLibrary = 32980;
inline constexpr int kDistribution = 32981;

struct CommandInfo {
  int id;
  const char* menuText;  // with '&' mnemonics
  const char* prompt;    // status-bar text
  const char* toolTip;
};

// Every command of the window, in menu order.
std::span<const CommandInfo> AllCommands();
// nullptr for an unknown id.
const CommandInfo* FindCommand(int id);

// The toolbar, left to right; 0 stands for a separator.
std::span<const int> ToolbarLayout();

// "Show store RMS graph\nStore RMS": the status prompt and the tool tip as
// one resource-style string.
std::string PromptAndTip(int id);

// The key that picks a menu text ("Datalogger &Setup..." -> 's'), lower
// case; 0 when the text has none ("&&" is a plain '&').
char MenuMnemonic(std::string_view text);
// The text as shown, without its '&' marks.
std::string MenuTextShown(std::string_view text);

}  // namespace acv::cmd
