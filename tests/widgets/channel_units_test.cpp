// The window in primary units: the Channel Scaling dialog refuses a bad
// field by name, and a good scaling shows at once and is kept; Export
// COMTRADE writes the TR record on show.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <fstream>
#include <sstream>

#include "data/DataFile.h"
#include "data/Settings.h"
#include "frame/Commands.h"
#include "frame_fixture.h"
#include "graph/CDTView.h"
#include "ui/dialogs/CChannelScalingDlg.h"

namespace acv::test {
namespace {

class ChannelUnitsTest : public FrameTest {
 protected:
  // CH1 230 .. 234 V, CH2 5 .. 7 A, one TR record of CH2.
  void Load() {
    const std::string path = ui.Path("units.stdata");
    ASSERT_EQ(SaveDataFile(StoreData(50, true), path), "");
    ASSERT_TRUE(Frame().OpenDataFile(QString::fromStdString(path)));
    QCoreApplication::processEvents();
  }
  CChannelScalingDlg* OpenDialog() {
    Frame().OnCommand(cmd::kChannelScaling);
    return Frame().findChild<CChannelScalingDlg*>();
  }
  static std::string Text(const std::string& path) {
    std::ostringstream s;
    s << std::ifstream(path, std::ios::binary).rdbuf();
    return s.str();
  }
};

TEST_F(ChannelUnitsTest, AGoodScalingShowsAtOnceAndIsKeptABadFieldIsNamed) {
  Load();
  EXPECT_EQ(Frame().View()->Info().max2Text.rfind("7.0 A @", 0), 0u);

  CChannelScalingDlg* dialog = OpenDialog();
  ASSERT_NE(dialog, nullptr);
  dialog->Field(2)->setText(QStringLiteral("20:1"));
  dialog->OkButton()->click();
  ASSERT_EQ(ui.prompter.messages.size(), 1);
  EXPECT_TRUE(ui.prompter.messages.back().contains("CH2 ratio"));
  EXPECT_TRUE(dialog->isVisible()) << "a bad field keeps the dialog open";
  EXPECT_EQ(Frame().Doc().scaling, ChannelScaling{});

  dialog->Field(2)->setText(QStringLiteral("20"));
  dialog->OkButton()->click();
  QCoreApplication::processEvents();
  EXPECT_EQ(Frame().Doc().scaling[1].ratio, 20.0);
  EXPECT_EQ(Frame().View()->Info().max2Text.rfind("140.0 A @", 0), 0u);
  EXPECT_EQ(Frame().View()->Info().max1Text.rfind("234.0 V @", 0), 0u);
  // Written at once, so the command line agrees before the window closes.
  EXPECT_EQ(LoadSettings(ui.Path("QX7DATALOGGER.ini")).channelScaling[1].ratio, 20.0);
}

TEST_F(ChannelUnitsTest, ComtradeOfTheTrRecordOnShowOnlyWhereAWaveIsShown) {
  Load();
  EXPECT_FALSE(Frame().CommandEnabled(cmd::kExportComtrade));
  Frame().OnCommand(cmd::kStoreTr);
  ASSERT_TRUE(Frame().CommandEnabled(cmd::kExportComtrade));
  const std::string cfg = ui.Path("record.cfg");
  ui.prompter.saveName = QString::fromStdString(cfg);
  Frame().OnCommand(cmd::kExportComtrade);
  ASSERT_FALSE(ui.prompter.proposedNames.isEmpty());
  EXPECT_TRUE(ui.prompter.proposedNames.back().endsWith(QStringLiteral("units-tr1.cfg")));
  EXPECT_TRUE(ui.prompter.messages.isEmpty()) << ui.prompter.messages.join('\n').toStdString();
  const std::string text = Text(cfg);
  EXPECT_EQ(text.rfind("units,acvlogger,1999\r\n1,1A,0D\r\n1,CH2,,,A,1,", 0), 0u) << text;
  // 251 rows of sample number, time offset and one 16-bit sample.
  EXPECT_EQ(QFileInfo(QString::fromStdString(ui.Path("record.dat"))).size(), 251 * 10);
}

}  // namespace
}  // namespace acv::test
