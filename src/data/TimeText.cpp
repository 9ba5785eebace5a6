#include "data/TimeText.h"

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
  std::tm tmv{};
  tmv.tm_year = f.year - 1900;
  tmv.tm_mon = f.month - 1;
  tmv.tm_mday = f.day;
  tmv.tm_hour = f.hour;
  tmv.tm_min = f.minute;
  tmv.tm_sec = f.second;
  tmv.tm_isdst = -1;
  return static_cast<TimeStamp>(std::mktime(&tmv));
}

TimeStamp LocalNow() { return static_cast<TimeStamp>(std::time(nullptr)); }

}  // namespace acv
