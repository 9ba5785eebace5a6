#pragma once
// The simulator's transmit queue. Replies are written to the non-blocking
// master as the terminal accepts them; with pacing they leave in chunks of
// about a millisecond of line time at the speed of a line of the given baud
// rate (10 bits a byte), so a reply takes as long as the real logger's
// would: no byte leaves before the line would have delivered it, and none
// later than the loop's wake-up allows.
#include <cstdint>
#include <deque>
#include <optional>
#include <span>

namespace acv::sim {

class ReplyWriter {
 public:
  static constexpr std::size_t kMaxPacedChunk = 16;

  // baud 0: no pacing.
  ReplyWriter(int fd, long baud)
      : fd_(fd),
        pace_(baud > 0),
        byteUs_(baud > 0 ? 10.0 * 1e6 / static_cast<double>(baud) : 0),
        chunk_(baud > 0 ? ChunkFor(baud) : kMaxPacedChunk) {}

  // Bytes of about one millisecond of line time (one byte on a slow line,
  // so that a reply does not arrive in bursts with long pauses between).
  static std::size_t ChunkFor(long baud);

  void Queue(std::span<const std::uint8_t> bytes, std::int64_t nowUs);
  // Writes what is due now. Returns false when the terminal is gone.
  bool Pump(std::int64_t nowUs);

  std::size_t pending() const { return queue_.size(); }
  bool idle() const { return queue_.empty(); }
  // The terminal's buffer was full: wait until it is writable again.
  bool waitingForRoom() const { return blocked_; }
  // When the next paced chunk is due, if one is.
  std::optional<std::int64_t> NextDueUs() const;

 private:
  bool WriteSome(std::size_t count, std::size_t& written);

  int fd_;
  bool pace_;
  double byteUs_;  // time one byte takes on the line
  std::deque<std::uint8_t> queue_;
  std::size_t chunk_;
  bool blocked_ = false;
  bool wasBlocked_ = false;  // the terminal was full at the last pump
  // Paced: the time at which the line has sent every byte written so far.
  double lineFreeUs_ = 0;
};

}  // namespace acv::sim
