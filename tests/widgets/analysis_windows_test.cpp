// The Statistics and Events windows and the Event Limits dialog in the main
// window: opened by their commands, following the markers (never the
// pointer), a chosen event
// shown on the graph, the copies, and new limits taking effect.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <fstream>

#include "analysis/AnalysisText.h"
#include "data/DataFile.h"
#include "frame/Commands.h"
#include "frame_fixture.h"
#include "graph/CDTView.h"
#include "ui/AnalysisWindows.h"
#include "ui/dialogs/CEventLimitsDlg.h"
#include "ui/panels/CDistributionDlg.h"
#include "ui/panels/CEventsDlg.h"
#include "ui/panels/CStatisticsDlg.h"
#include "ui/panels/CTrFileListDlg.h"

namespace acv::test {
namespace {

class AnalysisWindowsTest : public FrameTest {
 protected:
  // 200 points of CH1 (V) and CH2 (A) with a dip at points 101 .. 110 and a
  // TR record at point 6: a transient, then the dip.
  void LoadWithDip() {
    CDTDoc doc = StoreData(200, true);
    for (int k = 100; k < 110; ++k) doc.rmsCh1[static_cast<std::size_t>(k)] = 180.0f;
    const std::string path = ui.Path("dip.stdata");
    ASSERT_EQ(SaveDataFile(doc, path), "");
    ASSERT_TRUE(Frame().OpenDataFile(QString::fromStdString(path)));
    QCoreApplication::processEvents();
  }
  CDTView& View() { return *Frame().View(); }
  // The pointer crossing the plot from left to right, as on the way to
  // another window.
  void CrossThePlot() {
    const GraphState& s = View().State();
    for (int x = s.plotRect.left - 20; x <= s.plotRect.right + 20; x += 37) {
      const QPointF at(x, (s.plotRect.top + s.plotRect.bottom) / 2);
      QMouseEvent move(QEvent::MouseMove, at, View().mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                       Qt::NoModifier);
      QApplication::sendEvent(&View(), &move);
    }
  }
  void Copy(QWidget* widget) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_C, Qt::ControlModifier);
    QApplication::sendEvent(widget, &press);
  }
};

TEST_F(AnalysisWindowsTest, StatisticsFollowTheMarkersNotThePointerAndCopyAsShown) {
  LoadWithDip();
  Frame().OnCommand(cmd::kStatistics);
  CStatisticsDlg* window = Frame().Analysis().Statistics();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->isVisible());
  EXPECT_TRUE(window->Text().contains("visible span")) << window->Text().toStdString();
  auto* between = window->findChild<QRadioButton*>(QStringLiteral("betweenMarkersChoice"));
  auto* visible = window->findChild<QRadioButton*>(QStringLiteral("visibleSpanChoice"));
  ASSERT_TRUE(between != nullptr && visible != nullptr);

  // With A alone there is no span between markers: the visible one is used.
  View().PlaceMarker(Marker::A, 120);
  CrossThePlot();
  EXPECT_FALSE(between->isEnabled());
  EXPECT_TRUE(visible->isChecked());
  EXPECT_TRUE(window->Text().contains("visible span"));
  EXPECT_TRUE(window->Text().contains("A at 121"));

  View().PlaceMarker(Marker::B, 99);  // B before A: the span is still 100 .. 121
  CrossThePlot();
  EXPECT_TRUE(between->isChecked());
  const SpanStatistics expected = ScanSpan(StoreRmsSeries(Frame().Doc(), {}), 99, 120);
  const std::string shown = StatisticsText("STORE RMS", expected, /*betweenCursors=*/true) +
                            "Markers:     A at 121; B at 100\n";
  EXPECT_EQ(window->Text().toStdString(), shown);
  EXPECT_TRUE(window->Text().contains("Energy:"));  // a V/A pair

  // The pointer on its way to the window changes nothing of what is copied.
  CrossThePlot();
  QApplication::clipboard()->clear();
  QApplication::setActiveWindow(window);
  Copy(window);
  EXPECT_EQ(QApplication::clipboard()->text().toStdString(), shown);

  // The visible span chosen by hand stays while B does.
  visible->click();
  EXPECT_TRUE(window->Text().contains("visible span"));
  View().PlaceMarker(Marker::B, 90);
  EXPECT_TRUE(window->Text().contains("visible span"));
  View().PlaceMarker(Marker::B, -1);
  EXPECT_FALSE(between->isEnabled());
  EXPECT_TRUE(window->Text().contains("visible span"));
}

