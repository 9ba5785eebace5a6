#include "analysis/Compliance.h"

#include <algorithm>

#include "data/TimeText.h"

namespace acv {

const char* WeekVerdictName(WeekVerdict verdict) {
  switch (verdict) {
    case WeekVerdict::Pass:
      return "pass";
    case WeekVerdict::Fail:
      return "fail";
    case WeekVerdict::NoData:
      break;
  }
  return "no data";
}

double ComplianceWeek::Coverage() const {
  if (expected <= 0) return 0.0;
  return std::min(1.0, static_cast<double>(n + flagged) / static_cast<double>(expected));
}

TimeStamp WeekStartOf(TimeStamp t) {
  LocalFields f = BreakDownLocal(t);
  // 1970-01-01 was a Thursday: Monday is 3 days after it in a week's cycle.
  const std::int64_t days = DaysFromCivil(f.year, f.month, f.day);
  f.day -= static_cast<int>(((days + 3) % 7 + 7) % 7);
  f.hour = f.minute = f.second = 0;
  return MakeLocalTime(f);
}

namespace {

TimeStamp NextWeek(TimeStamp weekStart) {
  LocalFields f = BreakDownLocal(weekStart);
  f.day += 7;
  f.hour = f.minute = f.second = 0;
  return MakeLocalTime(f);
}

}  // namespace

std::vector<ComplianceWeek> JudgeWeeks(const std::vector<TenMinuteValue>& values,
                                       const EventLimits& limits, TimeStamp from, TimeStamp to) {
  std::vector<ComplianceWeek> weeks;
  if (to <= from) return weeks;
  const double low = limits.BandLow(), high = limits.BandHigh();
  const double wideLow = limits.nominal * kWideRangeLowPct / 100.0;
  const double wideHigh = limits.nominal * kWideRangeHighPct / 100.0;
  auto next = values.begin();
  for (TimeStamp start = WeekStartOf(from); start < to;) {
    ComplianceWeek w;
    w.start = start;
    w.end = NextWeek(start);
    w.expected = (w.end - w.start) / 600;
    next = std::lower_bound(next, values.end(), start,
                            [](const TenMinuteValue& v, TimeStamp t) { return v.start < t; });
    for (; next != values.end() && next->start < w.end; ++next) {
      if (next->flagged) {
        ++w.flagged;
        continue;
      }
      ++w.n;
      if (next->value < low || next->value > high) ++w.n1;
      if (next->value < wideLow || next->value > wideHigh) ++w.n2;
    }
    if (w.n == 0) {
      w.verdict = WeekVerdict::NoData;
    } else {
      // n1 <= 5 % of n, in whole numbers so that exactly 5 % passes.
      const bool bandKept = w.n1 * 100 <= w.n * static_cast<std::int64_t>(kWeekOutsideBandMaxPct);
      w.verdict = bandKept && w.n2 == 0 ? WeekVerdict::Pass : WeekVerdict::Fail;
    }
    weeks.push_back(w);
    start = w.end;
  }
  return weeks;
}

const std::array<const char*, EventTable::kRows> EventTable::kRowNames = {
    "dip 90-80 %", "dip 80-70 %",     "dip 70-40 %",  "dip 40-5 %",
    "dip < 5 %",   "swell 110-120 %", "swell > 120 %"};
const std::array<const char*, EventTable::kColumns> EventTable::kColumnNames = {
    "10-200 ms", "0.2-0.5 s", "0.5-1 s", "1-5 s", "5-60 s", "> 60 s"};

namespace {

// The standard's duration classes: upper bounds, inclusive.
int DurationColumn(double seconds) {
  static constexpr std::array<double, EventTable::kColumns - 1> kUpTo = {0.2, 0.5, 1.0, 5.0, 60.0};
  for (std::size_t c = 0; c < kUpTo.size(); ++c) {
    if (seconds <= kUpTo[c]) return static_cast<int>(c);
  }
  return EventTable::kColumns - 1;
}

// Dips by residual voltage u in % of Un: 90 > u >= 80, 80 > u >= 70,
// 70 > u >= 40, 40 > u >= 5, 5 > u. Swells by their highest voltage:
// 110 < u < 120, u >= 120.
int DipRow(double pct) {
  if (pct >= 80.0) return 0;
  if (pct >= 70.0) return 1;
  if (pct >= 40.0) return 2;
  if (pct >= 5.0) return 3;
  return 4;
}

int SwellRow(double pct) {
  return pct >= 120.0 ? 6 : 5;
}

}  // namespace

EventTable CountEvents(const std::vector<Event>& events, int channel, const EventLimits& limits) {
  EventTable table;
  if (!(limits.nominal > 0.0)) return table;
  for (const Event& e : events) {
    if (e.channel != channel) continue;
    const double pct = e.extreme * 100.0 / limits.nominal;
    int row = -1;
    if (e.kind == EventKind::Dip) row = DipRow(pct);
    if (e.kind == EventKind::Swell) row = SwellRow(pct);
    if (row < 0) continue;
    ++table.counts[static_cast<std::size_t>(row)]
                  [static_cast<std::size_t>(DurationColumn(e.durationS))];
  }
  return table;
}

}  // namespace acv
