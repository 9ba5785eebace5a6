#pragma once
// The Distribution window: over the Statistics window's span, per channel
// the histogram with its cumulative probability and the daily profile
// (minimum, mean and maximum per 10-minute slot of the day) as two small
// plots, with the quoted percentiles above them. Ctrl+C or "Copy" copies the
// figures as text; "Print..." prints the plots, "PDF..." writes them to a
// PDF file; Esc closes the window. What is drawn where is decided in
// frame/DistributionFigures; this only draws it, in the graph's colours.
#include "frame/DistributionFigures.h"
#include "graph/DistributionPainter.h"
#include "ui/panels/ToolWindow.h"

class QLabel;

namespace acv {

class CDistributionDlg : public ToolWindow {
  Q_OBJECT

 public:
  explicit CDistributionDlg(QWidget* owner);

  void Show(DistributionFigures figures, const PlotColours& colours);
  const DistributionFigures& Figures() const { return figures_; }
  QString Text() const;
  void CopyText() const;

 signals:
  void printRequested();
  void pdfRequested();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  class Plots;
  DistributionFigures figures_;
  PlotColours colours_;
  QLabel* heading_;
  Plots* plots_;
};

}  // namespace acv
