// acvlogger-cli realtime: reads real-time data as the program's Run command
// does and prints one CSV line per point as it is taken.
#include <QEventLoop>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "cli/CliCommand.h"
#include "cli/CliLinkHost.h"
#include "cli/CliLogger.h"
#include "data/CDTDoc.h"
#include "data/DataFile.h"
#include "data/FileIO.h"
#include "data/RealTimeExport.h"
#include "logger/Download.h"
#include "logger/PowerAnalysis.h"
#include "logger/RealTimeRun.h"
#include "platform/AppPaths.h"

namespace acv::cli {
namespace {

constexpr const char* kCommand = "realtime";
constexpr const char* kHelp =
    "usage: acvlogger-cli realtime [--port DEVICE|N] --interval S --points N [-o FILE.csv]\n\n"
    "Reads real-time data from the logger: every S seconds the latest waveform of\n"
    "each channel becomes one point (RMS value and frequency in Hz), until N\n"
    "points are taken. The RMS is measured in raw counts and written times the\n"
    "channel's ratio and sample scale (the channel scaling options below),\n"
    "so in volts or amperes once the scale is known. One CSV line per point is\n"
    "written as it is taken:\n\n"
    "  point,time,ch1_rms,ch1_hz,ch2_rms,ch2_hz,s_va,p_w,q_var,pf,phi_deg\n\n"
    "Fields of an absent channel are empty; s_va (CH1 RMS x CH2 RMS) is written\n"
    "only when one channel measures volts and the other amperes. A frequency of\n"
    "400 means none could be measured. From the same waves of such a pair:\n"
    "  p_w      active power, the mean of voltage x current samples over the\n"
    "           voltage's whole periods\n"
    "  q_var    reactive power, sqrt(s_va^2 - p_w^2), negative when the current\n"
    "           leads\n"
    "  pf       power factor p_w / s_va, -1..1\n"
    "  phi_deg  degrees by which the current's fundamental lags the voltage's\n"
    "           (positive: inductive load; negative: capacitive)\n"
    "s_va, p_w and q_var are the products of the two channels' scaled values:\n"
    "VA, W and var once both sample scales are known. The four are empty where\n"
    "s_va is, and when a channel has no usable signal. The points also become\n"
    "the previous measurement, as in the program; the previous measurement\n"
    "keeps RMS and frequency only, as measured (unscaled).\n\n"
    "  --port DEVICE|N   use only this device path or port number (1..16);\n"
    "                    without it ports 1..16 are searched\n"
    "  --interval S      seconds between points, 2..3600\n"
    "  --points N        number of points, 1..100000\n"
    "  -o, --output FILE\n"
    "                    write the CSV to FILE instead of standard output; FILE\n"
    "                    is opened once the logger has answered\n\n"
    "Ctrl-C stops the run as the Stop command does; the points taken are kept.\n\n"
    "Exit status: 0 all points taken; 1 no logger, the logger stopped answering,\n"
    "the port was lost, the output could not be written or the points could\n"
    "not be kept as the previous measurement; 2 usage error;\n"
    "3 no channel connected or a channel changed during the run; 130 stopped\n"
    "with Ctrl-C.\n";

constexpr int kInterruptPollMs = 100;
// After the end, the event loop runs a little longer so the stop frame
// leaves the port before the process does.
constexpr int kDrainMs = 200;

volatile std::sig_atomic_t interrupted = 0;
extern "C" void OnInterrupt(int) {
  interrupted = 1;
}

// The window's part of a run: prints every point and notes how the run ended.
// A point's line is the exported CSV line with the run's power values of that
// point after s_va; a saved file has no waves to take them from again.
class RealTimeHost : public CliLinkHost {
 public:
  RealTimeHost(const CDTDoc& doc, std::ostream& out)
      : CliLinkHost(DialogKind::RealTime), doc_(doc), out_(out) {}

