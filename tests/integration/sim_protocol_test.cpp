// The simulated logger on its own, spoken to with plain POSIX calls: its
// replies are checked against the protocol tables here, independently of
// the program's decoders.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <QProcess>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "SimProcess.h"
#include "logger/WaveAnalysis.h"

namespace acv::test {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;

constexpr std::size_t kRealTimeBlock = 2365;

long MsSince(Clock::time_point start) {
  return static_cast<long>(
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

// The program's side of the line, reduced to raw reads and writes.
class Port {
 public:
  explicit Port(const std::string& device) {
    fd_ = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd_ < 0) return;
    termios mode{};
    tcgetattr(fd_, &mode);
    cfmakeraw(&mode);
    tcsetattr(fd_, TCSANOW, &mode);
  }
  ~Port() {
    if (fd_ >= 0) ::close(fd_);
  }
  bool ok() const { return fd_ >= 0; }

  void Send(const Bytes& bytes) {
    ASSERT_EQ(::write(fd_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }
  // Reads until count bytes are in or timeoutMs passed.
  Bytes Read(std::size_t count, int timeoutMs) {
    Bytes out;
    const auto start = Clock::now();
    while (out.size() < count) {
      const long left = timeoutMs - MsSince(start);
      if (left <= 0 || !WaitReadable(static_cast<int>(left))) break;
      std::uint8_t buffer[4096];
      // Never past count: what follows stays for the next read.
      const ssize_t got = ::read(fd_, buffer, std::min(sizeof buffer, count - out.size()));
      if (got <= 0) {
        hungUp_ = true;
        break;
      }
      out.insert(out.end(), buffer, buffer + got);
    }
    return out;
  }
  // Everything that arrives within ms.
  Bytes ReadFor(int ms) { return Read(SIZE_MAX, ms); }
  Bytes Transact(const Bytes& command, std::size_t replyBytes, int timeoutMs = 2000) {
    Send(command);
    return Read(replyBytes, timeoutMs);
  }
  bool hungUp() const { return hungUp_; }

 private:
  bool WaitReadable(int ms) {
    pollfd p{fd_, POLLIN, 0};
    return ::poll(&p, 1, ms) > 0;
  }
  int fd_ = -1;
  bool hungUp_ = false;
};

// A simulator started directly, for tests that need its exit status.
class RawSim {
 public:
  explicit RawSim(const std::vector<std::string>& args) {
    EnsureCoreApplication();
    QStringList list;
    for (const auto& a : args) list << QString::fromStdString(a);
    process_.start(QString::fromStdString(SimProcess::Path()), list);
    if (!process_.waitForStarted(5000)) return;
    const auto start = Clock::now();
    while (!process_.canReadLine() && MsSince(start) < 5000) process_.waitForReadyRead(100);
    device_ = QString::fromUtf8(process_.readLine()).trimmed().toStdString();
  }
  ~RawSim() {
    if (process_.state() != QProcess::NotRunning) {
      process_.kill();
      process_.waitForFinished(1000);
    }
  }
  const std::string& device() const { return device_; }
  QProcess& process() { return process_; }

 private:
  QProcess process_;
  std::string device_;
};

Bytes Frame(std::uint8_t code) {
  return Bytes(8, code);
}
Bytes BlockRead(unsigned address, std::uint8_t fill) {
  return {0xD8,
          static_cast<std::uint8_t>(address >> 8),
          static_cast<std::uint8_t>(address & 0xFF),
          fill,
          fill,
          fill,
          fill,
          fill};
}
Bytes WholeBlock(unsigned block) {
  return BlockRead(block * 2, 0xFF);
}
Bytes LastBlock(unsigned block) {
  return BlockRead(block * 2, 0x01);
}
const Bytes kSetupFrame{0xAA, 0x10, 0x10, 0x0A, 0x01, 0xF4, 0x00, 0x64};
const Bytes kClockFrame{0xAC, 0x12, 0x03, 0x15, 0x09, 0x41, 0x07, 0xFF};
const Bytes kStopFrame{0xC8, 0xC8, 0xC8, 0xC8, 0xC8, 0xC8, 0xC8, 0xC9};

unsigned U24(const Bytes& b, std::size_t at) {
  return b[at] << 16 | b[at + 1] << 8 | b[at + 2];
}
int S16(const Bytes& b, std::size_t at) {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(b[at] << 8 | b[at + 1]));
}
int FromBcd(std::uint8_t b) {
  return (b >> 4) * 10 + (b & 0x0F);
}

std::string TempPath(const std::string& name) {
  return ::testing::TempDir() + "sim-" + name + "-" + std::to_string(::getpid());
}

Bytes ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  for (char c : text) {
    if (c == '\n') {
      lines.push_back(line);
      line.clear();
    } else {
      line += c;
    }
  }
  return lines;
}

// What a stored image holds, walked as the logger lays it out.
struct ImageWalk {
  std::size_t rmsItems = 0;
  std::vector<std::size_t> trOffsets;
  bool tailComplete = true;
};
ImageWalk Walk(const Bytes& image, int channels) {
  ImageWalk walk;
  std::size_t p = 0;
  while (p < image.size()) {
    if (p + 1 < image.size() && image[p] == 0x7F && image[p + 1] == 0xFF) {
      walk.trOffsets.push_back(p);
      walk.tailComplete = walk.tailComplete && p + 512 <= image.size();
      p += 512;
    } else {
      ++walk.rmsItems;
      p += 2 * channels;
    }
  }
  return walk;
}

class SimProtocol : public ::testing::Test {
 protected:
  void SetUp() override { EnsureCoreApplication(); }
};

TEST_F(SimProtocol, AnswersProbeAndCommandsTracesThemAndSkipsGarbage) {
  const std::string trace = TempPath("trace");
  std::remove(trace.c_str());
  SimProcess sim({"--trace", trace});
  ASSERT_TRUE(sim.Started()) << sim.Error();
  Port port(sim.Device());
  ASSERT_TRUE(port.ok());

  EXPECT_EQ(port.Transact({0x78}, 1), Bytes{0xAF});
  EXPECT_EQ(port.Transact(kSetupFrame, 1), Bytes{0xEE});
  EXPECT_EQ(port.Transact(kClockFrame, 1), Bytes{0xEE});
  // Unknown bytes and a block read with mixed fill bytes are dropped; the
  // probe behind them is still found.
  EXPECT_EQ(
      port.Transact({0x12, 0x34, 0xD8, 0x00, 0x02, 0xFF, 0x01, 0xFF, 0xFF, 0xFF, 0x78}, 2, 300),
      Bytes{0xAF});
  // A frame start byte left alone is given up after a while, not allowed to
  // swallow the next commands.
  port.Send({0xAA});
  EXPECT_TRUE(port.ReadFor(300).empty());
  EXPECT_EQ(port.Transact({0x78}, 1), Bytes{0xAF});

  EXPECT_EQ(Lines(ReadTextFile(trace)),
            (std::vector<std::string>{"78", "AA 10 10 0A 01 F4 00 64", "AC 12 03 15 09 41 07 FF",
                                      "78", "78"}));
  std::remove(trace.c_str());
}

TEST_F(SimProtocol, PressStartAcknowledgementAndSilence) {
  {
    SimProcess sim({"--ack", "1e"});
    ASSERT_TRUE(sim.Started()) << sim.Error();
    Port port(sim.Device());
    EXPECT_EQ(port.Transact(kSetupFrame, 1), Bytes{0x1E});
    EXPECT_EQ(port.Transact(kClockFrame, 1), Bytes{0x1E});
  }
  SimProcess silent({"--silent"});
  ASSERT_TRUE(silent.Started()) << silent.Error();
  Port port(silent.Device());
  port.Send({0x78});
  port.Send(Frame(0x68));
  port.Send(Frame(0xC8));
  EXPECT_TRUE(port.ReadFor(300).empty());
}

TEST_F(SimProtocol, DownloadHeaderAndBlocksServeTheDumpedImage) {
  const std::string dump = TempPath("dump");
  SimProcess sim({"--synthetic",
                  "channels=2,samples=1000,tr=3,interval=5min,start=2026-03-01T10:00:00,rise=-20",
                  "--dump-image", dump});
  ASSERT_TRUE(sim.Started()) << sim.Error();
  Port port(sim.Device());

  const Bytes header = port.Transact(Frame(0x68), 28);
  ASSERT_EQ(header.size(), 28u);
  EXPECT_EQ(header[0], 0xDD);
  EXPECT_EQ(header[1], 2);  // channels
  EXPECT_EQ(header[2], 1);  // V
  EXPECT_EQ(header[3], 0);  // A
  const unsigned total = U24(header, 4);
  EXPECT_EQ(total, 1000u * 4 + 3 * 512);
  EXPECT_EQ(U24(header, 7), 0u);  // not wrapped
  EXPECT_EQ(header[10], 0x20);    // minutes
  EXPECT_EQ(header[11], 5);
  EXPECT_EQ(S16(header, 12), -20);
  EXPECT_EQ(S16(header, 14), 100);
  EXPECT_EQ(Bytes(header.begin() + 16, header.begin() + 22),
            (Bytes{0x26, 0x03, 0x01, 0x10, 0x00, 0x00}));

  Bytes image;
  for (unsigned block = 0; block < total / 512; ++block) {
    const Bytes bytes = port.Transact(WholeBlock(block), 512);
    ASSERT_EQ(bytes.size(), 512u) << "block " << block;
    image.insert(image.end(), bytes.begin(), bytes.end());
  }
  const Bytes last = port.Transact(LastBlock(total / 512), 512, 300);
  EXPECT_EQ(last.size(), total % 512);
  image.insert(image.end(), last.begin(), last.end());
  EXPECT_EQ(image, ReadFile(dump));

  // The image itself: items of two channels around 230 V and 5 A, three
  // complete TR records on item boundaries with codes and times that decode.
  const ImageWalk walk = Walk(image, 2);
  EXPECT_EQ(walk.rmsItems, 1000u);
  ASSERT_EQ(walk.trOffsets.size(), 3u);
  EXPECT_TRUE(walk.tailComplete);
  EXPECT_NEAR(S16(image, 0), 2300, 25);
  EXPECT_NEAR(S16(image, 2), 50, 15);
  for (std::size_t at : walk.trOffsets) {
    EXPECT_TRUE(image[at + 2] == 250 || image[at + 2] == 252);
    EXPECT_TRUE(image[at + 3] == 241 || image[at + 3] == 242);
    EXPECT_EQ(image[at + 2] == 250, image[at + 3] == 241);  // ch1 is V, ch2 is A
    EXPECT_EQ(FromBcd(image[at + 4]), 26);
    EXPECT_EQ(FromBcd(image[at + 5]), 3);
  }
  std::remove(dump.c_str());
}

TEST_F(SimProtocol, FullMemoryIsAWrappedRingWithCountsGivingTheOldestItem) {
  const std::string dump = TempPath("full");
  SimProcess sim({"--full", "--dump-image", dump});
  ASSERT_TRUE(sim.Started()) << sim.Error();
  Port port(sim.Device());
  const Bytes header = port.Transact(Frame(0x68), 28);
  ASSERT_EQ(header.size(), 28u);
  const unsigned total = U24(header, 4);
  const unsigned offset = U24(header, 7);
  EXPECT_EQ(total, 512u * 1024);
  EXPECT_NE(offset, 0u);
  EXPECT_EQ(offset % 512, 0u);

  // As the program reads it: from the start block on, address 2048 going back to 0.
  Bytes image;
  unsigned block = offset / 512;
  for (int i = 0; i < 1024; ++i, ++block) {
    if (block * 2 >= 2048) block = 0;
    const Bytes bytes = port.Transact(WholeBlock(block), 512);
    ASSERT_EQ(bytes.size(), 512u) << "block " << block;
    image.insert(image.end(), bytes.begin(), bytes.end());
  }
  const Bytes dumped = ReadFile(dump);
  EXPECT_EQ(image, dumped);
  // A block number past the ring is served modulo 1024.
  EXPECT_EQ(port.Transact(BlockRead(2048 + 10, 0xFF), 512),
            Bytes(dumped.begin() + (1024 - offset / 512 + 5) * 512,
                  dumped.begin() + (1024 - offset / 512 + 6) * 512));

  // The wrapped start-time formula moves the start by exactly the items
  // overwritten (--full: a day of one-second items).
  const int n = header[1];
  const ImageWalk walk = Walk(image, n);
  EXPECT_FALSE(walk.trOffsets.empty());
  const long rmsCount = static_cast<long>((total - walk.trOffsets.size() * 512) / 2 / n);
  EXPECT_EQ(rmsCount, static_cast<long>(walk.rmsItems));
  const long y = static_cast<long>((total % 512) / 2 / n) - rmsCount +
                 static_cast<long>(U24(header, 22) / n) + static_cast<long>(U24(header, 25) / n);
  EXPECT_EQ(y, 86400);
  std::remove(dump.c_str());
}

TEST_F(SimProtocol, ImageFileIsServedAsGivenAcrossTheRingEnd) {
  const std::string file = TempPath("image");
  Bytes stored(1300);
  for (std::size_t i = 0; i < stored.size(); ++i) stored[i] = static_cast<std::uint8_t>(i * 7 + 1);
  std::ofstream(file, std::ios::binary)
      .write(reinterpret_cast<const char*>(stored.data()),
             static_cast<std::streamsize>(stored.size()));
  SimProcess sim({"--image", file, "--synthetic", "channels=1,ch2=off,offset=1023"});
  ASSERT_TRUE(sim.Started()) << sim.Error();
  Port port(sim.Device());
  const Bytes header = port.Transact(Frame(0x68), 28);
  ASSERT_EQ(header.size(), 28u);
  EXPECT_EQ(header[1], 1);
  EXPECT_EQ(header[3], 255);
  EXPECT_EQ(U24(header, 4), 1300u);
  EXPECT_EQ(U24(header, 7), 1023u * 512);

  Bytes image = port.Transact(WholeBlock(1023), 512);
  const Bytes second = port.Transact(WholeBlock(0), 512);
  const Bytes rest = port.Transact(LastBlock(1), 512, 300);
  EXPECT_EQ(rest.size(), 276u);
  image.insert(image.end(), second.begin(), second.end());
  image.insert(image.end(), rest.begin(), rest.end());
  EXPECT_EQ(image, stored);
  std::remove(file.c_str());
}

TEST_F(SimProtocol, DownloadFaults) {
  struct Case {
    const char* option;
    std::uint8_t first;
    int channels;
  };
  for (const Case& c : {Case{"--refuse-logging", 0xEA, 0}, Case{"--empty", 0xDD, 0},
                        Case{"--zero-bytes", 0xDD, 2}}) {
    SimProcess sim({c.option});
    ASSERT_TRUE(sim.Started()) << sim.Error();
    Port port(sim.Device());
    // The refusal is padded to the header's length: the program waits for 28 bytes.
    const Bytes reply = port.Transact(Frame(0x68), 28);
    ASSERT_EQ(reply.size(), 28u) << c.option;
    EXPECT_EQ(reply[0], c.first) << c.option;
    EXPECT_EQ(reply[1], c.channels) << c.option;
    EXPECT_EQ(U24(reply, 4), 0u) << c.option;
  }

  SimProcess sim({"--drop-reply", "2", "--truncate-reply", "3"});
  ASSERT_TRUE(sim.Started()) << sim.Error();
  Port port(sim.Device());
  EXPECT_EQ(port.Transact(WholeBlock(0), 512).size(), 512u);
  EXPECT_TRUE(port.Transact(WholeBlock(1), 512, 300).empty());
  EXPECT_EQ(port.Transact(WholeBlock(1), 512, 300).size(), 256u);
  EXPECT_EQ(port.Transact(WholeBlock(1), 512).size(), 512u);  // each fault happens once
}

struct RealTimeBlock {
  std::vector<int> ch1, ch2;
};
RealTimeBlock Samples(const Bytes& block) {
  RealTimeBlock out;
  for (std::size_t i = 0; i < 590; ++i) {
    out.ch1.push_back(S16(block, 5 + 4 * i));
    out.ch2.push_back(S16(block, 7 + 4 * i));
  }
  return out;
}
int SignChanges(const std::vector<int>& wave) {
  int changes = 0, sign = 0;
  for (int v : wave) {
    const int s = v > 0 ? 1 : (v < 0 ? -1 : 0);
    if (s != 0 && sign != 0 && s != sign) ++changes;
    if (s != 0) sign = s;
  }
  return changes;
}

TEST_F(SimProtocol, RealTimeAnswersEachRequestWithOneSineBlockUntilStopped) {
  SimProcess sim({"--rt-ch1", "V:1000:50", "--rt-ch2", "A:500:150"});
  ASSERT_TRUE(sim.Started()) << sim.Error();
  Port port(sim.Device());
  const Bytes block = port.Transact(Frame(0xC8), kRealTimeBlock);
  ASSERT_EQ(block.size(), kRealTimeBlock);
  EXPECT_EQ(Bytes(block.begin(), block.begin() + 5), (Bytes{0x3F, 0x3F, 0x01, 0x01, 0x00}));
  const RealTimeBlock wave = Samples(block);
  EXPECT_GE(*std::max_element(wave.ch1.begin(), wave.ch1.end()), 995);
  EXPECT_LE(*std::max_element(wave.ch1.begin(), wave.ch1.end()), 1000);
  EXPECT_LE(*std::min_element(wave.ch1.begin(), wave.ch1.end()), -995);
  EXPECT_GE(*std::max_element(wave.ch2.begin(), wave.ch2.end()), 495);
  EXPECT_LE(*std::max_element(wave.ch2.begin(), wave.ch2.end()), 500);
  // 590 samples 0.05471 ms apart span 32.3 ms: 3 half periods of 50 Hz, 9 of 150 Hz.
  EXPECT_EQ(SignChanges(wave.ch1), 3);
  EXPECT_EQ(SignChanges(wave.ch2), 9);

  // One block per request: a buffer holding two would lose the second.
  EXPECT_EQ(port.Transact(Frame(0xC8), 2 * kRealTimeBlock, 300).size(), kRealTimeBlock);
  port.Send(kStopFrame);
  EXPECT_TRUE(port.ReadFor(300).empty());
}

// Without --rt-ch options the first picture of a run is plausible mains that
// fits the program's default axes: the wave inside +-500, S(VA) well under
// 162,500, the current lagging and not quite a sine.
TEST_F(SimProtocol, DefaultRealTimeWavesAreMainsInsideTheDefaultAxes) {
  SimProcess sim;
  ASSERT_TRUE(sim.Started()) << sim.Error();
  Port port(sim.Device());
  const Bytes block = port.Transact(Frame(0xC8), kRealTimeBlock);
  ASSERT_EQ(block.size(), kRealTimeBlock);
  const RealTimeBlock wave = Samples(block);
  const auto analyse = [](const std::vector<int>& samples) {
    const std::vector<float> values(samples.begin(), samples.end());
    return AnalyseWave(values, {});
  };
  const WaveResult volts = analyse(wave.ch1), amps = analyse(wave.ch2);
  EXPECT_NEAR(volts.rms, 230.0, 5.0);
  EXPECT_NEAR(amps.rms, 60.0, 3.0);
  EXPECT_NEAR(volts.frequency, 50.0, 0.3);
  EXPECT_NEAR(amps.frequency, 50.0, 0.3);
  EXPECT_LT(volts.rms * amps.rms, 162500.0 / 4);
  for (const auto* channel : {&wave.ch1, &wave.ch2}) {
    for (int v : *channel) ASSERT_LT(std::abs(v), 500);
  }
  // The current crosses zero upwards about 25 degrees (1.4 ms) after the
  // voltage (both looked for past the first half period).
  const auto firstRise = [](const std::vector<int>& w) {
    for (std::size_t i = 183; i < w.size(); ++i)
      if (w[i - 1] < 0 && w[i] >= 0) return static_cast<double>(i) * 0.05471;
    return -1.0;
  };
  EXPECT_NEAR(firstRise(wave.ch2) - firstRise(wave.ch1), 1.4, 0.3);
}

TEST_F(SimProtocol, StreamedBlocksKeepComingUntilTheStopFrame) {
  SimProcess sim({"--rt-stream", "40"});
  ASSERT_TRUE(sim.Started()) << sim.Error();
  Port port(sim.Device());
  const Bytes stream = port.Transact(Frame(0xC8), 4 * kRealTimeBlock, 2000);
  ASSERT_EQ(stream.size(), 4 * kRealTimeBlock);
  for (std::size_t at = 0; at < stream.size(); at += kRealTimeBlock) {
    EXPECT_EQ(stream[at], 0x3F);
    EXPECT_EQ(stream[at + 1], 0x3F);
  }
  port.Send(Frame(0xC8));  // the keep-up repeat does not start a second stream
  port.Send(kStopFrame);
  port.ReadFor(200);  // blocks sent before the stop arrived
  EXPECT_TRUE(port.ReadFor(250).empty());
}

TEST_F(SimProtocol, ChannelFaultsInRealTimeBlocks) {
  {
    SimProcess sim({"--channel-change-after", "1"});
    ASSERT_TRUE(sim.Started()) << sim.Error();
    Port port(sim.Device());
    const Bytes first = port.Transact(Frame(0xC8), kRealTimeBlock);
    const Bytes second = port.Transact(Frame(0xC8), kRealTimeBlock);
    ASSERT_EQ(second.size(), kRealTimeBlock);
    EXPECT_EQ(first[4], 0x00);
    EXPECT_EQ(second[4], 0xFF);
    EXPECT_EQ(second[2], 0x01);
    const RealTimeBlock wave = Samples(second);
    EXPECT_EQ(std::count(wave.ch2.begin(), wave.ch2.end(), 0), 590);
    EXPECT_EQ(SignChanges(wave.ch1), 3);
  }
  SimProcess sim({"--no-channel"});
  ASSERT_TRUE(sim.Started()) << sim.Error();
  Port port(sim.Device());
  const Bytes block = port.Transact(Frame(0xC8), kRealTimeBlock);
  ASSERT_EQ(block.size(), kRealTimeBlock);
  EXPECT_EQ(block[2], 0x00);
}

TEST_F(SimProtocol, VanishingAfterBlocksDeliversThemThenRemovesTheDevice) {
  RawSim sim({"--vanish-after-blocks", "2"});
  ASSERT_FALSE(sim.device().empty());
  Port port(sim.device());
  ASSERT_TRUE(port.ok());
  EXPECT_EQ(port.Transact(WholeBlock(0), 512).size(), 512u);
  EXPECT_EQ(port.Transact(Frame(0xC8), kRealTimeBlock).size(), kRealTimeBlock);
  EXPECT_TRUE(port.Transact({0x78}, 1, 3000).empty());
  EXPECT_TRUE(port.hungUp());
  ASSERT_TRUE(sim.process().waitForFinished(3000));
  EXPECT_EQ(sim.process().exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(sim.process().exitCode(), 0);
  struct stat info {};
  EXPECT_NE(::stat(sim.device().c_str(), &info), 0);
}

TEST_F(SimProtocol, PacedReplyTakesItsLineTimeAndSignalsEndCleanly) {
  RawSim sim({"--pace"});
  ASSERT_FALSE(sim.device().empty());
  Port port(sim.device());
  const auto start = Clock::now();
  const Bytes block = port.Transact(Frame(0xC8), kRealTimeBlock);
  // 2365 bytes at 10 bits each and 115200 baud take 205 ms on a real line.
  EXPECT_EQ(block.size(), kRealTimeBlock);
  EXPECT_GE(MsSince(start), 150);

  sim.process().terminate();
  ASSERT_TRUE(sim.process().waitForFinished(3000));
  EXPECT_EQ(sim.process().exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(sim.process().exitCode(), 0);
}

TEST_F(SimProtocol, HelpAndUsageErrors) {
  const ProgramRun help = RunProgram(SimProcess::Path(), {"--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_NE(help.out.find("--synthetic"), std::string::npos);

  const std::string big = TempPath("big");
  std::ofstream(big, std::ios::binary) << std::string(512 * 1024 + 1, 'x');
  const std::vector<std::vector<std::string>> bad = {
      {"--ack", "ff"},
      {"--synthetic", "channels=3"},
      {"--synthetic", "samples=200000"},  // more than 512 KiB
      {"--synthetic", "start=2026-02-30T00:00:00"},
      {"--synthetic", "colour=red"},
      {"--rt-ch1", "W:10:50"},
      {"--rt-stream", "100", "--pace"},  // a block takes 205 ms paced
      {"--full", "--synthetic", "samples=10"},
      {"--image", "/nonexistent/acvlogger-image"},
      {"--image", big},
      {"--drop-reply"},
  };
  for (const auto& args : bad) {
    const ProgramRun run = RunProgram(SimProcess::Path(), args, {}, 5000);
    EXPECT_EQ(run.exitCode, 2) << args[0];
    EXPECT_NE(run.err.find("acvlogger-sim: "), std::string::npos) << args[0];
    EXPECT_TRUE(run.out.empty()) << args[0];  // no device was offered
  }
  std::remove(big.c_str());
}

}  // namespace
}  // namespace acv::test
