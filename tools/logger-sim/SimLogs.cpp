#include "SimLogs.h"

#include <cerrno>
#include <cstring>

namespace acv::sim {

std::string HexLine(std::span<const std::uint8_t> bytes) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string line;
  for (std::uint8_t b : bytes) {
    if (!line.empty()) line += ' ';
    line += kDigits[b >> 4];
    line += kDigits[b & 0x0F];
  }
  return line;
}

TraceLog::~TraceLog() {
  if (file_ != nullptr) std::fclose(file_);
}

bool TraceLog::Open(const std::string& path, std::string& error) {
  if (path.empty()) return true;
  file_ = std::fopen(path.c_str(), "a");
  if (file_ == nullptr) {
    error = "cannot open trace file " + path + ": " + std::strerror(errno);
    return false;
  }
  return true;
}

void TraceLog::Command(std::span<const std::uint8_t> bytes) {
  if (file_ == nullptr) return;
  std::fprintf(file_, "%s\n", HexLine(bytes).c_str());
  std::fflush(file_);
}

void EventLog::Line(const std::string& text) const {
  if (!verbose_) return;
  std::fprintf(stdout, "%s\n", text.c_str());
  std::fflush(stdout);
}

}  // namespace acv::sim
