#pragma once
// The "Loading..." window of a download: one progress bar filling the window,
// counting 512-byte blocks. The main window creates it without an owner,
// places it over itself and drives it from the download's progress reports;
// the user cannot close it, because the download goes on regardless.
#include <QDialog>

class QProgressBar;

namespace acv {

class CLoadingDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CLoadingDlg(QWidget* parent = nullptr);

  // Range 0..rangeMax, the bar at `position`, and the window shown.
  void Begin(int rangeMax, int position);
  void SetRange(int rangeMax);
  // Moves the bar; a position outside the range is held at its end.
  void SetPosition(int position);
  int Position() const;
  int Maximum() const;
  // Hides the window (the download ended or was abandoned).
  void Finish();
  // Where a download shows the window: in the middle of the graph view, four
  // window heights below its top (global coordinates).
  void PlaceOver(const QRect& viewGlobalRect);

  QProgressBar* Bar() const { return bar_; }

 protected:
  void reject() override {}
  void closeEvent(QCloseEvent* event) override;

 private:
  QProgressBar* bar_;
  bool finishing_ = false;
};

}  // namespace acv
