#pragma once
// Where the program keeps its files on this system:
//   settings:             $XDG_CONFIG_HOME/acvlogger/QX7DATALOGGER.ini
//   previous measurement: $XDG_DATA_HOME/acvlogger/PreMeasureQX7.stdata
//   real-time journals:   $XDG_DATA_HOME/acvlogger/realtime-*.journal
// The folders are created on first use.
#include <string>

namespace acv {

std::string SettingsFilePath();
std::string PreviousMeasurementPath();
std::string JournalFolder();

}  // namespace acv
