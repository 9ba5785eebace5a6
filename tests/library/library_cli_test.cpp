// acvlogger-cli library against a real library: the figures of a site equal
// those of the file commands, two imports at once, an import killed midway,
// and a file that is no library.
#include <gtest/gtest.h>
#include <signal.h>

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <cstdlib>
#include <fstream>

#include "TestLibrary.h"
#include "data/DataFile.h"

namespace acv::test {
namespace {

struct CliRun {
  int status = -1;
  std::string out, err;
};

QStringList Words(const std::vector<std::string>& args) {
  QStringList words;
  for (const std::string& a : args) words << QString::fromStdString(a);
  return words;
}

QProcess* Start(const std::vector<std::string>& args, const QString& home) {
  auto* p = new QProcess;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("XDG_CONFIG_HOME", home + "/config");
  env.insert("XDG_DATA_HOME", home + "/data");
  env.remove("ACVLOGGER_DB");
  p->setProcessEnvironment(env);
  p->start(QString::fromUtf8(std::getenv("ACV_CLI")), Words(args));
  return p;
}

CliRun Finish(QProcess* p) {
  CliRun run;
  if (p->waitForFinished(120000) && p->exitStatus() == QProcess::NormalExit)
    run.status = p->exitCode();
  run.out = p->readAllStandardOutput().toStdString();
  run.err = p->readAllStandardError().toStdString();
  delete p;
  return run;
}

class LibraryCli : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureLibraryTestApplication();
    connection_ = OpenFreshTestLibrary();
    ASSERT_TRUE(connection_);
    db_ = connection_->Location().Display();
  }
  CliRun Cli(std::vector<std::string> args) {
    args.insert(args.end(), {"--db", db_});
    return Finish(Start(args, home_.path()));
  }
  // `points` points one a second from point `from` of one recording that
  // began at `start`: two files of one recording agree where they overlap.
  std::string File(const std::string& name, std::int32_t points, TimeStamp start,
                   std::int32_t from = 0) {
    CDTDoc doc;
    doc.formatTag = kTagStore;
    doc.rmsStartTime = start + from;
    doc.rmsInterval = 1.0f;
    doc.hasCh1 = doc.hasCh2 = 1;
    doc.rmsUnitCh1 = "V";
    doc.rmsUnitCh2 = "A";
    doc.rmsCount = points;
    for (std::int32_t k = from; k < from + points; ++k) {
      doc.rmsCh1.push_back(k % 5000 < 30 ? 190.0f : 230.0f + static_cast<float>(k % 7) * 0.1f);
      doc.rmsCh2.push_back(5.0f + static_cast<float>(k % 11) * 0.25f);
    }
    doc.ComputeStoreStatistics();
    std::string path = home_.path().toStdString() + "/" + name;
    EXPECT_EQ(SaveDataFile(doc, path), "");
    return path;
  }

  QTemporaryDir home_;
  std::unique_ptr<LibraryConnection> connection_;
  std::string db_;
};

