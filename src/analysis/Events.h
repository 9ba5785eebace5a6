#pragma once
// Events of a data set: where an RMS series leaves its band (dips,
// interruptions, swells, over-currents, with hysteresis so that a value
// hovering at a threshold makes one event, not many), and every STORE TR
// record as a transient. Limits: data/EventLimits.h.
#include <cstdint>
#include <string>
#include <vector>

#include "analysis/AnalysisSeries.h"
#include "data/EventLimits.h"

namespace acv {

enum class EventKind { Dip, Interruption, Swell, OverCurrent, Transient };

// "dip", "interruption", "swell", "over-current", "transient".
const char* EventKindName(EventKind kind);

struct Event {
  EventKind kind = EventKind::Dip;
  int channel = 0;                   // 0 = CH1, 1 = CH2
  std::int64_t first = 0, last = 0;  // 1-based points; 0 for a transient
  TimeStamp start = 0;               // time of the first point (a transient: its trigger time)
  TimeStamp end = 0;                 // time of the point after the last
  double durationS = 0.0;            // points x interval (a transient: its 251 samples)
  double extreme = 0.0;  // minimum of a dip or interruption, else the maximum (a transient:
                         // the sample of largest magnitude, with its sign)
  std::string unit;
  bool open = false;  // still running at the last point
  int record = -1;    // the TR record of a transient (0-based)

  bool operator==(const Event&) const = default;
};

// Dips, interruptions and swells of the channels in V, and over-currents of
// the channels in A when limits.overCurrent > 0; ordered by first point,
// CH1 before CH2 at the same point. The limits must make sense
// (EventLimitsProblem empty).
std::vector<Event> FindLevelEvents(const AnalysisSeries& series, const EventLimits& limits);

// One transient per STORE TR record, in record order.
std::vector<Event> TransientEvents(const StoreFamily& store);

// The events of the STORE data (the RMS series and the TR records) or of a
// real-time run, ordered by start time (at the same second: level events
// before transients, each in its own order).
std::vector<Event> StoreEvents(const StoreFamily& store, const EventLimits& limits);
std::vector<Event> RealTimeEvents(const RealTimeFamily& run, const EventLimits& limits);

}  // namespace acv
