// The window as the logger link's host: the logger commands and their
// dialogs, the "Loading..." window, the download's end and the real-time
// observers.
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>

#include "frame/Commands.h"
#include "graph/CDTView.h"
#include "ui/CMainFrame.h"
#include "ui/Prompter.h"
#include "ui/dialogs/CCorrectTimeDlg.h"
#include "ui/dialogs/CDownloadDlg.h"
#include "ui/dialogs/CLoadingDlg.h"
#include "ui/dialogs/CLoggerSetupDlg.h"
#include "ui/dialogs/CRealTimeDlg.h"

namespace acv {

void CMainFrame::CreateLoggerDialogs() {
  // Made once and reused: each opening starts from the frame's values again.
  downloadDlg_ = new CDownloadDlg(this);
  realTimeDlg_ = new CRealTimeDlg(this);
  setupDlg_ = new CLoggerSetupDlg(this);
  clockDlg_ = new CCorrectTimeDlg(this);
}

LoggerDialogBase* CMainFrame::LoggerDialog(DialogKind kind) const {
  switch (kind) {
    case DialogKind::Download:
      return downloadDlg_;
    case DialogKind::RealTime:
      return realTimeDlg_;
    case DialogKind::LoggerSetup:
      return setupDlg_;
    case DialogKind::CorrectTime:
      return clockDlg_;
  }
  return nullptr;
}

void CMainFrame::OnLoggerCommand(DialogKind kind) {
  // While a download's progress window is up no logger dialog opens; the
  // question about unsaved data is not asked either.
  if (ProgressWindowOpen()) return;
  LoggerDialogBase* dialog = LoggerDialog(kind);
  if (dialog->isVisible()) return;  // already open: the one instance is in use
  if (kind == DialogKind::Download && !files_->AskToSaveFirst(SavePrompt::BeforeDownload)) return;
  // A new run replaces the points of the last one.
  if (kind == DialogKind::RealTime && !files_->AskToSaveFirst(SavePrompt::BeforeRun)) return;
  // The dialog makes the link's opening steps itself (port search or port
  // check) and is modal for this window without a nested event loop.
  dialog->Open(*this);
}

int CMainFrame::CommandOf(DialogKind kind) {
  switch (kind) {
    case DialogKind::Download:
      return cmd::kDownload;
    case DialogKind::RealTime:
      return cmd::kRun;
    case DialogKind::LoggerSetup:
      return cmd::kLoggerSetup;
    case DialogKind::CorrectTime:
      return cmd::kCorrectTime;
  }
  return cmd::kDownload;
}

void CMainFrame::AutoStart(DialogKind kind) {
  LoggerDialogBase* dialog = LoggerDialog(kind);
  if (!dialog->isVisible()) OnCommand(CommandOf(kind));
  if (!dialog->isVisible()) return;
  auto* poll = new QTimer(dialog);
  connect(poll, &QTimer::timeout, dialog, [dialog, poll] {
    if (!dialog->isVisible()) {
      poll->deleteLater();
    } else if (dialog->Status() == kStatusConnected) {
      poll->deleteLater();
      dialog->StartButton()->click();
    }
  });
  poll->start(100);
}

void CMainFrame::OnStop() {
  realTime_->StopRealTime(RunEnd::Stopped);
  SyncLinkState();
}

// ---- LinkHost ----------------------------------------------------------------

void CMainFrame::ShowMessage(const std::string& text, MessageIcon icon) {
  prompter_->Message(this, QString::fromStdString(text), icon);
}

bool CMainFrame::ProgressWindowOpen() const {
  return loading_ != nullptr;
}

void CMainFrame::ProgressOpen(int rangeMax, int position) {
  // Owned by this window, so it stays above it and goes with it; it is still
  // a window of its own, not part of the layout.
  if (loading_ == nullptr) loading_ = std::make_unique<CLoadingDlg>(this);
  // The window's final place is over the graph: centred across the view,
  // four window heights below its top.
  loading_->PlaceOver(QRect(view_->mapToGlobal(QPoint(0, 0)), view_->size()));
  loading_->Begin(rangeMax, position);
  UpdateCommands();
}

void CMainFrame::ProgressSet(int position) {
  if (loading_ != nullptr) loading_->SetPosition(position);
}

void CMainFrame::ProgressClose() {
  if (loading_ == nullptr) return;
  loading_->Finish();
  // Nothing further up the call (the download's reply handling) holds the
  // window, so it can go at once: the logger commands are free again.
  loading_.reset();
  UpdateCommands();
}

void CMainFrame::DownloadFinished() {
  analysis_->DataChanged();
  DisplaySetup setup = view_->Display();
  setup.firstPoint = 1;
  setup.lastPoint = doc_.rmsCount;
  setup.dataSaved = false;
  if (setup.displayMode == 0) setup.displayMode = 1;
  view_->ApplyDisplay(setup);
  // Entered afresh: the new data may have other channels and units than the
  // STORE data shown before.
  frame_.ClearMode(DisplayMode::StoreRms);
  // The transfer has ended: the panels of the old data go.
  tools_->ClosePanels();
  RunModeCommand(DisplayMode::StoreRms, true);
  frame_.dataUnsaved = 1;
  files_->SetDocument({}, true);
  view_->DataChanged();
  timers_->Start(timer::kRedrawAfterLoad, 50);
  UpdateCommands();
  statusBar()->showMessage(QStringLiteral("Downloaded %1 RMS samples and %2 TR records.")
                               .arg(doc_.rmsCount)
                               .arg(doc_.trCount),
                           8000);
  emit downloadCompleted();
}

void CMainFrame::DownloadFailed(const std::string&) {
  UpdateCommands();
}

void CMainFrame::RealTimeFirstBlock() {
  analysis_->DataChanged();  // a new run: the last run's points are gone
  SyncLinkState();
  tools_->PowerTexts().Reset();
  tools_->ShowPowerTexts();
  DisplaySetup setup = view_->Display();
  SelectFirstRealTimeDisplay(frame_, setup);
  view_->SetDisplayMode(frame_.ActiveMode());
  view_->ApplyDisplay(setup);
  files_->SetDocument({}, true);
  UpdateCommands();
}

void CMainFrame::RealTimeJournalFailed(const std::string& problem) {
  const QString text = QStringLiteral(
                           "The run goes on, but it is no longer protected against "
                           "a crash: %1")
                           .arg(QString::fromStdString(problem));
  statusBar()->showMessage(text);
  // From the event loop: the run's timers keep going while the box is up.
  QMetaObject::invokeMethod(
      this, [this, text] { prompter_->Message(this, text, MessageIcon::Warning); },
      Qt::QueuedConnection);
}

void CMainFrame::RealTimePointAdded() {
  analysis_->RunGrew();
  MarkRunUnsaved(frame_);
  const bool firstPoint = doc_.rtCount == 1;
  // The wave analysis writes into the power panel only while it is open.
  if (PowerPanel() != nullptr) {
    PowerPanelData& texts = tools_->PowerTexts();
    texts.channel = realTime_->panelTexts;
    texts.power = acv::PowerTexts(realTime_->power);
    tools_->ShowPowerTexts();
  }
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

void CMainFrame::RealTimeEnded(RunEnd) {
  SyncLinkState();
  view_->DataChanged();
  UpdateCommands();
  if (!realTime_->saveError.empty()) {
    statusBar()->showMessage(QStringLiteral("The run could not be kept as the previous "
                                            "measurement: %1")
                                 .arg(QString::fromStdString(realTime_->saveError)));
  }
  emit realTimeStopped();
}

void CMainFrame::CommandAcknowledged(bool) {
  statusBar()->showMessage(QStringLiteral("The logger accepted the command."), 5000);
}

void CMainFrame::PortProblem(const std::string& text) {
  // The box is shown from the event loop, never inside the link's scan; hints
  // that arrive while one is up wait for it and come in the next box rather
  // than stacking boxes.
  pendingPortHints_ << QString::fromStdString(text);
  if (portHintQueued_) return;
  portHintQueued_ = true;
  QMetaObject::invokeMethod(
      this, [this] { ShowPortHints(); }, Qt::QueuedConnection);
}

void CMainFrame::ShowPortHints() {
  while (!pendingPortHints_.isEmpty()) {
    const QString text = pendingPortHints_.join(QStringLiteral("\n\n"));
    pendingPortHints_.clear();
    prompter_->Message(this, text, MessageIcon::Warning);
  }
  portHintQueued_ = false;
}

}  // namespace acv
