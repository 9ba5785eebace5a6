#pragma once
// The display-settings dialogs (colours, axes, view options) and the Fit
// command, a collaborator the main window owns: each dialog takes its values
// from the settings and the view, and on OK puts them into the settings the
// window writes at close and into the view. The dialogs do not block the
// window; one of them is open at a time.
#include <QObject>
#include <QPointer>
#include <functional>

#include "data/CDTDoc.h"
#include "data/Settings.h"
#include "frame/FrameState.h"
#include "ui/FrameParts.h"

class QAction;
class QDialog;
class QWidget;

namespace acv {

struct AxisValues;
class CDTView;
class Prompter;

class DisplaySettings : public QObject {
  Q_OBJECT

 public:
  // What the dialogs read and write of the main window; all outlive this object.
  struct Host : FrameParts {
    AppSettings& settings;
    FrameState& frame;  // the Y-axis table per display
  };
  explicit DisplaySettings(Host host);

  // Puts the four commands' actions on the graph's own toolbar.
  void AddGraphToolButtons(const std::function<QAction*(int)>& actionOf);
  void ColorSetup();
  void AxisSetup();
  void ViewOptions();
  void FitAxes();
  // The dialog now open; null when none is.
  QDialog* OpenDialog() const;

 signals:
  // A dialog's OK changed the settings or the view.
  void settingsChanged();

 private:
  void Open(QDialog* dialog, std::function<void()> onAccepted);
  void ApplyAxes(DisplayMode mode, const AxisValues& values);

  Host host_;
  QPointer<QDialog> dialog_;
};

}  // namespace acv
