#pragma once
// The "Electric Power Analysis" panel: a small floating window that shows, in
// large digits, the RMS value of each channel, the apparent power and, for a
// voltage/current pair, the active power and power factor, with the reactive
// power and the phases beside them, while a real-time wave is analysed. It
// only displays: its texts (frame/PowerPanel) are written by the wave and
// power analysis and the REAL TIME EPA display, and live on when the window
// is closed.
#include <array>

#include "frame/PowerPanel.h"
#include "ui/panels/ToolWindow.h"

class QLabel;
class QLineEdit;

namespace acv {

class CPowerAnalysisDlg : public ToolWindow {
  Q_OBJECT

 public:
  explicit CPowerAnalysisDlg(QWidget* owner);

  // Shows the texts (the shown ones; the others are kept as data).
  void Show(const PowerPanelData& data);

  QLineEdit* Ch1Rms() const { return ch1Rms_; }
  QLineEdit* Ch2Rms() const { return ch2Rms_; }
  QLineEdit* ApparentPower() const { return apparentPower_; }

 private:
  QLineEdit* ch1Rms_;
  QLineEdit* ch2Rms_;
  QLineEdit* apparentPower_;
  QLineEdit* activePower_;
  QLineEdit* powerFactor_;
  QLineEdit* reactivePower_;
  QLineEdit* phaseDifference_;
  std::array<QLineEdit*, 2> phase_{};
  // Labels whose texts the panel's data set when it opens.
  std::array<QLabel*, 2> phaseLabel_{};
  QLabel* phaseDifferenceLabel_;
  QLabel* powerFactorLabel_;
};

}  // namespace acv
