#include "ui/CMainFrame.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolBar>
#include <algorithm>
#include <cstdio>

#include "data/FileIO.h"
#include "frame/CommandRules.h"
#include "frame/Commands.h"
#include "graph/CDTView.h"
#include "platform/AppPaths.h"
#include "platform/QtSerialControl.h"
#include "platform/QtTimerHost.h"
#include "ui/AppInfo.h"
#include "ui/Artwork.h"
#include "ui/CInstrumentView.h"
#include "ui/CStartupSplash.h"
#include "ui/PromptPane.h"
#include "ui/Prompter.h"
#include "ui/panels/CInstrumentPanelDlg.h"

namespace acv {

CMainFrame::CMainFrame(FrameServices services, QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("mainFrame"));
  setWindowTitle(QString::fromUtf8(kAppCaption));
  setWindowIcon(AppIcon());
  // The frame's own background between its parts.
  QPalette grey = palette();
  grey.setColor(QPalette::Window, QColor(200, 200, 200));
  setPalette(grey);
  setAutoFillBackground(true);

  if (services.prompter == nullptr) {
    ownPrompter_ = std::make_unique<DialogPrompter>();
    services.prompter = ownPrompter_.get();
  }
  if (services.serial == nullptr) {
    PortMap map = services.onlyPreferredPort && !services.preferredPort.empty()
                      ? PortMap::Single(services.preferredPort)
                      : PortMap::FromSystem(services.preferredPort);
    ownSerial_ = std::make_unique<QtSerialControl>(std::move(map));
    services.serial = ownSerial_.get();
  }
  if (services.timers == nullptr) {
    ownTimers_ = std::make_unique<QtTimerHost>();
    services.timers = ownTimers_.get();
  }
  prompter_ = services.prompter;
  serial_ = services.serial;
  timers_ = services.timers;
  settingsPath_ = services.settingsPath.empty() ? acv::SettingsFilePath() : services.settingsPath;
  previousPath_ = services.previousMeasurementPath.empty() ? acv::PreviousMeasurementPath()
                                                           : services.previousMeasurementPath;

  // The settings come first: the link, the view and the dialogs start from them.
  std::string settingsProblem;
  settings_ = LoadSettings(settingsPath_, &settingsProblem);
  frame_.TakeAxes(settings_);
  doc_.rtInterval = settings_.rtInterval;
  doc_.scaling = settings_.channelScaling;

  CreateActions();
  CreateClientArea();
  CreateCollaborators();
  // After the link, which takes the timers for itself when it is made:
  // timer::kRealClose and timer::kRedrawAfterLoad are the window's own, every
  // other id goes on to the link.
  timers_->SetCallback([this](int id) { OnFrameTimer(id); });
  CreateMenus();
  CreateToolbar();
  // The status bar shows each command's prompt while it is pointed at, in a
  // pane of its own on the right; other status texts appear on the left.
  statusBar()->setMinimumWidth(0);
  promptPane_ = new acv::PromptPane(statusBar());
  statusBar()->addPermanentWidget(promptPane_);
  UpdateCommands();
  // Toolbar buttons show their command's state at all times, not only when a
  // menu opens: besides the updates after each change, the state is brought
  // up to date four times a second, whatever changed it.
  auto* commandRefresh = new QTimer(this);
  connect(commandRefresh, &QTimer::timeout, this, &CMainFrame::UpdateCommands);
  commandRefresh->start(250);
  resize(1200, 800);
  // A save that could not keep all it should (a file's owner) is told after
  // the command's own status text, which would otherwise cover it at once.
  SetSaveNoticeHandler([this](const std::string& text) {
    QMetaObject::invokeMethod(
        this, [this, text] { statusBar()->showMessage(QString::fromStdString(text)); },
        Qt::QueuedConnection);
  });
  if (!settingsProblem.empty()) {
    statusBar()->showMessage(
        QStringLiteral("The settings could not be read, the defaults are used: %1")
            .arg(QString::fromStdString(settingsProblem)));
  }
  if (services.showSplash) CStartupSplash::ShowSplashScreen(this);
}

CMainFrame::~CMainFrame() {
  SetSaveNoticeHandler({});
  timers_->SetCallback({});
  // The logger's dialogs must not call back into a half-destroyed window.
  logger_.reset();
}

