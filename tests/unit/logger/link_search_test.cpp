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
  link.BeginConnection();

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
  link.BeginConnection();

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
  EXPECT_FALSE(link.BeginConnection());
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

}  // namespace
}  // namespace acv::test::linktest
