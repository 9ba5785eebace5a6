#include "ui/panels/ListWindow.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QVBoxLayout>

namespace acv {

ListTable::ListTable(QWidget* parent) : QTableView(parent) {
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setShowGrid(true);
  setWordWrap(false);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  // Every row the same height: the view then never measures rows, whatever
  // their number. (The row header still keeps a 16-byte record per row, as
  // every Qt item view does: 4 MiB for the largest list.)
  verticalHeader()->hide();
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
  horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  horizontalHeader()->setHighlightSections(false);
}

void ListTable::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Copy)) {
    emit copyRequested();
    return;
  }
  if (IsListCloseKey(event->key())) {
    emit closeRequested();
    return;
  }
  QTableView::keyPressEvent(event);
}

ListWindow::ListWindow(const QString& caption, QWidget* owner) : ToolWindow(owner) {
  setWindowTitle(caption);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
}

void ListWindow::Fill(QWidget* list) {
  layout()->addWidget(list);
}

void ApplyColumnWidths(QHeaderView* header, std::span<const ListColumn> columns) {
  for (std::size_t c = 0; c < columns.size(); ++c) {
    const int column = static_cast<int>(c);
    header->setSectionHidden(column, columns[c].width == 0);
    if (columns[c].width > 0) header->resizeSection(column, columns[c].width);
  }
}

bool IsListCloseKey(int key) {
  return key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter;
}

}  // namespace acv