void CMainFrame::CreateCollaborators() {
  const FrameParts parts{*this, *prompter_, *view_, doc_};
  const auto showStatus = [this](const QString& text, int ms) {
    statusBar()->showMessage(text, ms);
  };
  const auto updateCommands = [this] { UpdateCommands(); };
  logger_ = std::make_unique<LoggerDialogs>(
      LoggerDialogs::Host{parts, doc_, settings_, frame_, *serial_, *timers_, previousPath_,
                          [this](SavePrompt when) { return files_->AskToSaveFirst(when); },
                          [this](int id) { OnCommand(id); }, updateCommands, showStatus});
  connect(logger_.get(), &LoggerDialogs::downloadFinished, this, &CMainFrame::OnDownloadFinished);
  connect(logger_.get(), &LoggerDialogs::realTimeFirstBlock, this,
          &CMainFrame::OnRealTimeFirstBlock);
  connect(logger_.get(), &LoggerDialogs::realTimePointAdded, this,
          &CMainFrame::OnRealTimePointAdded);
  connect(logger_.get(), &LoggerDialogs::realTimeEnded, this, &CMainFrame::OnRealTimeEnded);
  files_ = std::make_unique<FileCommands>(FileCommands::Host{
      parts, doc_, frame_, settings_, previousPath_, [this] { return Facts(); },
      [this](int id) { return CommandEnabled(id); },
      [this](const std::string& tag) { ShowLoadedData(tag); }, updateCommands, showStatus});
  library_ = std::make_unique<LibraryCommands>(
      LibraryCommands::Host{parts, settings_, [this] { return files_->DocumentPath(); },
                            [this] { return frame_.dataUnsaved != 0; }, showStatus});
  libraryWindow_ = new LibraryWindow(
      {parts, settings_, *library_, [this] { return CommandEnabled(cmd::kAddToLibrary); },
       [this] {
         return CommandEnabled(cmd::kOpen) && files_->AskToSaveFirst(SavePrompt::BeforeOpen);
       },
       [this](CDTDoc& data, const ChannelScaling& scaling, const std::string& name) {
         ShowLibraryData(data, scaling, name);
       },
       showStatus, [this](const SummaryContent& content) { reports_->PreviewCompliance(content); },
       [this](const QString& title, const std::function<void(QPainter&, const QRect&)>& paint) {
         reports_->PreviewPage(title, paint);
       }});
  connect(libraryWindow_, &LibraryWindow::ShowSiteTimeline, this,
          [this](const QString& site, int kind) {
            ShowSiteTimeline(site.toStdString(), kind == 1 ? library::SeriesKind::RealTime
                                                           : library::SeriesKind::Store);
          });
  recovery_ = std::make_unique<RecoveryOffer>(
      RecoveryOffer::Host{parts, doc_, previousPath_, [this] { ShowRecoveredRun(); }, showStatus});
  tools_ = new ToolWindows({doc_, frame_, *view_, *splitter_, *this});
  connect(tools_, &ToolWindows::trRecordChosen, this, &CMainFrame::ShowTrRecord);
  connect(view_, &CDTView::trMarkActivated, this, &CMainFrame::OnTrMarkActivated);
  connect(view_, &CDTView::libraryReadFailed, this, [this](const QString& reason) {
    statusBar()->showMessage(
        QStringLiteral("Some points could not be read from the library and are not drawn: %1")
            .arg(reason));
  });
  analysis_ = new AnalysisWindows(
      {parts, settings_, *tools_, [this](int id) { OnCommand(id); }, settingsPath_});
  reports_ = std::make_unique<ReportCommands>(ReportCommands::Host{
      parts, [this] { return frame_.ActiveMode(); },
      [this] {
        AppSettings now = settings_;
        frame_.PutAxes(now);
        return now;
      },
      [this] { return files_->DocumentPath(); }, [this] { return frame_.siteOnShow; },
      [this](const std::string& site, std::vector<TimeStretch>* stretches, std::string* problem) {
        return libraryWindow_->SiteStretches(site, stretches, problem);
      }});
}

