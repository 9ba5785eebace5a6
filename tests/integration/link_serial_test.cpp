// The real serial control (QSerialPort) and timers against the simulated
// logger on a pseudo-terminal.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "SimProcess.h"
#include "logger/LoggerLink.h"
#include "platform/QtSerialControl.h"
#include "platform/QtTimerHost.h"
#include "support/RecordingLinkHost.h"

namespace acv::test {
namespace {

using Dialog = RecordingDialog;
using Host = RecordingLinkHost;

// The link on the real port, searching for the logger as a dialog does.
struct LiveLink {
  explicit LiveLink(const std::string& device)
      : serial(PortMap::Single(device)), link(serial, timers, host) {}
  bool Connect(DialogKind kind) {
    dialog = std::make_unique<Dialog>(kind);
    host.open = {dialog.get()};
    link.BeginConnection(kind);
    RunEventLoopUntil([&] { return dialog->status != kStatusConnecting; }, 3000);
    return dialog->status == kStatusConnected;
  }
  QtSerialControl serial;
  QtTimerHost timers;
  Host host;
  LoggerLink link;
  std::unique_ptr<Dialog> dialog;
};

class LinkSerial : public ::testing::Test {
 protected:
  void SetUp() override { EnsureCoreApplication(); }
};

TEST_F(LinkSerial, TheSearchFindsTheLoggerAndClosesThePortAgain) {
  SimProcess sim;
  ASSERT_TRUE(sim.Started()) << sim.Error();
  LiveLink live(sim.Device());
  ASSERT_TRUE(live.Connect(DialogKind::Download));
  EXPECT_EQ(live.dialog->message,
            "Press \"Download\" to load store data from the logger, or \"Cancel\" to exit.");
  EXPECT_EQ(live.link.portNumber, 1);
  EXPECT_FALSE(live.serial.PortOpen());
  EXPECT_TRUE(live.timers.IsActive(timer::kKeepAlive));
}

// Stands in for the system's list of serial devices.
class ListedPorts : public PortEnumeration {
 public:
  std::vector<std::string> SerialDevices() override { return devices; }
  std::vector<std::string> devices;
};

TEST_F(LinkSerial, ALoggerPluggedInAfterStartIsFoundByTheNextScan) {
  SimProcess sim;
  ASSERT_TRUE(sim.Started()) << sim.Error();
  auto ports = std::make_shared<ListedPorts>();
  QtSerialControl serial(PortMap::Enumerate(ports));
  QtTimerHost timers;
  Host host;
  LoggerLink link(serial, timers, host);
  Dialog dialog(DialogKind::RealTime);
  host.open = {&dialog};
  link.BeginConnection(DialogKind::RealTime);
  ASSERT_TRUE(RunEventLoopUntil([&] { return link.scansRun >= 2; }, 5000));
  ASSERT_EQ(dialog.status, kStatusConnecting);
  ports->devices = {sim.Device()};  // plugged in
  ASSERT_TRUE(RunEventLoopUntil([&] { return dialog.status != kStatusConnecting; }, 5000));
  EXPECT_EQ(dialog.status, kStatusConnected);
  EXPECT_EQ(serial.Map().DevicePath(link.portNumber), sim.Device());
  link.KillConnectTimers();
}

TEST_F(LinkSerial, OpenFailuresSayWhy) {
  SimProcess sim;
  ASSERT_TRUE(sim.Started()) << sim.Error();
  QtSerialControl first(PortMap::Single(sim.Device()));
  first.SetPortOpen(true);
  ASSERT_TRUE(first.PortOpen());

  QtSerialControl second(PortMap::Single(sim.Device()));
  try {
    second.SetPortOpen(true);
    ADD_FAILURE() << "a second open of the same device succeeded";
  } catch (const SerialError& e) {
    EXPECT_EQ(e.kind(), SerialError::Kind::Busy) << e.what();
    EXPECT_NE(std::string(e.what()).find(sim.Device()), std::string::npos);
  }

  QtSerialControl missing(PortMap::Single("/dev/acvlogger-no-such-device"));
  try {
    missing.SetPortOpen(true);
    ADD_FAILURE() << "a missing device opened";
  } catch (const SerialError& e) {
    EXPECT_EQ(e.kind(), SerialError::Kind::NotFound) << e.what();
  }
  missing.SetCommPort(2);  // beyond the map
  EXPECT_THROW(missing.SetPortOpen(true), SerialError);
  EXPECT_THROW(missing.Output(std::vector<std::uint8_t>{0x78}), SerialError);
}

TEST_F(LinkSerial, TheReceiveEventWaitsForTheThresholdAlsoWhenItIsLowered) {
  SimProcess sim;
  ASSERT_TRUE(sim.Started()) << sim.Error();
  QtSerialControl serial(PortMap::Single(sim.Device()));
  std::vector<int> events;
  serial.SetEventHandler([&] { events.push_back(serial.CommEvent()); });
  serial.SetPortOpen(true);
  serial.SetRThreshold(2);
  const std::uint8_t probe = kProbeByte;
  serial.Output(std::span<const std::uint8_t>(&probe, 1));
  ASSERT_TRUE(RunEventLoopUntil([&] { return serial.BufferedBytes() == 1; }, 3000));
  DrainPendingEvents();
  EXPECT_TRUE(events.empty());  // one byte buffered, two awaited

  serial.SetRThreshold(1);
  ASSERT_TRUE(RunEventLoopUntil([&] { return !events.empty(); }, 1000));
  EXPECT_EQ(events, std::vector<int>{kCommEventReceive});
  EXPECT_EQ(serial.Input(), std::vector<std::uint8_t>{kProbeAnswer});
  EXPECT_TRUE(serial.Input().empty());
  serial.SetLowLatency(true);  // not offered by a pseudo-terminal: silently nothing
  EXPECT_TRUE(serial.PortOpen());
}

TEST_F(LinkSerial, AVanishingDeviceClosesThePortAndIsReportedOnce) {
  SimProcess sim;
  ASSERT_TRUE(sim.Started()) << sim.Error();
  QtSerialControl serial(PortMap::Single(sim.Device()));
  std::vector<int> events;
  serial.SetEventHandler([&] { events.push_back(serial.CommEvent()); });
  serial.SetPortOpen(true);
  ASSERT_TRUE(serial.PortOpen());

  sim.Stop();
  // Generous: a loaded machine running sanitizer builds is slow to end a process.
  ASSERT_TRUE(RunEventLoopUntil([&] { return !events.empty(); }, 10000));
  DrainPendingEvents();  // anything the lost device still had queued
  EXPECT_EQ(events, std::vector<int>{kCommEventPortLost});
  EXPECT_FALSE(serial.PortOpen());
  // Left open, the port would repeat its error thousands of times a second.
  EXPECT_LE(serial.ErrorSignals(), 5);
  // Closed: nothing can be written any more. (Opening the path again is no
  // test of that: the freed terminal number goes to the next pseudo-terminal
  // any process opens, such as a simulator of a test running alongside.)
  EXPECT_THROW(serial.Output(std::vector<std::uint8_t>{kProbeByte}), SerialError);
}

TEST(QtTimers, PeriodicRestartableAndKilledFromTheirOwnCallback) {
  EnsureCoreApplication();
  QtTimerHost timers;
  std::vector<int> fired;
  timers.SetCallback([&](int id) {
    fired.push_back(id);
    if (id == 1 && std::count(fired.begin(), fired.end(), 1) == 3) timers.Kill(1);
    if (id == 2) timers.Kill(2);  // a one-shot use
  });
  timers.Start(1, 10);
  timers.Start(2, 30);
  timers.Start(2, 40);  // restarting replaces the first period
  ASSERT_TRUE(RunEventLoopUntil(
      [&] { return std::count(fired.begin(), fired.end(), 1) == 3 && !timers.IsActive(2); }, 3000));
  DrainPendingEvents();
  EXPECT_EQ(std::count(fired.begin(), fired.end(), 1), 3);
  EXPECT_EQ(std::count(fired.begin(), fired.end(), 2), 1);
  EXPECT_FALSE(timers.IsActive(1));
}

}  // namespace
}  // namespace acv::test
