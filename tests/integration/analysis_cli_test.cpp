// acvlogger-cli stats and events on a small hand-made data file: the JSON
// and CSV a script reads, and the table and band summary a person reads.
#include <gtest/gtest.h>

#include <QDir>
#include <fstream>

#include "SimProcess.h"
#include "data/DataFile.h"
#include "support/TestDataSets.h"

namespace acv::test {
namespace {

class AnalysisCli : public CliTest {
 protected:
  static void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
  }
  // Runs the CLI, which must succeed and print exactly `out`.
  void ExpectPrints(const std::vector<std::string>& args, const std::string& out) {
    const ProgramRun run = RunProgram(CliPath(), args, env_);
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, out);
  }
  static constexpr const char* kEventsHeader =
      "event,kind,channel,first_point,last_point,start,end,duration_s,extreme,unit,open\n";
  // CH1 in V with a dip (points 2-3) and a swell still running at the end,
  // CH2 in A; one TR record 90 s after the start. 60 s points from
  // 2026-03-01 10:00:00 (tests run in UTC).
  std::string File() {
    CDTDoc doc;
    static_cast<StoreFamily&>(doc) = test::StoreOf({230, 200, 200, 230, 260}, {1, 2, 3, 4, 5});
    test::AddTrRecords(doc, {{doc.rmsStartTime + 90, kUnitVolt, kChannel1, 20.0f, {{9, -300.0f}}}});
    doc.formatTag = kTagStore;
    const std::string path = Home() + "/dips.stdata";
    EXPECT_EQ(SaveDataFile(doc, path), "");
    return path;
  }
};

TEST_F(AnalysisCli, StatsOfASpan) {
  const std::string file = File();
  ExpectPrints({"stats", file, "--from", "1", "--to", "4", "--json"},
               "{\"points\":4,\"first\":1,\"last\":4,\"start\":\"2026-03-01T10:00:00\","
               "\"end\":\"2026-03-01T10:04:00\","
               "\"ch1\":{\"unit\":\"V\",\"min\":200,\"min_point\":2,\"max\":230,\"max_point\":1,"
               "\"mean\":215,\"stddev\":15,\"left_out\":0,"
               "\"percentiles\":{\"p1\":200,\"p5\":200,\"p50\":200,\"p95\":230,\"p99\":230},"
               "\"band\":{\"low\":207,\"high\":253,\"points\":4,\"points_within\":2,"
               "\"ten_min_values\":0,\"ten_min_flagged\":0,\"ten_min_within\":0}},"
               "\"ch2\":{\"unit\":\"A\",\"min\":1,\"min_point\":1,\"max\":4,\"max_point\":4,"
               "\"mean\":2.5,\"stddev\":1.118034,\"left_out\":0,"
               "\"percentiles\":{\"p1\":1,\"p5\":1,\"p50\":2,\"p95\":4,\"p99\":4}},"
               "\"mean_va\":537.5,\"energy_vah\":35.833332,\"energy_left_out\":0}\n");

  const ProgramRun text = RunProgram(CliPath(), {"stats", file, "--from", "5"}, env_);
  EXPECT_EQ(text.exitCode, 0) << text.err;
  EXPECT_NE(text.out.find("Points:      5 .. 5 (1)\n"), std::string::npos) << text.out;
  EXPECT_NE(text.out.find("CH1      V     260.0         5  260.0         5  260.00    0.000\n"),
            std::string::npos)
      << text.out;
  EXPECT_NE(text.out.find("Mean S(VA):  1300.0 VA\nEnergy:      21.667 VAh\n"), std::string::npos)
      << text.out;
}