void CMainFrame::CreateActions() {
  for (const cmd::CommandInfo& info : cmd::AllCommands()) {
    if (info.id == cmd::kTotalTypesList) continue;  // offered nowhere
    auto* action = new QAction(QString::fromUtf8(info.menuText), this);
    action->setObjectName(QStringLiteral("command%1").arg(info.id));
    action->setStatusTip(QString::fromUtf8(info.prompt));
    action->setToolTip(QString::fromUtf8(info.toolTip));
    action->setCheckable(CommandCheckable(info.id));
    action->setIcon(CommandIcon(info.id));
    action->setIconVisibleInMenu(false);
    const int id = info.id;
    connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
    actions_.insert(id, action);
  }
  actions_[cmd::kOpen]->setShortcut(QKeySequence::Open);
  actions_[cmd::kSave]->setShortcut(QKeySequence::Save);
  actions_[cmd::kExit]->setShortcut(QKeySequence::Quit);
  actions_[cmd::kHelpTopics]->setShortcut(QKeySequence::HelpContents);
}

void CMainFrame::CreateMenus() {
  auto add = [this](QMenu* menu, std::initializer_list<int> ids) {
    for (int id : ids) {
      if (id == 0) {
        menu->addSeparator();
      } else {
        menu->addAction(actions_.value(id));
      }
    }
    // Menus show the state of the moment they open.
    connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommands);
  };
  QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
  add(file, {cmd::kOpen, cmd::kSave, cmd::kExportCsv, cmd::kExportComtrade, cmd::kAddToLibrary,
             cmd::kLibrary});
  files_->CreateRecentFilesMenu(file);
  file->addSeparator();
  QMenu* preview = file->addMenu(QStringLiteral("Print Pre&view"));
  add(preview, {cmd::kPrintPreviewGraph, cmd::kPrintPreviewList, cmd::kPrintPreviewSummary});
  QMenu* print = file->addMenu(QStringLiteral("P&rint"));
  add(print, {cmd::kPrintGraph, cmd::kPrintList, cmd::kPrintSummary});
  QMenu* pdf = file->addMenu(QStringLiteral("Export P&DF"));
  add(pdf, {cmd::kExportPdfGraph, cmd::kExportPdfList, cmd::kExportPdfSummary});
  add(file, {cmd::kSaveGraphPicture});
  add(file, {cmd::kPrintSetup, 0, cmd::kExit});
  add(menuBar()->addMenu(QStringLiteral("&Logger")),
      {cmd::kDownload, cmd::kLoggerSetup, cmd::kCorrectTime, 0, cmd::kPreviousMeasurement,
       cmd::kImportToList});
  add(menuBar()->addMenu(QStringLiteral("&Real Time")),
      {cmd::kRun, cmd::kStop, 0, cmd::kRealTimeRms, cmd::kRealTimeFreq, cmd::kRealTimeS,
       cmd::kRealTimeEpa});
  add(menuBar()->addMenu(QStringLiteral("&View")),
      {cmd::kStoreRms, cmd::kStoreTr, cmd::kSiteTimeline, 0, cmd::kDataList, cmd::kGraph,
       cmd::kStatistics, cmd::kEvents, cmd::kDistribution, 0, cmd::kColorSetup, cmd::kAxisSetup,
       cmd::kViewOptions, cmd::kFitAxes, cmd::kEventLimits, cmd::kChannelScaling});
  add(menuBar()->addMenu(QStringLiteral("&Window")),
      {cmd::kToggleInstrument, cmd::kToggleInfoPanel, cmd::kPowerPanel});
  add(menuBar()->addMenu(QStringLiteral("&Help")), {cmd::kHelpTopics, cmd::kAbout});
}

void CMainFrame::CreateToolbar() {
  QToolBar* bar = addToolBar(QStringLiteral("Standard"));
  bar->setObjectName(QStringLiteral("standardToolbar"));
  bar->setIconSize(QSize(24, 24));
  bar->setAllowedAreas(Qt::AllToolBarAreas);
  for (int id : cmd::ToolbarLayout()) {
    if (id == 0) {
      bar->addSeparator();
    } else {
      bar->addAction(actions_.value(id));
    }
  }
}

