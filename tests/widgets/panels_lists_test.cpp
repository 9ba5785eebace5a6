// The list windows and panels of the main window: the Data List, the TR File
// List, the information panel and the power analysis panel, with their
// placement, closing, and the Data List's link to the graph cursor.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSplitter>
#include <QToolBar>

#include "WidgetTestSupport.h"
#include "data/DataFile.h"
#include "frame/Commands.h"
#include "graph/CDTView.h"
#include "support/FakeClock.h"
#include "support/FakeSerialControl.h"
#include "ui/panels/CDataListDlg.h"
#include "ui/panels/CInfoPanelDlg.h"
#include "ui/panels/CPowerAnalysisDlg.h"
#include "ui/panels/CTrFileListDlg.h"

namespace acv::test {
namespace {

// STORE data with four TR records on alternating channels, 100 s apart.
CDTDoc WithRecords(int rmsCount) {
  CDTDoc doc = StoreData(rmsCount, true);
  doc.trCount = 4;
  doc.trWaves.assign(4 * kTrWavePoints, 0.0f);
  for (int r = 0; r < 4; ++r)
    doc.trWaves[static_cast<std::size_t>(r * kTrWavePoints + 1)] = 100.0f * (r + 1);
  doc.trTimes.clear();
  for (int r = 0; r < 4; ++r) doc.trTimes.push_back(doc.rmsStartTime + 100 * (r + 1));
  doc.trUnit = {kUnitVolt, kUnitAmpere, kUnitVolt, kUnitAmpere};
  doc.trChannel = {kChannel1, kChannel2, kChannel1, kChannel2};
  return doc;
}

void SendMouse(QWidget* widget, QEvent::Type type, QPoint at) {
  const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
  const Qt::MouseButtons held = type == QEvent::MouseButtonRelease || type == QEvent::MouseMove
                                    ? Qt::NoButton
                                    : Qt::LeftButton;
  QMouseEvent event(type, QPointF(at), QPointF(widget->mapToGlobal(at)), button, held,
                    Qt::NoModifier);
  QCoreApplication::sendEvent(widget, &event);
}

void DoubleClick(QWidget* widget, QPoint at) {
  for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                            QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
    SendMouse(widget, type, at);
  }
}

void Key(QWidget* widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QKeyEvent press(QEvent::KeyPress, key, modifiers);
  QCoreApplication::sendEvent(widget, &press);
}

class PanelsAndLists : public ::testing::Test {
 protected:
  PanelsAndLists() : serial(clock), timers(clock), ui(&serial, &timers) {}
  CMainFrame& Frame() { return *ui.frame; }
  void Load(const CDTDoc& doc) {
    const std::string path = ui.Path("data.stdata");
    ASSERT_EQ(SaveDataFile(doc, path), "");
    ASSERT_TRUE(Frame().OpenDataFile(QString::fromStdString(path)));
  }
  // Puts a real-time run's data in place, as a run that stopped leaves it.
  void RealTimeData(ChannelPair rms) {
    CDTDoc& doc = Frame().Doc();
    doc.rtCount = 2;
    doc.rtInterval = 2;
    doc.rtStartTime = 1767261600;
    doc.rtHasCh1 = doc.rtHasCh2 = 1;
    doc.rtUnitCh1 = "V";
    doc.rtUnitCh2 = "A";
    doc.rtRms = {{230.0f, 5.0f}, rms};
    doc.rtFreq = {{50.0f, 50.0f}, {50.0f, 50.0f}};
    doc.epaCount = kEpaPoints;
  }
  QString Cell(int row, int column) {
    DataListModel* model = Frame().Tools().DataList()->Model();
    return model->data(model->index(row, column), Qt::DisplayRole).toString();
  }
  void DoubleClickRecord(int row) {
    QTableView* table = Frame().Tools().TrFileList()->Table();
    const QRect cell = table->visualRect(table->model()->index(row, 0));
    DoubleClick(table->viewport(), cell.center());
  }

