#pragma once
// The program's name texts, as the window caption, the message boxes and the
// About box show them.

namespace acv {

inline constexpr const char* kAppCaption = "Orvane AC Voltage-Current Software";
inline constexpr const char* kAboutText = "Orvane AC Voltage-Current Software 1.0";
inline constexpr const char* kDataFilterOpen = "DataLogger Files (*.stdata)";

}  // namespace acv
