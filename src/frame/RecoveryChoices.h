#pragma once
// The start-up offer to bring back a run that ended unexpectedly: what is
// done with the journal it left, and what the user is told afterwards. The
// window asks the question and shows the texts; the choices are made here.
#include <cstdint>
#include <string>

namespace acv {

enum class RecoveryStep {
  Leave,     // another program holds the journal: not ours to touch
  SetAside,  // nothing to bring back: kept under another name for a look, the reason told
  Ask,       // points to bring back: the user is asked; "No" sets it aside too
};

// `taken`: this program holds the journal's lock; `readable` and `points`:
// what reading it gave.
RecoveryStep FirstRecoveryStep(bool taken, bool readable, std::int64_t points);

// After "Yes": the status-bar line always (saying when journals of further
// runs wait: one is offered at each start), a warning box only when points
// were dropped or the journal could not be kept or removed.
struct RecoveryReport {
  std::string status;
  std::string warning;  // "" when there is nothing to warn about
};
RecoveryReport ReportRecovery(const std::string& summary, std::int32_t dropped,
                              const std::string& problem, int moreLeft);

}  // namespace acv
