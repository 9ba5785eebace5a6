#pragma once
// "Event Limits": the nominal voltage, the dip, swell and interruption
// thresholds and the hysteresis in percent of it, and the over-current limit
// in A (empty or 0: none). "Defaults" puts the program's limits back into the
// fields. OK checks the fields (frame/SettingsDialogRules) and shows what is
// wrong, keeping the dialog open and applying nothing; good limits are
// written into the settings file at once, so the command line reads what the
// window shows.
#include <array>
#include <string>

#include "data/EventLimits.h"
#include "frame/SettingsDialogRules.h"
#include "ui/dialogs/SettingsDialogBase.h"

class QLineEdit;

namespace acv {

class Prompter;

class CEventLimitsDlg : public SettingsDialogBase {
  Q_OBJECT

 public:
  // `settingsPath`: the settings file OK writes the limits into ("" = none).
  CEventLimitsDlg(Prompter& prompter, const EventLimits& limits, std::string settingsPath,
                  QWidget* parent = nullptr);

  void Load(const EventLimits& limits);
  // The limits OK accepted (valid once the dialog was accepted).
  const EventLimits& Accepted() const { return accepted_; }
  QLineEdit* Field(LimitField field) const { return fields_[static_cast<std::size_t>(field)]; }
  QPushButton* DefaultsButton() const { return defaults_; }

 protected:
  void accept() override;

 private:
  Prompter& prompter_;
  std::string settingsPath_;
  std::array<QLineEdit*, kLimitFieldCount> fields_{};
  QPushButton* defaults_;
  EventLimits accepted_;
};

}  // namespace acv
