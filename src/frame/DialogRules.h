#pragma once
// The value rules of the logger dialogs, without widgets: what the real-time
// connect dialog accepts, how the set-up dialog's rate field is clamped while
// typing and on a unit switch, and how the clock fields are clamped and turned
// into the clock command. The dialogs only move texts between their controls
// and these functions.
#include <array>
#include <optional>
#include <string>

#include "data/TimeText.h"
#include "logger/CommandBuilders.h"

namespace acv {

// ---- real-time connect dialog -----------------------------------------------------

inline constexpr int kRtIntervalMin = 2;
inline constexpr int kRtIntervalMax = 3600;
inline constexpr int kRtPointsMin = 1;
inline constexpr int kRtPointsMax = 100000;

inline constexpr const char* kPromptInteger = "Please enter an integer.";

// "Please enter an integer between 2 and 3600."
std::string IntegerRangePrompt(int lowest, int highest);

// A whole field read as an integer: blanks around it, an optional sign and at
// least one digit, nothing else ("12a", "1.5", "-" and "" are not integers).
// Values beyond the int range saturate, so they fail the range check rather
// than the integer check.
std::optional<int> ParseWholeInt(const std::string& text);

// One field of the real-time dialog checked: its value when it is an integer
// in range, else the prompt that says why not.
struct FieldCheck {
  std::optional<int> value;
  std::string prompt;  // empty when the field passed
};
FieldCheck CheckIntField(const std::string& text, int lowest, int highest);

// Both fields of the real-time dialog. `prompt` is the first failure in the
// order of the fields (rate, then points), empty when both pass.
struct RealTimeCheck {
  std::optional<int> interval;
  std::optional<int> points;
  std::string prompt;
  bool Valid() const { return interval.has_value() && points.has_value(); }
};
RealTimeCheck CheckRealTimeFields(const std::string& rateText, const std::string& pointsText);

// ---- logger set-up dialog ---------------------------------------------------------

// The rate field after a change: clamped to 1..60 (1..24 for hours) and
// written back as plain decimal; an emptied or non-numeric field reads 1.
std::string SetupRateTextWhileTyping(const std::string& text, int unit);

// The rate field after the unit list changed: only a switch to hours with a
// rate above 24 changes it (to "24").
std::string SetupRateTextOnUnitChange(const std::string& text, int unit);

// Every value the set-up dialog edits, with the defaults of its "Default"
// button (10 seconds, both options off, levels 500 and 100 in volts).
struct SetupDialogValues {
  SetupValues command;
  int riseLevelUnit = 1;  // index into the sorted list "A", "V"
  int dropLevelUnit = 1;
};

// ---- clock dialog -----------------------------------------------------------------

inline constexpr int kClockFields = 6;
using ClockTexts = std::array<std::string, kClockFields>;

// The range of a clock field's spin arrows.
struct IntRange {
  int lowest;
  int highest;
};
IntRange ClockSpinRange(ClockField field);

// A clock field after a change, as decimal text. Month to second are clamped
// at their upper end only (a typed 0 stays 0). The year is clamped to
// 2000..2099, but while typing only a year above 2099 is put back at once: a
// year is typed digit by digit, and "2" must be allowed to become "2024".
// ClockTextSettled() applies the lower end when the field is left.
std::string ClockTextWhileTyping(ClockField field, const std::string& text);
std::string ClockTextSettled(ClockField field, const std::string& text);

// The six fields for a local time: four-digit year, then month, day, hour,
// minute, second, each without leading zeros.
ClockTexts ClockTextsFor(const LocalFields& time);

// The clock command for six field texts: each read as a leading integer and
// clamped as the fields are.
CommandFrame ClockFrameFromTexts(const ClockTexts& texts);

// Why the fields name a day their month does not have ("February 2030 has no
// day 31."), or empty when they do not. A month outside 1..12 is left to the
// clamps above, which send it as typed.
std::string ClockDateProblem(const ClockTexts& texts);

}  // namespace acv
