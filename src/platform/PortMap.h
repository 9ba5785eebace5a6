#pragma once
// Port numbers 1..16 on this system. Port n is the n-th serial device the
// system lists, in a stable order:
//   1. a device named by the user (--port DEVICE), if any;
//   2. USB adapters (ttyUSB*, ttyACM*), in natural name order (ttyUSB2
//      before ttyUSB10);
//   3. every other serial device, in the same order.
// Devices are shown with their /dev/serial/by-id names where those exist, so
// the user can tell two adapters apart. Pseudo-terminals are not listed by
// the system; they are reached by naming them.
//
// A map read from the system remembers where it came from, so the port
// search can read it again before every scan: an adapter plugged in after
// start-up, or one that comes back under another name, is found without a
// restart.
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace acv {

struct PortEntry {
  std::string device;  // what is opened, e.g. /dev/ttyUSB0
  std::string byId;    // /dev/serial/by-id/... pointing at it, or empty
};

// Where the serial devices are read from: the system (SystemPorts()), or a
// list a test controls.
class PortEnumeration {
 public:
  virtual ~PortEnumeration() = default;
  // The serial devices there are right now, as device paths.
  virtual std::vector<std::string> SerialDevices() = 0;
  // device path -> its /dev/serial/by-id link, for the devices that have one.
  virtual std::map<std::string, std::string> ByIdNames() { return {}; }
};

// The system's serial devices (QSerialPortInfo and /dev/serial/by-id).
std::shared_ptr<PortEnumeration> SystemPorts();

class PortMap {
 public:
  static constexpr int kMaxPorts = 16;

  PortMap() = default;
  // Keeps the first kMaxPorts entries.
  explicit PortMap(std::vector<PortEntry> entries);

  // The devices of `source` in port order; a non-empty preferredDevice
  // becomes port 1 (and is not listed a second time).
  static PortMap Enumerate(std::shared_ptr<PortEnumeration> source,
                           const std::string& preferredDevice = {});
  // Enumerate(SystemPorts(), preferredDevice).
  static PortMap FromSystem(const std::string& preferredDevice = {});
  // Just this device, as port 1.
  static PortMap Single(const std::string& device);

  // The map read again from its source, in the same order rules; a map that
  // was not read from a source (Single, a plain list) stays as it is.
  PortMap Reread() const;

  int Size() const { return static_cast<int>(entries_.size()); }
  const std::vector<PortEntry>& Entries() const { return entries_; }
  // Empty when the port number has no device.
  std::string DevicePath(int port) const;
  // "by-id name (device)" where a by-id name exists, else the device.
  std::string DisplayName(int port) const;
  // What to open for the port: its device; when that has gone but its by-id
  // link still leads somewhere (the same adapter plugged in again and named
  // anew by the system), the link.
  std::string OpenPath(int port) const;

 private:
  std::vector<PortEntry> entries_;
  std::shared_ptr<PortEnumeration> source_;  // null: a fixed list
  std::string preferred_;
};

// The ordering rule above, on plain device paths. The preferred device (if
// not empty) comes first; devices that resolve to the same file as it are
// dropped. At most PortMap::kMaxPorts entries are returned.
std::vector<std::string> OrderSerialDevices(std::vector<std::string> devices,
                                            const std::string& preferred);

// Natural order: digit runs compare by value ("ttyS2" < "ttyS10").
bool NaturalLess(const std::string& a, const std::string& b);

// device path -> by-id link, read from a by-id folder (missing folder: empty).
std::map<std::string, std::string> SerialByIdNames(const std::string& folder = "/dev/serial/by-id");

}  // namespace acv
