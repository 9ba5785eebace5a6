#include "frame/CommandRules.h"

#include "frame/Commands.h"

namespace acv {

namespace {

// The display mode a mode command enters; None for every other command.
DisplayMode ModeOfCommand(int id) {
  switch (id) {
    case cmd::kStoreRms:
      return DisplayMode::StoreRms;
    case cmd::kStoreTr:
      return DisplayMode::StoreTr;
    case cmd::kRealTimeEpa:
      return DisplayMode::RealTimeEpa;
    case cmd::kRealTimeRms:
      return DisplayMode::RealTimeRms;
    case cmd::kRealTimeFreq:
      return DisplayMode::RealTimeFreq;
    case cmd::kRealTimeS:
      return DisplayMode::RealTimeS;
    default:
      return DisplayMode::None;
  }
}

// The list pages are made from the data on show, with or without the Data
// List on screen, so printing, previewing and a PDF file offer them alike.
bool ListPagesOffered(const ViewFacts& f) {
  return f.lastPoint != 0 && f.displayMode != 0;
}

// Commands that read every point of the data set in memory; a series read
// where it lies (a site too long to hold) has none there.
bool ReadsEveryPoint(int id) {
  switch (id) {
    case cmd::kExportCsv:
    case cmd::kPrintPreviewList:
    case cmd::kPrintList:
    case cmd::kExportPdfList:
    case cmd::kEvents:
    case cmd::kStatistics:
    case cmd::kDistribution:
    case cmd::kPrintPreviewSummary:
    case cmd::kPrintSummary:
    case cmd::kExportPdfSummary:
      return true;
    default:
      return false;
  }
}

}  // namespace

bool CommandEnabled(int id, const FrameState& frame, const ViewFacts& f) {
  const bool idle = frame.realTimeStopped == 1;
  const bool hasPoints = f.lastPoint != 0;
  if (f.pointsOutside && frame.IsActive(DisplayMode::StoreRms) && ReadsEveryPoint(id)) {
    return false;
  }
  switch (id) {
    case cmd::kSave:
      return hasPoints && !f.siteOnShow;
    case cmd::kExportCsv:
    case cmd::kPrintSetup:
    case cmd::kPrintPreviewGraph:
    case cmd::kPrintGraph:
    case cmd::kDataList:
    case cmd::kGraph:
      return hasPoints;
    case cmd::kPrintPreviewList:
    case cmd::kPrintList:
    case cmd::kExportPdfList:
      return ListPagesOffered(f);
    case cmd::kEvents:
    case cmd::kExportPdfGraph:
    case cmd::kSaveGraphPicture:
    case cmd::kAxisSetup:
    case cmd::kStatistics:
    case cmd::kDistribution:
    case cmd::kPrintPreviewSummary:
    case cmd::kPrintSummary:
    case cmd::kExportPdfSummary:
    case cmd::kFitAxes:
      return hasPoints && f.displayMode != 0;
    case cmd::kAddToLibrary:
      // A run's points still grow: the library takes a run once it ended.
      return hasPoints && idle && !f.siteOnShow;
    case cmd::kChannelScaling:
      // A site's timeline is in the site's own units.
      return !f.siteOnShow;
    case cmd::kSiteTimeline:  // it replaces the data on show, as Open does
    case cmd::kOpen:
    case cmd::kCorrectTime:
    case cmd::kLoggerSetup:
    case cmd::kDownload:
    case cmd::kPreviousMeasurement:
    case cmd::kRun:
      return idle;
    case cmd::kStop:
      return !idle;
    case cmd::kImportToList:
      return false;  // nothing imports into the list yet
    case cmd::kToggleInfoPanel:
      // The STORE TR and EPA displays keep their thin strip.
      return f.displayMode != 0 && !frame.IsActive(DisplayMode::StoreTr) &&
             !frame.IsActive(DisplayMode::RealTimeEpa);
    case cmd::kStoreRms:
      return f.rmsCount != 0;
    case cmd::kStoreTr:
      return f.trCount != 0;
    case cmd::kRealTimeEpa:
    case cmd::kPowerPanel:  // its values come from a real-time wave
      return f.epaCount != 0;
    case cmd::kRealTimeRms:
    case cmd::kRealTimeFreq:
      return f.rtCount != 0;
    case cmd::kExportComtrade:
      // A waveform on show: a TR record, or a captured real-time wave.
      return hasPoints && ((frame.IsActive(DisplayMode::StoreTr) && f.trCount != 0) ||
                           (frame.IsActive(DisplayMode::RealTimeEpa) && f.epaCount != 0));
    case cmd::kRealTimeS:
      // S(VA) needs one voltage and one current channel.
      return f.rtCount != 0 && f.rtHasCh1 && f.rtHasCh2 && f.rtUnitCh1 != f.rtUnitCh2;
    default:
      return true;
  }
}

bool CommandChecked(int id, const FrameState& frame) {
  switch (id) {
    case cmd::kToggleInstrument:
      return frame.instrumentPaneShown == 1;
    case cmd::kToggleInfoPanel:
      return frame.infoPanelShown == 1;
    default: {
      const DisplayMode mode = ModeOfCommand(id);
      return mode != DisplayMode::None && frame.IsActive(mode);
    }
  }
}

bool CommandCheckable(int id) {
  return id == cmd::kToggleInstrument || id == cmd::kToggleInfoPanel ||
         ModeOfCommand(id) != DisplayMode::None;
}

}  // namespace acv
