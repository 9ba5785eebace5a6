#pragma once
// The main window: menus, toolbar, status bar and the splitter holding the
// instrument column and the graph view. It owns the data set, the logger link
// with its real-time run and download, the user's settings and the display
// state, routes every command, and is the link's host (connection dialogs,
// message boxes, the "Loading..." window, the real-time observers).
//
// Rules live below the widgets: command enabling and the display modes in
// frame/FrameState and frame/DisplayModes, the save questions in
// frame/SavePrompts. This class only applies what they decide.
#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "data/CDTDoc.h"
#include "data/Settings.h"
#include "frame/DisplayModes.h"
#include "frame/FrameState.h"
#include "frame/PowerPanel.h"
#include "frame/SavePrompts.h"
#include "logger/Download.h"
#include "logger/LinkHost.h"
#include "logger/LoggerLink.h"
#include "logger/RealTimeRun.h"
#include "ui/AnalysisWindows.h"
#include "ui/DisplaySettings.h"
#include "ui/FileCommands.h"
#include "ui/HelpWindow.h"
#include "ui/RecoveryOffer.h"
#include "ui/ReportCommands.h"
#include "ui/ToolWindows.h"
#include "ui/dialogs/DialogContext.h"

class QAction;
class QLabel;
class QMenu;
class QDialog;
class QSplitter;

namespace acv {

class CCorrectTimeDlg;
class CDTView;
class CDataListDlg;
class CDownloadDlg;
class CInfoPanelDlg;
class CPowerAnalysisDlg;
class CTrFileListDlg;
class CInstrumentPanelDlg;
class CInstrumentView;
class CLoadingDlg;
class CLoggerSetupDlg;
class CRealTimeDlg;
class LoggerDialogBase;
class Prompter;

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

class CMainFrame : public QMainWindow, public LinkHost, public DialogContext {
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
  // Presses the start button of a logger dialog as soon as the logger
  // answers (demonstrations and screenshots).
  void AutoStart(DialogKind kind);

  // ---- state, for the application object and the tests -----------------------
  CDTDoc& Doc() { return doc_; }
  const FrameState& State() const { return frame_; }
  FrameState& MutableState() { return frame_; }
  CDTView* View() const { return view_; }
  CInstrumentView* InstrumentView() const { return instrument_; }
  CInstrumentPanelDlg* InstrumentPanel() const { return panel_; }
  QSplitter* Splitter() const { return splitter_; }
  // The download's "Loading..." window; null while no download shows it.
  CLoadingDlg* Loading() const { return loading_.get(); }
  HelpWindow* Help() const { return help_; }
  RealTimeRun& RealTime() { return *realTime_; }
  // The logger dialogs: one long-lived instance each, reused at every opening.
  LoggerDialogBase* LoggerDialog(DialogKind kind) const;
  CDownloadDlg* DownloadDialog() const { return downloadDlg_; }
  CRealTimeDlg* RealTimeDialog() const { return realTimeDlg_; }
  CLoggerSetupDlg* SetupDialog() const { return setupDlg_; }
  CCorrectTimeDlg* ClockDialog() const { return clockDlg_; }
  // File -> Recent Files.
  QMenu* RecentFilesMenu() const { return files_->RecentFilesMenu(); }
  // The status bar's pane for the command prompts.
  QLabel* PromptPane() const { return promptPane_; }
  // The display-settings dialog now open (colours, axes or view options).
  QDialog* SettingsDialog() const { return displaySettings_->OpenDialog(); }
  // The panels and list windows; null while closed.
  ToolWindows& Tools() const { return *tools_; }
  CInfoPanelDlg* InfoPanel() const { return tools_->InfoPanel(); }
  CDataListDlg* DataList() const { return tools_->DataList(); }
  CTrFileListDlg* TrFileList() const { return tools_->TrFileList(); }
  CPowerAnalysisDlg* PowerPanel() const { return tools_->PowerPanel(); }
  const PowerPanelData& PowerTexts() const { return tools_->PowerTexts(); }
  // The TR File List's double click: shows TR record `record` in STORE TR.
  void ShowTrRecord(int record) { tools_->ShowTrRecord(record); }
  // The Statistics and Events windows, the event shading and limits.
  AnalysisWindows& Analysis() const { return *analysis_; }
  const std::string& SettingsPath() const { return settingsPath_; }
  const std::string& PreviousMeasurementPath() const { return previousPath_; }
  bool ClosingScheduled() const { return closing_; }
  ViewFacts Facts();

