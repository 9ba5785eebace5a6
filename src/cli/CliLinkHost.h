#pragma once
// The link's user on the command line: one headless connection "dialog" that
// records its status and message line, and message boxes printed on stderr.
// The logger subcommands (probe, setup, clock, realtime, download) share it;
// a subcommand that needs more (progress, download results) derives from it.
#include <string>
#include <vector>

#include "logger/LinkHost.h"

namespace acv::cli {

class HeadlessDialog : public ConnectionDialog {
 public:
  explicit HeadlessDialog(DialogKind kind) : kind_(kind) {}
  DialogKind Kind() const override { return kind_; }
  std::string Status() const override { return status_; }
  void SetStatus(const std::string& status) override;
  void SetMessage(const std::string& text) override { message_ = text; }
  const std::string& Message() const { return message_; }
  // Every status set, in order (the first is "Connecting...").
  const std::vector<std::string>& StatusHistory() const { return history_; }

 private:
  DialogKind kind_;
  std::string status_;
  std::string message_;
  std::vector<std::string> history_;
};

class CliLinkHost : public LinkHost {
 public:
  explicit CliLinkHost(DialogKind kind) : dialog_(kind) {}

  HeadlessDialog& Dialog() { return dialog_; }
  // The subcommand named in front of every message ("acvlogger-cli download: ...").
  void SetCommand(std::string command) { command_ = std::move(command); }
  // Opening sets the status "Connecting..." and empties the message line, as
  // every connection dialog does when it opens.
  void OpenDialog();
  void CloseDialog() { dialogOpen_ = false; }
  bool DialogOpen() const { return dialogOpen_; }

  // ---- LinkHost --------------------------------------------------------------
  std::vector<ConnectionDialog*> OpenDialogs() override;
  // Printed on stderr, one line each with the subcommand in front, and
  // recorded.
  void ShowMessage(const std::string& text, MessageIcon icon) override;
  bool ProgressWindowOpen() const override { return progressOpen_; }
  void ProgressOpen(int rangeMax, int position) override;
  void ProgressSet(int position) override { progressPosition = position; }
  void ProgressClose() override { progressOpen_ = false; }
  void CommandAcknowledged(bool pressStart) override;
  void PortProblem(const std::string& text) override;
  // Printed at once: the run goes on without its journal.
  void RealTimeJournalFailed(const std::string& problem) override;

  std::vector<std::string> messages;  // message boxes shown, in order
  int acknowledgements = 0;           // 0xEE or 0x1E received
  bool lastAckPressStart = false;     // the last one was 0x1E
  int progressMax = 0;
  int progressPosition = 0;

 private:
  // The prefix of printed lines.
  std::string Prefix() const;

  HeadlessDialog dialog_;
  std::string command_;
  bool dialogOpen_ = false;
  bool progressOpen_ = false;
};

}  // namespace acv::cli
