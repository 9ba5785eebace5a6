#include "LoggerMemory.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <numbers>

namespace acv::sim {
namespace {

constexpr std::uint32_t kMax24 = 0xFFFFFF;

std::int64_t IntervalSeconds(std::uint8_t unit, std::uint8_t value) {
  switch (unit) {
    case kUnitMinutes:
      return value * 60LL;
    case kUnitHours:
      return value * 3600LL;
    default:
      return value;
  }
}

// A slowly varying mains pattern in tenths: about 230 V, or about 5 A. The
// index is counted from the start of logging, so a wrapped memory continues
// the pattern where the overwritten part left it.
std::int16_t RmsValue(std::uint8_t kind, long long index) {
  if (kind == kKindOff) return 0;
  const double k = static_cast<double>(index);
  if (kind == kKindCurrent) {
    return static_cast<std::int16_t>(
        50 + std::lround(10 * std::sin(2 * std::numbers::pi * k / 300)) + index * 5 % 3 - 1);
  }
  return static_cast<std::int16_t>(
      2300 + std::lround(15 * std::sin(2 * std::numbers::pi * k / 720)) + index * 7 % 5 - 2);
}

// Channel numbers (1, 2) that are on; channel 1 when both are off.
std::vector<std::uint8_t> PresentChannels(const ImageSpec& spec) {
  std::vector<std::uint8_t> kinds;
  if (spec.ch1Kind != kKindOff) kinds.push_back(1);
  if (spec.ch2Kind != kKindOff) kinds.push_back(2);
  if (kinds.empty()) kinds.push_back(1);
  return kinds;
}

// A transient: a 50 Hz sine that jumps up (even records) or falls (odd
// records) halfway through the 251 samples.
std::vector<std::int16_t> TransientWave(std::uint8_t kind, int recordIndex) {
  const double peak = kind == kKindCurrent ? 700.0 : 3250.0;
  std::vector<std::int16_t> wave = SineSamples(kTrSamples, kTrSpacingMs, peak, 50.0);
  const double factor = recordIndex % 2 == 0 ? 1.6 : 0.4;
  for (std::size_t i = kTrSamples / 2; i < wave.size(); ++i) {
    wave[i] = static_cast<std::int16_t>(std::lround(wave[i] * factor));
  }
  return wave;
}

// The voltage tenths of the stored items that leave the band (-1: none),
// for the dips, swells and interruptions asked for. The kinds take turns,
// so a short series still shows each of them; the depth varies a little
// from one excursion to the next, as real ones do.
std::vector<std::int16_t> Excursions(const ImageSpec& spec, long items) {
  std::vector<std::int16_t> level;
  int left[3] = {spec.dips, spec.swells, spec.interruptions};
  const long total = static_cast<long>(left[0]) + left[1] + left[2];
  if (total == 0 || items <= 0) return level;
  level.assign(static_cast<std::size_t>(items), -1);
  const long length = std::clamp(items / (4 * (total + 1)), 1L, 30L);
  int kind = 0;
  for (long e = 0; e < total; ++e) {
    while (left[kind] == 0) kind = (kind + 1) % 3;
    --left[kind];
    const std::int16_t value = kind == 0   ? static_cast<std::int16_t>(1800 - 40 * (e % 4))
                               : kind == 1 ? static_cast<std::int16_t>(2650 + 30 * (e % 3))
                                           : std::int16_t{0};
    const long first = (e + 1) * items / (total + 1);
    for (long i = first; i < std::min(items, first + length); ++i) {
      level[static_cast<std::size_t>(i)] = value;
    }
    kind = (kind + 1) % 3;
  }
  return level;
}

// With every=P: the voltage tenths of the item with this index counted from
// the start of logging (-1: none). Excursion e takes the middle of the e-th
// stretch of P items, a quarter of it (at most 30 items) long; the kinds
// come in turn in the proportions asked for.
std::int16_t RecurringExcursion(const ImageSpec& spec, long long index) {
  const long total = static_cast<long>(spec.dips) + spec.swells + spec.interruptions;
  const long long e = index / spec.every, at = index % spec.every;
  const long length = std::clamp(spec.every / 4, 1L, 30L);
  if (total == 0 || at < spec.every / 2 || at >= spec.every / 2 + length) return -1;
  const long slot = static_cast<long>(e % total);
  if (slot < spec.dips) return static_cast<std::int16_t>(1800 - 40 * (e % 4));
  if (slot < spec.dips + spec.swells) return static_cast<std::int16_t>(2650 + 30 * (e % 3));
  return 0;
}

long FillingItems(const ImageSpec& spec) {
  const long itemBytes = 2L * spec.channels;
  const long free =
      static_cast<long>(kMemoryBytes) - spec.trRecords * static_cast<long>(kTrRecordBytes);
  return std::max(0L, free / itemBytes);
}

}  // namespace

LoggerMemory::LoggerMemory() : ring_(kMemoryBytes, 0xFF) {}

void LoggerMemory::Store(std::span<const std::uint8_t> stored, const DownloadHeader& header) {
  header_ = header;
  std::fill(ring_.begin(), ring_.end(), 0xFF);
  const std::size_t count = std::min(stored.size(), kMemoryBytes);
  for (std::size_t i = 0; i < count; ++i) {
    ring_[(header.startOffset + i) % kMemoryBytes] = stored[i];
  }
}

std::span<const std::uint8_t> LoggerMemory::Block(std::size_t number) const {
  return std::span<const std::uint8_t>(ring_).subspan((number % kBlockCount) * kBlockBytes,
                                                      kBlockBytes);
}

std::size_t LoggerMemory::TailBytes() const {
  return header_.totalBytes % kBlockBytes;
}

std::vector<std::uint8_t> LoggerMemory::Served() const {
  std::vector<std::uint8_t> out;
  out.reserve(header_.totalBytes);
  std::size_t block = header_.startOffset / kBlockBytes;
  for (std::size_t whole = 0; whole < header_.totalBytes / kBlockBytes; ++whole, ++block) {
    const auto bytes = Block(block);
    out.insert(out.end(), bytes.begin(), bytes.end());
  }
  const auto last = Block(block).first(TailBytes());
  out.insert(out.end(), last.begin(), last.end());
  return out;
}

std::vector<std::uint8_t> SyntheticStream(const ImageSpec& spec) {
  const long items = spec.fillMemory ? FillingItems(spec) : spec.rmsItems;
  const std::int64_t interval = IntervalSeconds(spec.intervalUnit, spec.intervalValue);
  const std::vector<std::uint8_t> present = PresentChannels(spec);
  const std::uint8_t singleKind = present.front() == 1 ? spec.ch1Kind : spec.ch2Kind;

  std::vector<std::uint8_t> out;
  out.reserve(static_cast<std::size_t>(items) * 2 * spec.channels +
              static_cast<std::size_t>(spec.trRecords) * kTrRecordBytes);
  const std::vector<std::int16_t> excursion = Excursions(spec, items);
  const auto value = [&](std::uint8_t kind, long i, long long index) {
    if (kind == kKindVoltage && spec.every > 0) {
      const std::int16_t level = RecurringExcursion(spec, index);
      return level >= 0 ? level : RmsValue(kind, index);
    }
    if (kind == kKindVoltage && !excursion.empty() && excursion[static_cast<std::size_t>(i)] >= 0) {
      return excursion[static_cast<std::size_t>(i)];
    }
    return RmsValue(kind, index);
  };
  int record = 0;
  auto insertRecordsDue = [&](long itemsWritten) {
    // Record j follows item (j + 1) * items / (tr + 1): spread evenly.
    while (record < spec.trRecords &&
           itemsWritten >= (record + 1LL) * items / (spec.trRecords + 1LL)) {
      const int channel = present[static_cast<std::size_t>(record) % present.size()];
      const std::uint8_t kind = channel == 1 ? spec.ch1Kind : spec.ch2Kind;
      const long long before = spec.wrapItems + std::max(0L, itemsWritten - 1);
      AppendTrRecord(out, kind == kKindCurrent ? kTrUnitAmp : kTrUnitVolt,
                     channel == 1 ? kTrChannel1 : kTrChannel2,
                     AddSeconds(spec.start, before * interval), TransientWave(kind, record));
      ++record;
    }
  };
  for (long i = 0; i < items; ++i) {
    insertRecordsDue(i);
    const long long index = spec.wrapItems + i;
    if (spec.channels == 1) {
      PutS16(out, value(singleKind, i, index));
    } else {
      PutS16(out, value(spec.ch1Kind, i, index));
      PutS16(out, value(spec.ch2Kind, i, index));
    }
  }
  insertRecordsDue(items);
  return out;
}

std::size_t CountRmsItems(std::span<const std::uint8_t> stored, int channels) {
  const std::size_t itemBytes = 2 * static_cast<std::size_t>(std::max(1, channels));
  std::size_t items = 0;
  std::size_t p = 0;
  while (p < stored.size()) {
    if (p + 1 < stored.size() && stored[p] == kTrMarkerHigh && stored[p + 1] == kTrMarkerLow) {
      p += kTrRecordBytes;
    } else {
      if (p + itemBytes <= stored.size()) ++items;
      p += itemBytes;
    }
  }
  return items;
}

DownloadHeader HeaderFor(const ImageSpec& spec, std::span<const std::uint8_t> stored) {
  DownloadHeader header;
  const long long n = spec.channels;
  header.channels = static_cast<std::uint8_t>(n);
  header.ch1Kind = spec.ch1Kind;
  header.ch2Kind = spec.ch2Kind;
  header.totalBytes = static_cast<std::uint32_t>(stored.size());
  const int startBlock = spec.startBlock >= 0 ? spec.startBlock : (spec.wrapItems > 0 ? 700 : 0);
  header.startOffset = static_cast<std::uint32_t>(startBlock * kBlockBytes);
  header.intervalUnit = spec.intervalUnit;
  header.intervalValue = spec.intervalValue;
  header.riseLevel = spec.riseLevel;
  header.dropLevel = spec.dropLevel;
  header.start = spec.start;

  // See --help: A / n + B / n - S + T = wrap, the items overwritten.
  const long long items = static_cast<long long>(CountRmsItems(stored, spec.channels));
  const long long tail = static_cast<long long>(stored.size() % kBlockBytes) / 2 / n;
  const long long a = std::max(0LL, items - tail);
  const long long b = std::max(0LL, spec.wrapItems + items - tail - a);
  header.countA =
      spec.countA.value_or(static_cast<std::uint32_t>(std::min<long long>(n * a, kMax24)));
  header.countB =
      spec.countB.value_or(static_cast<std::uint32_t>(std::min<long long>(n * b, kMax24)));
  return header;
}

bool BuildMemory(const Options& options, LoggerMemory& memory, std::string& error) {
  const ImageSpec& spec = options.image;
  if (static_cast<long long>(spec.channels) * spec.wrapItems > kMax24) {
    error = "wrap=" + std::to_string(spec.wrapItems) + " does not fit the header's 24-bit count";
    return false;
  }
  std::vector<std::uint8_t> stored;
  if (!options.imagePath.empty()) {
    if (!ReadWholeFile(options.imagePath, stored, error)) return false;
    if (stored.size() > kMemoryBytes) {
      error = options.imagePath + " holds more than the logger's memory of " +
              std::to_string(kMemoryBytes) + " bytes";
      return false;
    }
  } else {
    const unsigned long long needed =
        (spec.fillMemory ? 0ULL
                         : static_cast<unsigned long long>(spec.rmsItems) * 2 * spec.channels) +
        static_cast<unsigned long long>(spec.trRecords) * kTrRecordBytes;
    if (needed > kMemoryBytes) {
      error = "the synthetic image needs " + std::to_string(needed) +
              " bytes, more than the logger's memory of " + std::to_string(kMemoryBytes);
      return false;
    }
    stored = SyntheticStream(spec);
  }
  memory.Store(stored, HeaderFor(spec, stored));
  return true;
}

bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes, std::string& error) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    error = "cannot read " + path + ": " + std::strerror(errno);
    return false;
  }
  bytes.clear();
  std::uint8_t chunk[65536];
  std::size_t got = 0;
  // Reads at most one byte more than the memory holds: enough to refuse an
  // oversized file without loading all of it.
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
    bytes.insert(bytes.end(), chunk, chunk + got);
    if (bytes.size() > kMemoryBytes) break;
  }
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) {
    error = "cannot read " + path;
    return false;
  }
  return true;
}

bool WriteWholeFile(const std::string& path, std::span<const std::uint8_t> bytes,
                    std::string& error) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) {
    error = "cannot write " + path + ": " + std::strerror(errno);
    return false;
  }
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed) {
    error = "cannot write " + path;
    return false;
  }
  return true;
}

}  // namespace acv::sim
