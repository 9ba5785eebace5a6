#pragma once
// The simulated logger as a child process, for "acvlogger --simulate": it is
// started beside the program, tells the path of its pseudo-terminal on the
// first line of its output, and is stopped when the program ends.
#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace acv {

class SimulatorProcess : public QObject {
  Q_OBJECT

 public:
  static constexpr int kStartTimeoutMs = 5000;

  explicit SimulatorProcess(QObject* parent = nullptr);
  ~SimulatorProcess() override;

  // Where the simulator is looked for: beside the program (installed), and
  // in the build tree's tools folder.
  static QStringList Candidates(const QString& applicationDir);
  static QString Locate(const QString& applicationDir);

  // Starts it and waits for the terminal's path. False with Error() set when
  // it cannot be started or does not name its terminal in time.
  bool Start(const QString& program, const QStringList& args);
  QString DevicePath() const { return devicePath_; }
  QString Error() const { return error_; }
  bool Running() const { return process_.state() != QProcess::NotRunning; }
  void Stop();

 private:
  QProcess process_;
  QString devicePath_;
  QString error_;
};

}  // namespace acv
