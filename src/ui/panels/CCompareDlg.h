#pragma once
// The Compare window of the Library window: two spans of a site, A (before)
// and B (after) a change, each one of the site's measurements, one of its
// weeks or a typed FROM..TO, and their figures side by side with B - A.
// Ctrl+C or "Copy" copies the figures; Esc closes the window.
#include <QString>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "frame/CompareChoices.h"
#include "frame/CompareOverlay.h"
#include "graph/DistributionPainter.h"
#include "ui/panels/ToolWindow.h"

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSplitter;

namespace acv {

class CCompareDlg : public ToolWindow {
  Q_OBJECT

 public:
  CCompareDlg(const std::string& site, std::vector<CompareSpan> spans, QWidget* owner);

  const std::string& Site() const { return site_; }
  // The span chosen or typed as A (0) or B (1); nullopt and *problem when
  // the typed text is none.
  std::optional<CompareSpan> Chosen(int which, std::string* problem) const;
  void ChooseText(int which, const QString& text);
  void ShowFigures(const std::vector<std::string>& lines);
  // The spans' series over each other; `note` says why there are none.
  void ShowOverlay(CompareOverlay overlay, const PlotColours& colours, std::string note = {});
  const std::vector<std::string>& Figures() const { return lines_; }
  const CompareOverlay& Overlay() const { return overlay_; }
  const std::string& OverlayNote() const { return note_; }
  const PlotColours& Colours() const { return colours_; }
  QString Text() const;
  void CopyText() const;

 signals:
  void compareRequested();
  void printRequested();
  void previewRequested();
  void pdfRequested();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  class Plots;
  std::string site_;
  std::vector<CompareSpan> spans_;
  std::vector<std::string> lines_;
  CompareOverlay overlay_;
  std::string note_;
  PlotColours colours_;
  Plots* plots_;
  QComboBox* a_;
  QComboBox* b_;
  QPlainTextEdit* figures_;
  QSplitter* split_;
  std::array<QPushButton*, 3> pageButtons_{};  // Print, Preview, PDF: on once figures are shown
};

}  // namespace acv
