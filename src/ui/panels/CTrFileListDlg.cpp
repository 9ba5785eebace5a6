#include "ui/panels/CTrFileListDlg.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QItemSelectionModel>

namespace acv {

CTrFileListDlg::CTrFileListDlg(const CDTDoc& doc, QWidget* owner)
    : ListWindow(QStringLiteral("TR File List"), owner),
      doc_(doc),
      model_(new TrListModel(doc, this)),
      table_(Hold(new ListTable(this))) {
  setObjectName(QStringLiteral("trFileList"));
  ListTable* table = table_;
  table->setObjectName(QStringLiteral("trFileListTable"));
  table->setSelectionMode(QAbstractItemView::SingleSelection);
  table->setModel(model_);
  ApplyColumnWidths(table->horizontalHeader(), TrListColumns());
  // Only a double click on a record shows it: one below the last record
  // hits no row and does nothing.
  connect(table, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
    if (index.isValid()) emit recordChosen(index.row());
  });
  connect(table, &ListTable::copyRequested, this, &CTrFileListDlg::CopySelection);
}

void CTrFileListDlg::CopySelection() const {
  std::vector<std::int64_t> rows;
  for (const QModelIndex& index : table_->selectionModel()->selectedRows()) {
    rows.push_back(index.row());
  }
  QApplication::clipboard()->setText(QString::fromStdString(TrListCopyText(doc_, rows)));
}

void CTrFileListDlg::Rebuild() {
  model_->Rebuild();
}

}  // namespace acv
