#pragma once
// The Statistics window: the span statistics of the display on show between
// markers A and B, or of the visible span, as aligned text in a fixed-pitch
// font. A choice above the text picks the span; "Between A and B" is there
// only while both markers are. Ctrl+C or the context menu's "Copy" copies
// the text as shown; Esc closes the window.
#include <QString>

#include "ui/panels/ToolWindow.h"

class QLabel;
class QRadioButton;

namespace acv {

class CStatisticsDlg : public ToolWindow {
  Q_OBJECT

 public:
  explicit CStatisticsDlg(QWidget* owner);

  void ShowText(const QString& text);
  // Whether both markers are there. Their coming selects "Between A and B",
  // their going "Visible span"; in between the user's choice stays.
  void SetBetweenAvailable(bool available);
  // The span chosen is the one between A and B.
  bool BetweenChosen() const;
  QString Text() const;
  void CopyText() const;

 signals:
  // The user chose the other span.
  void spanChoiceChanged();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QLabel* text_;
  QRadioButton* between_;
  QRadioButton* visible_;
};

}  // namespace acv