  FakeClock clock;
  FakeSerialControl serial;
  FakeTimerHost timers;
  FrameUnderTest ui;
};

TEST_F(PanelsAndLists, DataListOpensOnceBelowTheInfoPanelAndClosesByKeyOrModeChange) {
  Load(WithRecords(20));
  EXPECT_TRUE(Frame().Action(cmd::kPrintList)->isEnabled());  // from the data, list or not
  Frame().OnCommand(cmd::kDataList);
  CDataListDlg* list = Frame().Tools().DataList();
  ASSERT_NE(list, nullptr);
  EXPECT_TRUE(list->isVisible());
  EXPECT_EQ(list->windowTitle(), "STORE RMS Data List");
  EXPECT_TRUE(list->windowFlags() & Qt::Tool);
  EXPECT_EQ(list->Model()->rowCount(), 20);
  EXPECT_EQ(list->List()->Header()->sectionSize(1), 180);
  // Beside the plot, at the view's right below the information panel: the
  // graph's left half and the cursor stay in sight.
  const QRect view(Frame().View()->mapToGlobal(QPoint(0, 0)), Frame().View()->size());
  const QRect placed = list->frameGeometry();
  EXPECT_EQ(placed.top(), view.top() + 120);
  EXPECT_EQ(placed.right(), view.right());
  EXPECT_GE(placed.left(), view.left() + view.width() / 2);

  // A place the user chose is kept, by display commands and at the next opening.
  list->move(list->pos() - QPoint(300, 0));
  const QRect moved = list->frameGeometry();
  Frame().OnCommand(cmd::kDataList);  // open already: nothing happens
  Frame().OnCommand(cmd::kStoreRms);
  EXPECT_EQ(Frame().Tools().DataList(), list);
  EXPECT_EQ(list->frameGeometry(), moved);
  // View > Graph puts a list lying over the graph away; Data List brings it back.
  Frame().OnCommand(cmd::kGraph);
  EXPECT_FALSE(list->isVisible());
  EXPECT_EQ(Frame().Tools().DataList(), list);
  Frame().OnCommand(cmd::kDataList);
  EXPECT_TRUE(list->isVisible());
  list->close();
  Frame().OnCommand(cmd::kDataList);
  EXPECT_EQ(Frame().Tools().DataList()->frameGeometry(), moved);

  for (int key : {Qt::Key_Escape, Qt::Key_Return}) {
    Frame().OnCommand(cmd::kDataList);
    ASSERT_NE(Frame().Tools().DataList(), nullptr);
    Key(Frame().Tools().DataList()->List(), key);
    EXPECT_EQ(Frame().Tools().DataList(), nullptr) << key;
  }

  Frame().OnCommand(cmd::kDataList);
  Frame().OnCommand(cmd::kStoreTr);
  EXPECT_EQ(Frame().Tools().DataList(), nullptr);
}

TEST_F(PanelsAndLists, StoreTrListsTheShownRecordAndTheTrFileListShowsAnother) {
  Load(WithRecords(20));
  Frame().OnCommand(cmd::kToggleInstrument);  // the column closed
  Frame().OnCommand(cmd::kStoreTr);
  CTrFileListDlg* records = Frame().Tools().TrFileList();
  ASSERT_NE(records, nullptr);
  EXPECT_EQ(records->windowTitle(), "TR File List");
  EXPECT_EQ(records->frameGeometry().width(), 210);
  EXPECT_EQ(records->frameGeometry().topLeft(), Frame().Splitter()->mapToGlobal(QPoint(0, 0)));
  EXPECT_EQ(records->Model()->rowCount(), 4);

  Frame().OnCommand(cmd::kDataList);
  ASSERT_NE(Frame().Tools().DataList(), nullptr);
  EXPECT_EQ(Frame().Tools().DataList()->Model()->rowCount(), 251);
  for (int row : {0, 125, 250}) EXPECT_EQ(Cell(row, 1), "01/01/26 10:01:40") << row;
  EXPECT_EQ(Cell(1, 2), "100.0 V");

  const int resets = Frame().View()->ZoomResets();
  DoubleClickRecord(2);
  EXPECT_EQ(Frame().View()->Display().trRecord, 2);
  EXPECT_EQ(Frame().View()->ZoomResets(), resets + 1);
  EXPECT_EQ(Frame().View()->Info().startText, "01/01/26 10:05:00");
  EXPECT_EQ(Frame().Tools().DataList()->Model()->rowCount(), 251);
  EXPECT_EQ(Cell(250, 1), "01/01/26 10:05:00");
  EXPECT_EQ(Cell(1, 2), "300.0 V");

  // Below the last record nothing is hit: nothing changes.
  QTableView* table = records->Table();
  const QRect last = table->visualRect(table->model()->index(3, 0));
  const QPoint below(last.center().x(), last.bottom() + 40);
  ASSERT_LT(below.y(), table->viewport()->height());
  DoubleClick(table->viewport(), below);
  EXPECT_EQ(Frame().View()->Display().trRecord, 2);
  EXPECT_EQ(Frame().View()->ZoomResets(), resets + 1);

  // Ctrl+C copies the chosen record's line.
  table->selectRow(2);
  Key(table, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), "File No.\tTime\n3\t01/01/26 10:05:00\n");

