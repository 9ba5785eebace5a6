#pragma once
// Local-time conversions for long runs of nearby time stamps (report lines,
// TR record heads). The system's conversion costs a time-zone lookup each
// time; here it runs once per local hour and the seconds inside the hour are
// plain arithmetic. An hour in which (or next to which) the zone's offset
// changes goes to the system for every value, so the results are always
// exactly those of BreakDownLocal and MakeLocalTime, across daylight-saving
// changes too.
#include <string>

#include "data/TimeText.h"

namespace acv {

class LocalTimeCache {
 public:
  LocalFields BreakDown(TimeStamp t);
  TimeStamp Make(const LocalFields& f);

 private:
  // BreakDown: [hourStart_, hourStart_ + 3600) is the local hour hour_.
  bool breakValid_ = false;
  TimeStamp hourStart_ = 0;
  LocalFields hour_;
  // Make: the local hour makeKey_ (minute and second 0) starts at makeBase_.
  bool makeValid_ = false;
  LocalFields makeKey_;
  TimeStamp makeBase_ = 0;
};

// Appends `f` formatted with a strftime pattern made of %d %m %y %Y %H %M %S
// %% and plain characters. Returns false (appending nothing) for any other
// conversion, which the caller then leaves to FormatTime.
bool AppendTimeText(std::string& out, const LocalFields& f, const char* pattern);

// Where the two digits of the seconds stand in every text AppendTimeText
// makes of `pattern` (its fields have fixed widths), so that the text of the
// next second in the same minute differs only there; npos when the pattern
// has no %S, more than one, or a conversion AppendTimeText refuses.
std::size_t SecondsOffset(const char* pattern);

}  // namespace acv
