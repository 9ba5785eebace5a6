#include "ui/panels/CTrFileListDlg.h"

#include <QHeaderView>

namespace acv {

CTrFileListDlg::CTrFileListDlg(const CDTDoc& doc, QWidget* owner)
    : ListWindow(QStringLiteral("TR File List"), owner),
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
}

void CTrFileListDlg::Rebuild() {
  model_->Rebuild();
}

}  // namespace acv
