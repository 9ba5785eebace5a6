// The numeric field's character filter, the button pictures, and what a
// grabbed picture of each dialog can show: the grey background, the hint
// fitting its two lines, the visible groups. The pictures for a human to look
// at come from scripts/screenshots.
#include <QApplication>
#include <QGroupBox>
#include <QImage>
#include <QLabel>

#include "dialogs_fixture.h"
#include "ui/dialogs/ButtonArt.h"
#include "ui/dialogs/CCorrectTimeDlg.h"
#include "ui/dialogs/CDownloadDlg.h"
#include "ui/dialogs/CLoggerSetupDlg.h"
#include "ui/dialogs/CNumberEdit.h"
#include "ui/dialogs/CRealTimeDlg.h"

namespace acv::test {
namespace {

class LookTest : public DialogTest {
 protected:
  // Grabs the dialog as it is drawn and checks the grey background.
  void ExpectGreyBackground(QWidget* dialog, const char* name) {
    QApplication::processEvents();
    const QImage image = dialog->grab().toImage();
    ASSERT_FALSE(image.isNull()) << name;
    EXPECT_EQ(image.pixelColor(2, 2), QColor(225, 225, 225)) << name;
    // The fields are grey as well: a point inside each shown edit, clear of
    // its text and frame.
    for (const CNumberEdit* edit : dialog->findChildren<CNumberEdit*>()) {
      if (!edit->isVisible()) continue;
      const QPoint inside = edit->mapTo(dialog, QPoint(edit->width() - 5, edit->height() / 2));
      EXPECT_EQ(image.pixelColor(inside), QColor(225, 225, 225))
          << name << " " << edit->objectName().toStdString();
    }
  }
};

TEST_F(LookTest, NumberEditTakesOnlyNumberCharactersWhateverTheWay) {
  CNumberEdit edit;
  TypeText(&edit, "1a2 -3.b4,");
  EXPECT_EQ(edit.text(), "12-3.4");
  PressKey(&edit, Qt::Key_Backspace);
  EXPECT_EQ(edit.text(), "12-3.");
  edit.clear();
  edit.insert("x7y8");  // the path of paste and drop
  EXPECT_EQ(edit.text(), "78");
  edit.setCursorPosition(1);
  edit.insert("ab9");
  EXPECT_EQ(edit.text(), "798");
  EXPECT_EQ(edit.cursorPosition(), 2);
  edit.insert(QString::fromUtf8("\u0663"));  // a digit, but not one the logger's numbers use
  EXPECT_EQ(edit.text(), "798");
}

TEST_F(LookTest, ButtonPicturesCarryTheirTextAndState) {
  const QImage normal = DrawButtonArt("Setup", ButtonFace::Normal).toImage();
  EXPECT_EQ(normal.size(), QSize(120, 42));
  EXPECT_NE(normal, DrawButtonArt("Setup", ButtonFace::Disabled).toImage());
  EXPECT_NE(normal, DrawButtonArt("Setup", ButtonFace::Pressed).toImage());
  EXPECT_NE(normal, DrawButtonArt("Cancel", ButtonFace::Normal).toImage());
  PictureButton button("RUN");
  EXPECT_EQ(button.size(), QSize(120, 42));
  EXPECT_EQ(button.accessibleName(), "RUN");
  EXPECT_FALSE(button.autoDefault());
}

TEST_F(LookTest, RealTimeAndClockDialogsAreGrey) {
  h.LoggerKnownOnPort1();
  CRealTimeDlg realTime;
  realTime.SetPrompt([](const QString&) {});
  ASSERT_TRUE(realTime.Open(h));
  ExpectGreyBackground(&realTime, "realtime");
  realTime.reject();

  CCorrectTimeDlg clock;
  ASSERT_TRUE(clock.Open(h));
  ExpectGreyBackground(&clock, "clock");
  clock.reject();
}

TEST_F(LookTest, DownloadDialogAndLoadingWindow) {
  CDownloadDlg dialog;
  ASSERT_TRUE(dialog.Open(h));
  ExpectGreyBackground(&dialog, "download-connecting");
  dialog.reject();
  h.LoggerKnownOnPort1();
  ASSERT_TRUE(dialog.Open(h));
  auto* message = Child<QLabel>(&dialog, "1157");
  // The whole hint fits in the two lines of the message line.
  EXPECT_LE(message->heightForWidth(message->width()), message->height());
  ExpectGreyBackground(&dialog, "download-connected");
  dialog.reject();

  h.loading.Begin(2, 1);
  QApplication::processEvents();
  const QImage loading = h.loading.grab().toImage();
  EXPECT_EQ(loading.size(), QSize(192, 20));
  h.loading.Finish();
}

TEST_F(LookTest, SetupDialogShowsThreeGroupsOnly) {
  h.LoggerKnownOnPort1();
  CLoggerSetupDlg dialog;
  ASSERT_TRUE(dialog.Open(h));
  QStringList shown;
  for (auto* group : dialog.findChildren<QGroupBox*>()) {
    if (group->isVisible()) shown << group->title();
  }
  EXPECT_EQ(shown, QStringList({"LOGGER RMS SAMPING RATE SETUP", "LOGGER AUTO POWER OFF SETUP",
                                "LOGGER CIRCULATE LOGGING SETUP"}));
  for (const char* hidden : {"1134", "1080", "1167", "1168", "1159", "1160"}) {
    auto* widget = Child<QWidget>(&dialog, hidden);
    EXPECT_FALSE(widget->isVisible()) << hidden;
    EXPECT_FALSE(widget->isEnabled()) << hidden;
  }
  ExpectGreyBackground(&dialog, "setup");
  dialog.reject();
}

}  // namespace
}  // namespace acv::test
