#include "FakeSerialControl.h"

#include <string>

namespace acv::test {

std::vector<std::vector<std::uint8_t>> FakeSerialControl::WritesTo(int port) const {
  std::vector<std::vector<std::uint8_t>> out;
  for (const auto& w : writes)
    if (w.port == port) out.push_back(w.bytes);
  return out;
}

void FakeSerialControl::RemovePort(int port) {
  existing_.erase(port);
  if (open_ && openPort_ == port) {
    open_ = false;
    input_.clear();
    arrivals_.Taken();
    event_ = kCommEventPortLost;
    clock_.Post(0, [this] {
      if (handler_) handler_();
    });
  }
}

void FakeSerialControl::RefreshPorts() {
  existing_.insert(pluggedIn_.begin(), pluggedIn_.end());
  pluggedIn_.clear();
}

void FakeSerialControl::SetPortOpen(bool open) {
  if (!open) {
    open_ = false;
    return;
  }
  openAttempts.push_back(port_);
  if (open_) throw SerialError(SerialError::Kind::Busy, "port already open");
  if (existing_.count(port_) == 0) throw SerialError(SerialError::Kind::NotFound, "no such port");
  if (denied_.count(port_) != 0) {
    throw SerialError(SerialError::Kind::NoPermission,
                      "permission denied on port " + std::to_string(port_));
  }
  open_ = true;
  openPort_ = port_;
  ++opens;
  input_.clear();
  arrivals_.Taken();
}

void FakeSerialControl::SetRThreshold(int bytes) {
  threshold_ = bytes;
  ScheduleCheck();
}

void FakeSerialControl::Output(std::span<const std::uint8_t> bytes) {
  if (!open_) throw SerialError(SerialError::Kind::NotOpen, "port not open");
  writes.push_back({openPort_, std::vector<std::uint8_t>(bytes.begin(), bytes.end())});
  if (responder_) {
    int port = openPort_;
    std::vector<std::uint8_t> copy(bytes.begin(), bytes.end());
    clock_.Post(responseDelayMs, [this, port, copy] { responder_(port, copy); });
  }
}

std::vector<std::uint8_t> FakeSerialControl::Input() {
  std::vector<std::uint8_t> out;
  out.swap(input_);
  arrivals_.Taken();
  return out;
}

void FakeSerialControl::Feed(std::span<const std::uint8_t> bytes) {
  std::vector<std::uint8_t> copy(bytes.begin(), bytes.end());
  clock_.Post(0, [this, copy] {
    if (!open_) return;  // nobody listens on a closed port
    arrivals_.Arrived(input_.size(), clock_.Now());
    input_.insert(input_.end(), copy.begin(), copy.end());
    CheckThreshold();
  });
}

void FakeSerialControl::RaiseEvent(int event) {
  clock_.Post(0, [this, event] {
    event_ = event;
    if (handler_) handler_();
  });
}

void FakeSerialControl::ScheduleCheck() {
  clock_.Post(0, [this] { CheckThreshold(); });
}

void FakeSerialControl::CheckThreshold() {
  if (!open_ || threshold_ <= 0 || input_.empty()) return;
  if (static_cast<int>(input_.size()) >= threshold_) {
    event_ = kCommEventReceive;
    if (handler_) handler_();
  }
}

}  // namespace acv::test