  // ---- LinkHost ----------------------------------------------------------------
  std::vector<ConnectionDialog*> OpenDialogs() override { return dialogs_; }
  void ShowMessage(const std::string& text, MessageIcon icon) override;
  bool ProgressWindowOpen() const override;
  void ProgressOpen(int rangeMax, int position) override;
  void ProgressSet(int position) override;
  void ProgressClose() override;
  void DownloadFinished() override;
  void DownloadFailed(const std::string& message) override;
  void RealTimeFirstBlock() override;
  void RealTimePointAdded() override;
  void RealTimeEnded(RunEnd why) override;
  void RealTimeJournalFailed(const std::string& problem) override;
  void CommandAcknowledged(bool pressStart) override;
  void PortProblem(const std::string& text) override;

  // ---- DialogContext -------------------------------------------------------------
  LoggerLink& Link() override { return *link_; }
  AppSettings& Settings() override { return settings_; }
  int& RtInterval() override { return doc_.rtInterval; }
  int& RealTimePoints() override { return realTime_->realTimePoints; }
  void SetDataUnsaved() override;
  void ArmSavePrompts() override;
  void DialogOpened(ConnectionDialog* dialog) override;
  void DialogClosed(ConnectionDialog* dialog) override;

 signals:
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
  void CreateLoggerDialogs();
  void OnFrameTimer(int id);
  void SyncLinkState();

  // Display modes (MainFrameModes.cpp).
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
  void ShowLoadedData(const std::string& tag);

  // A double click on a TR record's mark in STORE RMS: that record in STORE TR.
  void OnTrMarkActivated(int record);

  // Closing: the settings are written at every close.
  void WriteSettings();
  // A recovered run is on show as unsaved REAL TIME data.
  void ShowRecoveredRun();

  // Logger commands (MainFrameLink.cpp).
  void OnLoggerCommand(DialogKind kind);
  static int CommandOf(DialogKind kind);
  void OnStop();
  void ShowPortHints();

  // Help and About (MainFrameExtras.cpp).
  void OnHelp();
  void OnAbout();

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
  std::unique_ptr<LoggerLink> link_;
  std::unique_ptr<RealTimeRun> realTime_;
  std::unique_ptr<Download> download_;

  QSplitter* splitter_ = nullptr;
  CInstrumentView* instrument_ = nullptr;
  CDTView* view_ = nullptr;
  CInstrumentPanelDlg* panel_ = nullptr;
  QLabel* promptPane_ = nullptr;
  // Made when a download reports its first progress, gone when it ends.
  std::unique_ptr<CLoadingDlg> loading_;
  QPointer<HelpWindow> help_;
  std::unique_ptr<ReportCommands> reports_;  // print, preview, PDF, pictures
  std::unique_ptr<FileCommands> files_;      // open, save, CSV, recent files, title
  std::unique_ptr<RecoveryOffer> recovery_;  // the start-up question about a crashed run
  QHash<int, QAction*> actions_;
  DisplaySettings* displaySettings_ = nullptr;  // colours, axes, view options, Fit
  CDownloadDlg* downloadDlg_ = nullptr;
  CRealTimeDlg* realTimeDlg_ = nullptr;
  CLoggerSetupDlg* setupDlg_ = nullptr;
  CCorrectTimeDlg* clockDlg_ = nullptr;
  std::vector<ConnectionDialog*> dialogs_;
  QStringList pendingPortHints_;  // port problems waiting for their box
  bool portHintQueued_ = false;
  // The information panel and the tool windows over the main window.
  ToolWindows* tools_ = nullptr;
  AnalysisWindows* analysis_ = nullptr;
  bool closing_ = false;         // settings written, the real close is on its way
  bool closeConfirmed_ = false;  // timer::kRealClose fired: let the window go
};

}  // namespace acv
