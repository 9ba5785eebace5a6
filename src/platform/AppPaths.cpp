#include "platform/AppPaths.h"

#include <QDir>
#include <QStandardPaths>

namespace acv {
namespace {

std::string FileIn(QStandardPaths::StandardLocation location, const char* name) {
  // GenericConfigLocation / GenericDataLocation follow XDG_CONFIG_HOME and
  // XDG_DATA_HOME; our own folder below them keeps the name independent of
  // how the application object was named.
  QString dir = QStandardPaths::writableLocation(location) + QStringLiteral("/acvlogger");
  QDir().mkpath(dir);
  return (dir + QLatin1Char('/') + QLatin1String(name)).toStdString();
}

}  // namespace

std::string SettingsFilePath() {
  return FileIn(QStandardPaths::GenericConfigLocation, "QX7DATALOGGER.ini");
}

std::string PreviousMeasurementPath() {
  return FileIn(QStandardPaths::GenericDataLocation, "PreMeasureQX7.stdata");
}

std::string JournalFolder() {
  const std::string previous = PreviousMeasurementPath();
  return previous.substr(0, previous.find_last_of('/'));
}

}  // namespace acv
