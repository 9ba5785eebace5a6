#include "frame/FrameState.h"

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
  facts.pointsOutside = doc.rmsExternal != nullptr;
}

FrameState::FrameState() {
  const AppSettings defaults;
  TakeAxes(defaults);
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
