#pragma once
// A connection dialog and a link host that record what the link tells them,
// for tests of the link and of the transfers on it.
#include <functional>
#include <string>
#include <vector>

#include "logger/LinkHost.h"

namespace acv::test {

class RecordingDialog : public ConnectionDialog {
 public:
  explicit RecordingDialog(DialogKind kind) : kind_(kind) {}
  DialogKind Kind() const override { return kind_; }
  std::string Status() const override { return status; }
  void SetStatus(const std::string& s) override { status = s; }
  void SetMessage(const std::string& text) override { message = text; }
  std::string status = kStatusConnecting;
  std::string message;

 private:
  DialogKind kind_;
};

class RecordingLinkHost : public LinkHost {
 public:
  std::vector<ConnectionDialog*> OpenDialogs() override { return open; }
  void ShowMessage(const std::string& text, MessageIcon icon) override {
    messages.push_back(text);
    icons.push_back(icon);
  }
  bool ProgressWindowOpen() const override { return progressOpen; }
  void ProgressOpen(int, int) override { progressOpen = true; }
  void ProgressSet(int) override {}
  void ProgressClose() override { progressOpen = false; }
  void CommandAcknowledged(bool pressStart) override { acks.push_back(pressStart); }
  void PortProblem(const std::string& text) override {
    problems.push_back(text);
    if (whileShowingProblem) whileShowingProblem();
  }

  std::vector<ConnectionDialog*> open;
  std::vector<std::string> messages;
  std::vector<MessageIcon> icons;
  std::vector<bool> acks;
  std::vector<std::string> problems;
  // Runs inside PortProblem, as the event loop of a modal box would.
  std::function<void()> whileShowingProblem;
  bool progressOpen = false;
};

}  // namespace acv::test
