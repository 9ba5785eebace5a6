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

TEST(AxisCheck, ShowsBothMessagesInTurnAndStoresNothing) {
  const AxisTexts texts{"100", "100", "0", "10", "50", "10"};
  const AxisCheck check = CheckAxisFields(texts, false, DisplayMode::StoreRms, 0);
  EXPECT_EQ(check.messages,
            (std::vector<std::string>{"The started Y Axis must be lower than the ended Y Axis",
                                      "The started X Axis must be lower than the ended X Axis"}));
  EXPECT_FALSE(check.Valid());
  const AxisTexts ch2Only{"0", "10", "5", "", "1", "10"};  // an empty field reads 0
  EXPECT_EQ(CheckAxisFields(ch2Only, false, DisplayMode::StoreRms, 0).messages.size(), 1u);
}

TEST(AxisCheck, DuringARunXToIsThePointCountInTheGrowingDisplays) {
  const AxisTexts texts{"0", "10", "0", "10", "1", "5000"};
  for (DisplayMode mode :
       {DisplayMode::RealTimeRms, DisplayMode::RealTimeFreq, DisplayMode::RealTimeS}) {
    EXPECT_EQ(CheckAxisFields(texts, true, mode, 42).values.lastPoint, 42);
  }
  EXPECT_EQ(CheckAxisFields(texts, false, DisplayMode::RealTimeRms, 42).values.lastPoint, 5000);
  EXPECT_EQ(CheckAxisFields(texts, true, DisplayMode::RealTimeEpa, 42).values.lastPoint, 5000);
  // A run of one point leaves nothing to span: the X message stands.
  EXPECT_FALSE(CheckAxisFields(texts, true, DisplayMode::RealTimeRms, 1).Valid());
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
