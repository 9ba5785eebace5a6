#include "ui/panels/CEventsDlg.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

#include "frame/DisplayAnalysis.h"

namespace acv {

CEventsDlg::CEventsDlg(QWidget* owner)
    : ListWindow(QStringLiteral("Events"), owner),
      model_(new EventListModel(this)),
      list_(Hold(new VirtualRowView(this))),
      empty_(new QLabel(QString::fromLatin1(kNoEventsText), this)) {
  setObjectName(QStringLiteral("eventsWindow"));
  list_->setObjectName(QStringLiteral("eventsTable"));
  list_->SetModel(model_);
  const auto widths = EventListWidths();
  for (std::size_t c = 0; c < widths.size(); ++c) {
    list_->Header()->resizeSection(static_cast<int>(c), widths[c]);
  }
  empty_->setObjectName(QStringLiteral("noEventsNote"));
  empty_->setContentsMargins(8, 6, 8, 6);
  static_cast<QVBoxLayout*>(layout())->insertWidget(0, empty_);

  AddCopyAndSelectAll(list_, QStringLiteral("copyEventsAction"), [this] { CopySelection(); });
  connect(list_->SelectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& current) {
            if (!listing_ && current.isValid()) emit eventChosen(current.row());
          });
  // Enter chooses the row here rather than closing the window as in the
  // Data List: the list is where one goes from event to event.
  list_->installEventFilter(this);
}

bool CEventsDlg::eventFilter(QObject* watched, QEvent* event) {
  if (watched == list_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      if (list_->CurrentRow() >= 0) emit eventChosen(list_->CurrentRow());
      return true;
    }
  }
  return ListWindow::eventFilter(watched, event);
}

void CEventsDlg::SetEvents(std::vector<Event> events, const QString& caption) {
  setWindowTitle(caption);
  if (events == model_->Events()) return;
  // The rows were those of other data or limits: the selection goes too.
  listing_ = true;
  model_->SetEvents(std::move(events));
  listing_ = false;
  empty_->setVisible(model_->rowCount() == 0);
}

QString CEventsDlg::SelectionText() const {
  std::vector<std::int64_t> rows;
  for (const QItemSelectionRange& range : list_->SelectionModel()->selection()) {
    for (int r = range.top(); r <= range.bottom(); ++r) rows.push_back(r);
  }
  return QString::fromStdString(
      EventsCopyText(model_->Events(), std::move(rows), kSampleTimeFormat));
}

void CEventsDlg::CopySelection() const {
  QApplication::clipboard()->setText(SelectionText());
}

}  // namespace acv
