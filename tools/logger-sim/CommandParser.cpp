#include "CommandParser.h"

#include <algorithm>

#include "WireFormat.h"

namespace acv::sim {
namespace {

bool IsFrameStart(std::uint8_t byte) {
  return byte == kSetup || byte == kClock || byte == kDownloadStart || byte == kBlockRead ||
         byte == kRealTime;
}

bool AllEqual(std::span<const std::uint8_t> bytes, std::uint8_t value) {
  return std::all_of(bytes.begin(), bytes.end(), [value](std::uint8_t b) { return b == value; });
}

// Checks an 8-byte candidate and classifies it; false if it cannot be a frame.
bool Classify(const std::vector<std::uint8_t>& f, Command& command) {
  const auto tail = std::span<const std::uint8_t>(f).subspan(1);
  switch (f[0]) {
    case kSetup:
      // Flags always carry 0x10 and at most the power-off and circular bits;
      // the rate unit is seconds, minutes or hours.
      command.kind = CommandKind::kSetup;
      return (f[1] & 0x10) != 0 && (f[1] & ~0x1C) == 0 &&
             (f[2] == kUnitSeconds || f[2] == kUnitMinutes || f[2] == kUnitHours);
    case kClock:
      command.kind = CommandKind::kClock;
      return f[7] == 0xFF;
    case kDownloadStart:
      command.kind = CommandKind::kDownloadStart;
      return AllEqual(tail, kDownloadStart);
    case kBlockRead: {
      command.kind = CommandKind::kBlockRead;
      const auto fill = std::span<const std::uint8_t>(f).subspan(3);
      if (!AllEqual(fill, kFillWholeBlock) && !AllEqual(fill, kFillLastBlock)) return false;
      // The address is the block number times two; a number past the ring
      // wraps, as the logger's memory does.
      const std::size_t address = static_cast<std::size_t>(f[1]) << 8 | f[2];
      command.block = (address / 2) % kBlockCount;
      command.lastPartialBlock = f[3] == kFillLastBlock;
      return true;
    }
    case kRealTime:
      if (!AllEqual(tail.first(6), kRealTime)) return false;
      if (f[7] == kRealTime) {
        command.kind = CommandKind::kRealTimeStart;
        return true;
      }
      command.kind = CommandKind::kRealTimeStop;
      return f[7] == kRealTimeStopLast;
    default:
      return false;
  }
}

}  // namespace

void CommandParser::Feed(std::span<const std::uint8_t> bytes, std::int64_t nowUs) {
  bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
  arrivalUs_.insert(arrivalUs_.end(), bytes.size(), nowUs);
}

void CommandParser::DropFront() {
  dropped_.push_back(bytes_.front());
  bytes_.pop_front();
  arrivalUs_.pop_front();
}

std::optional<Command> CommandParser::Next(std::int64_t nowUs) {
  while (!bytes_.empty()) {
    const std::uint8_t lead = bytes_.front();
    if (lead == kProbe) {
      bytes_.pop_front();
      arrivalUs_.pop_front();
      return Command{CommandKind::kProbe, {kProbe}, 0, false};
    }
    if (!IsFrameStart(lead)) {
      DropFront();
      continue;
    }
    if (bytes_.size() < kFrameBytes) {
      if (nowUs - arrivalUs_.front() < kFrameTimeoutUs) return std::nullopt;
      DropFront();
      continue;
    }
    Command command;
    command.bytes.assign(bytes_.begin(), bytes_.begin() + kFrameBytes);
    if (!Classify(command.bytes, command)) {
      DropFront();
      continue;
    }
    bytes_.erase(bytes_.begin(), bytes_.begin() + kFrameBytes);
    arrivalUs_.erase(arrivalUs_.begin(), arrivalUs_.begin() + kFrameBytes);
    return command;
  }
  return std::nullopt;
}

std::optional<std::int64_t> CommandParser::Deadline() const {
  if (bytes_.empty()) return std::nullopt;
  return arrivalUs_.front() + kFrameTimeoutUs;
}

std::vector<std::uint8_t> CommandParser::TakeDropped() {
  std::vector<std::uint8_t> out;
  out.swap(dropped_);
  return out;
}

}  // namespace acv::sim
