#include "SimProcess.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace acv::test {

namespace {

std::string EnvOr(const char* name, const char* fallback) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0' ? value : fallback;
}

QStringList ToQt(const std::vector<std::string>& words) {
  QStringList list;
  for (const std::string& w : words) list << QString::fromStdString(w);
  return list;
}

}  // namespace

void EnsureCoreApplication() {
  if (QCoreApplication::instance() != nullptr) return;
  static int argc = 1;
  static char name[] = "integration_tests";
  static char* argv[] = {name, nullptr};
  static QCoreApplication app(argc, argv);
}

bool RunEventLoopUntil(const std::function<bool()>& done, int timeoutMs) {
  EnsureCoreApplication();
  QElapsedTimer clock;
  clock.start();
  // Wakes each wait to look again: some conditions come with no event in
  // this process (another program appending to a file), and the deadline
  // must end the last wait.
  QTimer wake;
  wake.setSingleShot(true);
  wake.setTimerType(Qt::PreciseTimer);
  constexpr qint64 kLookAgainMs = 10;
  while (!done()) {
    const qint64 left = timeoutMs - clock.elapsed();
    if (left <= 0) return false;
    wake.start(static_cast<int>(std::min(left, kLookAgainMs)));
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  }
  return true;
}

void DrainPendingEvents() {
  EnsureCoreApplication();
  // A handler may post one more event; three rounds take such chains too.
  for (int round = 0; round < 3; ++round) QCoreApplication::processEvents();
}

std::string SimProcess::Path() {
  return EnvOr("ACV_SIM", "acvlogger-sim");
}
std::string CliPath() {
  return EnvOr("ACV_CLI", "acvlogger-cli");
}

SimProcess::SimProcess(const std::vector<std::string>& options) {
  EnsureCoreApplication();
  // The simulator's diagnostics go straight to the test's output.
  process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  process_.start(QString::fromStdString(Path()), ToQt(options));
  if (!process_.waitForStarted(5000)) {
    error_ = "cannot start " + Path() + ": " + process_.errorString().toStdString();
    return;
  }
  QElapsedTimer clock;
  clock.start();
  while (!process_.canReadLine()) {
    if (clock.elapsed() > 5000 || process_.state() == QProcess::NotRunning) {
      error_ = Path() + " printed no device path";
      return;
    }
    process_.waitForReadyRead(100);
  }
  device_ = QString::fromUtf8(process_.readLine()).trimmed().toStdString();
  if (device_.empty()) error_ = Path() + " printed an empty first line";
}

SimProcess::~SimProcess() {
  Stop();
}

void SimProcess::Stop() {
  if (process_.state() == QProcess::NotRunning) return;
  process_.terminate();  // SIGTERM
  if (!process_.waitForFinished(3000)) {
    process_.kill();
    process_.waitForFinished(1000);
  }
}

ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                      const std::map<std::string, std::string>& env, int timeoutMs) {
  EnsureCoreApplication();
  ProgramRun run;
  QProcess process;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  for (const auto& [name, value] : env)
    environment.insert(QString::fromStdString(name), QString::fromStdString(value));
  process.setProcessEnvironment(environment);
  process.start(QString::fromStdString(program), ToQt(args));
  if (!process.waitForStarted(5000)) return run;
  run.finished = process.waitForFinished(timeoutMs);
  if (!run.finished) {
    process.kill();
    process.waitForFinished(1000);
  }
  run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  run.out = process.readAllStandardOutput().toStdString();
  run.err = process.readAllStandardError().toStdString();
  return run;
}

std::string ReadTextFile(const std::string& path) {
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace acv::test
