#include "ui/ToolWindows.h"

#include <QSplitter>
#include <algorithm>

#include "frame/DataLists.h"
#include "graph/CDTView.h"
#include "logger/WaveAnalysis.h"
#include "ui/panels/CDataListDlg.h"
#include "ui/panels/CInfoPanelDlg.h"
#include "ui/panels/CPowerAnalysisDlg.h"
#include "ui/panels/CTrFileListDlg.h"

namespace acv {

ToolWindows::ToolWindows(Host host) : QObject(&host.owner), host_(host) {
  infoPanel_ = new CInfoPanelDlg;
  host_.view.SetInfoPanel(infoPanel_);
  connect(&host_.view, &CDTView::displayChanged, this, &ToolWindows::RefreshInfoPanel);
  connect(&host_.view, &CDTView::markerAMoved, this, &ToolWindows::OnGraphCursorPoint);
}

CDataListDlg* ToolWindows::DataList() const {
  return dataList_;
}

CTrFileListDlg* ToolWindows::TrFileList() const {
  return trList_;
}

CPowerAnalysisDlg* ToolWindows::PowerPanel() const {
  return powerDlg_;
}

void ToolWindows::RefreshInfoPanel() {
  const DisplaySetup& setup = host_.view.Display();
  infoPanel_->Show(host_.view.Mode(), setup.plotCh1, setup.plotCh2, host_.view.Info());
}

// ---- Data List ----------------------------------------------------------------

void ToolWindows::OpenDataList() {
  if (dataList_ != nullptr) {
    dataList_->show();  // put away by View > Graph
    dataList_->raise();
    return;
  }
  dataList_ = new CDataListDlg(host_.doc, &host_.owner);
  connect(dataList_, &CDataListDlg::rowChosen, this, &ToolWindows::OnDataListRow);
  // A closed window is deleted later; it counts as gone at once. A place the
  // user chose is kept for the next opening.
  CDataListDlg* list = dataList_;
  connect(list, &ListWindow::closed, this, [this, list] {
    if (list->MovedByUser()) dataListMovedTo_ = list->frameGeometry();
    dataList_ = nullptr;
  });
  RebuildDataList();
  dataList_->PlaceAt(dataListMovedTo_.isValid() ? dataListMovedTo_ : DataListPlace());
  dataList_->show();
}

QRect ToolWindows::DataListPlace() const {
  // Beside the plot, at the right of the graph view below the information
  // panel, as wide as its columns but at most half the view: the curves and
  // the cursor the list follows stay in sight.
  const CDTView& view = host_.view;
  const int panel = std::max(0, view.Display().panelHeight);
  int columns = 0;
  for (const ListColumn& c : DataListColumns(host_.frame.ActiveMode())) columns += c.width;
  const int width = std::max(1, std::min(columns + 40, view.width() / 2));
  const QPoint topLeft = view.mapToGlobal(QPoint(view.width() - width, panel));
  return QRect(topLeft, QSize(width, std::max(1, view.height() - panel)));
}

void ToolWindows::RebuildDataList() {
  if (dataList_ == nullptr) return;
  const DisplayMode mode = host_.frame.ActiveMode();
  dataList_->Rebuild(mode, host_.view.Display());
  // The newest row is followed in a running real-time display only.
  if (host_.frame.realTimeStopped == 0 && IsRealTimeMode(mode)) {
    dataList_->List()->ScrollToBottom();
  }
}

void ToolWindows::PlaceDataList() {
  if (dataList_ == nullptr || dataList_->MovedByUser()) return;
  dataList_->PlaceAt(DataListPlace());
}

void ToolWindows::CloseDataList() {
  if (dataList_ != nullptr) dataList_->close();
}

void ToolWindows::ShowGraph() {
  if (dataList_ != nullptr && dataList_->isVisible()) {
    const QRect graph(host_.view.mapToGlobal(QPoint(0, 0)), host_.view.size());
    if (dataList_->frameGeometry().intersects(graph.adjusted(0, 0, -DataListPlace().width(), 0))) {
      dataList_->hide();
    }
  }
  host_.owner.raise();
  host_.owner.activateWindow();
  host_.view.setFocus(Qt::OtherFocusReason);
}

void ToolWindows::FollowDisplay(bool layoutChanged, bool keep) {
  if (dataList_ == nullptr) return;
  const DisplayMode mode = host_.frame.ActiveMode();
  if (dataList_->Model()->Mode() != mode && !keep) {
    // The list belongs to the display it was opened for.
    dataList_->close();
    return;
  }
  // Also when the same display shows other rows (STORE TR chosen again goes
  // back to record 0): the list must list what the graph shows.
  if (keep || layoutChanged || dataList_->Model()->Mode() != mode ||
      DataListOutdated(mode, dataList_->Model()->View(), host_.view.Display())) {
    RebuildDataList();
    PlaceDataList();
    return;
  }
  // The same display again: a new real-time point, or the user chose it.
  dataList_->TakeNewRows(host_.frame.realTimeStopped == 0 && IsRealTimeMode(mode));
}

void ToolWindows::OnDataListRow(qint64 row) {
  CDTView& view = host_.view;
  if (dataList_ == nullptr || dataList_->Model()->Mode() != view.Mode()) return;
  const std::int64_t point = GraphPointOfRow(host_.doc, view.Mode(), view.Display(), row);
  if (point >= 0) view.PlaceMarkerAOnGraphPoint(point);
}

void ToolWindows::OnGraphCursorPoint(qint64 index) {
  const CDTView& view = host_.view;
  if (dataList_ == nullptr || dataList_->Model()->Mode() != view.Mode()) return;
  dataList_->SelectRow(DataListRowOfPoint(host_.doc, view.Mode(), view.Display(), index));
}

// ---- TR File List -------------------------------------------------------------

QRect ToolWindows::ColumnOnScreen(int fallbackWidth) const {
  const QSplitter& splitter = host_.splitter;
  const QWidget* column = splitter.widget(0);
  const QPoint topLeft = splitter.mapToGlobal(QPoint(0, 0));
  const int width = host_.frame.instrumentPaneShown == 1 && column != nullptr && column->width() > 0
                        ? column->width()
                        : fallbackWidth;
  return QRect(topLeft, QSize(width, splitter.height()));
}

void ToolWindows::OpenTrFileList() {
  if (trList_ != nullptr) return;
  trList_ = new CTrFileListDlg(host_.doc, &host_.owner);
  connect(trList_, &CTrFileListDlg::recordChosen, this, &ToolWindows::trRecordChosen);
  connect(trList_, &ListWindow::closed, this, [this] { trList_ = nullptr; });
  trList_->PlaceAt(ColumnOnScreen(kTrListColumnWidth));
  trList_->show();
}

void ToolWindows::CloseTrFileList() {
  if (trList_ != nullptr) trList_->close();
}

void ToolWindows::DisplayedRowsChanged() {
  if (dataList_ == nullptr) return;
  RebuildDataList();
  PlaceDataList();
}

void ToolWindows::SelectTrRecord(int record) {
  if (trList_ != nullptr) trList_->Table()->selectRow(record);
}

// ---- power analysis panel -----------------------------------------------------

void ToolWindows::ShowPowerPanel() {
  OpenPowerPanel();
  powerDlg_->show();
  powerDlg_->raise();
}

void ToolWindows::OpenPowerPanel() {
  if (powerDlg_ != nullptr) return;
  powerDlg_ = new CPowerAnalysisDlg(&host_.owner);
  connect(powerDlg_, &CPowerAnalysisDlg::closed, this, [this] { powerDlg_ = nullptr; });
  powerData_.Open();
  powerDlg_->PlaceAt(ColumnOnScreen(kPowerPanelColumnWidth));
  ShowPowerTexts();
  powerDlg_->show();
}

void ToolWindows::ShowPowerTexts() {
  powerData_.unit = {host_.doc.rtUnitCh1, host_.doc.rtUnitCh2};
  const ChannelScaling& scaling = host_.doc.scaling;
  powerData_.factor = {scaling[0].OfSample(), scaling[1].OfSample()};
  if (powerValues_) {
    powerData_.power =
        acv::PowerTexts(ScaledPower(powerValues_, scaling[0].OfSample() * scaling[1].OfSample()));
  }
  if (powerDlg_ != nullptr) powerDlg_->Show(powerData_);
}

void ToolWindows::ClosePanels() {
  if (powerDlg_ != nullptr) {
    powerDlg_->close();
    powerDlg_ = nullptr;
    powerData_.ClosedByOwner();
  }
  CloseTrFileList();
}

void ToolWindows::FollowModeEffects(const ModeEffects& effects) {
  if (effects.powerPanel == PanelRequest::Close) ClosePanels();
  if (effects.trFileList == PanelRequest::Close) CloseTrFileList();
  if (effects.trFileList == PanelRequest::Open) OpenTrFileList();
  if (effects.powerPanel == PanelRequest::Open) OpenPowerPanel();
  if (powerDlg_ == nullptr) return;
  if (effects.computeWaveStatistics) {
    const DisplaySetup& setup = host_.view.Display();
    AnalyseCapturedWaves(host_.doc, {setup.plotCh1, setup.plotCh2}, powerData_.channel);
  }
  if (effects.updatePowerText) {
    powerData_.apparentPower =
        ApparentPowerText(powerData_.channel[0].rms, powerData_.channel[1].rms);
  }
  ShowPowerTexts();
}

void ToolWindows::ResetPowerTexts() {
  powerData_.Reset();
  powerValues_.reset();
  ShowPowerTexts();
}

void ToolWindows::TakeRunTexts(const std::array<PowerPanelTexts, 2>& channels,
                               const std::optional<PowerValues>& power) {
  if (powerDlg_ == nullptr) return;
  powerData_.channel = channels;
  powerData_.power = acv::PowerTexts(power);
  powerValues_ = power;  // shown in primary units by ShowPowerTexts
  ShowPowerTexts();
}

}  // namespace acv
