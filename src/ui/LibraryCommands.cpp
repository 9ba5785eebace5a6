#include "ui/LibraryCommands.h"

#include <exception>
#include <memory>
#include <vector>

#include "data/Settings.h"
#include "data/TimeText.h"
#include "frame/LibraryChoices.h"
#include "library/LibraryConnection.h"
#include "library/LibraryStore.h"
#include "ui/Prompter.h"

namespace acv {

bool OpenUserLibrary(const AppSettings& settings, UserLibrary* out, std::string* problem) {
  const auto location = ChooseLibraryForUser("", settings.library.url, problem);
  if (!location) return false;
  out->connection = LibraryConnection::Open(*location, problem);
  if (!out->connection) return false;
  out->store = library::LibraryStore::Attach(*out->connection, problem);
  if (!out->store) return false;
  out->store->SetEventLimits(settings.eventLimits);
  return true;
}

bool LibraryCommands::ReadSites(std::string* where, std::vector<std::string>* sites,
                                std::string* problem) {
  UserLibrary library;
  if (!OpenUserLibrary(host_.settings, &library, problem)) return false;
  *where = library.connection->Location().Display();
  try {
    *sites = library.store->SiteNames();
  } catch (const std::exception& e) {
    *problem = e.what();
    return false;
  }
  return true;
}

bool LibraryCommands::Add(const std::string& site, std::string* line, std::string* problem) {
  UserLibrary library;
  if (!OpenUserLibrary(host_.settings, &library, problem)) return false;
  const CDTDoc& doc = host_.parts.doc;
  const std::string path = host_.dataUnsaved() ? std::string() : host_.documentPath();
  const std::vector<std::uint8_t> bytes = LibraryFileBytes(doc, path);
  const std::string source = LibrarySourceName(path, FormatTime(LocalNow(), kCsvTimeFormat));
  try {
    if (!library.store->AddDataSet(doc, bytes, source, site, line, problem)) return false;
    // Data already known may be in another site than the one chosen: say which.
    if (const std::optional<std::int64_t> known = KnownMeasurement(*line)) {
      for (const library::MeasurementRecord& m : library.store->Measurements(std::nullopt)) {
        if (m.id == *known) *line += " of " + m.site;
      }
    }
    return true;
  } catch (const std::exception& e) {
    *problem = e.what();
    return false;
  }
}

void LibraryCommands::TellFailure(const std::string& problem) {
  host_.parts.prompter.Message(&host_.parts.owner,
                               QString::fromStdString(LibraryAddFailedMessage(problem)),
                               MessageIcon::Warning);
}

void LibraryCommands::AddToLibrary() {
  std::string where, problem;
  std::vector<std::string> sites;
  // The library is closed again while the user chooses.
  if (!ReadSites(&where, &sites, &problem)) {
    TellFailure(problem);
    return;
  }
  const LibrarySiteOffer offer =
      OfferSites(where, std::move(sites), host_.settings.library.autoAddSite, lastSite_);
  const std::optional<LibrarySiteOffer> choice =
      host_.parts.prompter.ChooseLibrarySite(&host_.parts.owner, offer);
  if (!choice) return;
  const std::string site = CleanSiteName(choice->site);
  // The dialog keeps its Add button off for such a name; a scripted answer
  // or a future caller is held to the same rule.
  if (const std::string bad = SiteNameProblem(site); !bad.empty()) {
    TellFailure(bad);
    return;
  }
  std::string line;
  if (!Add(site, &line, &problem)) {
    TellFailure(problem);
    return;
  }
  lastSite_ = site;
  host_.settings.library.autoAddSite = choice->addEveryDownload ? site : std::string();
  host_.showStatus(QString::fromStdString(LibraryAddedStatus(line)), 0);
}

QString LibraryCommands::AfterDownload() {
  const std::string site = CleanSiteName(host_.settings.library.autoAddSite);
  if (site.empty()) return {};
  std::string line, problem;
  if (!SiteNameProblem(site).empty() || !Add(site, &line, &problem)) {
    TellFailure(problem.empty() ? SiteNameProblem(site) : problem);
    return {};
  }
  lastSite_ = site;
  return QString::fromStdString(LibraryAddedStatus(line));
}

}  // namespace acv
