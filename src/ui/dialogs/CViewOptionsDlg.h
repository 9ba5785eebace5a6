#pragma once
// "View ": check boxes for the CH1 and CH2 curves, point marks and the two
// grids. Four further options and the plot style have hidden controls; OK
// writes all nine options back, the hidden ones as they came. A click on a
// plot-style button takes effect at once, also when the dialog is then
// cancelled.
#include <array>
#include <cstdint>
#include <functional>

#include "frame/SettingsDialogRules.h"
#include "ui/dialogs/SettingsDialogBase.h"

class QCheckBox;
class QRadioButton;

namespace acv {

class CViewOptionsDlg : public SettingsDialogBase {
  Q_OBJECT

 public:
  // plotStyle: the view's value, changed through `setPlotStyle` at a click.
  CViewOptionsDlg(const ViewOptionValues& options, std::uint8_t plotStyle,
                  const std::function<void(std::uint8_t)>& setPlotStyle, QWidget* parent = nullptr);

  ViewOptionValues Options() const;
  QCheckBox* Box(ViewOption option) const { return boxes_[static_cast<std::size_t>(option)]; }
  QRadioButton* PlotStyleButton(int style) const { return style == 0 ? style0_ : style1_; }

 private:
  std::array<QCheckBox*, kViewOptionCount> boxes_{};
  QRadioButton* style0_;
  QRadioButton* style1_;
};

}  // namespace acv
