#pragma once
// Splits the byte stream from the program into commands. The line has no
// framing, so the parser knows each command by its first byte and its
// fixed length, checks what can be checked, and resynchronises on anything
// else by dropping one byte and trying again.
#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <vector>

namespace acv::sim {

enum class CommandKind {
  kProbe,
  kSetup,
  kClock,
  kDownloadStart,
  kBlockRead,
  kRealTimeStart,
  kRealTimeStop
};

struct Command {
  CommandKind kind = CommandKind::kProbe;
  std::vector<std::uint8_t> bytes;  // as received: 1 or 8 bytes
  std::size_t block = 0;            // block reads: block number, modulo the ring
  bool lastPartialBlock = false;    // block reads with fill 0x01
};

class CommandParser {
 public:
  // A frame's 8 bytes are written at once; a start byte still alone after
  // this long is a stray byte, not the head of a frame.
  static constexpr std::int64_t kFrameTimeoutUs = 200'000;

  void Feed(std::span<const std::uint8_t> bytes, std::int64_t nowUs);
  // The next complete command, or nothing yet. Garbage on the way is dropped
  // and can be collected with TakeDropped().
  std::optional<Command> Next(std::int64_t nowUs);
  // When a waiting incomplete frame will be given up, if one waits.
  std::optional<std::int64_t> Deadline() const;
  std::vector<std::uint8_t> TakeDropped();

 private:
  void DropFront();

  std::deque<std::uint8_t> bytes_;
  std::deque<std::int64_t> arrivalUs_;
  std::vector<std::uint8_t> dropped_;
};

}  // namespace acv::sim
