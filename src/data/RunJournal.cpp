// The journal's bytes: encoding the header and the records, and reading back
// every whole point before the first damage.
#include "data/RunJournal.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "data/ByteIO.h"

namespace acv {
namespace {

constexpr std::array<std::uint8_t, 8> kJournalMagic = {'A', 'C', 'V', 'R', 'T', 'J', '0', '1'};

std::uint32_t Crc32(std::span<const std::uint8_t> bytes) {
  static const std::array<std::uint32_t, 256> table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t i = 0; i < 256; ++i) {
      std::uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[i] = c;
    }
    return t;
  }();
  std::uint32_t c = 0xFFFFFFFFu;
  for (std::uint8_t b : bytes) c = table[(c ^ b) & 0xFFu] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

void AppendCrc(std::vector<std::uint8_t>& out, std::size_t from) {
  const std::uint32_t crc = Crc32(std::span(out).subspan(from));
  ByteWriter(out).U32(crc);
}

// Reads the header; throws DataFormatError when it is cut off or damaged.
JournalHeader ReadHeader(ByteReader& r, std::span<const std::uint8_t> bytes) {
  const auto magic = r.Bytes(kJournalMagic.size(), "journal mark");
  if (!std::equal(magic.begin(), magic.end(), kJournalMagic.begin())) {
    throw DataFormatError("it is not a real-time journal");
  }
  JournalHeader h;
  h.rtStartTime = r.I64("run's start time");
  h.rtInterval = r.I32("run's interval");
  h.realTimePoints = r.I32("run's point count");
  h.rtHasCh1 = r.U8("channel presence");
  h.rtHasCh2 = r.U8("channel presence");
  h.rtUnitCh1 = r.String("CH1 unit");
  h.rtUnitCh2 = r.String("CH2 unit");
  const std::size_t end = r.Offset();
  if (r.U32("header check sum") != Crc32(bytes.first(end))) {
    throw DataFormatError("its header is damaged");
  }
  // The same limits as the run itself and the data files' real-time section.
  if (h.rtInterval <= 0 || h.rtStartTime < -2208988800LL || h.rtStartTime > 253402300799LL) {
    throw DataFormatError("its header holds impossible values");
  }
  return h;
}

}  // namespace

JournalHeader HeaderOf(const RealTimeFamily& run, std::int32_t realTimePoints) {
  JournalHeader h;
  h.rtStartTime = run.rtStartTime;
  h.rtInterval = run.rtInterval;
  h.realTimePoints = realTimePoints;
  h.rtHasCh1 = run.rtHasCh1;
  h.rtHasCh2 = run.rtHasCh2;
  h.rtUnitCh1 = run.rtUnitCh1;
  h.rtUnitCh2 = run.rtUnitCh2;
  return h;
}

std::vector<std::uint8_t> EncodeJournalHeader(const JournalHeader& header) {
  std::vector<std::uint8_t> out;
  ByteWriter w(out);
  w.Bytes(kJournalMagic);
  w.I64(header.rtStartTime);
  w.I32(header.rtInterval);
  w.I32(header.realTimePoints);
  w.U8(header.rtHasCh1 == 1 ? 1 : 0);
  w.U8(header.rtHasCh2 == 1 ? 1 : 0);
  w.String(header.rtUnitCh1);
  w.String(header.rtUnitCh2);
  AppendCrc(out, 0);
  return out;
}

std::vector<std::uint8_t> EncodeJournalRecord(std::int32_t index, const ChannelPair& rms,
                                              const ChannelPair& freq) {
  std::vector<std::uint8_t> out;
  out.reserve(kJournalRecordBytes);
  ByteWriter w(out);
  w.I32(index);
  w.F32(rms.ch1);
  w.F32(rms.ch2);
  w.F32(freq.ch1);
  w.F32(freq.ch2);
  AppendCrc(out, 0);
  return out;
}

JournalContents DecodeJournal(std::span<const std::uint8_t> bytes) {
  JournalContents c;
  ByteReader r(bytes);
  JournalHeader h;
  try {
    h = ReadHeader(r, bytes);
  } catch (const DataFormatError& e) {
    c.error = e.what();
    return c;
  }
  // Points as long as each record is whole, in sequence and undamaged; a run
  // never takes more than kMaxRealTimePoints, so more records are damage too.
  const std::size_t available = std::min<std::size_t>(r.Remaining() / kJournalRecordBytes,
                                                      static_cast<std::size_t>(kMaxRealTimePoints));
  RealTimeFamily& run = c.run;
  run.rtRms.reserve(available);
  run.rtFreq.reserve(available);
  std::size_t whole = 0;
  for (; whole < available; ++whole) {
    const auto record = bytes.subspan(r.Offset(), kJournalRecordBytes);
    ByteReader rr(record);
    const std::int32_t index = rr.I32("point");
    ChannelPair rms, freq;
    rms.ch1 = rr.F32("point");
    rms.ch2 = rr.F32("point");
    freq.ch1 = rr.F32("point");
    freq.ch2 = rr.F32("point");
    if (rr.U32("point") != Crc32(record.first(kJournalRecordBytes - 4))) break;
    if (index != static_cast<std::int32_t>(whole)) break;
    run.rtRms.push_back(rms);
    run.rtFreq.push_back(freq);
    r.Bytes(kJournalRecordBytes, "point");
  }
  const std::size_t rest = r.Remaining();
  c.dropped = static_cast<std::int32_t>(
      std::min<std::size_t>((rest + kJournalRecordBytes - 1) / kJournalRecordBytes,
                            static_cast<std::size_t>(kMaxRealTimePoints)));
  run.rtStartTime = h.rtStartTime;
  run.rtInterval = h.rtInterval;
  run.rtHasCh1 = h.rtHasCh1 == 1 ? 1 : 0;
  run.rtHasCh2 = h.rtHasCh2 == 1 ? 1 : 0;
  run.rtUnitCh1 = h.rtUnitCh1;
  run.rtUnitCh2 = h.rtUnitCh2;
  run.rtCount = static_cast<std::int32_t>(whole);
  c.realTimePoints = h.realTimePoints;
  RecomputeRealTimeStatistics(run);
  c.ok = true;
  return c;
}

std::string RecoveryQuestion(const JournalContents& contents) {
  return "A real-time run ended unexpectedly (started " +
         FormatTime(contents.run.rtStartTime, kSampleTimeFormat) + ", " +
         std::to_string(contents.run.rtCount) + " points). Recover it?";
}

std::string RecoverySummary(const JournalContents& contents) {
  std::string s = "Recovered " + std::to_string(contents.run.rtCount) +
                  " points of the real-time run started " +
                  FormatTime(contents.run.rtStartTime, kSampleTimeFormat);
  if (contents.dropped > 0) {
    s += "; " + std::to_string(contents.dropped) +
         (contents.dropped == 1 ? " damaged point was" : " damaged points were") + " dropped";
  }
  return s + ".";
}

}  // namespace acv