TEST_F(AnalysisWindowsTest, ChoosingAnEventZoomsToItWithTheMarkersOnItsEnds) {
  LoadWithDip();
  Frame().OnCommand(cmd::kEvents);
  CEventsDlg* window = Frame().Analysis().Events();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->windowTitle(), "STORE Events");
  ASSERT_EQ(window->Model()->rowCount(), 2);
  EXPECT_FALSE(window->EmptyNote()->isVisibleTo(window));

  // The kinds shaded are named on the graph's toolbar, where no scroll bar
  // covers them; STORE TR shades nothing.
  EXPECT_TRUE(View().EventLegend()->text().contains("dip"));
  EXPECT_TRUE(View().EventLegend()->text().contains("transient"));
  EXPECT_TRUE(View().EventLegend()->isVisibleTo(&View()));

  window->List()->SetCurrentRow(1);  // the dip
  EXPECT_EQ(View().Mode(), DisplayMode::StoreRms);
  EXPECT_EQ(View().MarkerPoint(Marker::A), 100);
  EXPECT_EQ(View().MarkerPoint(Marker::B), 109);
  const auto [first, last] = View().VisiblePoints();
  EXPECT_LE(first, 100);
  EXPECT_GT(last, 109);
  EXPECT_LT(last - first, 30);  // zoomed in, with a margin around the dip
  // The pointer crossing the plot leaves the event's ends where they are.
  CrossThePlot();
  EXPECT_EQ(View().MarkerPoint(Marker::A), 100);
  EXPECT_EQ(View().MarkerPoint(Marker::B), 109);

  // Both rows copied as the Data List copies: titles, then the rows.
  window->List()->SelectAll();
  Copy(window->List());
  const std::vector<Event>& events = window->Model()->Events();
  EXPECT_EQ(QApplication::clipboard()->text().toStdString(),
            EventsCopyText(events, {0, 1}, kSampleTimeFormat));

  // Enter on the transient: its record in STORE TR, the list stays open.
  window->List()->SetCurrentRow(0);
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QApplication::sendEvent(window->List(), &enter);
  EXPECT_EQ(View().Mode(), DisplayMode::StoreTr);
  EXPECT_TRUE(View().EventLegend()->text().isEmpty());
  EXPECT_EQ(View().Display().trRecord, 0);
  EXPECT_EQ(View().MarkerPoint(Marker::B), kTrWavePoints - 1);
  EXPECT_NE(Frame().Analysis().Events(), nullptr);
  EXPECT_EQ(window->Model()->rowCount(), 2);
}

TEST_F(AnalysisWindowsTest, NewLimitsChangeTheEventsAndABadOneChangesNothing) {
  LoadWithDip();
  Frame().OnCommand(cmd::kEvents);
  CEventsDlg* window = Frame().Analysis().Events();
  ASSERT_EQ(window->Model()->rowCount(), 2);

  auto dialogWithDip = [this](const char* dip) {
    Frame().OnCommand(cmd::kEventLimits);
    auto* dialog = qobject_cast<CEventLimitsDlg*>(Frame().Analysis().LimitsDialog());
    EXPECT_NE(dialog, nullptr);
    dialog->Field(LimitField::Dip)->setText(QString::fromLatin1(dip));
    dialog->OkButton()->click();
    return dialog;
  };
  dialogWithDip("7x");
  EXPECT_EQ(ui.prompter.messages.size(), 1);
  EXPECT_TRUE(ui.prompter.messages.back().contains("dip threshold"));
  ASSERT_NE(Frame().Analysis().LimitsDialog(), nullptr);  // still open
  Frame().Analysis().LimitsDialog()->reject();
  QCoreApplication::processEvents();
  EXPECT_EQ(Frame().Settings().eventLimits, EventLimits{});

  dialogWithDip("70");  // 161 V: the dip to 180 V is none
  EXPECT_EQ(Frame().Settings().eventLimits.dipPct, 70.0);
  // Written at once, so the command line agrees before the window closes.
  EXPECT_EQ(LoadSettings(ui.Path("QX7DATALOGGER.ini")).eventLimits.dipPct, 70.0);
  ASSERT_EQ(window->Model()->rowCount(), 1);
  EXPECT_EQ(window->Model()->Events()[0].kind, EventKind::Transient);

  // Defaults puts the program's limits back.
  Frame().OnCommand(cmd::kEventLimits);
  auto* dialog = qobject_cast<CEventLimitsDlg*>(Frame().Analysis().LimitsDialog());
  ASSERT_NE(dialog, nullptr);
  dialog->DefaultsButton()->click();
  EXPECT_EQ(dialog->Field(LimitField::Dip)->text(), "90");
  dialog->OkButton()->click();
  EXPECT_EQ(Frame().Settings().eventLimits, EventLimits{});
  EXPECT_EQ(window->Model()->rowCount(), 2);
}

}  // namespace
}  // namespace acv::test

namespace acv::test {
namespace {

// The Distribution window measures the Statistics window's span, follows the
// markers, and its PDF is a whole file.
TEST_F(AnalysisWindowsTest, DistributionMeasuresTheStatisticsSpanAndWritesItsPdf) {
  LoadWithDip();
  Frame().OnCommand(cmd::kDistribution);
  CDistributionDlg* window = Frame().Analysis().Distribution();
  ASSERT_NE(window, nullptr);
  const DistributionFigures& all = window->Figures();
  EXPECT_EQ(all.span.first, 0);
  EXPECT_EQ(all.span.last, 199);
  EXPECT_EQ(all.channels[0].percentiles.at[0], 180.0);  // CP01: the dip's 10 of 200 points
  EXPECT_TRUE(window->Text().contains("CP05 180"));

  View().ShowSpan(120, 159);  // A and B on the points after the dip
  QCoreApplication::processEvents();
  EXPECT_EQ(window->Figures().span.first, 120);
  EXPECT_EQ(window->Figures().channels[0].percentiles.at[0], 230.0);

  ui.prompter.saveName = QString::fromStdString(ui.Path("distribution.pdf"));
  Frame().Analysis().WriteDistributionPdf();
  EXPECT_TRUE(ui.prompter.messages.isEmpty()) << ui.prompter.messages.join("|").toStdString();
  std::ifstream pdf(ui.Path("distribution.pdf"), std::ios::binary);
  std::string head(5, '\0');
  pdf.read(head.data(), 5);
  EXPECT_EQ(head, "%PDF-");
}

}  // namespace
}  // namespace acv::test
