#include "ReplyWriter.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <vector>

namespace acv::sim {

void ReplyWriter::Queue(std::span<const std::uint8_t> bytes, std::int64_t nowUs) {
  // An idle line starts sending now, not when it last went quiet.
  if (queue_.empty()) lineFreeUs_ = std::max(lineFreeUs_, static_cast<double>(nowUs));
  queue_.insert(queue_.end(), bytes.begin(), bytes.end());
}

bool ReplyWriter::WriteSome(std::size_t count, std::size_t& written) {
  written = 0;
  std::vector<std::uint8_t> chunk(queue_.begin(), queue_.begin() + static_cast<long>(count));
  const ssize_t result = write(fd_, chunk.data(), chunk.size());
  if (result < 0) {
    if (errno == EAGAIN || errno == EWOULDBLOCK) {
      blocked_ = true;
      return true;
    }
    return errno == EINTR;
  }
  blocked_ = static_cast<std::size_t>(result) < count;
  written = static_cast<std::size_t>(result);
  queue_.erase(queue_.begin(), queue_.begin() + static_cast<long>(written));
  return true;
}

std::size_t ReplyWriter::ChunkFor(long baud) {
  return std::clamp<std::size_t>(static_cast<std::size_t>(baud / 10 / 1000), 1, kMaxPacedChunk);
}

bool ReplyWriter::Pump(std::int64_t nowUs) {
  // A full terminal (the program not reading) held the bytes back: the line
  // goes on from now, not in a burst of everything it could not send.
  if (wasBlocked_ && pace_) lineFreeUs_ = std::max(lineFreeUs_, static_cast<double>(nowUs));
  blocked_ = false;
  while (!queue_.empty() && !blocked_) {
    std::size_t written = 0;
    if (!pace_) {
      if (!WriteSome(std::min<std::size_t>(queue_.size(), 4096), written)) return false;
      continue;
    }
    // A chunk goes out once the line would have finished sending it, so the
    // program never holds a byte earlier than the real line delivers it.
    // The line's schedule does not slip when the loop wakes up late: what
    // the line would have sent meanwhile goes out at once, as it would have
    // arrived by now. (Dropping that time made a full download 14 to 27 %
    // slower than the line on a busy machine.)
    const std::size_t count = std::min(queue_.size(), chunk_);
    if (lineFreeUs_ + static_cast<double>(count) * byteUs_ > static_cast<double>(nowUs)) break;
    if (!WriteSome(count, written)) return false;
    lineFreeUs_ += static_cast<double>(written) * byteUs_;
  }
  wasBlocked_ = blocked_;
  return true;
}

std::optional<std::int64_t> ReplyWriter::NextDueUs() const {
  if (!pace_ || queue_.empty() || blocked_) return std::nullopt;
  const std::size_t count = std::min(queue_.size(), chunk_);
  return static_cast<std::int64_t>(std::ceil(lineFreeUs_ + static_cast<double>(count) * byteUs_));
}

}  // namespace acv::sim
