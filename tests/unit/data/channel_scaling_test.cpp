// Channel scaling kept in the settings file: what is read back, what keeps
// the default, and what the fields refuse.
#include <gtest/gtest.h>

#include "data/ChannelScaling.h"
#include "data/IniFile.h"

namespace acv {
namespace {

TEST(ChannelScaling, KeptValuesAndTheOnesThatKeepTheDefault) {
  IniFile ini;
  ini.Set("CHANNELScaling", "RATIO1", "20");
  ini.Set("CHANNELScaling", "SCALE1", "1e-3");
  ini.Set("channelscaling", "ratio2", "0");    // out of range
  ini.Set("CHANNELScaling", "SCALE2", "2,5");  // a decimal comma is no number
  const ChannelScaling read = ReadChannelScaling(ini);
  EXPECT_EQ(read[0], (ChannelScale{20.0, 0.001}));
  EXPECT_EQ(read[1], ChannelScale{});

  IniFile out;
  WriteChannelScaling(out, ChannelScaling{});
  EXPECT_FALSE(out.Get("CHANNELScaling", "RATIO1")) << "defaults leave the file as it was";
  const ChannelScaling scaling{ChannelScale{1.0, 0.0125}, ChannelScale{2000.0 / 5.0, 1.0}};
  WriteChannelScaling(out, scaling);
  EXPECT_EQ(ReadChannelScaling(out), scaling);
}

TEST(ChannelScaling, TypedValues) {
  struct Case {
    const char* text;
    bool ok;
  } cases[] = {{"20", true},     {"+0.5", true},  {"1e6", true},  {"1e-6", true},
               {"1.1e6", false}, {"5e-7", false}, {"-1", false},  {"", false},
               {"abc", false},   {"20 A", false}, {"nan", false}, {"inf", false}};
  for (const Case& c : cases) {
    double v = 0.0;
    EXPECT_EQ(ParseScaleText(c.text, v), c.ok) << c.text;
  }
}

// Scaled raw samples show as many decimals as one count needs.
TEST(ChannelScaling, DecimalsOfAScaledCount) {
  const std::pair<double, int> cases[] = {{1.0, 0},  {20.0, 0},   {0.5, 1},  {0.1, 1},
                                          {0.01, 2}, {0.0125, 2}, {1e-6, 6}, {1e-9, 6}};
  for (const auto& [factor, decimals] : cases)
    EXPECT_EQ(SampleDecimals(factor), decimals) << factor;
}

}  // namespace
}  // namespace acv
