#include "data/TimeText.h"

#include <algorithm>
#include <climits>
#include <ctime>

namespace acv {

std::string FormatTime(TimeStamp t, const char* pattern) {
  std::time_t tt = static_cast<std::time_t>(t);
  std::tm tmv{};
  if (localtime_r(&tt, &tmv) == nullptr) return {};
  char buf[128];
  std::size_t n = std::strftime(buf, sizeof buf, pattern, &tmv);
  return std::string(buf, n);
}

LocalFields BreakDownLocal(TimeStamp t) {
  std::time_t tt = static_cast<std::time_t>(t);
  std::tm tmv{};
  LocalFields f;
  if (localtime_r(&tt, &tmv) == nullptr) return f;
  f.year = tmv.tm_year + 1900;
  f.month = tmv.tm_mon + 1;
  f.day = tmv.tm_mday;
  f.hour = tmv.tm_hour;
  f.minute = tmv.tm_min;
  f.second = tmv.tm_sec;
  return f;
}

TimeStamp MakeLocalTime(const LocalFields& f) {
  // The fields may come from a file or the wire: shift them in 64 bits and
  // clamp, so that no subtraction overflows before mktime normalises them.
  auto clampInt = [](long long v) {
    return static_cast<int>(std::clamp<long long>(v, INT_MIN / 2, INT_MAX / 2));
  };
  std::tm tmv{};
  tmv.tm_year = clampInt(static_cast<long long>(f.year) - 1900);
  tmv.tm_mon = clampInt(static_cast<long long>(f.month) - 1);
  tmv.tm_mday = clampInt(f.day);
  tmv.tm_hour = clampInt(f.hour);
  tmv.tm_min = clampInt(f.minute);
  tmv.tm_sec = clampInt(f.second);
  tmv.tm_isdst = -1;
  return static_cast<TimeStamp>(std::mktime(&tmv));
}

TimeStamp LocalNow() {
  return static_cast<TimeStamp>(std::time(nullptr));
}

std::int64_t DaysFromCivil(std::int64_t year, int month, int day) {
  const std::int64_t y = month <= 2 ? year - 1 : year;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yoe = y - era * 400;
  const std::int64_t doy = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

}  // namespace acv
