// The cached local-time conversions against the system's own, second for
// second around daylight-saving changes in zones with whole-hour, half-hour
// and no changes.
#include <gtest/gtest.h>

#include <string>

#include "data/LocalTimeCache.h"
#include "support/ZoneScope.h"

namespace acv {
namespace {

using test::ZoneScope;

bool operator==(const LocalFields& a, const LocalFields& b) {
  return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour &&
         a.minute == b.minute && a.second == b.second;
}

TEST(LocalTimeCache, AgreesWithTheSystemAcrossDaylightSavingChanges) {
  struct Case {
    const char* zone;
    TimeStamp from;  // a day around a change, or an ordinary day
  };
  for (const Case& c : {Case{"Europe/Berlin", 1774738800},        // 2026-03-29, clocks forward
                        Case{"Europe/Berlin", 1792879200},        // 2026-10-25, clocks back
                        Case{"America/New_York", 1762056000},     // 2025-11-02
                        Case{"Australia/Lord_Howe", 1775307600},  // 2026-04-05, half an hour
                        Case{"Asia/Kolkata", 1772000000}}) {
    ZoneScope zone(c.zone);
    LocalTimeCache cache;
    std::string cached, system;
    // Every 37 s over 30 hours: each minute and second position is hit.
    for (TimeStamp t = c.from - 3 * 3600; t < c.from + 27 * 3600; t += 37) {
      const LocalFields f = cache.BreakDown(t);
      ASSERT_TRUE(f == BreakDownLocal(t)) << c.zone << " " << t;
      ASSERT_EQ(cache.Make(f), MakeLocalTime(f)) << c.zone << " " << t;
      cached.clear();
      ASSERT_TRUE(AppendTimeText(cached, f, "%d/%m/%y %H:%M:%S|%Y-%m-%dT%H:%M:%S%%"));
      ASSERT_EQ(cached, FormatTime(t, "%d/%m/%y %H:%M:%S|%Y-%m-%dT%H:%M:%S%%")) << c.zone;
    }
    // Local times that do not exist or exist twice come out as the system says.
    for (int minute = 0; minute < 60; minute += 7) {
      for (int hour : {1, 2, 3}) {
        const LocalFields f{2026, 3, 29, hour, minute, 5};
        EXPECT_EQ(cache.Make(f), MakeLocalTime(f)) << c.zone << " " << hour << ":" << minute;
        const LocalFields back{2026, 10, 25, hour, minute, 5};
        EXPECT_EQ(cache.Make(back), MakeLocalTime(back)) << c.zone;
      }
    }
  }
}

TEST(LocalTimeCache, UnusualFieldsAndPatternsGoToTheSystem) {
  LocalTimeCache cache;
  for (const LocalFields& f :
       {LocalFields{2026, 2, 31, 10, 0, 0}, LocalFields{2026, 13, 1, 0, 0, 0},
        LocalFields{2026, 3, 1, 25, 61, 60}}) {
    EXPECT_EQ(cache.Make(f), MakeLocalTime(f));
  }
  std::string text = "kept";
  EXPECT_FALSE(AppendTimeText(text, LocalFields{}, "%d %a"));
  EXPECT_FALSE(AppendTimeText(text, LocalFields{123, 1, 1, 0, 0, 0}, "%Y"));
  EXPECT_EQ(text, "kept");
}

TEST(LocalTimeCache, SecondsOffsetPointsAtTheSecondsOfEveryText) {
  struct Case {
    const char* pattern;
    std::size_t offset;
  };
  const LocalFields f{2026, 3, 1, 10, 37, 47};
  for (const Case& c : {Case{"%d/%m/%y %H:%M:%S", 15}, Case{"%Y-%m-%dT%H:%M:%S", 17},
                        Case{"%%%S", 1}, Case{"%H:%M", std::string::npos},
                        Case{"%S %S", std::string::npos}, Case{"%a %S", std::string::npos}}) {
    EXPECT_EQ(SecondsOffset(c.pattern), c.offset) << c.pattern;
    std::string text;
    if (c.offset != std::string::npos && AppendTimeText(text, f, c.pattern)) {
      EXPECT_EQ(text.substr(c.offset, 2), "47") << c.pattern;
    }
  }
}

}  // namespace
}  // namespace acv
