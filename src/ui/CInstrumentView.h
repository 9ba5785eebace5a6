#pragma once
// The instrument column: a tree with the single item "-INSTRUMENT" whose
// right-click menu offers the logger commands. The menu only forwards the
// chosen command to the main window.
#include <QTreeWidget>
#include <functional>

class QMenu;

namespace acv {

class CInstrumentView : public QTreeWidget {
  Q_OBJECT

 public:
  using CommandSink = std::function<void(int commandId)>;
  using EnableRule = std::function<bool(int commandId)>;

  CInstrumentView(CommandSink send, EnableRule enabled, QWidget* parent = nullptr);

  // The item's menu (for tests: it is shown with popup(), never exec()).
  QMenu* ContextMenu() const { return menu_; }

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void OnInitialUpdate();

  CommandSink send_;
  EnableRule enabled_;
  QMenu* menu_;
};

}  // namespace acv
