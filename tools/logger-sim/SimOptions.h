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
  // Excursions of the voltage channels in the stored series, spread evenly
  // over the items: dips to about 78 %, swells to about 115 % and
  // interruptions to nothing (the meter's LO).
  int dips = 0;
  int swells = 0;
  int interruptions = 0;
  // When set, the excursions come back every `every` items counted from the
  // start of logging instead: the kinds in turn in the proportions asked
  // for, so that downloads of one recording that overlap hold the same
  // values at the same times, as a real logger's ring memory does.
  long every = 0;
  std::optional<std::uint32_t> countA;  // raw header values, when forced
  std::optional<std::uint32_t> countB;
};

// A harmonic of a real-time wave: its order and its peak as a share of the
// fundamental's.
struct Harmonic {
  int order;
  double share;
};

// One real-time channel: a wave of the given fundamental peak (raw counts),
// frequency and phase, plus harmonics. --rt-chN gives a pure sine.
struct WaveSpec {
  std::uint8_t kind = kKindVoltage;  // kKindOff: the channel is off
  int peak = 1000;
  double hz = 50.0;
  double phaseDeg = 0.0;
  std::vector<Harmonic> harmonics;
};

struct Options {
  bool help = false;
  bool version = false;
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
  long truncateReply = 0;   // 1-based block request answered with half its bytes; 0: none
  long cutHeaderBytes = 0;  // the first header goes out with this many bytes; 0: whole
  long cutRtBlock = 0;      // 1-based real-time block sent with cutRtBytes bytes; 0: none
  long cutRtBytes = 0;
  // A plausible mains picture inside the program's default axes (+-500 for
  // the wave, 162,500 VA for S): about 230 V and 60 A RMS at 50 Hz, the
  // current lagging by 25 degrees and carrying some 3rd and 5th harmonic.
  WaveSpec rtCh1{kKindVoltage, 325, 50.0, 0.0, {{3, 0.03}}};
  WaveSpec rtCh2{kKindCurrent, 85, 50.0, -25.0, {{3, 0.12}, {5, 0.05}}};
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
