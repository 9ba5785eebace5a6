#pragma once
// The logger set-up dialog: RMS sampling rate and unit, automatic power-off,
// circular logging, and the sudden rise/drop detection levels (kept hidden,
// but carried from the settings into every command). "Setup" sends the
// set-up command and only then stores the values in the settings; "Default"
// restores the defaults in the dialog alone; "Cancel" changes nothing.
#include "frame/DialogRules.h"
#include "ui/dialogs/LoggerDialogBase.h"

class QComboBox;
class QRadioButton;

namespace acv {

class CNumberEdit;
class PictureButton;
class SpinButtons;

class CLoggerSetupDlg : public LoggerDialogBase {
  Q_OBJECT

 public:
  explicit CLoggerSetupDlg(QWidget* parent = nullptr);

  DialogKind Kind() const override { return DialogKind::LoggerSetup; }

  // The dialog's values as its controls hold them.
  SetupDialogValues Values() const;

  CNumberEdit* RateEdit() const { return rateEdit_; }
  QComboBox* UnitList() const { return unitList_; }
  PictureButton* SetupButton() const { return setupButton_; }

 protected:
  void Prepare() override;

 private:
  void ShowValues(const SetupDialogValues& values);
  void RateChanged();
  void UnitChanged();
  void SetupPressed();
  void DefaultPressed();

  CNumberEdit* rateEdit_;
  SpinButtons* rateSpin_;
  QComboBox* unitList_;
  QRadioButton* powerOffOn_;
  QRadioButton* powerOffOff_;
  QRadioButton* circulateOn_;
  QRadioButton* circulateOff_;
  CNumberEdit* riseEdit_;
  CNumberEdit* dropEdit_;
  QComboBox* riseUnit_;
  QComboBox* dropUnit_;
  PictureButton* setupButton_;
  PictureButton* defaultButton_;
  PictureButton* cancelButton_;
  bool attached_ = false;  // the change handlers act only once the values are shown
};

}  // namespace acv
