// A full 512 KiB download over a pseudo-terminal against acvlogger-sim, with
// the program's own stack (QtSerialControl, QtTimerHost, LoggerLink,
// Download in an event loop).
//
// Unpaced, the figure is the program's overhead per block: the baseline is
// the same exchange done by a bare loop of blocking reads and writes on the
// same terminal, measured in the same run (ratio = program / bare loop).
// Paced at 115200 baud (ACV_BENCH_PACED=1, about 46 s each), the baseline
// is the line-rate limit: 524,288 data bytes and 1,024 request frames of 8
// bytes at 10 bits per byte. The bare loop runs against the paced line too,
// so the simulator's own pacing is seen next to the program's figure.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "data/CDTDoc.h"
#include "logger/CommandBuilders.h"
#include "logger/Download.h"
#include "logger/LoggerLink.h"
#include "logger/MemoryImage.h"
#include "platform/PortMap.h"
#include "platform/QtSerialControl.h"
#include "platform/QtTimerHost.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr double kLineRateSeconds = (524288.0 + 1024.0 * 8.0) * 10.0 / 115200.0;

// acvlogger-sim as a child process; its first line of output is the path of
// its terminal.
class Simulator {
 public:
  explicit Simulator(const std::vector<std::string>& args) {
    const char* sim = std::getenv("ACV_SIM");
    if (sim == nullptr || *sim == '\0') {
      error_ = "set ACV_SIM to the acvlogger-sim program";
      return;
    }
    int out[2];
    if (::pipe(out) != 0) {
      error_ = "pipe failed";
      return;
    }
    pid_ = ::fork();
    if (pid_ == 0) {
      ::dup2(out[1], STDOUT_FILENO);
      ::close(out[0]);
      ::close(out[1]);
      std::vector<char*> argv{const_cast<char*>(sim)};
      for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
      argv.push_back(nullptr);
      ::execv(sim, argv.data());
      ::_exit(127);
    }
    ::close(out[1]);
    pollfd pfd{out[0], POLLIN, 0};
    char c = 0;
    while (::poll(&pfd, 1, 5000) == 1 && ::read(out[0], &c, 1) == 1 && c != '\n') path_ += c;
    output_ = out[0];
    if (path_.rfind("/dev/", 0) != 0) error_ = "acvlogger-sim did not name its terminal";
  }
  ~Simulator() {
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      ::waitpid(pid_, nullptr, 0);
    }
    if (output_ >= 0) ::close(output_);
  }
  const std::string& Path() const { return path_; }
  const std::string& Error() const { return error_; }

 private:
  pid_t pid_ = -1;
  int output_ = -1;
  std::string path_;
  std::string error_;
};

// ---- the baseline: blocking reads and writes, nothing else -----------------------

bool ReadExactly(int fd, std::uint8_t* into, std::size_t size) {
  std::size_t got = 0;
  while (got < size) {
    pollfd pfd{fd, POLLIN, 0};
    if (::poll(&pfd, 1, 2000) != 1) return false;
    const ssize_t n = ::read(fd, into + got, size - got);
    if (n <= 0) return false;
    got += static_cast<std::size_t>(n);
  }
  return true;
}

bool BareDownload(const std::string& device, std::vector<std::uint8_t>& image) {
  const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY);
  if (fd < 0) return false;
  termios tio{};
  ::tcgetattr(fd, &tio);
  ::cfmakeraw(&tio);
  ::cfsetspeed(&tio, B115200);
  ::tcsetattr(fd, TCSANOW, &tio);
  bool ok = false;
  std::uint8_t header[acv::kDownloadHeaderSize];
  const acv::CommandFrame start = acv::DownloadStartFrame();
  if (::write(fd, start.data(), start.size()) == 8 && ReadExactly(fd, header, sizeof header)) {
    if (const auto h = acv::DecodeDownloadHeader(header)) {
      image.assign(static_cast<std::size_t>(h->total), 0);
      int block = h->start / acv::kMemoryBlockSize;
      const int whole = h->total / acv::kMemoryBlockSize;
      const int rest = h->total % acv::kMemoryBlockSize;
      ok = true;
      for (int i = 0; ok && i <= whole; ++i) {
        const int size = i < whole ? acv::kMemoryBlockSize : rest;
        if (size == 0) break;
        const acv::CommandFrame frame = acv::BuildBlockRequest(
            block, i < whole ? acv::kBlockFillWhole : acv::kBlockFillPartial);
        ++block;
        ok = ::write(fd, frame.data(), frame.size()) == 8 &&
             ReadExactly(fd, image.data() + i * acv::kMemoryBlockSize,
                         static_cast<std::size_t>(size));
      }
    }
  }
  ::close(fd);
  return ok;
}

// ---- the program's stack -----------------------------------------------------------

