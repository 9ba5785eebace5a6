#include "WidgetTestSupport.h"

#include <QDeadlineTimer>
#include <QTimer>
#include <fstream>

#include "support/TestDataSets.h"

namespace acv::test {

QApplication& App() {
  static int argc = 1;
  static char name[] = "widget_tests";
  static char* argv[] = {name, nullptr};
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

bool WaitUntil(const std::function<bool()>& pred, int timeoutMs) {
  const QDeadlineTimer deadline(timeoutMs);
  // Wakes the loop to look again: some conditions come with no event of
  // their own (a line the simulator appends to its trace file).
  QTimer look;
  look.start(5);
  while (!pred()) {
    if (deadline.hasExpired()) return pred();
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  }
  return true;
}

FrameUnderTest::FrameUnderTest(SerialControl* serial, TimerHost* timers, std::string onlyPort) {
  App();
  FrameServices services;
  services.prompter = &prompter;
  services.serial = serial;
  services.timers = timers;
  services.settingsPath = Path("QX7DATALOGGER.ini");
  services.previousMeasurementPath = Path("PreMeasureQX7.stdata");
  services.preferredPort = std::move(onlyPort);
  services.onlyPreferredPort = !services.preferredPort.empty();
  services.showSplash = false;
  frame = std::make_unique<CMainFrame>(services);
  frame->resize(1200, 800);
  frame->show();
}

FrameUnderTest::~FrameUnderTest() {
  frame.reset();
}

std::string FrameUnderTest::Path(const char* name) const {
  return dir.filePath(QString::fromLatin1(name)).toStdString();
}

CDTDoc StoreData(int rmsCount, bool twoChannels) {
  CDTDoc doc;
  doc.rmsCount = rmsCount;
  doc.hasCh1 = 1;
  doc.hasCh2 = twoChannels ? 1 : 0;
  doc.rmsUnitCh1 = "V";
  doc.rmsUnitCh2 = "A";
  doc.rmsInterval = 1.0f;
  doc.rmsStartTime = 1767261600;  // 2026-01-01 10:00:00 UTC
  for (int i = 0; i < rmsCount; ++i) {
    doc.rmsCh1.push_back(230.0f + static_cast<float>(i % 5));
    if (twoChannels) doc.rmsCh2.push_back(5.0f + static_cast<float>(i % 3));
  }
  if (twoChannels) test::AddTrRecords(doc, {{doc.rmsStartTime + 5, kUnitAmpere, kChannel2, 10.0f}});
  doc.riseLevel = 500.0f;
  doc.dropLevel = 100.0f;
  doc.ComputeStoreStatistics();
  doc.formatTag = kTagStore;
  return doc;
}

std::string FileTag(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const int length = in.get();
  if (length <= 0 || length >= 255) return {};
  std::string tag(static_cast<std::size_t>(length), '\0');
  if (!in.read(tag.data(), length)) return {};
  return tag;
}

}  // namespace acv::test
