#pragma once
// "Axis Setup": the Y range of each channel and the X range in data points.
// The fields correct themselves while typing (X From at least 1, X To at
// most the display's point count); OK checks the order of both ranges and
// shows what is wrong, one message after the other, keeping the dialog open.
#include <array>
#include <functional>

#include "frame/SettingsDialogRules.h"
#include "ui/dialogs/SettingsDialogBase.h"

namespace acv {

class CNumberEdit;
class Prompter;

class CAxisSetupDlg : public SettingsDialogBase {
  Q_OBJECT

 public:
  // What the dialog needs to know about the display it edits.
  struct Context {
    DisplayMode mode = DisplayMode::None;
    int pointCount = 0;  // the X fields' upper end
    // Asked at OK: a run may have taken more points since the dialog opened.
    std::function<bool()> runInProgress;
    std::function<int()> rtCount;
  };

  CAxisSetupDlg(Prompter& prompter, Context context, QWidget* parent = nullptr);

  void Load(const AxisValues& values);
  // The values OK accepted (valid once the dialog was accepted).
  const AxisValues& Accepted() const { return accepted_; }

  CNumberEdit* Field(AxisField field) const { return fields_[static_cast<std::size_t>(field)]; }

 protected:
  void accept() override;

 private:
  void OnEdited(AxisField field);
  AxisTexts Texts() const;

  Prompter& prompter_;
  Context context_;
  std::array<CNumberEdit*, kAxisFieldCount> fields_{};
  AxisValues accepted_;
};

}  // namespace acv
