#pragma once
// The Library window: the sites of the measurement library above, the
// measurements of the site chosen below, and the buttons that act on them.
// It only shows rows and says what the user asked for; LibraryWindow opens
// the library for each action and gives the rows. Ctrl+C (or the context
// menu's "Copy") copies the selected rows of the list with the keyboard, with
// their column titles, as tab-separated text; F5 reads the library again;
// Esc closes the window.
#include <QString>
#include <cstdint>
#include <string>
#include <vector>

#include "ui/panels/ToolWindow.h"

class QLabel;
class QMenu;
class QPushButton;
class QTableWidget;

namespace acv {

class CLibraryDlg : public ToolWindow {
  Q_OBJECT

 public:
  explicit CLibraryDlg(QWidget* owner);

  // Where the library is (never with a password), or why it could not be read.
  void SetLocation(const QString& text);
  // The rows as the library lists them (cells in the order of the columns).
  // The site chosen stays chosen when it is still listed.
  void SetSites(const std::vector<std::string>& columns,
                const std::vector<std::vector<std::string>>& rows);
  void SetMeasurements(const std::vector<std::string>& columns,
                       const std::vector<std::vector<std::string>>& rows);

  // The site chosen ("" for none), and the measurements selected (their ids,
  // the current one first).
  std::string ChosenSite() const;
  void ChooseSite(const std::string& name);
  std::vector<std::int64_t> SelectedMeasurements() const;
  void SelectMeasurement(std::int64_t id);
  // The kind ("store"/"realtime") of the current measurement, "" for none.
  std::string CurrentKind() const;

  QTableWidget* Sites() const { return sites_; }
  QTableWidget* Measurements() const { return measurements_; }
  // The selected rows of the list the user chose rows in last.
  QString SelectionText() const;
  void CopySelection() const;

  // The Timeline and Compliance buttons work only where the window's owner
  // shows a site's timeline or its verdict; Compare once there are spans to
  // compare.
  void EnableTimeline(bool enabled);
  void EnableCompliance(bool enabled);
  void EnableCompare(bool enabled);

 signals:
  void siteChosen();
  void reloadRequested();
  void addShownRequested();
  void addFilesRequested();
  void removeRequested();
  void editSiteRequested();
  void openRequested();
  void timelineRequested();
  void complianceRequested();
  void compareRequested();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void UpdateButtons();

  QLabel* location_;
  QTableWidget* sites_;
  QTableWidget* measurements_;
  QPushButton* add_;
  QPushButton* remove_;
  QPushButton* site_;
  QPushButton* open_;
  QPushButton* timeline_;
  QPushButton* compliance_;
  QPushButton* compare_;
  bool timelineOffered_ = false;
  bool complianceOffered_ = false;
  bool compareOffered_ = false;
  bool filling_ = false;  // rows are being replaced: no choice is told
  // The list the user chose rows in last: the one Ctrl+C copies from.
  QTableWidget* copyFrom_ = nullptr;
};

}  // namespace acv
