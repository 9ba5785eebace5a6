#pragma once
// Up/down arrows beside a numeric edit (its "buddy"). An arrow click, or the
// Up/Down key in the edit, reads the edit's number, steps it by one within
// the range and writes it back as a plain integer; the edit's own change
// handling then runs as for typed text. The arrows never keep a value of
// their own, so whatever the user typed is where the next step starts.
#include <QWidget>

class QToolButton;

namespace acv {

class CNumberEdit;

class SpinButtons : public QWidget {
  Q_OBJECT

 public:
  SpinButtons(CNumberEdit* buddy, QWidget* parent = nullptr);

  void SetRange(int lowest, int highest);
  int Lowest() const { return lowest_; }
  int Highest() const { return highest_; }
  CNumberEdit* Buddy() const { return buddy_; }

  // One click on an arrow: +1 up, -1 down.
  void StepBy(int steps);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  CNumberEdit* buddy_;
  QToolButton* up_;
  QToolButton* down_;
  int lowest_ = 0;
  int highest_ = 100;
};

}  // namespace acv
