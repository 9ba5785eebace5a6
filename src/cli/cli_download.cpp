// acvlogger-cli download: reads the logger's stored data as the Download
// dialog does, then saves it as "Save..." does (.stdata and .xls beside it).
#include <unistd.h>

#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>

#include "cli/CliCommand.h"
#include "cli/CliLinkHost.h"
#include "cli/CliLogger.h"
#include "data/CDTDoc.h"
#include "data/Export.h"
#include "logger/Download.h"
#include "platform/AppPaths.h"

namespace acv::cli {
namespace {

constexpr const char* kCommand = "download";
constexpr const char* kHelp =
    "usage: acvlogger-cli download [--port DEVICE|N] -o FILE.stdata\n\n"
    "Downloads the data stored in the logger (the STORE RMS series of its\n"
    "channels and the TR records) and saves it as FILE.stdata with the\n"
    "spreadsheet export FILE.xls beside it, as \"Save...\" in the program does.\n"
    "The download also becomes the previous measurement, as in the program.\n\n"
    "  --port DEVICE|N   use only this device path or port number (1..16);\n"
    "                    without it ports 1..16 are searched\n"
    "  -o, --output FILE\n"
    "                    the data file to write (\".stdata\" is put in place of\n"
    "                    any other extension)\n\n"
    "On a terminal a progress bar is shown on stderr. A one-line summary goes\n"
    "to stdout at the end.\n\n"
    "Exit status: 0 saved; 1 no logger, interrupted transfer or file error;\n"
    "2 nothing stored, the logger is logging, or a usage error.\n";

// The logger answers the 0x68 frame at once (it is repeated once after
// 500 ms); beyond this the download is taken as lost.
constexpr int kHeaderTimeoutMs = 5000;
// Each block arms the download's own 5 s watchdog, so this only bounds a
// logger that keeps talking without ever finishing.
constexpr int kTransferTimeoutMs = 15 * 60 * 1000;

// The "Loading..." window as a progress bar on a terminal, and the outcome
// of the download for the exit status.
class DownloadHost : public CliLinkHost {
 public:
  DownloadHost() : CliLinkHost(DialogKind::Download), drawBar_(::isatty(STDERR_FILENO) == 1) {}

  void Watch(const Download* download) { download_ = download; }

  void ProgressOpen(int rangeMax, int position) override {
    CliLinkHost::ProgressOpen(rangeMax, position);
    clock_.start();
    Draw();
  }
  void ProgressSet(int position) override {
    CliLinkHost::ProgressSet(position);
    Draw();
  }
  void ProgressClose() override {
    CliLinkHost::ProgressClose();
    if (drawBar_ && barShown_) std::fputc('\n', stderr);
    barShown_ = false;
  }
  void DownloadFinished() override { finished = true; }
  void DownloadFailed(const std::string& message) override { failure = message; }

  bool Settled() const { return finished || !failure.empty(); }

  bool finished = false;
  std::string failure;

 private:
  void Draw() {
    if (!drawBar_ || progressMax <= 0) return;
    constexpr int kWidth = 40;
    const int filled = kWidth * std::min(progressPosition, progressMax) / progressMax;
    const double seconds = static_cast<double>(clock_.elapsed()) / 1000.0;
    const double bytes = download_ != nullptr ? static_cast<double>(download_->bytesReceived) : 0;
    const double rate = seconds > 0.05 ? bytes / seconds : 0.0;
    std::fprintf(stderr, "\rLoading... [%s%s] %d/%d blocks  %.1f KiB/s ",
                 std::string(static_cast<std::size_t>(filled), '#').c_str(),
                 std::string(static_cast<std::size_t>(kWidth - filled), ' ').c_str(),
                 progressPosition, progressMax, rate / 1024.0);
    std::fflush(stderr);
    barShown_ = true;
  }

