#include "frame/RecoveryChoices.h"

#include <cctype>
#include <string>

namespace acv {

RecoveryStep FirstRecoveryStep(bool taken, bool readable, std::int64_t points) {
  if (!taken) return RecoveryStep::Leave;
  return readable && points > 0 ? RecoveryStep::Ask : RecoveryStep::SetAside;
}

RecoveryReport ReportRecovery(const std::string& summary, std::int32_t dropped,
                              const std::string& problem, int moreLeft) {
  RecoveryReport report{summary, {}};
  if (moreLeft > 0) {
    report.status += " " + std::to_string(moreLeft) +
                     (moreLeft == 1 ? " more run is" : " more runs are") +
                     " offered at the next start.";
  }
  if (!problem.empty()) {
    // The problem is worded as a clause; here it starts a sentence.
    std::string sentence = problem;
    sentence[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(sentence[0])));
    report.warning = summary + " " + sentence;
  } else if (dropped > 0) {
    report.warning = summary;
  }
  return report;
}

}  // namespace acv
