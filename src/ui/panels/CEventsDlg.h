#pragma once
// The Events window: the dips, interruptions, swells, over-currents and
// transients of the data on show, one row each, in a virtual list like the
// Data List's. Choosing a row (a click, the arrow keys, Enter) asks for the
// graph to show that event; Ctrl+C or the context menu's "Copy" copies the
// selected rows with their column titles as tab-separated text. Without
// events the window says so above the empty list. Esc closes it.
#include <vector>

#include "analysis/Events.h"
#include "ui/panels/ListModels.h"
#include "ui/panels/ListWindow.h"
#include "ui/panels/VirtualRowView.h"

class QLabel;

namespace acv {

class CEventsDlg : public ListWindow {
  Q_OBJECT

 public:
  explicit CEventsDlg(QWidget* owner);

  EventListModel* Model() const { return model_; }
  VirtualRowView* List() const { return list_; }
  QLabel* EmptyNote() const { return empty_; }
  // Lists these events, under a caption naming their part ("STORE Events").
  void SetEvents(std::vector<Event> events, const QString& caption);
  QString SelectionText() const;
  void CopySelection() const;

 signals:
  void eventChosen(int row);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  EventListModel* model_;
  VirtualRowView* list_;
  QLabel* empty_;
  bool listing_ = false;  // rows are being replaced: no choice is made
};

}  // namespace acv
