#include "data/NumberText.h"

#include <algorithm>
#include <cstdio>

namespace acv {

std::string FormatNumber(const char* pattern, double value) {
  char buf[64];
  const int n = std::snprintf(buf, sizeof buf, pattern, value);
  if (n < 0) return {};
  return std::string(buf, static_cast<std::size_t>(std::min<int>(n, sizeof buf - 1)));
}

}  // namespace acv
