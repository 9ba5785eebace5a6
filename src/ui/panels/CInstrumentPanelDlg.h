#pragma once
// The start screen's button panel (220 x 380): large picture buttons for the
// logger commands, opening a document, the help and RUN. Each button sends
// the same command as its menu item, so it is refused in the same states.
#include <QAbstractButton>
#include <QWidget>
#include <functional>

namespace acv {

inline constexpr int kInstrumentPanelWidth = 220;
inline constexpr int kInstrumentPanelHeight = 380;

// A button that shows its picture (symbol and text) scaled to its size.
class PanelPictureButton : public QAbstractButton {
  Q_OBJECT

 public:
  PanelPictureButton(int commandId, const QString& text, QWidget* parent);
  int CommandId() const { return commandId_; }
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int commandId_;
};

class CInstrumentPanelDlg : public QWidget {
  Q_OBJECT

 public:
  using CommandSink = std::function<void(int commandId)>;
  explicit CInstrumentPanelDlg(CommandSink send, QWidget* parent = nullptr);

  // The button that sends a command, or nullptr.
  PanelPictureButton* ButtonFor(int commandId) const;

 private:
  CommandSink send_;
};

}  // namespace acv
