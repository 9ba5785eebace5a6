// acvlogger-cli realtime against the simulated logger: real port, real
// timers. The CSV is checked against the sines the simulator was given, and
// the previous-measurement file against the CSV.
#include <gtest/gtest.h>
#include <signal.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <regex>
#include <sstream>

#include "SimProcess.h"
#include "data/CDTDoc.h"
#include "data/DataFile.h"
#include "data/TimeText.h"

namespace acv::test {
namespace {

constexpr const char* kHeader =
    "point,time,ch1_rms,ch1_hz,ch2_rms,ch2_hz,s_va,p_w,q_var,pf,phi_deg";
constexpr std::size_t kColumns = 11;
constexpr const char* kStopFrame = "C8 C8 C8 C8 C8 C8 C8 C9";

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string l; std::getline(in, l);) lines.push_back(l);
  return lines;
}

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = line.find(',', start);
    fields.push_back(line.substr(start, comma - start));
    if (comma == std::string::npos) return fields;
    start = comma + 1;
  }
}

class RealTimeCli : public CliTest {
 protected:
  ProgramRun Cli(const std::vector<std::string>& args) {
    std::vector<std::string> all{"realtime"};
    all.insert(all.end(), args.begin(), args.end());
    return RunProgram(CliPath(), all, env_, 60000);
  }
  std::vector<std::string> Trace() const { return Lines(ReadTextFile(TracePath())); }
  // The fields of the line a run of one point prints; empty if it printed
  // no such line.
  std::vector<std::string> OnePoint(const SimProcess& sim) {
    const ProgramRun run = Cli({"--port", sim.Device(), "--interval", "2", "--points", "1"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    const std::vector<std::string> lines = Lines(run.out);
    if (lines.size() != 2 || Fields(lines[1]).size() != kColumns) {
      ADD_FAILURE() << run.out;
      return {};
    }
    return Fields(lines[1]);
  }
};

TEST_F(RealTimeCli, ShortRunMatchesTheSinesAndIsKeptAsPreviousMeasurement) {
  SimProcess sim({"--rt-ch1", "V:1000:50", "--rt-ch2", "A:300:60", "--trace", TracePath()});
  ASSERT_TRUE(sim.Started()) << sim.Error();
  const std::string csvPath = Home() + "/points.csv";
  const ProgramRun run =
      Cli({"--port", sim.Device(), "--interval", "2", "--points", "2", "-o", csvPath});
  ASSERT_TRUE(run.finished);
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(run.out.empty());

  const std::vector<std::string> lines = Lines(ReadTextFile(csvPath));
  ASSERT_EQ(lines.size(), 3u) << ReadTextFile(csvPath);
  EXPECT_EQ(lines[0], kHeader);
  const std::regex time(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d)");
  std::vector<std::vector<std::string>> points;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const std::vector<std::string> f = Fields(lines[i]);
    ASSERT_EQ(f.size(), kColumns) << lines[i];
    EXPECT_EQ(f[0], std::to_string(i));
    EXPECT_TRUE(std::regex_match(f[1], time)) << f[1];
    EXPECT_NEAR(std::stod(f[2]), 1000 / std::sqrt(2.0), 7.0);
    EXPECT_NEAR(std::stod(f[3]), 50.0, 0.2);
    EXPECT_NEAR(std::stod(f[4]), 300 / std::sqrt(2.0), 3.0);
    EXPECT_NEAR(std::stod(f[5]), 60.0, 0.3);
    EXPECT_NEAR(std::stod(f[6]), std::stod(f[2]) * std::stod(f[4]), 60.0);
    points.push_back(f);
  }
  // Points are one interval apart in time.
  const auto seconds = [](const std::string& t) { return std::stoi(t.substr(17, 2)); };
  EXPECT_EQ((seconds(points[1][1]) - seconds(points[0][1]) + 60) % 60, 2);

  // The logger was told to stop.
  const std::vector<std::string> trace = Trace();
  ASSERT_FALSE(trace.empty());
  EXPECT_EQ(trace.back(), kStopFrame);

  // The previous measurement holds the same points.
  CDTDoc loaded;
  const LoadResult load = LoadPreviousMeasurement(PreviousPath(), loaded);
  ASSERT_TRUE(load.ok) << load.error;
  EXPECT_EQ(load.tag, kTagRealTime);
  ASSERT_EQ(loaded.rtCount, 2);
  EXPECT_EQ(loaded.rtInterval, 2);
  EXPECT_EQ(loaded.rtUnitCh1, "V");
  EXPECT_EQ(loaded.rtUnitCh2, "A");
  for (int i = 0; i < 2; ++i) {
    // The CSV gives each value with the digits that read back as the float kept.
    EXPECT_EQ(std::stof(points[i][2]), loaded.rtRms[i].ch1) << points[i][2];
    EXPECT_EQ(std::stof(points[i][5]), loaded.rtFreq[i].ch2) << points[i][5];
    EXPECT_EQ(FormatTime(loaded.RealTimeSampleTime(i), kCsvTimeFormat), points[i][1]);
  }
}

// A block of the logger is cut short (or carries a byte too many): no point
// is computed from a wave made of two blocks. Answering each request, the
// logger sends the next block only for the first frame's repeat; streaming,
// it sends it without being asked, 10 to 200 ms after the cut one, too soon
// for a pause to show where one ends. The first point comes 10 ms after the
// first block taken, before the next streamed block replaces its wave.
TEST_F(RealTimeCli, ACutBlockIsNeverSplicedWithTheNext) {
  const std::vector<std::vector<std::string>> faults = {
      {"--cut-rt-block", "1:1182"},
      {"--cut-rt-block", "1:2364"},
      {"--cut-rt-block", "1:2366"},
      {"--cut-rt-block", "1:1000", "--rt-stream", "10"},
      {"--cut-rt-block", "1:1000", "--rt-stream", "50"},
      {"--cut-rt-block", "1:7", "--rt-stream", "150"},
      {"--cut-rt-block", "1:2364", "--rt-stream", "200"},
      {"--cut-rt-block", "4:1500", "--rt-stream", "100"},
  };
  for (const std::vector<std::string>& fault : faults) {
    SCOPED_TRACE(fault[1] + (fault.size() > 2 ? " streamed every " + fault[3] + " ms" : ""));
    std::vector<std::string> options = {"--rt-ch1", "V:1000:50", "--rt-ch2", "off"};
    options.insert(options.end(), fault.begin(), fault.end());
    SimProcess sim(options);
    ASSERT_TRUE(sim.Started()) << sim.Error();
    const ProgramRun run = Cli({"--port", sim.Device(), "--interval", "2", "--points", "2"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 3u) << run.out;
    for (std::size_t i = 1; i < lines.size(); ++i) {
      const std::vector<std::string> f = Fields(lines[i]);
      ASSERT_GE(f.size(), 4u);
      EXPECT_NEAR(std::stod(f[2]), 1000 / std::sqrt(2.0), 7.0) << lines[i];
      EXPECT_NEAR(std::stod(f[3]), 50.0, 0.2) << lines[i];
    }
  }
}

TEST_F(RealTimeCli, AbsentChannelLeavesItsFieldsEmpty) {
  SimProcess sim({"--rt-ch1", "A:800:50", "--rt-ch2", "off"});
  ASSERT_TRUE(sim.Started()) << sim.Error();
  const std::vector<std::string> f = OnePoint(sim);
  ASSERT_FALSE(f.empty());
  EXPECT_FALSE(f[2].empty());
  for (std::size_t i = 4; i < kColumns; ++i) EXPECT_TRUE(f[i].empty()) << i;
}

// The simulator's default pair: 325-count mains voltage with 3 % third
// harmonic, 85-count current lagging 25 degrees with 12 % third and 5 % fifth
// harmonics (each harmonic shifted by its order times the lag). S, P and Q
// are checked against what these waves carry:
//   P = mean of v x i: only equal orders carry power, the fundamentals and
//       the third harmonics: 1/2 x 325 x 85 x (cos 25 + 0.03 x 0.12 x cos 75)
//   S = Vrms x Irms, each the root of the sum of its orders' squares over 2
//   Q = sqrt(S^2 - P^2): with harmonics more than Vrms x Irms x sin 25
// The program measures from the first zero crossing of a wave to the last,
// both samples included: one sample more than the whole period of about 366
// samples (18.28 kHz), so P and each RMS^2 read about 0.3 % low; the
// crossings fall on whole samples and the samples are whole counts. 1 %
// covers that for S and P. Q, the difference of two near squares, takes
// their errors enlarged by up to (S + P) / Q, about 4, where they differ:
// 2 %.
TEST_F(RealTimeCli, PowerOfTheSimulatorsDefaultWaves) {
  SimProcess sim;
  ASSERT_TRUE(sim.Started()) << sim.Error();
  const std::vector<std::string> f = OnePoint(sim);
  ASSERT_FALSE(f.empty());

  const double degree = std::numbers::pi / 180;
  const double p = 0.5 * 325 * 85 * (std::cos(25 * degree) + 0.03 * 0.12 * std::cos(75 * degree));
  const double s = 325 / std::sqrt(2.0) * std::sqrt(1 + 0.03 * 0.03) * 85 / std::sqrt(2.0) *
                   std::sqrt(1 + 0.12 * 0.12 + 0.05 * 0.05);
  const double q = std::sqrt(s * s - p * p);
  EXPECT_NEAR(std::stod(f[6]), s, 0.01 * s);
  EXPECT_NEAR(std::stod(f[7]), p, 0.01 * p);
  EXPECT_NEAR(std::stod(f[8]), q, 0.02 * q);  // positive: lagging, inductive
  EXPECT_NEAR(std::stod(f[9]), p / s, 0.01);
  EXPECT_NEAR(std::stod(f[10]), 25.0, 1.0);
}

// FILE is opened only once the logger answered: no logger or a silent one
// leave an existing FILE whole.
TEST_F(RealTimeCli, ARunThatNeverStartedLeavesAnExistingCsvAlone) {
  const std::string csv = Home() + "/kept.csv";
  SimProcess silent({"--silent"});
  ASSERT_TRUE(silent.Started());
  for (const std::string& port : {std::string("/dev/acv-no-such-port"), silent.Device()}) {
    SCOPED_TRACE(port);
    { std::ofstream(csv) << "earlier run\n"; }
    const ProgramRun run = Cli({"--port", port, "--interval", "2", "--points", "3", "-o", csv});
    EXPECT_NE(run.exitCode, 0);
    EXPECT_EQ(ReadTextFile(csv), "earlier run\n");
  }
}

TEST_F(RealTimeCli, NoChannelAndChannelChangeExitThree) {
  SimProcess none({"--no-channel", "--trace", TracePath()});
  ASSERT_TRUE(none.Started()) << none.Error();
  ProgramRun run = Cli({"--port", none.Device(), "--interval", "2", "--points", "5"});
  EXPECT_EQ(run.exitCode, 3);
  EXPECT_NE(run.err.find("There is no channel!"), std::string::npos) << run.err;
  EXPECT_EQ(Lines(run.out), (std::vector<std::string>{kHeader}));
  EXPECT_EQ(Trace().back(), kStopFrame);
  // Nothing measured: no previous measurement written.
  EXPECT_TRUE(ReadTextFile(PreviousPath()).empty());

  SimProcess changing({"--channel-change-after", "1"});
  ASSERT_TRUE(changing.Started()) << changing.Error();
  run = Cli({"--port", changing.Device(), "--interval", "2", "--points", "100"});
  EXPECT_EQ(run.exitCode, 3);
  EXPECT_NE(run.err.find("The channel is changed,please restart!"), std::string::npos) << run.err;
  const std::size_t points = Lines(run.out).size() - 1;
  EXPECT_GE(points, 2u);
  CDTDoc loaded;
  ASSERT_TRUE(LoadPreviousMeasurement(PreviousPath(), loaded).ok);
  EXPECT_EQ(static_cast<std::size_t>(loaded.rtCount), points);
  EXPECT_EQ(loaded.rtHasCh2, 1);
}

TEST_F(RealTimeCli, VanishingLoggerKeepsThePointsAndExitsOne) {
  SimProcess sim({"--vanish-after-blocks", "2"});
  ASSERT_TRUE(sim.Started()) << sim.Error();
  const ProgramRun run = Cli({"--port", sim.Device(), "--interval", "2", "--points", "100"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("Communication interruption!"), std::string::npos) << run.err;
  const std::size_t points = Lines(run.out).size() - 1;
  EXPECT_GE(points, 2u);
  CDTDoc loaded;
  ASSERT_TRUE(LoadPreviousMeasurement(PreviousPath(), loaded).ok);
  EXPECT_EQ(static_cast<std::size_t>(loaded.rtCount), points);
}

// Every point taken, but not kept as the previous measurement (its folder
// cannot be made): the CSV has the points, and the exit status says the
// run did not wholly succeed.
TEST_F(RealTimeCli, APreviousMeasurementThatCannotBeKeptIsNoSuccess) {
  QDir().mkpath(QString::fromStdString(Home() + "/data"));
  std::ofstream(Home() + "/data/acvlogger") << "a file where the folder belongs";
  SimProcess sim;
  ASSERT_TRUE(sim.Started()) << sim.Error();
  const ProgramRun run = Cli({"--port", sim.Device(), "--interval", "2", "--points", "2"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(Lines(run.out).size(), 3u) << run.out;
  EXPECT_NE(run.err.find("the previous measurement was not saved"), std::string::npos) << run.err;
}

TEST_F(RealTimeCli, InterruptStopsLikeTheStopCommand) {
  SimProcess sim({"--trace", TracePath()});
  ASSERT_TRUE(sim.Started()) << sim.Error();
  QProcess cli;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  for (const auto& [name, value] : env_)
    environment.insert(QString::fromStdString(name), QString::fromStdString(value));
  cli.setProcessEnvironment(environment);
  cli.start(QString::fromStdString(CliPath()),
            {"realtime", "--port", QString::fromStdString(sim.Device()), "--interval", "2",
             "--points", "100"});
  ASSERT_TRUE(cli.waitForStarted(5000));
  std::string out;
  // Wait for the first point, then Ctrl-C.
  while (Lines(out).size() < 2 && cli.state() == QProcess::Running) {
    cli.waitForReadyRead(1000);
    out += cli.readAllStandardOutput().toStdString();
  }
  ASSERT_EQ(Lines(out).size(), 2u) << out;
  ::kill(static_cast<pid_t>(cli.processId()), SIGINT);
  ASSERT_TRUE(cli.waitForFinished(5000));
  out += cli.readAllStandardOutput().toStdString();
  EXPECT_EQ(cli.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(cli.exitCode(), 130);
  EXPECT_EQ(Trace().back(), kStopFrame);
  CDTDoc loaded;
  ASSERT_TRUE(LoadPreviousMeasurement(PreviousPath(), loaded).ok);
  EXPECT_EQ(static_cast<std::size_t>(loaded.rtCount), Lines(out).size() - 1);
}

TEST_F(RealTimeCli, ValuesOutOfRangeAreRefused) {
  const std::vector<std::vector<std::string>> bad = {
      {"--interval", "1", "--points", "10"},
      {"--interval", "3601", "--points", "10"},
      {"--interval", "2", "--points", "0"},
      {"--interval", "2", "--points", "100001"},
      {"--interval", "2s", "--points", "10"},
      {"--points", "10"},
      {"--interval", "2", "--points", "10", "--bogus"},
  };
  for (const auto& args : bad) {
    const ProgramRun run = Cli(args);
    EXPECT_EQ(run.exitCode, 2) << args[1];
    EXPECT_TRUE(run.out.empty());
    if (args[1] == "1") {
      EXPECT_NE(run.err.find("between 2 and 3600"), std::string::npos) << run.err;
    }
  }
}

}  // namespace
}  // namespace acv::test
