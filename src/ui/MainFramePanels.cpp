// The panels and list windows of the main window: the information panel
// above the graph, the Data List, the TR File List and the power analysis
// panel. The list and panel windows are tool windows of the main window,
// placed in screen coordinates over the part of it they belong to; on X11 the
// position is honoured, a Wayland compositor places them itself. The user may
// move them.
#include <QScreen>
#include <QSplitter>
#include <array>

#include "frame/Commands.h"
#include "frame/DataLists.h"
#include "graph/CDTView.h"
#include "logger/WaveAnalysis.h"
#include "ui/CInstrumentView.h"
#include "ui/CMainFrame.h"
#include "ui/panels/CDataListDlg.h"
#include "ui/panels/CInfoPanelDlg.h"
#include "ui/panels/CPowerAnalysisDlg.h"
#include "ui/panels/CTrFileListDlg.h"

namespace acv {

CDataListDlg* CMainFrame::DataList() const {
  return dataList_;
}

CTrFileListDlg* CMainFrame::TrFileList() const {
  return trList_;
}

CPowerAnalysisDlg* CMainFrame::PowerPanel() const {
  return powerDlg_;
}

void CMainFrame::CreatePanels() {
  infoPanel_ = new CInfoPanelDlg;
  view_->SetInfoPanel(infoPanel_);
  connect(view_, &CDTView::displayChanged, this, &CMainFrame::RefreshInfoPanel);
  connect(view_, &CDTView::cursorPointChanged, this, &CMainFrame::OnGraphCursorPoint);
  connect(view_, &CDTView::trMarkActivated, this, &CMainFrame::OnTrMarkActivated);
}

void CMainFrame::RefreshInfoPanel() {
  const DisplaySetup& setup = view_->Display();
  infoPanel_->Show(view_->Mode(), setup.plotCh1, setup.plotCh2, view_->Info());
}

// ---- Data List ----------------------------------------------------------------

void CMainFrame::OpenDataList() {
  if (dataList_ != nullptr) return;
  dataList_ = new CDataListDlg(doc_, this);
  connect(dataList_, &CDataListDlg::rowChosen, this, &CMainFrame::OnDataListRow);
  // A closed window is deleted later; it counts as gone at once, and Print
  // List goes with it.
  connect(dataList_, &ListWindow::closed, this, [this] {
    dataList_ = nullptr;
    UpdateCommands();
  });
  RebuildDataList();
  PlaceDataList();
  dataList_->show();
}

void CMainFrame::RebuildDataList() {
  if (dataList_ == nullptr) return;
  const DisplayMode mode = frame_.ActiveMode();
  dataList_->Rebuild(mode, view_->Display());
  // The newest row is followed in a running real-time display only.
  if (frame_.realTimeStopped == 0 && IsRealTimeMode(mode)) dataList_->List()->ScrollToBottom();
}

void CMainFrame::PlaceDataList() {
  if (dataList_ == nullptr) return;
  // Over the plot: the view without the information panel at its top.
  const int panel = std::max(0, view_->Display().panelHeight);
  const QPoint topLeft = view_->mapToGlobal(QPoint(0, panel));
  dataList_->PlaceAt(QRect(topLeft, QSize(view_->width(), std::max(1, view_->height() - panel))));
}

void CMainFrame::FollowDisplayInDataList(bool layoutChanged, bool keep) {
  if (dataList_ == nullptr) return;
  const DisplayMode mode = frame_.ActiveMode();
  if (dataList_->Model()->Mode() != mode && !keep) {
    // The list belongs to the display it was opened for.
    dataList_->close();
    return;
  }
  // Also when the same display shows other rows (STORE TR chosen again goes
  // back to record 0): the list must list what the graph shows.
  if (keep || layoutChanged || dataList_->Model()->Mode() != mode ||
      DataListOutdated(mode, dataList_->Model()->View(), view_->Display())) {
    RebuildDataList();
    PlaceDataList();
    return;
  }
  // The same display again: a new real-time point, or the user chose it.
  dataList_->TakeNewRows(frame_.realTimeStopped == 0 && IsRealTimeMode(mode));
}

void CMainFrame::OnDataListRow(qint64 row) {
  if (dataList_ == nullptr || dataList_->Model()->Mode() != view_->Mode()) return;
  const std::int64_t point = GraphPointOfRow(doc_, view_->Mode(), view_->Display(), row);
  if (point >= 0) view_->PlaceCursorOnPoint(point);
}

void CMainFrame::OnGraphCursorPoint(qint64 index) {
  if (dataList_ == nullptr || dataList_->Model()->Mode() != view_->Mode()) return;
  dataList_->SelectRow(DataListRowOfPoint(doc_, view_->Mode(), view_->Display(), index));
}

// ---- TR File List -------------------------------------------------------------

QRect CMainFrame::InstrumentColumnOnScreen(int fallbackWidth) const {
  const QPoint topLeft = splitter_->mapToGlobal(QPoint(0, 0));
  const int width = frame_.instrumentPaneShown == 1 && instrument_->width() > 0
                        ? instrument_->width()
                        : fallbackWidth;
  return QRect(topLeft, QSize(width, splitter_->height()));
}

void CMainFrame::OpenTrFileList() {
  if (trList_ != nullptr) return;
  trList_ = new CTrFileListDlg(doc_, this);
  connect(trList_, &CTrFileListDlg::recordChosen, this, &CMainFrame::ShowTrRecord);
  connect(trList_, &ListWindow::closed, this, [this] { trList_ = nullptr; });
  trList_->PlaceAt(InstrumentColumnOnScreen(kTrListColumnWidth));
  trList_->show();
}

void CMainFrame::ShowTrRecord(int record) {
  if (!frame_.IsActive(DisplayMode::StoreTr)) return;
  DisplaySetup setup = view_->Display();
  InfoTexts info = view_->Info();
  if (!acv::ShowTrRecord(setup, info, doc_, record)) return;
  view_->ApplyDisplay(setup);
  view_->SetInfoTexts(info);
  view_->ZoomReset();
  if (dataList_ != nullptr) {
    RebuildDataList();
    PlaceDataList();
  }
}

void CMainFrame::OnTrMarkActivated(int record) {
  if (!frame_.IsActive(DisplayMode::StoreRms) || !CommandEnabled(cmd::kStoreTr)) return;
  RunModeCommand(DisplayMode::StoreTr);
  ShowTrRecord(record);
  if (trList_ != nullptr) trList_->Table()->selectRow(record);
  UpdateCommands();
}

// ---- power analysis panel -----------------------------------------------------

void CMainFrame::OpenPowerPanel() {
  if (powerDlg_ != nullptr) return;
  powerDlg_ = new CPowerAnalysisDlg(this);
  connect(powerDlg_, &CPowerAnalysisDlg::closed, this, [this] { powerDlg_ = nullptr; });
  powerData_.Open();
  powerDlg_->PlaceAt(InstrumentColumnOnScreen(kPowerPanelColumnWidth));
  ShowPowerTexts();
  powerDlg_->show();
}

void CMainFrame::ShowPowerTexts() {
  if (powerDlg_ != nullptr) powerDlg_->Show(powerData_);
}

void CMainFrame::ClosePanels() {
  if (powerDlg_ != nullptr) {
    powerDlg_->close();
    powerDlg_ = nullptr;
    powerData_.ClosedByOwner();
  }
  if (trList_ != nullptr) trList_->close();
}

void CMainFrame::ComputeWaveStatistics() {
  const DisplaySetup& setup = view_->Display();
  const std::array<bool, 2> shown{setup.plotCh1, setup.plotCh2};
  for (int c = 0; c < 2; ++c) {
    if (!shown[static_cast<std::size_t>(c)]) continue;
    std::array<float, kEpaPoints> wave;
    for (std::size_t i = 0; i < wave.size(); ++i) {
      wave[i] = c == 0 ? doc_.epaWave[i].ch1 : doc_.epaWave[i].ch2;
    }
    PowerPanelTexts& texts = powerData_.channel[static_cast<std::size_t>(c)];
    texts = AnalyseWave(wave, texts).texts;
  }
}

}  // namespace acv
