// The value rules of the logger dialogs: what the real-time fields accept,
// the set-up rate clamp, and the clock fields down to the clock command.
#include <gtest/gtest.h>

#include <climits>

#include "frame/DialogRules.h"

namespace acv {
namespace {

TEST(RealTimeFieldCheck, AcceptsOnlyWholeIntegersInRange) {
  EXPECT_EQ(CheckIntField(" 3600 ", 2, 3600).value, 3600);
  EXPECT_EQ(CheckIntField("+15", 2, 3600).value, 15);
  for (const char* notInteger : {"", "-", " ", "1.5", "12-3", "1 2", "."}) {
    const FieldCheck check = CheckIntField(notInteger, 2, 3600);
    EXPECT_FALSE(check.value.has_value()) << '"' << notInteger << '"';
    EXPECT_EQ(check.prompt, "Please enter an integer.") << '"' << notInteger << '"';
  }
  // Too many digits for an int saturate and fail the range, not the parse.
  for (const char* outside : {"1", "-5", "3601", "99999999999999999999"}) {
    EXPECT_EQ(CheckIntField(outside, 2, 3600).prompt, "Please enter an integer between 2 and 3600.")
        << outside;
  }
  EXPECT_EQ(ParseWholeInt("-99999999999999999999"), INT_MIN);
}

TEST(RealTimeFieldCheck, ReportsTheFirstFailingFieldAndKeepsTheOther) {
  RealTimeCheck check = CheckRealTimeFields("1", "0");
  EXPECT_FALSE(check.Valid());
  EXPECT_EQ(check.prompt, "Please enter an integer between 2 and 3600.");
  check = CheckRealTimeFields("10", "");
  EXPECT_EQ(check.interval, 10);  // a good rate is still usable
  EXPECT_EQ(check.prompt, "Please enter an integer.");
  check = CheckRealTimeFields("10", "100001");
  EXPECT_EQ(check.prompt, "Please enter an integer between 1 and 100000.");
  EXPECT_TRUE(CheckRealTimeFields("3600", "100000").prompt.empty());
}

TEST(SetupRate, ClampsWhileTypingAndOnlyAnHourSwitchLowersIt) {
  EXPECT_EQ(SetupRateTextWhileTyping("75", kUnitMinute), "60");
  EXPECT_EQ(SetupRateTextWhileTyping("-", kUnitSecond), "1");
  EXPECT_EQ(SetupRateTextWhileTyping("0", kUnitHour), "1");
  EXPECT_EQ(SetupRateTextWhileTyping("007", kUnitSecond), "7");
  EXPECT_EQ(SetupRateTextWhileTyping("4.5", kUnitSecond), "4");
  EXPECT_EQ(SetupRateTextOnUnitChange("30", kUnitHour), "24");
  EXPECT_EQ(SetupRateTextOnUnitChange("30", kUnitMinute), "30");
  EXPECT_EQ(SetupRateTextOnUnitChange("12", kUnitHour), "12");
}

TEST(ClockFields, YearCanBeTypedDigitByDigitAndSettlesIntoItsRange) {
  std::string typed;
  for (char digit : std::string("2031")) {
    typed = ClockTextWhileTyping(ClockField::Year, typed + digit);
  }
  EXPECT_EQ(typed, "2031");
  EXPECT_EQ(ClockTextWhileTyping(ClockField::Year, "20305"), "2099");
  EXPECT_EQ(ClockTextWhileTyping(ClockField::Year, "02030"), "2030");
  EXPECT_EQ(ClockTextSettled(ClockField::Year, "20"), "2000");
  EXPECT_EQ(ClockTextSettled(ClockField::Year, ""), "2000");
  EXPECT_EQ(ClockTextSettled(ClockField::Month, "0"), "0");  // no lower clamp below the year
  EXPECT_EQ(ClockTextWhileTyping(ClockField::Minute, "60"), "59");
}

TEST(ClockFields, ADayTheMonthDoesNotHaveIsRefused) {
  const struct {
    ClockTexts texts;
    const char* problem;
  } cases[] = {
      {{"2030", "2", "31", "0", "0", "0"}, "February 2030 has no day 31."},
      {{"2030", "2", "29", "0", "0", "0"}, "February 2030 has no day 29."},
      {{"2028", "2", "29", "0", "0", "0"}, ""},  // a leap year
      {{"2000", "2", "29", "0", "0", "0"}, ""},  // divisible by 400
      {{"2026", "4", "31", "0", "0", "0"}, "April 2026 has no day 31."},
      {{"2026", "12", "31", "0", "0", "0"}, ""},
      {{"2026", "5", "0", "0", "0", "0"}, "May 2026 has no day 0."},
      {{"2026", "0", "31", "0", "0", "0"}, ""},  // month 0 is the clamps' business
      {{"2150", "2", "29", "0", "0", "0"}, "February 2099 has no day 29."},  // the year clamped
  };
  for (const auto& c : cases) EXPECT_EQ(ClockDateProblem(c.texts), c.problem) << c.texts[2];
}

TEST(ClockFrame, EncodesClampedFieldsAsBcd) {
  EXPECT_EQ(ClockFrameFromTexts({"2012", "3", "15", "9", "41", "7"}),
            (CommandFrame{0xAC, 0x12, 0x03, 0x15, 0x09, 0x41, 0x07, 0xFF}));
  // An unsettled year is still sent within the century.
  EXPECT_EQ(ClockFrameFromTexts({"20", "1", "1", "0", "0", "0"})[1], 0x00);
  EXPECT_EQ(ClockFrameFromTexts({"2150", "1", "1", "0", "0", "0"})[1], 0x99);
  EXPECT_EQ(ClockTextsFor({2031, 7, 4, 0, 5, 9}), (ClockTexts{"2031", "7", "4", "0", "5", "9"}));
}

}  // namespace
}  // namespace acv
