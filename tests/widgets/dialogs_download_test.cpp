// The download dialog and the "Loading..." window: the status gate of
// "Download", the button disabled by a failed check at opening, and the
// progress bar driven by a real download of 1000 bytes.
#include <QProgressBar>

#include "dialogs_fixture.h"
#include "logger/CommandBuilders.h"
#include "logger/MemoryImage.h"
#include "ui/dialogs/ButtonArt.h"
#include "ui/dialogs/CDownloadDlg.h"

namespace acv::test {
namespace {

class DownloadDialogTest : public DialogTest {
 protected:
  CDownloadDlg dialog;
};

TEST_F(DownloadDialogTest, DownloadActsOnlyOnceConnected) {
  h.serial.AddPort(1);  // the logger has never answered: the link scans
  ASSERT_TRUE(dialog.Open(h));
  EXPECT_EQ(dialog.windowTitle(), "Connecting...");
  EXPECT_EQ(dialog.MessageText(), "Waiting for connecting...");
  EXPECT_TRUE(dialog.DownloadButton()->isEnabled());
  dialog.DownloadButton()->click();
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(dialog.MessageText(), "Waiting for connecting...");

  h.clock.Advance(1200);  // no answer to any probe
  EXPECT_EQ(dialog.Status(), "Not Connected");
  dialog.SetMessage("");  // so the dialog's own failure message is seen
  dialog.DownloadButton()->click();
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(dialog.MessageText().toStdString(), kConnectingFailed);
  EXPECT_TRUE(h.Frames().empty());
  EXPECT_FALSE(h.dataUnsaved);

  h.serial.SetResponder([this](int, std::span<const std::uint8_t> bytes) {
    if (bytes.size() == 1 && bytes[0] == kProbeByte) h.serial.Feed({kProbeAnswer});
  });
  h.clock.Advance(1200);
  EXPECT_EQ(dialog.Status(), "Connected");
  EXPECT_EQ(dialog.MessageText().toStdString(),
            "Press \"Download\" to load store data from the logger, or \"Cancel\" to exit.");
  dialog.DownloadButton()->click();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  ASSERT_EQ(h.Frames().size(), 1u);
  EXPECT_EQ(h.Frames()[0], std::vector<std::uint8_t>(8, 0x68));
  EXPECT_EQ(h.link.downloadMode, 1);
  EXPECT_EQ(h.link.realTimeMode, 0);
  EXPECT_TRUE(h.dataUnsaved);
  EXPECT_FALSE(h.ConnectTimersRunning());
  EXPECT_TRUE(h.open.empty());
}

TEST_F(DownloadDialogTest, FailedCheckAtOpeningKeepsDownloadDisabledForThatOpening) {
  h.link.loggerFound = 1;  // port 1 does not exist yet
  ASSERT_TRUE(dialog.Open(h));
  EXPECT_EQ(dialog.Status(), "Not Connected");
  EXPECT_FALSE(dialog.DownloadButton()->isEnabled());
  EXPECT_EQ(dialog.MessageText(), "Waiting for connecting...");

  h.serial.AddPort(1);
  h.clock.Advance(3100);  // the periodic check opens the port again
  EXPECT_EQ(dialog.Status(), "Connected");
  EXPECT_FALSE(dialog.DownloadButton()->isEnabled());
  dialog.DownloadButton()->click();
  EXPECT_TRUE(h.Frames().empty());

  dialog.reject();  // Escape and the close box go the same way
  EXPECT_FALSE(h.ConnectTimersRunning());
  ASSERT_TRUE(dialog.Open(h));  // reopening checks again
  EXPECT_EQ(dialog.Status(), "Connected");
  EXPECT_TRUE(dialog.DownloadButton()->isEnabled());
  EXPECT_EQ(dialog.MessageText().toStdString(),
            "Press \"Download\" to load store data from the logger,or \"Cancel\" to exit.");
  EXPECT_FALSE(Child<QPushButton>(&dialog, "1174")->isVisible());
  EXPECT_FALSE(Child<QPushButton>(&dialog, "1174")->isEnabled());
}

TEST_F(DownloadDialogTest, CancelSendsNothingAndChangesNothing) {
  h.LoggerKnownOnPort1();
  ASSERT_TRUE(dialog.Open(h));
  Child<QPushButton>(&dialog, "2")->click();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_TRUE(h.Frames().empty());
  EXPECT_FALSE(h.dataUnsaved);
  EXPECT_EQ(h.link.downloadMode, 0);
  EXPECT_FALSE(h.ConnectTimersRunning());
}

TEST_F(DownloadDialogTest, EnterPressesDownloadThroughTheStatusGateAndEscapeCancels) {
  h.serial.AddPort(1);
  ASSERT_TRUE(dialog.Open(h));
  PressKey(&dialog, Qt::Key_Return);  // "Connecting...": nothing
  EXPECT_TRUE(dialog.isVisible());
  PressKey(&dialog, Qt::Key_Escape);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_FALSE(h.ConnectTimersRunning());
  EXPECT_TRUE(h.open.empty());

  h.link.loggerFound = 1;
  ASSERT_TRUE(dialog.Open(h));
  PressKey(&dialog, Qt::Key_Return);
  EXPECT_FALSE(dialog.isVisible());
  ASSERT_EQ(h.Frames().size(), 1u);
  EXPECT_EQ(h.Frames()[0][0], 0x68);
}

TEST_F(DownloadDialogTest, LoadingWindowCountsTheBlocksOfA1000ByteDownload) {
  h.LoggerKnownOnPort1();
  constexpr int kTotal = 1000;
  bool answerBlocks = false;
  h.serial.SetResponder([&](int, std::span<const std::uint8_t> bytes) {
    if (bytes.size() != 8) return;
    if (bytes[0] == kCmdDownloadStart) h.serial.Feed(HeaderFor(kTotal));
    if (bytes[0] == kCmdBlockRequest && answerBlocks) {
      const int length = bytes[3] == kBlockFillPartial ? kTotal % 512 : 512;
      h.serial.Feed(std::vector<std::uint8_t>(static_cast<std::size_t>(length), 0x10));
    }
  });
  ASSERT_TRUE(dialog.Open(h));
  dialog.DownloadButton()->click();
  h.clock.Advance(5);  // the header arrives; the first block is requested
  ASSERT_TRUE(h.loading.isVisible());
  EXPECT_EQ(h.loading.windowTitle(), "Loading...");
  EXPECT_EQ(h.loading.Bar()->minimum(), 0);
  EXPECT_EQ(h.loading.Bar()->maximum(), 2);
  EXPECT_EQ(h.loading.Bar()->value(), 1);
  EXPECT_EQ(h.loading.Bar()->geometry(), h.loading.rect());  // the bar fills the window

  // No connection dialog opens while the download runs.
  CDownloadDlg second;
  EXPECT_FALSE(second.Open(h));

  // The user cannot close the window under a running download.
  h.loading.close();
  EXPECT_TRUE(h.loading.isVisible());

  answerBlocks = true;
  // The re-request fetches the block; the rest is asked for once the line
  // has been quiet for a while, so a late second answer cannot be taken for it.
  h.clock.Advance(3000);
  EXPECT_FALSE(h.loading.isVisible());
  EXPECT_EQ(h.loading.Bar()->value(), 2);
  EXPECT_EQ(h.doc.rmsCount, kTotal / 2);
}

}  // namespace
}  // namespace acv::test