void CMainFrame::CreateClientArea() {
  splitter_ = new QSplitter(Qt::Horizontal, this);
  splitter_->setObjectName(QStringLiteral("mainSplitter"));
  instrument_ = new CInstrumentView([this](int id) { OnCommand(id); },
                                    [this](int id) { return CommandEnabled(id); }, splitter_);
  instrument_->setMinimumWidth(0);
  view_ = new CDTView(doc_, splitter_);
  view_->TakeSettings(settings_);
  panel_ = new CInstrumentPanelDlg([this](int id) { OnCommand(id); });
  view_->SetStartScreenPanel(panel_);
  displaySettings_ = new DisplaySettings({{*this, *prompter_, *view_, doc_}, settings_, frame_});
  connect(displaySettings_, &DisplaySettings::settingsChanged, this, &CMainFrame::UpdateCommands);
  displaySettings_->AddGraphToolButtons([this](int id) { return actions_.value(id); });
  splitter_->addWidget(instrument_);
  splitter_->addWidget(view_);
  splitter_->setCollapsible(0, true);
  splitter_->setCollapsible(1, false);
  splitter_->setStretchFactor(1, 1);
  setCentralWidget(splitter_);
  SetInstrumentWidth(frame_.instrumentPaneWidth);
}

bool CMainFrame::event(QEvent* event) {
  if (event->type() == QEvent::StatusTip) {
    promptPane_->setText(static_cast<QStatusTipEvent*>(event)->tip());
    return true;
  }
  return QMainWindow::event(event);
}

void CMainFrame::SyncLinkState() {
  frame_.realTimeStopped = logger_->Link().realTimeStopped;
  view_->SetRealTimeStopped(frame_.realTimeStopped == 1);
}

ViewFacts CMainFrame::Facts() {
  SyncLinkState();
  ViewFacts facts;
  const DisplaySetup& setup = view_->Display();
  facts.displayMode = setup.displayMode;
  facts.lastPoint = setup.lastPoint;
  facts.dataSaved = setup.dataSaved;
  facts.siteOnShow = !frame_.siteOnShow.empty();
  TakeDataFacts(facts, doc_);
  return facts;
}

bool CMainFrame::CommandEnabled(int commandId) {
  return acv::CommandEnabled(commandId, frame_, Facts());
}

void CMainFrame::UpdateCommands() {
  const ViewFacts facts = Facts();
  for (auto it = actions_.cbegin(); it != actions_.cend(); ++it) {
    it.value()->setEnabled(acv::CommandEnabled(it.key(), frame_, facts));
    if (it.value()->isCheckable()) it.value()->setChecked(CommandChecked(it.key(), frame_));
  }
  files_->EnableRecentFiles(actions_[cmd::kOpen]->isEnabled());
  files_->UpdateTitle();
}