TEST_F(AnalysisCli, EventsAsCsvAndAsATableWithTheBandSummary) {
  const std::string file = File();
  ExpectPrints({"events", file, "--csv"},
               std::string(kEventsHeader) +
                   "1,dip,CH1,2,3,2026-03-01T10:01:00,2026-03-01T10:03:00,120,200,V,0\n"
                   "2,transient,CH1,,,2026-03-01T10:01:30,2026-03-01T10:01:30,0.0219374,-300,V,0\n"
                   "3,swell,CH1,5,5,2026-03-01T10:04:00,2026-03-01T10:05:00,60,260,V,1\n");

  // Un 200 V: the 200 V points are no dip, 230 V is a swell; and 4 A is over 3.5 A.
  const ProgramRun table =
      RunProgram(CliPath(), {"events", file, "--nominal", "200", "--over-current", "3.5"}, env_);
  EXPECT_EQ(table.exitCode, 0) << table.err;
  EXPECT_EQ(table.out.substr(0, table.out.find('\n')),
            "No.  Kind          Channel  First  Last  Start                End                  "
            "Duration  Extreme  Open");
  EXPECT_NE(table.out.find("  1  swell         CH1          1     1"), std::string::npos)
      << table.out;
  EXPECT_NE(table.out.find("over-current  CH2          4     5"), std::string::npos) << table.out;
  EXPECT_NE(table.out.find("Band 180.0 .. 220.0 V (Un 200 V ± 10 %)\n"
                           "CH1: 2 of 5 points within the band (40.0 %); no complete 10-minute "
                           "interval\n"),
            std::string::npos)
      << table.out;
}

// A day of 60 s points with ten 10-minute intervals of 203 V and 303 V in
// turn (no events under these limits), one of them holding a one-minute
// dip: the RMS of each, not its mean, is judged against the band.
// Behind a 100:1 transformer (kept in the settings) the same events are
// found against a primary nominal voltage, with primary extremes; an option
// overrides the settings, and a bad one is a usage error naming it.
TEST_F(AnalysisCli, ValuesInPrimaryUnitsFromTheSettingsOrTheOptions) {
  const std::string file = File();
  QDir().mkpath(QString::fromStdString(Home() + "/config/acvlogger"));
  WriteText(SettingsPath(), "[CHANNELScaling]\nRATIO1=100\nSCALE1=0.5\n");
  ExpectPrints(
      {"events", file, "--csv", "--nominal", "23000"},
      std::string(kEventsHeader) +
          "1,dip,CH1,2,3,2026-03-01T10:01:00,2026-03-01T10:03:00,120,20000,V,0\n"
          "2,transient,CH1,,,2026-03-01T10:01:30,2026-03-01T10:01:30,0.0219374,-15000,V,0\n"
          "3,swell,CH1,5,5,2026-03-01T10:04:00,2026-03-01T10:05:00,60,26000,V,1\n");

  const ProgramRun info = RunProgram(CliPath(), {"info", file, "--ratio-ch2", "10"}, env_);
  EXPECT_EQ(info.exitCode, 0) << info.err;
  EXPECT_NE(info.out.find("CH1 maximum:           26000.0 V @"), std::string::npos) << info.out;
  EXPECT_NE(info.out.find("CH2 minimum:           10.0A @"), std::string::npos) << info.out;

  const ProgramRun plain = RunProgram(
      CliPath(), {"export", file, "--csv", "-o", "-", "--ratio-ch1", "1", "--scale-ch1", "1"},
      env_);
  EXPECT_EQ(plain.exitCode, 0) << plain.err;
  EXPECT_NE(plain.out.find("\r\n1,RMS,230,V,1,A,"), std::string::npos) << plain.out;

  const ProgramRun bad = RunProgram(CliPath(), {"stats", file, "--scale-ch2", "0"}, env_);
  EXPECT_EQ(bad.exitCode, 2);
  EXPECT_NE(bad.err.find("--scale-ch2 must be a number between 1e-06 and 1e+06, not '0'"),
            std::string::npos)
      << bad.err;
}

