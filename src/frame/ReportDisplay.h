#pragma once
// A display set up for a report without a window (the command line): the
// mode entered as its command would enter it, with the user's Y axes, and in
// STORE TR the chosen record shown as the TR File List would show it.
#include <string>

#include "data/CDTDoc.h"
#include "data/Settings.h"
#include "frame/DisplayModes.h"
#include "frame/ReportPages.h"

namespace acv {

struct ReportDisplay {
  DisplayMode mode = DisplayMode::None;
  DisplaySetup setup;
  InfoTexts info;
  ReportFacts Facts() const;
};

// The mode a data file opens in: REAL TIME RMS for a real-time file, STORE
// RMS otherwise.
DisplayMode OpeningMode(const CDTDoc& doc);

// Why the mode cannot be shown for these data ("" when it can); record
// counts TR records from 0.
std::string ReportModeProblem(const CDTDoc& doc, DisplayMode mode, int record);

ReportDisplay PrepareReportDisplay(const CDTDoc& doc, DisplayMode mode, int record,
                                   const AppSettings& settings);

}  // namespace acv