void CMainFrame::OnCommand(int commandId) {
  // Buttons outside the menus (start screen, instrument tree) come here too,
  // so the rules are asked again rather than trusted to the caller.
  if (!CommandEnabled(commandId)) {
    UpdateCommands();
    return;
  }
  switch (commandId) {
    case cmd::kOpen:
      files_->Open();
      break;
    case cmd::kSave:
      files_->Save();
      break;
    case cmd::kPreviousMeasurement:
      files_->PreviousMeasurement();
      break;
    case cmd::kExportCsv:
      files_->ExportCsv();
      break;
    case cmd::kAddToLibrary:
      library_->AddToLibrary();
      if (libraryWindow_->Window() != nullptr) libraryWindow_->Reload();
      break;
    case cmd::kLibrary:
      libraryWindow_->Open();
      break;
    case cmd::kSiteTimeline:
      ChooseSiteTimeline();
      break;
    case cmd::kExit:
      close();
      break;
    case cmd::kDownload:
      logger_->Open(DialogKind::Download);
      break;
    case cmd::kLoggerSetup:
      logger_->Open(DialogKind::LoggerSetup);
      break;
    case cmd::kCorrectTime:
      logger_->Open(DialogKind::CorrectTime);
      break;
    case cmd::kRun:
      logger_->Open(DialogKind::RealTime);
      break;
    case cmd::kStop:
      logger_->Stop();
      SyncLinkState();
      break;
    case cmd::kStoreRms:
      OnDisplayCommand(DisplayMode::StoreRms);
      break;
    case cmd::kStoreTr:
      OnDisplayCommand(DisplayMode::StoreTr);
      break;
    case cmd::kRealTimeEpa:
      OnDisplayCommand(DisplayMode::RealTimeEpa);
      break;
    case cmd::kRealTimeRms:
      OnDisplayCommand(DisplayMode::RealTimeRms);
      break;
    case cmd::kRealTimeFreq:
      OnDisplayCommand(DisplayMode::RealTimeFreq);
      break;
    case cmd::kRealTimeS:
      OnDisplayCommand(DisplayMode::RealTimeS);
      break;
    case cmd::kToggleInstrument:
      ToggleInstrumentColumn();
      break;
    case cmd::kToggleInfoPanel:
      ToggleInfoPanel();
      break;
    case cmd::kPowerPanel:
      tools_->ShowPowerPanel();
      break;
    case cmd::kHelpTopics:
      OnHelp();
      break;
    case cmd::kAbout:
      OnAbout();
      break;
    case cmd::kPrintGraph:
    case cmd::kPrintList:
    case cmd::kPrintSummary:
    case cmd::kPrintPreviewGraph:
    case cmd::kPrintPreviewList:
    case cmd::kPrintPreviewSummary:
      reports_->Print(commandId);
      break;
    case cmd::kPrintSetup:
      reports_->PrintSetup();
      break;
    case cmd::kExportPdfGraph:
    case cmd::kExportPdfList:
    case cmd::kExportPdfSummary:
      reports_->ExportPdf(commandId);
      break;
    case cmd::kSaveGraphPicture:
      reports_->SaveGraphPicture();
      break;
    case cmd::kColorSetup:
      displaySettings_->ColorSetup();
      break;
    case cmd::kAxisSetup:
      displaySettings_->AxisSetup();
      break;
    case cmd::kViewOptions:
      displaySettings_->ViewOptions();
      break;
    case cmd::kFitAxes:
      displaySettings_->FitAxes();
      break;
    case cmd::kDataList:
      tools_->OpenDataList();
      break;
    case cmd::kGraph:
      tools_->ShowGraph();
      break;
    case cmd::kStatistics:
      analysis_->OpenStatistics();
      break;
    case cmd::kEvents:
      analysis_->OpenEvents();
      break;
    case cmd::kDistribution:
      analysis_->OpenDistribution();
      break;
    case cmd::kEventLimits:
      analysis_->EditLimits();
      break;
    case cmd::kChannelScaling:
      EditChannelScaling();
      break;
    case cmd::kExportComtrade:
      ExportComtrade();
      break;
    default:
      break;
  }
  UpdateCommands();
}

void CMainFrame::OnFrameTimer(int id) {
  switch (id) {
    case timer::kRealClose:
      timers_->Kill(id);
      closeConfirmed_ = true;
      close();
      return;
    case timer::kRedrawAfterLoad:
      timers_->Kill(id);
      view_->ZoomReset();
      return;
    default:
      logger_->Link().OnTimer(id);
      // Timer-driven link changes (a run ending on its watchdog) change
      // what may be chosen.
      if (id == timer::kRealTimeWatchdog || id == timer::kDownloadWatchdog) UpdateCommands();
      return;
  }
}

// ---- closing ------------------------------------------------------------------------

void CMainFrame::WriteSettings() {
  settings_.rtInterval = doc_.rtInterval;
  settings_.realTimePoints = logger_->RealTime().realTimePoints;
  frame_.PutAxes(settings_);
  std::string notice;
  const bool saved = SaveSettings(settings_, settingsPath_, &notice);
  if (!notice.empty()) {
    // The window is closing: the terminal it was started from keeps the note.
    std::fprintf(stderr, "acvlogger: %s\n", notice.c_str());
    statusBar()->showMessage(QString::fromStdString(notice));
  } else if (!saved) {
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
  if (!files_->AskToSaveFirst(SavePrompt::BeforeClose)) {
    UpdateCommands();
    return;
  }
  tools_->CloseDataList();
  if (logger_->Link().realTimeStopped == 0) logger_->Stop();
  closing_ = true;
  timers_->Start(timer::kRealClose, 100);
}

}  // namespace acv
