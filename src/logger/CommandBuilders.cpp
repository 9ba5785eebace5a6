#include "logger/CommandBuilders.h"

#include <algorithm>
#include <cctype>
#include <climits>

namespace acv {

CommandFrame FilledFrame(std::uint8_t value) {
  CommandFrame frame;
  frame.fill(value);
  return frame;
}

CommandFrame RealTimeStopFrame() {
  CommandFrame frame = FilledFrame(kCmdRealTime);
  frame[7] = kCmdRealTimeStop;
  return frame;
}

CommandFrame BuildBlockRequest(int& blockIndex, std::uint8_t fill) {
  if (blockIndex < 0 || blockIndex >= kBlockRingSize) blockIndex = 0;
  const int address = blockIndex * 2;
  CommandFrame frame = FilledFrame(fill);
  frame[0] = kCmdBlockRequest;
  frame[1] = static_cast<std::uint8_t>(address >> 8);
  frame[2] = static_cast<std::uint8_t>(address & 0xFF);
  return frame;
}

int ParseLeadingInt(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  long long value = 0;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) {
      value = static_cast<long long>(INT_MAX) + 1;  // saturate; further digits change nothing
    }
  }
  if (negative) value = -value;
  return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

int ClampSampleRate(const std::string& text, int unit) {
  const int highest = unit == kUnitHour ? 24 : 60;
  return std::clamp(ParseLeadingInt(text), 1, highest);
}

std::uint8_t SampleRateUnitCode(int unit) {
  switch (unit) {
    case kUnitMinute:
      return 0x20;
    case kUnitHour:
      return 0x30;
    default:
      return 0x10;
  }
}

int SetupLevel(const std::string& text) {
  return std::clamp(ParseLeadingInt(text), kMinDetectionLevel, kMaxDetectionLevel);
}

CommandFrame BuildSetupFrame(const SetupValues& values) {
  std::uint8_t flags = 0x10;
  if (values.autoPowerOff == 2) flags |= 1u << 2;
  if (values.circulateLogging == 3) flags |= 1u << 3;
  const auto rise = static_cast<std::uint16_t>(SetupLevel(values.riseLevelSetting));
  const auto drop = static_cast<std::uint16_t>(SetupLevel(values.dropLevelSetting));
  return CommandFrame{
      kCmdSetup,
      flags,
      SampleRateUnitCode(values.sampleRateUnit),
      static_cast<std::uint8_t>(ClampSampleRate(values.sampleRateText, values.sampleRateUnit)),
      static_cast<std::uint8_t>(rise >> 8),
      static_cast<std::uint8_t>(rise & 0xFF),
      static_cast<std::uint8_t>(drop >> 8),
      static_cast<std::uint8_t>(drop & 0xFF)};
}

int ClampClockField(ClockField field, int value) {
  switch (field) {
    case ClockField::Year:
      return std::clamp(value, kClockYearMin, kClockYearMax);
    case ClockField::Month:
      return std::min(value, 12);
    case ClockField::Day:
      return std::min(value, 31);
    case ClockField::Hour:
      return std::min(value, 23);
    case ClockField::Minute:
    case ClockField::Second:
      return std::min(value, 59);
  }
  return value;
}

std::uint8_t ToBcd(int value) {
  // Computed in unsigned arithmetic: a negative field (the dialog has no
  // lower clamp) wraps to its 8-bit pattern instead of overflowing.
  const auto v = static_cast<unsigned>(value);
  const auto tens = static_cast<unsigned>(value / 10);
  return static_cast<std::uint8_t>((v + 6u * tens) & 0xFFu);
}

CommandFrame BuildClockFrame(int year, int month, int day, int hour, int minute, int second) {
  const auto yearOfCentury = static_cast<int>(static_cast<long long>(year) - 2000);
  return CommandFrame{kCmdClock,   ToBcd(yearOfCentury), ToBcd(month),  ToBcd(day),
                      ToBcd(hour), ToBcd(minute),        ToBcd(second), 0xFF};
}

}  // namespace acv
