#include "data/Comtrade.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

#include "data/CDTDoc.h"
#include "data/FileIO.h"
#include "data/NumberText.h"

namespace acv {
namespace {

// The format's fields are separated by commas and lines by CR LF, so a name
// may hold neither; the standard allows 64 characters.
std::string FieldText(std::string text) {
  for (char& c : text) {
    if (c == ',' || c == '\r' || c == '\n') c = ' ';
  }
  if (text.size() > 64) text.resize(64);
  return text.empty() ? std::string("acvlogger") : text;
}

std::string TimeField(TimeStamp t) {
  const LocalFields f = BreakDownLocal(t);
  char buf[48];
  std::snprintf(buf, sizeof buf, "%02d/%02d/%04d,%02d:%02d:%02d.000000", f.day, f.month, f.year,
                f.hour, f.minute, f.second);
  return buf;
}

// "%.10g" never uses the locale's decimal comma (the program runs in the
// C numeric locale) and keeps every digit a ratio or scale is typed with.
std::string Real(double v) {
  return FormatNumber("%.10g", v);
}

void PutLe(std::string& out, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

std::string SampleProblem(const ComtradeChannel& ch, std::size_t i) {
  const float v = ch.samples[i];
  if (std::isfinite(v) && v == std::trunc(v) && v >= -32767.0f && v <= 32767.0f) return {};
  return "sample " + std::to_string(i + 1) + " of " + ch.name + " (" + FormatNumber("%g", v) +
         ") is not a whole number from -32767 to 32767, which the file's 16-bit samples hold";
}

}  // namespace

ComtradeFiles FormatComtrade(const ComtradeRecord& r, ComtradeFormat format) {
  ComtradeFiles files;
  if (r.channels.empty() || r.channels[0].samples.empty() || !(r.sampleIntervalMs > 0.0)) {
    files.problem = "the record holds no samples";
    return files;
  }
  const std::size_t count = r.channels[0].samples.size();
  for (const ComtradeChannel& ch : r.channels) {
    if (ch.samples.size() != count) {
      files.problem = "the channels hold different numbers of samples";
      return files;
    }
    for (std::size_t i = 0; i < count; ++i) {
      if (std::string p = SampleProblem(ch, i); !p.empty()) {
        files.problem = std::move(p);
        return files;
      }
    }
  }

  const std::string eol = "\r\n";
  std::string& cfg = files.cfg;
  const std::size_t n = r.channels.size();
  cfg += FieldText(r.station) + ",acvlogger,1999" + eol;
  cfg += std::to_string(n) + "," + std::to_string(n) + "A,0D" + eol;
  for (std::size_t c = 0; c < n; ++c) {
    const ComtradeChannel& ch = r.channels[c];
    cfg += std::to_string(c + 1) + "," + FieldText(ch.name) + ",,," + FieldText(ch.unit) + "," +
           Real(ch.scale.OfSample()) + ",0,0,-32767,32767," + Real(ch.scale.ratio) + ",1,P" + eol;
  }
  cfg += Real(r.lineFrequency) + eol;
  cfg += "1" + eol;
  cfg += FormatNumber("%.6f", 1000.0 / r.sampleIntervalMs) + "," + std::to_string(count) + eol;
  cfg += TimeField(r.start) + eol;
  cfg += TimeField(r.start) + eol;
  cfg += std::string(format == ComtradeFormat::Binary ? "BINARY" : "ASCII") + eol;
  cfg += "1" + eol;

  std::string& dat = files.dat;
  for (std::size_t i = 0; i < count; ++i) {
    const auto number = static_cast<std::uint32_t>(i + 1);
    const auto micros = static_cast<std::uint32_t>(
        std::llround(static_cast<double>(i) * r.sampleIntervalMs * 1000.0));
    if (format == ComtradeFormat::Binary) {
      PutLe(dat, number, 4);
      PutLe(dat, micros, 4);
      for (const ComtradeChannel& ch : r.channels) {
        PutLe(dat, static_cast<std::uint16_t>(static_cast<std::int16_t>(ch.samples[i])), 2);
      }
    } else {
      dat += std::to_string(number) + "," + std::to_string(micros);
      for (const ComtradeChannel& ch : r.channels) {
        dat += "," + std::to_string(static_cast<int>(ch.samples[i]));
      }
      dat += eol;
    }
  }
  return files;
}

std::string SaveComtradeFiles(const ComtradeFiles& files, const std::string& basePath) {
  if (!files.problem.empty()) return files.problem;
  return SaveFilesTogether({{basePath + ".cfg", [&](std::ostream& out) { out << files.cfg; }},
                            {basePath + ".dat", [&](std::ostream& out) { out << files.dat; }}});
}

ComtradeRecord ComtradeOfTrRecord(const StoreFamily& store, int record,
                                  const ChannelScaling& scaling) {
  ComtradeRecord r;
  r.sampleIntervalMs = kTrSampleMs;
  if (record < 0 || record >= store.trCount) return r;
  const auto index = static_cast<std::size_t>(record);
  const std::size_t first = index * kTrWavePoints;
  if (index >= store.trTimes.size() || index >= store.trChannel.size() ||
      index >= store.trUnit.size() || first + kTrWavePoints > store.trWaves.size()) {
    return r;
  }
  const std::uint8_t code = store.trChannel[index];
  if (code != kChannel1 && code != kChannel2) return r;
  const int c = code == kChannel1 ? 0 : 1;
  r.start = store.trTimes[index];
  ComtradeChannel ch;
  ch.name = c == 0 ? "CH1" : "CH2";
  ch.unit = UnitText(store.trUnit[index]);
  ch.scale = scaling[c];
  ch.samples.assign(store.trWaves.begin() + static_cast<std::ptrdiff_t>(first),
                    store.trWaves.begin() + static_cast<std::ptrdiff_t>(first + kTrWavePoints));
  r.channels.push_back(std::move(ch));
  return r;
}

ComtradeRecord ComtradeOfWave(const CDTDoc& doc, const ChannelScaling& scaling) {
  ComtradeRecord r;
  r.sampleIntervalMs = kEpaSampleMs;
  if (doc.epaCount <= 0) return r;
  r.start = doc.rtCount > 0 ? doc.RealTimeSampleTime(doc.rtCount - 1) : doc.rtStartTime;
  for (int c = 0; c < 2; ++c) {
    if (!(c == 0 ? doc.rtHasCh1 : doc.rtHasCh2)) continue;
    ComtradeChannel ch;
    ch.name = c == 0 ? "CH1" : "CH2";
    ch.unit = c == 0 ? doc.rtUnitCh1 : doc.rtUnitCh2;
    ch.scale = scaling[c];
    ch.samples.reserve(kEpaPoints);
    for (const ChannelPair& p : doc.epaWave) ch.samples.push_back(c == 0 ? p.ch1 : p.ch2);
    r.channels.push_back(std::move(ch));
  }
  return r;
}

}  // namespace acv
