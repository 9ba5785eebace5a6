// Every subcommand's exit status against its own help text: each case runs
// acvlogger-cli and finds the words of the help's "Exit status:" entry for
// the status it got.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <numeric>
#include <regex>
#include <sstream>

#include "SimProcess.h"
#include "data/DataFile.h"
#include "support/TestDataSets.h"

namespace acv::test {
namespace {

// "Exit status: 0 saved; 1 no logger, ...; 2 ..." -> {0: "saved", 1: ...}
std::map<int, std::string> ExitStatusOfHelp(const std::string& subcommand) {
  const ProgramRun help = RunProgram(CliPath(), {subcommand, "--help"});
  std::string text = help.out.substr(std::min(help.out.find("Exit status:"), help.out.size()));
  text = std::regex_replace(text, std::regex("\\s+"), " ");
  std::map<int, std::string> meaning;
  const std::regex entry("(?:: |; )(\\d+) ([^;]*)");
  for (std::sregex_iterator it(text.begin(), text.end(), entry), end; it != end; ++it)
    meaning[std::stoi((*it)[1])] = (*it)[2];
  return meaning;
}

class CliExitCodes : public CliTest {};

TEST_F(CliExitCodes, EverySubcommandExitsAsItsHelpSays) {
  const std::string data = Home() + "/d.stdata";
  CDTDoc doc;
  doc.rmsCount = 1;
  doc.hasCh1 = 1;
  doc.rmsCh1 = {230.0f};
  test::AddTrRecords(doc, {{doc.rmsStartTime, kUnitVolt, kChannel1, 100.0f}});  // for comtrade
  doc.formatTag = kTagStore;
  ASSERT_EQ(SaveDataFile(doc, data), "");
  const std::string noFolder = Home() + "/no/such/folder/out";
  const std::string noDevice = "/dev/acv-no-such-port";
  SimProcess logger({"--synthetic", "samples=100,tr=1"});
  SimProcess empty({"--empty"});
  SimProcess logging({"--refuse-logging"});
  SimProcess noChannel({"--no-channel"});
  for (const SimProcess* sim : {&logger, &empty, &logging, &noChannel})
    ASSERT_TRUE(sim->Started()) << sim->Error();

  struct Case {
    std::vector<std::string> args;
    int status;
    std::string helpWords;  // found in the help's entry for that status
  };
  const std::vector<Case> cases{
      {{"info", data}, 0, "read"},
      {{"info", Home() + "/none.stdata"}, 1, "cannot be read"},
      {{"info", "--bogus"}, 2, "usage"},
      {{"export", data, "-o", Home() + "/d.csv", "--csv"}, 0, "written"},
      {{"export", data, "-o", noFolder}, 1, "cannot be written"},
      {{"export"}, 2, "usage"},
      {{"ports", "--port"}, 2, "usage"},
      {{"probe", "--port", logger.Device()}, 0, "found"},
      {{"probe", "--port", noDevice}, 1, "not found"},
      {{"setup", "--port", logger.Device()}, 0, "acknowledged"},
      {{"setup", "--port", noDevice}, 1, "no logger"},
      {{"setup", "--rate", "ten"}, 2, "usage"},
      {{"clock", "--port", noDevice}, 1, "no logger"},
      {{"clock", "--time", "tomorrow"}, 2, "usage"},
      {{"download", "--port", logger.Device(), "-o", Home() + "/F"}, 0, "saved"},
      {{"download", "--port", logger.Device(), "-o", noFolder}, 1, "file error"},
      {{"download", "--port", noDevice, "-o", Home() + "/G"}, 1, "no logger"},
      {{"download", "--port", empty.Device(), "-o", Home() + "/G"}, 2, "nothing stored"},
      {{"download", "--port", logging.Device(), "-o", Home() + "/G"}, 2, "logging"},
      {{"download"}, 2, "usage"},
      {{"realtime", "--port", noDevice, "--interval", "2", "--points", "1"}, 1, "no logger"},
      {{"realtime", "--port", logger.Device(), "--interval", "2", "--points", "1", "-o", noFolder},
       1,
       "output could not be written"},
      {{"realtime", "--port", noChannel.Device(), "--interval", "2", "--points", "1"},
       3,
       "no channel"},
      {{"realtime", "--interval", "1", "--points", "1"}, 2, "usage"},
      {{"stats", data, "--json"}, 0, "printed"},
      {{"stats", data, "--part", "realtime"}, 1, "no such series"},
      {{"stats", data, "--to", "2"}, 2, "outside the series"},
      {{"stats", data, "--from", "2", "--to", "1"}, 2, "after"},
      {{"events", data, "--csv"}, 0, "printed"},
      {{"events", data, "--part", "realtime"}, 1, "lacks the part"},
      {{"events", data, "--over-current", "-1"}, 2, "negative"},
      {{"events", data, "--nominal", "many"}, 2, "non-numeric"},
      {{"events", data, "--dip", "120"}, 2, "out of order"},
      {{"comtrade", data, "-o", Home()}, 0, "written"},
      {{"comtrade", data, "--record", "9"}, 1, "not record N"},
      {{"comtrade", data, "--ratio-ch1", "2e6"}, 2, "usage"},
      {{"export", data, "--csv", "-o", "-", "--scale-ch2", "x"}, 2, "usage"},
  };
  std::map<std::string, std::map<int, std::string>> helps;
  for (const Case& c : cases) {
    const std::string line = std::accumulate(
        c.args.begin(), c.args.end(), std::string(),
        [](std::string a, const std::string& b) { return a.empty() ? b : a + " " + b; });
    SCOPED_TRACE(line);
    if (!helps.count(c.args[0])) helps[c.args[0]] = ExitStatusOfHelp(c.args[0]);
    const ProgramRun run = RunProgram(CliPath(), c.args, env_, 60000);
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, c.status) << run.err;
    const std::string& meaning = helps[c.args[0]][c.status];
    EXPECT_NE(meaning.find(c.helpWords), std::string::npos)
        << "the help gives " << c.status << " as '" << meaning << "'";
    // Every failure is explained on stderr, prefixed with the subcommand.
    if (c.status != 0) {
      EXPECT_NE(run.err.find("acvlogger-cli " + c.args[0] + ": "), std::string::npos) << run.err;
    }
  }
}

// The subcommands the program's usage lists.
std::vector<std::string> Subcommands() {
  const ProgramRun usage = RunProgram(CliPath(), {"--help"});
  std::istringstream lines(usage.out.substr(usage.out.find("subcommands:\n") + 13));
  std::vector<std::string> names;
  for (std::string line; std::getline(lines, line) && line.rfind("  ", 0) == 0;)
    names.push_back(line.substr(2, line.find(' ', 2) - 2));
  return names;
}

TEST_F(CliExitCodes, AUsageErrorIsOneLineWithAHintToTheHelp) {
  const std::vector<std::string> names = Subcommands();
  ASSERT_GE(names.size(), 2u);
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    // An option no subcommand has: whatever else a subcommand wants, this
    // is the problem it names.
    const ProgramRun run = RunProgram(CliPath(), {name, "--no-such-option"}, env_);
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.out, "");
    const std::string prefix = "acvlogger-cli " + name + ": ";
    const std::string hint = " (try 'acvlogger-cli " + name + " --help')\n";
    EXPECT_EQ(run.err.rfind(prefix, 0), 0u) << run.err;
    ASSERT_GE(run.err.size(), hint.size());
    EXPECT_EQ(run.err.substr(run.err.size() - hint.size()), hint) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
  }
  const ProgramRun unknown = RunProgram(CliPath(), {"no-such-subcommand"}, env_);
  EXPECT_EQ(unknown.exitCode, 2);
  EXPECT_EQ(
      unknown.err,
      "acvlogger-cli: unknown subcommand 'no-such-subcommand' (try 'acvlogger-cli --help')\n");
}

TEST_F(CliExitCodes, EverySubcommandThatReadsADataFileNamesAForeignOneAlike) {
  const std::string foreign = Home() + "/notes.stdata";
  std::ofstream(foreign) << "NOTES\nnot a measurement\n";
  const std::string expected = "'" + foreign + "' is not a data file (Invalid Format!)";
  const std::vector<std::vector<std::string>> runs{
      {"info", foreign},
      {"export", foreign, "-o", Home() + "/out.csv"},
      {"stats", foreign},
      {"events", foreign},
      {"report", foreign, "--graph", "-o", Home() + "/out.pdf"}};
  for (const std::vector<std::string>& args : runs) {
    const ProgramRun run = RunProgram(CliPath(), args, env_, 60000);
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 1) << args[0];
    EXPECT_NE(run.err.find("acvlogger-cli " + args[0] + ": " + expected), std::string::npos)
        << run.err;
  }
}

}  // namespace
}  // namespace acv::test
