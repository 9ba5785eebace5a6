#include "LoggerSim.h"

#include <cmath>
#include <numbers>
#include <string>

namespace acv::sim {
namespace {

std::vector<std::int16_t> WaveFor(const WaveSpec& spec) {
  if (spec.kind == kKindOff) return std::vector<std::int16_t>(kRealTimeSamples, 0);
  if (spec.phaseDeg == 0.0 && spec.harmonics.empty())
    return SineSamples(kRealTimeSamples, kRealTimeSpacingMs, spec.peak, spec.hz);
  std::vector<std::int16_t> wave(kRealTimeSamples);
  const double phase = spec.phaseDeg * std::numbers::pi / 180.0;
  for (std::size_t i = 0; i < wave.size(); ++i) {
    const double angle =
        2.0 * std::numbers::pi * spec.hz * static_cast<double>(i) * kRealTimeSpacingMs / 1000.0 +
        phase;
    double value = std::sin(angle);
    for (const Harmonic& h : spec.harmonics) value += h.share * std::sin(h.order * angle);
    wave[i] = static_cast<std::int16_t>(std::lround(spec.peak * value));
  }
  return wave;
}

}  // namespace

LoggerSim::LoggerSim(const Options& options, const LoggerMemory& memory, ReplyWriter& writer,
                     TraceLog& trace, const EventLog& events)
    : options_(options),
      memory_(memory),
      writer_(writer),
      trace_(trace),
      events_(events),
      ch1Wave_(WaveFor(options.rtCh1)),
      ch2Wave_(WaveFor(options.rtCh2)) {}

bool LoggerSim::vanishing() const {
  return options_.vanishAfterBlocks > 0 && blockReplies_ >= options_.vanishAfterBlocks;
}

void LoggerSim::Send(std::span<const std::uint8_t> bytes, std::int64_t nowUs) {
  writer_.Queue(bytes, nowUs);
  writer_.Pump(nowUs);
}

void LoggerSim::Handle(const Command& command, std::int64_t nowUs) {
  trace_.Command(command.bytes);
  const std::string hex = HexLine(command.bytes);
  if (vanishing()) return;
  if (options_.silent) {
    events_.Line("received " + hex + " (silent)");
    return;
  }
  switch (command.kind) {
    case CommandKind::kProbe: {
      const std::uint8_t answer = kProbeAnswer;
      Send({&answer, 1}, nowUs);
      events_.Line("probe -> AF");
      break;
    }
    case CommandKind::kSetup:
    case CommandKind::kClock:
      Send({&options_.ack, 1}, nowUs);
      events_.Line(std::string(command.kind == CommandKind::kSetup ? "set-up " : "clock ") + hex +
                   " -> " + HexLine({&options_.ack, 1}));
      break;
    case CommandKind::kDownloadStart:
      AnswerDownloadStart(nowUs);
      break;
    case CommandKind::kBlockRead:
      AnswerBlockRead(command, nowUs);
      break;
    case CommandKind::kRealTimeStart:
      if (options_.rtStreamMs <= 0) {
        SendRealTimeBlock(nowUs);
      } else if (!streaming_) {
        // The program repeats the start frame every few seconds to keep the
        // run up; a stream already running just goes on.
        streaming_ = true;
        events_.Line("real-time stream every " + std::to_string(options_.rtStreamMs) + " ms");
        SendRealTimeBlock(nowUs);
        nextStreamUs_ = nowUs + options_.rtStreamMs * 1000LL;
      }
      break;
    case CommandKind::kRealTimeStop:
      streaming_ = false;
      events_.Line("real-time stop");
      break;
  }
}

void LoggerSim::AnswerDownloadStart(std::int64_t nowUs) {
  if (options_.refuseLogging) {
    const auto refusal = EncodeLoggingRefusal();
    Send(refusal, nowUs);
    events_.Line("download start -> EA (logging)");
    return;
  }
  DownloadHeader header = memory_.header();
  if (options_.emptyHeader || options_.zeroBytes) {
    if (options_.emptyHeader) header.channels = 0;
    header.totalBytes = 0;
    header.startOffset = 0;
    header.countA = header.countB = 0;
  }
  const auto encoded = EncodeHeader(header);
  std::vector<std::uint8_t> bytes(encoded.begin(), encoded.end());
  if (++headers_ == 1 && options_.cutHeaderBytes > 0) {
    bytes.resize(static_cast<std::size_t>(options_.cutHeaderBytes), 0x5A);
    events_.Line("download header cut to " + std::to_string(bytes.size()) + " bytes");
  }
  Send(bytes, nowUs);
  events_.Line("download start -> header n=" + std::to_string(header.channels) + ", " +
               std::to_string(header.totalBytes) + " bytes from offset " +
               std::to_string(header.startOffset));
}

void LoggerSim::AnswerBlockRead(const Command& command, std::int64_t nowUs) {
  ++blockRequests_;
  const std::string what = "block " + std::to_string(command.block);
  if (blockRequests_ == options_.dropReply) {
    events_.Line(what + " request " + std::to_string(blockRequests_) + " dropped");
    return;
  }
  std::span<const std::uint8_t> bytes = memory_.Block(command.block);
  if (command.lastPartialBlock && memory_.TailBytes() > 0) {
    bytes = bytes.first(memory_.TailBytes());
  }
  if (blockRequests_ == options_.truncateReply) bytes = bytes.first(bytes.size() / 2);
  Send(bytes, nowUs);
  ++blockReplies_;
  events_.Line(what + " -> " + std::to_string(bytes.size()) + " bytes");
}

void LoggerSim::SendRealTimeBlock(std::int64_t nowUs) {
  const bool changed =
      options_.channelChangeAfter > 0 && realTimeBlocks_ >= options_.channelChangeAfter;
  const std::uint8_t ch1Kind = options_.rtCh1.kind;
  const std::uint8_t ch2Kind = changed ? kKindOff : options_.rtCh2.kind;
  const bool anyChannel = ch1Kind != kKindOff || ch2Kind != kKindOff;
  const std::uint8_t flag = options_.noChannel || !anyChannel ? 0 : 1;
  static const std::vector<std::int16_t> kSilence(kRealTimeSamples, 0);
  auto block = EncodeRealTimeBlock(flag, ch1Kind, ch2Kind, ch1Wave_,
                                   ch2Kind == kKindOff ? kSilence : ch2Wave_);
  const bool cut = realTimeBlocks_ + 1 == options_.cutRtBlock;
  if (cut) block.resize(static_cast<std::size_t>(options_.cutRtBytes), 0x5A);
  Send(block, nowUs);
  ++realTimeBlocks_;
  ++blockReplies_;
  events_.Line("real-time block " + std::to_string(realTimeBlocks_) +
               (changed ? " (channel 2 off)" : "") +
               (cut ? " (" + std::to_string(block.size()) + " bytes)" : ""));
}

void LoggerSim::Tick(std::int64_t nowUs) {
  if (!streaming_ || vanishing() || nowUs < nextStreamUs_) return;
  // Keeps the spacing even when a tick comes late, without catching up in a burst.
  nextStreamUs_ += options_.rtStreamMs * 1000LL;
  if (nextStreamUs_ <= nowUs) nextStreamUs_ = nowUs + options_.rtStreamMs * 1000LL;
  if (writer_.pending() > kStreamBacklogBytes) return;
  SendRealTimeBlock(nowUs);
}

std::optional<std::int64_t> LoggerSim::NextTickUs() const {
  if (!streaming_ || vanishing()) return std::nullopt;
  return nextStreamUs_;
}

}  // namespace acv::sim
