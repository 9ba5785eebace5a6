// The Channel Scaling dialog's rules: what it opens with reads back as the
// same scaling, and OK names the first bad field.
#include <gtest/gtest.h>

#include "frame/ScalingDialogRules.h"

namespace acv {
namespace {

TEST(ScalingDialog, OpensWithTextsThatReadBackAsTheScaling) {
  const ChannelScaling scaling{ChannelScale{20.0, 0.0125}, ChannelScale{1e-6, 1e6}};
  const ScaleTexts texts = ScaleTextsOf(scaling);
  EXPECT_EQ(texts, (ScaleTexts{"20", "0.0125", "1e-06", "1000000"}));
  const ScalingCheck check = CheckScaleTexts(texts);
  EXPECT_EQ(check.problem, "");
  EXPECT_EQ(check.scaling, scaling);
}

TEST(ScalingDialog, OkNamesTheFirstBadField) {
  struct Case {
    ScaleTexts texts;
    std::size_t field;  // kScaleFieldCount: none
    const char* named;
  } cases[] = {
      {{" 20 ", "+0.5", "1e3", "1"}, kScaleFieldCount, ""},
      {{"", "1", "1", "1"}, 0, "CH1 ratio"},
      {{"1", "0", "1", "1"}, 1, "CH1 sample scale"},
      {{"1", "1", "20:1", "1"}, 2, "CH2 ratio"},
      {{"1", "1", "1", "1e7"}, 3, "CH2 sample scale"},
      {{"1", "1", "-20", "nan"}, 2, "CH2 ratio"},
      {{"1", "1", "1", "0,01"}, 3, "CH2 sample scale"},
  };
  for (const Case& c : cases) {
    const ScalingCheck check = CheckScaleTexts(c.texts);
    if (c.field == kScaleFieldCount) {
      EXPECT_EQ(check.problem, "") << c.texts[0];
      EXPECT_EQ(check.scaling[0].ratio, 20.0);
      continue;
    }
    EXPECT_EQ(check.field, c.field) << c.named;
    EXPECT_EQ(check.problem.find(std::string("The ") + c.named + " must"), 0u) << check.problem;
  }
}

}  // namespace
}  // namespace acv