  // STORE TR chosen again with the TR File List closed goes back to record
  // 0; the Data List lists it too.
  records->close();
  Frame().OnCommand(cmd::kStoreTr);
  EXPECT_EQ(Frame().View()->Display().trRecord, 0);
  ASSERT_NE(Frame().Tools().DataList(), nullptr);
  EXPECT_EQ(Cell(250, 1), "01/01/26 10:01:40");
  EXPECT_EQ(Cell(1, 2), "100.0 V");

  // Leaving STORE TR closes the TR File List.
  Frame().OnCommand(cmd::kStoreRms);
  EXPECT_EQ(Frame().Tools().TrFileList(), nullptr);
}

TEST_F(PanelsAndLists, PowerPanelOpensOnceOverTheColumnAndFollowsTheRun) {
  Load(WithRecords(20));
  RealTimeData({230.4f, 5.2f});
  Frame().OnCommand(cmd::kToggleInstrument);  // zero width: the panel is 385 wide
  Frame().OnCommand(cmd::kRealTimeEpa);
  CPowerAnalysisDlg* panel = Frame().Tools().PowerPanel();
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(panel->windowTitle(), "Electric Power Analysis");
  EXPECT_EQ(panel->frameGeometry().width(), 385);
  EXPECT_EQ(panel->frameGeometry().topLeft(), Frame().Splitter()->mapToGlobal(QPoint(0, 0)));
  EXPECT_TRUE(panel->Ch1Rms()->isReadOnly());

  panel->move(panel->pos() + QPoint(40, 0));
  const QPoint moved = panel->pos();
  Frame().OnCommand(cmd::kRealTimeEpa);  // open already: neither moved nor made again
  EXPECT_EQ(Frame().Tools().PowerPanel(), panel);
  EXPECT_EQ(panel->pos(), moved);

  // A new run resets the texts; each point writes them and the S text.
  Frame().Logger().RealTimeFirstBlock();
  EXPECT_EQ(panel->Ch1Rms()->text(), "NONE");
  EXPECT_EQ(panel->Ch2Rms()->text(), "NONE");
  EXPECT_EQ(panel->ApparentPower()->text(), "NONE");
  // The run's power values show beside S, in their fields.
  const auto field = [&](const char* name) {
    return panel->findChild<QLineEdit*>(QString::fromLatin1(name))->text().toStdString();
  };
  const auto shown = [&] {
    return PowerFactorTexts{field("activePower"),
                            field("reactivePower"),
                            field("powerFactor"),
                            field("phaseDifference"),
                            {field("ch1Phase"), field("ch2Phase")}};
  };
  EXPECT_EQ(shown(), PowerTexts(std::nullopt));
  struct Case {
    const char* ch1;
    const char* ch2;
    const char* s;
    std::optional<PowerValues> power;
  };
  for (const Case& c :
       {Case{"230.4", "15.2", "3502", PowerValues{3160, 1510, 0.9, 25.5, {90, 64.5}}},
        Case{"230.4", "6.5", "LO", std::nullopt}}) {
    Frame().Logger().RealTime().panelTexts[0].rms = c.ch1;
    Frame().Logger().RealTime().panelTexts[1].rms = c.ch2;
    Frame().Logger().RealTime().power = c.power;
    Frame().Logger().RealTimePointAdded();
    // The large digits carry the channel's unit.
    EXPECT_EQ(panel->Ch1Rms()->text(), QString::fromLatin1(c.ch1) + QStringLiteral(" V"));
    EXPECT_EQ(panel->Ch2Rms()->text(), QString::fromLatin1(c.ch2) + QStringLiteral(" A"));
    EXPECT_EQ(panel->ApparentPower()->text(), c.s) << c.ch2;
    EXPECT_EQ(shown(), PowerTexts(c.power)) << c.ch2;
  }

  // The owner's close: the window goes, channel 1's texts are emptied.
  Frame().OnCommand(cmd::kStoreRms);
  EXPECT_EQ(Frame().Tools().PowerPanel(), nullptr);
  const PowerPanelTexts& ch1 = Frame().Tools().PowerTexts().channel[0];
  EXPECT_EQ(ch1.rms + ch1.period + ch1.frequency + ch1.peakToPeak, "");
  EXPECT_EQ(Frame().Tools().PowerTexts().channel[1].rms, "6.5");
}