TEST_F(AnalysisCli, StatsJsonCarriesTheBandAndItsTenMinuteValues) {
  CDTDoc doc;
  doc.rmsCount = 105;  // 10:00 .. 11:44: ten complete intervals and 5 points
  doc.hasCh1 = 1;
  doc.rmsUnitCh1 = "V";
  for (int k = 0; k < doc.rmsCount; ++k) doc.rmsCh1.push_back(k < 50 && k % 2 ? 303 : 203);
  for (int k = 50; k < doc.rmsCount; ++k) doc.rmsCh1[static_cast<std::size_t>(k)] = 230;
  doc.rmsCh1[73] = 150;
  doc.rmsInterval = 60.0f;
  doc.rmsStartTime = 1772359200;
  doc.formatTag = kTagStore;
  const std::string file = Home() + "/band.stdata";
  ASSERT_EQ(SaveDataFile(doc, file), "");
  const ProgramRun json = RunProgram(
      CliPath(), {"stats", file, "--json", "--dip", "80", "--swell", "140", "--band", "10"}, env_);
  ASSERT_TRUE(json.finished);
  EXPECT_EQ(json.exitCode, 0) << json.err;
  EXPECT_NE(json.out.find("\"band\":{\"low\":207,\"high\":253,\"points\":105,"
                          "\"points_within\":54,\"ten_min_values\":10,"
                          "\"ten_min_flagged\":1,\"ten_min_within\":4}"),
            std::string::npos)
      << json.out;

  // A band outside 1 .. 50 or not a number is a usage error, as are
  // thresholds out of order; the message names the option.
  for (const std::vector<std::string>& bad : {std::vector<std::string>{"--band", "60"},
                                              {"--band", "0.5"},
                                              {"--band", "ten"},
                                              {"--band"},
                                              {"--dip", "120"}}) {
    std::vector<std::string> args = {"stats", file};
    args.insert(args.end(), bad.begin(), bad.end());
    const ProgramRun run = RunProgram(CliPath(), args, env_);
    EXPECT_EQ(run.exitCode, 2) << bad[0] << ": " << run.err;
    EXPECT_NE(run.err.find(bad[0] == "--dip" ? "must rise" : "--band"), std::string::npos)
        << run.err;
    EXPECT_TRUE(run.out.empty()) << run.out;
  }
  const ProgramRun events = RunProgram(CliPath(), {"events", file, "--band", "51"}, env_);
  EXPECT_EQ(events.exitCode, 2) << events.err;
}

// The simulator's excursions come through a download as the events they
// are meant to be: each kind in turn, the interruption down to LO inside
// its dip.
TEST_F(AnalysisCli, SimulatedDipsSwellsAndInterruptionsAreFoundAfterADownload) {
  SimProcess sim({"--synthetic", "samples=1200,tr=1,dips=2,swells=1,interruptions=1"});
  ASSERT_TRUE(sim.Started()) << sim.Error();
  const std::string file = Home() + "/F.stdata";
  const ProgramRun download =
      RunProgram(CliPath(), {"download", "--port", sim.Device(), "-o", file}, env_, 60000);
  ASSERT_EQ(download.exitCode, 0) << download.err;
  const ProgramRun csv = RunProgram(CliPath(), {"events", file, "--csv"}, env_);
  ASSERT_EQ(csv.exitCode, 0) << csv.err;
  std::vector<std::string> kinds;
  for (std::size_t at = csv.out.find('\n') + 1; at < csv.out.size();) {
    const std::size_t comma = csv.out.find(',', at) + 1;
    kinds.push_back(csv.out.substr(comma, csv.out.find(',', comma) - comma));
    at = csv.out.find('\n', at) + 1;
  }
  EXPECT_EQ(kinds,
            (std::vector<std::string>{"dip", "swell", "transient", "dip", "interruption", "dip"}))
      << csv.out;
  EXPECT_NE(csv.out.find(",0,V,0\n"), std::string::npos) << "an interruption down to LO";
}

}  // namespace
}  // namespace acv::test
