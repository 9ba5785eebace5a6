#include "ui/FileCommands.h"

#include <QDir>
#include <QGuiApplication>
#include <QMenu>

#include "data/DataFile.h"
#include "data/Export.h"
#include "data/RealTimeExport.h"
#include "frame/Commands.h"
#include "frame/DocumentName.h"
#include "frame/SaveTargets.h"
#include "graph/CDTView.h"
#include "ui/AppInfo.h"
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

FileCommands::FileCommands(Host host) : host_(std::move(host)) {}

void FileCommands::Warn(const std::string& text) {
  if (!text.empty()) {
    host_.prompter.Message(&host_.owner, QString::fromStdString(text), MessageIcon::Warning);
  }
}

bool FileCommands::AskToSaveFirst(SavePrompt prompt) {
  if (!NeedsSavePrompt(prompt, host_.frame, host_.facts())) return true;
  const QString question = QString::fromUtf8(PromptText(prompt));
  bool yes = false;
  if (prompt == SavePrompt::BeforeClose) {
    // Closing may be called off: the window stays and nothing is lost.
    const Answer answer = host_.prompter.AskYesNoCancel(&host_.owner, question);
    if (answer == Answer::Cancel) return false;
    yes = answer == Answer::Yes;
  } else {
    yes = host_.prompter.AskYesNo(&host_.owner, question);
  }
  const bool saved = yes && Save();
  return AfterSavePrompt(prompt, host_.frame, yes, saved);
}

bool FileCommands::Save() {
  const QString chosen = host_.prompter.SaveFileName(
      &host_.owner, QString::fromStdString(ProposedSaveName(LocalNow())), SaveKind::Data);
  if (chosen.isEmpty()) return false;
  std::string error;
  {
    WaitCursor wait;
    error = SaveDataAndExport(host_.data, chosen.toStdString());
  }
  if (!error.empty()) {
    // The flags stay set: the data are still unsaved and will be offered
    // again before anything replaces them.
    Warn(error);
    return false;
  }
  MarkSaved(host_.frame);
  const std::string written = DataPathFor(chosen.toStdString());
  SetDocument(written, false);
  host_.showStatus(QStringLiteral("Saved %1").arg(QString::fromStdString(written)), 5000);
  return true;
}

void FileCommands::ExportCsv() {
  const CDTDoc& doc = host_.data;
  const bool ofRun =
      CsvOfRun(IsRealTimeMode(host_.view.Mode()), HoldsStoreData(doc), HoldsRun(doc.RealTime()));
  const std::string proposed = ProposedCsvName(DocumentPath(), ofRun, ProposedSaveName(LocalNow()));
  const QString chosen =
      host_.prompter.SaveFileName(&host_.owner, QString::fromStdString(proposed), SaveKind::Csv);
  if (chosen.isEmpty()) return;
  std::string error;
  {
    WaitCursor wait;
    error = ofRun ? SaveRealTimeCsvFile(doc.RealTime(), doc.scaling, chosen.toStdString())
                  : SaveCsvExportFile(doc, chosen.toStdString());
  }
  if (!error.empty()) {
    Warn(error);
    return;
  }
  host_.showStatus(QStringLiteral("Exported %1").arg(chosen), 5000);
}

void FileCommands::Open() {
  if (!AskToSaveFirst(SavePrompt::BeforeOpen)) return;
  const QString path =
      host_.prompter.OpenFileName(&host_.owner, QString::fromUtf8(kDataFilterOpen));
  if (path.isEmpty()) return;
  LoadAndShow(path, false);
}

void FileCommands::PreviousMeasurement() {
  // One load is enough: a second one only repeated every message.
  LoadAndShow(QString::fromStdString(host_.previousPath), true);
}

bool FileCommands::OpenDataFile(const QString& path) {
  const bool ok = LoadAndShow(path, false);
  host_.commandsChanged();
  return ok;
}

bool FileCommands::LoadAndShow(const QString& path, bool previousMeasurement) {
  LoadResult result;
  {
    WaitCursor wait;
    result = previousMeasurement ? LoadPreviousMeasurement(path.toStdString(), host_.data)
                                 : LoadDataFile(path.toStdString(), host_.data);
  }
  if (!result.ok) {
    // A missing previous measurement is no error: there is nothing to show.
    Warn(result.error);
    return false;
  }
  host_.showLoaded(result.tag);
  SetDocument(path.toStdString(), false);
  return true;
}

// ---- the document's name: title and recent files -----------------------------------

void FileCommands::SetDocument(const std::string& path, bool unsaved) {
  documentPath_ = path;
  documentUnsaved_ = unsaved;
  // The previous-measurement file is the program's own, not one the user chose.
  if (!path.empty() && path != host_.previousPath) {
    RememberRecentFile(host_.settings.recentFiles, path);
    FillRecentFilesMenu();
  }
  UpdateTitle();
}

std::string FileCommands::DocumentPath() const {
  // The previous measurement lives in the program's own folder: not a file
  // of the user's to name or to write beside.
  return documentPath_ == host_.previousPath ? std::string() : documentPath_;
}

void FileCommands::UpdateTitle() {
  host_.owner.setWindowTitle(QString::fromStdString(
      WindowTitle(kAppCaption, documentPath_, host_.view.Display().lastPoint != 0, documentUnsaved_,
                  host_.frame.siteOnShow)));
}

void FileCommands::CreateRecentFilesMenu(QMenu* fileMenu) {
  recentMenu_ = fileMenu->addMenu(QStringLiteral("Recent &Files"));
  recentMenu_->setObjectName(QStringLiteral("recentFilesMenu"));
  QObject::connect(recentMenu_, &QMenu::aboutToShow, recentMenu_,
                   [this] { FillRecentFilesMenu(); });
  FillRecentFilesMenu();
}

void FileCommands::EnableRecentFiles(bool openEnabled) {
  recentMenu_->setEnabled(openEnabled && !host_.settings.recentFiles.empty());
}

void FileCommands::FillRecentFilesMenu() {
  if (recentMenu_ == nullptr) return;
  recentMenu_->clear();
  const std::string home = QDir::homePath().toStdString();
  const std::vector<std::string>& files = host_.settings.recentFiles;
  for (std::size_t i = 0; i < files.size(); ++i) {
    const QString path = QString::fromStdString(files[i]);
    QAction* entry = recentMenu_->addAction(
        QString::fromStdString(RecentFileMenuText(static_cast<int>(i), files[i], home)));
    entry->setStatusTip(QStringLiteral("Open %1").arg(path));
    QObject::connect(entry, &QAction::triggered, recentMenu_,
                     [this, path] { OpenRecentFile(path); });
  }
}

void FileCommands::OpenRecentFile(const QString& path) {
  if (!host_.commandEnabled(cmd::kOpen)) return;  // the rule of Open: not during a run
  if (!AskToSaveFirst(SavePrompt::BeforeOpen)) return;
  // A file that cannot be read any more has said why; it leaves the list.
  if (!LoadAndShow(path, false)) {
    ForgetRecentFile(host_.settings.recentFiles, path.toStdString());
  }
  FillRecentFilesMenu();
  host_.commandsChanged();
}

}  // namespace acv
