// A run killed without warning and brought back with `acvlogger-cli
// recover`, and the reports and summary of files that hold a run.
#include <gtest/gtest.h>
#include <signal.h>

#include <QProcess>
#include <sstream>

#include "SimProcess.h"
#include "data/DataFile.h"
#include "data/RealTimeExport.h"

namespace acv::test {
namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string l; std::getline(in, l);) lines.push_back(l);
  return lines;
}

class RecoverCli : public CliTest {
 protected:
  ProgramRun Cli(const std::vector<std::string>& args) {
    return RunProgram(CliPath(), args, env_, 30000);
  }
  // A real-time run on `sim` killed without warning once `points` points are
  // in its CSV; returns the CSV's lines.
  std::vector<std::string> KilledRun(const SimProcess& sim, std::size_t points) {
    const std::string csvPath = Home() + "/points.csv";
    QProcess run;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const auto& [name, value] : env_) {
      environment.insert(QString::fromStdString(name), QString::fromStdString(value));
    }
    run.setProcessEnvironment(environment);
    run.start(QString::fromStdString(CliPath()),
              {"realtime", "--port", QString::fromStdString(sim.Device()), "--interval", "2",
               "--points", "100", "-o", QString::fromStdString(csvPath)});
    EXPECT_TRUE(run.waitForStarted(5000));
    // The CSV line of a point is written after the point reached the journal.
    EXPECT_TRUE(
        RunEventLoopUntil([&] { return Lines(ReadTextFile(csvPath)).size() >= points + 1; }, 60000))
        << ReadTextFile(csvPath);
    ::kill(static_cast<pid_t>(run.processId()), SIGKILL);
    EXPECT_TRUE(run.waitForFinished(5000));
    return Lines(ReadTextFile(csvPath));
  }
};

TEST_F(RecoverCli, ARunKilledAfterFivePointsIsRecoveredFromItsJournal) {
  SimProcess sim({"--rt-ch1", "V:1000:50", "--rt-ch2", "A:300:50"});
  ASSERT_TRUE(sim.Started()) << sim.Error();
  const std::vector<std::string> printed = KilledRun(sim, 5);

  const std::string recovered = Home() + "/recovered.stdata";
  const ProgramRun recover = Cli({"recover", "-o", recovered});
  ASSERT_EQ(recover.exitCode, 0) << recover.err;
  EXPECT_NE(recover.out.find("Recovered "), std::string::npos) << recover.out;
  CDTDoc doc;
  const LoadResult load = LoadDataFile(recovered, doc);
  ASSERT_TRUE(load.ok) << load.error;
  ASSERT_GE(doc.rtCount, 4);
  ASSERT_GE(static_cast<std::size_t>(doc.rtCount) + 1, printed.size() - 1);
  for (std::int32_t i = 0; i + 1 < static_cast<std::int32_t>(printed.size()); ++i) {
    // The printed line goes on with the power columns, which a file does
    // not keep.
    std::string kept = RealTimeCsvLine(doc, i, {});
    kept.back() = ',';
    EXPECT_EQ(printed[static_cast<std::size_t>(i) + 1].substr(0, kept.size()), kept) << i;
  }
  CDTDoc previous;
  ASSERT_TRUE(LoadPreviousMeasurement(PreviousPath(), previous).ok);
  EXPECT_EQ(previous.RealTime(), doc.RealTime());

  // The journal is gone: a second recovery finds nothing and says so.
  const ProgramRun again = Cli({"recover"});
  EXPECT_EQ(again.exitCode, 1);
  EXPECT_NE(again.err.find("no journal"), std::string::npos) << again.err;
}

