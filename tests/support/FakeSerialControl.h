#pragma once
// An in-memory serial control for unit tests. Ports 1..16 exist or not as the
// test says; what the program writes is recorded per port, and a scripted
// logger (the responder) may answer it. Received bytes reach the program
// through the fake clock's queue, never from inside Output(), as a real
// event loop would deliver them.
#include <cstdint>
#include <functional>
#include <set>
#include <span>
#include <vector>

#include "FakeClock.h"
#include "logger/SerialControl.h"

namespace acv::test {

class FakeSerialControl : public SerialControl {
 public:
  explicit FakeSerialControl(FakeClock& clock) : clock_(clock) {}

  // ---- the test's side -------------------------------------------------------
  void AddPort(int port) { existing_.insert(port); }
  void RemovePort(int port);                         // unplug: an open port on it is lost at once
  void DenyPort(int port) { denied_.insert(port); }  // exists, but opening fails
  // An adapter plugged in now: the system lists it from the next
  // RefreshPorts() on, as it appears to a program that reads the list again.
  void PlugIn(int port) { pluggedIn_.insert(port); }
  std::vector<int> openAttempts;  // the port of every attempt to open, in order

  struct Write {
    int port;
    std::vector<std::uint8_t> bytes;
  };
  std::vector<Write> writes;  // everything output, in order
  std::vector<std::vector<std::uint8_t>> WritesTo(int port) const;

  // The scripted logger: called (through the clock queue, after
  // responseDelayMs) for every output; it answers with Feed().
  using Responder = std::function<void(int port, std::span<const std::uint8_t> bytes)>;
  void SetResponder(Responder responder) { responder_ = std::move(responder); }
  std::int64_t responseDelayMs = 1;

  // Bytes arriving from the logger on the current port (delivered if the
  // port is open). Delivery is queued on the clock.
  void Feed(std::span<const std::uint8_t> bytes);
  void Feed(std::initializer_list<std::uint8_t> bytes) {
    Feed(std::span<const std::uint8_t>(bytes.begin(), bytes.size()));
  }
  std::size_t Buffered() const { return input_.size(); }
  // A receive event other than data (line error, break...), delivered
  // through the clock queue like every event.
  void RaiseEvent(int event);
  int opens = 0;  // successful opens so far

  // ---- SerialControl -----------------------------------------------------------
  void SetCommPort(int port) override { port_ = port; }
  int CommPort() const override { return port_; }
  void RefreshPorts() override;
  void SetPortOpen(bool open) override;
  bool PortOpen() const override { return open_; }
  void SetRThreshold(int bytes) override;
  int RThreshold() const override { return threshold_; }
  void DiscardInput() override {
    input_.clear();
    arrivals_.Taken();
  }
  void DiscardOutput() override {}
  void Output(std::span<const std::uint8_t> bytes) override;
  std::vector<std::uint8_t> Input() override;
  long LastPauseAt(int ms) const override { return arrivals_.LastPauseAt(ms); }
  int CommEvent() const override { return event_; }
  void SetEventHandler(std::function<void()> handler) override { handler_ = std::move(handler); }

 private:
  void ScheduleCheck();
  void CheckThreshold();

  FakeClock& clock_;
  std::set<int> existing_;
  std::set<int> denied_;
  std::set<int> pluggedIn_;
  int port_ = 1;
  bool open_ = false;
  int openPort_ = 0;
  int threshold_ = 1;
  int event_ = kCommEventNone;
  std::vector<std::uint8_t> input_;
  ArrivalPauses arrivals_;  // on the fake clock
  std::function<void()> handler_;
  Responder responder_;
};

}  // namespace acv::test
