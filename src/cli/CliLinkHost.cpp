#include "cli/CliLinkHost.h"

#include <cstdio>

namespace acv::cli {

void HeadlessDialog::SetStatus(const std::string& status) {
  status_ = status;
  history_.push_back(status);
}

void CliLinkHost::OpenDialog() {
  dialog_.SetStatus(kStatusConnecting);
  dialog_.SetMessage("");
  dialogOpen_ = true;
}

std::vector<ConnectionDialog*> CliLinkHost::OpenDialogs() {
  if (!dialogOpen_) return {};
  return {&dialog_};
}

std::string CliLinkHost::Prefix() const {
  return command_.empty() ? "acvlogger-cli: " : "acvlogger-cli " + command_ + ": ";
}

void CliLinkHost::ShowMessage(const std::string& text, MessageIcon /*icon*/) {
  messages.push_back(text);
  std::fprintf(stderr, "%s%s\n", Prefix().c_str(), text.c_str());
}

void CliLinkHost::ProgressOpen(int rangeMax, int position) {
  progressOpen_ = true;
  progressMax = rangeMax;
  progressPosition = position;
}

void CliLinkHost::CommandAcknowledged(bool pressStart) {
  ++acknowledgements;
  lastAckPressStart = pressStart;
}

void CliLinkHost::PortProblem(const std::string& text) {
  std::fprintf(stderr, "%s%s\n", Prefix().c_str(), text.c_str());
}

void CliLinkHost::RealTimeJournalFailed(const std::string& problem) {
  std::fprintf(stderr, "%sthe run goes on, but it is no longer protected against a crash: %s\n",
               Prefix().c_str(), problem.c_str());
}

}  // namespace acv::cli
