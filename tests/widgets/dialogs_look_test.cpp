// The numeric field's character filter, the button pictures, and a look at
// every dialog: grabbed offscreen into screenshots/ beside the test program
// (for a human to look at), with the checks a picture can carry.
#include <QApplication>
#include <QDir>
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
  // Grabs the dialog, writes it as PNG and checks the grey background.
  QImage Shoot(QWidget* dialog, const QString& name) {
    QApplication::processEvents();
    const QImage image = dialog->grab().toImage();
    EXPECT_FALSE(image.isNull()) << name.toStdString();
    const QString folder = QCoreApplication::applicationDirPath() + "/../screenshots";
    QDir().mkpath(folder);
    image.save(folder + "/" + name + ".png");
    EXPECT_EQ(image.pixelColor(2, 2), QColor(225, 225, 225)) << name.toStdString();
    // The fields are grey as well: a point inside each shown edit, clear of
    // its text and frame.
    for (const CNumberEdit* edit : dialog->findChildren<CNumberEdit*>()) {
      if (!edit->isVisible()) continue;
      const QPoint inside = edit->mapTo(dialog, QPoint(edit->width() - 5, edit->height() / 2));
      EXPECT_EQ(image.pixelColor(inside), QColor(225, 225, 225))
          << name.toStdString() << " " << edit->objectName().toStdString();
    }
    return image;
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

TEST_F(LookTest, RealTimeDialog) {
  h.LoggerKnownOnPort1();
  CRealTimeDlg dialog;
  dialog.SetPrompt([](const QString&) {});
  ASSERT_TRUE(dialog.Open(h));
  Shoot(&dialog, "realtime");
  dialog.reject();
}

TEST_F(LookTest, DownloadDialogAndLoadingWindow) {
  CDownloadDlg dialog;
  ASSERT_TRUE(dialog.Open(h));
  Shoot(&dialog, "download-connecting");
  dialog.reject();
  h.LoggerKnownOnPort1();
  ASSERT_TRUE(dialog.Open(h));
  auto* message = Child<QLabel>(&dialog, "1157");
  // The whole hint fits in the two lines of the message line.
  EXPECT_LE(message->heightForWidth(message->width()), message->height());
  Shoot(&dialog, "download-connected");
  dialog.reject();

  h.loading.Begin(2, 1);
  QApplication::processEvents();
  const QImage loading = h.loading.grab().toImage();
  EXPECT_EQ(loading.size(), QSize(192, 20));
  loading.save(QCoreApplication::applicationDirPath() + "/../screenshots/loading.png");
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
  Shoot(&dialog, "setup");
  dialog.reject();
}

TEST_F(LookTest, ClockDialog) {
  h.LoggerKnownOnPort1();
  h.fixedNow = MakeLocalTime({2026, 2, 3, 10, 5, 9});
  CCorrectTimeDlg dialog;
  ASSERT_TRUE(dialog.Open(h));
  Shoot(&dialog, "clock");
  dialog.reject();
}

}  // namespace
}  // namespace acv::test
