#include "ui/panels/CDataListDlg.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QItemSelectionModel>

namespace acv {

CDataListDlg::CDataListDlg(const CDTDoc& doc, QWidget* owner)
    : ListWindow(QStringLiteral("AC Voltage/Current Data List"), owner),
      doc_(doc),
      model_(new DataListModel(doc, this)),
      list_(Hold(new VirtualRowView(this))) {
  setObjectName(QStringLiteral("dataList"));
  list_->setObjectName(QStringLiteral("dataListTable"));
  list_->SetModel(model_);
  AddCopyAndSelectAll(list_, QStringLiteral("copyRowsAction"), [this] { CopySelection(); });
  connect(list_->SelectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& current) {
            if (!selecting_ && current.isValid()) emit rowChosen(current.row());
          });
}

void CDataListDlg::Rebuild(DisplayMode mode, const DisplaySetup& view) {
  setWindowTitle(QString::fromStdString(DataListCaption(mode)));
  model_->Rebuild(mode, view);
  ApplyColumnWidths(list_->Header(), DataListColumns(mode));
  // A site's timeline numbers its rows in the millions: the No. column
  // widens to show the last row's number whole.
  const QString widest(QString::number(model_->rowCount()).size(), QLatin1Char('8'));
  const int needed = list_->Header()->fontMetrics().horizontalAdvance(widest) + 16;
  if (list_->Header()->sectionSize(0) < needed) list_->Header()->resizeSection(0, needed);
}

void CDataListDlg::TakeNewRows(bool following) {
  // The EPA list is the newest wave: the same rows with new values.
  if (model_->Mode() == DisplayMode::RealTimeEpa) model_->RefreshAll();
  if (model_->TakeNewRows() && following) list_->ScrollToBottom();
}

void CDataListDlg::SelectRow(std::int64_t row) {
  if (row < 0 || row >= model_->rowCount()) return;
  if (row == list_->CurrentRow()) {
    // Also the graph's answer to a row chosen here: a selection made with
    // Shift or Ctrl stays.
    list_->ScrollToRow(static_cast<int>(row), false);
    return;
  }
  selecting_ = true;
  list_->SetCurrentRow(static_cast<int>(row));
  list_->ScrollToRow(static_cast<int>(row), true);
  selecting_ = false;
}

QString CDataListDlg::SelectionText() const {
  std::vector<std::int64_t> rows;
  // Ranges, not indexes: a selection of every row stays one range.
  for (const QItemSelectionRange& range : list_->SelectionModel()->selection()) {
    for (int r = range.top(); r <= range.bottom(); ++r) rows.push_back(r);
  }
  return QString::fromStdString(
      DataListCopyText(doc_, model_->Mode(), model_->View(), std::move(rows)));
}

void CDataListDlg::CopySelection() const {
  QApplication::clipboard()->setText(SelectionText());
}

}  // namespace acv
