#pragma once
// Numbers as text: one number with a printf pattern ("%.1f", "%.2f V", "%g")
// for the data, the panels, the wave analysis and the analysis texts; and
// the form CSV and JSON write a measured value in.
#include <string>

namespace acv {

// `pattern` takes exactly one double; a text longer than 63 characters is cut.
std::string FormatNumber(const char* pattern, double value);

// A value the logger measured is kept as a 32-bit float, so it has no more
// than about seven significant digits. FloatText writes the shortest decimal
// that reads back as the same float (229.449, not 229.44902038574219). A
// figure computed from such values (a mean, a standard deviation, an energy)
// is rounded to a float first, since the data behind it carry no more digits
// (5.15, not 5.150000095367432). A finite value beyond the float's range
// keeps its double's shortest form; infinity and NaN give "" (an empty CSV
// field: no number).
std::string FloatText(double value);

// The number FloatText writes, as the double nearest to it: a printer that
// writes a double in its shortest form (std::to_chars) writes exactly
// FloatText's digits. NaN and infinity are returned as they are.
double FloatDecimal(double value);

// What a measured level that reads as zero shows: the logger reports a level
// without usable signal as zero.
inline constexpr const char* kLevelLow = "LO";

// A measured level with `decimals` decimals (0..6), or "LO" where that text
// reads as zero ("0.0", "-0.0", "0"). Raw wave samples pass through zero and
// are no level: they are written with FormatNumber.
std::string MeasuredText(double value, int decimals);

}  // namespace acv
