// What the window does with the logger's news: a finished download and a
// real-time run's first block, points and end.
#include <QStatusBar>

#include "graph/CDTView.h"
#include "ui/CMainFrame.h"

namespace acv {

void CMainFrame::OnDownloadFinished() {
  ShowNewData(DisplayMode::StoreRms, false);
  frame_.dataUnsaved = 1;
  files_->SetDocument({}, true);
  UpdateCommands();
  const QString downloaded = QStringLiteral("Downloaded %1 RMS samples and %2 TR records.")
                                 .arg(doc_.rmsCount)
                                 .arg(doc_.trCount);
  statusBar()->showMessage(downloaded, 8000);
  // When the settings name a site, the download goes there without asking;
  // the status line then tells both, and stays until the next message.
  const QString added = library_->AfterDownload();
  if (!added.isEmpty()) statusBar()->showMessage(downloaded + QStringLiteral(" ") + added);
  emit downloadCompleted();
}

void CMainFrame::OnRealTimeFirstBlock() {
  analysis_->DataChanged();  // a new run: the last run's points are gone
  SyncLinkState();
  tools_->ResetPowerTexts();
  DisplaySetup setup = view_->Display();
  SelectFirstRealTimeDisplay(frame_, setup);
  view_->SetDisplayMode(frame_.ActiveMode());
  view_->ApplyDisplay(setup);
  files_->SetDocument({}, true);
  UpdateCommands();
}

void CMainFrame::OnRealTimePointAdded() {
  analysis_->RunGrew();
  MarkRunUnsaved(frame_);
  const bool firstPoint = doc_.rtCount == 1;
  const RealTimeRun& run = logger_->RealTime();
  tools_->TakeRunTexts(run.panelTexts, run.power);
  for (DisplayMode mode : {DisplayMode::RealTimeEpa, DisplayMode::RealTimeFreq,
                           DisplayMode::RealTimeRms, DisplayMode::RealTimeS}) {
    if (!frame_.IsActive(mode)) continue;
    // At the first point the display is laid out in full.
    if (firstPoint) frame_.ClearMode(mode);
    RunModeCommand(mode);
  }
  const DisplayMode active = frame_.ActiveMode();
  if (firstPoint) {
    view_->DataChanged();
  } else if (active != DisplayMode::StoreRms && active != DisplayMode::StoreTr) {
    view_->RealTimePointAdded();
  }
  UpdateCommands();
  emit realTimePointTaken(doc_.rtCount);
}

void CMainFrame::OnRealTimeEnded() {
  SyncLinkState();
  view_->DataChanged();
  UpdateCommands();
  const std::string& saveError = logger_->RealTime().saveError;
  if (!saveError.empty()) {
    statusBar()->showMessage(QStringLiteral("The run could not be kept as the previous "
                                            "measurement: %1")
                                 .arg(QString::fromStdString(saveError)));
  }
  emit realTimeStopped();
}

}  // namespace acv
