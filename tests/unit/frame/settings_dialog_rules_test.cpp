// The rules behind the Color, Axis and View dialogs.
#include <gtest/gtest.h>

#include <tuple>

#include "frame/SettingsDialogRules.h"

namespace acv {
namespace {

TEST(ColourList, OffersTheTableInOrderAndSkipsRepeatedColours) {
  const std::uint32_t table[] = {0x0000FF, 0x00FF00, 0x0000FF, 0x000000, 0x00FF00, 0xFFFFFF};
  EXPECT_EQ(ColourListEntries(table), (std::vector<int>{0, 1, 3, 5}));
  EXPECT_EQ(ColourListEntries().size(), 15u);  // the program's table has no repeats
}

TEST(AxisTyping, CorrectsEachFieldAsTyped) {
  struct Case {
    AxisField field;
    const char* typed;
    const char* shown;
  } cases[] = {
      {AxisField::Ch1From, "-", "-"},      {AxisField::Ch1To, "", ""},
      {AxisField::Ch2From, "-12x", "-12"}, {AxisField::Ch2To, "007", "7"},
      {AxisField::XFrom, "0", "1"},        {AxisField::XFrom, "-", "-"},
      {AxisField::XTo, "1000", "300"},     {AxisField::XTo, "299", "299"},
      {AxisField::Ch1To, "1.5", "1"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(AxisTextWhileTyping(c.field, c.typed, 300), c.shown) << c.typed;
  }
}

TEST(AxisCheck, GivesTheMessagesInTurnAndDuringARunXToIsThePointCount) {
  const std::string y = "The started Y Axis must be lower than the ended Y Axis";
  const std::string x = "The started X Axis must be lower than the ended X Axis";
  const AxisTexts texts{"0", "10", "0", "10", "1", "5000"};
  const struct Case {
    AxisTexts texts;
    bool run;
    DisplayMode mode;
    int rtCount, lastPoint;
    std::vector<std::string> messages;
  } cases[] = {
      {{"100", "100", "0", "10", "50", "10"}, false, DisplayMode::StoreRms, 0, 10, {y, x}},
      {{"0", "10", "5", "", "1", "10"}, false, DisplayMode::StoreRms, 0, 10, {y}},  // "" reads 0
      // X To follows the run in the growing displays only.
      {texts, true, DisplayMode::RealTimeRms, 42, 42, {}},
      {texts, true, DisplayMode::RealTimeFreq, 42, 42, {}},
      {texts, true, DisplayMode::RealTimeS, 42, 42, {}},
      {texts, false, DisplayMode::RealTimeRms, 42, 5000, {}},
      {texts, true, DisplayMode::RealTimeEpa, 42, 5000, {}},
      {texts, true, DisplayMode::RealTimeRms, 1, 1, {x}},  // one point leaves nothing to span
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(&c - cases);
    const AxisCheck check = CheckAxisFields(c.texts, c.run, c.mode, c.rtCount);
    EXPECT_EQ(check.values.lastPoint, c.lastPoint);
    EXPECT_EQ(check.messages, c.messages);
    EXPECT_EQ(check.Valid(), c.messages.empty());
  }
}

TEST(AxisLimits, GoIntoTheRowOfTheShownDisplayAndIntoItsSetup) {
  FrameState frame;
  const AxisValues v{-3, 7, 1, 9, 20, 40};
  PutAxisLimits(frame, DisplayMode::RealTimeFreq, v);
  EXPECT_EQ(frame.yAxisLow[5], (std::array<int, 2>{-3, 1}));
  EXPECT_EQ(frame.yAxisHigh[5], (std::array<int, 2>{7, 9}));
  const FrameState untouched;
  PutAxisLimits(frame, DisplayMode::None, v);
  EXPECT_EQ(frame.yAxisHigh[0], untouched.yAxisHigh[0]);
  // The set-up takes all six and keeps the rest.
  DisplaySetup setup;
  setup.trRecord = 3;
  PutAxisValues(setup, v);
  EXPECT_EQ(std::tie(setup.ch1From, setup.ch1To, setup.ch2From, setup.ch2To, setup.firstPoint,
                     setup.lastPoint),
            std::make_tuple(-3, 7, 1, 9, 20, 40));
  EXPECT_EQ(AxisValuesOf(setup), v);
  EXPECT_EQ(setup.trRecord, 3);
}

TEST(AxisPoints, FollowTheDisplay) {
  CDTDoc doc;
  doc.rmsCount = 300;
  doc.rtCount = 12;
  EXPECT_EQ(AxisPointCount(DisplayMode::StoreRms, doc), 300);
  EXPECT_EQ(AxisPointCount(DisplayMode::StoreTr, doc), 251);
  EXPECT_EQ(AxisPointCount(DisplayMode::RealTimeEpa, doc), 590);
  EXPECT_EQ(AxisPointCount(DisplayMode::RealTimeS, doc), 12);
}

TEST(ViewOptions, RoundTripAllNineIncludingTheHiddenOnes) {
  AppSettings s;
  s.showCh3 = 0;
  s.capLevelShown = 1;
  s.ch2AlarmShown = 1;
  s.ch3AlarmShown = 0;
  ViewOptionValues o = ViewOptionsOf(s);
  o[static_cast<int>(ViewOption::MarkPoints)] = true;
  AppSettings back;
  PutViewOptions(o, back);
  EXPECT_EQ(back.showCh3, 0);
  EXPECT_EQ(back.capLevelShown, 1);
  EXPECT_EQ(back.ch2AlarmShown, 1);
  EXPECT_EQ(back.ch3AlarmShown, 0);
  EXPECT_EQ(back.markPoints, 1);
  EXPECT_EQ(back.xGrid, 1);
}

}  // namespace
}  // namespace acv
