#include "dialogs_fixture.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <algorithm>

#include "WidgetTestSupport.h"
#include "logger/CommandBuilders.h"
#include "logger/MemoryImage.h"

namespace acv::test {

void EnsureApplication() {
  App();
}

std::uint8_t StubRealTime::PrepareStart() {
  ++starts;
  link_.SetThreshold(2365);
  return kCmdRealTime;
}

DialogHarness::DialogHarness() {
  link.AttachRealTime(&realTime);
  link.AttachDownload(&download);
}

void DialogHarness::DialogOpened(ConnectionDialog* dialog) {
  open.push_back(dialog);
}

void DialogHarness::DialogClosed(ConnectionDialog* dialog) {
  open.erase(std::remove(open.begin(), open.end(), dialog), open.end());
}

void DialogHarness::LoggerKnownOnPort1() {
  serial.AddPort(1);
  link.portNumber = 1;
  link.loggerFound = 1;
}

std::vector<std::vector<std::uint8_t>> DialogHarness::Frames() const {
  std::vector<std::vector<std::uint8_t>> frames;
  for (const auto& write : serial.writes) {
    if (write.bytes.size() == 8) frames.push_back(write.bytes);
  }
  return frames;
}

bool DialogHarness::ConnectTimersRunning() const {
  return timers.IsActive(timer::kPortScan) || timers.IsActive(timer::kProbe) ||
         timers.IsActive(timer::kKeepAlive);
}

void TypeText(QWidget* widget, const QString& text) {
  for (QChar c : text) {
    const int key = c.toUpper().unicode();
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
    QApplication::sendEvent(widget, &release);
  }
}

void PressKey(QWidget* widget, int key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(widget, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
  QApplication::sendEvent(widget, &release);
}

void ReplaceText(QLineEdit* edit, const QString& text) {
  edit->selectAll();
  if (text.isEmpty())
    PressKey(edit, Qt::Key_Backspace);
  else
    TypeText(edit, text);
}

std::vector<std::uint8_t> Bytes(std::initializer_list<int> values) {
  std::vector<std::uint8_t> bytes;
  for (int v : values) bytes.push_back(static_cast<std::uint8_t>(v));
  return bytes;
}

std::vector<std::uint8_t> HeaderFor(int total) {
  std::vector<std::uint8_t> header{kDownloadHeaderCode, 1, kKindVoltage, kKindOff};
  for (int value : {total, 0}) {
    header.push_back(static_cast<std::uint8_t>(value >> 16));
    header.push_back(static_cast<std::uint8_t>(value >> 8));
    header.push_back(static_cast<std::uint8_t>(value));
  }
  header.insert(header.end(), {kIntervalSeconds, 10, 0x01, 0xF4, 0x00, 0x64});
  header.insert(header.end(), {0x26, 0x02, 0x03, 0x10, 0x00, 0x00});
  header.insert(header.end(), 6, 0);
  return header;
}

}  // namespace acv::test
