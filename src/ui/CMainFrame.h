#pragma once
// The main window: menus, toolbar, status bar and the splitter holding the
// instrument column and the graph view. It owns the data set, the user's
// settings and the display state, and routes every command to the part that
// carries it out:
//   FileCommands      open, save, CSV, recent files, the title
//   ReportCommands    print, preview, PDF, pictures
//   DisplaySettings   colours, axes, view options, Fit
//   LoggerDialogs     the link, the logger dialogs, "Loading...", port hints
//   ToolWindows       information panel, Data List, TR File List, power panel
//   AnalysisWindows   Statistics, Events, event shading and limits
//   RecoveryOffer     the start-up question about a crashed run
// What is left here is the display modes (MainFrameModes.cpp) and showing
// new data. Rules live below the widgets: command enabling and the display
// modes in frame/FrameState and frame/DisplayModes, the save questions in
// frame/SavePrompts. This class only applies what they decide.
#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <cstdint>
#include <memory>
#include <string>

#include "data/CDTDoc.h"
#include "data/Settings.h"
#include "frame/DisplayModes.h"
#include "frame/FrameState.h"
#include "library/LibraryStore.h"
#include "library/core/SiteSeriesData.h"
#include "ui/AnalysisWindows.h"
#include "ui/DisplaySettings.h"
#include "ui/FileCommands.h"
#include "ui/HelpWindow.h"
#include "ui/LibraryCommands.h"
#include "ui/LibraryWindow.h"
#include "ui/LoggerDialogs.h"
#include "ui/RecoveryOffer.h"
#include "ui/ReportCommands.h"
#include "ui/ToolWindows.h"

class QAction;
class QLabel;
class QMenu;
class QDialog;
class QSplitter;

namespace acv {

class CDTView;
class CInstrumentPanelDlg;
class CInstrumentView;
class Prompter;
class SerialControl;
class TimerHost;

// What the window runs on. Everything left empty gets the real thing: the
// message boxes, the system's serial ports, Qt timers and the user's files.
struct FrameServices {
  Prompter* prompter = nullptr;
  SerialControl* serial = nullptr;
  TimerHost* timers = nullptr;
  std::string settingsPath;
  std::string previousMeasurementPath;
  // A serial device to try first (--port), or the simulator's terminal,
  // which then is the only port.
  std::string preferredPort;
  bool onlyPreferredPort = false;
  bool showSplash = true;
};

class CMainFrame : public QMainWindow {
  Q_OBJECT

 public:
  explicit CMainFrame(FrameServices services = {}, QWidget* parent = nullptr);
  ~CMainFrame() override;

  // ---- commands --------------------------------------------------------------
  // Runs a command as its menu item would; refused when its rule says no.
  void OnCommand(int commandId);
  bool CommandEnabled(int commandId);
  QAction* Action(int commandId) const { return actions_.value(commandId, nullptr); }
  // Brings menus and toolbar in line with the rules.
  void UpdateCommands();

  // Opens a data file (command line, desktop): false with a message when it
  // cannot be read; the data on show stay as they were.
  bool OpenDataFile(const QString& path) { return files_->OpenDataFile(path); }
  // At start-up: offers to recover a run whose journal was left behind by a
  // crash (see RunJournal.h).
  void OfferRecovery() { recovery_->Offer(); }
  // The TR File List's double click: shows TR record `record` in STORE TR.
  void ShowTrRecord(int record);
  // A library site's measurements of one kind as one timeline on show, in
  // place of the data on show (asking first when they are unsaved); false
  // with a message when the site cannot be shown (MainFrameSite.cpp).
  bool ShowSiteTimeline(const std::string& site, library::SeriesKind kind);
  // The most points of a site read into memory; a longer site is drawn from
  // its envelope in the library. Tests lower it to try that on a small site.
  void SetMostSitePointsInMemory(std::int64_t points) { mostSitePointsInMemory_ = points; }

  // ---- state and parts, for the application object and the tests -----------
  CDTDoc& Doc() { return doc_; }
  const FrameState& State() const { return frame_; }
  FrameState& MutableState() { return frame_; }
  AppSettings& Settings() { return settings_; }
  ViewFacts Facts();
  CDTView* View() const { return view_; }
  CInstrumentView* InstrumentView() const { return instrument_; }
  CInstrumentPanelDlg* InstrumentPanel() const { return panel_; }
  QSplitter* Splitter() const { return splitter_; }
  HelpWindow* Help() const { return help_; }
  QMenu* RecentFilesMenu() const { return files_->RecentFilesMenu(); }
  QLabel* PromptPane() const { return promptPane_; }  // the command prompts' pane
  // The display-settings dialog now open (colours, axes or view options).
  QDialog* SettingsDialog() const { return displaySettings_->OpenDialog(); }
  LoggerDialogs& Logger() const { return *logger_; }
  ToolWindows& Tools() const { return *tools_; }
  AnalysisWindows& Analysis() const { return *analysis_; }
  LibraryWindow& Library() const { return *libraryWindow_; }
  const std::string& SettingsPath() const { return settingsPath_; }
  const std::string& PreviousMeasurementPath() const { return previousPath_; }
  bool ClosingScheduled() const { return closing_; }

