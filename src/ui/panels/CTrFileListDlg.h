#pragma once
// The TR File List: the TR records by number and trigger time, beside the
// graph while STORE TR is shown. A double click on a record shows it.
#include "ui/panels/ListModels.h"
#include "ui/panels/ListWindow.h"

namespace acv {

class CTrFileListDlg : public ListWindow {
  Q_OBJECT

 public:
  CTrFileListDlg(const CDTDoc& doc, QWidget* owner);

  TrListModel* Model() const { return model_; }
  ListTable* Table() const { return table_; }
  // Counts the records again.
  void Rebuild();
  // Ctrl+C: the selected records as tab-separated text, as the Data List copies.
  void CopySelection() const;

 signals:
  void recordChosen(int record);

 private:
  const CDTDoc& doc_;
  TrListModel* model_;
  ListTable* table_;
};

}  // namespace acv
