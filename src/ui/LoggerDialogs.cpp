#include "ui/LoggerDialogs.h"

#include <QPushButton>
#include <QTimer>
#include <algorithm>

#include "frame/Commands.h"
#include "graph/CDTView.h"
#include "ui/Prompter.h"
#include "ui/dialogs/CCorrectTimeDlg.h"
#include "ui/dialogs/CDownloadDlg.h"
#include "ui/dialogs/CLoadingDlg.h"
#include "ui/dialogs/CLoggerSetupDlg.h"
#include "ui/dialogs/CRealTimeDlg.h"

namespace acv {

namespace {

int CommandOf(DialogKind kind) {
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

}  // namespace

LoggerDialogs::LoggerDialogs(Host host) : host_(std::move(host)) {
  const std::string& previous = host_.previousPath;
  link_ = std::make_unique<LoggerLink>(host_.serial, host_.timers, *this);
  realTime_ = std::make_unique<RealTimeRun>(*link_, host_.doc, *this, previous);
  // Journals live beside the previous measurement.
  realTime_->SetJournalFolder(previous.substr(0, previous.find_last_of('/')));
  download_ = std::make_unique<Download>(*link_, host_.doc, *this, previous);
  link_->AttachRealTime(realTime_.get());
  link_->AttachDownload(download_.get());
  realTime_->realTimePoints = host_.settings.realTimePoints;

  // Made once and reused: each opening starts from the frame's values again.
  QWidget* owner = &host_.parts.owner;
  downloadDlg_ = new CDownloadDlg(owner);
  realTimeDlg_ = new CRealTimeDlg(owner);
  setupDlg_ = new CLoggerSetupDlg(owner);
  clockDlg_ = new CCorrectTimeDlg(owner);
}

LoggerDialogs::~LoggerDialogs() {
  // Dialogs still open must not call back into what is going away.
  for (DialogKind kind : {DialogKind::Download, DialogKind::RealTime, DialogKind::LoggerSetup,
                          DialogKind::CorrectTime}) {
    LoggerDialogBase* dialog = Dialog(kind);
    if (dialog != nullptr && dialog->isVisible()) dialog->reject();
  }
  open_.clear();
  loading_.reset();
}

LoggerDialogBase* LoggerDialogs::Dialog(DialogKind kind) const {
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

void LoggerDialogs::Open(DialogKind kind) {
  // While a download's progress window is up no logger dialog opens; the
  // question about unsaved data is not asked either.
  if (ProgressWindowOpen()) return;
  LoggerDialogBase* dialog = Dialog(kind);
  if (dialog->isVisible()) return;  // already open: the one instance is in use
  if (kind == DialogKind::Download && !host_.askToSaveFirst(SavePrompt::BeforeDownload)) return;
  // A new run replaces the points of the last one.
  if (kind == DialogKind::RealTime && !host_.askToSaveFirst(SavePrompt::BeforeRun)) return;
  // The dialog makes the link's opening steps itself (port search or port
  // check) and is modal for the window without a nested event loop.
  dialog->Open(*this);
}

void LoggerDialogs::Stop() {
  realTime_->StopRealTime(RunEnd::Stopped);
}

void LoggerDialogs::AutoStart(DialogKind kind) {
  LoggerDialogBase* dialog = Dialog(kind);
  if (!dialog->isVisible()) host_.runCommand(CommandOf(kind));
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

// ---- LinkHost ----------------------------------------------------------------

void LoggerDialogs::ShowMessage(const std::string& text, MessageIcon icon) {
  host_.parts.prompter.Message(&host_.parts.owner, QString::fromStdString(text), icon);
}

void LoggerDialogs::ProgressOpen(int rangeMax, int position) {
  // Owned by the main window, so it stays above it and goes with it; it is
  // still a window of its own, not part of the layout.
  if (loading_ == nullptr) loading_ = std::make_unique<CLoadingDlg>(&host_.parts.owner);
  // The window's final place is over the graph: centred across the view,
  // four window heights below its top.
  const CDTView& view = host_.parts.view;
  loading_->PlaceOver(QRect(view.mapToGlobal(QPoint(0, 0)), view.size()));
  loading_->Begin(rangeMax, position);
  host_.commandsChanged();
}

void LoggerDialogs::ProgressSet(int position) {
  if (loading_ != nullptr) loading_->SetPosition(position);
}

void LoggerDialogs::ProgressClose() {
  if (loading_ == nullptr) return;
  loading_->Finish();
  // Nothing further up the call (the download's reply handling) holds the
  // window, so it can go at once: the logger commands are free again.
  loading_.reset();
  host_.commandsChanged();
}

void LoggerDialogs::RealTimeJournalFailed(const std::string& problem) {
  const QString text = QStringLiteral(
                           "The run goes on, but it is no longer protected against "
                           "a crash: %1")
                           .arg(QString::fromStdString(problem));
  host_.showStatus(text, 0);
  // From the event loop: the run's timers keep going while the box is up.
  QMetaObject::invokeMethod(
      this,
      [this, text] {
        host_.parts.prompter.Message(&host_.parts.owner, text, MessageIcon::Warning);
      },
      Qt::QueuedConnection);
}

void LoggerDialogs::CommandAcknowledged(bool) {
  host_.showStatus(QStringLiteral("The logger accepted the command."), 5000);
}

void LoggerDialogs::PortProblem(const std::string& text) {
  // The box is shown from the event loop, never inside the link's scan; hints
  // that arrive while one is up wait for it and come in the next box rather
  // than stacking boxes.
  pendingPortHints_ << QString::fromStdString(text);
  if (portHintQueued_) return;
  portHintQueued_ = true;
  QMetaObject::invokeMethod(
      this, [this] { ShowPortHints(); }, Qt::QueuedConnection);
}

void LoggerDialogs::ShowPortHints() {
  while (!pendingPortHints_.isEmpty()) {
    const QString text = pendingPortHints_.join(QStringLiteral("\n\n"));
    pendingPortHints_.clear();
    host_.parts.prompter.Message(&host_.parts.owner, text, MessageIcon::Warning);
  }
  portHintQueued_ = false;
}

// ---- DialogContext -------------------------------------------------------------

void LoggerDialogs::ArmSavePrompts() {
  host_.frame.realTimePromptArmed = 1;
  host_.frame.storePromptArmed = 1;
}

void LoggerDialogs::DialogOpened(ConnectionDialog* dialog) {
  if (std::find(open_.begin(), open_.end(), dialog) == open_.end()) open_.push_back(dialog);
}

void LoggerDialogs::DialogClosed(ConnectionDialog* dialog) {
  open_.erase(std::remove(open_.begin(), open_.end(), dialog), open_.end());
}

}  // namespace acv
