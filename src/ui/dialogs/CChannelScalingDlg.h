#pragma once
// "Channel Scaling": each channel's ratio (primary per secondary) and sample
// scale (units per raw count), with a short text on how to find the scale.
// OK checks the four fields (frame/ScalingDialogRules) and names a bad one in
// a message, keeping the dialog open; good values are written into the
// settings file at once, so the command line reads what the window shows.
#include <array>
#include <string>

#include "data/ChannelScaling.h"
#include "frame/ScalingDialogRules.h"
#include "ui/dialogs/SettingsDialogBase.h"

class QLineEdit;

namespace acv {

class Prompter;

class CChannelScalingDlg : public SettingsDialogBase {
  Q_OBJECT

 public:
  // `settingsPath`: the settings file OK writes the scaling into ("" = none).
  CChannelScalingDlg(Prompter& prompter, const ChannelScaling& scaling, std::string settingsPath,
                     QWidget* parent = nullptr);

  // The scaling OK accepted (valid once the dialog was accepted).
  const ChannelScaling& Accepted() const { return accepted_; }
  QLineEdit* Field(std::size_t field) const { return fields_.at(field); }

 protected:
  void accept() override;

 private:
  Prompter& prompter_;
  std::string settingsPath_;
  std::array<QLineEdit*, kScaleFieldCount> fields_{};
  ChannelScaling accepted_;
};

}  // namespace acv