// The download a run was made with stays in the previous measurement beside
// the run's points, whether the run ends by itself or is killed and
// recovered.
TEST_F(RecoverCli, TheDownloadedStoreDataStayBesideARunEndedOrRecovered) {
  SimProcess sim({"--synthetic", "samples=40,tr=1", "--rt-ch1", "V:1000:50"});
  ASSERT_TRUE(sim.Started()) << sim.Error();
  const ProgramRun download =
      Cli({"download", "--port", sim.Device(), "-o", Home() + "/downloaded.stdata"});
  ASSERT_EQ(download.exitCode, 0) << download.err;
  CDTDoc downloaded;
  ASSERT_TRUE(LoadPreviousMeasurement(PreviousPath(), downloaded).ok);
  ASSERT_EQ(downloaded.trCount, 1);

  const ProgramRun ended = Cli({"realtime", "--port", sim.Device(), "--interval", "2", "--points",
                                "2", "-o", Home() + "/ended.csv"});
  ASSERT_EQ(ended.exitCode, 0) << ended.err;
  CDTDoc previous;
  ASSERT_TRUE(LoadPreviousMeasurement(PreviousPath(), previous).ok);
  EXPECT_EQ(previous.Store(), downloaded.Store());
  EXPECT_EQ(previous.rtCount, 2);

  KilledRun(sim, 2);
  const ProgramRun recover = Cli({"recover"});
  ASSERT_EQ(recover.exitCode, 0) << recover.err;
  ASSERT_TRUE(LoadPreviousMeasurement(PreviousPath(), previous).ok);
  EXPECT_EQ(previous.Store(), downloaded.Store());
  EXPECT_GE(previous.rtCount, 2);
  const ProgramRun info = Cli({"info", PreviousPath()});
  EXPECT_EQ(info.out.find("STORE data: none"), std::string::npos) << info.out;
}

TEST_F(RecoverCli, ExportAndInfoOfAFileHoldingOnlyARun) {
  CDTDoc doc;
  doc.formatTag = kTagRealTime;
  doc.rtStartTime = 1772000000;
  doc.rtInterval = 5;
  doc.rtCount = 2;
  doc.rtHasCh1 = 1;
  doc.rtUnitCh1 = "V";
  doc.rtRms = {{231.0f, 0.0f}, {229.5f, 0.0f}};
  doc.rtFreq = {{50.0f, 0.0f}, {49.9f, 0.0f}};
  RecomputeRealTimeStatistics(doc);
  const std::string file = Home() + "/run.stdata";
  ASSERT_EQ(SaveDataFile(doc, file), "");

  const ProgramRun info = Cli({"info", file});
  ASSERT_EQ(info.exitCode, 0) << info.err;
  EXPECT_NE(info.out.find("Real-time points:      2"), std::string::npos) << info.out;
  EXPECT_NE(info.out.find("Real-time interval:    5 s"), std::string::npos) << info.out;
  EXPECT_NE(info.out.find("CH1 RMS max:           231.0 @"), std::string::npos) << info.out;
  EXPECT_EQ(info.out.find("RMS start:"), std::string::npos) << info.out;

  std::ostringstream csv, xls;
  WriteRealTimeCsv(csv, doc, {});
  WriteRealTimeExport(xls, doc);
  const ProgramRun toStdout = Cli({"export", "--csv", file, "-o", "-"});
  ASSERT_EQ(toStdout.exitCode, 0) << toStdout.err;
  EXPECT_EQ(toStdout.out, csv.str());
  const ProgramRun report = Cli({"export", file});
  ASSERT_EQ(report.exitCode, 0) << report.err;
  EXPECT_EQ(ReadTextFile(Home() + "/run-realtime.xls"), xls.str());

  struct Refusal {
    std::vector<std::string> args;
    std::string says;
  };
  const std::string empty = Home() + "/empty.stdata";
  CDTDoc nothing;
  nothing.formatTag = kTagStore;
  ASSERT_EQ(SaveDataFile(nothing, empty), "");
  for (const Refusal& r : {Refusal{{"export", "--csv", "--part", "store", file}, "no STORE data"},
                           Refusal{{"export", "--csv", empty}, "no data to export"},
                           Refusal{{"export", "--part", "realtime", empty}, "no data to export"}}) {
    const ProgramRun refused = Cli(r.args);
    EXPECT_EQ(refused.exitCode, 1) << r.says;
    EXPECT_NE(refused.err.find(r.says), std::string::npos) << refused.err;
  }
}

}  // namespace
}  // namespace acv::test
