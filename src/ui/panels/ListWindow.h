#pragma once
// What the Data List and the TR File List windows share: a tool window of the
// main window that holds one list filling its client area, with full-row
// selection and grid lines. Esc or Enter inside it closes it, as its close box
// does. The TR File List (a few hundred records at most) is a Qt table; the
// Data List, which may hold a quarter of a million rows, is a VirtualRowView.
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

 protected:
  // Puts the list in the window, filling it; its closeRequested closes the
  // window.
  template <typename List>
  List* Hold(List* list) {
    Fill(list);
    connect(list, &List::closeRequested, this, &QWidget::close);
    return list;
  }

 private:
  void Fill(QWidget* list);
};

// Column widths and hidden columns (width 0) as a list's rules give them.
void ApplyColumnWidths(QHeaderView* header, std::span<const ListColumn> columns);

// Esc, Return and Enter inside either list close its window.
bool IsListCloseKey(int key);

}  // namespace acv
