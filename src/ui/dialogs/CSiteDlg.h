#pragma once
// The Library window's Site dialog: a site's nominal voltage, line
// frequency, channel scaling and notes. OK checks the fields by the rules of
// frame/LibraryWindowRules and names the first bad one through the prompter;
// the library is written by whoever opened the dialog, once it is accepted.
#include <array>
#include <string>

#include "frame/LibraryWindowRules.h"
#include "ui/dialogs/SettingsDialogBase.h"

class QLineEdit;
class QPlainTextEdit;

namespace acv {

class Prompter;

class CSiteDlg : public SettingsDialogBase {
  Q_OBJECT

 public:
  CSiteDlg(Prompter& prompter, const std::string& name, const SiteValues& site, QWidget* parent);

  const SiteValues& Accepted() const { return accepted_; }

  void accept() override;

 private:
  Prompter& prompter_;
  SiteValues accepted_;
  QLineEdit* nominal_;
  QLineEdit* frequency_;
  std::array<QLineEdit*, kScaleFieldCount> scaling_{};
  QPlainTextEdit* notes_;
};

}  // namespace acv
