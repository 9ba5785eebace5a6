#include "platform/PortMap.h"

#include <QSerialPortInfo>
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

namespace acv {

namespace {

bool IsUsbAdapter(const std::string& device) {
  const std::string name = std::filesystem::path(device).filename().string();
  return name.rfind("ttyUSB", 0) == 0 || name.rfind("ttyACM", 0) == 0;
}

// The file a path finally names, so /dev/serial/by-id/x and /dev/ttyUSB0
// compare equal; the path itself when it cannot be resolved.
std::string Resolved(const std::string& path) {
  std::error_code ec;
  const std::filesystem::path canonical = std::filesystem::weakly_canonical(path, ec);
  return ec ? path : canonical.string();
}

bool IsDigit(char c) {
  return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

}  // namespace

bool NaturalLess(const std::string& a, const std::string& b) {
  std::size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    if (IsDigit(a[i]) && IsDigit(b[j])) {
      std::size_t endA = i, endB = j;
      while (endA < a.size() && IsDigit(a[endA])) ++endA;
      while (endB < b.size() && IsDigit(b[endB])) ++endB;
      std::size_t startA = i, startB = j;
      while (startA + 1 < endA && a[startA] == '0') ++startA;
      while (startB + 1 < endB && b[startB] == '0') ++startB;
      const std::size_t lenA = endA - startA, lenB = endB - startB;
      if (lenA != lenB) return lenA < lenB;
      const int cmp = a.compare(startA, lenA, b, startB, lenB);
      if (cmp != 0) return cmp < 0;
      i = endA, j = endB;
      continue;
    }
    if (a[i] != b[j]) return a[i] < b[j];
    ++i, ++j;
  }
  if ((i < a.size()) != (j < b.size())) return j < b.size();
  return a < b;  // equal under the natural rule ("x01" vs "x1"): keep a strict order
}

std::vector<std::string> OrderSerialDevices(std::vector<std::string> devices,
                                            const std::string& preferred) {
  std::sort(devices.begin(), devices.end(), [](const std::string& a, const std::string& b) {
    const bool usbA = IsUsbAdapter(a), usbB = IsUsbAdapter(b);
    if (usbA != usbB) return usbA;
    return NaturalLess(a, b);
  });
  devices.erase(std::unique(devices.begin(), devices.end()), devices.end());
  std::vector<std::string> ordered;
  if (!preferred.empty()) {
    ordered.push_back(preferred);
    const std::string target = Resolved(preferred);
    devices.erase(std::remove_if(devices.begin(), devices.end(),
                                 [&](const std::string& d) { return Resolved(d) == target; }),
                  devices.end());
  }
  for (const std::string& d : devices) {
    if (static_cast<int>(ordered.size()) == PortMap::kMaxPorts) break;
    ordered.push_back(d);
  }
  return ordered;
}

std::map<std::string, std::string> SerialByIdNames(const std::string& folder) {
  std::map<std::string, std::string> names;
  std::error_code ec;
  std::filesystem::directory_iterator it(folder, ec);
  if (ec) return names;
  for (const auto& entry : it) {
    const std::string link = entry.path().string();
    std::error_code resolveError;
    const std::filesystem::path target = std::filesystem::canonical(entry.path(), resolveError);
    if (!resolveError) names.emplace(target.string(), link);
  }
  return names;
}

PortMap::PortMap(std::vector<PortEntry> entries) : entries_(std::move(entries)) {
  if (static_cast<int>(entries_.size()) > kMaxPorts) entries_.resize(kMaxPorts);
}

namespace {

class SystemPortEnumeration : public PortEnumeration {
 public:
  std::vector<std::string> SerialDevices() override {
    std::vector<std::string> devices;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
      devices.push_back(info.systemLocation().toStdString());
    return devices;
  }
  std::map<std::string, std::string> ByIdNames() override { return SerialByIdNames(); }
};

}  // namespace

std::shared_ptr<PortEnumeration> SystemPorts() {
  static const std::shared_ptr<PortEnumeration> system = std::make_shared<SystemPortEnumeration>();
  return system;
}

PortMap PortMap::Enumerate(std::shared_ptr<PortEnumeration> source,
                           const std::string& preferredDevice) {
  const std::map<std::string, std::string> byId = source->ByIdNames();
  std::vector<PortEntry> entries;
  for (const std::string& device : OrderSerialDevices(source->SerialDevices(), preferredDevice)) {
    auto it = byId.find(Resolved(device));
    // A device named through its by-id link already shows that name.
    const bool namedById = it != byId.end() && it->second == device;
    entries.push_back({device, it == byId.end() || namedById ? std::string() : it->second});
  }
  PortMap map(std::move(entries));
  map.source_ = std::move(source);
  map.preferred_ = preferredDevice;
  return map;
}

PortMap PortMap::FromSystem(const std::string& preferredDevice) {
  return Enumerate(SystemPorts(), preferredDevice);
}

PortMap PortMap::Reread() const {
  return source_ ? Enumerate(source_, preferred_) : *this;
}

PortMap PortMap::Single(const std::string& device) {
  return PortMap({PortEntry{device, {}}});
}

std::string PortMap::DevicePath(int port) const {
  if (port < 1 || port > Size()) return {};
  return entries_[static_cast<std::size_t>(port - 1)].device;
}

std::string PortMap::OpenPath(int port) const {
  if (port < 1 || port > Size()) return {};
  const PortEntry& e = entries_[static_cast<std::size_t>(port - 1)];
  std::error_code ec;
  if (e.byId.empty() || std::filesystem::exists(e.device, ec)) return e.device;
  return std::filesystem::exists(e.byId, ec) ? e.byId : e.device;
}

std::string PortMap::DisplayName(int port) const {
  if (port < 1 || port > Size()) return {};
  const PortEntry& e = entries_[static_cast<std::size_t>(port - 1)];
  return e.byId.empty() ? e.device : e.byId + " (" + e.device + ")";
}

}  // namespace acv
