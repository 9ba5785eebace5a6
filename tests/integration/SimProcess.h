#pragma once
// Helpers of the integration tests: the simulated logger as a child process
// (its pseudo-terminal is the logger's port), acvlogger-cli runs, and the
// QCoreApplication that QSerialPort, QTimer and QProcess need.
//
//   acv::test::EnsureCoreApplication();
//   acv::test::SimProcess sim({"--ack", "1e"});
//   ASSERT_TRUE(sim.Started()) << sim.Error();
//   ... open sim.Device() ...
//
// The paths of acvlogger-sim and acvlogger-cli come from the environment
// (ACV_SIM, ACV_CLI), which ctest sets.
#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace acv::test {

// Creates the program's QCoreApplication once (unless one exists already).
void EnsureCoreApplication();

// Handles what the event loop already holds (posted events, ready
// notifiers) without waiting for anything new: lets a test check that an
// event did not follow, without sleeping.
void DrainPendingEvents();
// Runs the Qt event loop until done() holds (true) or timeoutMs passed.
bool RunEventLoopUntil(const std::function<bool()>& done, int timeoutMs);

class SimProcess {
 public:
  // Starts acvlogger-sim with these options and waits (up to 5 s) for the
  // device path on its first line of output.
  explicit SimProcess(const std::vector<std::string>& options = {});
  ~SimProcess();
  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;

  bool Started() const { return !device_.empty(); }
  // The pseudo-terminal to open, e.g. /dev/pts/7.
  const std::string& Device() const { return device_; }
  // Why it did not start.
  const std::string& Error() const { return error_; }
  // SIGTERM, then waits for the process to end; its terminal goes away.
  void Stop();

  static std::string Path();  // $ACV_SIM

 private:
  QProcess process_;
  std::string device_;
  std::string error_;
};

struct ProgramRun {
  bool finished = false;  // false: killed at the timeout (or did not start)
  int exitCode = -1;
  std::string out;
  std::string err;
};

// Runs a program to its end with extra environment variables.
ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                      const std::map<std::string, std::string>& env = {}, int timeoutMs = 30000);

std::string CliPath();  // $ACV_CLI

// Reads a whole text file ("" when missing).
std::string ReadTextFile(const std::string& path);

// A test that runs acvlogger-cli with a private home: its settings and
// previous-measurement files go to a temporary folder, never the user's.
class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureCoreApplication();
    ASSERT_TRUE(home_.isValid());
    env_ = {{"XDG_CONFIG_HOME", Home() + "/config"}, {"XDG_DATA_HOME", Home() + "/data"}};
  }
  std::string Home() const { return home_.path().toStdString(); }
  std::string SettingsPath() const { return Home() + "/config/acvlogger/QX7DATALOGGER.ini"; }
  std::string PreviousPath() const { return Home() + "/data/acvlogger/PreMeasureQX7.stdata"; }
  std::string TracePath() const { return Home() + "/trace.txt"; }

  QTemporaryDir home_;
  std::map<std::string, std::string> env_;
};

}  // namespace acv::test
