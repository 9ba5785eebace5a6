#pragma once
// The serial link under test: the link on the fake clock and fake port, with
// connection dialogs and message boxes recorded, a scripted logger on one
// port, and stub transfers that record what the dispatcher hands them.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "logger/LinkHost.h"
#include "logger/LoggerLink.h"
#include "support/FakeClock.h"
#include "support/FakeSerialControl.h"
#include "support/RecordingLinkHost.h"

namespace acv::test::linktest {

using Bytes = std::vector<std::uint8_t>;

using Dialog = RecordingDialog;
using Host = RecordingLinkHost;

// A transfer that records what the link does to it.
class StubTransfer : public TransferHandler {
 public:
  StubTransfer(LoggerLink& link, std::uint8_t fill, int threshold)
      : link_(link), fill_(fill), threshold_(threshold) {}
  void ClearCounters() override { ++clears; }
  std::uint8_t PrepareStart() override {
    ++prepares;
    link_.SetThreshold(threshold_);
    return fill_;
  }
  void OnReply(std::span<const std::uint8_t> block) override {
    replies.emplace_back(block.begin(), block.end());
    replySeenAtReply.push_back(link_.replySeen);
    repeatArmedAtReply.push_back(link_.Timers().IsActive(timer::kFirstFrameRepeat));
  }
  bool OwnsTimer(int id) const override { return ownedTimers.count(id) != 0; }
  void OnTimer(int id) override { firedTimers.push_back(id); }
  void OnPortLost() override { ++portLost; }

  int clears = 0, prepares = 0, portLost = 0;
  std::vector<Bytes> replies;
  std::vector<int> replySeenAtReply;
  std::vector<bool> repeatArmedAtReply;
  std::set<int> ownedTimers;
  std::vector<int> firedTimers;

 private:
  LoggerLink& link_;
  std::uint8_t fill_;
  int threshold_;
};

class LinkTest : public ::testing::Test {
 protected:
  FakeClock clock;
  FakeSerialControl serial{clock};
  FakeTimerHost timers{clock};
  Host host;
  LoggerLink link{serial, timers, host};

  // The logger on `port`: answers the probe with 0xAF and a set-up or clock
  // command with `ack`.
  void LoggerOn(int port, std::uint8_t ack = kAckOk) {
    serial.SetResponder([this, port, ack](int p, std::span<const std::uint8_t> bytes) {
      if (p != port || bytes.empty()) return;
      if (bytes.size() == 1 && bytes[0] == kProbeByte) serial.Feed({kProbeAnswer});
      if (bytes.size() == 8 && (bytes[0] == 0xAA || bytes[0] == 0xAC)) serial.Feed({ack});
    });
  }

  // Opens a dialog as the main window does: BeginConnection, then shown.
  void OpenDialog(Dialog& dialog) {
    dialog.status = kStatusConnecting;
    host.open.push_back(&dialog);
    link.BeginConnection(dialog.Kind());
  }
  void CloseDialog(Dialog& dialog) {
    std::erase(host.open, &dialog);
    link.KillConnectTimers();
  }

  // The bytes written, as (port, bytes) pairs.
  std::vector<std::pair<int, Bytes>> Writes() const {
    std::vector<std::pair<int, Bytes>> out;
    for (const auto& w : serial.writes) out.emplace_back(w.port, w.bytes);
    return out;
  }
  int ProbesSent() const {
    int n = 0;
    for (const auto& w : serial.writes) n += w.bytes == Bytes{kProbeByte};
    return n;
  }
};

}  // namespace acv::test::linktest