  void RealTimePointAdded() override {
    if (outputFailed) return;
    std::string line = RealTimeCsvLine(doc_, doc_.rtCount - 1, doc_.scaling);
    const double powerFactor = doc_.scaling[0].OfSample() * doc_.scaling[1].OfSample();
    line.insert(line.size() - 1, PowerCsvFields(ScaledPower(
                                     run != nullptr ? run->power : std::nullopt, powerFactor)));
    out_ << line;
    if (!out_.flush()) outputFailed = true;
  }
  void RealTimeEnded(RunEnd why) override {
    ended = true;
    end = why;
  }

  bool WriteHeader() {
    std::string header = kRealTimeCsvHeader;
    header.insert(header.size() - 1, std::string(",") + kPowerCsvColumns);
    return static_cast<bool>((out_ << header).flush());
  }

  const RealTimeRun* run = nullptr;  // whose power values go with each point
  bool ended = false;
  RunEnd end = RunEnd::Stopped;
  bool outputFailed = false;

 private:
  const CDTDoc& doc_;
  std::ostream& out_;
};

// A strict integer option within a range, with the connect dialog's prompt:
// "" or the usage problem.
std::string TakeRange(OptionList& options, const std::string& name, int low, int high, int& value) {
  const std::optional<std::string> text = options.Take(name);
  if (!text) return name + " is required";
  const std::optional<int> number = ParseInt(*text);
  if (!number || *number < low || *number > high) {
    return name + " " + *text + ": Please enter an integer between " + std::to_string(low) +
           " and " + std::to_string(high) + ".";
  }
  value = *number;
  return {};
}

struct Options {
  std::string port;
  std::optional<std::string> output;
  int interval = 0;
  int points = 0;
};

std::string TakeOptions(OptionList& options, Options& o) {
  o.port = options.Take("--port").value_or("");
  o.output = options.TakeOutput();
  std::string problem =
      TakeRange(options, "--interval", kMinRealTimeInterval, kMaxRealTimeInterval, o.interval);
  const std::string pointsProblem = TakeRange(options, "--points", 1, kMaxRealTimePoints, o.points);
  if (problem.empty()) problem = pointsProblem;
  if (problem.empty() && o.output && o.output->empty()) problem = "-o needs a file name";
  return problem;
}

// The CSV of -o FILE is opened only once the logger has answered, so a run
// that never started (no logger, a busy or denied port) leaves an existing
// FILE as it was; from then on the points go to FILE as they are taken.
// Without -o the lines go to standard output.
class CsvOutput {
 public:
  explicit CsvOutput(std::optional<std::string> path) : path_(std::move(path)) {}
  // "" or the problem.
  std::string Open() {
    if (!path_) return {};
    file_ = std::make_unique<AtomicFileWriter>(*path_);
    if (std::string error = file_->Open(); !error.empty()) return error;
    stream_.rdbuf(file_->Stream().rdbuf());
    // Under its name at once, so that the points can be followed as they come.
    return file_->Publish();
  }
  std::ostream& Stream() { return path_ ? stream_ : std::cout; }
  // The end of the run: "" or the problem.
  std::string Close() { return file_ ? file_->Commit() : std::string(); }

