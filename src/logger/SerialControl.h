#pragma once
// The operations of the serial control that the logger link uses. The Qt
// implementation (platform/QtSerialControl) sits on QSerialPort; the tests use
// an in-memory fake. Every operation runs on the one UI thread.
#include <cstdint>
#include <functional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace acv {

// Raised by the control when a port cannot be opened or written; callers
// catch it where it occurs and turn it into a state change.
class SerialError : public std::runtime_error {
 public:
  enum class Kind { NotFound, NoPermission, Busy, NotOpen, Other };
  SerialError(Kind kind, const std::string& what) : std::runtime_error(what), kind_(kind) {}
  Kind kind() const { return kind_; }

 private:
  Kind kind_;
};

// Values of CommEvent().
inline constexpr int kCommEventNone = 0;
inline constexpr int kCommEventReceive = 2;       // RThreshold bytes have arrived
inline constexpr int kCommEventLineError = 1004;  // framing, overrun, break and the like
inline constexpr int kCommEventPortLost = 1010;   // the device vanished; the port was closed

// When the bytes a serial control holds arrived, as much as LastPauseAt()
// needs: the pause before each arrival, kept until the bytes are taken.
class ArrivalPauses {
 public:
  // `count` bytes were appended to `buffered` bytes already held.
  void Arrived(std::size_t buffered, std::int64_t nowMs) {
    if (buffered == 0) pauses_.clear();
    pauses_.push_back({buffered, haveLast_ ? nowMs - lastMs_ : kLongAgoMs});
    lastMs_ = nowMs;
    haveLast_ = true;
  }
  // The held bytes were read or discarded; the time of the last one counts on.
  void Taken() { pauses_.clear(); }
  long LastPauseAt(int ms) const {
    for (auto it = pauses_.rbegin(); it != pauses_.rend(); ++it) {
      if (it->pauseMs > ms) return static_cast<long>(it->offset);
    }
    return -1;
  }

 private:
  // The first bytes after an opening follow nothing of this line.
  static constexpr std::int64_t kLongAgoMs = std::int64_t{1} << 40;
  struct Pause {
    std::size_t offset;
    std::int64_t pauseMs;
  };
  std::vector<Pause> pauses_;
  std::int64_t lastMs_ = 0;
  bool haveLast_ = false;
};

class SerialControl {
 public:
  virtual ~SerialControl() = default;

  // Port number 1..16 (mapped to a device by the implementation).
  virtual void SetCommPort(int port) = 0;
  virtual int CommPort() const = 0;
  // Reads the system's serial devices again and numbers them anew, so
  // devices plugged in or removed since are taken in. An open port stays
  // open on its device. The port search calls it at the start of every scan.
  virtual void RefreshPorts() {}

  // Opening raises SerialError when the port does not exist or cannot be
  // opened. The line settings are always 115200 8N1, binary.
  virtual void SetPortOpen(bool open) = 0;
  virtual bool PortOpen() const = 0;

  // Number of buffered bytes after which the receive event fires.
  virtual void SetRThreshold(int bytes) = 0;
  virtual int RThreshold() const = 0;

  virtual void DiscardInput() = 0;   // InBufferCount = 0
  virtual void DiscardOutput() = 0;  // OutBufferCount = 0

  // Transmits the bytes; raises SerialError when the port is closed or the
  // write fails.
  virtual void Output(std::span<const std::uint8_t> bytes) = 0;
  // Reads and removes everything buffered.
  virtual std::vector<std::uint8_t> Input() = 0;
  // Where, among the bytes Input() would return now, the last pause of more
  // than `ms` milliseconds in their arrival falls: how many of them came
  // before it (0: the pause came before the first of them). -1 when they came
  // without such a pause since the byte before them, or when the control
  // cannot tell. Replies carry no framing; a pause is what separates them.
  virtual long LastPauseAt(int /*ms*/) const { return -1; }

  // The most recent event (kCommEvent...).
  virtual int CommEvent() const = 0;

  // OnComm: called on the UI thread when the threshold is reached or an
  // error event occurs.
  virtual void SetEventHandler(std::function<void()> handler) = 0;

  // Asks the driver to hand over received bytes at once instead of holding
  // them for its latency timer; silently does nothing where not offered.
  virtual void SetLowLatency(bool) {}
};

}  // namespace acv
