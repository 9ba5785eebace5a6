#include "logger/MemoryImage.h"

#include <cmath>

namespace acv {

namespace {

int U24(std::span<const std::uint8_t> b, std::size_t at) {
  return (b[at] << 16) | (b[at + 1] << 8) | b[at + 2];
}

std::int16_t S16(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>((b[at] << 8) | b[at + 1]));
}

bool IsTrMarker(std::span<const std::uint8_t> image, std::size_t p) {
  return p + 1 < image.size() && image[p] == kTrMarkerHigh && image[p + 1] == kTrMarkerLow;
}

// The logger's tenths of a volt or ampere; the product is formed in double
// so that the stored float is the one nearest to raw / 10.
float Tenths(std::int16_t raw) {
  return static_cast<float>(raw * 0.1);
}

void ApplyKind(std::uint8_t kind, std::uint8_t& present, std::string& unit) {
  if (kind == kKindCurrent) {
    present = 1;
    unit = "A";
  } else if (kind == kKindVoltage) {
    present = 1;
    unit = "V";
  } else if (kind == kKindOff) {
    present = 0;
  }
}

}  // namespace

int BcdValue(std::uint8_t byte) {
  return (byte >> 4) * 10 + (byte & 0x0F);
}

TimeStamp BcdLocalTime(std::span<const std::uint8_t> bytes) {
  LocalFields f;
  f.year = 2000 + BcdValue(bytes[0]);
  f.month = BcdValue(bytes[1]);
  f.day = BcdValue(bytes[2]);
  f.hour = BcdValue(bytes[3]);
  f.minute = BcdValue(bytes[4]);
  f.second = BcdValue(bytes[5]);
  return MakeLocalTime(f);
}

std::optional<DownloadHeader> DecodeDownloadHeader(std::span<const std::uint8_t> reply) {
  if (reply.size() < kDownloadHeaderSize || reply[0] != kDownloadHeaderCode) return std::nullopt;
  DownloadHeader h;
  h.channelCount = reply[1];
  h.ch1Kind = reply[2];
  h.ch2Kind = reply[3];
  h.total = U24(reply, 4);
  h.start = U24(reply, 7);
  h.intervalUnit = reply[10];
  h.intervalValue = reply[11];
  h.riseLevel = S16(reply, 12);
  h.dropLevel = S16(reply, 14);
  h.startTime = BcdLocalTime(reply.subspan(16, 6));
  if (h.channelCount != 0) {
    h.countA = U24(reply, 22) / h.channelCount;
    h.countB = U24(reply, 25) / h.channelCount;
  }
  return h;
}

void ApplyDownloadHeader(const DownloadHeader& header, CDTDoc& store) {
  ApplyKind(header.ch1Kind, store.hasCh1, store.rmsUnitCh1);
  ApplyKind(header.ch2Kind, store.hasCh2, store.rmsUnitCh2);
  switch (header.intervalUnit) {
    case kIntervalSeconds:
      store.rmsInterval = static_cast<float>(header.intervalValue);
      break;
    case kIntervalMinutes:
      store.rmsInterval = static_cast<float>(header.intervalValue) * 60.0f;
      break;
    case kIntervalHours:
      store.rmsInterval = static_cast<float>(header.intervalValue) * 3600.0f;
      break;
    default:
      break;
  }
  store.riseLevel = static_cast<float>(header.riseLevel);
  store.dropLevel = static_cast<float>(header.dropLevel);
  store.rmsStartTime = header.startTime;
}

ImageCounts CountImage(std::span<const std::uint8_t> image, int channelCount) {
  ImageCounts c;
  if (channelCount != 1 && channelCount != 2) return c;
  const std::size_t item = static_cast<std::size_t>(channelCount) * 2;
  std::size_t p = 0;
  while (p < image.size()) {
    if (IsTrMarker(image, p)) {
      if (image.size() - p < kTrRecordBytes) break;  // a cut-off record
      ++c.trCount;
      p += kTrRecordBytes;
    } else {
      if (image.size() - p < item) break;  // a cut-off item
      ++c.rmsCount;
      p += item;
    }
  }
  c.usedBytes = p;
  return c;
}

std::int64_t WrappedStartShift(int total, const DownloadHeader& header, int rmsCount,
                               float rmsInterval) {
  const int n = header.channelCount;
  if (n != 1 && n != 2) return 0;
  const std::int64_t y = static_cast<std::int64_t>((total % kMemoryBlockSize) / 2 / n) - rmsCount +
                         header.countA + header.countB;
  // In double: the product of a count of up to 2^24 and an interval of up to
  // 255 hours is exact there, where a float would round it.
  return static_cast<std::int64_t>(std::trunc(static_cast<double>(y) * rmsInterval));
}

bool ParseMemoryImage(std::span<const std::uint8_t> image, const DownloadHeader& header,
                      CDTDoc& store) {
  store.rmsCh1.clear();
  store.rmsCh2.clear();
  store.trWaves.clear();
  store.trTimes.clear();
  store.trUnit.clear();
  store.trChannel.clear();
  store.rmsCount = 0;
  store.trCount = 0;

  const int n = header.channelCount;
  if (n != 1 && n != 2) return false;
  const ImageCounts counts = CountImage(image, n);
  store.trCount = counts.trCount;
  store.rmsCount = counts.rmsCount;

  if (header.start != 0) {
    store.rmsStartTime += WrappedStartShift(static_cast<int>(image.size()), header, store.rmsCount,
                                            store.rmsInterval);
  }

  const bool toCh1 = store.hasCh1 == 1;
  const bool toCh2 = store.hasCh2 == 1;
  if (toCh1) store.rmsCh1.resize(static_cast<std::size_t>(store.rmsCount));
  if (toCh2) store.rmsCh2.resize(static_cast<std::size_t>(store.rmsCount));
  store.trWaves.resize(static_cast<std::size_t>(store.trCount) * kTrWavePoints);
  store.trTimes.resize(static_cast<std::size_t>(store.trCount));
  store.trUnit.resize(static_cast<std::size_t>(store.trCount));
  store.trChannel.resize(static_cast<std::size_t>(store.trCount));

  const std::size_t item = static_cast<std::size_t>(n) * 2;
  std::size_t p = 0, i = 0, j = 0;
  // CountImage proved that every item and record below counts.usedBytes is
  // complete, so the loop reads nothing beyond it.
  while (p < counts.usedBytes) {
    if (IsTrMarker(image, p)) {
      store.trUnit[j] = image[p + 2];
      store.trChannel[j] = image[p + 3];
      store.trTimes[j] = BcdLocalTime(image.subspan(p + 4, 6));
      float* wave = store.trWaves.data() + TrRecordStart(static_cast<std::int64_t>(j));
      for (int s = 0; s < kTrWavePoints; ++s) {
        wave[s] = static_cast<float>(S16(image, p + 10 + static_cast<std::size_t>(s) * 2));
      }
      ++j;
      p += kTrRecordBytes;
    } else {
      const float first = Tenths(S16(image, p));
      if (n == 2) {
        if (toCh1) store.rmsCh1[i] = first;
        if (toCh2) store.rmsCh2[i] = Tenths(S16(image, p + 2));
      } else {
        if (toCh1) store.rmsCh1[i] = first;
        if (toCh2) store.rmsCh2[i] = first;
      }
      ++i;
      p += item;
    }
  }
  store.ComputeStoreStatistics();
  return true;
}

}  // namespace acv
