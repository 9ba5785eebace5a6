#pragma once
// The fixture of the tests that drive the whole main window: a fake clock,
// serial control and timers, and the window with its files in a temporary
// home.
#include <gtest/gtest.h>

#include "WidgetTestSupport.h"
#include "support/FakeClock.h"
#include "support/FakeSerialControl.h"

namespace acv::test {

class FrameTest : public ::testing::Test {
 protected:
  FrameTest() : serial(clock), timers(clock), ui(&serial, &timers) {}
  CMainFrame& Frame() { return *ui.frame; }

  FakeClock clock;
  FakeSerialControl serial;
  FakeTimerHost timers;
  FrameUnderTest ui;
};

}  // namespace acv::test