TEST_F(PanelsAndLists, InfoPanelIsItsOwnWidgetAboveTheGraph) {
  Load(WithRecords(20));
  CInfoPanelDlg* info = Frame().Tools().InfoPanel();
  ASSERT_TRUE(info->isVisible());
  EXPECT_EQ(info->parentWidget(), Frame().View());
  EXPECT_EQ(info->geometry(), QRect(0, 0, Frame().View()->width(), 120));
  EXPECT_FALSE(info->ScrollBar()->isEnabled());
  EXPECT_TRUE(info->ScrollBar()->isVisible());
  EXPECT_EQ(info->Face().texts[1].text, "STORE RMS");

  // At 25 pixels only the heading band shows: grey with its two rules.
  info->resize(info->width(), 25);
  const QImage face = info->grab().toImage();
  const int w = info->width() - info->ScrollBar()->width();
  auto rowIs = [&](int y, QColor colour) {
    for (int x = 0; x < w; ++x) {
      if (face.pixelColor(x, y) != colour) return false;
    }
    return true;
  };
  EXPECT_TRUE(rowIs(19, Qt::black));
  EXPECT_TRUE(rowIs(20, Qt::black));
  for (int y = 21; y < 25; ++y) EXPECT_TRUE(rowIs(y, QColor(230, 230, 230))) << y;
  EXPECT_FALSE(rowIs(10, QColor(230, 230, 230)));  // " REC INFO "

  // Window > Info Dialog hides it; STORE TR shows its 25-pixel strip.
  Frame().OnCommand(cmd::kToggleInfoPanel);
  EXPECT_FALSE(info->isVisible());
  Frame().OnCommand(cmd::kStoreTr);
  EXPECT_TRUE(info->isVisible());
  EXPECT_EQ(info->height(), 25);
  EXPECT_FALSE(info->Face().headingBand);
}

