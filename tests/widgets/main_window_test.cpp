// The main window as the user meets it: caption, start screen, menus and
// toolbar following the command rules, the instrument column and the splash.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QContextMenuEvent>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QRegularExpression>
#include <QSplitter>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTextBrowser>
#include <QToolBar>
#include <map>
#include <vector>

#include "data/DataFile.h"
#include "frame/Commands.h"
#include "frame_fixture.h"
#include "graph/CDTView.h"
#include "ui/CInstrumentView.h"
#include "ui/CStartupSplash.h"
#include "ui/dialogs/CLoadingDlg.h"
#include "ui/dialogs/LoggerDialogBase.h"
#include "ui/panels/CInstrumentPanelDlg.h"

namespace acv::test {
namespace {

class MainWindow : public FrameTest {
 protected:
  bool Enabled(int id) { return Frame().Action(id)->isEnabled(); }
};

TEST_F(MainWindow, StartsWithTheCaptionTheStartScreenAndItsButtonPanel) {
  EXPECT_EQ(Frame().windowTitle(), "Orvane AC Voltage-Current Software");
  EXPECT_EQ(Frame().palette().color(QPalette::Window), QColor(200, 200, 200));
  EXPECT_TRUE(Frame().View()->ShowsStartScreen());
  EXPECT_EQ(Frame().Splitter()->sizes().value(0), 150);

  CInstrumentPanelDlg* panel = Frame().InstrumentPanel();
  ASSERT_TRUE(panel->isVisible());
  EXPECT_EQ(panel->size(), QSize(220, 380));
  EXPECT_EQ(panel->parentWidget(), Frame().View());
  EXPECT_EQ(panel->y(), (Frame().View()->height() - 380) / 2);
  for (int id : {cmd::kCorrectTime, cmd::kLoggerSetup, cmd::kDownload, cmd::kOpen, cmd::kHelpTopics,
                 cmd::kRun}) {
    ASSERT_NE(panel->ButtonFor(id), nullptr) << id;
    EXPECT_TRUE(panel->ButtonFor(id)->isVisible()) << id;
    EXPECT_TRUE(panel->ButtonFor(id)->isEnabled()) << id;
  }
  EXPECT_EQ(Frame().InstrumentView()->topLevelItemCount(), 1);
  EXPECT_EQ(Frame().InstrumentView()->topLevelItem(0)->text(0), "-INSTRUMENT");
}

TEST_F(MainWindow, MenusAndToolbarOfferWhatTheRulesAllowWithoutData) {
  for (int id :
       {cmd::kOpen, cmd::kPreviousMeasurement, cmd::kDownload, cmd::kLoggerSetup, cmd::kCorrectTime,
        cmd::kRun, cmd::kToggleInstrument, cmd::kHelpTopics, cmd::kAbout, cmd::kExit}) {
    EXPECT_TRUE(Enabled(id)) << id;
  }
  for (int id : {cmd::kSave, cmd::kPrintGraph, cmd::kPrintPreviewGraph, cmd::kPrintSetup,
                 cmd::kDataList, cmd::kStoreRms, cmd::kStoreTr, cmd::kStop, cmd::kImportToList,
                 cmd::kRealTimeRms, cmd::kRealTimeS, cmd::kToggleInfoPanel}) {
    EXPECT_FALSE(Enabled(id)) << id;
  }
  EXPECT_TRUE(Frame().Action(cmd::kToggleInstrument)->isChecked());

  // The toolbar: eleven buttons with tool tips and prompts, in order.
  auto* bar = Frame().findChild<QToolBar*>("standardToolbar");
  ASSERT_NE(bar, nullptr);
  int buttons = 0;
  for (QAction* a : bar->actions()) {
    if (a->isSeparator()) continue;
    ++buttons;
    EXPECT_FALSE(a->toolTip().isEmpty());
    EXPECT_FALSE(a->statusTip().isEmpty());
  }
  EXPECT_EQ(buttons, 11);
  EXPECT_EQ(bar->actions().first(), Frame().Action(cmd::kSave));
  EXPECT_EQ(bar->actions().last(), Frame().Action(cmd::kStoreTr));
  EXPECT_EQ(Frame().Action(cmd::kStoreRms)->statusTip(), "Show store RMS graph");
  EXPECT_EQ(Frame().Action(cmd::kStoreRms)->toolTip(), "Store RMS");

  // The real-time commands have a menu of their own.
  QStringList menus;
  for (QAction* a : Frame().menuBar()->actions()) menus << a->text();
  EXPECT_EQ(menus, QStringList({"&File", "&Logger", "&Real Time", "&View", "&Window", "&Help"}));
}

// One key per entry in every menu, whatever the menu holds, so Alt+R, R
// reaches "Run..." and Alt+W, N the info panel.
TEST_F(MainWindow, EveryMenuGivesEachEntryAKeyOfItsOwn) {
  std::vector<std::pair<QString, QList<QAction*>>> menus{
      {"menu bar", Frame().menuBar()->actions()}};
  for (std::size_t i = 0; i < menus.size(); ++i) {
    const auto [name, actions] = menus[i];  // a copy: the list grows below
    std::map<char, QString> taken;
    for (QAction* action : actions) {
      if (action->isSeparator()) continue;
      if (QMenu* sub = action->menu()) menus.emplace_back(action->text(), sub->actions());
      const std::string text = action->text().toStdString();
      const char key = cmd::MenuMnemonic(text);
      EXPECT_NE(key, 0) << name.toStdString() << ": " << text;
      if (key == 0) continue;
      const auto [it, fresh] = taken.emplace(key, action->text());
      EXPECT_TRUE(fresh) << name.toStdString() << ": " << text << " and "
                         << it->second.toStdString();
    }
  }
  EXPECT_GE(menus.size(), 8u);  // the bar, six menus and the print submenus
}

// The menu paths the help names ("File &gt; Print &gt; Graph") are there.
TEST_F(MainWindow, TheHelpNamesOnlyMenuEntriesThatExist) {
  QFile file(QStringLiteral(":/help/index.html"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QString help = QString::fromUtf8(file.readAll()).simplified();
  const auto shown = [](const QString& text) {
    QString plain = QString::fromStdString(cmd::MenuTextShown(text.toStdString()));
    return plain.endsWith("...") ? plain.chopped(3) : plain;
  };
  int paths = 0;
  QRegularExpression path(QStringLiteral("<b>([^<]+(?: &gt; [^<]+)+)</b>"));
  for (auto it = path.globalMatch(help); it.hasNext();) {
    const QStringList steps = it.next().captured(1).split(QStringLiteral(" &gt; "));
    QList<QAction*> entries = Frame().menuBar()->actions();
    QAction* found = nullptr;
    for (const QString& step : steps) {
      found = nullptr;
      for (QAction* a : entries) {
        if (!a->isSeparator() && shown(a->text()) == shown(step)) found = a;
      }
      if (found == nullptr) break;
      entries = found->menu() != nullptr ? found->menu()->actions() : QList<QAction*>{};
    }
    EXPECT_NE(found, nullptr) << steps.join(" > ").toStdString();
    ++paths;
  }
  EXPECT_GE(paths, 10);
}

TEST_F(MainWindow, PromptsHaveAStatusPaneOfTheirOwn) {
  Frame().statusBar()->showMessage("Downloaded 10 RMS samples and 0 TR records.");
  Frame().Action(cmd::kStoreRms)->showStatusText(Frame().menuBar());
  EXPECT_EQ(Frame().PromptPane()->text(), "Show store RMS graph");
  EXPECT_EQ(Frame().statusBar()->currentMessage(), "Downloaded 10 RMS samples and 0 TR records.");
  QStatusTipEvent leave{QString()};  // the pointer leaves the entry
  QApplication::sendEvent(Frame().menuBar(), &leave);
  EXPECT_EQ(Frame().PromptPane()->text(), "");
  EXPECT_EQ(Frame().statusBar()->currentMessage(), "Downloaded 10 RMS samples and 0 TR records.");
  EXPECT_EQ(Frame().PromptPane()->sizeHint().width(), 800);
}

// Port problems reach the user from the event loop, after the link's scan,
// in one box however many arrive together.
TEST_F(MainWindow, PortHintsAreShownAfterTheScanInOneBox) {
  Frame().Logger().PortProblem("first");
  Frame().Logger().PortProblem("second");
  EXPECT_TRUE(ui.prompter.messages.isEmpty());
  ASSERT_TRUE(WaitUntil([&] { return !ui.prompter.messages.isEmpty(); }, 2000));
  EXPECT_EQ(ui.prompter.messages, QStringList{"first\n\nsecond"});
}

TEST_F(MainWindow, LoadedStoreDataEnablesSaveAndTheStoreDisplays) {
  const std::string path = ui.Path("store.stdata");
  ASSERT_EQ(SaveDataFile(StoreData(20, true), path), "");
  ASSERT_TRUE(Frame().OpenDataFile(QString::fromStdString(path)));
  for (int id : {cmd::kSave, cmd::kPrintGraph, cmd::kStoreRms, cmd::kStoreTr, cmd::kDataList,
                 cmd::kToggleInfoPanel}) {
    EXPECT_TRUE(Enabled(id)) << id;
  }
  EXPECT_TRUE(Frame().Action(cmd::kStoreRms)->isChecked());
  EXPECT_FALSE(Enabled(cmd::kRealTimeRms));
  EXPECT_FALSE(Frame().InstrumentPanel()->isVisible());  // the start screen has gone

  // STORE TR: the thin strip, the wider column, no info toggle.
  Frame().OnCommand(cmd::kStoreTr);
  EXPECT_TRUE(Frame().Action(cmd::kStoreTr)->isChecked());
  EXPECT_FALSE(Frame().Action(cmd::kStoreRms)->isChecked());
  EXPECT_EQ(Frame().View()->Display().panelHeight, 25);
  EXPECT_EQ(Frame().Splitter()->sizes().value(0), 210);
  EXPECT_FALSE(Enabled(cmd::kToggleInfoPanel));
  Frame().OnCommand(cmd::kStoreRms);
  EXPECT_EQ(Frame().Splitter()->sizes().value(0), 150);
  EXPECT_EQ(Frame().View()->Display().lastPoint, 20);
}

TEST_F(MainWindow, WindowTogglesHideAndRestoreTheColumnAndThePanel) {
  Frame().OnCommand(cmd::kToggleInstrument);
  EXPECT_EQ(Frame().Splitter()->sizes().value(0), 0);
  EXPECT_FALSE(Frame().Action(cmd::kToggleInstrument)->isChecked());
  Frame().OnCommand(cmd::kToggleInstrument);
  EXPECT_EQ(Frame().Splitter()->sizes().value(0), 150);

  const std::string path = ui.Path("store.stdata");
  ASSERT_EQ(SaveDataFile(StoreData(5, false), path), "");
  ASSERT_TRUE(Frame().OpenDataFile(QString::fromStdString(path)));
  EXPECT_EQ(Frame().View()->Display().panelHeight, 120);
  Frame().OnCommand(cmd::kToggleInfoPanel);
  EXPECT_EQ(Frame().View()->Display().panelHeight, 0);
  EXPECT_FALSE(Frame().Action(cmd::kToggleInfoPanel)->isChecked());
  Frame().OnCommand(cmd::kToggleInfoPanel);
  EXPECT_EQ(Frame().View()->Display().panelHeight, 120);
}

TEST_F(MainWindow, InstrumentTreeMenuOpensOnTheItemOnly) {
  CInstrumentView* tree = Frame().InstrumentView();
  const QRect itemRect = tree->visualItemRect(tree->topLevelItem(0));
  QContextMenuEvent onItem(QContextMenuEvent::Mouse, itemRect.center(),
                           tree->viewport()->mapToGlobal(itemRect.center()));
  QContextMenuEvent onEmpty(QContextMenuEvent::Mouse, QPoint(20, tree->height() - 20),
                            tree->viewport()->mapToGlobal(QPoint(20, tree->height() - 20)));
  QApplication::sendEvent(tree->viewport(), &onEmpty);
  EXPECT_FALSE(tree->ContextMenu()->isVisible());
  QApplication::sendEvent(tree->viewport(), &onItem);
  ASSERT_TRUE(tree->ContextMenu()->isVisible());
  QStringList texts;
  for (QAction* a : tree->ContextMenu()->actions()) texts << a->text();
  EXPECT_EQ(texts, QStringList({"&Correct Time...", "Datalogger &Setup...", "&Download Data...",
                                "&Previous Measurement..."}));
  tree->ContextMenu()->hide();
}

TEST_F(MainWindow, StartScreenButtonsAreRefusedLikeTheirMenuItems) {
  // A run in progress: the logger buttons must not open anything.
  Frame().Logger().Link().realTimeStopped = 0;
  Frame().InstrumentPanel()->ButtonFor(cmd::kCorrectTime)->click();
  EXPECT_FALSE(Frame().Logger().Dialog(DialogKind::CorrectTime)->isVisible());
  Frame().Logger().Link().realTimeStopped = 1;
  Frame().InstrumentPanel()->ButtonFor(cmd::kCorrectTime)->click();
  EXPECT_TRUE(Frame().Logger().Dialog(DialogKind::CorrectTime)->isVisible());
  EXPECT_EQ(Frame().Logger().Dialog(DialogKind::CorrectTime)->windowTitle(), "Connecting...");
  EXPECT_TRUE(timers.IsActive(timer::kPortScan));
  Frame().Logger().Dialog(DialogKind::CorrectTime)->reject();
  EXPECT_TRUE(Frame().Logger().OpenDialogs().empty());
}

TEST_F(MainWindow, LoggerDialogsStayShutWhileADownloadShowsItsProgress) {
  Frame().Logger().ProgressOpen(4, 1);
  ASSERT_TRUE(Frame().Logger().ProgressWindowOpen());
  EXPECT_EQ(Frame().Logger().Loading()->windowTitle(), "Loading...");
  EXPECT_EQ(Frame().Logger().Loading()->Maximum(), 4);
  Frame().OnCommand(cmd::kDownload);
  Frame().OnCommand(cmd::kLoggerSetup);
  EXPECT_FALSE(Frame().Logger().Dialog(DialogKind::Download)->isVisible());
  EXPECT_FALSE(Frame().Logger().Dialog(DialogKind::LoggerSetup)->isVisible());
  Frame().Logger().ProgressClose();
  EXPECT_FALSE(Frame().Logger().ProgressWindowOpen());
}

TEST_F(MainWindow, DownloadDialogStartButtonFollowsTheStatus) {
  Frame().OnCommand(cmd::kDownload);
  auto* dialog = Frame().Logger().Dialog(DialogKind::Download);
  ASSERT_TRUE(dialog->isVisible());
  dialog->StartButton()->click();  // "Connecting...": nothing happens
  EXPECT_TRUE(dialog->isVisible());
  dialog->SetStatus(kStatusNotConnected);
  dialog->StartButton()->click();
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(dialog->MessageText(), "Connecting failed. Ensure logger inserted and try again.");
  dialog->CancelButton()->click();
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_FALSE(timers.IsActive(timer::kPortScan));
  EXPECT_TRUE(serial.writes.empty());
}

TEST_F(MainWindow, HelpShowsOurDocumentAndAboutNamesTheVersion) {
  Frame().OnCommand(cmd::kHelpTopics);
  ASSERT_NE(Frame().Help(), nullptr);
  EXPECT_TRUE(Frame().Help()->isVisible());
  const QString text = Frame().Help()->Browser()->toPlainText();
  EXPECT_TRUE(text.contains("dialout")) << text.left(200).toStdString();
  EXPECT_TRUE(text.contains("Downloading stored data"));
  Frame().OnCommand(cmd::kAbout);
  auto* about = Frame().findChild<QLabel*>("aboutText");
  ASSERT_NE(about, nullptr);
  EXPECT_EQ(about->text(), "Orvane AC Voltage-Current Software 1.0");
  about->window()->close();
}

// The application's event filter, as CDTApp installs it.
class SplashFilter : public QObject {
 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    return CStartupSplash::PreTranslateAppMessage(event);
  }
};

TEST(Splash, AClickRemovesTheSplashAndGoesNoFurther) {
  App();
  QWidget owner;
  QPushButton button(QStringLiteral("under"), &owner);
  owner.show();
  int clicks = 0;
  QObject::connect(&button, &QPushButton::pressed, [&clicks] { ++clicks; });
  SplashFilter filter;
  QApplication::instance()->installEventFilter(&filter);
  CStartupSplash::EnableSplash(true);
  CStartupSplash::ShowSplashScreen(&owner);
  ASSERT_NE(CStartupSplash::Current(), nullptr);
  EXPECT_EQ(CStartupSplash::Current()->size(), QSize(520, 317));
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), button.mapToGlobal(QPointF(5, 5)),
                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&button, &press);
  EXPECT_EQ(CStartupSplash::Current(), nullptr);
  EXPECT_EQ(clicks, 0);
  // Without the splash the next press reaches the button.
  QApplication::sendEvent(&button, &press);
  EXPECT_EQ(clicks, 1);
  QApplication::instance()->removeEventFilter(&filter);
}

TEST(Splash, HidesItselfAfterOneSecond) {
  App();
  QWidget owner;
  CStartupSplash::EnableSplash(true);
  CStartupSplash::ShowSplashScreen(&owner);
  ASSERT_NE(CStartupSplash::Current(), nullptr);
  EXPECT_TRUE(WaitUntil([] { return CStartupSplash::Current() == nullptr; }, 3000));
}

}  // namespace
}  // namespace acv::test