class BenchHost : public acv::LinkHost {
 public:
  std::vector<acv::ConnectionDialog*> OpenDialogs() override { return {}; }
  void ShowMessage(const std::string& text, acv::MessageIcon) override { failure = text; }
  bool ProgressWindowOpen() const override { return progress; }
  void ProgressOpen(int, int) override { progress = true; }
  void ProgressSet(int) override {}
  void ProgressClose() override { progress = false; }
  void DownloadFinished() override { finished = true; }
  void DownloadFailed(const std::string& message) override { failure = message; }
  bool progress = false;
  bool finished = false;
  std::string failure;
};

// One download; returns its RMS item count, or -1 with the failure.
int ProgramDownload(const std::string& device, std::string& failure) {
  acv::QtSerialControl serial(acv::PortMap::Single(device));
  acv::QtTimerHost timers;
  BenchHost host;
  acv::LoggerLink link(serial, timers, host);
  acv::CDTDoc doc;
  acv::Download download(link, doc, host, "");
  link.AttachDownload(&download);
  link.portNumber = 1;
  serial.SetCommPort(1);
  link.downloadMode = 1;
  link.StartTransfer();
  // Sleeps in the event loop between events (the overload of processEvents
  // with a time limit would spin instead); the timer bounds a lost run.
  QTimer wake;
  wake.start(100);
  QElapsedTimer limit;
  limit.start();
  while (!host.finished && host.failure.empty() && limit.elapsed() < 120000) {
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  }
  if (!host.finished) {
    failure = host.failure.empty() ? "timed out" : host.failure;
    return -1;
  }
  return doc.rmsCount;
}

double Seconds(Clock::time_point from) {
  return std::chrono::duration<double>(Clock::now() - from).count();
}

void BM_FullDownloadUnpaced(benchmark::State& state) {
  Simulator sim({"--full"});
  if (!sim.Error().empty()) {
    state.SkipWithError(sim.Error().c_str());
    return;
  }
  double bare = 0.0;
  double program = 0.0;
  for (auto _ : state) {
    std::vector<std::uint8_t> image;
    auto t0 = Clock::now();
    if (!BareDownload(sim.Path(), image)) {
      state.SkipWithError("the bare exchange failed");
      return;
    }
    bare += Seconds(t0);
    std::string failure;
    t0 = Clock::now();
    const int items = ProgramDownload(sim.Path(), failure);
    const double s = Seconds(t0);
    if (items < 0) {
      state.SkipWithError(failure.c_str());
      return;
    }
    program += s;
    state.SetIterationTime(s);
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["program_s"] = program / n;
  state.counters["bare_loop_s"] = bare / n;
  state.counters["ratio"] = program / bare;
  state.counters["per_block_us"] = (program - bare) / n / 1025.0 * 1e6;
}

// A full download against a paced line, timed by `run` (false: it failed,
// with the reason), as a ratio to the line-rate limit.
void PacedAgainstTheLine(benchmark::State& state, const char* timeName,
                         const std::function<bool(const std::string&, std::string&)>& run) {
  Simulator sim({"--full", "--pace"});
  if (!sim.Error().empty()) {
    state.SkipWithError(sim.Error().c_str());
    return;
  }
  for (auto _ : state) {
    std::string failure;
    const auto t0 = Clock::now();
    if (!run(sim.Path(), failure)) {
      state.SkipWithError(failure.c_str());
      return;
    }
    const double s = Seconds(t0);
    state.SetIterationTime(s);
    state.counters[timeName] = s;
    state.counters["line_limit_s"] = kLineRateSeconds;
    state.counters["ratio"] = s / kLineRateSeconds;
  }
}

// The simulator's pacing itself: the bare loop against a paced line, so
// that the program's figure is known to measure the program.
void BM_BareClientPaced(benchmark::State& state) {
  PacedAgainstTheLine(state, "bare_loop_s", [](const std::string& device, std::string& failure) {
    std::vector<std::uint8_t> image;
    if (BareDownload(device, image)) return true;
    failure = "the bare exchange failed";
    return false;
  });
}

void BM_FullDownloadPaced(benchmark::State& state) {
  PacedAgainstTheLine(state, "program_s", [](const std::string& device, std::string& failure) {
    return ProgramDownload(device, failure) >= 0;
  });
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RegisterBenchmark("FullDownload/unpaced", BM_FullDownloadUnpaced)
      ->UseManualTime()
      ->Unit(benchmark::kMillisecond)
      ->Iterations(5);
  // About 46 s of wire time each: only on request.
  if (const char* paced = std::getenv("ACV_BENCH_PACED"); paced && std::string(paced) == "1") {
    benchmark::RegisterBenchmark("FullDownload/bare_client_paced_115200", BM_BareClientPaced)
        ->UseManualTime()
        ->Unit(benchmark::kSecond)
        ->Iterations(1);
    benchmark::RegisterBenchmark("FullDownload/paced_115200", BM_FullDownloadPaced)
        ->UseManualTime()
        ->Unit(benchmark::kSecond)
        ->Iterations(1);
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
