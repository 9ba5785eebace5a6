#pragma once
// One number as text with a printf pattern ("%.1f", "%.2f V", "%g"): the
// one formatter the data, the panels, the wave analysis and the analysis
// texts share.
#include <string>

namespace acv {

// `pattern` takes exactly one double; a text longer than 63 characters is cut.
std::string FormatNumber(const char* pattern, double value);

}  // namespace acv
