#include "data/DataFile.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <utility>

#include "data/ByteIO.h"
#include "data/FileIO.h"
#include "data/LocalTimeCache.h"

namespace acv {
namespace {

// The real-time section of an "EPADATA" file follows dropLevel:
//
//   4 bytes  "RTPT"
//   int64    rtStartTime, seconds since 1970 UTC (not local fields: a run that
//            spans a daylight-saving change must come back at the same instant)
//   int32    rtInterval, seconds
//   int32    rtCount, 0 .. 100000
//   u8       rtHasCh1, u8 rtHasCh2 (1 = present)
//   strings  rtUnitCh1, rtUnitCh2
//   rtCount x (float32 rtRms.ch1, rtRms.ch2, rtFreq.ch1, rtFreq.ch2)
//
// Older readers stop at dropLevel and never see it; "RMSTRDATA" files never
// carry it.
constexpr std::uint8_t kRealTimeMagic[4] = {'R', 'T', 'P', 'T'};

constexpr std::size_t kTrHeadBytes = 26;
constexpr std::size_t kTrWaveBytes = kTrWavePoints * 4;

// Local dates a real program wrote; anything else is damage.
bool PlausibleFields(const LocalFields& f) {
  return f.year >= 1900 && f.year <= 9999 && f.month >= 1 && f.month <= 12 && f.day >= 1 &&
         f.day <= 31 && f.hour >= 0 && f.hour <= 23 && f.minute >= 0 && f.minute <= 59 &&
         f.second >= 0 && f.second <= 60;
}

TimeStamp ReadLocalTime(ByteReader& r, const char* what, LocalTimeCache& times) {
  LocalFields f;
  f.year = r.I32(what);
  f.month = r.I32(what);
  f.day = r.I32(what);
  f.hour = r.I32(what);
  f.minute = r.I32(what);
  f.second = r.I32(what);
  if (!PlausibleFields(f)) {
    throw DataFormatError("the " + std::string(what) + " is not a valid date and time (" +
                          std::to_string(f.year) + "-" + std::to_string(f.month) + "-" +
                          std::to_string(f.day) + " " + std::to_string(f.hour) + ":" +
                          std::to_string(f.minute) + ":" + std::to_string(f.second) + ")");
  }
  return times.Make(f);
}

void WriteLocalTime(ByteWriter& w, TimeStamp t, LocalTimeCache& times) {
  const LocalFields f = times.BreakDown(t);
  w.I32(f.year);
  w.I32(f.month);
  w.I32(f.day);
  w.I32(f.hour);
  w.I32(f.minute);
  w.I32(f.second);
}

std::int32_t ReadCount(ByteReader& r, const char* what) {
  const std::int32_t n = r.I32(what);
  if (n < 0)
    throw DataFormatError("the " + std::string(what) + " is negative (" + std::to_string(n) + ")");
  return n;
}

// The layout has no end mark: bytes beyond it mean a count that is lower
// than the data it describes (every later field then read from the wrong
// place) or something appended. Either way the file is not what it says.
void RequireEnd(const ByteReader& r, std::uint64_t stillToRead) {
  if (r.Remaining() <= stillToRead) return;
  const std::uint64_t extra = r.Remaining() - stillToRead;
  throw DataFormatError(std::to_string(extra) + (extra == 1 ? " byte follows" : " bytes follow") +
                        " the end of its data");
}

// A code of a TR record head: the logger knows two of each, and a file with
// any other was not written from its records (or its counts are off, so
// that wave samples are read as heads). The message is made only for a bad
// code: a thousand good heads build no strings.
std::uint8_t ReadCode(ByteReader& r, std::size_t record, const char* field, std::uint8_t first,
                      std::uint8_t second) {
  const std::uint8_t code = r.U8("TR record head");
  if (code != first && code != second) {
    throw DataFormatError("the TR record " + std::to_string(record + 1) + " " + field + " is " +
                          std::to_string(code) + " (" + std::to_string(first) + " or " +
                          std::to_string(second) + " expected)");
  }
  return code;
}

std::string FloatText(float value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
  return text;
}

// The detection levels come from the logger as signed 16-bit whole numbers;
// anything else (a fraction, 1.6e29, NaN) is bytes read from the wrong place.
float ReadLevel(ByteReader& r, const char* what) {
  const float level = r.F32(what);
  if (!(level >= -32768.0f && level <= 32767.0f) || level != std::trunc(level)) {
    throw DataFormatError("the " + std::string(what) + " " + FloatText(level) +
                          " is not a level the logger reports (a whole number of -32768..32767)");
  }
  return level;
}

// The strings of the channel blocks. A file without a channel's block leaves
// that channel's strings as the data set had them before the load.
constexpr std::string StoreFamily::*kTextsKeptFromBefore[] = {
    &StoreFamily::rmsUnitCh1,    &StoreFamily::rmsUnitCh2,    &StoreFamily::rmsMaxTextCh1,
    &StoreFamily::rmsMinTextCh1, &StoreFamily::rmsMaxTextCh2, &StoreFamily::rmsMinTextCh2};

// The STORE part. `store` arrives with the previous unit and statistics
// strings, so that blocks the file does not carry keep them.
void ReadStoreFamily(ByteReader& r, StoreFamily& store, bool lastFamily) {
  store.rmsCount = ReadCount(r, "RMS sample count");
  store.hasCh1 = r.U8("CH1 presence") == 1 ? 1 : 0;
  store.hasCh2 = r.U8("CH2 presence") == 1 ? 1 : 0;
  store.rmsInterval = r.F32("RMS interval");
  if (!std::isfinite(store.rmsInterval) || store.rmsInterval < 0.0f) {
    throw DataFormatError("the RMS interval is not a valid number of seconds");
  }
  LocalTimeCache times;
  store.rmsStartTime = ReadLocalTime(r, "RMS start time", times);

  const auto count = static_cast<std::size_t>(store.rmsCount);
  store.rmsCh1.clear();
  store.rmsCh2.clear();
  if (store.hasCh1 == 1) {
    r.F32Array(count, store.rmsCh1, "CH1 samples");
    store.rmsMaxTextCh1 = r.String("CH1 maximum text");
    store.rmsMinTextCh1 = r.String("CH1 minimum text");
    store.rmsUnitCh1 = r.String("CH1 unit");
    store.rmsUnitCh2 = r.String("CH2 unit");
  }
  if (store.hasCh2 == 1) {
    r.F32Array(count, store.rmsCh2, "CH2 samples");
    store.rmsMaxTextCh2 = r.String("CH2 maximum text");
    store.rmsMinTextCh2 = r.String("CH2 minimum text");
  }
  // Without a channel no bytes back the count, yet the graph and the export
  // size themselves by it: allow only what the logger can hold.
  if (store.hasCh1 != 1 && store.hasCh2 != 1 && store.rmsCount > kMaxStoreSamples) {
    throw DataFormatError("the RMS sample count " + std::to_string(store.rmsCount) +
                          " is more than the logger can record, and no channel carries it");
  }

  store.trCount = ReadCount(r, "TR record count");
  const auto records = static_cast<std::size_t>(store.trCount);
  r.Require(records, kTrHeadBytes + kTrWaveBytes, "TR records");
  // The rest of a STORE file has a known size: a lower count would read the
  // records and the levels from the wrong places.
  if (lastFamily) RequireEnd(r, records * (kTrHeadBytes + kTrWaveBytes) + 2 * sizeof(float));
  store.trChannel.resize(records);
  store.trUnit.resize(records);
  store.trTimes.resize(records);
  for (std::size_t i = 0; i < records; ++i) {
    store.trChannel[i] = ReadCode(r, i, "channel code", kChannel1, kChannel2);
    store.trUnit[i] = ReadCode(r, i, "unit code", kUnitVolt, kUnitAmpere);
    store.trTimes[i] = ReadLocalTime(r, "TR record time", times);
  }
  r.F32Array(records * kTrWavePoints, store.trWaves, "TR waves");
  store.riseLevel = ReadLevel(r, "rise level");
  store.dropLevel = ReadLevel(r, "drop level");
}

// The unit letter of a STORE statistics text ("4.6 A @02/03/26 10:00:00"
// gives "A"): the letter before " @", or "" when there is none.
std::string UnitOfStatisticsText(const std::string& text) {
  const std::size_t at = text.find(" @");
  if (at == std::string::npos || at == 0) return {};
  const char c = text[at - 1];
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ? std::string(1, c) : std::string();
}

// True at the section's magic; throws when the file ends inside it, since
// then the section was there and is cut off.
bool AtRealTimeSection(ByteReader& r) {
  const std::span<const std::uint8_t> next = r.Peek(sizeof kRealTimeMagic);
  const std::size_t have = next.size();
  if (have == 0 || std::memcmp(next.data(), kRealTimeMagic, have) != 0) return false;
  if (have < sizeof kRealTimeMagic) {
    throw DataFormatError("the file ends early, inside the real-time section");
  }
  return true;
}

void ReadRealTimeFamily(ByteReader& r, RealTimeFamily& rt) {
  r.Bytes(sizeof kRealTimeMagic, "real-time section");
  rt.rtStartTime = r.I64("real-time start time");
  // Years 1900 .. 9999, as for the local-time fields.
  if (rt.rtStartTime < -2208988800LL || rt.rtStartTime > 253402300799LL) {
    throw DataFormatError("the real-time start time is out of range");
  }
  rt.rtInterval = r.I32("real-time interval");
  if (rt.rtInterval <= 0) throw DataFormatError("the real-time interval is not positive");
  rt.rtCount = ReadCount(r, "real-time point count");
  if (rt.rtCount > kMaxRealTimePoints) {
    throw DataFormatError("the real-time point count " + std::to_string(rt.rtCount) +
                          " is more than a run can take");
  }
  rt.rtHasCh1 = r.U8("real-time CH1 presence") == 1 ? 1 : 0;
  rt.rtHasCh2 = r.U8("real-time CH2 presence") == 1 ? 1 : 0;
  rt.rtUnitCh1 = r.String("real-time CH1 unit");
  rt.rtUnitCh2 = r.String("real-time CH2 unit");
  const auto count = static_cast<std::size_t>(rt.rtCount);
  r.Require(count, 16, "real-time points");
  rt.rtRms.resize(count);
  rt.rtFreq.resize(count);
  for (std::size_t i = 0; i < count; ++i) {
    rt.rtRms[i].ch1 = r.F32("real-time points");
    rt.rtRms[i].ch2 = r.F32("real-time points");
    rt.rtFreq[i].ch1 = r.F32("real-time points");
    rt.rtFreq[i].ch2 = r.F32("real-time points");
  }
  RecomputeRealTimeStatistics(rt);
}

// Reads the tag; a tag cut off by the end of the file is reported as a
// truncation only when what is there is the start of one of our tags.
std::string ReadTag(ByteReader& r, bool& truncated) {
  truncated = false;
  // A length byte and as many characters as the longer tag has; copied, as
  // reading moves on.
  const std::span<const std::uint8_t> peeked =
      r.Peek(1 + std::max(std::strlen(kTagStore), std::strlen(kTagRealTime)));
  const std::vector<std::uint8_t> head(peeked.begin(), peeked.end());
  try {
    return r.String("tag");
  } catch (const DataFormatError&) {
    for (const std::string known : {kTagStore, kTagRealTime}) {
      if (head.empty() || head[0] != known.size()) continue;
      const std::size_t have = std::min(head.size() - 1, known.size());
      if (std::memcmp(head.data() + 1, known.data(), have) == 0) truncated = true;
    }
    return {};
  }
}

void WriteStoreFamily(ByteWriter& w, const StoreFamily& doc) {
  const auto count = static_cast<std::size_t>(std::max(doc.rmsCount, 0));
  w.I32(static_cast<std::int32_t>(count));
  w.U8(doc.hasCh1);
  w.U8(doc.hasCh2);
  w.F32(doc.rmsInterval);
  LocalTimeCache times;
  WriteLocalTime(w, doc.rmsStartTime, times);
  if (doc.hasCh1 == 1) {
    w.F32Array(doc.rmsCh1, count);
    w.String(doc.rmsMaxTextCh1);
    w.String(doc.rmsMinTextCh1);
    w.String(doc.rmsUnitCh1);
    w.String(doc.rmsUnitCh2);
  }
  if (doc.hasCh2 == 1) {
    w.F32Array(doc.rmsCh2, count);
    w.String(doc.rmsMaxTextCh2);
    w.String(doc.rmsMinTextCh2);
  }
  // Heads beyond the arrays (a data set out of step with its count) are
  // written as zeros rather than read out of bounds.
  const auto records = static_cast<std::size_t>(std::max(doc.trCount, 0));
  w.I32(static_cast<std::int32_t>(records));
  for (std::size_t i = 0; i < records; ++i) {
    w.U8(i < doc.trChannel.size() ? doc.trChannel[i] : 0);
    w.U8(i < doc.trUnit.size() ? doc.trUnit[i] : 0);
    WriteLocalTime(w, i < doc.trTimes.size() ? doc.trTimes[i] : 0, times);
  }
  w.F32Array(doc.trWaves, records * kTrWavePoints);
  w.F32(doc.riseLevel);
  w.F32(doc.dropLevel);
}

void WriteRealTimeFamily(ByteWriter& w, const RealTimeFamily& doc) {
  const auto count = static_cast<std::size_t>(std::clamp(doc.rtCount, 0, kMaxRealTimePoints));
  w.Bytes(kRealTimeMagic);
  w.I64(doc.rtStartTime);
  w.I32(doc.rtInterval);
  w.I32(static_cast<std::int32_t>(count));
  w.U8(doc.rtHasCh1);
  w.U8(doc.rtHasCh2);
  w.String(doc.rtUnitCh1);
  w.String(doc.rtUnitCh2);
  for (std::size_t i = 0; i < count; ++i) {
    const ChannelPair rms = i < doc.rtRms.size() ? doc.rtRms[i] : ChannelPair{};
    const ChannelPair freq = i < doc.rtFreq.size() ? doc.rtFreq[i] : ChannelPair{};
    w.F32(rms.ch1);
    w.F32(rms.ch2);
    w.F32(freq.ch1);
    w.F32(freq.ch2);
  }
}

LoadResult Decode(ByteReader& r, CDTDoc& doc, const std::string& nameForMessages) {
  const std::string cannot = "'" + nameForMessages + "' cannot be loaded: ";
  if (r.Size() == 0) return {false, "", cannot + "the file is empty"};
  if (r.Size() > kMaxDataFileBytes) {
    return {false, "",
            cannot + "it is " + std::to_string(r.Size()) +
                " bytes long, more than a data file can be (16 MiB at most)"};
  }

  bool truncated = false;
  const std::string tag = ReadTag(r, truncated);
  if (truncated) return {false, "", cannot + "the file ends inside its tag"};
  const bool isStore = tag == kTagStore;
  const bool isRealTime = tag == kTagRealTime;
  if (!isStore && !isRealTime) {
    doc.readTag = tag;
    return {false, tag, kInvalidFormatMessage};
  }

  StoreFamily store;
  for (std::string StoreFamily::*text : kTextsKeptFromBefore) store.*text = doc.*text;
  RealTimeFamily realTime;
  try {
    ReadStoreFamily(r, store, !isRealTime);
    // Both unit strings travel in the CH1 block, so a file without CH1 has
    // none for CH2; its statistics texts still name it.
    if (store.hasCh1 != 1 && store.hasCh2 == 1) {
      store.rmsUnitCh2 = UnitOfStatisticsText(store.rmsMaxTextCh2);
      if (store.rmsUnitCh2.empty()) store.rmsUnitCh2 = UnitOfStatisticsText(store.rmsMinTextCh2);
    }
    if (isRealTime) {
      // A real-time file without its section holds nothing of the run; it is
      // refused as it always was.
      if (!AtRealTimeSection(r)) {
        doc.readTag = tag;
        return {false, tag, kInvalidFormatMessage};
      }
      ReadRealTimeFamily(r, realTime);
    }
    RequireEnd(r, 0);
  } catch (const DataFormatError& e) {
    return {false, tag, cannot + e.what()};
  }

  doc.Store() = std::move(store);
  if (isRealTime) doc.RealTime() = std::move(realTime);
  doc.readTag = tag;
  return {true, tag, ""};
}

}  // namespace

LoadResult DecodeDataFile(std::span<const std::uint8_t> bytes, CDTDoc& doc,
                          const std::string& nameForMessages) {
  ByteReader r(bytes);
  return Decode(r, doc, nameForMessages);
}

LoadResult LoadDataFile(const std::string& path, CDTDoc& doc) {
  FileReader file;
  if (std::string error = file.Open(path, kMaxDataFileBytes); !error.empty()) {
    return {false, "", error};
  }
  // Decoded as it is read: the waves of a large file are not held twice.
  ByteReader r(file, static_cast<std::size_t>(file.Size()));
  LoadResult result = Decode(r, doc, path);
  // A file that could not be read whole says so, rather than looking cut.
  if (!result.ok && !file.Error().empty()) return {false, "", file.Error()};
  return result;
}

std::vector<std::uint8_t> EncodeDataFile(const CDTDoc& doc) {
  std::vector<std::uint8_t> out;
  const std::size_t records = static_cast<std::size_t>(std::max(doc.trCount, 0));
  out.reserve(64 + static_cast<std::size_t>(std::max(doc.rmsCount, 0)) * 8 +
              records * (kTrHeadBytes + kTrWaveBytes));
  ByteWriter w(out);
  w.String(doc.formatTag);
  WriteStoreFamily(w, doc);
  if (doc.formatTag == kTagRealTime) WriteRealTimeFamily(w, doc);
  return out;
}

std::string SaveDataFile(const CDTDoc& doc, const std::string& path) {
  return WriteFileAtomically(path, EncodeDataFile(doc));
}

std::string SavePreviousMeasurement(const CDTDoc& doc, const std::string& path) {
  return SaveDataFile(doc, path);
}

LoadResult LoadPreviousMeasurement(const std::string& path, CDTDoc& doc) {
  if (!FileExists(path)) return {false, "", ""};
  return LoadDataFile(path, doc);
}

}  // namespace acv
