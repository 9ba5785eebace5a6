#pragma once
// The Data List: every point of the display on show as a row of number,
// time and channel values, in a virtual list over the data set. Selecting a
// row tells the graph to put its cursor there; Ctrl+C or the context menu's
// "Copy" copies the selected rows with their column titles as tab-separated
// text, Ctrl+A selects every row.
#include "ui/panels/ListModels.h"
#include "ui/panels/ListWindow.h"
#include "ui/panels/VirtualRowView.h"

namespace acv {

class CDataListDlg : public ListWindow {
  Q_OBJECT

 public:
  CDataListDlg(const CDTDoc& doc, QWidget* owner);

  DataListModel* Model() const { return model_; }
  VirtualRowView* List() const { return list_; }
  // Lists the display afresh; the caption names its mode.
  void Rebuild(DisplayMode mode, const DisplaySetup& view);
  // New real-time points: append their rows and, while a run is on, keep
  // the newest row in sight.
  void TakeNewRows(bool following);
  // Selects and shows a row without telling the graph back.
  void SelectRow(std::int64_t row);
  // The selected rows as the clipboard gets them.
  QString SelectionText() const;
  void CopySelection() const;

 signals:
  void rowChosen(qint64 row);

 private:
  const CDTDoc& doc_;
  DataListModel* model_;
  VirtualRowView* list_;
  bool selecting_ = false;  // a selection made by SelectRow
};

}  // namespace acv
