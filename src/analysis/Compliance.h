#pragma once
// The weekly verdict on a supply voltage as the European supply standard
// judges it: over each week (Monday 00:00 to Monday 00:00, local time) the
// 10-minute values must lie within Un +- the band (10 % by default) for at
// least 95 % of the week, and all of them within Un - 15 % .. Un + 10 %.
// Flagged 10-minute values (a short dip, swell or interruption in their
// interval) are left out and counted apart. Dips and swells are counted in
// the standard's table of residual voltage against duration.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "analysis/Events.h"
#include "analysis/TenMinuteValues.h"
#include "data/EventLimits.h"

namespace acv {

enum class WeekVerdict { NoData, Pass, Fail };

// "no data", "pass", "fail".
const char* WeekVerdictName(WeekVerdict verdict);

struct ComplianceWeek {
  TimeStamp start = 0, end = 0;  // Monday 00:00 local time, and the next
  std::int64_t n = 0;            // unflagged 10-minute values
  std::int64_t n1 = 0;           // of those, outside Un +- the band
  std::int64_t n2 = 0;           // of those, outside Un - 15 % .. Un + 10 %
  std::int64_t flagged = 0;      // flagged values, left out of n
  std::int64_t expected = 0;  // 10-minute intervals in the week (1,008; +-6 across a clock change)
  WeekVerdict verdict = WeekVerdict::NoData;

  // Share of the week's intervals that have a value, flagged or not (0..1).
  double Coverage() const;
  bool operator==(const ComplianceWeek&) const = default;
};

// A value below this share of Un, or above the upper band, is out of the
// standard's wider range.
inline constexpr double kWideRangeLowPct = 85.0;
inline constexpr double kWideRangeHighPct = 110.0;
// At most this share of a week's values may lie outside the band.
inline constexpr double kWeekOutsideBandMaxPct = 5.0;

// The weeks that overlap [from, to) (to after from), in order, each judged on
// the values that start inside it. `values` are 10-minute values in time order.
std::vector<ComplianceWeek> JudgeWeeks(const std::vector<TenMinuteValue>& values,
                                       const EventLimits& limits, TimeStamp from, TimeStamp to);

// The monday 00:00 local time at or before t.
TimeStamp WeekStartOf(TimeStamp t);

// Dips and swells of one channel counted by residual (dips) or highest
// (swells) voltage in % of Un and by duration. Interruptions are not
// counted again: every interruption lies inside a dip, whose residual
// voltage below 5 % puts it in the last dip row.
struct EventTable {
  static constexpr int kRows = 7;  // five dip rows, two swell rows
  static constexpr int kColumns = 6;
  static const std::array<const char*, kRows> kRowNames;
  static const std::array<const char*, kColumns> kColumnNames;
  std::array<std::array<std::int64_t, kColumns>, kRows> counts{};
};

EventTable CountEvents(const std::vector<Event>& events, int channel, const EventLimits& limits);

}  // namespace acv
