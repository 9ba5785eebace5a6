#include "ui/RecoveryOffer.h"

#include "data/RunRecovery.h"
#include "frame/RecoveryChoices.h"
#include "ui/Prompter.h"

namespace acv {

RecoveryOffer::RecoveryOffer(Host host) : host_(std::move(host)) {}

void RecoveryOffer::Warn(const std::string& text) {
  if (!text.empty()) {
    host_.prompter.Message(&host_.owner, QString::fromStdString(text), MessageIcon::Warning);
  }
}

bool RecoveryOffer::Offer() {
  // Journals are kept beside the previous measurement.
  const std::string& previous = host_.previousPath;
  const std::string folder = previous.substr(0, previous.find_last_of('/'));
  const JournalsLeft left = NextLeftJournal(folder);
  const std::string& path = left.oldest;
  if (path.empty()) return false;
  LeftJournal journal;
  JournalContents contents = journal.Take(path);
  switch (FirstRecoveryStep(journal.Taken(), contents.ok, contents.run.rtCount)) {
    case RecoveryStep::Leave:
      return false;
    case RecoveryStep::SetAside:
      Warn(contents.error);
      Warn(journal.SetAside());
      return false;
    case RecoveryStep::Ask:
      break;
  }
  if (!host_.prompter.AskYesNo(&host_.owner, QString::fromStdString(RecoveryQuestion(contents)))) {
    Warn(journal.SetAside());
    return false;
  }
  const std::string summary = RecoverySummary(contents);
  const std::int32_t dropped = contents.dropped;
  const Adoption adopted = AdoptRecoveredRun(contents, journal, previous, host_.data);
  host_.showRecovered();
  const RecoveryReport report = ReportRecovery(summary, dropped, adopted.problem, left.more);
  Warn(report.warning);
  host_.showStatus(QString::fromStdString(report.status), 8000);
  return true;
}

}  // namespace acv
