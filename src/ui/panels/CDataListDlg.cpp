#include "ui/panels/CDataListDlg.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QItemSelectionModel>

namespace acv {

CDataListDlg::CDataListDlg(const CDTDoc& doc, QWidget* owner)
    : ListWindow(QStringLiteral("AC Voltage/Current Data List"), owner),
      doc_(doc),
      model_(new DataListModel(doc, this)) {
  setObjectName(QStringLiteral("dataList"));
  ListTable* table = Table();
  table->setObjectName(QStringLiteral("dataListTable"));
  table->setSelectionMode(QAbstractItemView::ExtendedSelection);
  table->setModel(model_);
  table->setContextMenuPolicy(Qt::ActionsContextMenu);
  auto* copy = new QAction(QStringLiteral("Copy"), table);
  copy->setObjectName(QStringLiteral("copyRowsAction"));
  copy->setShortcut(QKeySequence::Copy);
  copy->setShortcutContext(Qt::WidgetShortcut);
  connect(copy, &QAction::triggered, this, &CDataListDlg::CopySelection);
  table->addAction(copy);
  auto* all = new QAction(QStringLiteral("Select All"), table);
  all->setShortcut(QKeySequence::SelectAll);
  all->setShortcutContext(Qt::WidgetShortcut);
  connect(all, &QAction::triggered, table, &QTableView::selectAll);
  table->addAction(all);
  connect(table, &ListTable::copyRequested, this, &CDataListDlg::CopySelection);
  connect(table->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& current) {
            if (!selecting_ && current.isValid()) emit rowChosen(current.row());
          });
}

void CDataListDlg::Rebuild(DisplayMode mode, const DisplaySetup& view) {
  setWindowTitle(QString::fromStdString(DataListCaption(mode)));
  model_->Rebuild(mode, view);
  ApplyColumnWidths(Table(), DataListColumns(mode));
}

void CDataListDlg::TakeNewRows(bool following) {
  // The EPA list is the newest wave: the same rows with new values.
  if (model_->Mode() == DisplayMode::RealTimeEpa) model_->RefreshAll();
  if (model_->TakeNewRows() && following) Table()->scrollToBottom();
}

void CDataListDlg::SelectRow(std::int64_t row) {
  if (row < 0 || row >= model_->rowCount()) return;
  selecting_ = true;
  const QModelIndex index = model_->index(static_cast<int>(row), 0);
  Table()->selectionModel()->setCurrentIndex(
      index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  Table()->scrollTo(index, QAbstractItemView::PositionAtCenter);
  selecting_ = false;
}

QString CDataListDlg::SelectionText() const {
  std::vector<std::int64_t> rows;
  // Ranges, not indexes: a selection of every row stays one range.
  for (const QItemSelectionRange& range : Table()->selectionModel()->selection()) {
    for (int r = range.top(); r <= range.bottom(); ++r) rows.push_back(r);
  }
  return QString::fromStdString(
      DataListCopyText(doc_, model_->Mode(), model_->View(), std::move(rows)));
}

void CDataListDlg::CopySelection() const {
  QApplication::clipboard()->setText(SelectionText());
}

}  // namespace acv
