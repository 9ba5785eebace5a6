#pragma once
// The "Loading..." window of a download: a small top-level window holding a
// progress bar that counts the 512-byte blocks. The main window places it
// over the graph view and closes it when the download ends.
#include <QWidget>

class QProgressBar;

namespace acv {

class LoadingWindow : public QWidget {
  Q_OBJECT

 public:
  explicit LoadingWindow(QWidget* parent = nullptr);

  void SetRange(int maximum);
  void SetPosition(int position);
  int Position() const;
  int Maximum() const;
  // Centred on the screen first, then moved to the middle of the graph view,
  // four window heights below its top (global coordinates).
  void PlaceOver(const QRect& viewGlobalRect);

 private:
  QProgressBar* bar_;
};

}  // namespace acv
