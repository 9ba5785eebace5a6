#pragma once
// The information panel across the top of the graph: the display's mode,
// sampling rate, start time, number of points and the extremes of each shown
// channel. It has no controls; it paints the face the info-panel rules
// (frame/InfoPanelFace) lay out from the texts the display commands wrote.
#include <QFont>
#include <QWidget>

#include "frame/InfoPanelFace.h"

class QScrollBar;

namespace acv {

class CInfoPanelDlg : public QWidget {
  Q_OBJECT

 public:
  explicit CInfoPanelDlg(QWidget* parent = nullptr);

  // What to show; repaints.
  void Show(DisplayMode mode, bool plotCh1, bool plotCh2, const InfoTexts& texts);
  const InfoPanelFace& Face() const { return face_; }
  QScrollBar* ScrollBar() const { return scrollBar_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void LayOut();

  DisplayMode mode_ = DisplayMode::None;
  bool plotCh1_ = false;
  bool plotCh2_ = false;
  InfoTexts texts_;
  InfoPanelFace face_;
  QFont bodyFont_;
  QFont headingFont_;
  // The panel never has more to show than it has room for: the bar has the
  // range 0..0 and stays disabled.
  QScrollBar* scrollBar_;
};

}  // namespace acv
