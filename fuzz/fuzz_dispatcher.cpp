// Fuzzes the serial link: random received blocks, timer ticks, receive
// events and transfer starts, in every link state (idle with or without a
// connection dialog, real-time run going or stopped, download), through
// LoggerLink::Dispatch and OnCommEvent. Every block lives in a buffer of
// exactly its own size, so a read past its end is caught by ASan.
//
// The input is a script: the first byte picks the starting state, then each
// operation is one byte followed by its arguments.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "data/CDTDoc.h"
#include "logger/Download.h"
#include "logger/LinkHost.h"
#include "logger/LoggerLink.h"
#include "logger/RealTimeRun.h"

namespace {

using acv::SerialError;

// ---- fakes (the test support library needs gtest, which a fuzzer cannot use) ----

class FuzzSerial : public acv::SerialControl {
 public:
  void SetCommPort(int port) override { port_ = port; }
  int CommPort() const override { return port_; }
  void SetPortOpen(bool open) override {
    if (open && refuseOpen) throw SerialError(SerialError::Kind::NoPermission, "refused");
    open_ = open;
  }
  bool PortOpen() const override { return open_; }
  void SetRThreshold(int bytes) override { threshold_ = bytes; }
  int RThreshold() const override { return threshold_; }
  void DiscardInput() override { input.clear(); }
  void DiscardOutput() override {}
  void Output(std::span<const std::uint8_t> bytes) override {
    if (!open_) throw SerialError(SerialError::Kind::NotOpen, "closed");
    bytesOut += bytes.size();
  }
  std::vector<std::uint8_t> Input() override {
    std::vector<std::uint8_t> out;
    out.swap(input);
    return out;
  }
  int CommEvent() const override { return event; }
  void SetEventHandler(std::function<void()> handler) override { handler_ = std::move(handler); }

  void Raise(int e) {
    event = e;
    if (handler_) handler_();
  }

  std::vector<std::uint8_t> input;
  int event = acv::kCommEventNone;
  bool refuseOpen = false;
  std::size_t bytesOut = 0;

 private:
  int port_ = 1;
  bool open_ = false;
  int threshold_ = 1;
  std::function<void()> handler_;
};

class FuzzTimers : public acv::TimerHost {
 public:
  void SetCallback(Callback callback) override { callback_ = std::move(callback); }
  void Start(int id, int ms) override { active_[id] = ms; }
  void Kill(int id) override { active_.erase(id); }
  bool IsActive(int id) const override { return active_.count(id) != 0; }
  // Fires a timer only when it runs, as a real one would.
  void Fire(int id) {
    if (IsActive(id) && callback_) callback_(id);
  }

 private:
  Callback callback_;
  std::map<int, int> active_;
};

class FuzzDialog : public acv::ConnectionDialog {
 public:
  explicit FuzzDialog(acv::DialogKind kind) : kind_(kind) {}
  acv::DialogKind Kind() const override { return kind_; }
  std::string Status() const override { return status_; }
  void SetStatus(const std::string& s) override { status_ = s; }
  void SetMessage(const std::string& m) override { message_ = m; }

