// acvlogger-cli clock: sets the logger's clock.
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <regex>

#include "cli/CliCommand.h"
#include "cli/CliLogger.h"
#include "data/Settings.h"
#include "logger/CommandBuilders.h"
#include "platform/AppPaths.h"

namespace acv::cli {
namespace {

constexpr const char* kCommand = "clock";
constexpr const char* kHelp =
    "usage: acvlogger-cli clock [--port DEVICE|N] [--time \"YYYY-MM-DD HH:MM:SS\"]\n\n"
    "Sets the logger's clock to the given local date and time, or to this\n"
    "computer's local time now. The logger keeps the years 2000 to 2099. The\n"
    "date and time sent are stored in the settings file.\n\n"
    "  --port DEVICE|N   use only this device path or port number (1..16);\n"
    "                    without it ports 1..16 are searched\n"
    "  --time T          \"YYYY-MM-DD HH:MM:SS\" (24-hour clock)\n\n"
    "Exit status: 0 acknowledged; 1 no logger or no acknowledgement; 2 usage error.\n";

struct ClockTime {
  int year, month, day, hour, minute, second;
};

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

bool ParseTime(const std::string& text, ClockTime& t, std::string& error) {
  static const std::regex kPattern(
      R"((\d{4})-(\d{1,2})-(\d{1,2})[ T](\d{1,2}):(\d{1,2}):(\d{1,2}))");
  std::smatch m;
  if (!std::regex_match(text, m, kPattern)) {
    error = "--time takes \"YYYY-MM-DD HH:MM:SS\", not '" + text + "'";
    return false;
  }
  t = {std::stoi(m[1]), std::stoi(m[2]), std::stoi(m[3]),
       std::stoi(m[4]), std::stoi(m[5]), std::stoi(m[6])};
  if (t.year < kClockYearMin || t.year > kClockYearMax) {
    error = "the logger keeps the years 2000 to 2099, not " + std::to_string(t.year);
  } else if (t.month < 1 || t.month > 12 || t.day < 1 || t.day > DaysInMonth(t.year, t.month)) {
    error = "'" + text + "' is not a date of the calendar";
  } else if (t.hour > 23 || t.minute > 59 || t.second > 59) {
    error = "'" + text + "' is not a time of day";
  }
  return error.empty();
}

ClockTime LocalNow() {
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  return {ClampClockField(ClockField::Year, tm.tm_year + 1900),
          tm.tm_mon + 1,
          tm.tm_mday,
          tm.tm_hour,
          tm.tm_min,
          std::min(tm.tm_sec, 59)};  // no leap second on the logger
}

struct Options {
  std::string port;
  std::optional<std::string> timeText;
  ClockTime time{};  // the one of --time
};

// "" or the usage problem of --time.
std::string CheckTime(Options& o) {
  std::string error;
  if (o.timeText) ParseTime(*o.timeText, o.time, error);
  return error;
}

int SetClock(const Options& o, Invocation& cli) {
  const ClockTime t = o.timeText ? o.time : LocalNow();
  std::string error;
  PortMap map;
  if (!ResolvePortMap(o.port, map, error)) return cli.Fail(error);
  CliLogger logger(std::move(map), DialogKind::CorrectTime);
  if (!logger.ConnectAndReport(kCommand)) return 1;
  const CliLogger::AckResult result =
      logger.SendCommand(BuildClockFrame(t.year, t.month, t.day, t.hour, t.minute, t.second));
  if (result != CliLogger::AckResult::SendFailed) {
    const std::string path = SettingsFilePath();
    AppSettings settings = LoadSettings(path);
    settings.lastClockText = {std::to_string(t.year),   std::to_string(t.month),
                              std::to_string(t.day),    std::to_string(t.hour),
                              std::to_string(t.minute), std::to_string(t.second)};
    std::string notice;
    const bool saved = SaveSettings(settings, path, &notice);
    if (!notice.empty()) {
      cli.Note("warning: " + notice);
    } else if (!saved) {
      cli.Note("warning: the settings file " + path + " could not be written");
    }
  }
  const int status = logger.ReportAck(kCommand, result);
  if (status == 0) {
    std::printf("Logger clock on %s set to %04d-%02d-%02d %02d:%02d:%02d\n",
                logger.Device().c_str(), t.year, t.month, t.day, t.hour, t.minute, t.second);
  }
  return status;
}

int RunClock(const std::vector<std::string>& args) {
  Options o;
  return RunSubcommand(Subcommand(kCommand, kHelp)
                           .Options([&](OptionList& options) {
                             o.port = options.Take("--port").value_or("");
                             o.timeText = options.Take("--time");
                             return std::string();
                           })
                           .Check([&] { return CheckTime(o); })
                           .Body([&](Invocation& cli) { return SetClock(o, cli); }),
                       args);
}

const CliRegistrar kRegistrar{kCommand, "set the logger's clock", RunClock};

}  // namespace
}  // namespace acv::cli
