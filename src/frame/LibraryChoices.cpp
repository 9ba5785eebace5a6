#include "frame/LibraryChoices.h"

#include <algorithm>

#include "data/CDTDoc.h"
#include "data/DataFile.h"
#include "data/FileIO.h"

namespace acv {
namespace {

bool Contains(const std::vector<std::string>& sites, const std::string& name) {
  return std::find(sites.begin(), sites.end(), name) != sites.end();
}

}  // namespace

LibrarySiteOffer OfferSites(const std::string& library, std::vector<std::string> sites,
                            const std::string& autoAddSite, const std::string& lastSite) {
  LibrarySiteOffer offer;
  offer.library = library;
  offer.addEveryDownload = !autoAddSite.empty();
  if (!autoAddSite.empty()) {
    // Named by the setting even before its first download created it.
    offer.site = autoAddSite;
  } else if (!lastSite.empty() && Contains(sites, lastSite)) {
    offer.site = lastSite;
  } else if (sites.size() == 1) {
    offer.site = sites.front();
  }
  offer.sites = std::move(sites);
  return offer;
}

std::string CleanSiteName(const std::string& typed) {
  const auto first = typed.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  const auto last = typed.find_last_not_of(" \t");
  return typed.substr(first, last - first + 1);
}

std::string SiteNameProblem(const std::string& typed) {
  const std::string name = CleanSiteName(typed);
  if (name.empty()) return "Choose a site or type the name of a new one.";
  const bool control = std::any_of(name.begin(), name.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7f;
  });
  if (control) return "A site name cannot hold tabs, line breaks or other control characters.";
  if (name.size() > kMaxSiteNameBytes) {
    return "A site name is at most " + std::to_string(kMaxSiteNameBytes) + " bytes long.";
  }
  return {};
}

std::string LibraryAddedStatus(const std::string& line) {
  return "Library: " + line + ".";
}

std::optional<std::int64_t> KnownMeasurement(const std::string& line) {
  static const std::string kKnown = "already in the library as measurement ";
  if (line.rfind(kKnown, 0) != 0) return std::nullopt;
  std::int64_t id = 0;
  std::size_t at = kKnown.size();
  for (; at < line.size() && line[at] >= '0' && line[at] <= '9'; ++at)
    id = id * 10 + (line[at] - '0');
  if (at == kKnown.size()) return std::nullopt;
  return id;
}

std::string LibraryAddFailedMessage(const std::string& problem) {
  return "The data were not added to the library; the library is as it was.\n\n" + problem;
}

std::string LibrarySourceName(const std::string& documentPath, const std::string& addedAt) {
  if (!documentPath.empty()) {
    const auto slash = documentPath.find_last_of('/');
    return slash == std::string::npos ? documentPath : documentPath.substr(slash + 1);
  }
  return "Untitled download " + addedAt;
}

std::vector<std::uint8_t> LibraryFileBytes(const CDTDoc& doc, const std::string& documentPath) {
  if (!documentPath.empty()) {
    std::vector<std::uint8_t> bytes;
    if (ReadWholeFile(documentPath, bytes, kMaxDataFileBytes).empty()) {
      CDTDoc fromFile;
      const LoadResult loaded = DecodeDataFile(bytes, fromFile, documentPath);
      if (loaded.ok && fromFile.Store() == doc.Store() && fromFile.RealTime() == doc.RealTime()) {
        return bytes;
      }
    }
  }
  return EncodeDataFile(doc);
}

}  // namespace acv