 private:
  acv::DialogKind kind_;
  std::string status_ = acv::kStatusConnecting;
  std::string message_;
};

class FuzzHost : public acv::LinkHost {
 public:
  std::vector<acv::ConnectionDialog*> OpenDialogs() override { return open; }
  void ShowMessage(const std::string&, acv::MessageIcon) override {}
  bool ProgressWindowOpen() const override { return progress; }
  void ProgressOpen(int, int) override { progress = true; }
  void ProgressSet(int) override {}
  void ProgressClose() override { progress = false; }
  std::vector<acv::ConnectionDialog*> open;
  bool progress = false;
};

// ---- the transfers --------------------------------------------------------------
// The real real-time run and download, so random blocks reach their parsers
// in every state. Their previous-measurement file goes to a private folder.

const std::string& PreviousMeasurementPath() {
  static const std::string path = [] {
    char folder[] = "/tmp/acv-fuzz-XXXXXX";
    const char* made = mkdtemp(folder);
    return std::string(made != nullptr ? made : "/tmp") + "/prev.stdata";
  }();
  return path;
}

struct Harness {
  Harness() {
    link.AttachRealTime(&realTime);
    link.AttachDownload(&download);
  }
  FuzzSerial serial;
  FuzzTimers timers;
  FuzzHost host;
  acv::CDTDoc doc;
  acv::LoggerLink link{serial, timers, host};
  acv::RealTimeRun realTime{link, doc, host, PreviousMeasurementPath()};
  acv::Download download{link, doc, host, PreviousMeasurementPath()};
  FuzzDialog dialog{acv::DialogKind::Download};
};

class Script {
 public:
  Script(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool Done() const { return pos_ >= size_; }
  std::uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  // The next n bytes (fewer at the end), copied into a buffer of exactly
  // that size.
  std::vector<std::uint8_t> Bytes(std::size_t n) {
    n = std::min(n, size_ - pos_);
    std::vector<std::uint8_t> out(data_ + pos_, data_ + pos_ + n);
    pos_ += n;
    return out;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

void SelectTransfer(acv::LoggerLink& link, std::uint8_t which) {
  link.realTimeMode = (which & 1) != 0;
  link.downloadMode = !link.realTimeMode;
  link.realTimeStopped = (which & 2) != 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Script script(data, size);
  Harness h;
  const std::uint8_t start = script.Byte();
  if (start & 0x01) h.host.open.push_back(&h.dialog);
  h.link.loggerFound = (start & 0x02) != 0;
  if (start & 0x04) {
    SelectTransfer(h.link, start >> 4);
    h.link.StartTransfer();
  }

  int operations = 0;
  while (!script.Done() && ++operations < 256) {
    switch (script.Byte() % 8) {
      case 0: {  // a received block straight into the dispatcher
        const std::size_t high = script.Byte();
        const std::size_t length = (high << 8 | script.Byte()) % 4096;
        const std::vector<std::uint8_t> block = script.Bytes(length);
        h.link.Dispatch(block);
        break;
      }
      case 1: {  // bytes arriving, then the receive event
        const std::size_t length = script.Byte();
        h.serial.input = script.Bytes(length);
        h.serial.Raise(acv::kCommEventReceive);
        break;
      }
      case 2:  // a line error, or the port vanishing
        h.serial.input = script.Bytes(script.Byte() % 16);
        h.serial.Raise(script.Byte() & 1 ? acv::kCommEventPortLost : acv::kCommEventLineError);
        break;
      case 3:
        h.timers.Fire(script.Byte() % 16);
        break;
      case 4:
        SelectTransfer(h.link, script.Byte());
        h.link.StartTransfer();
        break;
      case 5: {  // any of the four connection dialogs opens the search
        static constexpr acv::DialogKind kKinds[] = {
            acv::DialogKind::LoggerSetup, acv::DialogKind::CorrectTime, acv::DialogKind::Download,
            acv::DialogKind::RealTime};
        h.link.BeginConnection(kKinds[script.Byte() % 4]);
        break;
      }
      case 6: {  // the dialog opens or closes, a port starts refusing
        const std::uint8_t what = script.Byte();
        if (what & 1) {
          h.host.open.clear();
          h.link.KillConnectTimers();
        } else if (h.host.open.empty()) {
          h.host.open.push_back(&h.dialog);
        }
        h.serial.refuseOpen = (what & 2) != 0;
        h.host.progress = (what & 4) != 0;
        break;
      }
      case 7:
        h.link.ResetPort();
        break;
    }
    // The link's own invariants.
    if (h.link.portCount > 16 || h.link.portNumber < 1 || h.link.portNumber > 16) __builtin_trap();
  }
  return 0;
}
