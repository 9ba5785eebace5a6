#include "data/RunRecovery.h"

#include <utility>

#include "data/DataFile.h"

namespace acv {

std::string NextLeftJournal(const std::string& folder, int& more, int& busy) {
  const std::vector<std::string> left = FindLeftJournals(folder, &busy);
  more = left.empty() ? 0 : static_cast<int>(left.size()) - 1;
  return left.empty() ? std::string() : left.front();
}

std::string AdoptRecoveredRun(JournalContents& contents, const std::string& journalPath,
                              const std::string& previousMeasurementPath, CDTDoc& doc) {
  doc.RealTime() = std::move(contents.run);
  doc.formatTag = kTagRealTime;
  if (std::string error = SavePreviousMeasurement(doc, previousMeasurementPath); !error.empty()) {
    return "the recovered points could not be kept as the previous measurement (" + error +
           "); the journal stays where it is";
  }
  RemoveJournal(journalPath);
  return {};
}

}  // namespace acv
