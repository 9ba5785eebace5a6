#pragma once
// "Color Setup": one swatch list each for the plot background, CH1, CH2, the
// grid, and a hidden CH3 list whose colour is carried through. The lists
// show only the colour (no names) and offer the colour table in its order,
// each colour once.
#include <QComboBox>

#include "frame/SettingsDialogRules.h"
#include "ui/dialogs/SettingsDialogBase.h"

namespace acv {

class CColorComboBox : public QComboBox {
  Q_OBJECT

 public:
  explicit CColorComboBox(QWidget* parent = nullptr);
  // Fills the list and selects the entry of `index` (the first entry when
  // the list does not offer it).
  void Fill(int index);
  int SelectedIndex() const;
};

class CColorSetupDlg : public SettingsDialogBase {
  Q_OBJECT

 public:
  explicit CColorSetupDlg(QWidget* parent = nullptr);

  void Load(const ColourChoice& colours);
  ColourChoice Choice() const;

  CColorComboBox* BackgroundList() const { return background_; }
  CColorComboBox* Ch1List() const { return ch1_; }
  CColorComboBox* Ch2List() const { return ch2_; }
  CColorComboBox* Ch3List() const { return ch3_; }
  CColorComboBox* GridList() const { return grid_; }

 private:
  CColorComboBox* background_;
  CColorComboBox* ch1_;
  CColorComboBox* ch2_;
  CColorComboBox* ch3_;
  CColorComboBox* grid_;
};

}  // namespace acv
