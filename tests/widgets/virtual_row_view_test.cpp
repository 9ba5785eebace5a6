// The row view of the Data List: whole rows selected by mouse and keyboard as
// users of list views expect, the current row kept in sight.
#include <gtest/gtest.h>

#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStringListModel>
#include <functional>

#include "WidgetTestSupport.h"
#include "ui/panels/VirtualRowView.h"

namespace acv::test {
namespace {

// The selected rows as runs, e.g. "3 5-6 9-11".
std::string SelectedRuns(const VirtualRowView& view) {
  std::string runs;
  const int rows = view.Model()->rowCount();
  for (int row = 0; row < rows; ++row) {
    if (!view.SelectionModel()->isRowSelected(row)) continue;
    int last = row;
    while (last + 1 < rows && view.SelectionModel()->isRowSelected(last + 1)) ++last;
    if (!runs.empty()) runs += ' ';
    runs += std::to_string(row) + (last > row ? "-" + std::to_string(last) : "");
    row = last;
  }
  return runs;
}

TEST(VirtualRowView, SelectsWholeRowsByMouseAndKeysKeepingTheCurrentRowInSight) {
  App();
  QStringList texts;
  for (int i = 0; i < 100; ++i) texts << QString::number(i);
  QStringListModel model(texts);
  VirtualRowView view;
  view.SetModel(&model);
  view.resize(300, 400);
  view.show();
  const int page = view.viewport()->height() / view.RowHeight();
  ASSERT_GT(page, 15);

  const auto click = [&](int row, Qt::KeyboardModifiers keys,
                         Qt::MouseButton button = Qt::LeftButton) {
    return [&view, row, keys, button] {
      const QPointF at = view.RowRect(row).center();
      QMouseEvent press(QEvent::MouseButtonPress, at, view.viewport()->mapToGlobal(at), button,
                        button, keys);
      QCoreApplication::sendEvent(view.viewport(), &press);
    };
  };
  const auto key = [&](int k, Qt::KeyboardModifiers keys = Qt::NoModifier) {
    return [&view, k, keys] {
      QKeyEvent press(QEvent::KeyPress, k, keys);
      QCoreApplication::sendEvent(&view, &press);
    };
  };
  const std::string paged = std::to_string(15 + page);
  struct Step {
    const char* what;
    std::function<void()> act;
    int current;
    std::string selected;
  };
  const Step steps[] = {
      {"click", click(3, Qt::NoModifier), 3, "3"},
      {"shift+click", click(6, Qt::ShiftModifier), 6, "3-6"},
      {"ctrl+click adds", click(9, Qt::ControlModifier), 9, "3-6 9"},
      {"shift+down extends from it", key(Qt::Key_Down, Qt::ShiftModifier), 10, "3-6 9-10"},
      {"ctrl+click takes away", click(4, Qt::ControlModifier), 4, "3 5-6 9-10"},
      {"right-click in the selection", click(10, Qt::NoModifier, Qt::RightButton), 4, "3 5-6 9-10"},
      {"right-click outside it", click(14, Qt::NoModifier, Qt::RightButton), 14, "14"},
      {"down", key(Qt::Key_Down), 15, "15"},
      {"page down", key(Qt::Key_PageDown), 15 + page, paged},
      {"shift+end", key(Qt::Key_End, Qt::ShiftModifier), 99, paged + "-99"},
      {"home", key(Qt::Key_Home), 0, "0"},
      {"shift+page down", key(Qt::Key_PageDown, Qt::ShiftModifier), page,
       "0-" + std::to_string(page)},
      {"page up at the top", key(Qt::Key_PageUp), 0, "0"},
      {"ctrl+a", key(Qt::Key_A, Qt::ControlModifier), 0, "0-99"},
  };
  for (const Step& step : steps) {
    step.act();
    EXPECT_EQ(view.CurrentRow(), step.current) << step.what;
    EXPECT_EQ(SelectedRuns(view), step.selected) << step.what;
    EXPECT_LE(view.TopRow(), step.current) << step.what;
    EXPECT_LT(step.current, view.TopRow() + page) << step.what;
  }
  EXPECT_EQ(view.SelectionModel()->selection().size(), 1);  // all rows as one range
}

}  // namespace
}  // namespace acv::test
