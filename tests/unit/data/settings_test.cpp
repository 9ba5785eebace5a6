// The settings file: defaults, the written file, and what survives a save
// (other programs' keys, comments) or a damaged file.
#include "data/Settings.h"

#include <gtest/gtest.h>

#include <climits>

#include "data/IniFile.h"
#include "data_test_util.h"

namespace acv {
namespace {

using test::ScratchDir;

void Write(const std::string& path, const std::string& text) {
  test::WriteBytes(path, std::vector<std::uint8_t>(text.begin(), text.end()));
}

// Without a file every value is its default; the first save writes them all,
// section by section in the fixed order.
TEST(Settings, DefaultsWrittenInOrder) {
  ScratchDir dir;
  const std::string path = dir.File("QX7DATALOGGER.ini");
  ASSERT_TRUE(SaveSettings(LoadSettings(path), path));
  std::string yAxis;
  for (int kind = 1; kind <= 9; ++kind) {
    const int low = kind <= 5 ? -500 : 0;
    const int high = kind <= 5 ? 500 : kind == 6 ? 80 : 162500;
    for (int ch = 1; ch <= 2; ++ch) {
      const std::string k = std::to_string(kind) + "CH" + std::to_string(ch);
      yAxis += "YAXISLOW" + k + "=" + std::to_string(low) + "\n";
      yAxis += "YAXISHI" + k + "=" + std::to_string(high) + "\n";
    }
  }
  const std::string expected =
      "[TIMEInfo]\nYEAR=2008\nMONTH=1\nDAY=1\nHOUR=0\nMINUTE=0\nSECOND=0\n\n"
      "[SAMPRATEINFO]\nSAMPRATE=10\nSAMPUNIT=0\n\n"
      "[LIMITUNITINFO]\nLIMIT1UNIT=1\nLIMIT2UNIT=1\n\n"
      "[ALARMInfo]\nTEMPHI=500\nTEMPLOW=100\n\n"
      "[VIEWInfo]\nVIEW1=1\nVIEW2=1\nVIEW3=1\nVIEW4=0\nVIEW5=0\nVIEW6=0\nVIEW7=0\nVIEW8=1\n"
      "VIEW9=1\n\n"
      "[YAXISInfo]\n" +
      yAxis +
      "\n"
      "[ColorInfo]\nBGColor=13\nTColor=0\nT2Color=1\nT3Color=3\nGRIDColor=2\n\n"
      "[AUTOOFF Info]\nAUTOOFF=0\n\n"
      "[RECMODE Info]\nRECMODE=0\n\n"
      "[RTSAMPRATEINFO]\nRTSAMPRATE=2\n\n"
      "[RTSAMPDATAINFO]\nSAMPDATA=3600\n";
  EXPECT_EQ(test::ReadText(path), expected);
}

TEST(Settings, ValuesRoundTripAsTyped) {
  ScratchDir dir;
  const std::string path = dir.File("s.ini");
  AppSettings s;
  s.sampleRateText = "010";  // text: the leading zero stays
  s.riseLevelSetting = " 12.5 ";
  s.yAxisLow[3][1] = -12345;
  s.yAxisHigh[6][0] = 2000000000;
  s.markPoints = 1;
  ASSERT_TRUE(SaveSettings(s, path));
  const AppSettings back = LoadSettings(path);
  EXPECT_EQ(back.sampleRateText, "010");
  EXPECT_EQ(back.riseLevelSetting, "12.5") << "values are trimmed, as profile strings are";
  EXPECT_EQ(back.yAxisLow[3][1], -12345);
  EXPECT_EQ(back.yAxisHigh[6][0], 2000000000);
  EXPECT_EQ(back.markPoints, 1);
}

TEST(Settings, RecentFilesRoundTripAndAShorterListLeavesNoStaleEntry) {
  ScratchDir dir;
  const std::string path = dir.File("s.ini");
  AppSettings s;
  s.recentFiles = {"/data/b.stdata", "/data/a b.stdata", std::string(300, 'x'), "/data/c.stdata"};
  ASSERT_TRUE(SaveSettings(s, path));
  EXPECT_EQ(LoadSettings(path).recentFiles,
            (std::vector<std::string>{"/data/b.stdata", "/data/a b.stdata", "/data/c.stdata"}))
      << "a path the file would cut is left out";
  s.recentFiles = {"/data/c.stdata"};
  ASSERT_TRUE(SaveSettings(s, path));
  EXPECT_EQ(LoadSettings(path).recentFiles, s.recentFiles);
}

TEST(Settings, OtherContentSurvivesAndNamesIgnoreCase) {
  ScratchDir dir;
  const std::string path = dir.File("s.ini");
  Write(path,
        "; written by hand\r\n"
        "[timeinfo]\r\n"
        "year = 1999\r\n"
        "ZONE=UTC\r\n"
        "\r\n"
        "[Somebody Else]\r\n"
        "key=value with = sign\r\n"
        "[yaxisinfo]\r\n"
        "YAXISHI6CH1=100\r\n");
  const AppSettings loaded = LoadSettings(path);
  EXPECT_EQ(loaded.lastClockText[0], "1999");
  EXPECT_EQ(loaded.yAxisHigh[5][0], 100);
  EXPECT_EQ(loaded.yAxisLow[5][0], 0) << "a missing key keeps its default";

  ASSERT_TRUE(SaveSettings(loaded, path));
  const std::string text = test::ReadText(path);
  EXPECT_EQ(text.find("; written by hand\n[timeinfo]\nyear=1999\nZONE=UTC\nMONTH=1\n"), 0u) << text;
  EXPECT_NE(text.find("[Somebody Else]\nkey=value with = sign\n"), std::string::npos);
  EXPECT_EQ(text.find("[TIMEInfo]"), std::string::npos) << "no second section";
  EXPECT_NE(text.find("[yaxisinfo]\nYAXISHI6CH1=100\nYAXISLOW1CH1=-500\n"), std::string::npos);
  EXPECT_EQ(LoadSettings(path).yAxisHigh[5][0], 100);
}

TEST(Settings, DamagedFilesGiveDefaultsAndCanBeReplaced) {
  ScratchDir dir;
  const std::string path = dir.File("s.ini");
  std::string garbage = "[ColorInfo\nBGColor=99\nTColor=-1\n\x01\x02=\xff\xfe\n";
  garbage += std::string("\0\0[=]=\n", 7);
  garbage += "[RTSAMPDATAINFO]\nSAMPDATA=0\n[RTSAMPRATEINFO]\nRTSAMPRATE=1\n";
  garbage += "[SAMPRATEINFO]\nSAMPUNIT=7\n[]\n=\n===\n[VIEWInfo]\nVIEW7\n";
  garbage += std::string(5000, 'x');
  Write(path, garbage);
  const AppSettings s = LoadSettings(path);
  const AppSettings d;
  EXPECT_EQ(s.backgroundColour, d.backgroundColour) << "no colour 99";
  EXPECT_EQ(s.ch1Colour, d.ch1Colour);
  EXPECT_EQ(s.realTimePoints, d.realTimePoints);
  EXPECT_EQ(s.rtInterval, d.rtInterval);
  EXPECT_EQ(s.sampleRateUnit, d.sampleRateUnit);
  EXPECT_EQ(s.markPoints, d.markPoints);
  EXPECT_TRUE(SaveSettings(s, path));
  EXPECT_EQ(LoadSettings(path).backgroundColour, 13);

  // Not a file at all, or far too large to be one.
  std::filesystem::create_directory(dir.File("folder.ini"));
  EXPECT_EQ(LoadSettings(dir.File("folder.ini")).gridColour, 2);
  Write(dir.File("big.ini"), "[ColorInfo]\nGRIDColor=5\n" + std::string(2 << 20, ';'));
  EXPECT_EQ(LoadSettings(dir.File("big.ini")).gridColour, 2);

  // An unwritable place is reported, not fatal.
  EXPECT_FALSE(SaveSettings(s, dir.File("no/such/folder/s.ini")));
}

// A file that is there but was not read whole (over the size cap, or not
// readable) lent the program none of its values: saving keeps it under a
// name of its own first, a second such file under the next free name, and
// says so. Only then is the new file written.
TEST(Settings, AFileNotReadWholeIsKeptAsideBeforeItIsWritten) {
  ScratchDir dir;
  const std::string path = dir.File("s.ini");
  const std::string big = "[EVENTLimits]\nNOMINAL=110\n" + std::string(2 << 20, ';');
  for (const char* kept : {"s.ini.bad", "s.ini.bad.2"}) {
    SCOPED_TRACE(kept);
    Write(path, big);
    std::string problem;
    AppSettings s = LoadSettings(path, &problem);
    EXPECT_NE(problem.find("bytes long"), std::string::npos) << problem;
    s.gridColour = 5;
    std::string notice;
    ASSERT_TRUE(SaveSettings(s, path, &notice));
    EXPECT_NE(notice.find(dir.File(kept)), std::string::npos) << notice;
    EXPECT_EQ(test::ReadText(dir.File(kept)), big);
    EXPECT_EQ(LoadSettings(path, &problem).gridColour, 5);
    EXPECT_EQ(problem, "");
  }
  // A file read whole, or none at all, is no problem and nothing is kept aside.
  std::string notice = "x";
  ASSERT_TRUE(SaveSettings(AppSettings{}, path, &notice));
  EXPECT_EQ(notice, "");
  std::string problem = "x";
  LoadSettings(dir.File("none.ini"), &problem);
  EXPECT_EQ(problem, "");
  EXPECT_FALSE(std::filesystem::exists(dir.File("s.ini.bad.3")));

  // A folder in the file's place is neither moved nor written over.
  std::filesystem::create_directory(dir.File("folder.ini"));
  EXPECT_FALSE(SaveSettings(AppSettings{}, dir.File("folder.ini"), &notice));
  EXPECT_NE(notice.find("not written over"), std::string::npos) << notice;
  EXPECT_TRUE(std::filesystem::is_directory(dir.File("folder.ini")));
}

// Every value is read back within what the dialogs offer and the logger
// takes: a number beyond its range becomes its nearest end (numbers kept as
// text) or its default (codes and indexes), a text without a number its
// default; integer keys follow the profile rule that such a text reads as 0.
TEST(Settings, ValuesOutsideTheirRangesAreClampedOnReading) {
  using Get = std::string (*)(const AppSettings&);
  struct Case {
    const char* lines;
    Get get;
    const char* expected;
  };
  const Get rise = [](const AppSettings& s) { return s.riseLevelSetting; };
  const Get drop = [](const AppSettings& s) { return s.dropLevelSetting; };
  const Get rate = [](const AppSettings& s) { return s.sampleRateText; };
  const Get unit = [](const AppSettings& s) { return std::to_string(s.sampleRateUnit); };
  const Get riseUnit = [](const AppSettings& s) { return std::to_string(s.riseLevelUnit); };
  const Get background = [](const AppSettings& s) { return std::to_string(s.backgroundColour); };
  const Get autoOff = [](const AppSettings& s) { return std::to_string(s.autoPowerOff); };
  const Get recMode = [](const AppSettings& s) { return std::to_string(s.circulateLogging); };
  const Get interval = [](const AppSettings& s) { return std::to_string(s.rtInterval); };
  const Get points = [](const AppSettings& s) { return std::to_string(s.realTimePoints); };
  const Get marks = [](const AppSettings& s) { return std::to_string(s.markPoints); };
  const Get yAxis3ch2 = [](const AppSettings& s) {
    return std::to_string(s.yAxisLow[2][1]) + ".." + std::to_string(s.yAxisHigh[2][1]);
  };
  const Get yAxis7ch1 = [](const AppSettings& s) {
    return std::to_string(s.yAxisLow[6][0]) + ".." + std::to_string(s.yAxisHigh[6][0]);
  };
  const Case cases[] = {
      {"[ALARMInfo]\nTEMPHI=-5", rise, "0"},
      {"[ALARMInfo]\nTEMPHI=5000", rise, "1000"},
      {"[ALARMInfo]\nTEMPHI=high", rise, "500"},
      {"[ALARMInfo]\nTEMPLOW=99999", drop, "1000"},
      {"[ALARMInfo]\nTEMPLOW=-", drop, "100"},
      {"[SAMPRATEINFO]\nSAMPRATE=0", rate, "1"},
      {"[SAMPRATEINFO]\nSAMPRATE=75", rate, "60"},
      {"[SAMPRATEINFO]\nSAMPRATE=30\nSAMPUNIT=2", rate, "24"},
      {"[SAMPRATEINFO]\nSAMPRATE=ten", rate, "10"},
      {"[SAMPRATEINFO]\nSAMPUNIT=-1", unit, "0"},
      {"[SAMPRATEINFO]\nSAMPUNIT=3", unit, "0"},
      {"[LIMITUNITINFO]\nLIMIT1UNIT=-1", riseUnit, "1"},
      {"[LIMITUNITINFO]\nLIMIT1UNIT=2", riseUnit, "1"},
      {"[LIMITUNITINFO]\nLIMIT1UNIT=V", riseUnit, "0"},
      {"[ColorInfo]\nBGColor=-1", background, "13"},
      {"[ColorInfo]\nBGColor=15", background, "13"},
      {"[AUTOOFF Info]\nAUTOOFF=1", autoOff, "0"},
      {"[AUTOOFF Info]\nAUTOOFF=3", autoOff, "0"},
      {"[RECMODE Info]\nRECMODE=2", recMode, "0"},
      {"[RECMODE Info]\nRECMODE=4", recMode, "0"},
      {"[RTSAMPRATEINFO]\nRTSAMPRATE=1", interval, "2"},
      {"[RTSAMPRATEINFO]\nRTSAMPRATE=3601", interval, "2"},
      {"[RTSAMPRATEINFO]\nRTSAMPRATE=fast", interval, "2"},
      {"[RTSAMPDATAINFO]\nSAMPDATA=0", points, "3600"},
      {"[RTSAMPDATAINFO]\nSAMPDATA=100001", points, "3600"},
      {"[VIEWInfo]\nVIEW7=-1", marks, "0"},
      {"[VIEWInfo]\nVIEW7=2", marks, "0"},
      {"[YAXISInfo]\nYAXISLOW3CH2=500", yAxis3ch2, "-500..500"},
      {"[YAXISInfo]\nYAXISLOW3CH2=600\nYAXISHI3CH2=100", yAxis3ch2, "-500..500"},
      {"[YAXISInfo]\nYAXISHI7CH1=-1", yAxis7ch1, "0..162500"},
      {"[YAXISInfo]\nYAXISHI7CH1=none", yAxis7ch1, "0..162500"},
      {"[YAXISInfo]\nYAXISLOW3CH2=-2000000\nYAXISHI3CH2=2000000", yAxis3ch2, "-2000000..2000000"},
  };
  ScratchDir dir;
  const std::string path = dir.File("s.ini");
  for (const Case& c : cases) {
    Write(path, std::string(c.lines) + "\n");
    const AppSettings loaded = LoadSettings(path);
    EXPECT_EQ(c.get(loaded), c.expected) << c.lines;
    // Written back as read, and read back the same.
    ASSERT_TRUE(SaveSettings(loaded, path));
    const std::string written = test::ReadText(path);
    EXPECT_EQ(c.get(LoadSettings(path)), c.expected) << c.lines;
    ASSERT_TRUE(SaveSettings(LoadSettings(path), path));
    EXPECT_EQ(test::ReadText(path), written) << c.lines;
  }
}

TEST(Settings, CarriageReturnsAtLineEndsSurviveSaving) {
  ScratchDir dir;
  const std::string path = dir.File("s.ini");
  Write(path, "[Somebody Else]\r\nkey=value\r\r\r\r\nnote\r\r\r\n[ALARMInfo]\r\r\nTEMPHI=7\r\r\n");
  ASSERT_TRUE(SaveSettings(LoadSettings(path), path));
  const std::string once = test::ReadText(path);
  EXPECT_EQ(once.find("[Somebody Else]\nkey=value\nnote\n[ALARMInfo]\nTEMPHI=7\n"), 0u) << once;
  ASSERT_TRUE(SaveSettings(LoadSettings(path), path));
  EXPECT_EQ(test::ReadText(path), once);
}

TEST(IniFile, ProfileValueRules) {
  const IniFile ini = IniFile::Parse(
      "[A]\n"
      "n1=  42  \n"
      "n2=-500\n"
      "n3=+7\n"
      "n4=12abc\n"
      "n5=abc\n"
      "n6=\n"
      "n7=99999999999\n"
      "n8=-99999999999\n"
      "q1=\"quoted text\"\n"
      "q2='x'\n"
      "q3=\"unbalanced\n"
      "long=" +
      std::string(300, 'L') +
      "\n"
      "dup=first\n"
      "dup=second\n"
      "[B]\n"
      "n1=1\n");
  EXPECT_EQ(ini.GetInt("A", "n1", 9), 42);
  EXPECT_EQ(ini.GetInt("a", "N2", 9), -500);
  EXPECT_EQ(ini.GetInt("A", "n3", 9), 7);
  EXPECT_EQ(ini.GetInt("A", "n4", 9), 12);
  EXPECT_EQ(ini.GetInt("A", "n5", 9), 0) << "text without digits";
  EXPECT_EQ(ini.GetInt("A", "n6", 9), 9) << "an empty value";
  EXPECT_EQ(ini.GetInt("A", "missing", 9), 9);
  EXPECT_EQ(ini.GetInt("A", "n7", 9), INT_MAX);
  EXPECT_EQ(ini.GetInt("A", "n8", 9), INT_MIN);
  EXPECT_EQ(ini.GetString("A", "q1", ""), "quoted text");
  EXPECT_EQ(ini.GetString("A", "q2", ""), "x");
  EXPECT_EQ(ini.GetString("A", "q3", ""), "\"unbalanced");
  EXPECT_EQ(ini.GetString("A", "long", "").size(), IniFile::kMaxValueLength);
  EXPECT_EQ(ini.GetString("A", "dup", ""), "first");
  EXPECT_EQ(ini.GetInt("B", "n1", 9), 1);
  EXPECT_EQ(ini.GetString("C", "n1", "none"), "none");

  // A value cannot break the file's lines.
  IniFile edited = ini;
  edited.Set("B", "text", "two\nlines");
  EXPECT_EQ(IniFile::Parse(edited.Text()).GetString("B", "text", ""), "two lines");
}

// The event limits keep a section of their own, written once they differ
// from the defaults (the default file above has none). A value out of its
// own range keeps its default; limits crossed as a whole all fall back.
TEST(Settings, EventLimitsRoundTripAndFallBackWhenDamaged) {
  ScratchDir dir;
  const std::string path = dir.File("s.ini");
  AppSettings s;
  s.eventLimits.nominal = 120;
  s.eventLimits.hysteresisPct = 2.5;
  s.eventLimits.overCurrent = 16;
  s.eventLimits.bandPct = 7.5;
  s.eventLimits.frequency = 60;
  ASSERT_TRUE(SaveSettings(s, path));
  EXPECT_EQ(LoadSettings(path).eventLimits, s.eventLimits);
  EXPECT_NE(test::ReadText(path).find("[EVENTLimits]\nNOMINAL=120\nDIP=90\nSWELL=110\n"),
            std::string::npos);

  Write(path,
        "[EVENTLimits]\nNOMINAL=abc\nDIP=95\nHYSTERESIS=-1\nOVERCURRENT=1e3\nBAND=60\n"
        "FREQUENCY=55\n");
  EventLimits expected;
  expected.dipPct = 95;
  EXPECT_EQ(LoadSettings(path).eventLimits, expected);
  Write(path, "[EVENTLimits]\nDIP=80\nINTERRUPTION=85\n");
  EXPECT_EQ(LoadSettings(path).eventLimits, EventLimits{}) << "interruption above the dip";
}

// The library's place and the site every download goes to: kept as
// written, left out of a file that never had them, and a value the file
// cannot give back whole (damage, a cut value) reads as none.
TEST(Settings, LibrarySettingsRoundTripAndFallBackWhenDamaged) {
  ScratchDir dir;
  const std::string path = dir.File("s.ini");
  ASSERT_TRUE(SaveSettings(AppSettings{}, path));
  EXPECT_EQ(test::ReadText(path).find("LIBRARY"), std::string::npos);

  AppSettings s;
  s.library.url = "postgresql://survey@pq.example.org/acvlogger";
  s.library.autoAddSite = "Substation 4; feeder = north";
  ASSERT_TRUE(SaveSettings(s, path));
  EXPECT_EQ(LoadSettings(path).library, s.library);
  s.library = {};  // switched off again: the keys stay, empty
  ASSERT_TRUE(SaveSettings(s, path));
  EXPECT_EQ(LoadSettings(path).library, LibrarySettings{});

  Write(path, "[LIBRARYInfo]\nURL=" + std::string(300, 'x') + ".sqlite\nAUTOADDSITE=a\x01b\n");
  EXPECT_EQ(LoadSettings(path).library, LibrarySettings{});
  s.library.autoAddSite = std::string(IniFile::kMaxValueLength, 's');
  ASSERT_TRUE(SaveSettings(s, path));
  EXPECT_EQ(LoadSettings(path).library.autoAddSite, "");
}

}  // namespace
}  // namespace acv
