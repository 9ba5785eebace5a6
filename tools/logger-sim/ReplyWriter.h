#pragma once
// The simulator's transmit queue. Replies are written to the non-blocking
// master as the terminal accepts them; with pacing they leave in small
// chunks at the speed of a line of the given baud rate (10 bits a byte), so
// a reply takes as long as the real logger's would.
#include <cstdint>
#include <deque>
#include <optional>
#include <span>

namespace acv::sim {

class ReplyWriter {
 public:
  static constexpr std::size_t kPacedChunk = 16;
  static constexpr double kMaxLagUs = 2000.0;

  // baud 0: no pacing.
  ReplyWriter(int fd, long baud)
      : fd_(fd), pace_(baud > 0), byteUs_(baud > 0 ? 10.0 * 1e6 / static_cast<double>(baud) : 0) {}

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
  bool blocked_ = false;
  // Paced: the time at which the line has sent every byte written so far.
  double lineFreeUs_ = 0;
};

}  // namespace acv::sim
