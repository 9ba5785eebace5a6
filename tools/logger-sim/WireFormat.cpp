#include "WireFormat.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace acv::sim {
namespace {

// Days since 1970-01-01 of a proleptic Gregorian date, and back. The logger's
// clock has no time zone, so plain calendar arithmetic is what it does too.
std::int64_t DaysFromCivil(std::int64_t y, int m, int d) {
  y -= m <= 2 ? 1 : 0;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yoe = y - era * 400;
  const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(std::int64_t z, int& year, int& month, int& day) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const std::int64_t doe = z - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

std::int16_t ClampToS16(double value) {
  const double rounded = std::round(value);
  return static_cast<std::int16_t>(std::clamp(rounded, -32768.0, 32767.0));
}

}  // namespace

CivilTime AddSeconds(const CivilTime& time, std::int64_t seconds) {
  std::int64_t total = DaysFromCivil(time.year, time.month, time.day) * 86400 + time.hour * 3600 +
                       time.minute * 60 + time.second + seconds;
  std::int64_t days = total / 86400;
  std::int64_t rest = total % 86400;
  if (rest < 0) {
    rest += 86400;
    --days;
  }
  CivilTime out;
  CivilFromDays(days, out.year, out.month, out.day);
  out.hour = static_cast<int>(rest / 3600);
  out.minute = static_cast<int>(rest / 60 % 60);
  out.second = static_cast<int>(rest % 60);
  return out;
}

std::uint8_t ToBcd(int value) {
  const int v = ((value % 100) + 100) % 100;
  return static_cast<std::uint8_t>((v / 10) << 4 | (v % 10));
}

void PutU16(std::vector<std::uint8_t>& out, std::uint16_t value) {
  out.push_back(static_cast<std::uint8_t>(value >> 8));
  out.push_back(static_cast<std::uint8_t>(value & 0xFF));
}

void PutS16(std::vector<std::uint8_t>& out, std::int16_t value) {
  PutU16(out, static_cast<std::uint16_t>(value));
}

void PutU24(std::vector<std::uint8_t>& out, std::uint32_t value) {
  out.push_back(static_cast<std::uint8_t>((value >> 16) & 0xFF));
  out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
  out.push_back(static_cast<std::uint8_t>(value & 0xFF));
}

void PutBcdTime(std::vector<std::uint8_t>& out, const CivilTime& time) {
  out.push_back(ToBcd(time.year - 2000));
  out.push_back(ToBcd(time.month));
  out.push_back(ToBcd(time.day));
  out.push_back(ToBcd(time.hour));
  out.push_back(ToBcd(time.minute));
  out.push_back(ToBcd(time.second));
}

std::array<std::uint8_t, kHeaderBytes> EncodeHeader(const DownloadHeader& header) {
  std::vector<std::uint8_t> bytes;
  bytes.reserve(kHeaderBytes);
  bytes.push_back(kHeaderCode);
  bytes.push_back(header.channels);
  bytes.push_back(header.ch1Kind);
  bytes.push_back(header.ch2Kind);
  PutU24(bytes, header.totalBytes);
  PutU24(bytes, header.startOffset);
  bytes.push_back(header.intervalUnit);
  bytes.push_back(header.intervalValue);
  PutS16(bytes, header.riseLevel);
  PutS16(bytes, header.dropLevel);
  PutBcdTime(bytes, header.start);
  PutU24(bytes, header.countA);
  PutU24(bytes, header.countB);
  std::array<std::uint8_t, kHeaderBytes> out{};
  std::copy(bytes.begin(), bytes.end(), out.begin());
  return out;
}

std::array<std::uint8_t, kHeaderBytes> EncodeLoggingRefusal() {
  std::array<std::uint8_t, kHeaderBytes> out{};
  out[0] = kRefuseLogging;
  return out;
}

std::vector<std::uint8_t> EncodeRealTimeBlock(std::uint8_t channelFlag, std::uint8_t ch1Kind,
                                              std::uint8_t ch2Kind,
                                              std::span<const std::int16_t> ch1,
                                              std::span<const std::int16_t> ch2) {
  std::vector<std::uint8_t> out;
  out.reserve(kRealTimeBlockBytes);
  out.push_back(kRealTimeMark);
  out.push_back(kRealTimeMark);
  out.push_back(channelFlag);
  out.push_back(ch1Kind);
  out.push_back(ch2Kind);
  for (std::size_t i = 0; i < kRealTimeSamples; ++i) {
    PutS16(out, i < ch1.size() ? ch1[i] : 0);
    PutS16(out, i < ch2.size() ? ch2[i] : 0);
  }
  return out;
}

void AppendTrRecord(std::vector<std::uint8_t>& out, std::uint8_t unitCode, std::uint8_t channelCode,
                    const CivilTime& trigger, std::span<const std::int16_t> samples) {
  out.push_back(kTrMarkerHigh);
  out.push_back(kTrMarkerLow);
  out.push_back(unitCode);
  out.push_back(channelCode);
  PutBcdTime(out, trigger);
  for (std::size_t i = 0; i < kTrSamples; ++i) PutS16(out, i < samples.size() ? samples[i] : 0);
}

std::vector<std::int16_t> SineSamples(std::size_t count, double spacingMs, double peak, double hz) {
  std::vector<std::int16_t> out(count);
  for (std::size_t i = 0; i < count; ++i) {
    const double t = static_cast<double>(i) * spacingMs / 1000.0;
    out[i] = ClampToS16(peak * std::sin(2.0 * std::numbers::pi * hz * t));
  }
  return out;
}

}  // namespace acv::sim
