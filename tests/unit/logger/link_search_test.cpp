// The port search of the connection dialogs: scan, probe cycle, answer,
// keep-alive check, on the fake clock and fake port.
#include "link_fixture.h"

namespace acv::test::linktest {
namespace {

const Bytes kProbe{kProbeByte};

TEST_F(LinkTest, WithoutAnyPortTheScanRepeatsEvery100msAndStaysConnecting) {
  Dialog dialog(DialogKind::Download);
  OpenDialog(dialog);
  clock.Advance(1000);
  EXPECT_EQ(link.scansRun, 10u);
  EXPECT_TRUE(timers.IsActive(timer::kPortScan));
  EXPECT_EQ(timers.PeriodOf(timer::kPortScan), 100);
  EXPECT_FALSE(timers.IsActive(timer::kProbe));
  EXPECT_EQ(dialog.status, kStatusConnecting);
  EXPECT_TRUE(serial.writes.empty());
  EXPECT_EQ(link.portCount, 0);
}

TEST_F(LinkTest, ProbesGoFromTheHighestPortDownUntilTheLoggerAnswers) {
  for (int p : {1, 3, 5}) serial.AddPort(p);
  LoggerOn(3);
  Dialog setup(DialogKind::LoggerSetup), clockDlg(DialogKind::CorrectTime),
      download(DialogKind::Download), realTime(DialogKind::RealTime);
  clockDlg.message = "untouched";
  host.open = {&setup, &clockDlg, &download, &realTime};
  link.BeginConnection(DialogKind::Download);

  clock.Advance(1200);
  // 5 at the scan (100 ms), 5 again at the first tick, then 3, which answers.
  const std::vector<std::pair<int, Bytes>> expected{{5, kProbe}, {5, kProbe}, {3, kProbe}};
  EXPECT_EQ(Writes(), expected);
  EXPECT_EQ(link.portCount, 3);
  EXPECT_EQ(link.portNumber, 3);
  EXPECT_TRUE(link.portAnswered);
  EXPECT_TRUE(link.loggerFound);
  for (Dialog* d : {&setup, &clockDlg, &download, &realTime})
    EXPECT_EQ(d->status, kStatusConnected);
  EXPECT_EQ(setup.message, "  ");
  EXPECT_EQ(clockDlg.message, "untouched");
  EXPECT_EQ(download.message,
            "Press \"Download\" to load store data from the logger, or \"Cancel\" to exit.");
  EXPECT_EQ(realTime.message, "Press \"RUN\" to read real time data,");
  EXPECT_FALSE(timers.IsActive(timer::kPortScan));
  EXPECT_FALSE(timers.IsActive(timer::kProbe));
  EXPECT_EQ(timers.PeriodOf(timer::kKeepAlive), 3000);
  EXPECT_FALSE(serial.PortOpen());

  // Probing has stopped: later ticks send nothing more.
  clock.Advance(2000);
  EXPECT_EQ(ProbesSent(), 3);
}

TEST_F(LinkTest, AFailedCycleShowsNotConnectedAndScansAgainAfterOneSecond) {
  serial.AddPort(2);
  serial.AddPort(7);
  Dialog download(DialogKind::Download), realTime(DialogKind::RealTime);
  host.open = {&download, &realTime};
  link.BeginConnection(DialogKind::Download);

  clock.Advance(1599);  // probes: 7 (scan, 100), 7 (600), 2 (1100)
  EXPECT_EQ(ProbesSent(), 3);
  EXPECT_EQ(download.status, kStatusConnecting);
  clock.Advance(1);  // 1600: the list is used up
  EXPECT_EQ(download.status, kStatusNotConnected);
  EXPECT_EQ(realTime.status, kStatusNotConnected);
  EXPECT_EQ(download.message, kConnectingFailed);
  EXPECT_EQ(realTime.message, "");
  EXPECT_EQ(link.portCount, 0);
  EXPECT_EQ(link.probeIndex, 1);
  EXPECT_FALSE(timers.IsActive(timer::kProbe));
  EXPECT_EQ(timers.PeriodOf(timer::kPortScan), 1000);

  // The new scan finds the logger that has arrived meanwhile.
  LoggerOn(7);
  clock.Advance(1100);
  EXPECT_EQ(download.status, kStatusConnected);
  EXPECT_EQ(link.portNumber, 7);
}

TEST_F(LinkTest, KeepAliveFollowsTheAdapterAwayAndBackWithoutANewScan) {
  serial.AddPort(4);
  LoggerOn(4);
  Dialog dialog(DialogKind::LoggerSetup);
  OpenDialog(dialog);
  clock.Advance(700);
  ASSERT_EQ(dialog.status, kStatusConnected);
  const std::size_t writesWhenConnected = serial.writes.size();
  const std::uint32_t scans = link.scansRun;

  serial.RemovePort(4);
  clock.Advance(3000);
  EXPECT_EQ(dialog.status, kStatusNotConnected);
  EXPECT_TRUE(timers.IsActive(timer::kKeepAlive));
  clock.Advance(3000);
  EXPECT_EQ(dialog.status, kStatusNotConnected);

  serial.AddPort(4);
  clock.Advance(3000);
  EXPECT_EQ(dialog.status, kStatusConnected);
  EXPECT_FALSE(serial.PortOpen());  // the check closes what it opened
  EXPECT_EQ(serial.writes.size(), writesWhenConnected);
  EXPECT_EQ(link.scansRun, scans);
}

TEST_F(LinkTest, AStrayProbeAnswerIsTakenAsTheLoggerAnswering) {
  serial.AddPort(2);
  Dialog dialog(DialogKind::RealTime);
  OpenDialog(dialog);
  clock.Advance(150);  // port 2 scanned and probed, no logger script
  ASSERT_TRUE(serial.PortOpen());
  serial.Feed({kProbeAnswer});
  clock.RunDue();
  EXPECT_EQ(dialog.status, kStatusConnected);
  EXPECT_TRUE(link.loggerFound);
}

TEST_F(LinkTest, ProbeAnswerWithoutADialogOnlySetsTheFlags) {
  serial.AddPort(1);
  serial.SetCommPort(1);
  serial.SetPortOpen(true);
  serial.Feed({kProbeAnswer});
  clock.RunDue();
  EXPECT_TRUE(link.portAnswered);
  EXPECT_TRUE(link.loggerFound);
  EXPECT_TRUE(serial.PortOpen());
  EXPECT_FALSE(timers.IsActive(timer::kKeepAlive));
}

TEST_F(LinkTest, ALaterDialogStartsWithTheKeepAliveCheckAndSendsNoProbe) {
  serial.AddPort(3);
  LoggerOn(3);
  Dialog first(DialogKind::Download);
  OpenDialog(first);
  clock.Advance(700);
  ASSERT_EQ(first.status, kStatusConnected);
  CloseDialog(first);
  const int probes = ProbesSent();

  Dialog second(DialogKind::LoggerSetup);
  timers.started.clear();
  OpenDialog(second);
  ASSERT_EQ(timers.started.size(), 1u);
  EXPECT_EQ(timers.started[0], std::make_pair(timer::kKeepAlive, 3000));
  EXPECT_FALSE(link.portAnswered);
  EXPECT_TRUE(link.CheckPort());  // the dialog's own check at opening
  clock.Advance(3000);
  EXPECT_EQ(second.status, kStatusConnected);
  EXPECT_EQ(ProbesSent(), probes);

  // The port gone: the dialog's own check and the timer both say so.
  serial.RemovePort(3);
  EXPECT_FALSE(link.CheckPort());
  clock.Advance(3000);
  EXPECT_EQ(second.status, kStatusNotConnected);
}

TEST_F(LinkTest, NoConnectionStartsWhileTheLoadingWindowIsOpen) {
  host.progressOpen = true;
  EXPECT_FALSE(link.BeginConnection(DialogKind::Download));
  EXPECT_TRUE(timers.started.empty());
}

TEST_F(LinkTest, ACycleCutShortNeverLetsThePortListGrowPast16) {
  for (int p = 1; p <= 16; ++p) serial.AddPort(p);
  Dialog dialog(DialogKind::Download);
  for (int round = 0; round < 3; ++round) {
    OpenDialog(dialog);
    clock.Advance(1100);  // scanned, a few probes made
    ASSERT_EQ(link.portCount, 16);
    std::erase(host.open, &dialog);  // closed while timer::kProbe runs (Cancel kills it later)
    clock.Advance(500);
    link.KillConnectTimers();
  }
  EXPECT_EQ(link.portCount, 16);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(link.portList[i], i + 1);
}

TEST_F(LinkTest, APortThatRefusesUsIsExplainedOnce) {
  serial.AddPort(2);
  serial.DenyPort(2);
  serial.AddPort(5);
  Dialog dialog(DialogKind::Download);
  OpenDialog(dialog);
  clock.Advance(5000);  // several scans and probe cycles
  ASSERT_GE(link.scansRun, 2u);
  EXPECT_EQ(host.problems.size(), 1u);
  // The refused port is not in the list.
  EXPECT_EQ(link.portList[0], 5);
}

TEST_F(LinkTest, ADevicePluggedInBetweenTwoScansIsProbedAndFound) {
  Dialog dialog(DialogKind::Download);
  OpenDialog(dialog);
  clock.Advance(200);  // two scans, nothing there
  ASSERT_EQ(link.scansRun, 2u);
  ASSERT_EQ(dialog.status, kStatusConnecting);
  serial.PlugIn(6);
  LoggerOn(6);
  clock.Advance(150);  // the next scan reads the system's ports again
  EXPECT_EQ(dialog.status, kStatusConnected);
  EXPECT_EQ(link.portNumber, 6);
  EXPECT_EQ(Writes(), (std::vector<std::pair<int, Bytes>>{{6, kProbe}}));
}

TEST_F(LinkTest, PortHintsFollowTheWholeScanOncePerOpeningAndNeverNestIt) {
  for (int p : {2, 5}) {
    serial.AddPort(p);
    serial.DenyPort(p);
  }
  std::vector<std::size_t> attemptsAtHint;
  host.whileShowingProblem = [&] {
    attemptsAtHint.push_back(serial.openAttempts.size());
    clock.Advance(250);  // a modal box keeps the event loop, and the scan timer, running
  };
  Dialog dialog(DialogKind::Download);
  OpenDialog(dialog);
  clock.Advance(100);
  // Both hints after the first scan had tried all 16 ports; the two scans
  // that ran while the first hint was up found nothing new to say.
  ASSERT_EQ(host.problems.size(), 2u);
  EXPECT_NE(host.problems[0], host.problems[1]);
  EXPECT_EQ(attemptsAtHint, (std::vector<std::size_t>{16, 48}));
  clock.Advance(1000);
  EXPECT_EQ(host.problems.size(), 2u);
  // Every scan ran whole, none inside another: ports 1..16, 1..16, ...
  ASSERT_EQ(serial.openAttempts.size() % 16, 0u);
  for (std::size_t i = 0; i < serial.openAttempts.size(); ++i)
    ASSERT_EQ(serial.openAttempts[i], static_cast<int>(i % 16) + 1) << i;
  EXPECT_EQ(link.portCount, 0);

  // The next opening explains them again.
  CloseDialog(dialog);
  host.whileShowingProblem = nullptr;
  OpenDialog(dialog);
  clock.Advance(100);
  EXPECT_EQ(host.problems.size(), 4u);
}

// Only the set-up and clock dialogs put the link back on the idle reply
// path; after a stopped run the download and real-time dialogs leave the
// stop frame answering the logger's late blocks.
TEST_F(LinkTest, OnlyTheCommandDialogsClearTheTransferFlag) {
  const std::pair<DialogKind, int> cases[] = {{DialogKind::LoggerSetup, 0},
                                              {DialogKind::CorrectTime, 0},
                                              {DialogKind::Download, 1},
                                              {DialogKind::RealTime, 1}};
  for (const auto& [kind, expected] : cases) {
    link.transferActive = 1;
    Dialog dialog(kind);
    OpenDialog(dialog);
    EXPECT_EQ(link.transferActive, expected) << static_cast<int>(kind);
    CloseDialog(dialog);
  }
}

}  // namespace
}  // namespace acv::test::linktest
