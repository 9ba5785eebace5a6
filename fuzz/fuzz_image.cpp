// Any bytes through the download: first as a header and memory image for the
// parser, then as a conversation for the download state machine (replies of
// any length, timer ticks, a lost port). Neither may read beyond what it was
// given nor crash; every buffer below has the exact size of its content so
// AddressSanitizer sees any overrun.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <set>
#include <span>
#include <vector>

#include "data/CDTDoc.h"
#include "logger/Download.h"
#include "logger/LinkHost.h"
#include "logger/LoggerLink.h"
#include "logger/MemoryImage.h"

namespace {

class QuietSerial : public acv::SerialControl {
 public:
  void SetCommPort(int port) override { port_ = port; }
  int CommPort() const override { return port_; }
  void SetPortOpen(bool open) override {
    if (open && failOpen) throw acv::SerialError(acv::SerialError::Kind::NotFound, "gone");
    open_ = open;
  }
  bool PortOpen() const override { return open_; }
  void SetRThreshold(int bytes) override { threshold_ = bytes; }
  int RThreshold() const override { return threshold_; }
  void DiscardInput() override {}
  void DiscardOutput() override {}
  void Output(std::span<const std::uint8_t>) override {
    if (!open_) throw acv::SerialError(acv::SerialError::Kind::NotOpen, "closed");
  }
  std::vector<std::uint8_t> Input() override { return {}; }
  int CommEvent() const override { return event; }
  void SetEventHandler(std::function<void()>) override {}

  bool failOpen = false;
  int event = acv::kCommEventReceive;

 private:
  int port_ = 1;
  bool open_ = false;
  int threshold_ = 1;
};

class ManualTimers : public acv::TimerHost {
 public:
  void SetCallback(Callback callback) override { callback_ = std::move(callback); }
  void Start(int id, int) override { active_.insert(id); }
  void Kill(int id) override { active_.erase(id); }
  bool IsActive(int id) const override { return active_.count(id) != 0; }
  void Fire(int id) {
    if (IsActive(id) && callback_) callback_(id);
  }

 private:
  Callback callback_;
  std::set<int> active_;
};

class SilentHost : public acv::LinkHost {
 public:
  std::vector<acv::ConnectionDialog*> OpenDialogs() override { return {}; }
  void ShowMessage(const std::string&, acv::MessageIcon) override {}
  bool ProgressWindowOpen() const override { return open_; }
  void ProgressOpen(int, int) override { open_ = true; }
  void ProgressSet(int) override {}
  void ProgressClose() override { open_ = false; }

 private:
  bool open_ = false;
};

void ParseAsImage(const std::uint8_t* data, std::size_t size) {
  if (size < acv::kDownloadHeaderSize) return;
  std::vector<std::uint8_t> header(data, data + acv::kDownloadHeaderSize);
  header[0] = acv::kDownloadHeaderCode;
  const auto decoded = acv::DecodeDownloadHeader(header);
  if (!decoded) __builtin_trap();
  const std::size_t imageSize = size - acv::kDownloadHeaderSize;
  auto image = std::make_unique<std::uint8_t[]>(imageSize);
  std::memcpy(image.get(), data + acv::kDownloadHeaderSize, imageSize);
  acv::CDTDoc store;
  acv::ApplyDownloadHeader(*decoded, store);
  acv::ParseMemoryImage(std::span(image.get(), imageSize), *decoded, store);
  const std::size_t rms = static_cast<std::size_t>(store.rmsCount);
  if ((store.hasCh1 == 1 && store.rmsCh1.size() != rms) ||
      (store.hasCh2 == 1 && store.rmsCh2.size() != rms) ||
      store.trWaves.size() != static_cast<std::size_t>(store.trCount) * acv::kTrWavePoints ||
      rms * 2 * static_cast<std::size_t>(decoded->channelCount) +
              static_cast<std::size_t>(store.trCount) * acv::kTrRecordBytes >
          imageSize) {
    __builtin_trap();  // the counts must describe what was really there
  }
}

// The input as a conversation: each step is an opcode byte, and for a reply
// a 16-bit length and that many bytes.
void Converse(const std::uint8_t* data, std::size_t size) {
  QuietSerial serial;
  ManualTimers timers;
  SilentHost host;
  acv::LoggerLink link(serial, timers, host);
  acv::CDTDoc doc;
  acv::Download download(link, doc, host, "");
  link.AttachDownload(&download);
  link.downloadMode = 1;
  link.StartTransfer();

  std::size_t p = 0;
  while (p < size) {
    const std::uint8_t op = data[p++];
    switch (op % 6) {
      case 0:
      case 1: {
        if (size - p < 2) return;
        std::size_t length = (static_cast<std::size_t>(data[p]) << 8) | data[p + 1];
        p += 2;
        length = std::min(length, size - p);
        std::vector<std::uint8_t> reply(data + p, data + p + length);
        p += length;
        if (op % 6 == 1 && !reply.empty()) reply[0] = acv::kDownloadHeaderCode;
        link.Dispatch(reply);
        break;
      }
      case 2:
        timers.Fire(acv::timer::kBlockRetry);
        break;
      case 3:
        timers.Fire(acv::timer::kDownloadWatchdog);
        break;
      case 4:
        serial.failOpen = !serial.failOpen;
        serial.event = serial.event == acv::kCommEventReceive ? acv::kCommEventLineError
                                                              : acv::kCommEventReceive;
        break;
      case 5:
        if (link.transferActive) download.OnPortLost();
        if (op & 0x80) {  // start again
          link.downloadMode = 1;
          link.StartTransfer();
        }
        break;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ParseAsImage(data, size);
  Converse(data, size);
  return 0;
}