TEST_F(LibraryCli, ASiteGivesTheFiguresOfItsFile) {
  const std::string file = File("one.stdata", 20000, 1'772'359'200);
  ASSERT_EQ(Cli({"library", "add", file, "--site", "S"}).status, 0);
  for (const auto& [command, form] : {std::pair{"stats", "--json"},
                                      {"events", "--csv"},
                                      {"compliance", "--json"},
                                      {"profile", "--csv"}}) {
    const CliRun fromFile = Finish(Start({command, file, form}, home_.path()));
    const CliRun fromLibrary = Cli({"library", command, "--site", "S", form});
    ASSERT_EQ(fromLibrary.status, 0) << fromLibrary.err;
    EXPECT_EQ(fromLibrary.out, fromFile.out) << command;
  }
  const CliRun profile = Cli({"profile", "--site", "S", "--csv"});
  EXPECT_EQ(profile.status, 0) << profile.err;
  EXPECT_EQ(profile.out, Cli({"library", "profile", "--site", "S", "--csv"}).out);
  const CliRun check = Cli({"library", "check"});
  EXPECT_EQ(check.status, 0) << check.out;
}

// Three downloads of one recording, the second repeating the first's tail,
// the third following at once, 30-second dips at the joins: over the whole
// site and over ranges that start and end inside downloads, the site's
// figures are those of the file commands for the same merged points.
TEST_F(LibraryCli, RangesOfMergedDownloadsGiveTheFiguresOfTheirPoints) {
  const TimeStamp start = 1'772'359'200;
  ASSERT_EQ(
      Cli({"library", "add", File("a.stdata", 20000, start), File("b.stdata", 20000, start, 15000),
           File("c.stdata", 15000, start, 35000), "--site", "S"})
          .status,
      0);
  const auto at = [&](TimeStamp offset) { return FormatTime(start + offset, kCsvTimeFormat); };
  const struct {
    const char* label;
    std::vector<std::string> range;
  } ranges[] = {
      {"whole site", {}},
      {"cutting the first and the third", {"--from", at(12345), "--to", at(44321)}},
      {"inside the second, through a dip", {"--from", at(25010), "--to", at(30020)}},
  };
  for (const auto& r : ranges) {
    const std::string merged = home_.path().toStdString() + "/merged.stdata";
    std::vector<std::string> timeline = {"library", "timeline", "--site", "S", "-o", merged};
    timeline.insert(timeline.end(), r.range.begin(), r.range.end());
    ASSERT_EQ(Cli(timeline).status, 0) << r.label;
    for (const auto& [command, form] :
         {std::pair{"stats", "--json"}, {"events", "--csv"}, {"compliance", "--json"}}) {
      std::vector<std::string> site = {"library", command, "--site", "S", form};
      site.insert(site.end(), r.range.begin(), r.range.end());
      const CliRun fromLibrary = Cli(site);
      ASSERT_EQ(fromLibrary.status, 0) << fromLibrary.err;
      EXPECT_EQ(fromLibrary.out, Finish(Start({command, merged, form}, home_.path())).out)
          << command << ", " << r.label;
    }
  }
}

// A file added again is known by its fingerprint. Without --db and
// ACVLOGGER_DB the library is the one the settings name.
TEST_F(LibraryCli, TheSameFileTwiceIsKnownAgainInTheLibraryTheSettingsName) {
  const std::string file = File("week.stdata", 500, 1'772'359'200);
  const CliRun first = Cli({"library", "add", file, "--site", "S"});
  ASSERT_EQ(first.status, 0) << first.err;
  EXPECT_EQ(first.out, file + ": added 500 points (0 duplicates) to S as measurement 1\n");
  ASSERT_TRUE(QDir().mkpath(home_.path() + "/config/acvlogger"));
  std::ofstream(home_.path().toStdString() + "/config/acvlogger/QX7DATALOGGER.ini")
      << "[LIBRARYInfo]\nURL=" << db_ << "\n";
  const CliRun again = Finish(Start({"library", "add", file, "--site", "S"}, home_.path()));
  EXPECT_EQ(again.status, 0) << again.err;
  EXPECT_EQ(again.out, file + ": already in the library as measurement 1\n");
}

// New limits in the settings: the stored events follow them at the next
// command that uses them, said once.
TEST_F(LibraryCli, StoredEventsFollowTheSettingsLimits) {
  ASSERT_EQ(Cli({"library", "add", File("a.stdata", 600, 1'772'359'200), "--site", "S"}).status, 0);
  ASSERT_TRUE(QDir().mkpath(home_.path() + "/config/acvlogger"));
  std::ofstream(home_.path().toStdString() + "/config/acvlogger/QX7DATALOGGER.ini")
      << "[EVENTLimits]\nDIP=80\n";
  const std::string said = "events found again with the current limits for 1 measurement\n";
  const CliRun first = Cli({"library", "stats", "--site", "S"});
  EXPECT_EQ(first.status, 0);
  EXPECT_EQ(first.err, said);
  const CliRun second = Cli({"library", "events", "--site", "S"});
  EXPECT_EQ(second.status, 0);
  EXPECT_EQ(second.err, "");
}

// Each span of a comparison is what library stats gives for it; a span
// without points fails, one running backwards is a usage error.
TEST_F(LibraryCli, CompareShowsEachSpanAsItsStats) {
  const TimeStamp start = 1'772'359'200;
  ASSERT_EQ(Cli({"library", "add", File("a.stdata", 7200, start), "--site", "S"}).status, 0);
  const auto span = [&](TimeStamp from, TimeStamp to) {
    return FormatTime(from, kCsvTimeFormat) + ".." + FormatTime(to, kCsvTimeFormat);
  };
  const CliRun compare = Cli({"library", "compare", "--site", "S", "--a", span(start, start + 3599),
                              "--b", span(start + 3600, start + 7199), "--json"});
  ASSERT_EQ(compare.status, 0) << compare.err;
  const CliRun a = Cli({"library", "stats", "--site", "S", "--json", "--to",
                        FormatTime(start + 3599, kCsvTimeFormat)});
  const CliRun b = Cli({"library", "stats", "--site", "S", "--json", "--from",
                        FormatTime(start + 3600, kCsvTimeFormat)});
  const std::string expected = "{\"a\":" + a.out.substr(0, a.out.size() - 1) +
                               ",\"b\":" + b.out.substr(0, b.out.size() - 1) + ",\"difference\":";
  EXPECT_EQ(compare.out.substr(0, expected.size()), expected);

  const struct {
    std::string a;
    int status;
    std::string said;
  } refusals[] = {
      {span(start + 9000, start + 9999), 1, "span A"},
      {span(start + 60, start), 2, "FROM after TO"},
      {"yesterday", 2, "needs FROM..TO"},
  };
  for (const auto& r : refusals) {
    const CliRun run =
        Cli({"library", "compare", "--site", "S", "--a", r.a, "--b", span(start, start + 60)});
    EXPECT_EQ(run.status, r.status) << r.a;
    EXPECT_NE(run.err.find(r.said), std::string::npos) << run.err;
  }
}

TEST_F(LibraryCli, ATimelineBecomesADataFileOnlyWithoutAGap) {
  const TimeStamp start = 1'772'359'200;
  const std::string a = File("a.stdata", 1000, start);
  ASSERT_EQ(Cli({"library", "add", a, File("b.stdata", 1000, start + 5000), "--site", "S"}).status,
            0);
  const std::string out = home_.path().toStdString() + "/timeline.stdata";
  const CliRun whole = Cli({"library", "timeline", "--site", "S", "-o", out});
  EXPECT_EQ(whole.status, 1);
  EXPECT_NE(whole.err.find("has a gap from " + FormatTime(start + 1000, kCsvTimeFormat)),
            std::string::npos)
      << whole.err;
  const CliRun first = Cli({"library", "timeline", "--site", "S", "--to",
                            FormatTime(start + 4999, kCsvTimeFormat), "-o", out});
  ASSERT_EQ(first.status, 0) << first.err;
  CDTDoc original, written;
  ASSERT_TRUE(LoadDataFile(a, original).ok);
  ASSERT_TRUE(LoadDataFile(out, written).ok);
  EXPECT_EQ(written.Store(), original.Store());
}

TEST_F(LibraryCli, TwoImportsAtOnceBothLand) {
  const std::string a = File("a.stdata", 100000, 1'772'359'200);
  const std::string b = File("b.stdata", 100000, 1'772'359'200 + 200000);
  ASSERT_EQ(Cli({"library", "sites"}).status, 0);  // the tables exist before the race
  QProcess* first = Start({"library", "add", a, "--site", "S", "--db", db_}, home_.path());
  QProcess* second = Start({"library", "add", b, "--site", "S", "--db", db_}, home_.path());
  const CliRun one = Finish(first), two = Finish(second);
  EXPECT_EQ(one.status, 0) << one.err;
  EXPECT_EQ(two.status, 0) << two.err;
  const CliRun list = Cli({"library", "list", "--csv"});
  EXPECT_EQ(std::count(list.out.begin(), list.out.end(), '\n'), 3) << list.out;
}

TEST_F(LibraryCli, AnImportKilledMidwayLeavesNoTrace) {
  if (TestEngineIsPostgres()) GTEST_SKIP() << "the server rolls back a lost connection itself";
  const std::string big = File("big.stdata", 3'000'000, 1'772'359'200);
  ASSERT_EQ(Cli({"library", "sites"}).status, 0);
  const QString wal = QString::fromStdString(connection_->Location().path) + "-wal";
  QProcess* add = Start({"library", "add", big, "--site", "S", "--db", db_}, home_.path());
  ASSERT_TRUE(add->waitForStarted());
  // Killed once it has written part of its chunks.
  for (int i = 0; i < 6000 && QFileInfo(wal).size() < 4'000'000; ++i) QThread::msleep(5);
  ASSERT_EQ(add->state(), QProcess::Running) << "the import ended before it could be killed";
  ::kill(static_cast<pid_t>(add->processId()), SIGKILL);
  add->waitForFinished();
  delete add;
  const CliRun list = Cli({"library", "list", "--csv"});
  EXPECT_EQ(std::count(list.out.begin(), list.out.end(), '\n'), 1) << list.out;
  const CliRun check = Cli({"library", "check"});
  EXPECT_EQ(check.status, 0) << check.out << check.err;
  EXPECT_EQ(connection_->Database().tables().contains("chunk"), true);
}

TEST_F(LibraryCli, AFileThatIsNoLibraryIsOneLine) {
  if (TestEngineIsPostgres()) GTEST_SKIP() << "a file is a SQLite matter";
  const std::string notes = home_.path().toStdString() + "/notes.sqlite";
  {
    QFile f(QString::fromStdString(notes));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(8192, 'x'));
  }
  for (const char* command : {"sites", "check"}) {
    const CliRun run = Finish(Start({"library", command, "--db", notes}, home_.path()));
    EXPECT_EQ(run.status, 1) << command;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_NE(run.err.find(notes), std::string::npos) << run.err;
  }
}

}  // namespace
}  // namespace acv::test