 signals:
  // Emitted once the window has shown what the logger's link delivered
  // (LoggerDialogs announces the same moments before the window reacts):
  // whatever waits for the new data on screen, such as a scripted
  // screenshot, listens here.
  void downloadCompleted();
  void realTimePointTaken(int count);
  void realTimeStopped();

 protected:
  void closeEvent(QCloseEvent* event) override;
  // Command prompts go to their own status-bar pane.
  bool event(QEvent* event) override;

 private:
  // Construction (CMainFrame.cpp).
  void CreateActions();
  void CreateMenus();
  void CreateToolbar();
  void CreateClientArea();
  void CreateCollaborators();
  void OnFrameTimer(int id);
  void SyncLinkState();
  void WriteSettings();  // at every close

  // Display modes and new data (MainFrameModes.cpp).
  // `keepDataList`: the data changed (a download or a load), so an open Data
  // List lists the new display instead of closing.
  void RunModeCommand(DisplayMode mode, bool keepDataList = false);
  // A display command chosen by the user: as above, and an open Data List
  // goes back below the information panel.
  void OnDisplayCommand(DisplayMode mode);
  void ApplyModeEffects(const ModeEffects& effects);
  void SetInstrumentWidth(int width);
  void ToggleInstrumentColumn();
  void ToggleInfoPanel();
  // New data in the document (a download, a file, a recovered run): `mode`
  // is entered afresh, so data with other channels than those before get
  // their own axes and units; the panels of the old data go.
  // `site`: the data are that library site's timeline, in its own units.
  void ShowNewData(DisplayMode mode, bool fromFile, const std::string& site = {});
  void ShowLoadedData(const std::string& tag);
  void ShowRecoveredRun();
  // A measurement of the library as if its data file had been opened.
  void ShowLibraryData(CDTDoc& data, const ChannelScaling& scaling, const std::string& name);
  void OnTrMarkActivated(int record);  // a TR mark in STORE RMS: that record

  // The logger's news (MainFrameLink.cpp).
  void OnDownloadFinished();
  void OnRealTimeFirstBlock();
  void OnRealTimePointAdded();
  void OnRealTimeEnded();

  // View > Site Timeline...: the site chosen from the library's list.
  void ChooseSiteTimeline();

  // Help and About (MainFrameExtras.cpp).
  void OnHelp();
  void OnAbout();

  // Primary units and COMTRADE files (MainFrameUnits.cpp).
  void EditChannelScaling();
  // Everything on show is read again in the new units at once.
  // The user's scaling from now on: kept in the settings and shown.
  void ApplyChannelScaling(const ChannelScaling& scaling);
  // The data on show in these units, the user's scaling left as it is (a
  // library measurement in its site's units); new data go back to the user's.
  void ShowInScaling(const ChannelScaling& scaling);
  void ExportComtrade();

  // Services, owned when made here.
  std::unique_ptr<Prompter> ownPrompter_;
  std::unique_ptr<SerialControl> ownSerial_;
  std::unique_ptr<TimerHost> ownTimers_;
  Prompter* prompter_;
  SerialControl* serial_;
  TimerHost* timers_;
  std::string settingsPath_;
  std::string previousPath_;

  CDTDoc doc_;
  AppSettings settings_;
  FrameState frame_;
  std::int64_t mostSitePointsInMemory_ = library::kMaxSiteSeriesPoints;

  QSplitter* splitter_ = nullptr;
  CInstrumentView* instrument_ = nullptr;
  CDTView* view_ = nullptr;
  CInstrumentPanelDlg* panel_ = nullptr;
  QLabel* promptPane_ = nullptr;
  QPointer<HelpWindow> help_;
  QHash<int, QAction*> actions_;
  std::unique_ptr<LoggerDialogs> logger_;
  std::unique_ptr<FileCommands> files_;
  std::unique_ptr<ReportCommands> reports_;
  std::unique_ptr<RecoveryOffer> recovery_;
  std::unique_ptr<LibraryCommands> library_;
  LibraryWindow* libraryWindow_ = nullptr;
  DisplaySettings* displaySettings_ = nullptr;
  ToolWindows* tools_ = nullptr;
  AnalysisWindows* analysis_ = nullptr;
  bool closing_ = false;         // settings written, the real close is on its way
  bool closeConfirmed_ = false;  // timer::kRealClose fired: let the window go
};

}  // namespace acv
