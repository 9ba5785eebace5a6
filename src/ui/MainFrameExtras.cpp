// Help and About.
#include "ui/AboutDialog.h"
#include "ui/CMainFrame.h"
#include "ui/HelpWindow.h"

namespace acv {

void CMainFrame::OnHelp() {
  if (help_ == nullptr) help_ = new HelpWindow(this);
  help_->show();
  help_->raise();
  help_->activateWindow();
}

void CMainFrame::OnAbout() {
  auto* about = new AboutDialog(this);
  about->setAttribute(Qt::WA_DeleteOnClose);
  about->open();
}

}  // namespace acv
