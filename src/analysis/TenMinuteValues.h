#pragma once
// 10-minute values of a voltage channel, the aggregation supply-quality norms
// judge a supply by: the RMS of the values in each 10-minute interval of the
// clock (00:00, 00:10, ... in local time, as the data's times are shown),
// sqrt(sum v^2 / n), so that a voltage swinging either side of the band is
// not averaged into it.
//
// Only complete intervals have a value: every point of the interval is in the
// series and is a number. An interval the series starts or ends inside has
// points missing; a damaged (non-finite) point leaves its interval without a
// value too, as a gap in the recording would. When the recording interval
// does not divide 600 s no interval of the clock holds whole points, and
// there are no 10-minute values at all.
//
// An interval holding a point of a dip, swell or interruption that lasted at
// most 60 s is flagged: such a short event says nothing about the supply's
// slow variation, so a verdict over 10-minute values leaves it out (and
// counts it apart). A longer excursion counts as it is. An event still
// running at the last point is taken as short while it is no longer than
// 60 s, since it may end at once.
#include <cstdint>
#include <vector>

#include "analysis/AnalysisSeries.h"
#include "analysis/Events.h"
#include "data/LocalTimeCache.h"

namespace acv {

struct TenMinuteValue {
  TimeStamp start = 0;  // the interval's start on the clock
  double value = 0.0;   // RMS of its points
  bool flagged = false;

  bool operator==(const TenMinuteValue&) const = default;
};

// Events up to this long flag the intervals they touch.
inline constexpr double kFlaggingEventMaxS = 60.0;

// The 10-minute interval of the local clock a time falls in: a number that
// changes from one interval to the next, and how far into it the time lies.
struct ClockSlot {
  std::int64_t key = 0;
  int secondsIn = 0;
};
ClockSlot ClockSlotOf(TimeStamp t, LocalTimeCache& clock);
// A time after t up to which every time has t's slot (`slot`, from
// ClockSlotOf): the slot's end where the clock runs evenly to it, else just
// t + 1, so that a walk over many points reads the clock once a slot and
// still steps through a change of the zone's offset one second at a time.
TimeStamp SlotHoldsUntil(TimeStamp t, const ClockSlot& slot, LocalTimeCache& clock);

// Points per 10 minutes when the interval divides 600 s, else 0.
std::int64_t PointsPerTenMinutes(double interval);

// The complete intervals of channel `channel` of the series, in time order;
// `events` are the series' level events (those of other channels and kinds
// than dips, swells and interruptions are ignored).
std::vector<TenMinuteValue> TenMinuteValues(const AnalysisSeries& series, int channel,
                                            const std::vector<Event>& events);

}  // namespace acv
