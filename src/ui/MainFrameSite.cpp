// A library site's measurements as one timeline on show: View > Site
// Timeline... and the library window's Timeline button. A site that fits in
// memory is read whole and the library closed again before it is shown, so
// the window holds no connection to a team's server while it shows it. A
// longer one stays in the library: the window keeps the library open and
// reads the site's envelope, and the points a view needs, while it is shown.
#include <QApplication>
#include <QCursor>
#include <QStatusBar>
#include <algorithm>
#include <exception>
#include <memory>

#include "data/Settings.h"
#include "frame/Commands.h"
#include "frame/FrameState.h"
#include "frame/LibraryChoices.h"
#include "graph/CDTView.h"
#include "library/LibraryConnection.h"
#include "library/LibrarySiteData.h"
#include "library/LibraryStore.h"
#include "ui/CMainFrame.h"
#include "ui/Prompter.h"

namespace acv {
namespace {

struct OpenedLibrary {
  std::unique_ptr<LibraryConnection> connection;
  std::unique_ptr<library::LibraryStore> store;
};

bool OpenLibrary(const AppSettings& settings, OpenedLibrary* out, std::string* problem) {
  const auto location = ChooseLibraryForUser("", settings.library.url, problem);
  if (!location) return false;
  out->connection = LibraryConnection::Open(*location, problem);
  if (!out->connection) return false;
  out->store = library::LibraryStore::Attach(*out->connection, problem);
  return out->store != nullptr;
}

// The site's merged series read from the library: "" or why not. One of
// more than mostInMemory points keeps the library open while it is shown.
std::string ReadSiteSeries(const AppSettings& settings, const std::string& site,
                           library::SeriesKind kind, std::int64_t mostInMemory, StoreFamily& out,
                           library::SiteDataRead& read) {
  auto library = std::make_shared<OpenedLibrary>();
  std::string problem;
  if (!OpenLibrary(settings, library.get(), &problem)) return problem;
  try {
    const auto record = library->store->Site(site);
    if (!record) return "the library has no site named " + site;
    return library::ReadSiteData(library->connection->Database(), *library->store, *record, kind,
                                 mostInMemory, library, out, read);
  } catch (const std::exception& e) {
    return e.what();
  }
}

}  // namespace

void CMainFrame::ChooseSiteTimeline() {
  std::vector<std::string> names;
  std::string problem;
  {
    OpenedLibrary library;
    if (OpenLibrary(settings_, &library, &problem)) {
      try {
        names = library.store->SiteNames();
      } catch (const std::exception& e) {
        problem = e.what();
      }
    }
  }
  if (problem.empty() && names.empty()) {
    problem =
        "the library has no sites yet: File > Add to Library... keeps the data on show in one";
  }
  if (!problem.empty()) {
    prompter_->Message(
        this,
        QStringLiteral("Cannot show a site's timeline: %1").arg(QString::fromStdString(problem)),
        MessageIcon::Warning);
    return;
  }
  QStringList items;
  for (const std::string& name : names) items << QString::fromStdString(name);
  const auto choice =
      prompter_->ChooseItem(this, QStringLiteral("Site Timeline"), QStringLiteral("Site:"), items);
  if (!choice) return;
  const std::string site = choice->toStdString();
  // A site that also holds real-time runs offers their timeline too.
  std::vector<library::SeriesKind> kinds;
  {
    OpenedLibrary library;
    if (OpenLibrary(settings_, &library, &problem)) {
      try {
        for (const library::MeasurementRecord& m : library.store->Measurements(site)) {
          if (std::find(kinds.begin(), kinds.end(), m.kind) == kinds.end()) kinds.push_back(m.kind);
        }
      } catch (const std::exception&) {
        kinds.clear();  // ShowSiteTimeline reads the library again and says why it cannot
      }
    }
  }
  library::SeriesKind kind = kinds.size() == 1 ? kinds.front() : library::SeriesKind::Store;
  if (kinds.size() > 1) {
    const QString store = QString::fromUtf8(ModeName(DisplayMode::StoreRms));
    const QString realTime = QString::fromUtf8(ModeName(DisplayMode::RealTimeRms));
    const auto picked = prompter_->ChooseItem(this, QStringLiteral("Site Timeline"),
                                              QStringLiteral("Series:"), {store, realTime});
    if (!picked) return;
    if (*picked == realTime) kind = library::SeriesKind::RealTime;
  }
  ShowSiteTimeline(site, kind);
}

bool CMainFrame::ShowSiteTimeline(const std::string& site, library::SeriesKind kind) {
  if (!CommandEnabled(cmd::kSiteTimeline)) return false;
  if (!files_->AskToSaveFirst(SavePrompt::BeforeOpen)) return false;
  StoreFamily series;
  QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
  library::SiteDataRead read;
  const std::string problem =
      ReadSiteSeries(settings_, site, kind, mostSitePointsInMemory_, series, read);
  QApplication::restoreOverrideCursor();
  if (!problem.empty()) {
    prompter_->Message(this,
                       QStringLiteral("Cannot show the timeline of site %1: %2")
                           .arg(QString::fromStdString(site), QString::fromStdString(problem)),
                       MessageIcon::Warning);
    return false;
  }
  doc_.Store() = std::move(series);
  // Events end where a download does: none bridges a gap between two.
  analysis_->SetStoreRuns(std::move(read.runs));
  ShowNewData(DisplayMode::StoreRms, false, site);
  frame_.dataUnsaved = 0;
  files_->SetDocument({}, false);
  UpdateCommands();
  QString told = QStringLiteral("Site %1: %2 points, %3 s apart.")
                     .arg(QString::fromStdString(site))
                     .arg(doc_.rmsCount)
                     .arg(doc_.rmsInterval);
  // The one time axis has one interval; the rest stays in the library.
  if (read.leftOut > 0) {
    told += QStringLiteral(" %1 at another interval not shown.").arg(read.leftOut);
  }
  if (doc_.rmsExternal != nullptr) {
    told += QStringLiteral(
        " Drawn from the library: its statistics and events are given by acvlogger-cli library.");
  }
  statusBar()->showMessage(told);
  return true;
}

}  // namespace acv
