#pragma once
// The status bar's pane for the command prompts: 800 pixels wide where the
// window allows, narrower in a small window. The prompts have this pane to
// themselves, so other status texts (a finished download, a save) are not
// wiped out by pointing at a menu entry, and do not wipe the prompt either.
#include <QLabel>

namespace acv {

class PromptPane : public QLabel {
 public:
  static constexpr int kWidth = 800;

  explicit PromptPane(QWidget* parent = nullptr) : QLabel(parent) {
    setObjectName(QStringLiteral("promptPane"));
    setTextFormat(Qt::PlainText);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
  }
  QSize sizeHint() const override { return {kWidth, QLabel::sizeHint().height()}; }
  QSize minimumSizeHint() const override { return {0, QLabel::minimumSizeHint().height()}; }
};

}  // namespace acv
