#pragma once
// The Compare window of the Library window: two spans of a site, A (before)
// and B (after) a change, each one of the site's measurements, one of its
// weeks or a typed FROM..TO, and their figures side by side with B - A.
// Ctrl+C or "Copy" copies the figures; Esc closes the window.
#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "frame/CompareChoices.h"
#include "ui/panels/ToolWindow.h"

class QComboBox;
class QLabel;
class QPlainTextEdit;

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
  QString Text() const;
  void CopyText() const;

 signals:
  void compareRequested();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  std::string site_;
  std::vector<CompareSpan> spans_;
  QComboBox* a_;
  QComboBox* b_;
  QPlainTextEdit* figures_;
};

}  // namespace acv
