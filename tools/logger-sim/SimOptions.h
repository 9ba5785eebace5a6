#pragma once
// Command-line options of acvlogger-sim: what the simulated logger holds,
// how it answers, and which faults it shows.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "WireFormat.h"

namespace acv::sim {

// What the logger's memory holds and what its download header announces.
struct ImageSpec {
  int channels = 2;
  long rmsItems = 1000;     // RMS items stored
  bool fillMemory = false;  // rmsItems chosen so that the whole 512 KiB is used
  int trRecords = 3;
  long wrapItems = 0;   // RMS items overwritten before the oldest stored one
  int startBlock = -1;  // block of the oldest stored byte; -1: 0, or 700 when wrapped
  std::uint8_t ch1Kind = kKindVoltage;
  std::uint8_t ch2Kind = kKindCurrent;
  std::uint8_t intervalUnit = kUnitSeconds;
  std::uint8_t intervalValue = 1;
  std::int16_t riseLevel = 500;
  std::int16_t dropLevel = 100;
  CivilTime start{2026, 3, 1, 10, 0, 0};
  std::optional<std::uint32_t> countA;  // raw header values, when forced
  std::optional<std::uint32_t> countB;
};

// One real-time channel: a sine of the given peak (raw counts) and frequency.
struct WaveSpec {
  std::uint8_t kind = kKindVoltage;  // kKindOff: the channel is off
  int peak = 1000;
  double hz = 50.0;
};

struct Options {
  bool help = false;
  bool verbose = false;
  std::uint8_t ack = kAckDone;
  std::string tracePath;
  bool silent = false;
  long vanishAfterBlocks = 0;  // 0: never
  bool refuseLogging = false;
  bool emptyHeader = false;
  bool zeroBytes = false;
  bool noChannel = false;
  long channelChangeAfter = 0;  // 0: never
  long baud = 0;       // replies paced at this line speed (10 bits a byte); 0: as fast as possible
  long dropReply = 0;  // 1-based block request left unanswered; 0: none
  long truncateReply = 0;  // 1-based block request answered with half its bytes; 0: none
  WaveSpec rtCh1{kKindVoltage, 1000, 50.0};
  WaveSpec rtCh2{kKindCurrent, 500, 50.0};
  int rtStreamMs = 0;  // 0: one block per request
  bool full = false;
  ImageSpec image;
  std::string imagePath;
  std::string dumpPath;
};

// Parses argv[1..]; on a usage error returns false and sets error.
bool ParseOptions(const std::vector<std::string>& args, Options& options, std::string& error);

// Parses a --synthetic value (key=value,key=value) on top of spec.
bool ParseImageSpec(const std::string& text, ImageSpec& spec, std::string& error);

std::string HelpText();

}  // namespace acv::sim
