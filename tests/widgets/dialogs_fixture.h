#pragma once
// The logger dialogs under test: a real LoggerLink on the fake port and the
// fake clock, a real Download, a stand-in real-time run, and a harness that
// plays the main window (LinkHost and DialogContext). Keys are delivered as
// the window system would deliver them, so the field filters and the
// dialogs' key handling are exercised for real.
#include <gtest/gtest.h>

#include <QString>
#include <cstdint>
#include <string>
#include <vector>

#include "data/CDTDoc.h"
#include "logger/Download.h"
#include "logger/LoggerLink.h"
#include "support/FakeClock.h"
#include "support/FakeSerialControl.h"
#include "ui/dialogs/CLoadingDlg.h"
#include "ui/dialogs/DialogContext.h"

class QLineEdit;
class QWidget;

namespace acv::test {

// The one QApplication of the test program (shared with the main-window tests).
void EnsureApplication();

// Fills the first frame with 0xC8 and waits for a real-time block; enough for
// the dialogs, which only start the run.
class StubRealTime : public TransferHandler {
 public:
  explicit StubRealTime(LoggerLink& link) : link_(link) {}
  void ClearCounters() override {}
  std::uint8_t PrepareStart() override;
  void OnReply(std::span<const std::uint8_t>) override {}
  bool OwnsTimer(int) const override { return false; }
  void OnTimer(int) override {}
  void OnPortLost() override {}
  int starts = 0;

 private:
  LoggerLink& link_;
};

// The main window as the dialogs and the link see it.
class DialogHarness : public LinkHost, public DialogContext {
 public:
  DialogHarness();

  // ---- LinkHost -----------------------------------------------------------
  std::vector<ConnectionDialog*> OpenDialogs() override { return open; }
  void ShowMessage(const std::string& text, MessageIcon) override { messages.push_back(text); }
  bool ProgressWindowOpen() const override { return loading.isVisible(); }
  void ProgressOpen(int rangeMax, int position) override { loading.Begin(rangeMax, position); }
  void ProgressSet(int position) override { loading.SetPosition(position); }
  void ProgressClose() override { loading.Finish(); }

  // ---- DialogContext --------------------------------------------------------
  LoggerLink& Link() override { return link; }
  AppSettings& Settings() override { return settings; }
  int& RtInterval() override { return rtInterval; }
  int& RealTimePoints() override { return realTimePoints; }
  void SetDataUnsaved() override { dataUnsaved = true; }
  void ArmSavePrompts() override { ++savePromptsArmed; }
  void DialogOpened(ConnectionDialog* dialog) override;
  void DialogClosed(ConnectionDialog* dialog) override;
  TimeStamp Now() const override { return fixedNow != 0 ? fixedNow : LocalNow(); }

  // The logger has answered before and sits on port 1, which opens.
  void LoggerKnownOnPort1();
  // The 8-byte frames written so far.
  std::vector<std::vector<std::uint8_t>> Frames() const;
  bool ConnectTimersRunning() const;

  FakeClock clock;
  FakeTimerHost timers{clock};
  FakeSerialControl serial{clock};
  LoggerLink link{serial, timers, *this};
  StubRealTime realTime{link};
  CDTDoc doc;
  Download download{link, doc, *this, ""};
  CLoadingDlg loading;

  AppSettings settings;
  int rtInterval = 2;
  int realTimePoints = 3600;
  bool dataUnsaved = false;
  int savePromptsArmed = 0;
  TimeStamp fixedNow = 0;
  std::vector<ConnectionDialog*> open;
  std::vector<std::string> messages;
};

class DialogTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { EnsureApplication(); }
  DialogHarness h;
};

// Keyboard input as the window system sends it (to the widget with focus).
void TypeText(QWidget* widget, const QString& text);
void PressKey(QWidget* widget, int key);
// Selects all of the field's text and types over it.
void ReplaceText(QLineEdit* edit, const QString& text);

// A named child of a dialog, failing the test when it is missing.
template <typename T>
T* Child(QWidget* parent, const char* objectName) {
  T* child = parent->findChild<T*>(QString::fromLatin1(objectName));
  EXPECT_NE(child, nullptr) << objectName;
  return child;
}

std::vector<std::uint8_t> Bytes(std::initializer_list<int> values);

// The logger's 28-byte answer to the 0x68 frame: one voltage channel,
// `total` bytes stored.
std::vector<std::uint8_t> HeaderFor(int total);

}  // namespace acv::test
