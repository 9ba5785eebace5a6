#include "ui/CInstrumentView.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>

#include "frame/Commands.h"
#include "ui/Artwork.h"

namespace acv {

CInstrumentView::CInstrumentView(CommandSink send, EnableRule enabled, QWidget* parent)
    : QTreeWidget(parent),
      send_(std::move(send)),
      enabled_(std::move(enabled)),
      menu_(new QMenu(this)) {
  setObjectName(QStringLiteral("instrumentView"));
  setHeaderHidden(true);
  setColumnCount(1);
  setIconSize(QSize(28, 50));
  setRootIsDecorated(false);
  setFrameShape(QFrame::StyledPanel);

  const std::pair<int, const char*> entries[] = {
      {cmd::kCorrectTime, "&Correct Time..."},
      {cmd::kLoggerSetup, "Datalogger &Setup..."},
      {cmd::kDownload, "&Download Data..."},
      {cmd::kPreviousMeasurement, "&Previous Measurement..."},
  };
  for (const auto& [id, text] : entries) {
    QAction* action = menu_->addAction(QString::fromUtf8(text));
    action->setData(id);
    if (const cmd::CommandInfo* info = cmd::FindCommand(id)) {
      action->setStatusTip(QString::fromUtf8(info->prompt));
    }
    const int commandId = id;
    connect(action, &QAction::triggered, this, [this, commandId] {
      if (send_) send_(commandId);
    });
  }
  // The same commands are off during a real-time run as in the main menu.
  connect(menu_, &QMenu::aboutToShow, this, [this] {
    for (QAction* action : menu_->actions()) {
      action->setEnabled(!enabled_ || enabled_(action->data().toInt()));
    }
  });
  OnInitialUpdate();
}

void CInstrumentView::OnInitialUpdate() {
  clear();
  auto* item = new QTreeWidgetItem(this, QStringList(QStringLiteral("-INSTRUMENT")));
  item->setIcon(0, QIcon(InstrumentTreePicture()));
  addTopLevelItem(item);
}

void CInstrumentView::contextMenuEvent(QContextMenuEvent* event) {
  QTreeWidgetItem* item = itemAt(event->pos());
  if (item == nullptr) return;  // the empty part of the tree has no menu
  setCurrentItem(item);
  menu_->popup(event->globalPos());
}

}  // namespace acv
