// The display modes as the window applies them: the rules decide (frame/
// DisplayModes), the view, the splitter and the panels follow.
#include <QSplitter>

#include "frame/Commands.h"
#include "graph/CDTView.h"
#include "ui/CMainFrame.h"

namespace acv {

void CMainFrame::RunModeCommand(DisplayMode mode, bool keepDataList) {
  SyncLinkState();
  DisplaySetup setup = view_->Display();
  InfoTexts info = view_->Info();
  const PanelFacts panels{tools_->TrFileList() != nullptr, tools_->PowerPanel() != nullptr};
  const ModeEffects effects = EnterDisplayMode(mode, frame_, setup, info, doc_, panels);
  view_->SetDisplayMode(frame_.ActiveMode());
  view_->ApplyDisplay(setup);
  view_->SetInfoTexts(info);
  ApplyModeEffects(effects);
  tools_->FollowDisplay(effects.layoutChanged, keepDataList);
}

void CMainFrame::OnDisplayCommand(DisplayMode mode) {
  RunModeCommand(mode);
  tools_->PlaceDataList();
}

void CMainFrame::ApplyModeEffects(const ModeEffects& effects) {
  // The column first: the panels are placed over it.
  if (effects.instrumentWidth >= 0) SetInstrumentWidth(effects.instrumentWidth);
  if (effects.powerPanel == PanelRequest::Close) tools_->ClosePanels();
  if (effects.trFileList == PanelRequest::Close) tools_->CloseTrFileList();
  if (effects.trFileList == PanelRequest::Open) tools_->OpenTrFileList();
  if (effects.powerPanel == PanelRequest::Open) tools_->OpenPowerPanel();
  if (tools_->PowerPanel() != nullptr) {
    if (effects.computeWaveStatistics) tools_->ComputeWaveStatistics();
    if (effects.updatePowerText) {
      PowerPanelData& texts = tools_->PowerTexts();
      texts.apparentPower = ApparentPowerText(texts.channel[0].rms, texts.channel[1].rms);
    }
    tools_->ShowPowerTexts();
  }
  if (effects.realTimeSpan > 0) view_->FitRealTimeSpan(effects.realTimeSpan);
  if (effects.zoomReset) view_->ZoomReset();
}

void CMainFrame::SetInstrumentWidth(int width) {
  if (splitter_ == nullptr) return;
  const int total = std::max(splitter_->width(), width + 200);
  splitter_->setSizes({width, total - width});
}

void CMainFrame::ToggleInstrumentColumn() {
  SetInstrumentWidth(frame_.ToggleInstrumentColumn());
}

void CMainFrame::ToggleInfoPanel() {
  DisplaySetup setup = view_->Display();
  ApplyInfoPanelToggle(frame_, setup);
  view_->ApplyDisplay(setup);
}

void CMainFrame::ShowLoadedData(const std::string& tag) {
  analysis_->DataChanged();
  DisplaySetup setup = view_->Display();
  setup.dataSaved = true;
  setup.firstPoint = 1;
  if (setup.displayMode == 0) setup.displayMode = 1;
  view_->ApplyDisplay(setup);
  // The display is entered afresh, so a file with other channels than the
  // data before it gets its own axes and units.
  const DisplayMode mode = tag == kTagRealTime ? DisplayMode::RealTimeRms : DisplayMode::StoreRms;
  frame_.ClearMode(mode);
  tools_->ClosePanels();
  RunModeCommand(mode, true);
  view_->DataChanged();
  timers_->Start(timer::kRedrawAfterLoad, 50);
}

void CMainFrame::OnTrMarkActivated(int record) {
  if (!frame_.IsActive(DisplayMode::StoreRms) || !CommandEnabled(cmd::kStoreTr)) return;
  RunModeCommand(DisplayMode::StoreTr);
  tools_->ShowTrRecord(record);
  tools_->SelectTrRecord(record);
  UpdateCommands();
}

}  // namespace acv
