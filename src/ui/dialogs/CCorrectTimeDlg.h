#pragma once
// The clock dialog: six fields pre-filled with the PC's local time, and "OK"
// sends them to the logger as its clock command. The year is accepted from
// 2000 to 2099, the years the logger's two BCD digits can carry.
#include <array>

#include "frame/DialogRules.h"
#include "ui/dialogs/LoggerDialogBase.h"

namespace acv {

class CNumberEdit;
class PictureButton;
class SpinButtons;

class CCorrectTimeDlg : public LoggerDialogBase {
  Q_OBJECT

 public:
  explicit CCorrectTimeDlg(QWidget* parent = nullptr);

  DialogKind Kind() const override { return DialogKind::CorrectTime; }

  // Year, month, day, hour, minute, second.
  CNumberEdit* Field(ClockField field) const { return fields_[static_cast<int>(field)]; }
  SpinButtons* Spin(ClockField field) const { return spins_[static_cast<int>(field)]; }
  ClockTexts Texts() const;

 protected:
  void Prepare() override;

 private:
  void FieldChanged(ClockField field);
  void YearLeft();
  void OkPressed();

  std::array<CNumberEdit*, kClockFields> fields_{};
  std::array<SpinButtons*, kClockFields> spins_{};
  PictureButton* okButton_;
  PictureButton* cancelButton_;
  bool attached_ = false;
};

}  // namespace acv
