#include "ui/panels/VirtualRowView.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionViewItem>
#include <algorithm>

#include "ui/panels/ListWindow.h"

namespace acv {

VirtualRowView::VirtualRowView(QWidget* parent)
    : QAbstractScrollArea(parent),
      header_(new QHeaderView(Qt::Horizontal, this)),
      rowHeight_(fontMetrics().height() + 4) {
  setFocusPolicy(Qt::WheelFocus);
  header_->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  header_->setHighlightSections(false);
  header_->setSectionsMovable(false);
  connect(header_, &QHeaderView::sectionResized, this, [this] {
    UpdateGeometry();
    viewport()->update();
  });
  connect(header_, &QHeaderView::sectionCountChanged, this, &VirtualRowView::UpdateGeometry);
}

void VirtualRowView::SetModel(QAbstractItemModel* model) {
  if (model_ != nullptr) {
    disconnect(model_, nullptr, this, nullptr);
    disconnect(model_, nullptr, viewport(), nullptr);
  }
  delete selection_;
  model_ = model;
  selection_ = new QItemSelectionModel(model, this);
  header_->setModel(model);
  anchor_ = -1;
  const auto relaid = [this] {
    UpdateGeometry();
    viewport()->update();
  };
  connect(model, &QAbstractItemModel::modelReset, this, [this, relaid] {
    anchor_ = -1;
    relaid();
  });
  connect(model, &QAbstractItemModel::rowsInserted, this, relaid);
  connect(model, &QAbstractItemModel::rowsRemoved, this, relaid);
  connect(model, &QAbstractItemModel::layoutChanged, this, relaid);
  connect(model, &QAbstractItemModel::dataChanged, viewport(), qOverload<>(&QWidget::update));
  connect(selection_, &QItemSelectionModel::selectionChanged, viewport(),
          qOverload<>(&QWidget::update));
  connect(selection_, &QItemSelectionModel::currentChanged, viewport(),
          qOverload<>(&QWidget::update));
  UpdateGeometry();
}

int VirtualRowView::RowCount() const {
  return model_ != nullptr ? model_->rowCount() : 0;
}

int VirtualRowView::RowsInSight() const {
  return std::max(1, viewport()->height() / rowHeight_);
}

int VirtualRowView::TopRow() const {
  return verticalScrollBar()->value();
}

int VirtualRowView::RowAt(int y) const {
  if (y < 0) return -1;
  const int row = TopRow() + y / rowHeight_;
  return row < RowCount() ? row : -1;
}

QRect VirtualRowView::RowRect(int row) const {
  return QRect(-horizontalScrollBar()->value(), (row - TopRow()) * rowHeight_, header_->length(),
               rowHeight_);
}

int VirtualRowView::CurrentRow() const {
  return selection_ != nullptr && selection_->currentIndex().isValid()
             ? selection_->currentIndex().row()
             : -1;
}

void VirtualRowView::SetCurrentRow(int row) {
  MoveTo(row, false);
}

void VirtualRowView::SelectAll() {
  const int rows = RowCount();
  if (rows == 0 || model_->columnCount() == 0) return;
  // One range, whatever the number of rows.
  selection_->select(
      QItemSelection(model_->index(0, 0), model_->index(rows - 1, model_->columnCount() - 1)),
      QItemSelectionModel::ClearAndSelect);
}

void VirtualRowView::ScrollToRow(int row, bool centre) {
  const int inSight = RowsInSight();
  int top = TopRow();
  if (centre) {
    top = row - inSight / 2;
  } else if (row < top) {
    top = row;
  } else if (row >= top + inSight) {
    top = row - inSight + 1;
  }
  verticalScrollBar()->setValue(top);
}

void VirtualRowView::ScrollToBottom() {
  verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

void VirtualRowView::MoveTo(int row, bool extend) {
  const int rows = RowCount();
  if (rows == 0) return;
  row = std::clamp(row, 0, rows - 1);
  const QModelIndex index = model_->index(row, 0);
  if (extend && anchor_ >= 0 && anchor_ < rows) {
    // Replaces what the last click or key selected, keeping rows added
    // before it with Ctrl. The current row moves first: whoever follows it
    // may select it alone, and the range then still wins.
    selection_->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    selection_->select(QItemSelection(model_->index(std::min(anchor_, row), 0),
                                      model_->index(std::max(anchor_, row), 0)),
                       QItemSelectionModel::SelectCurrent | QItemSelectionModel::Rows);
  } else {
    anchor_ = row;
    selection_->setCurrentIndex(index,
                                QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  }
  ScrollToRow(row, false);
}

void VirtualRowView::UpdateGeometry() {
  const int headerHeight = header_->isHidden() ? 0 : header_->sizeHint().height();
  setViewportMargins(0, headerHeight, 0, 0);
  const QRect area = viewport()->geometry();
  header_->setGeometry(area.left(), area.top() - headerHeight, area.width(), headerHeight);

  const int inSight = RowsInSight();
  QScrollBar* vertical = verticalScrollBar();
  vertical->setRange(0, std::max(0, RowCount() - inSight));
  vertical->setPageStep(inSight);
  vertical->setSingleStep(1);
  QScrollBar* horizontal = horizontalScrollBar();
  horizontal->setRange(0, std::max(0, header_->length() - area.width()));
  horizontal->setPageStep(area.width());
  horizontal->setSingleStep(20);
  header_->setOffset(horizontal->value());
}

void VirtualRowView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateGeometry();
}

void VirtualRowView::scrollContentsBy(int, int) {
  header_->setOffset(horizontalScrollBar()->value());
  viewport()->update();
}

// Each cell as Qt's table draws it (the style's item panel and text), then
// the grid on the right and bottom edge of each cell.
void VirtualRowView::paintEvent(QPaintEvent*) {
  if (model_ == nullptr) return;
  QPainter painter(viewport());
  const int rows = RowCount();
  const int top = TopRow();
  const int shown = std::min(rows - top, viewport()->height() / rowHeight_ + 1);
  const int columns = model_->columnCount();
  const int current = CurrentRow();

  QStyleOptionViewItem cell;
  cell.initFrom(this);
  cell.state &= ~(QStyle::State_HasFocus | QStyle::State_MouseOver);
  cell.displayAlignment = Qt::AlignLeft | Qt::AlignVCenter;
  cell.textElideMode = Qt::ElideRight;
  cell.features = QStyleOptionViewItem::HasDisplay;
  cell.font = font();
  cell.fontMetrics = fontMetrics();
  cell.widget = this;
  cell.showDecorationSelected = true;  // the whole cell highlighted, as in tables
  const QStyle::State base = cell.state;
  const int offset = horizontalScrollBar()->value();

  for (int i = 0; i < shown; ++i) {
    const int row = top + i;
    const bool selected = selection_->isRowSelected(row);
    for (int c = 0; c < columns; ++c) {
      if (header_->isSectionHidden(c) || header_->sectionSize(c) == 0) continue;
      const QModelIndex index = model_->index(row, c);
      cell.rect = QRect(header_->sectionPosition(c) - offset, i * rowHeight_,
                        header_->sectionSize(c) - 1, rowHeight_ - 1);
      cell.index = index;
      cell.text = model_->data(index, Qt::DisplayRole).toString();
      cell.state = base;
      if (selected) cell.state |= QStyle::State_Selected;
      if (row == current && c == 0 && hasFocus()) cell.state |= QStyle::State_HasFocus;
      style()->drawControl(QStyle::CE_ItemViewItem, &cell, &painter, this);
    }
  }

  QStyleOptionViewItem gridOption;
  gridOption.initFrom(this);
  const QColor grid = QColor::fromRgba(
      static_cast<QRgb>(style()->styleHint(QStyle::SH_Table_GridLineColor, &gridOption, this)));
  painter.setPen(grid);
  const int right = std::min(viewport()->width(), header_->length() - offset) - 1;
  const int bottom = std::max(0, shown) * rowHeight_ - 1;
  if (right < 0 || bottom < 0) return;
  for (int i = 0; i < shown; ++i) {
    const int y = (i + 1) * rowHeight_ - 1;
    painter.drawLine(0, y, right, y);
  }
  for (int c = 0; c < columns; ++c) {
    if (header_->isSectionHidden(c) || header_->sectionSize(c) == 0) continue;
    const int x = header_->sectionPosition(c) + header_->sectionSize(c) - 1 - offset;
    painter.drawLine(x, 0, x, bottom);
  }
}

void VirtualRowView::mousePressEvent(QMouseEvent* event) {
  setFocus(Qt::MouseFocusReason);
  const int row = RowAt(static_cast<int>(event->position().y()));
  if (row < 0 || selection_ == nullptr) return;
  const Qt::KeyboardModifiers keys = event->modifiers();
  if (event->button() == Qt::RightButton) {
    // The context menu acts on the selection: a row outside it is chosen
    // first.
    if (!selection_->isRowSelected(row)) MoveTo(row, false);
    return;
  }
  if (event->button() != Qt::LeftButton) return;
  if (keys & Qt::ShiftModifier) {
    MoveTo(row, true);
  } else if (keys & Qt::ControlModifier) {
    anchor_ = row;
    selection_->setCurrentIndex(model_->index(row, 0),
                                QItemSelectionModel::Toggle | QItemSelectionModel::Rows);
  } else {
    MoveTo(row, false);
  }
}

void VirtualRowView::mouseMoveEvent(QMouseEvent* event) {
  // Dragging with the button held extends the selection, scrolling as the
  // pointer leaves the rows in sight.
  if (!(event->buttons() & Qt::LeftButton) || anchor_ < 0) return;
  const int y = static_cast<int>(event->position().y());
  const int row = TopRow() + (y < 0 ? -1 : y / rowHeight_);
  if (row != CurrentRow()) MoveTo(row, true);
}

void VirtualRowView::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Copy)) {
    emit copyRequested();
    return;
  }
  if (event->matches(QKeySequence::SelectAll)) {
    SelectAll();
    return;
  }
  const bool extend = event->modifiers() & Qt::ShiftModifier;
  const int current = CurrentRow();
  if (IsListCloseKey(event->key())) {
    emit closeRequested();
    return;
  }
  switch (event->key()) {
    case Qt::Key_Up:
      MoveTo(current < 0 ? 0 : current - 1, extend);
      return;
    case Qt::Key_Down:
      MoveTo(current + 1, extend);
      return;
    case Qt::Key_PageUp:
      MoveTo(current - RowsInSight(), extend);
      return;
    case Qt::Key_PageDown:
      MoveTo(std::max(current, 0) + RowsInSight(), extend);
      return;
    case Qt::Key_Home:
      MoveTo(0, extend);
      return;
    case Qt::Key_End:
      MoveTo(RowCount() - 1, extend);
      return;
    default:
      QAbstractScrollArea::keyPressEvent(event);
  }
}

void AddCopyAndSelectAll(VirtualRowView* list, const QString& copyName,
                         const std::function<void()>& copy) {
  list->setContextMenuPolicy(Qt::ActionsContextMenu);
  auto* copyAction = new QAction(QStringLiteral("Copy"), list);
  copyAction->setObjectName(copyName);
  copyAction->setShortcut(QKeySequence::Copy);
  copyAction->setShortcutContext(Qt::WidgetShortcut);
  QObject::connect(copyAction, &QAction::triggered, list, copy);
  list->addAction(copyAction);
  auto* all = new QAction(QStringLiteral("Select All"), list);
  all->setShortcut(QKeySequence::SelectAll);
  all->setShortcutContext(Qt::WidgetShortcut);
  QObject::connect(all, &QAction::triggered, list, &VirtualRowView::SelectAll);
  list->addAction(all);
  QObject::connect(list, &VirtualRowView::copyRequested, list, copy);
}

}  // namespace acv
