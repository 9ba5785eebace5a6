// The display modes as the window applies them: the rules decide (frame/
// DisplayModes), the view, the splitter and the panels follow.
#include <QSplitter>
#include <QStatusBar>

#include "data/DataFile.h"
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
  tools_->FollowModeEffects(effects);
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

void CMainFrame::ShowNewData(DisplayMode mode, bool fromFile, const std::string& site) {
  // A site's timeline carries the site's own scaling; other data the user's.
  frame_.siteOnShow = site;
  if (site.empty()) analysis_->SetStoreRuns({});
  doc_.scaling = site.empty() ? settings_.channelScaling : ChannelScaling{};
  analysis_->DataChanged();
  DisplaySetup setup = view_->Display();
  setup.dataSaved = fromFile;
  setup.firstPoint = 1;
  if (setup.displayMode == 0) setup.displayMode = 1;
  view_->ApplyDisplay(setup);
  frame_.ClearMode(mode);
  tools_->ClosePanels();
  RunModeCommand(mode, true);
  view_->DataChanged();
  timers_->Start(timer::kRedrawAfterLoad, 50);
}

void CMainFrame::ShowLoadedData(const std::string& tag) {
  ShowNewData(tag == kTagRealTime ? DisplayMode::RealTimeRms : DisplayMode::StoreRms, true);
}

void CMainFrame::ShowRecoveredRun() {
  ShowLoadedData(kTagRealTime);
  files_->SetDocument({}, true);
  MarkRunUnsaved(frame_);
  UpdateCommands();
}

void CMainFrame::ShowLibraryData(CDTDoc& data, const ChannelScaling& scaling,
                                 const std::string& name) {
  doc_.TakeStoreFamilyFrom(data);
  doc_.readTag = data.readTag;
  ShowLoadedData(kTagStore);
  // The site's units: the figures then match what the library says of it.
  // The user's own scaling stays theirs and comes back with the next data.
  ShowInScaling(scaling);
  files_->SetDocument({}, false);
  UpdateCommands();
  statusBar()->showMessage(
      QStringLiteral("Opened %1 from the library.").arg(QString::fromStdString(name)), 5000);
}

void CMainFrame::ShowTrRecord(int record) {
  if (!frame_.IsActive(DisplayMode::StoreTr)) return;
  DisplaySetup setup = view_->Display();
  InfoTexts info = view_->Info();
  if (!acv::ShowTrRecord(setup, info, doc_, record)) return;
  view_->ApplyDisplay(setup);
  view_->SetInfoTexts(info);
  view_->ZoomReset();
  tools_->DisplayedRowsChanged();
}

void CMainFrame::OnTrMarkActivated(int record) {
  if (!frame_.IsActive(DisplayMode::StoreRms) || !CommandEnabled(cmd::kStoreTr)) return;
  RunModeCommand(DisplayMode::StoreTr);
  ShowTrRecord(record);
  tools_->SelectTrRecord(record);
  UpdateCommands();
}

}  // namespace acv
