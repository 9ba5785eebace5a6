#pragma once
// The analysis in the main window, a collaborator the window owns: the
// Statistics and Events tool windows, the event shading of the graph and the
// Event Limits dialog, over the analysis of the display on show
// (frame/DisplayAnalysis). The window tells it when the data set changed; it
// follows the view's display, cursors and visible span by itself.
//
// Like the lists in ToolWindows, each window is made when it opens and gone
// when it closes (a QPointer empties); both open beside the plot.
#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>

#include "data/Settings.h"
#include "frame/DisplayAnalysis.h"
#include "ui/FrameParts.h"

class QDialog;

namespace acv {

class CDistributionDlg;
class CEventsDlg;
class CStatisticsDlg;
class ToolWindows;

class AnalysisWindows : public QObject {
  Q_OBJECT

 public:
  struct Host : FrameParts {
    AppSettings& settings;  // the event limits, written with the settings
    ToolWindows& tools;     // shows a TR record in STORE TR
    // Runs a display command as its menu item would.
    std::function<void(int commandId)> runCommand;
    std::string settingsPath;  // where the Event Limits dialog's OK writes the limits
  };
  explicit AnalysisWindows(Host host);

  // View > Statistics, View > Events: open the window or bring it up.
  void OpenStatistics();
  void OpenEvents();
  // View > Distribution: the histograms, percentiles and daily profiles of
  // the Statistics window's span; its Print... and PDF... buttons.
  void OpenDistribution();
  void PrintDistribution();
  void WriteDistributionPdf();
  // View > Event Limits...: the dialog; its OK stores the limits in the
  // settings and updates events, shading and windows.
  void EditLimits();

  // The whole data set changed (a download, a load, a new run), or a run
  // took a new point. Called before the display is set up for the new data.
  void DataChanged();
  void RunGrew();
  // See DisplayAnalysis::SetStoreRuns.
  void SetStoreRuns(SeriesRuns runs);

  // Null while closed.
  CStatisticsDlg* Statistics() const;
  CEventsDlg* Events() const;
  CDistributionDlg* Distribution() const;
  QDialog* LimitsDialog() const;
  DisplayAnalysis& Analysis() { return analysis_; }

 private:
  // The display on show, with its events and shading, into the windows.
  void Refresh();
  void RefreshStatistics();
  void RefreshEvents();
  void RefreshDistribution();
  // The span the Statistics window measures (A-B, else the visible span).
  StatisticsSpan ChosenSpan();
  void OnEventChosen(int row);
  QRect BesideGraph(int width, int height, bool bottom) const;

  Host host_;
  DisplayAnalysis analysis_;
  QPointer<CStatisticsDlg> statistics_;
  QPointer<CEventsDlg> events_;
  QPointer<CDistributionDlg> distribution_;
  // The data, the limits or the run changed since the figures were made.
  bool distributionStale_ = true;
  QPointer<QDialog> limitsDialog_;
  std::shared_ptr<const EventShading> shading_;  // what the graph shades
};

}  // namespace acv
