#include "ui/DisplaySettings.h"

#include <QAction>
#include <QDialog>
#include <QToolBar>

#include "frame/Commands.h"
#include "frame/SettingsDialogRules.h"
#include "graph/CDTView.h"
#include "graph/geometry/Fit.h"
#include "ui/GraphToolIcons.h"
#include "ui/Prompter.h"
#include "ui/dialogs/CAxisSetupDlg.h"
#include "ui/dialogs/CColorSetupDlg.h"
#include "ui/dialogs/CViewOptionsDlg.h"

namespace acv {

DisplaySettings::DisplaySettings(Host host) : QObject(&host.owner), host_(host) {}

QDialog* DisplaySettings::OpenDialog() const {
  return dialog_;
}

void DisplaySettings::AddGraphToolButtons(const std::function<QAction*(int)>& actionOf) {
  QToolBar* bar = host_.view.GraphToolBar();
  // After the view's own Zoom Out, before the stretch that keeps the event
  // legend at the right end.
  QAction* stretch = bar->actions().value(1);
  for (int id : {cmd::kColorSetup, cmd::kAxisSetup, cmd::kViewOptions, cmd::kFitAxes}) {
    QAction* action = actionOf(id);
    action->setIcon(GraphToolIcon(id));
    bar->insertAction(stretch, action);
  }
}

void DisplaySettings::Open(QDialog* dialog, std::function<void()> onAccepted) {
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  connect(dialog, &QDialog::accepted, this, [this, onAccepted = std::move(onAccepted)] {
    onAccepted();
    emit settingsChanged();
  });
  dialog_ = dialog;
  dialog->open();
}

void DisplaySettings::ColorSetup() {
  auto* dialog = new CColorSetupDlg(&host_.owner);
  dialog->Load(ColoursOf(host_.settings));
  Open(dialog, [this, dialog] {
    PutColours(dialog->Choice(), host_.settings);
    host_.view.TakeSettings(host_.settings);
  });
}

void DisplaySettings::ViewOptions() {
  auto* dialog = new CViewOptionsDlg(
      ViewOptionsOf(host_.settings), host_.view.State().plotStyle,
      [this](std::uint8_t style) { host_.view.SetPlotStyle(style); }, &host_.owner);
  Open(dialog, [this, dialog] {
    PutViewOptions(dialog->Options(), host_.settings);
    host_.view.TakeSettings(host_.settings);
  });
}

void DisplaySettings::AxisSetup() {
  CAxisSetupDlg::Context context;
  context.mode = host_.frame.ActiveMode();
  context.pointCount = AxisPointCount(context.mode, host_.doc);
  context.runInProgress = [this] { return host_.frame.realTimeStopped == 0; };
  context.rtCount = [this] { return host_.doc.rtCount; };
  auto* dialog = new CAxisSetupDlg(host_.prompter, context, &host_.owner);
  dialog->Load(AxisValuesOf(host_.view.Display()));
  Open(dialog, [this, dialog, mode = context.mode] { ApplyAxes(mode, dialog->Accepted()); });
}

void DisplaySettings::ApplyAxes(DisplayMode mode, const AxisValues& values) {
  PutAxisLimits(host_.frame, mode, values);
  // The dialog does not block the window: a run may have switched the
  // display meanwhile. The values are that display's; the one now on show
  // keeps its own.
  if (host_.frame.ActiveMode() != mode) return;
  DisplaySetup setup = host_.view.Display();
  PutAxisValues(setup, values);
  host_.view.ApplyDisplay(setup);
  // During a run the compression step must cover the points now on show.
  if (host_.doc.rtCount - values.firstPoint + 1 > 0) {
    host_.view.FitRealTimeSpan(host_.doc.rtCount - values.firstPoint + 1);
  }
  host_.view.ZoomReset();
}

void DisplaySettings::FitAxes() {
  const auto fitted = acv::FitAxes(host_.view.State(), host_.doc);
  if (!fitted[0] && !fitted[1]) return;
  DisplaySetup setup = host_.view.Display();
  AxisValues values = AxisValuesOf(setup);
  if (fitted[0]) {
    values.ch1From = fitted[0]->from;
    values.ch1To = fitted[0]->to;
  }
  if (fitted[1]) {
    values.ch2From = fitted[1]->from;
    values.ch2To = fitted[1]->to;
  }
  PutAxisLimits(host_.frame, host_.frame.ActiveMode(), values);
  PutAxisValues(setup, values);
  host_.view.ApplyDisplay(setup);
  host_.view.ZoomReset();
}

}  // namespace acv
