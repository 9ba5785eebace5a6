#pragma once
// Runs a test's scope in another time zone, and back in UTC (where the test
// environment keeps every test) afterwards.
#include <cstdlib>
#include <ctime>

namespace acv::test {

class ZoneScope {
 public:
  explicit ZoneScope(const char* zone) {
    setenv("TZ", zone, 1);
    tzset();
  }
  ~ZoneScope() {
    setenv("TZ", "UTC", 1);
    tzset();
  }
  ZoneScope(const ZoneScope&) = delete;
  ZoneScope& operator=(const ZoneScope&) = delete;
};

}  // namespace acv::test
