#pragma once
// What the Data List and the TR File List windows share: a tool window of the
// main window that holds one table filling its client area, with full-row
// selection and grid lines. Esc or Enter inside it closes it, as its close box
// does.
#include <QTableView>
#include <span>

#include "frame/DataLists.h"
#include "ui/panels/ToolWindow.h"

namespace acv {

class ListTable : public QTableView {
  Q_OBJECT

 public:
  explicit ListTable(QWidget* parent = nullptr);

 signals:
  void closeRequested();
  void copyRequested();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};

class ListWindow : public ToolWindow {
  Q_OBJECT

 public:
  ListWindow(const QString& caption, QWidget* owner);

  ListTable* Table() const { return table_; }

 private:
  ListTable* table_;
};

// Column widths and hidden columns as a list's rules give them.
void ApplyColumnWidths(QTableView* table, std::span<const ListColumn> columns);

}  // namespace acv
