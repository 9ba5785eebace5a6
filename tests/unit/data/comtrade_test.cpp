// COMTRADE files: the .cfg text and the .dat rows against files written by
// hand from the format's description, and a round trip through a small
// reader that knows only that description.
#include "data/Comtrade.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "data/CDTDoc.h"

namespace acv {
namespace {

// 2026-03-01 10:00:05 in the tests' time zone (UTC).
constexpr TimeStamp kStart = 1772359205;

ComtradeRecord TwoChannelRecord() {
  ComtradeRecord r;
  r.station = "Site, North";
  r.lineFrequency = 50.0;
  r.sampleIntervalMs = 0.0874;
  r.start = kStart;
  r.channels.push_back({"CH1", "V", {20.0, 0.0125}, {100.0f, -200.0f, 32767.0f}});
  r.channels.push_back({"CH2", "A", {1.0, 1.0}, {-32767.0f, 0.0f, 7.0f}});
  return r;
}

TEST(Comtrade, ConfigurationAndAsciiRowsAsWrittenByHand) {
  const ComtradeFiles files = FormatComtrade(TwoChannelRecord(), ComtradeFormat::Ascii);
  ASSERT_EQ(files.problem, "");
  EXPECT_EQ(files.cfg,
            "Site  North,acvlogger,1999\r\n"
            "2,2A,0D\r\n"
            "1,CH1,,,V,0.25,0,0,-32767,32767,20,1,P\r\n"
            "2,CH2,,,A,1,0,0,-32767,32767,1,1,P\r\n"
            "50\r\n"
            "1\r\n"
            "11441.647597,3\r\n"
            "01/03/2026,10:00:05.000000\r\n"
            "01/03/2026,10:00:05.000000\r\n"
            "ASCII\r\n"
            "1\r\n");
  EXPECT_EQ(files.dat,
            "1,0,100,-32767\r\n"
            "2,87,-200,0\r\n"
            "3,175,32767,7\r\n");
}

TEST(Comtrade, BinaryRowsAreLittleEndianNumberTimeAndSamples) {
  const ComtradeFiles files = FormatComtrade(TwoChannelRecord(), ComtradeFormat::Binary);
  ASSERT_EQ(files.problem, "");
  EXPECT_NE(files.cfg.find("\r\nBINARY\r\n"), std::string::npos);
  const std::vector<std::uint8_t> expected = {
      1, 0, 0, 0, 0,   0, 0, 0, 100,  0,    0x01, 0x80,  // 1, 0 us, 100, -32767
      2, 0, 0, 0, 87,  0, 0, 0, 0x38, 0xFF, 0,    0,     // 2, 87 us, -200, 0
      3, 0, 0, 0, 175, 0, 0, 0, 0xFF, 0x7F, 7,    0,     // 3, 175 us, 32767, 7
  };
  EXPECT_EQ(std::vector<std::uint8_t>(files.dat.begin(), files.dat.end()), expected);
}

TEST(Comtrade, RefusesWhatSixteenBitSamplesCannotHold) {
  for (const float bad : {-32768.0f, 40000.0f, 1.5f, std::numeric_limits<float>::quiet_NaN()}) {
    ComtradeRecord r = TwoChannelRecord();
    r.channels[1].samples[2] = bad;
    const ComtradeFiles files = FormatComtrade(r, ComtradeFormat::Binary);
    EXPECT_NE(files.problem.find("sample 3 of CH2"), std::string::npos) << bad;
    EXPECT_TRUE(files.cfg.empty() && files.dat.empty());
  }
  ComtradeRecord uneven = TwoChannelRecord();
  uneven.channels[1].samples.pop_back();
  EXPECT_NE(FormatComtrade(uneven, ComtradeFormat::Ascii).problem, "");
  EXPECT_NE(FormatComtrade(ComtradeRecord{}, ComtradeFormat::Ascii).problem, "");
}

// ---- an independent reader, from the format's description ------------------

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> out;
  std::stringstream in(line);
  std::string f;
  while (std::getline(in, f, ',')) out.push_back(f);
  if (!line.empty() && line.back() == ',') out.emplace_back();
  return out;
}

struct ReadBack {
  int analog = 0;
  std::vector<std::string> names, units;
  std::vector<double> a, b;
  double rate = 0.0;
  int count = 0;
  std::string startDate, startTime, fileType;
  std::vector<std::vector<double>> values;  // per channel, a x count + b
  std::vector<std::int64_t> micros;
};

ReadBack Read(const std::string& cfg, const std::string& dat) {
  std::vector<std::string> lines;
  std::size_t at = 0;
  while (at < cfg.size()) {
    const std::size_t end = cfg.find("\r\n", at);
    EXPECT_NE(end, std::string::npos) << "a line without CR LF";
    if (end == std::string::npos) break;
    lines.push_back(cfg.substr(at, end - at));
    at = end + 2;
  }
  ReadBack r;
  std::size_t l = 1;
  const std::vector<std::string> counts = Fields(lines.at(l++));
  r.analog = std::stoi(counts.at(1));  // "2A"
  for (int c = 0; c < r.analog; ++c) {
    const std::vector<std::string> f = Fields(lines.at(l++));
    r.names.push_back(f.at(1));
    r.units.push_back(f.at(4));
    r.a.push_back(std::stod(f.at(5)));
    r.b.push_back(std::stod(f.at(6)));
  }
  ++l;  // line frequency
  const int rates = std::stoi(lines.at(l++));
  EXPECT_EQ(rates, 1);
  const std::vector<std::string> rate = Fields(lines.at(l++));
  r.rate = std::stod(rate.at(0));
  r.count = std::stoi(rate.at(1));
  const std::vector<std::string> start = Fields(lines.at(l++));
  r.startDate = start.at(0);
  r.startTime = start.at(1);
  ++l;  // trigger
  r.fileType = lines.at(l++);
  r.values.resize(static_cast<std::size_t>(r.analog));
  const auto u32 = [&](std::size_t p) {
    return static_cast<std::uint32_t>(static_cast<std::uint8_t>(dat[p])) |
           static_cast<std::uint32_t>(static_cast<std::uint8_t>(dat[p + 1])) << 8 |
           static_cast<std::uint32_t>(static_cast<std::uint8_t>(dat[p + 2])) << 16 |
           static_cast<std::uint32_t>(static_cast<std::uint8_t>(dat[p + 3])) << 24;
  };
  if (r.fileType == "BINARY") {
    const std::size_t row = 8 + 2 * static_cast<std::size_t>(r.analog);
    EXPECT_EQ(dat.size(), row * static_cast<std::size_t>(r.count));
    for (std::size_t p = 0; p + row <= dat.size(); p += row) {
      r.micros.push_back(u32(p + 4));
      for (int c = 0; c < r.analog; ++c) {
        const std::size_t q = p + 8 + 2 * static_cast<std::size_t>(c);
        const auto raw = static_cast<std::int16_t>(static_cast<std::uint16_t>(
            static_cast<std::uint8_t>(dat[q]) | static_cast<std::uint8_t>(dat[q + 1]) << 8));
        r.values[c].push_back(r.a[c] * raw + r.b[c]);
      }
    }
  } else {
    std::stringstream in(dat);
    std::string line;
    while (std::getline(in, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      const std::vector<std::string> f = Fields(line);
      r.micros.push_back(std::stoll(f.at(1)));
      for (int c = 0; c < r.analog; ++c) {
        r.values[c].push_back(r.a[c] * std::stod(f.at(2 + c)) + r.b[c]);
      }
    }
  }
  return r;
}

TEST(Comtrade, TrRecordReadsBackAsItsSamplesTimesScaleAndRatio) {
  StoreFamily store;
  store.trCount = 2;
  store.trTimes = {kStart - 60, kStart};
  store.trUnit = {kUnitVolt, kUnitAmpere};
  store.trChannel = {kChannel1, kChannel2};
  for (int i = 0; i < 2 * kTrWavePoints; ++i)
    store.trWaves.push_back(float((i * 37) % 2001 - 1000));
  ChannelScaling scaling;
  scaling[1] = {20.0, 0.002};
  for (const ComtradeFormat format : {ComtradeFormat::Binary, ComtradeFormat::Ascii}) {
    const ComtradeFiles files = FormatComtrade(ComtradeOfTrRecord(store, 1, scaling), format);
    ASSERT_EQ(files.problem, "");
    const ReadBack r = Read(files.cfg, files.dat);
    ASSERT_EQ(r.analog, 1);
    EXPECT_EQ(r.names[0], "CH2");
    EXPECT_EQ(r.units[0], "A");
    EXPECT_NEAR(r.rate, 1.0 / 0.0874e-3, 1e-5);
    EXPECT_EQ(r.count, kTrWavePoints);
    EXPECT_EQ(r.startDate, "01/03/2026");
    EXPECT_EQ(r.startTime, "10:00:05.000000");
    ASSERT_EQ(r.values[0].size(), std::size_t(kTrWavePoints));
    for (int i = 0; i < kTrWavePoints; ++i) {
      const double expected = store.trWaves[kTrWavePoints + i] * 0.002 * 20.0;
      EXPECT_NEAR(r.values[0][i], expected, 1e-9 * std::abs(expected) + 1e-12) << i;
      EXPECT_NEAR(double(r.micros[i]), i * 87.4, 0.5) << i;
    }
  }
  EXPECT_TRUE(ComtradeOfTrRecord(store, 2, scaling).channels.empty());
  store.trChannel[0] = 7;
  EXPECT_TRUE(ComtradeOfTrRecord(store, 0, scaling).channels.empty());
}

TEST(Comtrade, WaveHasThePresentChannelsAtTheRunsLatestPoint) {
  CDTDoc doc;
  doc.epaCount = kEpaPoints;
  for (int i = 0; i < kEpaPoints; ++i) doc.epaWave[i] = {float(i - 300), float(300 - i)};
  doc.rtHasCh1 = doc.rtHasCh2 = 1;
  doc.rtUnitCh1 = "V";
  doc.rtUnitCh2 = "A";
  doc.rtStartTime = kStart - 10;
  doc.rtInterval = 5;
  doc.rtCount = 3;  // latest point at kStart
  const ComtradeFiles files =
      FormatComtrade(ComtradeOfWave(doc, ChannelScaling{}), ComtradeFormat::Binary);
  ASSERT_EQ(files.problem, "");
  const ReadBack r = Read(files.cfg, files.dat);
  ASSERT_EQ(r.analog, 2);
  EXPECT_EQ(r.count, kEpaPoints);
  EXPECT_NEAR(r.rate, 1.0 / 0.05471e-3, 1e-5);
  EXPECT_EQ(r.startTime, "10:00:05.000000");
  EXPECT_EQ(r.values[1][0], 300.0);
  EXPECT_EQ(r.values[0][kEpaPoints - 1], 289.0);
}

}  // namespace
}  // namespace acv
