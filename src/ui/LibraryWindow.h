#pragma once
// File > Library...: the Library window and what its buttons do, a
// collaborator the main window owns. The library is opened for each action
// (a listing, an add, a removal, a site's change, an open) and closed again,
// so the window holds no connection to a team's server while it stays open;
// a library that cannot be opened is one message, and the window stays.
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <optional>
#include <string>

#include "data/CDTDoc.h"
#include "frame/SummaryPages.h"
#include "ui/FrameParts.h"
#include "ui/panels/CCompareDlg.h"
#include "ui/panels/CLibraryDlg.h"

class QPainter;
class QRect;

namespace acv {

struct AppSettings;

class LibraryCommands;
struct UserLibrary;

class LibraryWindow : public QObject {
  Q_OBJECT

 public:
  struct Host {
    FrameParts parts;
    AppSettings& settings;
    LibraryCommands& commands;  // the add of the data on show
    // Data on show that may go into the library (shown, no run under way).
    std::function<bool()> dataToAdd;
    // Before Open replaces the data on show: asks to save them first, as
    // File > Open does; false when the user called it off.
    std::function<bool()> askToSaveFirst;
    // Shows `data` (its STORE family) as a loaded file's, in the site's
    // scaling; `name` says where they came from.
    std::function<void(CDTDoc& data, const ChannelScaling& scaling, const std::string& name)>
        showData;
    std::function<void(const QString&, int)> showStatus;
    // Shows a site's weekly verdict (the compliance pages) in the preview.
    std::function<void(const SummaryContent&)> previewCompliance;
    // Shows one page that `paint` draws into the given rectangle in the
    // print preview titled `title`.
    std::function<void(const QString& title,
                       const std::function<void(QPainter&, const QRect&)>& paint)>
        previewPage;
  };
  explicit LibraryWindow(Host host);

  // Opens the window (reading the library) or brings it up.
  void Open();
  CLibraryDlg* Window() const { return window_; }
  // Reads the sites and the chosen site's measurements again.
  void Reload();

  // The buttons' actions.
  void AddDataOnShow();
  void AddFiles();
  void RemoveChosen();
  void EditSite();
  void OpenChosen();
  void ShowTimeline();
  void ShowCompliance();
  // Compare...: the Compare window of the chosen site, and its figures.
  void OpenCompare();
  void RunCompare();
  // The Compare window's figures and overlay on a page.
  void PrintCompare();
  void PreviewCompare();
  void WriteComparePdf();
  CCompareDlg* CompareWindow() const { return compare_; }
  // The stretches of the site's STORE timeline between its gaps, or false
  // and *problem.
  bool SiteStretches(const std::string& site, std::vector<TimeStretch>* stretches,
                     std::string* problem);
  // The weekly verdict of the site's STORE timeline, or false and *problem.
  bool SiteCompliance(const std::string& site, SummaryContent* content, std::string* problem);

 signals:
  // The site's merged series of one kind (0 STORE, 1 REAL TIME) as a display.
  void ShowSiteTimeline(QString site, int kind);

 private:
  // Opens the library for one action; false after telling why.
  bool OpenLibrary(UserLibrary* library);
  void Tell(const std::string& text, bool warning);
  void ReloadMeasurements();
  // The site the adds go to: the one chosen, else one asked for.
  std::optional<std::string> SiteForAdd();
  // Paints the Compare window's page.
  void PaintCompareOn(QPainter& p, const QRect& page) const;

  Host host_;
  QPointer<CLibraryDlg> window_;
  QPointer<CCompareDlg> compare_;
};

}  // namespace acv
