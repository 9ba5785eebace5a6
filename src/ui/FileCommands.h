#pragma once
// The File menu's data commands, a collaborator the main window owns: Open,
// Save, Export CSV, Previous Measurement and Recent Files, the "save first?"
// questions that guard them, and the document's name in the title bar and
// the recent-file list. The window shows what a load brought (showLoaded)
// and brings its commands in line afterwards (commandsChanged).
#include <QString>
#include <functional>
#include <string>

#include "data/CDTDoc.h"
#include "data/Settings.h"
#include "frame/FrameState.h"
#include "frame/SavePrompts.h"
#include "ui/FrameParts.h"

class QMenu;

namespace acv {

class FileCommands {
 public:
  // What the commands read and change of the main window; all outlive this object.
  struct Host : FrameParts {
    CDTDoc& data;  // a load replaces it
    FrameState& frame;
    AppSettings& settings;  // the recent files
    const std::string& previousPath;
    std::function<ViewFacts()> facts;
    std::function<bool(int)> commandEnabled;
    std::function<void(const std::string& tag)> showLoaded;
    std::function<void()> commandsChanged;
    std::function<void(const QString& text, int milliseconds)> showStatus;
  };
  explicit FileCommands(Host host);

  void Open();
  bool Save();  // true when the data were written
  void ExportCsv();
  void PreviousMeasurement();
  // Opens a file named on the command line or by the desktop: false with a
  // message when it cannot be read; the data on show stay as they were.
  bool OpenDataFile(const QString& path);

  // Asks the question when data would be replaced or dropped unsaved, and
  // saves on Yes; false when the caller must not go on.
  bool AskToSaveFirst(SavePrompt prompt);

  void CreateRecentFilesMenu(QMenu* fileMenu);
  QMenu* RecentFilesMenu() const { return recentMenu_; }
  // The recent files are opened as Open opens a file.
  void EnableRecentFiles(bool openEnabled);

  // The data on show came from (or went to) this file; empty for data from
  // the logger. Sets the title and the recent-file list.
  void SetDocument(const std::string& path, bool unsaved);
  void UpdateTitle();
  // The data file on show; "" for data not from a file or from the
  // program's own previous measurement.
  std::string DocumentPath() const;

 private:
  bool LoadAndShow(const QString& path, bool previousMeasurement);
  void FillRecentFilesMenu();
  void OpenRecentFile(const QString& path);
  void Warn(const std::string& text);

  Host host_;
  QMenu* recentMenu_ = nullptr;
  std::string documentPath_;
  bool documentUnsaved_ = false;
};

}  // namespace acv