  const Download* download_ = nullptr;
  bool drawBar_;
  bool barShown_ = false;
  QElapsedTimer clock_;
};

// "12 RMS samples per channel (CH1 V, CH2 A), 1 TR record, start ..., interval 10 s"
std::string Summary(const CDTDoc& doc) {
  std::string channels;
  if (doc.hasCh1 == 1) channels += "CH1 " + doc.rmsUnitCh1;
  if (doc.hasCh2 == 1) channels += (channels.empty() ? "" : ", ") + ("CH2 " + doc.rmsUnitCh2);
  if (channels.empty()) channels = "no channel";
  char interval[32];
  std::snprintf(interval, sizeof interval, "%g s", static_cast<double>(doc.rmsInterval));
  return std::to_string(doc.rmsCount) + " RMS samples per channel (" + channels + "), " +
         std::to_string(doc.trCount) + (doc.trCount == 1 ? " TR record" : " TR records") +
         ", start " + FormatTime(doc.rmsStartTime, kSampleTimeFormat) + ", interval " + interval;
}

// The folder of the output must exist before a download of up to a minute
// is spent on it.
bool CheckOutputFolder(const std::string& path, std::string& error) {
  const std::filesystem::path folder = std::filesystem::path(path).parent_path();
  std::error_code ec;
  if (!folder.empty() && !std::filesystem::is_directory(folder, ec)) {
    error = "no such folder: " + folder.string();
    return false;
  }
  return true;
}

struct Options {
  std::string port;
  std::string output;
};

std::string TakeOptions(OptionList& options, Options& o) {
  o.port = options.Take("--port").value_or("");
  o.output = options.TakeOutput().value_or("");
  return {};
}

int DownloadTo(const Options& o, Invocation& cli) {
  std::string error;
  if (!CheckOutputFolder(o.output, error)) return cli.Fail(error);
  PortMap map;
  if (!ResolvePortMap(o.port, map, error))
    return cli.Fail(std::string(kStatusNotConnected) + ": " + error);

  DownloadHost host;
  CliLogger logger(map, host);
  CDTDoc doc;
  Download download(logger.Link(), doc, host, PreviousMeasurementPath());
  logger.Link().AttachDownload(&download);
  host.Watch(&download);
  if (!logger.ConnectAndReport(kCommand)) return 1;

  // The Download button.
  LoggerLink& link = logger.Link();
  link.downloadMode = 1;
  link.realTimeMode = 0;
  link.StartTransfer();
  logger.CloseDialog();

  const bool headerSeen = RunEventLoopUntil(
      [&] { return host.Settled() || download.fullBlocks >= 0; }, kHeaderTimeoutMs);
  if (!headerSeen || !RunEventLoopUntil([&] { return host.Settled(); }, kTransferTimeoutMs)) {
    link.transferActive = 0;
    link.ResetPort();
    host.ShowMessage(kInterruptionMessage, MessageIcon::Warning);
    return 1;
  }
  if (!host.finished) {
    // The message box has been printed already.
    return host.failure == kNoDataMessage || host.failure == kLoggingNowMessage ? 2 : 1;
  }

  if (const std::string saveError = SaveDataAndExport(doc, o.output); !saveError.empty())
    return cli.Fail(saveError);
  const std::string dataPath = DataPathFor(o.output);
  std::printf("%s; saved %s and %s\n", Summary(doc).c_str(), dataPath.c_str(),
              ExportPathFor(dataPath).c_str());
  return 0;
}

int RunDownload(const std::vector<std::string>& args) {
  Options o;
  return RunSubcommand(
      Subcommand(kCommand, kHelp)
          .Options([&](OptionList& options) { return TakeOptions(options, o); })
          .Check([&] {
            return o.output.empty() ? "name the data file to write with -o FILE.stdata" : "";
          })
          .Body([&](Invocation& cli) { return DownloadTo(o, cli); }),
      args);
}

const CliRegistrar kRegistrar{kCommand, "download the logger's stored data to a .stdata file",
                              RunDownload};

}  // namespace
}  // namespace acv::cli
