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

bool ReplyWriter::Pump(std::int64_t nowUs) {
  blocked_ = false;
  while (!queue_.empty() && !blocked_) {
    std::size_t written = 0;
    if (!pace_) {
      if (!WriteSome(std::min<std::size_t>(queue_.size(), 4096), written)) return false;
      continue;
    }
    // A chunk goes out once the line would have finished sending it, so the
    // program never holds a byte earlier than the real line delivers it.
    // After a stall (a full terminal buffer, a late wake-up) the line goes
    // on at its pace rather than sending the backlog in one burst.
    // The allowed lag covers at least one chunk, or on a slow line a chunk
    // would never be due.
    const std::size_t count = std::min(queue_.size(), kPacedChunk);
    const double maxLagUs = std::max(kMaxLagUs, static_cast<double>(kPacedChunk) * byteUs_);
    lineFreeUs_ = std::max(lineFreeUs_, static_cast<double>(nowUs) - maxLagUs);
    if (lineFreeUs_ + static_cast<double>(count) * byteUs_ > static_cast<double>(nowUs)) break;
    if (!WriteSome(count, written)) return false;
    lineFreeUs_ += static_cast<double>(written) * byteUs_;
  }
  return true;
}

std::optional<std::int64_t> ReplyWriter::NextDueUs() const {
  if (!pace_ || queue_.empty() || blocked_) return std::nullopt;
  const std::size_t count = std::min(queue_.size(), kPacedChunk);
  return static_cast<std::int64_t>(std::ceil(lineFreeUs_ + static_cast<double>(count) * byteUs_));
}

}  // namespace acv::sim
