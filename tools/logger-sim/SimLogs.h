#pragma once
// What the simulator tells the outside: the command trace file (one line of
// upper-case hex per command received) and the --verbose event lines.
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>

namespace acv::sim {

// "AA 10 10 0A 01 F4 00 64"
std::string HexLine(std::span<const std::uint8_t> bytes);

class TraceLog {
 public:
  TraceLog() = default;
  TraceLog(const TraceLog&) = delete;
  TraceLog& operator=(const TraceLog&) = delete;
  ~TraceLog();

  // Appends to path; an empty path means no trace.
  bool Open(const std::string& path, std::string& error);
  // Flushed at once, so a test sees the line as soon as the reply arrives.
  void Command(std::span<const std::uint8_t> bytes);

 private:
  std::FILE* file_ = nullptr;
};

class EventLog {
 public:
  explicit EventLog(bool verbose) : verbose_(verbose) {}
  void Line(const std::string& text) const;

 private:
  bool verbose_;
};

}  // namespace acv::sim
