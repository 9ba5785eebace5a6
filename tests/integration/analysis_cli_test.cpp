// acvlogger-cli stats and events on a small hand-made data file: the JSON
// and CSV a script reads, and the table and band summary a person reads.
#include <gtest/gtest.h>

#include "SimProcess.h"
#include "data/DataFile.h"

namespace acv::test {
namespace {

class AnalysisCli : public CliTest {
 protected:
  // CH1 in V with a dip (points 2-3) and a swell still running at the end,
  // CH2 in A; one TR record 90 s after the start. 60 s points from
  // 2026-03-01 10:00:00 (tests run in UTC).
  std::string File() {
    CDTDoc doc;
    doc.rmsCount = 5;
    doc.hasCh1 = doc.hasCh2 = 1;
    doc.rmsUnitCh1 = "V";
    doc.rmsUnitCh2 = "A";
    doc.rmsCh1 = {230, 200, 200, 230, 260};
    doc.rmsCh2 = {1, 2, 3, 4, 5};
    doc.rmsInterval = 60.0f;
    doc.rmsStartTime = 1772359200;
    doc.trCount = 1;
    doc.trWaves.assign(kTrWavePoints, 20.0f);
    doc.trWaves[9] = -300.0f;
    doc.trTimes = {doc.rmsStartTime + 90};
    doc.trUnit = {kUnitVolt};
    doc.trChannel = {kChannel1};
    doc.formatTag = kTagStore;
    const std::string path = Home() + "/dips.stdata";
    EXPECT_EQ(SaveDataFile(doc, path), "");
    return path;
  }
};

TEST_F(AnalysisCli, StatsOfASpan) {
  const std::string file = File();
  const ProgramRun json =
      RunProgram(CliPath(), {"stats", file, "--from", "1", "--to", "4", "--json"}, env_);
  ASSERT_TRUE(json.finished);
  EXPECT_EQ(json.exitCode, 0) << json.err;
  EXPECT_EQ(json.out,
            "{\"points\":4,\"first\":1,\"last\":4,\"start\":\"2026-03-01T10:00:00\","
            "\"end\":\"2026-03-01T10:04:00\","
            "\"ch1\":{\"unit\":\"V\",\"min\":200,\"min_point\":2,\"max\":230,\"max_point\":1,"
            "\"mean\":215,\"stddev\":15},"
            "\"ch2\":{\"unit\":\"A\",\"min\":1,\"min_point\":1,\"max\":4,\"max_point\":4,"
            "\"mean\":2.5,\"stddev\":1.118034},"
            "\"mean_va\":537.5,\"energy_vah\":35.833332}\n");

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
  const ProgramRun csv = RunProgram(CliPath(), {"events", file, "--csv"}, env_);
  ASSERT_TRUE(csv.finished);
  EXPECT_EQ(csv.exitCode, 0) << csv.err;
  EXPECT_EQ(csv.out,
            "event,kind,channel,first_point,last_point,start,end,duration_s,extreme,unit,open\n"
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
  EXPECT_NE(table.out.find("Band 180.0 .. 220.0 V (Un 200 V +- 10 %)\n"
                           "CH1: 40.0 % of 5 points within the band; no complete 10 minutes\n"),
            std::string::npos)
      << table.out;
}

// The simulator's excursions come through a download as the events they
// are meant to be: each kind in turn, the interruptions down to LO.
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
  EXPECT_EQ(kinds, (std::vector<std::string>{"dip", "swell", "transient", "interruption", "dip"}))
      << csv.out;
  EXPECT_NE(csv.out.find(",0,V,0\n"), std::string::npos) << "an interruption down to LO";
}

}  // namespace
}  // namespace acv::test
