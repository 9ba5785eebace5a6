#include "frame/SaveTargets.h"

#include <algorithm>
#include <cctype>

#include "data/Export.h"

namespace acv {
namespace {

bool EndsWithNoCase(const std::string& s, const std::string& tail) {
  return s.size() > tail.size() &&
         std::equal(tail.rbegin(), tail.rend(), s.rbegin(), [](char a, char b) {
           return std::tolower(static_cast<unsigned char>(a)) ==
                  std::tolower(static_cast<unsigned char>(b));
         });
}

}  // namespace

std::vector<SaveFilter> SaveFiltersFor(SaveKind kind) {
  switch (kind) {
    case SaveKind::Data:
      return {{"DataLogger Files (*.stdata *.xls)", ".stdata"}};
    case SaveKind::Pdf:
      return {{"PDF Files (*.pdf)", ".pdf"}};
    case SaveKind::Picture:
      return {{"PNG Pictures (*.png)", ".png"}, {"SVG Pictures (*.svg)", ".svg"}};
    case SaveKind::Csv:
      return {{"CSV Files (*.csv)", ".csv"}};
    case SaveKind::Comtrade:
      return {{"COMTRADE Files (*.cfg)", ".cfg"}};
  }
  return {};
}

std::string SaveTargetFor(SaveKind kind, const std::string& chosen, std::size_t filterIndex) {
  if (kind == SaveKind::Data) return DataPathFor(chosen);
  const std::vector<SaveFilter> filters = SaveFiltersFor(kind);
  for (const SaveFilter& f : filters) {
    // "x.PNG" is a picture already; "dir/.pdf" is a hidden name without one.
    const std::size_t slash = chosen.find_last_of('/');
    const std::string name = slash == std::string::npos ? chosen : chosen.substr(slash + 1);
    if (EndsWithNoCase(name, f.extension)) return chosen;
  }
  return chosen + filters[std::min(filterIndex, filters.size() - 1)].extension;
}

bool CsvOfRun(bool realTimeDisplay, bool holdsStore, bool holdsRun) {
  return holdsRun && (realTimeDisplay || !holdsStore);
}

std::string ProposedCsvName(const std::string& documentPath, bool ofRun,
                            const std::string& fallback) {
  const std::string extension = ofRun ? "-realtime.csv" : ".csv";
  // The time-stamped name has dots in its time, not an extension.
  return documentPath.empty() ? fallback + extension : ReplaceExtension(documentPath, extension);
}

std::string ProposedComtradeName(const std::string& documentPath, int trRecord,
                                 const std::string& fallback) {
  const std::string suffix =
      trRecord >= 0 ? "-tr" + std::to_string(trRecord + 1) + ".cfg" : "-wave.cfg";
  return documentPath.empty() ? fallback + suffix : ReplaceExtension(documentPath, suffix);
}

std::string ComtradeBasePath(const std::string& cfgPath) {
  return EndsWithNoCase(cfgPath, ".cfg") ? cfgPath.substr(0, cfgPath.size() - 4) : cfgPath;
}

}  // namespace acv
