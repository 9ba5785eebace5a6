#pragma once
// The graph view: the right-hand pane of the main window. Before any data are
// shown it is the start screen ("ELECTRIC POWER TEST" and the instrument
// button panel); afterwards it shows the display the main window chose.
//
// The main window drives it through a few seams: Display()/ApplyDisplay()
// carry the display fields the mode commands set, ZoomReset() returns to the
// full view, RealTimePointAdded() is the incremental update after each new
// real-time point, and DataChanged() the repaint after any change of the data
// set. The plot painted here is a plain drawing of the series; the full graph
// painter (axes, ticks, cursor, zoom) plugs in behind the same seams.
#include <QImage>
#include <QPointer>
#include <QWidget>

#include "data/CDTDoc.h"
#include "data/Settings.h"
#include "frame/DisplayModes.h"

namespace acv {

class CDTView : public QWidget {
  Q_OBJECT

 public:
  explicit CDTView(const CDTDoc& doc, QWidget* parent = nullptr);

  // The start screen's button panel; the view places it while the start
  // screen is up and hides it as soon as a data display is painted.
  void SetStartScreenPanel(QWidget* panel);
  QWidget* StartScreenPanel() const { return startPanel_; }

  // Colours and view options (settings "ColorInfo" and "VIEWInfo").
  void TakeSettings(const AppSettings& settings);

  // ---- the main window's seams ---------------------------------------------
  const DisplaySetup& Display() const { return setup_; }
  void ApplyDisplay(const DisplaySetup& setup);
  const InfoTexts& Info() const { return info_; }
  void SetInfoTexts(const InfoTexts& info);
  // The active display mode (None on the start screen).
  void SetDisplayMode(DisplayMode mode) { mode_ = mode; }
  DisplayMode Mode() const { return mode_; }
  void SetRealTimeStopped(bool stopped) { realTimeStopped_ = stopped; }

  // Back to the full view of the current range.
  void ZoomReset();
  // A run is in progress: the X axis must hold this many points.
  void FitRealTimeSpan(int points);
  // One more real-time point: redraw what changed.
  void RealTimePointAdded();
  // The data set changed in any way: redraw everything.
  void DataChanged();

  bool ShowsStartScreen() const { return setup_.displayMode == 0; }
  int ZoomResets() const { return zoomResets_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void PlaceStartPanel();
  void PaintStartScreen(QPainter& p);
  void PaintInfoStrip(QPainter& p);
  void PaintGraph(QPainter& p);
  void PaintSeries(QPainter& p, const QRect& plot, int channel, const QColor& colour);

  const CDTDoc& doc_;
  DisplaySetup setup_;
  InfoTexts info_;
  DisplayMode mode_ = DisplayMode::None;
  bool realTimeStopped_ = true;
  int realTimeSpan_ = 0;
  int zoomResets_ = 0;
  QPointer<QWidget> startPanel_;
  AppSettings look_;  // colours and view options
};

}  // namespace acv
