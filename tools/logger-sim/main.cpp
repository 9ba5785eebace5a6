// acvlogger-sim: a simulated data logger on a pseudo-terminal. Prints the
// device path as its first line, then answers the program's commands until
// SIGTERM or SIGINT.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "CommandParser.h"
#include "LoggerMemory.h"
#include "LoggerSim.h"
#include "ProjectVersion.h"
#include "PseudoTerminal.h"
#include "ReplyWriter.h"
#include "SimLogs.h"
#include "SimOptions.h"

namespace {

using namespace acv::sim;

// Self-pipe: the handler only writes a byte; the loop sees it in poll().
int gSignalPipe[2] = {-1, -1};

extern "C" void OnStopSignal(int) {
  const int saved = errno;
  const char byte = 1;
  [[maybe_unused]] const ssize_t ignored = write(gSignalPipe[1], &byte, 1);
  errno = saved;
}

bool InstallSignalHandlers() {
  if (pipe(gSignalPipe) != 0) return false;
  // A test or a program that started the simulator and then died must not
  // leave it behind holding a terminal: its end ends the simulator too.
  prctl(PR_SET_PDEATHSIG, SIGTERM);
  for (int fd : gSignalPipe) fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
  signal(SIGPIPE, SIG_IGN);  // a closed stdout must not kill the logger
  return true;
}

std::int64_t NowUs() {
  using namespace std::chrono;
  return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

// The wait until the earliest deadline, to the microsecond: a paced line
// has a chunk due every millisecond or so, and a wait rounded up to whole
// milliseconds would make it up to one late each time. Nothing: wait for
// input only.
std::optional<timespec> PollTimeout(std::int64_t nowUs,
                                    std::initializer_list<std::optional<std::int64_t>> due) {
  std::optional<std::int64_t> earliest;
  for (const auto& d : due) {
    if (d && (!earliest || *d < *earliest)) earliest = d;
  }
  if (!earliest) return std::nullopt;
  const std::int64_t waitUs = std::clamp<std::int64_t>(*earliest - nowUs, 0, 60'000'000);
  return timespec{static_cast<time_t>(waitUs / 1'000'000),
                  static_cast<long>(waitUs % 1'000'000 * 1000)};
}

int Usage(const std::string& error) {
  std::fprintf(stderr, "acvlogger-sim: %s\nTry 'acvlogger-sim --help'.\n", error.c_str());
  return 2;
}

// Before closing for good, give the program the last reply: closing the
// master hangs the terminal up and throws away what the program has not read.
void LetProgramReadTheRest(const PseudoTerminal& terminal) {
  constexpr std::int64_t kSettleUs = 50'000;
  constexpr std::int64_t kGiveUpUs = 2'000'000;
  const std::int64_t start = NowUs();
  while (NowUs() - start < kGiveUpUs) {
    usleep(10'000);
    if (NowUs() - start >= kSettleUs && terminal.UnreadBySlave() == 0) return;
  }
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  std::string error;
  if (!ParseOptions(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
    return Usage(error);
  }
  if (options.help) {
    std::fputs(HelpText().c_str(), stdout);
    return 0;
  }
  if (options.version) {
    std::printf("acvlogger-sim %s\n", acv::kProjectVersion);
    return 0;
  }

  LoggerMemory memory;
  if (!BuildMemory(options, memory, error)) return Usage(error);
  if (!options.dumpPath.empty() && !WriteWholeFile(options.dumpPath, memory.Served(), error)) {
    return Usage(error);
  }
  TraceLog trace;
  if (!trace.Open(options.tracePath, error)) return Usage(error);

  if (!InstallSignalHandlers()) {
    std::perror("acvlogger-sim: pipe");
    return 1;
  }
  PseudoTerminal terminal;
  if (!terminal.Open(error)) {
    std::fprintf(stderr, "acvlogger-sim: cannot open a pseudo-terminal: %s\n", error.c_str());
    return 1;
  }
  std::printf("%s\n", terminal.devicePath().c_str());
  std::fflush(stdout);

  const EventLog events(options.verbose);
  ReplyWriter writer(terminal.master(), options.baud);
  LoggerSim logger(options, memory, writer, trace, events);
  CommandParser parser;

  std::vector<std::uint8_t> buffer(4096);
  while (true) {
    std::int64_t now = NowUs();
    if (logger.vanishing() && writer.idle()) {
      LetProgramReadTheRest(terminal);
      terminal.Close();
      events.Line("terminal closed after " + std::to_string(options.vanishAfterBlocks) +
                  " block replies");
      return 0;
    }
    pollfd fds[2] = {{terminal.master(), POLLIN, 0}, {gSignalPipe[0], POLLIN, 0}};
    if (writer.waitingForRoom()) fds[0].events |= POLLOUT;
    const std::optional<timespec> timeout =
        PollTimeout(now, {writer.NextDueUs(), parser.Deadline(), logger.NextTickUs()});
    if (ppoll(fds, 2, timeout ? &*timeout : nullptr, nullptr) < 0 && errno != EINTR) {
      std::perror("acvlogger-sim: poll");
      return 1;
    }
    if (fds[1].revents & POLLIN) {
      events.Line("stopped by signal");
      return 0;
    }
    now = NowUs();
    if (fds[0].revents & (POLLERR | POLLNVAL)) {
      std::fprintf(stderr, "acvlogger-sim: the pseudo-terminal failed\n");
      return 1;
    }
    if (fds[0].revents & POLLIN) {
      const ssize_t got = read(terminal.master(), buffer.data(), buffer.size());
      if (got > 0) parser.Feed({buffer.data(), static_cast<std::size_t>(got)}, now);
    }
    while (auto command = parser.Next(now)) logger.Handle(*command, now);
    if (const auto dropped = parser.TakeDropped(); !dropped.empty()) {
      events.Line("dropped " + HexLine(dropped));
    }
    logger.Tick(now);
    if (!writer.Pump(now)) {
      std::perror("acvlogger-sim: write");
      return 1;
    }
  }
}
