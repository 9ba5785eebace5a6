#include "ui/SimulatorProcess.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>

namespace acv {

SimulatorProcess::SimulatorProcess(QObject* parent) : QObject(parent) {
  // Its diagnostics go where ours go; only the first output line is read.
  process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
}

SimulatorProcess::~SimulatorProcess() {
  Stop();
}

QStringList SimulatorProcess::Candidates(const QString& applicationDir) {
  const QDir dir(applicationDir);
  return {dir.filePath(QStringLiteral("acvlogger-sim")),
          dir.filePath(QStringLiteral("../../tools/logger-sim/acvlogger-sim")),
          dir.filePath(QStringLiteral("../tools/logger-sim/acvlogger-sim"))};
}

QString SimulatorProcess::Locate(const QString& applicationDir) {
  for (const QString& candidate : Candidates(applicationDir)) {
    const QFileInfo info(candidate);
    if (info.isFile() && info.isExecutable()) return info.canonicalFilePath();
  }
  return {};
}

bool SimulatorProcess::Start(const QString& program, const QStringList& args) {
  devicePath_.clear();
  error_.clear();
  process_.start(program, args);
  if (!process_.waitForStarted(kStartTimeoutMs)) {
    error_ = QStringLiteral("The simulated logger %1 could not be started: %2")
                 .arg(program, process_.errorString());
    return false;
  }
  const QDeadlineTimer deadline(kStartTimeoutMs);
  while (!process_.canReadLine()) {
    if (process_.state() == QProcess::NotRunning || deadline.hasExpired() ||
        !process_.waitForReadyRead(static_cast<int>(deadline.remainingTime()))) {
      break;
    }
  }
  if (!process_.canReadLine()) {
    error_ = QStringLiteral("The simulated logger did not name its terminal within %1 s.")
                 .arg(kStartTimeoutMs / 1000);
    Stop();
    return false;
  }
  devicePath_ = QString::fromLocal8Bit(process_.readLine()).trimmed();
  if (!devicePath_.startsWith(QLatin1Char('/'))) {
    error_ = QStringLiteral("The simulated logger named no terminal but said: %1").arg(devicePath_);
    devicePath_.clear();
    Stop();
    return false;
  }
  // Later output is not needed; keep the pipe from filling up.
  connect(&process_, &QProcess::readyReadStandardOutput, this,
          [this] { process_.readAllStandardOutput(); });
  return true;
}

void SimulatorProcess::Stop() {
  if (process_.state() == QProcess::NotRunning) return;
  process_.terminate();
  if (!process_.waitForFinished(2000)) {
    process_.kill();
    process_.waitForFinished(2000);
  }
}

}  // namespace acv
