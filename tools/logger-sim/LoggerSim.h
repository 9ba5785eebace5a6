#pragma once
// The simulated logger's behaviour: which reply each command gets, the
// real-time blocks (one per request, or streamed), and the faults the
// options ask for.
#include <cstdint>
#include <optional>
#include <vector>

#include "CommandParser.h"
#include "LoggerMemory.h"
#include "ReplyWriter.h"
#include "SimLogs.h"
#include "SimOptions.h"

namespace acv::sim {

class LoggerSim {
 public:
  // Streamed blocks are skipped while this much is still waiting to go out
  // (nobody reads the port), instead of piling up without end.
  static constexpr std::size_t kStreamBacklogBytes = 4 * kRealTimeBlockBytes;

  LoggerSim(const Options& options, const LoggerMemory& memory, ReplyWriter& writer,
            TraceLog& trace, const EventLog& events);

  void Handle(const Command& command, std::int64_t nowUs);
  // Sends streamed real-time blocks that are due.
  void Tick(std::int64_t nowUs);
  std::optional<std::int64_t> NextTickUs() const;
  // --vanish-after-blocks reached: answer nothing more and go away.
  bool vanishing() const;

 private:
  void AnswerDownloadStart(std::int64_t nowUs);
  void AnswerBlockRead(const Command& command, std::int64_t nowUs);
  void SendRealTimeBlock(std::int64_t nowUs);
  void Send(std::span<const std::uint8_t> bytes, std::int64_t nowUs);

  const Options& options_;
  const LoggerMemory& memory_;
  ReplyWriter& writer_;
  TraceLog& trace_;
  const EventLog& events_;

  std::vector<std::int16_t> ch1Wave_;
  std::vector<std::int16_t> ch2Wave_;
  long blockRequests_ = 0;   // 0xD8 frames received
  long blockReplies_ = 0;    // download and real-time blocks sent
  long realTimeBlocks_ = 0;  // real-time blocks sent
  long headers_ = 0;         // download headers sent
  bool streaming_ = false;
  std::int64_t nextStreamUs_ = 0;
};

}  // namespace acv::sim
