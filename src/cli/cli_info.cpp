// acvlogger-cli info: a readable summary of a data file.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/CliCommand.h"
#include "cli/CliOptions.h"
#include "data/CDTDoc.h"
#include "data/DataFile.h"
#include "data/RealTimeExport.h"

namespace acv::cli {
namespace {

constexpr const char* kCommand = "info";
constexpr const char* kHelp =
    "usage: acvlogger-cli info FILE.stdata\n\n"
    "Prints what a data file holds: its tag, the STORE RMS series (channels,\n"
    "units, start time, interval, number of samples and the maximum and\n"
    "minimum texts), the TR records and the detection levels. A previous\n"
    "measurement written after a real-time run also shows the run's points.\n"
    "The maximum and minimum texts are in primary units (the channel scaling).\n\n"
    "Exit status: 0 read; 1 the file cannot be read or is not a data file;\n"
    "2 a usage error.\n";

std::string Channels(bool ch1, const std::string& unit1, bool ch2, const std::string& unit2) {
  std::string s;
  if (ch1) s += "CH1 (" + unit1 + ")";
  if (ch2) s += std::string(s.empty() ? "" : ", ") + "CH2 (" + unit2 + ")";
  return s.empty() ? "none" : s;
}

std::string Number(double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%g", v);
  return buf;
}

// The foreign tag, when it is short readable text worth showing.
void PrintLine(const char* label, const std::string& value) {
  std::printf("%-22s %s\n", label, value.c_str());
}

void PrintStore(const CDTDoc& doc) {
  const bool ch1 = doc.hasCh1 == 1, ch2 = doc.hasCh2 == 1;
  PrintLine("RMS samples:", std::to_string(doc.rmsCount) + " per channel");
  PrintLine("RMS channels:", Channels(ch1, doc.rmsUnitCh1, ch2, doc.rmsUnitCh2));
  PrintLine("RMS start:", FormatTime(doc.rmsStartTime, kSampleTimeFormat));
  PrintLine("RMS interval:", Number(doc.rmsInterval) + " s");
  const StoreStatisticsTexts shown = ShownStoreStatistics(doc, doc.scaling);
  if (ch1) {
    PrintLine("CH1 maximum:", shown.max[0]);
    PrintLine("CH1 minimum:", shown.min[0]);
  }
  if (ch2) {
    PrintLine("CH2 maximum:", shown.max[1]);
    PrintLine("CH2 minimum:", shown.min[1]);
  }
  PrintLine("TR records:", std::to_string(doc.trCount));
  if (doc.trCount > 0) {
    const TimeStamp first = doc.trTimes.front(), last = doc.trTimes.back();
    PrintLine("TR times:",
              FormatTime(first, kSampleTimeFormat) + " .. " + FormatTime(last, kSampleTimeFormat));
  }
  PrintLine("Rise / drop level:", Number(doc.riseLevel) + " / " + Number(doc.dropLevel));
}

void PrintRealTime(const CDTDoc& doc) {
  const bool ch1 = doc.rtHasCh1 == 1, ch2 = doc.rtHasCh2 == 1;
  PrintLine("Real-time points:", std::to_string(doc.rtCount));
  PrintLine("Real-time channels:", Channels(ch1, doc.rtUnitCh1, ch2, doc.rtUnitCh2));
  PrintLine("Real-time start:", FormatTime(doc.rtStartTime, kSampleTimeFormat));
  PrintLine("Real-time interval:", std::to_string(doc.rtInterval) + " s");
  const RealTimeStatisticsTexts shown = ShownRealTimeStatistics(doc, doc.scaling);
  for (std::size_t c = 0; c < 2; ++c) {
    if ((c == 0 && !ch1) || (c == 1 && !ch2)) continue;
    const std::string name = "CH" + std::to_string(c + 1);
    PrintLine((name + " RMS max:").c_str(), shown.rmsMax[c]);
    PrintLine((name + " RMS min:").c_str(), shown.rmsMin[c]);
    PrintLine((name + " F(Hz) max:").c_str(), shown.freqMax[c]);
    PrintLine((name + " F(Hz) min:").c_str(), shown.freqMin[c]);
  }
  if (doc.HasApparentPower()) {
    PrintLine("S(VA) max:", shown.sMax);
    PrintLine("S(VA) min:", shown.sMin);
  }
}

int PrintInfo(Invocation& cli) {
  const CDTDoc& doc = cli.doc;
  PrintLine("File:", cli.dataPath);
  PrintLine("Tag:", cli.dataTag);
  // A file holding only a run has no STORE section worth showing (its start
  // time would read 01/01/70).
  if (HoldsStoreData(doc) || !HoldsRun(doc)) {
    PrintStore(doc);
  } else {
    PrintLine("STORE data:", "none");
  }
  if (cli.dataTag == kTagRealTime) PrintRealTime(doc);
  return 0;
}

int RunInfo(const std::vector<std::string>& args) {
  return RunSubcommand(Subcommand(kCommand, kHelp).ReadsDataFile().ScalesValues().Body(PrintInfo),
                       args);
}

const CliRegistrar kRegistrar{kCommand, "summary of a data file (.stdata)", RunInfo};

}  // namespace
}  // namespace acv::cli
