// Open, Save, Previous Measurement and closing the window.
#include <QCloseEvent>
#include <QDir>
#include <QGuiApplication>
#include <QMenu>
#include <QStatusBar>

#include "data/DataFile.h"
#include "data/Export.h"
#include "data/RunRecovery.h"
#include "frame/Commands.h"
#include "frame/DocumentName.h"
#include "graph/CDTView.h"
#include "ui/AppInfo.h"
#include "ui/CMainFrame.h"
#include "ui/Prompter.h"

namespace acv {
namespace {

// A wait cursor for the length of a file operation.
class WaitCursor {
 public:
  WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace

bool CMainFrame::AskToSaveFirst(SavePrompt prompt) {
  if (!NeedsSavePrompt(prompt, frame_, Facts())) return true;
  const QString question = QString::fromUtf8(PromptText(prompt));
  bool yes = false;
  if (prompt == SavePrompt::BeforeClose) {
    // Closing may be called off: the window stays and nothing is lost.
    const Answer answer = prompter_->AskYesNoCancel(this, question);
    if (answer == Answer::Cancel) return false;
    yes = answer == Answer::Yes;
  } else {
    yes = prompter_->AskYesNo(this, question);
  }
  const bool saved = yes && SaveData();
  return AfterSavePrompt(prompt, frame_, yes, saved);
}

bool CMainFrame::SaveData() {
  const QString chosen = prompter_->SaveFileName(
      this, QString::fromStdString(ProposedSaveName(LocalNow())), SaveKind::Data);
  if (chosen.isEmpty()) return false;
  std::string error;
  {
    WaitCursor wait;
    error = SaveDataAndExport(doc_, chosen.toStdString());
  }
  if (!error.empty()) {
    // The flags stay set: the data are still unsaved and will be offered
    // again before anything replaces them.
    prompter_->Message(this, QString::fromStdString(error), MessageIcon::Warning);
    return false;
  }
  MarkSaved(frame_);
  SetDocument(DataPathFor(chosen.toStdString()), false);
  statusBar()->showMessage(
      QStringLiteral("Saved %1").arg(QString::fromStdString(DataPathFor(chosen.toStdString()))),
      5000);
  return true;
}

void CMainFrame::OnSave() {
  SaveData();
}

void CMainFrame::OnOpen() {
  if (!AskToSaveFirst(SavePrompt::BeforeOpen)) return;
  const QString path = prompter_->OpenFileName(this, QString::fromUtf8(kDataFilterOpen));
  if (path.isEmpty()) return;
  LoadAndShow(path, false);
}

void CMainFrame::OnPreviousMeasurement() {
  // One load is enough: a second one only repeated every message.
  LoadAndShow(QString::fromStdString(previousPath_), true);
}

bool CMainFrame::OpenDataFile(const QString& path) {
  const bool ok = LoadAndShow(path, false);
  UpdateCommands();
  return ok;
}

bool CMainFrame::LoadAndShow(const QString& path, bool previousMeasurement) {
  LoadResult result;
  {
    WaitCursor wait;
    result = previousMeasurement ? LoadPreviousMeasurement(path.toStdString(), doc_)
                                 : LoadDataFile(path.toStdString(), doc_);
  }
  if (!result.ok) {
    // A missing previous measurement is no error: there is nothing to show.
    if (!result.error.empty()) {
      prompter_->Message(this, QString::fromStdString(result.error), MessageIcon::Warning);
    }
    return false;
  }
  ShowLoadedData(result.tag);
  SetDocument(path.toStdString(), false);
  return true;
}

void CMainFrame::OfferRecovery() {
  int more = 0, busy = 0;
  const std::string folder = previousPath_.substr(0, previousPath_.find_last_of('/'));
  const std::string path = NextLeftJournal(folder, more, busy);
  if (path.empty()) return;
  LeftJournal journal;
  JournalContents contents = journal.Take(path);
  const auto warn = [this](const std::string& text) {
    if (!text.empty()) prompter_->Message(this, QString::fromStdString(text), MessageIcon::Warning);
  };
  if (!journal.Taken()) return;  // another program is at it
  if (!contents.ok || contents.run.rtCount == 0) {
    // Nothing to bring back; the file is kept under another name for a look.
    warn(contents.error);
    warn(journal.SetAside());
    return;
  }
  if (!prompter_->AskYesNo(this, QString::fromStdString(RecoveryQuestion(contents)))) {
    warn(journal.SetAside());
    return;
  }
  const std::string summary = RecoverySummary(contents);
  const std::int32_t dropped = contents.dropped;
  const Adoption adopted = AdoptRecoveredRun(contents, journal, previousPath_, doc_);
  ShowLoadedData(kTagRealTime);
  SetDocument({}, true);
  // The points are in no data file of the user's yet.
  frame_.dataUnsaved = 1;
  frame_.realTimePromptArmed = 1;
  frame_.runUnsaved = 1;
  UpdateCommands();
  if (!adopted.problem.empty() || dropped > 0) {
    warn(adopted.problem.empty() ? summary : summary + " " + adopted.problem);
  }
  statusBar()->showMessage(QString::fromStdString(summary), 8000);
}

// ---- the document's name: title and recent files -----------------------------------

void CMainFrame::SetDocument(const std::string& path, bool unsaved) {
  documentPath_ = path;
  documentUnsaved_ = unsaved;
  // The previous-measurement file is the program's own, not one the user chose.
  if (!path.empty() && path != previousPath_) {
    RememberRecentFile(settings_.recentFiles, path);
    FillRecentFilesMenu();
  }
  UpdateTitle();
}

void CMainFrame::UpdateTitle() {
  setWindowTitle(QString::fromStdString(
      WindowTitle(kAppCaption, documentPath_, view_->Display().lastPoint != 0, documentUnsaved_)));
}

void CMainFrame::CreateRecentFilesMenu(QMenu* fileMenu) {
  recentMenu_ = fileMenu->addMenu(QStringLiteral("Recent &Files"));
  recentMenu_->setObjectName(QStringLiteral("recentFilesMenu"));
  connect(recentMenu_, &QMenu::aboutToShow, this, &CMainFrame::FillRecentFilesMenu);
  FillRecentFilesMenu();
}

void CMainFrame::FillRecentFilesMenu() {
  recentMenu_->clear();
  const std::string home = QDir::homePath().toStdString();
  for (std::size_t i = 0; i < settings_.recentFiles.size(); ++i) {
    const QString path = QString::fromStdString(settings_.recentFiles[i]);
    QAction* entry = recentMenu_->addAction(QString::fromStdString(
        RecentFileMenuText(static_cast<int>(i), settings_.recentFiles[i], home)));
    entry->setStatusTip(QStringLiteral("Open %1").arg(path));
    connect(entry, &QAction::triggered, this, [this, path] { OpenRecentFile(path); });
  }
}

void CMainFrame::OpenRecentFile(const QString& path) {
  if (!CommandEnabled(cmd::kOpen)) return;  // the rule of Open: not during a run
  if (!AskToSaveFirst(SavePrompt::BeforeOpen)) return;
  // A file that cannot be read any more has said why; it leaves the list.
  if (!LoadAndShow(path, false)) ForgetRecentFile(settings_.recentFiles, path.toStdString());
  FillRecentFilesMenu();
  UpdateCommands();
}

void CMainFrame::WriteSettings() {
  settings_.rtInterval = doc_.rtInterval;
  settings_.realTimePoints = realTime_->realTimePoints;
  frame_.PutAxes(settings_);
  if (!SaveSettings(settings_, settingsPath_)) {
    statusBar()->showMessage(QStringLiteral("The settings could not be written to %1")
                                 .arg(QString::fromStdString(settingsPath_)));
  }
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  if (closeConfirmed_) {
    event->accept();
    return;
  }
  event->ignore();
  if (closing_) return;  // the real close is on its way
  WriteSettings();
  // Data the user wanted to keep but could not save keep the window open.
  if (!AskToSaveFirst(SavePrompt::BeforeClose)) {
    UpdateCommands();
    return;
  }
  tools_->CloseDataList();
  if (link_->realTimeStopped == 0) realTime_->StopRealTime(RunEnd::Stopped);
  closing_ = true;
  timers_->Start(timer::kRealClose, 100);
}

}  // namespace acv
