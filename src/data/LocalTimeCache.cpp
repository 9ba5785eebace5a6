#include "data/LocalTimeCache.h"

#include <ctime>

namespace acv {
namespace {

constexpr TimeStamp kHour = 3600;

// The zone's offset from UTC at t, in seconds; a value no zone has when the
// system cannot tell.
long OffsetAt(TimeStamp t) {
  const std::time_t tt = static_cast<std::time_t>(t);
  std::tm tmv{};
  if (localtime_r(&tt, &tmv) == nullptr) return -1000000;
  return tmv.tm_gmtoff;
}

bool Ordinary(const LocalFields& f) {
  return f.month >= 1 && f.month <= 12 && f.day >= 1 && f.day <= 28 && f.hour >= 0 &&
         f.hour <= 23 && f.minute >= 0 && f.minute <= 59 && f.second >= 0 && f.second <= 59;
}

void AppendTwo(std::string& out, int v) {
  out.push_back(static_cast<char>('0' + v / 10 % 10));
  out.push_back(static_cast<char>('0' + v % 10));
}

}  // namespace

LocalFields LocalTimeCache::BreakDown(TimeStamp t) {
  if (breakValid_ && t >= hourStart_ && t - hourStart_ < kHour) {
    LocalFields f = hour_;
    f.minute = static_cast<int>((t - hourStart_) / 60);
    f.second = static_cast<int>((t - hourStart_) % 60);
    return f;
  }
  const LocalFields f = BreakDownLocal(t);
  if (f.second > 59) return f;  // a leap second: no hour of plain arithmetic
  const TimeStamp start = t - (f.minute * 60 + f.second);
  // The same offset at both ends of the local hour: no change inside it.
  const long offset = OffsetAt(t);
  if (OffsetAt(start) == offset && OffsetAt(start + kHour - 1) == offset) {
    breakValid_ = true;
    hourStart_ = start;
    hour_ = f;
    hour_.minute = hour_.second = 0;
  }
  return f;
}

TimeStamp LocalTimeCache::Make(const LocalFields& f) {
  // Values that need normalising (day 29 and beyond too: the month decides)
  // go to the system as they are.
  if (!Ordinary(f)) return MakeLocalTime(f);
  LocalFields key = f;
  key.minute = key.second = 0;
  const bool same = makeValid_ && key.year == makeKey_.year && key.month == makeKey_.month &&
                    key.day == makeKey_.day && key.hour == makeKey_.hour;
  if (!same) {
    makeValid_ = false;
    const TimeStamp base = MakeLocalTime(key);
    // One offset from the hour before to the hour after: this local hour
    // exists exactly once, so every time inside it is base + its seconds.
    const long offset = OffsetAt(base);
    if (OffsetAt(base - kHour) != offset || OffsetAt(base + 2 * kHour - 1) != offset) {
      return MakeLocalTime(f);
    }
    makeValid_ = true;
    makeKey_ = key;
    makeBase_ = base;
  }
  return makeBase_ + f.minute * 60 + f.second;
}

bool AppendTimeText(std::string& out, const LocalFields& f, const char* pattern) {
  if (f.year < 0 || f.month < 0 || f.day < 0 || f.hour < 0 || f.minute < 0 || f.second < 0) {
    return false;
  }
  const std::size_t before = out.size();
  for (const char* p = pattern; *p != '\0'; ++p) {
    if (*p != '%') {
      out.push_back(*p);
      continue;
    }
    switch (*++p) {
      case 'd':
        AppendTwo(out, f.day);
        break;
      case 'm':
        AppendTwo(out, f.month);
        break;
      case 'y':
        AppendTwo(out, f.year % 100);
        break;
      case 'Y':
        if (f.year < 1000 || f.year > 9999) {
          out.resize(before);
          return false;
        }
        AppendTwo(out, f.year / 100);
        AppendTwo(out, f.year % 100);
        break;
      case 'H':
        AppendTwo(out, f.hour);
        break;
      case 'M':
        AppendTwo(out, f.minute);
        break;
      case 'S':
        AppendTwo(out, f.second);
        break;
      case '%':
        out.push_back('%');
        break;
      default:
        out.resize(before);
        return false;
    }
  }
  return true;
}

std::size_t SecondsOffset(const char* pattern) {
  std::size_t width = 0;
  std::size_t at = std::string::npos;
  for (const char* p = pattern; *p != '\0'; ++p) {
    if (*p != '%') {
      ++width;
      continue;
    }
    switch (*++p) {
      case 'S':
        if (at != std::string::npos) return std::string::npos;
        at = width;
        width += 2;
        break;
      case 'd':
      case 'm':
      case 'y':
      case 'H':
      case 'M':
        width += 2;
        break;
      case 'Y':
        width += 4;
        break;
      case '%':
        width += 1;
        break;
      default:
        return std::string::npos;
    }
  }
  return at;
}

}  // namespace acv