 private:
  std::optional<std::string> path_;
  std::unique_ptr<AtomicFileWriter> file_;
  std::ostream stream_{nullptr};  // file_'s stream once it is open
};

int ExitFor(const RealTimeHost& host, const RealTimeRun& run, const CDTDoc& doc,
            const std::string& device, const Invocation& cli) {
  if (host.outputFailed)
    return cli.Fail("the CSV output could not be written; the run was stopped");
  // The points are in the CSV, but a run that was to become the previous
  // measurement and did not is no full success: a script must see it.
  const bool kept = run.saveError.empty();
  if (!kept) cli.Note("the previous measurement was not saved: " + run.saveError);
  switch (host.end) {
    case RunEnd::PointLimit:
      return kept ? 0 : 1;
    case RunEnd::Stopped:
      std::fprintf(stderr, "Stopped after %d points.\n", doc.rtCount);
      return 130;
    case RunEnd::Silent:
      return cli.Fail(std::string(kInterruptionMessage) + " The logger on " + device +
                      " stopped answering after " + std::to_string(doc.rtCount) + " points.");
    case RunEnd::NoChannel:
    case RunEnd::ChannelChanged:
      return 3;  // the program's message has been printed already
  }
  return 1;
}

int Run(const Options& o, Invocation& cli) {
  const int interval = o.interval;
  const int points = o.points;
  CsvOutput out(o.output);
  std::string error;
  PortMap map;
  if (!ResolvePortMap(o.port, map, error))
    return cli.Fail(std::string(kStatusNotConnected) + ": " + error);

  // The run is kept as the previous measurement beside the STORE data
  // already there, as the desktop program keeps it beside a download.
  CDTDoc doc;
  doc.scaling = cli.doc.scaling;
  {
    CDTDoc prior;
    const LoadResult loaded = LoadPreviousMeasurement(PreviousMeasurementPath(), prior);
    if (!loaded.ok && !loaded.error.empty())
      return cli.Fail(loaded.error + "; the run would replace it, so it was not started");
    if (loaded.ok) doc.Store() = std::move(prior.Store());
  }
  RealTimeHost host(doc, out.Stream());
  CliLogger logger(map, host);
  LoggerLink& link = logger.Link();
  RealTimeRun run(link, doc, host, PreviousMeasurementPath());
  host.run = &run;
  run.SetJournalFolder(JournalFolder());
  link.AttachRealTime(&run);
  if (!logger.ConnectAndReport(kCommand)) return 1;
  const std::string device = logger.Device();
  std::fprintf(stderr, "%s on %s: %d points every %d s\n", kStatusConnected, device.c_str(), points,
               interval);
  if (const std::string openError = out.Open(); !openError.empty()) {
    logger.CloseDialog();
    return cli.Fail(openError);
  }
  if (!host.WriteHeader()) {
    logger.CloseDialog();
    return cli.Fail("the CSV output could not be written");
  }

  // Ctrl-C from here on stops the run the way the Stop command does; a
  // closed pipe on the output is a write error, not the end of the process.
  std::signal(SIGINT, OnInterrupt);
  std::signal(SIGTERM, OnInterrupt);
  std::signal(SIGPIPE, SIG_IGN);
  QEventLoop loop;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (interrupted || host.outputFailed) run.StopRealTime(RunEnd::Stopped);
    if (host.ended) loop.quit();
  });
  poll.start(kInterruptPollMs);

  // "RUN": the values go to the run, then the transfer starts.
  doc.rtInterval = interval;
  run.realTimePoints = points;
  link.downloadMode = 0;
  link.realTimeMode = 1;
  link.StartTransfer();
  logger.CloseDialog();

  // The run always ends by itself: at its point count, or by its watchdog
  // within 10 s of the logger's last block.
  loop.exec();
  poll.stop();
  QTimer::singleShot(kDrainMs, &loop, &QEventLoop::quit);
  loop.exec();
  std::signal(SIGINT, SIG_DFL);
  std::signal(SIGTERM, SIG_DFL);
  const std::string closeError = out.Close();
  const int exitCode = ExitFor(host, run, doc, device, cli);
  if (closeError.empty()) return exitCode;
  cli.Fail(closeError);
  return exitCode == 0 ? 1 : exitCode;
}

int RunRealTime(const std::vector<std::string>& args) {
  Options o;
  return RunSubcommand(Subcommand(kCommand, kHelp)
                           .Options([&](OptionList& options) { return TakeOptions(options, o); })
                           .ScalesValues()
                           .Body([&](Invocation& cli) { return Run(o, cli); }),
                       args);
}

const CliRegistrar kRegistrar{kCommand, "read real-time points (RMS, frequency, power) as CSV",
                              RunRealTime};

}  // namespace
}  // namespace acv::cli
