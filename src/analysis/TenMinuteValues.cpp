#include "analysis/TenMinuteValues.h"

#include <cmath>

#include "data/LocalTimeCache.h"

namespace acv {
namespace {

bool IsFlaggingKind(EventKind kind) {
  return kind == EventKind::Dip || kind == EventKind::Swell || kind == EventKind::Interruption;
}

}  // namespace

ClockSlot ClockSlotOf(TimeStamp t, LocalTimeCache& clock) {
  const LocalFields f = clock.BreakDown(t);
  return {DaysFromCivil(f.year, f.month, f.day) * 144 + f.hour * 6 + f.minute / 10,
          (f.minute % 10) * 60 + f.second};
}

TimeStamp SlotHoldsUntil(TimeStamp t, const ClockSlot& slot, LocalTimeCache& clock) {
  if (slot.secondsIn < 0 || slot.secondsIn >= 599) return t + 1;  // a leap second too
  // The clock read at the slot's last second shows the same slot, as far in
  // as the seconds passed since t: no offset change lies between.
  const TimeStamp last = t + (599 - slot.secondsIn);
  const ClockSlot there = ClockSlotOf(last, clock);
  return there.key == slot.key && there.secondsIn == 599 ? last + 1 : t + 1;
}

std::int64_t PointsPerTenMinutes(double interval) {
  if (!(interval > 0.0) || interval > 600.0) return 0;
  const double blocks = 600.0 / interval;
  const double whole = std::round(blocks);
  return std::fabs(blocks - whole) < 1e-9 ? static_cast<std::int64_t>(whole) : 0;
}

std::vector<TenMinuteValue> TenMinuteValues(const AnalysisSeries& s, int channel,
                                            const std::vector<Event>& events) {
  std::vector<TenMinuteValue> out;
  const std::int64_t perInterval = PointsPerTenMinutes(s.interval);
  if (perInterval == 0 || s.count == 0 || channel < 0 || channel > 1 ||
      !s.channels[channel].present) {
    return out;
  }
  // The points short events cover, one mark per point.
  std::vector<bool> shortEvent(static_cast<std::size_t>(s.count), false);
  for (const Event& e : events) {
    if (e.channel != channel || !IsFlaggingKind(e.kind) || e.durationS > kFlaggingEventMaxS) {
      continue;
    }
    for (std::int64_t p = std::max<std::int64_t>(e.first, 1); p <= e.last && p <= s.count; ++p) {
      shortEvent[static_cast<std::size_t>(p - 1)] = true;
    }
  }
  const ChannelValues& v = s.channels[channel].values;
  LocalTimeCache clock;
  // The interval being read: its slot, its first point's time and offset,
  // and what its points gave so far.
  std::int64_t key = 0, points = 0;
  TimeStamp firstTime = 0;
  int firstIn = 0;
  double squares = 0.0;
  bool whole = true, flagged = false;
  const auto finish = [&] {
    if (points == perInterval && whole) {
      out.push_back(
          {firstTime - firstIn, std::sqrt(squares / static_cast<double>(points)), flagged});
    }
  };
  // The clock is read again only where the last reading's slot may end.
  TimeStamp readAt = 0, holdsUntil = 0;
  for (std::int64_t k = 0; k < s.count; ++k) {
    const TimeStamp t = s.PointTime(k);
    if (k == 0 || t < readAt || t >= holdsUntil) {
      const ClockSlot slot = ClockSlotOf(t, clock);
      readAt = t;
      holdsUntil = SlotHoldsUntil(t, slot, clock);
      if (k == 0 || slot.key != key) {
        if (k > 0) finish();
        key = slot.key;
        points = 0;
        firstTime = t;
        firstIn = slot.secondsIn;
        squares = 0.0;
        whole = true;
        flagged = false;
      }
    }
    ++points;
    const double value = v[k];
    if (std::isfinite(value)) {
      squares += value * value;
    } else {
      whole = false;
    }
    if (shortEvent[static_cast<std::size_t>(k)]) flagged = true;
  }
  finish();
  return out;
}

}  // namespace acv
