#include "data/RunRecovery.h"

#include <utility>

#include "data/DataFile.h"

namespace acv {

JournalsLeft NextLeftJournal(const std::string& folder) {
  JournalsLeft found;
  const std::vector<std::string> left = FindLeftJournals(folder, &found.busy);
  if (left.empty()) return found;
  found.oldest = left.front();
  found.more = static_cast<int>(left.size()) - 1;
  return found;
}

Adoption AdoptRecoveredRun(JournalContents& contents, LeftJournal& journal,
                           const std::string& previousMeasurementPath, CDTDoc& doc) {
  CDTDoc recovered;
  const LoadResult prior = LoadPreviousMeasurement(previousMeasurementPath, recovered);
  if (!prior.ok && !prior.error.empty()) recovered = CDTDoc();
  recovered.RealTime() = std::move(contents.run);
  recovered.formatTag = kTagRealTime;
  recovered.scaling = doc.scaling;  // the settings' scaling stays with the window
  doc = std::move(recovered);
  Adoption result;
  if (!prior.ok && !prior.error.empty()) {
    // Writing now would replace STORE data this program cannot read.
    result.problem =
        "the recovered points could not be kept as the previous measurement, which "
        "cannot be read (" +
        prior.error + "); the journal stays where it is";
    return result;
  }
  if (std::string error = SavePreviousMeasurement(doc, previousMeasurementPath); !error.empty()) {
    result.problem = "the recovered points could not be kept as the previous measurement (" +
                     error + "); the journal stays where it is";
    return result;
  }
  result.kept = true;
  result.problem = journal.Remove();
  return result;
}

}  // namespace acv
