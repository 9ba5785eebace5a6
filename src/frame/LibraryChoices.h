#pragma once
// What the window decides when data on show go into the measurement library
// (File -> Add to Library..., or by itself after a download): which site the
// dialog proposes, which names a site may have, and what the user is told.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace acv {

class CDTDoc;

// What the Add to Library dialog offers, and what the user chose in it.
struct LibrarySiteOffer {
  std::string library;             // where the library is, without a password
  std::vector<std::string> sites;  // the library's sites, as it lists them
  std::string site;                // the name proposed, or the one chosen
  // Every later download goes to this site without asking (the setting).
  bool addEveryDownload = false;
};

// The offer for data about to be added: the site downloads go to by
// themselves when there is one, else the one added to last in this session
// while the library still has it, else the library's only site.
LibrarySiteOffer OfferSites(const std::string& library, std::vector<std::string> sites,
                            const std::string& autoAddSite, const std::string& lastSite);

// The name as it is kept: without blanks at its ends.
std::string CleanSiteName(const std::string& typed);
// Why a name cannot be a site's ("" when it can). Control characters would
// break the CSV listings and the status line; a name is for people to read.
std::string SiteNameProblem(const std::string& typed);
inline constexpr std::size_t kMaxSiteNameBytes = 200;

// The status text of an add; `line` is the library's own sentence
// ("added 2000 points (0 duplicates) to North as measurement 3", "already
// in the library as measurement 3"). After a download it follows the
// download's own text.
std::string LibraryAddedStatus(const std::string& line);
// The measurement an add's line says the data already are, or nullopt.
std::optional<std::int64_t> KnownMeasurement(const std::string& line);
// The message when an add failed: nothing was added, the data stay shown.
std::string LibraryAddFailedMessage(const std::string& problem);
// The name a measurement's source gets: the data file's name, or for data
// not saved to a file, the download as the window calls it, with the time
// it was added so that two of them can be told apart in a listing.
std::string LibrarySourceName(const std::string& documentPath, const std::string& addedAt);
// The bytes the library keeps and fingerprints for the data on show: the
// data file's own when the data are that file's unchanged, so that a file
// added before (from the CLI too) is known again; else the data set
// written as a data file.
std::vector<std::uint8_t> LibraryFileBytes(const CDTDoc& doc, const std::string& documentPath);

}  // namespace acv