TEST_F(PanelsAndLists, RowsAndMarkerAFollowEachOtherAndRowsCopyWithTitles) {
  Load(WithRecords(20));
  Frame().OnCommand(cmd::kDataList);
  CDataListDlg* list = Frame().Tools().DataList();
  CDTView* view = Frame().View();
  view->Picture();

  VirtualRowView* table = list->List();
  table->SetCurrentRow(7);
  EXPECT_EQ(view->State().markerAIndex, 7);
  EXPECT_EQ(view->State().readoutText.rfind("Data Point No.:8  Time:01/01/26 10:00:07", 0), 0u);
  // Shift extends the selection; marker A follows the current row.
  Key(table, Qt::Key_Down, Qt::ShiftModifier);
  EXPECT_EQ(view->State().markerAIndex, 8);
  EXPECT_EQ(table->SelectionModel()->selectedRows().size(), 2);

  // Marker A put on a point by a click selects that point's row; the
  // pointer passing over the plot does not.
  const GraphState& s = view->State();
  const int x = s.plotRect.left + static_cast<int>(12 * s.pointStep);
  const int y = (s.plotRect.top + s.plotRect.bottom) / 2;
  SendMouse(view, QEvent::MouseMove, QPoint(x, y));
  SendMouse(view, QEvent::MouseButtonPress, QPoint(x, y));
  SendMouse(view, QEvent::MouseButtonRelease, QPoint(x, y));
  EXPECT_EQ(table->CurrentRow(), 12);
  SendMouse(view, QEvent::MouseMove, QPoint(x + static_cast<int>(4 * s.pointStep), y));
  EXPECT_EQ(table->CurrentRow(), 12);
  EXPECT_EQ(table->SelectionModel()->selectedRows().size(), 1);

  table->SelectionModel()->select(
      QItemSelection(table->Model()->index(2, 0), table->Model()->index(3, 3)),
      QItemSelectionModel::ClearAndSelect);
  Key(table, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(),
            "No.\tTime\tCH1\tCH2\n"
            "3\t01/01/26 10:00:02\t232.0 V\t7.0 A\n"
            "4\t01/01/26 10:00:03\t233.0 V\t5.0 A\n");
  Key(table, Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(list->SelectionText().count('\n'), 21);
}

TEST_F(PanelsAndLists, ADoubleClickOnATrMarkOpensThatRecord) {
  Load(WithRecords(600));
  CDTView* view = Frame().View();
  view->Picture();
  const GraphState& s = view->State();
  // Record 2 triggered 300 s after the start: sample 300.
  const int x = s.plotRect.left + static_cast<int>(300 * s.pointStep);
  DoubleClick(view, QPoint(x, s.plotRect.bottom - 3));
  EXPECT_TRUE(Frame().State().IsActive(DisplayMode::StoreTr));
  EXPECT_EQ(view->Display().trRecord, 2);
  ASSERT_NE(Frame().Tools().TrFileList(), nullptr);
  EXPECT_EQ(Frame().Tools().TrFileList()->Table()->currentIndex().row(), 2);
}

// The toolbar shows each command's rule, whatever changed the state: also a
// change no command made (here the data replaced behind the window's back).
TEST_F(PanelsAndLists, ToolbarButtonsFollowTheRulesOfTheirCommands) {
  auto* bar = Frame().findChild<QToolBar*>("standardToolbar");
  ASSERT_NE(bar, nullptr);
  auto agree = [&] {
    for (QAction* action : bar->actions()) {
      if (action->isSeparator()) continue;
      const int id = action->objectName().mid(QStringLiteral("command").size()).toInt();
      if (bar->widgetForAction(action)->isEnabled() != Frame().CommandEnabled(id)) return false;
    }
    return true;
  };
  EXPECT_TRUE(agree());
  EXPECT_FALSE(bar->widgetForAction(Frame().Action(cmd::kDataList))->isEnabled());
  Load(WithRecords(20));
  EXPECT_TRUE(agree());
  EXPECT_TRUE(bar->widgetForAction(Frame().Action(cmd::kDataList))->isEnabled());

  Frame().Doc().Clear();
  DisplaySetup none = Frame().View()->Display();
  none.lastPoint = 0;
  Frame().View()->ApplyDisplay(none);
  EXPECT_TRUE(WaitUntil(agree, 2000));
  EXPECT_FALSE(bar->widgetForAction(Frame().Action(cmd::kDataList))->isEnabled());
}

}  // namespace
}  // namespace acv::test
