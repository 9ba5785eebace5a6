// acvlogger-cli setup: sends the logger's set-up command.
#include <cstdio>

#include "cli/CliCommand.h"
#include "cli/CliLogger.h"
#include "data/Settings.h"
#include "logger/CommandBuilders.h"
#include "platform/AppPaths.h"

namespace acv::cli {
namespace {

constexpr const char* kCommand = "setup";
constexpr const char* kHelp =
    "usage: acvlogger-cli setup [--port DEVICE|N] [--rate N] [--unit second|minute|hour]\n"
    "                           [--auto-off on|off] [--circular on|off] [--rise N] [--drop N]\n\n"
    "Sets the logger up: its RMS sampling rate, automatic power-off, circular\n"
    "logging (going on over the earliest data when the memory is full) and the\n"
    "sudden rise and drop detection levels. Values not given are those last\n"
    "sent (kept in the settings file); the values sent are stored there.\n\n"
    "  --port DEVICE|N     use only this device path or port number (1..16);\n"
    "                      without it ports 1..16 are searched\n"
    "  --rate N            1..60 for seconds and minutes, 1..24 for hours\n"
    "                      (a value outside is brought to the nearest end)\n"
    "  --unit U            second, minute or hour\n"
    "  --auto-off on|off   automatic power-off\n"
    "  --circular on|off   circular logging\n"
    "  --rise N, --drop N  detection levels, 0..1000\n\n"
    "Exit status: 0 acknowledged; 1 no logger or no acknowledgement; 2 usage error.\n";

constexpr const char* kUnitNames[] = {"second", "minute", "hour"};

struct Requested {
  std::string port;
  std::optional<int> rate, unit, autoPowerOff, circulateLogging, rise, drop;
};

bool ParseOnOff(const std::optional<std::string>& text, const char* name, int onValue,
                std::optional<int>& out, std::string& error) {
  if (!text) return true;
  if (*text == "on" || *text == "off") {
    out = *text == "on" ? onValue : 0;
    return true;
  }
  error = std::string(name) + " takes 'on' or 'off', not '" + *text + "'";
  return false;
}

bool ParseLevel(const std::optional<std::string>& text, const char* name, std::optional<int>& out,
                std::string& error) {
  if (!text) return true;
  out = ParseInt(*text);
  if (out && *out >= 0 && *out <= 1000) return true;
  error = std::string(name) + " takes a level from 0 to 1000, not '" + *text + "'";
  return false;
}

bool ParseRequest(OptionList& options, Requested& request, std::string& error) {
  request.port = options.Take("--port").value_or("");
  if (auto text = options.Take("--rate")) {
    request.rate = ParseInt(*text);
    if (!request.rate) {
      error = "--rate takes a whole number, not '" + *text + "'";
      return false;
    }
  }
  if (auto text = options.Take("--unit")) {
    for (int i = 0; i < 3; ++i) {
      if (*text == kUnitNames[i] || *text == std::string(kUnitNames[i]) + "s") request.unit = i;
    }
    if (!request.unit) {
      error = "--unit takes second, minute or hour, not '" + *text + "'";
      return false;
    }
  }
  return ParseOnOff(options.Take("--auto-off"), "--auto-off", 2, request.autoPowerOff, error) &&
         ParseOnOff(options.Take("--circular"), "--circular", 3, request.circulateLogging, error) &&
         ParseLevel(options.Take("--rise"), "--rise", request.rise, error) &&
         ParseLevel(options.Take("--drop"), "--drop", request.drop, error);
}

// The stored values with the requested ones applied, under the rules of the
// set-up dialog's fields.
SetupValues Apply(const AppSettings& settings, const Requested& request) {
  SetupValues v;
  v.sampleRateText = settings.sampleRateText;
  v.sampleRateUnit = settings.sampleRateUnit;
  v.autoPowerOff = settings.autoPowerOff;
  v.circulateLogging = settings.circulateLogging;
  v.riseLevelSetting = settings.riseLevelSetting;
  v.dropLevelSetting = settings.dropLevelSetting;
  if (request.unit) v.sampleRateUnit = *request.unit;
  if (v.sampleRateUnit < kUnitSecond || v.sampleRateUnit > kUnitHour)
    v.sampleRateUnit = kUnitSecond;
  if (request.rate) v.sampleRateText = std::to_string(*request.rate);
  v.sampleRateText = std::to_string(ClampSampleRate(v.sampleRateText, v.sampleRateUnit));
  if (request.autoPowerOff) v.autoPowerOff = *request.autoPowerOff;
  if (request.circulateLogging) v.circulateLogging = *request.circulateLogging;
  if (request.rise) v.riseLevelSetting = std::to_string(*request.rise);
  if (request.drop) v.dropLevelSetting = std::to_string(*request.drop);
  return v;
}

int SetUp(const Requested& request, Invocation& cli) {
  const std::string settingsPath = SettingsFilePath();
  AppSettings settings = LoadSettings(settingsPath);
  const SetupValues values = Apply(settings, request);
  if (request.rate && std::to_string(*request.rate) != values.sampleRateText) {
    cli.Note("a rate of " + std::to_string(*request.rate) + " " +
             kUnitNames[values.sampleRateUnit] + "s is out of range; " + values.sampleRateText +
             " is sent");
  }

  PortMap map;
  std::string error;
  if (!ResolvePortMap(request.port, map, error)) return cli.Fail(error);
  CliLogger logger(std::move(map), DialogKind::LoggerSetup);
  if (!logger.ConnectAndReport(kCommand)) return 1;
  const CliLogger::AckResult result = logger.SendCommand(BuildSetupFrame(values));
  if (result != CliLogger::AckResult::SendFailed) {
    // The values went out: they are the logger's set-up now, as the dialog
    // records them when it sends.
    settings.sampleRateText = values.sampleRateText;
    settings.sampleRateUnit = values.sampleRateUnit;
    settings.autoPowerOff = values.autoPowerOff;
    settings.circulateLogging = values.circulateLogging;
    settings.riseLevelSetting = values.riseLevelSetting;
    settings.dropLevelSetting = values.dropLevelSetting;
    std::string notice;
    const bool saved = SaveSettings(settings, settingsPath, &notice);
    if (!notice.empty()) {
      cli.Note("warning: " + notice);
    } else if (!saved) {
      cli.Note("warning: the settings file " + settingsPath + " could not be written");
    }
  }
  const int status = logger.ReportAck(kCommand, result);
  if (status == 0) {
    std::printf(
        "Logger set up on %s: rate %s %s%s, auto power-off %s, circular logging %s, "
        "rise level %s, drop level %s\n",
        logger.Device().c_str(), values.sampleRateText.c_str(), kUnitNames[values.sampleRateUnit],
        values.sampleRateText == "1" ? "" : "s", values.autoPowerOff == 2 ? "on" : "off",
        values.circulateLogging == 3 ? "on" : "off",
        std::to_string(SetupLevel(values.riseLevelSetting)).c_str(),
        std::to_string(SetupLevel(values.dropLevelSetting)).c_str());
  }
  return status;
}

int RunSetup(const std::vector<std::string>& args) {
  Requested request;
  return RunSubcommand(Subcommand(kCommand, kHelp)
                           .Options([&](OptionList& options) {
                             std::string problem;
                             ParseRequest(options, request, problem);
                             return problem;
                           })
                           .Body([&](Invocation& cli) { return SetUp(request, cli); }),
                       args);
}

const CliRegistrar kRegistrar{kCommand, "set the logger's sampling rate and logging options",
                              RunSetup};

}  // namespace
}  // namespace acv::cli
