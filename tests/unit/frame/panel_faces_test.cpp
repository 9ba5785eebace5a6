// The information panel's face and the power analysis panel's texts.
#include <gtest/gtest.h>

#include "frame/InfoPanelFace.h"
#include "frame/PowerPanel.h"

namespace acv {
namespace {

InfoTexts Texts() {
  InfoTexts t;
  t.modeText = "REAL TIME S(VA)";
  t.rateText = "2";
  t.startText = "01/03/26 10:00:00";
  t.countText = "12";
  t.max1Text = "max1";
  t.min1Text = "min1";
  t.max2Text = "max2";
  t.min2Text = "min2";
  return t;
}

std::vector<std::string> Strings(const InfoPanelFace& face) {
  std::vector<std::string> out;
  for (const InfoPanelText& t : face.texts) out.push_back(t.text);
  return out;
}

TEST(InfoPanelFaceTest, RowsFollowTheDisplayAndItsChannels) {
  const std::string mode = InfoRowLabel(" MODE:", 57, "SAMPLING RATE:");
  const std::string start = InfoRowLabel(" STARTTIME:", 48, "DATANO:");
  const std::string ch1 = InfoRowLabel(" CH1 MAX:", 53, "CH1 MIN:");
  const std::string ch2 = InfoRowLabel(" CH2 MAX:", 53, "CH2 MIN:");
  const std::string s = InfoRowLabel(" S MAX:", 57, "S MIN:");
  ASSERT_EQ(mode.size(), 6u + 57u + 14u);
  const std::vector<std::string> head = {mode,  "REAL TIME S(VA)",   "2",
                                         start, "01/03/26 10:00:00", "12"};
  auto with = [&head](std::vector<std::string> rest) {
    std::vector<std::string> all = head;
    all.insert(all.end(), rest.begin(), rest.end());
    return all;
  };
  struct Case {
    DisplayMode mode;
    bool ch1, ch2;
    std::vector<std::string> texts;
  };
  const std::vector<Case> cases = {
      {DisplayMode::StoreRms, true, true, with({ch1, "max1", "min1", ch2, "max2", "min2"})},
      {DisplayMode::StoreRms, false, true, with({ch2, "max2", "min2"})},
      {DisplayMode::RealTimeS, true, true, with({s, "max1", "min1"})},  // one S row only
      {DisplayMode::RealTimeRms, false, false, head},
  };
  for (const Case& c : cases) {
    const InfoPanelFace face = LayOutInfoPanel(c.mode, c.ch1, c.ch2, Texts(), 1000);
    EXPECT_EQ(Strings(face), c.texts) << ModeName(c.mode);
    EXPECT_EQ(face.lines, std::vector<int>{40});
    ASSERT_TRUE(face.headingBand);
    EXPECT_EQ(face.heading.text, " REC INFO ");
    EXPECT_EQ(face.heading.x, 440);
    EXPECT_EQ(face.headingLines, (std::vector<int>{19, 20}));
  }
  const InfoPanelFace face = LayOutInfoPanel(DisplayMode::StoreRms, true, true, Texts(), 1000);
  EXPECT_EQ(face.texts[2].x, 490);  // the rate
  EXPECT_EQ(face.texts[8].y, 65);   // CH1 MIN text
  EXPECT_EQ(face.texts[8].x, 400);
  EXPECT_EQ(face.texts[11].y, 85);
}

TEST(InfoPanelFaceTest, StoreTrAndEpaShowTheStartTextAloneCentred) {
  for (DisplayMode mode : {DisplayMode::StoreTr, DisplayMode::RealTimeEpa}) {
    const InfoPanelFace face = LayOutInfoPanel(mode, true, true, Texts(), 1000);
    ASSERT_EQ(face.texts.size(), 1u);
    EXPECT_EQ(face.texts[0].text, "01/03/26 10:00:00");
    EXPECT_EQ(face.texts[0].x, 500 - 4 * 17);
    EXPECT_EQ(face.texts[0].y, 0);
    EXPECT_TRUE(face.texts[0].heading);
    EXPECT_FALSE(face.headingBand);
    EXPECT_TRUE(face.lines.empty());
  }
}

TEST(PowerPanel, TheRmsDigitsCarryTheirUnitWhenTheyAreANumber) {
  const struct {
    const char* rms;
    const char* unit;
    const char* shown;
  } cases[] = {{"230.1", "V", "230.1 V"}, {"-0.5", "A", "-0.5 A"}, {"NONE", "V", "NONE"},
               {"LO", "A", "LO"},         {"", "V", ""},           {"12.0", "", "12.0"}};
  for (const auto& c : cases) {
    PowerPanelData p;
    p.channel[1].rms = c.rms;
    p.unit[1] = c.unit;
    EXPECT_EQ(p.RmsText(1), c.shown) << c.rms << " " << c.unit;
  }
}

// The texts stay as measured in counts (their LO rules count in counts);
// the digits show them in primary units.
TEST(PowerPanel, ShownValuesAreInPrimaryUnits) {
  PowerPanelData p;
  p.factor = {0.5, 20.0};
  p.unit = {"V", "A"};
  p.channel[0].rms = "461.0";
  p.channel[1].rms = "LO";
  p.apparentPower = "2305";
  EXPECT_EQ(p.RmsText(0), "230.5 V");
  EXPECT_EQ(p.RmsText(1), "LO");
  EXPECT_EQ(p.ApparentPowerText(), "23050");
  p.apparentPower = "NONE";
  EXPECT_EQ(p.ApparentPowerText(), "NONE");
}

TEST(PowerPanel, ResetOpenAndTheOwnersClose) {
  PowerPanelData p;
  p.channel[0].peakToPeak = p.channel[1].peakToPeak = "650";
  p.Reset();
  for (const PowerPanelTexts& c : p.channel) {
    for (const std::string* t : {&c.rms, &c.period, &c.frequency, &c.amplitude, &c.spare}) {
      EXPECT_EQ(*t, "NONE");
    }
    EXPECT_EQ(c.peakToPeak, "650");  // not among the fifteen
  }
  EXPECT_EQ(p.apparentPower, "NONE");
  EXPECT_EQ(p.power, PowerTexts(std::nullopt));

  p.Open();
  EXPECT_EQ(p.phaseLabel1, "Phi");
  EXPECT_EQ(p.phaseDifferenceLabel, "DIF Phi");
  EXPECT_EQ(p.powerFactorLabel, "Power factor");
  EXPECT_TRUE(p.verticalChecked);
  EXPECT_FALSE(p.horizontalChecked);

  p.ClosedByOwner();
  const PowerPanelTexts& c1 = p.channel[0];
  EXPECT_EQ(c1.period + c1.frequency + c1.rms + c1.peakToPeak, "");
  EXPECT_EQ(c1.amplitude, "NONE");
  EXPECT_EQ(p.channel[1].rms, "NONE");
  EXPECT_EQ(p.apparentPower, "NONE");
}

}  // namespace
}  // namespace acv
