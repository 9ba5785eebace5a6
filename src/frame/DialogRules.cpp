#include "frame/DialogRules.h"

#include <cctype>

namespace acv {

namespace {

bool IsBlank(char c) {
  return std::isspace(static_cast<unsigned char>(c)) != 0;
}
bool IsDigit(char c) {
  return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

constexpr ClockField kFieldOrder[kClockFields] = {ClockField::Year,   ClockField::Month,
                                                  ClockField::Day,    ClockField::Hour,
                                                  ClockField::Minute, ClockField::Second};

constexpr const char* kMonthNames[12] = {"January",   "February", "March",    "April",
                                         "May",       "June",     "July",     "August",
                                         "September", "October",  "November", "December"};

int DaysInMonth(int year, int month) {
  constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

}  // namespace

std::string IntegerRangePrompt(int lowest, int highest) {
  return "Please enter an integer between " + std::to_string(lowest) + " and " +
         std::to_string(highest) + ".";
}

std::optional<int> ParseWholeInt(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  const std::size_t digitsFrom = i;
  while (i < text.size() && IsDigit(text[i])) ++i;
  if (i == digitsFrom) return std::nullopt;
  const std::size_t digitsEnd = i;
  while (i < text.size() && IsBlank(text[i])) ++i;
  if (i != text.size()) return std::nullopt;
  // ParseLeadingInt saturates at the ends of the int range.
  return ParseLeadingInt(text.substr(0, digitsEnd));
}

FieldCheck CheckIntField(const std::string& text, int lowest, int highest) {
  const std::optional<int> value = ParseWholeInt(text);
  if (!value) return {std::nullopt, kPromptInteger};
  if (*value < lowest || *value > highest)
    return {std::nullopt, IntegerRangePrompt(lowest, highest)};
  return {value, {}};
}

RealTimeCheck CheckRealTimeFields(const std::string& rateText, const std::string& pointsText) {
  const FieldCheck rate = CheckIntField(rateText, kRtIntervalMin, kRtIntervalMax);
  const FieldCheck points = CheckIntField(pointsText, kRtPointsMin, kRtPointsMax);
  return {rate.value, points.value, rate.prompt.empty() ? points.prompt : rate.prompt};
}

std::string SetupRateTextWhileTyping(const std::string& text, int unit) {
  return std::to_string(ClampSampleRate(text, unit));
}

std::string SetupRateTextOnUnitChange(const std::string& text, int unit) {
  if (unit == kUnitHour && ParseLeadingInt(text) > 24) return "24";
  return text;
}

IntRange ClockSpinRange(ClockField field) {
  switch (field) {
    case ClockField::Year:
      return {kClockYearMin, kClockYearMax};
    case ClockField::Month:
      return {1, 12};
    case ClockField::Day:
      return {1, 31};
    case ClockField::Hour:
      return {0, 23};
    case ClockField::Minute:
    case ClockField::Second:
      return {0, 59};
  }
  return {0, 0};
}

std::string ClockTextWhileTyping(ClockField field, const std::string& text) {
  const int value = ParseLeadingInt(text);
  if (field == ClockField::Year) {
    if (value > kClockYearMax) return std::to_string(kClockYearMax);
    // Anything else is left as typed; a year with all its digits is only
    // normalised (leading zeros, trailing junk) once it is in range.
    return value >= kClockYearMin ? std::to_string(value) : text;
  }
  return std::to_string(ClampClockField(field, value));
}

std::string ClockTextSettled(ClockField field, const std::string& text) {
  return std::to_string(ClampClockField(field, ParseLeadingInt(text)));
}

ClockTexts ClockTextsFor(const LocalFields& time) {
  return {std::to_string(time.year), std::to_string(time.month),  std::to_string(time.day),
          std::to_string(time.hour), std::to_string(time.minute), std::to_string(time.second)};
}

CommandFrame ClockFrameFromTexts(const ClockTexts& texts) {
  std::array<int, kClockFields> v{};
  for (int i = 0; i < kClockFields; ++i) {
    v[i] = ClampClockField(kFieldOrder[i], ParseLeadingInt(texts[i]));
  }
  return BuildClockFrame(v[0], v[1], v[2], v[3], v[4], v[5]);
}

std::string ClockDateProblem(const ClockTexts& texts) {
  const int year = ClampClockField(ClockField::Year, ParseLeadingInt(texts[0]));
  const int month = ClampClockField(ClockField::Month, ParseLeadingInt(texts[1]));
  const int day = ClampClockField(ClockField::Day, ParseLeadingInt(texts[2]));
  if (month < 1 || month > 12) return {};
  if (day >= 1 && day <= DaysInMonth(year, month)) return {};
  return std::string(kMonthNames[month - 1]) + " " + std::to_string(year) + " has no day " +
         std::to_string(day) + ".";
}

}  // namespace acv
