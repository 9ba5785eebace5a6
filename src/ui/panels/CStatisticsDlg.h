#pragma once
// The Statistics window: the span statistics of the display on show between
// cursors A and B, or of the visible span without B, as aligned text in a
// fixed-pitch font. Ctrl+C or the context menu's "Copy" copies the text as
// shown; Esc closes the window.
#include <QString>

#include "ui/panels/ToolWindow.h"

class QLabel;

namespace acv {

class CStatisticsDlg : public ToolWindow {
  Q_OBJECT

 public:
  explicit CStatisticsDlg(QWidget* owner);

  void ShowText(const QString& text);
  QString Text() const;
  void CopyText() const;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QLabel* text_;
};

}  // namespace acv
