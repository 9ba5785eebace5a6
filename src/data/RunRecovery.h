#pragma once
// Bringing back a run that ended unexpectedly: the points of its journal
// become the REAL TIME data and the previous measurement, as if the run had
// ended normally. Shared by the desktop program's question at start-up and
// `acvlogger-cli recover`.
#include <string>

#include "data/CDTDoc.h"
#include "data/RunJournal.h"

namespace acv {

// The journals left in a folder by runs that ended unexpectedly.
struct JournalsLeft {
  std::string oldest;  // the one to recover first; "" when there is none
  int more = 0;        // further ones waiting after it
  int busy = 0;        // journals of runs another program is still recording
};
JournalsLeft NextLeftJournal(const std::string& folder);

struct Adoption {
  // The points are kept as the previous measurement and the journal is
  // gone; otherwise `problem` says why and the journal stays.
  bool kept = false;
  std::string problem;  // also set when kept but the journal could not go
};

// Puts the recovered run into `doc` (the REAL TIME family) beside the STORE
// data of the previous measurement on the disk, which the run was made
// with, tags it "EPADATA", writes the previous measurement and then removes
// the taken journal. When the previous measurement cannot be read or
// written, the journal is kept, so nothing is lost.
Adoption AdoptRecoveredRun(JournalContents& contents, LeftJournal& journal,
                           const std::string& previousMeasurementPath, CDTDoc& doc);

}  // namespace acv
