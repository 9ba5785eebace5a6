#pragma once
// Time stamps of the data set: seconds since 1970-01-01 00:00:00 UTC, shown
// and stored (in data files) as local time.
#include <cstdint>
#include <string>

namespace acv {

using TimeStamp = std::int64_t;

// Formats a time stamp in local time with a strftime pattern, for example
// "%d/%m/%y %H:%M:%S".
std::string FormatTime(TimeStamp t, const char* pattern);

// The pattern every sample time is shown with.
inline constexpr const char* kSampleTimeFormat = "%d/%m/%y %H:%M:%S";
// Times in the CSV files (STORE and real time alike): ISO 8601 local time,
// which spreadsheets and scripts read without guessing the day's place.
inline constexpr const char* kCsvTimeFormat = "%Y-%m-%dT%H:%M:%S";

struct LocalFields {
  int year = 1970;  // full year
  int month = 1;    // 1..12
  int day = 1;      // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;
};

LocalFields BreakDownLocal(TimeStamp t);

// Local date and time to a time stamp; daylight-saving status decided by the
// system. Out-of-range fields are normalised as mktime does.
TimeStamp MakeLocalTime(const LocalFields& f);

// The local clock now, in whole seconds.
TimeStamp LocalNow();

// Days from 1970-01-01 to a civil date (proleptic Gregorian), for counting
// clock intervals and weekdays without the system's time zone.
std::int64_t DaysFromCivil(std::int64_t year, int month, int day);

}  // namespace acv
