#pragma once
// A table of many rows of the same height that keeps nothing per row: it
// paints only the rows in sight, asking the model for their texts, and holds
// the selection as row ranges. Qt's item views keep a record for every row in
// their row header even when it is hidden (4 MiB for the largest Data List);
// this view's column header runs over the few columns only. Rows are selected
// whole: click, Shift+click, Ctrl+click, the arrow and page keys (Shift
// extends from the anchor row), Ctrl+A. Esc or Enter asks for the window to
// close, Ctrl+C for a copy.
#include <QAbstractScrollArea>
#include <QPointer>
#include <functional>

class QAbstractItemModel;
class QHeaderView;
class QItemSelectionModel;

namespace acv {

class VirtualRowView : public QAbstractScrollArea {
  Q_OBJECT

 public:
  explicit VirtualRowView(QWidget* parent = nullptr);

  void SetModel(QAbstractItemModel* model);
  QAbstractItemModel* Model() const { return model_; }
  QItemSelectionModel* SelectionModel() const { return selection_; }
  QHeaderView* Header() const { return header_; }

  int RowHeight() const { return rowHeight_; }
  // The row at a height of the viewport, -1 below the last row.
  int RowAt(int y) const;
  // Where a row lies in the viewport (it may be out of sight).
  QRect RowRect(int row) const;
  int TopRow() const;

  int CurrentRow() const;
  // Makes the row current and the only one selected, and brings it in sight.
  void SetCurrentRow(int row);
  void SelectAll();
  void ScrollToRow(int row, bool centre);
  void ScrollToBottom();

 signals:
  void closeRequested();
  void copyRequested();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  int RowCount() const;
  int RowsInSight() const;  // rows wholly in sight, at least one
  // Moves the current row; with extend, the rows from the anchor to it are
  // selected, else it alone.
  void MoveTo(int row, bool extend);
  void UpdateGeometry();

  QPointer<QAbstractItemModel> model_;
  QItemSelectionModel* selection_ = nullptr;
  QHeaderView* header_;
  int rowHeight_;
  int anchor_ = -1;  // where Shift extends the selection from
};

// The context menu of a list of rows: "Copy" (Ctrl+C, also the view's
// copyRequested) runs `copy`; "Select All" (Ctrl+A) selects every row.
void AddCopyAndSelectAll(VirtualRowView* list, const QString& copyName,
                         const std::function<void()>& copy);

}  // namespace acv
