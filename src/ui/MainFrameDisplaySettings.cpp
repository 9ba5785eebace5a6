// The display-settings dialogs (colours, axes, view options) and the Fit
// command: each takes its values from the window and the view, and on OK
// puts them into the settings the window writes at close and into the view.
#include <QAction>
#include <QDialog>
#include <QToolBar>

#include "frame/Commands.h"
#include "frame/SettingsDialogRules.h"
#include "graph/CDTView.h"
#include "graph/geometry/Fit.h"
#include "ui/CMainFrame.h"
#include "ui/GraphToolIcons.h"
#include "ui/dialogs/CAxisSetupDlg.h"
#include "ui/dialogs/CColorSetupDlg.h"
#include "ui/dialogs/CViewOptionsDlg.h"

namespace acv {

QDialog* CMainFrame::SettingsDialog() const {
  return settingsDialog_;
}

void CMainFrame::AddGraphToolButtons() {
  QToolBar* bar = view_->GraphToolBar();
  for (int id : {cmd::kColorSetup, cmd::kAxisSetup, cmd::kViewOptions, cmd::kFitAxes}) {
    QAction* action = actions_.value(id);
    action->setIcon(GraphToolIcon(id));
    bar->addAction(action);
  }
}

void CMainFrame::OpenSettingsDialog(QDialog* dialog, std::function<void()> onAccepted) {
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  connect(dialog, &QDialog::accepted, this, [this, onAccepted = std::move(onAccepted)] {
    onAccepted();
    UpdateCommands();
  });
  settingsDialog_ = dialog;
  dialog->open();
}

void CMainFrame::OnColorSetup() {
  auto* dialog = new CColorSetupDlg(this);
  dialog->Load(ColoursOf(settings_));
  OpenSettingsDialog(dialog, [this, dialog] {
    PutColours(dialog->Choice(), settings_);
    view_->TakeSettings(settings_);
  });
}

void CMainFrame::OnViewOptions() {
  auto* dialog = new CViewOptionsDlg(
      ViewOptionsOf(settings_), view_->State().plotStyle,
      [this](std::uint8_t style) { view_->SetPlotStyle(style); }, this);
  OpenSettingsDialog(dialog, [this, dialog] {
    PutViewOptions(dialog->Options(), settings_);
    view_->TakeSettings(settings_);
  });
}

void CMainFrame::OnAxisSetup() {
  CAxisSetupDlg::Context context;
  context.mode = frame_.ActiveMode();
  context.pointCount = AxisPointCount(context.mode, doc_);
  context.runInProgress = [this] { return frame_.realTimeStopped == 0; };
  context.rtCount = [this] { return doc_.rtCount; };
  auto* dialog = new CAxisSetupDlg(*prompter_, context, this);
  dialog->Load(AxisValuesOf(view_->Display()));
  OpenSettingsDialog(dialog,
                     [this, dialog, mode = context.mode] { ApplyAxes(mode, dialog->Accepted()); });
}

void CMainFrame::ApplyAxes(DisplayMode mode, const AxisValues& values) {
  PutAxisLimits(frame_, mode, values);
  // The dialog does not block the window: a run may have switched the
  // display meanwhile. The values are that display's; the one now on show
  // keeps its own.
  if (frame_.ActiveMode() != mode) return;
  DisplaySetup setup = view_->Display();
  PutAxisValues(setup, values);
  view_->ApplyDisplay(setup);
  // During a run the compression step must cover the points now on show.
  if (doc_.rtCount - values.firstPoint + 1 > 0) {
    view_->FitRealTimeSpan(doc_.rtCount - values.firstPoint + 1);
  }
  view_->ZoomReset();
}

void CMainFrame::OnFitAxes() {
  const auto fitted = FitAxes(view_->State(), doc_);
  if (!fitted[0] && !fitted[1]) return;
  DisplaySetup setup = view_->Display();
  AxisValues values = AxisValuesOf(setup);
  if (fitted[0]) {
    values.ch1From = fitted[0]->from;
    values.ch1To = fitted[0]->to;
  }
  if (fitted[1]) {
    values.ch2From = fitted[1]->from;
    values.ch2To = fitted[1]->to;
  }
  PutAxisLimits(frame_, frame_.ActiveMode(), values);
  PutAxisValues(setup, values);
  view_->ApplyDisplay(setup);
  view_->ZoomReset();
}

}  // namespace acv
