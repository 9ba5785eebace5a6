#pragma once
// The logger side of the main window: the link with its real-time run and
// download, the four logger dialogs (one long-lived instance each, reused at
// every opening), the download's "Loading..." window and the boxes that
// explain a port that cannot be opened. It is the link's host and the
// dialogs' context; what the new data mean for the display (a finished
// download, a run's points) it passes on to the window through its signals.
#include <QObject>
#include <QStringList>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "data/Settings.h"
#include "frame/FrameState.h"
#include "frame/SavePrompts.h"
#include "logger/Download.h"
#include "logger/LinkHost.h"
#include "logger/LoggerLink.h"
#include "logger/RealTimeRun.h"
#include "ui/FrameParts.h"
#include "ui/dialogs/DialogContext.h"

namespace acv {

class CCorrectTimeDlg;
class CDownloadDlg;
class CLoadingDlg;
class CLoggerSetupDlg;
class CRealTimeDlg;
class LoggerDialogBase;

class LoggerDialogs : public QObject, public LinkHost, public DialogContext {
  Q_OBJECT

 public:
  struct Host {
    FrameParts parts;
    CDTDoc& doc;  // the link writes the downloaded and real-time data here
    AppSettings& settings;
    FrameState& frame;
    SerialControl& serial;
    TimerHost& timers;
    std::string previousPath;  // the previous measurement; run journals go beside it
    // Asks to save unsaved data first; false: the user kept them, so no
    // download or run may replace them.
    std::function<bool(SavePrompt)> askToSaveFirst;
    // Runs a command as its menu item would (AutoStart opens its dialog so).
    std::function<void(int)> runCommand;
    std::function<void()> commandsChanged;
    std::function<void(const QString&, int)> showStatus;  // 0 ms: until replaced
  };
  explicit LoggerDialogs(Host host);
  ~LoggerDialogs() override;

  RealTimeRun& RealTime() { return *realTime_; }

  // Download, Run, Logger Setup and Correct Time: opens that dialog unless
  // it is open or a download's progress window is up.
  void Open(DialogKind kind);
  // Stop: ends a running real-time run.
  void Stop();
  // Presses the start button of a logger dialog as soon as the logger
  // answers (demonstrations and screenshots).
  void AutoStart(DialogKind kind);

  LoggerDialogBase* Dialog(DialogKind kind) const;
  CDownloadDlg* DownloadDialog() const { return downloadDlg_; }
  CRealTimeDlg* RealTimeDialog() const { return realTimeDlg_; }
  CLoggerSetupDlg* SetupDialog() const { return setupDlg_; }
  CCorrectTimeDlg* ClockDialog() const { return clockDlg_; }
  // The download's "Loading..." window; null while no download shows it.
  CLoadingDlg* Loading() const { return loading_.get(); }

  // ---- LinkHost ----------------------------------------------------------------
  std::vector<ConnectionDialog*> OpenDialogs() override { return open_; }
  void ShowMessage(const std::string& text, MessageIcon icon) override;
  bool ProgressWindowOpen() const override { return loading_ != nullptr; }
  void ProgressOpen(int rangeMax, int position) override;
  void ProgressSet(int position) override;
  void ProgressClose() override;
  void DownloadFinished() override { emit downloadFinished(); }
  void DownloadFailed(const std::string&) override { host_.commandsChanged(); }
  void RealTimeFirstBlock() override { emit realTimeFirstBlock(); }
  void RealTimePointAdded() override { emit realTimePointAdded(); }
  void RealTimeEnded(RunEnd) override { emit realTimeEnded(); }
  void RealTimeJournalFailed(const std::string& problem) override;
  void CommandAcknowledged(bool pressStart) override;
  void PortProblem(const std::string& text) override;

  // ---- DialogContext -------------------------------------------------------------
  LoggerLink& Link() override { return *link_; }
  AppSettings& Settings() override { return host_.settings; }
  int& RtInterval() override { return host_.doc.rtInterval; }
  int& RealTimePoints() override { return realTime_->realTimePoints; }
  void SetDataUnsaved() override { host_.frame.dataUnsaved = 1; }
  void ArmSavePrompts() override;
  void DialogOpened(ConnectionDialog* dialog) override;
  void DialogClosed(ConnectionDialog* dialog) override;

 signals:
  // The document holds a new download (already kept as the previous
  // measurement).
  void downloadFinished();
  // A run's first data block arrived; a point was added; the run ended.
  void realTimeFirstBlock();
  void realTimePointAdded();
  void realTimeEnded();

 private:
  void ShowPortHints();

  Host host_;
  std::unique_ptr<LoggerLink> link_;
  std::unique_ptr<RealTimeRun> realTime_;
  std::unique_ptr<Download> download_;
  CDownloadDlg* downloadDlg_ = nullptr;
  CRealTimeDlg* realTimeDlg_ = nullptr;
  CLoggerSetupDlg* setupDlg_ = nullptr;
  CCorrectTimeDlg* clockDlg_ = nullptr;
  std::vector<ConnectionDialog*> open_;  // the connection dialogs shown now
  // Made when a download reports its first progress, gone when it ends.
  std::unique_ptr<CLoadingDlg> loading_;
  QStringList pendingPortHints_;  // port problems waiting for their box
  bool portHintQueued_ = false;
};

}  // namespace acv
