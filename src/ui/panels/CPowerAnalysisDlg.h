#pragma once
// The "Electric Power Analysis" panel: a small floating window that shows, in
// large digits, the RMS value of each channel and the apparent power while a
// real-time wave is analysed. It only displays: its texts (frame/PowerPanel)
// are written by the wave analysis and the REAL TIME EPA display, and live on
// when the window is closed.
#include "frame/PowerPanel.h"
#include "ui/panels/ToolWindow.h"

class QLineEdit;

namespace acv {

class CPowerAnalysisDlg : public ToolWindow {
  Q_OBJECT

 public:
  explicit CPowerAnalysisDlg(QWidget* owner);

  // Shows the texts (the three visible ones; the others are kept as data).
  void Show(const PowerPanelData& data);

  QLineEdit* Ch1Rms() const { return ch1Rms_; }
  QLineEdit* Ch2Rms() const { return ch2Rms_; }
  QLineEdit* ApparentPower() const { return apparentPower_; }

 private:
  QLineEdit* ch1Rms_;
  QLineEdit* ch2Rms_;
  QLineEdit* apparentPower_;
};

}  // namespace acv
