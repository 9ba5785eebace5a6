// acvlogger-cli report: the printed pages as PDF, read back with poppler
// (pdfinfo for the page count, pdftotext -layout for the texts).
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <cstdio>
#include <filesystem>

#include "SimProcess.h"
#include "data/DataFile.h"
#include "data/TimeText.h"
#include "support/TestDataSets.h"

namespace acv::test {
namespace {

// n STORE RMS samples on the chosen channels and two TR records on CH2.
CDTDoc Store(int n, bool ch1, bool ch2) {
  CDTDoc doc;
  doc.rmsCount = n;
  doc.hasCh1 = ch1 ? 1 : 0;
  doc.hasCh2 = ch2 ? 1 : 0;
  doc.rmsUnitCh1 = "V";
  doc.rmsUnitCh2 = "A";
  doc.rmsInterval = 10.0f;
  doc.rmsStartTime = 1767261600;
  for (int i = 0; i < n; ++i) {
    if (ch1) doc.rmsCh1.push_back(230.0f + static_cast<float>(i % 5));
    if (ch2) doc.rmsCh2.push_back(5.0f);
  }
  test::AddTrRecords(doc, {{doc.rmsStartTime + 5, kUnitAmpere, kChannel2, 100.0f},
                           {doc.rmsStartTime + 7, kUnitVolt, kChannel1, 100.0f}});
  doc.ComputeStoreStatistics();
  doc.formatTag = kTagStore;
  return doc;
}

std::string Capture(const std::string& command) {
  std::string out;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
    pclose(pipe);
  }
  return out;
}

int Pages(const std::string& pdf) {
  const std::string info = Capture("pdfinfo '" + pdf + "'");
  const auto at = info.find("Pages:");
  return at == std::string::npos ? -1 : std::stoi(info.substr(at + 6));
}

// The text of one page, laid out as on the page.
std::string PageText(const std::string& pdf, int page) {
  const std::string p = std::to_string(page);
  return Capture("pdftotext -layout -f " + p + " -l " + p + " '" + pdf + "' -");
}

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

class ReportCli : public CliTest {
 protected:
  std::string Data(const CDTDoc& doc) {
    const std::string path = Home() + "/data.stdata";
    EXPECT_EQ(SaveDataFile(doc, path), "");
    return path;
  }
  std::string Pdf() const { return Home() + "/out.pdf"; }
  ProgramRun Report(const std::string& data, std::vector<std::string> args) {
    std::vector<std::string> all{"report", data};
    all.insert(all.end(), args.begin(), args.end());
    all.insert(all.end(), {"-o", Pdf()});
    return RunProgram(CliPath(), all, env_, 60000);
  }
};

TEST_F(ReportCli, ListPagesHold55RowsThen60AndEndWithTheFooter) {
  ASSERT_EQ(Report(Data(Store(55, true, true)), {"--list"}).exitCode, 0);
  EXPECT_EQ(Pages(Pdf()), 1);
  const ProgramRun run = Report(Data(Store(56, true, true)), {"--list"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  ASSERT_EQ(Pages(Pdf()), 2);
  const std::string one = PageText(Pdf(), 1);
  const std::string two = PageText(Pdf(), 2);
  EXPECT_TRUE(Has(one, "Test Report"));
  EXPECT_TRUE(Has(one, "MODE: STORE RMS"));
  EXPECT_TRUE(Has(one, "CH1 DATA MAX: 234.0 V @"));
  EXPECT_TRUE(Has(one, "55 "));
  EXPECT_FALSE(Has(one, "56 "));
  EXPECT_TRUE(Has(two, "56 "));  // row 55, counted from 1 as the list shows it
  EXPECT_FALSE(Has(two, "MODE:"));
  EXPECT_TRUE(Has(two, "CH2"));
  const std::string today = FormatTime(LocalNow(), "%d/%m/%y");
  // pdftotext shows the two blanks before "page" as one.
  EXPECT_TRUE(Has(two, today + " page2")) << two;
}

TEST_F(ReportCli, ATrRecordPrintsOnFivePagesWithoutTheBlock) {
  const ProgramRun run =
      Report(Data(Store(10, true, true)), {"--list", "--mode", "store-tr", "--record", "2"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  ASSERT_EQ(Pages(Pdf()), 5);
  const std::string first = PageText(Pdf(), 1);
  EXPECT_FALSE(Has(first, "MODE:"));
  EXPECT_TRUE(Has(first, "100.0 V"));  // record 2 is on CH1, in volts
  const std::string last = PageText(Pdf(), 5);
  EXPECT_TRUE(Has(last, "241 ") && Has(last, "251 "));
  EXPECT_FALSE(Has(last, "240 "));
}

TEST_F(ReportCli, TheGraphPageHeaderFollowsModeAndChannels) {
  ASSERT_EQ(Report(Data(Store(100, true, true)), {"--graph"}).exitCode, 0);
  ASSERT_EQ(Pages(Pdf()), 1);
  std::string text = PageText(Pdf(), 1);
  for (const char* part :
       {"MODE: STORE RMS", "SAMPLING RATE: 10 s", "START TIME: 01/01/26", "DATANO: 100",
        "CH1 DATA MAX: ", "CH1 DATA MIN: ", "CH2 DATA MAX: ", "CH2 DATA MIN: "}) {
    EXPECT_TRUE(Has(text, part)) << part << "\n" << text;
  }
  ASSERT_EQ(Report(Data(Store(100, false, true)), {"--graph"}).exitCode, 0);
  text = PageText(Pdf(), 1);
  EXPECT_TRUE(Has(text, "CH2 MAX: 5.0 A @")) << text;
  EXPECT_TRUE(Has(text, "CH2 MIN: 5.0A @")) << text;
  EXPECT_FALSE(Has(text, "CH1"));
  ASSERT_EQ(Report(Data(Store(100, true, true)), {"--graph", "--mode", "store-tr"}).exitCode, 0);
  EXPECT_FALSE(Has(PageText(Pdf(), 1), "MODE:"));
}

TEST_F(ReportCli, ProblemsGiveOneLineAndNoFile) {
  const std::string data = Data(Store(10, true, false));
  struct Case {
    std::vector<std::string> args;
    int exitCode;
  } cases[] = {
      {{"--list", "--mode", "realtime-rms"}, 1},  // no real-time points in the file
      {{"--list", "--mode", "store-tr", "--record", "3"}, 1},
      {{"--list", "--graph"}, 2},
      {{"--list", "--mode", "sideways"}, 2},
  };
  for (const Case& c : cases) {
    const ProgramRun run = Report(data, c.args);
    EXPECT_EQ(run.exitCode, c.exitCode) << c.args.back();
    EXPECT_FALSE(std::filesystem::exists(Pdf())) << c.args.back();
  }
  const ProgramRun missing = Report(Home() + "/none.stdata", {"--list"});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_EQ(std::count(missing.err.begin(), missing.err.end(), '\n'), 1) << missing.err;
}

// A report or an export sent to a device node leaves it a device; sent to
// the command's own input by another spelling, it is refused and the input
// stays as it was.
TEST_F(ReportCli, ADeviceStaysADeviceAndTheInputIsNeverWrittenOver) {
  const std::string data = Data(Store(10, true, false));
  const std::string before = ReadTextFile(data);
  const std::string node = Home() + "/node";
  const bool madeNode = ::mknod(node.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
  if (!madeNode) std::printf("[ SKIPPED  ] device node target: mknod needs root\n");
  std::filesystem::create_symlink(data, Home() + "/link.stdata");
  const std::vector<std::vector<std::string>> commands = {
      {"report", data, "--graph"}, {"report", data, "--list"}, {"export", data}};
  for (const std::vector<std::string>& command : commands) {
    SCOPED_TRACE(command[0] + " " + command.back());
    if (madeNode) {
      std::vector<std::string> args = command;
      args.insert(args.end(), {"-o", node});
      const ProgramRun run = RunProgram(CliPath(), args, env_, 60000);
      EXPECT_EQ(run.exitCode, 0) << run.err;
      struct stat st {};
      ASSERT_EQ(::lstat(node.c_str(), &st), 0);
      EXPECT_TRUE(S_ISCHR(st.st_mode));
    }
    for (const std::string& spelling : {Home() + "/./data.stdata", Home() + "/link.stdata"}) {
      std::vector<std::string> args = command;
      args.insert(args.end(), {"-o", spelling});
      const ProgramRun run = RunProgram(CliPath(), args, env_, 60000);
      EXPECT_EQ(run.exitCode, 1);
      EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
      EXPECT_NE(run.err.find("it is the input file"), std::string::npos) << run.err;
    }
    EXPECT_EQ(ReadTextFile(data), before);
  }
}

// The summary: its text pages (here one: two transients, no level event),
// the compliance page of its channel in V, then the graph page with its
// header.
TEST_F(ReportCli, SummaryPagesAndTheGraphAfterThem) {
  const std::string data = Home() + "/s.stdata";
  ASSERT_EQ(SaveDataFile(Store(100, true, true), data), "");
  const std::string pdf = Home() + "/summary.pdf";
  const ProgramRun run = RunProgram(CliPath(), {"report", data, "--summary", "-o", pdf}, env_);
  ASSERT_TRUE(run.finished);
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(Pages(pdf), 3);
  const std::string summary = PageText(pdf, 1);
  for (const char* text : {"Summary Report", "FILE: s.stdata", "MODE: STORE RMS", "EVENTS: 2",
                           "transient", "Energy:", "Band 207.0 .. 253.0 V"}) {
    EXPECT_NE(summary.find(text), std::string::npos) << text << " in\n" << summary;
  }
  const std::string compliance = PageText(pdf, 2);
  for (const char* text :
       {"Compliance Report", "WEEKLY VERDICT, CH1", "0.1 %", "pass", "dip < 5 %"}) {
    EXPECT_NE(compliance.find(text), std::string::npos) << text << " in\n" << compliance;
  }
  EXPECT_NE(PageText(pdf, 3).find("MODE: STORE RMS"), std::string::npos);
  const ProgramRun tr =
      RunProgram(CliPath(), {"report", data, "--summary", "--mode", "store-tr", "-o", pdf}, env_);
  EXPECT_EQ(tr.exitCode, 2) << tr.err;
}

}  // namespace
}  // namespace acv::test
