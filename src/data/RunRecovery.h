#pragma once
// Bringing back a run that ended unexpectedly: the points of its journal
// become the REAL TIME data and the previous measurement, as if the run had
// ended normally. Shared by the desktop program's question at start-up and
// `acvlogger-cli recover`.
#include <string>

#include "data/CDTDoc.h"
#include "data/RunJournal.h"

namespace acv {

// The oldest journal left in `folder`, or "" when there is none. `more`
// receives how many further ones wait after it, `busy` how many belong to
// runs still being recorded by another program.
std::string NextLeftJournal(const std::string& folder, int& more, int& busy);

// Puts the recovered run into `doc` (the REAL TIME family; the STORE family
// stays) with the tag "EPADATA", writes the previous measurement and then
// removes the journal. Returns "" or the problem; when the previous
// measurement cannot be written the journal is kept, so nothing is lost.
std::string AdoptRecoveredRun(JournalContents& contents, const std::string& journalPath,
                              const std::string& previousMeasurementPath, CDTDoc& doc);

}  // namespace acv
