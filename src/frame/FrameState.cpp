#include "frame/FrameState.h"

#include "frame/Commands.h"

namespace acv {

int DisplayKindOf(DisplayMode mode) {
  switch (mode) {
    case DisplayMode::StoreRms:
      return 1;
    case DisplayMode::StoreTr:
      return 2;
    case DisplayMode::RealTimeEpa:
      return 3;
    case DisplayMode::RealTimeRms:
      return 4;
    case DisplayMode::RealTimeFreq:
      return 6;
    case DisplayMode::RealTimeS:
      return 7;
    case DisplayMode::None:
      break;
  }
  return 0;
}

const char* ModeName(DisplayMode mode) {
  switch (mode) {
    case DisplayMode::StoreRms:
      return "STORE RMS";
    case DisplayMode::StoreTr:
      return "STORE TR";
    case DisplayMode::RealTimeEpa:
      return "REAL TIME EPA";
    case DisplayMode::RealTimeRms:
      return "REAL TIME RMS";
    case DisplayMode::RealTimeFreq:
      return "REAL TIME F(Hz)";
    case DisplayMode::RealTimeS:
      return "REAL TIME S(VA)";
    case DisplayMode::None:
      break;
  }
  return "";
}

bool IsRealTimeMode(DisplayMode mode) {
  return mode == DisplayMode::RealTimeEpa || mode == DisplayMode::RealTimeRms ||
         mode == DisplayMode::RealTimeFreq || mode == DisplayMode::RealTimeS;
}

void TakeDataFacts(ViewFacts& facts, const CDTDoc& doc) {
  facts.rmsCount = doc.rmsCount;
  facts.trCount = doc.trCount;
  facts.epaCount = doc.epaCount;
  facts.rtCount = doc.rtCount;
  facts.rtHasCh1 = doc.rtHasCh1 == 1;
  facts.rtHasCh2 = doc.rtHasCh2 == 1;
  facts.rtUnitCh1 = doc.rtUnitCh1;
  facts.rtUnitCh2 = doc.rtUnitCh2;
}

FrameState::FrameState() {
  const AppSettings defaults;
  TakeAxes(defaults);
}

DisplayMode FrameState::ActiveMode() const {
  if (storeRmsMode == 1) return DisplayMode::StoreRms;
  if (storeTrMode == 1) return DisplayMode::StoreTr;
  if (epaMode == 1) return DisplayMode::RealTimeEpa;
  if (rtRmsMode == 1) return DisplayMode::RealTimeRms;
  if (rtFreqMode == 1) return DisplayMode::RealTimeFreq;
  if (rtSMode == 1) return DisplayMode::RealTimeS;
  return DisplayMode::None;
}

bool FrameState::IsActive(DisplayMode mode) const {
  switch (mode) {
    case DisplayMode::StoreRms:
      return storeRmsMode == 1;
    case DisplayMode::StoreTr:
      return storeTrMode == 1;
    case DisplayMode::RealTimeEpa:
      return epaMode == 1;
    case DisplayMode::RealTimeRms:
      return rtRmsMode == 1;
    case DisplayMode::RealTimeFreq:
      return rtFreqMode == 1;
    case DisplayMode::RealTimeS:
      return rtSMode == 1;
    case DisplayMode::None:
      break;
  }
  return ActiveMode() == DisplayMode::None;
}

void FrameState::SetOnlyMode(DisplayMode mode) {
  storeRmsMode = mode == DisplayMode::StoreRms;
  storeTrMode = mode == DisplayMode::StoreTr;
  epaMode = mode == DisplayMode::RealTimeEpa;
  rtRmsMode = mode == DisplayMode::RealTimeRms;
  rtFreqMode = mode == DisplayMode::RealTimeFreq;
  rtSMode = mode == DisplayMode::RealTimeS;
}

void FrameState::ClearMode(DisplayMode mode) {
  switch (mode) {
    case DisplayMode::StoreRms:
      storeRmsMode = 0;
      break;
    case DisplayMode::StoreTr:
      storeTrMode = 0;
      break;
    case DisplayMode::RealTimeEpa:
      epaMode = 0;
      break;
    case DisplayMode::RealTimeRms:
      rtRmsMode = 0;
      break;
    case DisplayMode::RealTimeFreq:
      rtFreqMode = 0;
      break;
    case DisplayMode::RealTimeS:
      rtSMode = 0;
      break;
    case DisplayMode::None:
      break;
  }
}

bool FrameState::OtherRealTimeDisplayActive() const {
  return rtRmsMode == 1 || rtFreqMode == 1 || rtSMode == 1;
}

bool FrameState::Enabled(int id, const ViewFacts& f) const {
  const bool idle = realTimeStopped == 1;
  const bool hasPoints = f.lastPoint != 0;
  switch (id) {
    case cmd::kSave:
    case cmd::kPrintSetup:
    case cmd::kPrintPreviewGraph:
    case cmd::kPrintGraph:
    case cmd::kDataList:
    case cmd::kGraph:
      return hasPoints;
    case cmd::kPrintPreviewList:
    case cmd::kPrintList:
      return hasPoints && f.dataListShown;
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
      return f.displayMode != 0 && storeTrMode == 0 && epaMode == 0;
    case cmd::kStoreRms:
      return f.rmsCount != 0;
    case cmd::kStoreTr:
      return f.trCount != 0;
    case cmd::kRealTimeEpa:
      return f.epaCount != 0;
    case cmd::kRealTimeRms:
    case cmd::kRealTimeFreq:
      return f.rtCount != 0;
    case cmd::kRealTimeS:
      // S(VA) needs one voltage and one current channel.
      return f.rtCount != 0 && f.rtHasCh1 && f.rtHasCh2 && f.rtUnitCh1 != f.rtUnitCh2;
    default:
      return true;
  }
}

bool FrameState::Checked(int id) const {
  switch (id) {
    case cmd::kToggleInstrument:
      return instrumentPaneShown == 1;
    case cmd::kToggleInfoPanel:
      return infoPanelShown == 1;
    case cmd::kStoreRms:
      return storeRmsMode == 1;
    case cmd::kStoreTr:
      return storeTrMode == 1;
    case cmd::kRealTimeEpa:
      return epaMode == 1;
    case cmd::kRealTimeRms:
      return rtRmsMode == 1;
    case cmd::kRealTimeFreq:
      return rtFreqMode == 1;
    case cmd::kRealTimeS:
      return rtSMode == 1;
    default:
      return false;
  }
}

bool FrameState::Checkable(int id) {
  switch (id) {
    case cmd::kToggleInstrument:
    case cmd::kToggleInfoPanel:
    case cmd::kStoreRms:
    case cmd::kStoreTr:
    case cmd::kRealTimeEpa:
    case cmd::kRealTimeRms:
    case cmd::kRealTimeFreq:
    case cmd::kRealTimeS:
      return true;
    default:
      return false;
  }
}

void FrameState::TakeAxes(const AppSettings& settings) {
  yAxisHigh = settings.yAxisHigh;
  yAxisLow = settings.yAxisLow;
}

void FrameState::PutAxes(AppSettings& settings) const {
  settings.yAxisHigh = yAxisHigh;
  settings.yAxisLow = yAxisLow;
}

int FrameState::ToggleInstrumentColumn() {
  if (instrumentPaneShown == 1) {
    instrumentPaneShown = 0;
    instrumentPaneWidth = 0;
  } else {
    instrumentPaneShown = 1;
    instrumentPaneWidth = kInstrumentWidth;
  }
  return instrumentPaneWidth;
}

int FrameState::ToggleInfoPanel() {
  infoPanelShown = infoPanelShown == 1 ? 0 : 1;
  return infoPanelShown == 1 ? kInfoPanelHeight : 0;
}

}  // namespace acv
