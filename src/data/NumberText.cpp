#include "data/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace acv {

std::string FormatNumber(const char* pattern, double value) {
  char buf[64];
  const int n = std::snprintf(buf, sizeof buf, pattern, value);
  if (n < 0) return {};
  return std::string(buf, static_cast<std::size_t>(std::min<int>(n, sizeof buf - 1)));
}

std::string FloatText(double value) {
  if (!std::isfinite(value)) return {};
  char buf[32];
  std::to_chars_result written{};
  if (std::fabs(value) <= static_cast<double>(std::numeric_limits<float>::max())) {
    written = std::to_chars(buf, buf + sizeof buf, static_cast<float>(value));
  } else {
    written = std::to_chars(buf, buf + sizeof buf, value);
  }
  return std::string(buf, written.ptr);
}

double FloatDecimal(double value) {
  if (!std::isfinite(value)) return value;
  const std::string text = FloatText(value);
  double decimal = value;
  std::from_chars(text.data(), text.data() + text.size(), decimal);
  return decimal;
}

std::string MeasuredText(double value, int decimals) {
  char pattern[] = "%.1f";
  pattern[2] = static_cast<char>('0' + std::clamp(decimals, 0, 6));
  const std::string text = FormatNumber(pattern, value);
  // The text, not the value: 0.04 shown with one decimal reads as zero too.
  const bool zero = !text.empty() && text.find_first_not_of("-0.") == std::string::npos;
  return zero ? kLevelLow : text;
}

}  // namespace acv
