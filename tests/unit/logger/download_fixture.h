#pragma once
// A download under test: the link and the Download on the fake clock and fake
// port, with a scripted logger that answers the 0x68 frame with a header and
// every 0xD8 frame with a block of its 512 KiB memory ring.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "data/CDTDoc.h"
#include "logger/CommandBuilders.h"
#include "logger/Download.h"
#include "logger/LinkHost.h"
#include "logger/LoggerLink.h"
#include "logger/MemoryImage.h"
#include "support/FakeClock.h"
#include "support/FakeSerialControl.h"

namespace acv::test {

// What the download shows the user, recorded.
class RecordingHost : public LinkHost {
 public:
  std::vector<ConnectionDialog*> OpenDialogs() override { return {}; }
  void ShowMessage(const std::string& text, MessageIcon) override { messages.push_back(text); }
  bool ProgressWindowOpen() const override { return progressOpen; }
  void ProgressOpen(int rangeMax, int position) override {
    progressOpen = true;
    progressRange = rangeMax;
    progressPositions.push_back(position);
  }
  void ProgressSet(int position) override { progressPositions.push_back(position); }
  void ProgressClose() override { progressOpen = false; }
  void DownloadFinished() override { ++finished; }
  void DownloadFailed(const std::string& message) override { failures.push_back(message); }
  void Reset() {
    messages.clear();
    failures.clear();
    progressOpen = false;
    progressRange = -1;
    progressPositions.clear();
    finished = 0;
  }

  std::vector<std::string> messages;
  std::vector<std::string> failures;
  bool progressOpen = false;
  int progressRange = -1;
  std::vector<int> progressPositions;
  int finished = 0;
};

// A serial control whose last event and low-latency requests the test sees.
class ObservedSerial : public FakeSerialControl {
 public:
  using FakeSerialControl::FakeSerialControl;
  int CommEvent() const override {
    return forcedEvent ? forcedEvent : FakeSerialControl::CommEvent();
  }
  void SetLowLatency(bool on) override { lowLatencyRequests += on ? 1 : 0; }
  int forcedEvent = 0;  // when not 0, reported instead of the real last event
  int lowLatencyRequests = 0;
};

struct HeaderFields {
  std::uint8_t channels = 2;
  std::uint8_t ch1Kind = kKindVoltage;
  std::uint8_t ch2Kind = kKindCurrent;
  int total = 0;
  int start = 0;
  std::uint8_t intervalUnit = kIntervalSeconds;
  std::uint8_t intervalValue = 10;
  std::int16_t rise = 500;
  std::int16_t drop = -100;
  std::array<std::uint8_t, 6> bcdTime{0x26, 0x02, 0x03, 0x10, 0x00, 0x00};  // 03/02/26 10:00:00
  int rawCountA = 0;
  int rawCountB = 0;
};

std::vector<std::uint8_t> EncodeHeader(const HeaderFields& f);

// RMS item helpers for building images.
void PutS16(std::vector<std::uint8_t>& out, int value);
void PutTrRecord(std::vector<std::uint8_t>& out, std::uint8_t unit, std::uint8_t channel,
                 const std::array<std::uint8_t, 6>& bcdTime, int firstSample);

// The scripted logger's memory and manners.
struct ScriptedLogger {
  std::vector<std::uint8_t> header;  // the reply to 0x68 (28 bytes, 0xEA...)
  // Replies to these 0-based 0x68 frames carry only this many bytes of the
  // header, or are padded to them.
  std::map<int, std::size_t> headerBytes;
  int headerRequests = 0;
  std::vector<std::uint8_t> memory = std::vector<std::uint8_t>(kLoggerMemoryBytes, 0);
  int total = 0;                   // for the size of the last partial block
  std::set<int> dropBlockReplies;  // 0-based numbers of D8 requests left unanswered
  bool silentBlocks = false;       // answers the header, never a block
  // A slow line: each block reply arrives in 32 pieces spread over this many
  // milliseconds (0: at once).
  int msPerBlock = 0;
  // Replies to these 0-based D8 requests come this many ms late, in one piece.
  std::map<int, int> lateBlockReplies;
  // Replies to these 0-based D8 requests carry these many extra bytes.
  std::map<int, int> extraBytes;
  int blockRequests = 0;
  std::vector<std::vector<std::uint8_t>> requests;  // every D8 frame, in order
  std::vector<int> thresholdAtRequest;              // the receive threshold when each D8 arrived

  // Places an image in the ring from the block of `start` on, as the logger
  // stores it.
  void Store(const std::vector<std::uint8_t>& image, int start);
};

class DownloadTest : public ::testing::Test {
 protected:
  DownloadTest();
  // The Download button: downloadMode and StartTransfer.
  void StartDownload();
  // StartDownload, then runs the clock long enough for any download to end.
  void RunDownload(const HeaderFields& fields, const std::vector<std::uint8_t>& image);
  // The D8 frames written to the port.
  std::vector<std::vector<std::uint8_t>> BlockRequests() const;

  FakeClock clock;
  FakeTimerHost timers{clock};
  ObservedSerial serial{clock};
  RecordingHost host;
  LoggerLink link{serial, timers, host};
  CDTDoc doc;
  ScriptedLogger logger;
  Download download{link, doc, host, ""};
};

// The download must leave an abandoned document exactly as it was.
void ExpectSameDocument(const CDTDoc& a, const CDTDoc& b);

// A document that already holds STORE data, as after an earlier download.
CDTDoc DocumentWithStoreData();

}  // namespace acv::test
