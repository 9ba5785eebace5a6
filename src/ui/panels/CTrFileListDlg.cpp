#include "ui/panels/CTrFileListDlg.h"

namespace acv {

CTrFileListDlg::CTrFileListDlg(const CDTDoc& doc, QWidget* owner)
    : ListWindow(QStringLiteral("TR File List"), owner), model_(new TrListModel(doc, this)) {
  setObjectName(QStringLiteral("trFileList"));
  ListTable* table = Table();
  table->setObjectName(QStringLiteral("trFileListTable"));
  table->setSelectionMode(QAbstractItemView::SingleSelection);
  table->setModel(model_);
  ApplyColumnWidths(table, TrListColumns());
  // Only a double click on a record shows it: one below the last record
  // hits no row and does nothing.
  connect(table, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
    if (index.isValid()) emit recordChosen(index.row());
  });
}

void CTrFileListDlg::Rebuild() {
  model_->Rebuild();
}

}  // namespace acv
