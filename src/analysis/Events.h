#pragma once
// Events of a data set: where an RMS series leaves its band (dips,
// interruptions, swells, over-currents, each with its own threshold and a
// hysteresis so that a value hovering at a threshold makes one event, not
// many), and every STORE TR record as a transient. Limits: data/EventLimits.h.
//
// An interruption is watched on its own: it starts below the interruption
// threshold and ends at the first point at or above that threshold plus the
// hysteresis. The dip that holds it stays a dip from its own start to its own
// end, with its residual (minimum) voltage as its extreme, so an interruption
// inside a dip makes two events.
#include <array>
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

// The order of level events: by first point, then CH1 before CH2, then by
// kind (a dip before the interruption starting at the same point).
bool LevelEventBefore(const Event& a, const Event& b);

// The level events of a series that keeps growing (a real-time run), found
// point by point: each call of Extend reads only the points added since the
// last one, and Events() is what FindLevelEvents gives for all the points
// read so far. The scanner keeps no pointer into the series.
class EventScanner {
 public:
  explicit EventScanner(const EventLimits& limits) : limits_(limits) {}

  // Reads the points of `series` after those already read. A series that is
  // shorter than what was read, or whose channels, units or interval differ,
  // is another series: it is read again from its first point.
  void Extend(const AnalysisSeries& series);
  // The events so far; an event still running at the last point read is
  // open and ends after it.
  const std::vector<Event>& Events() const { return events_; }
  std::int64_t PointsRead() const { return read_; }

 private:
  // One kind of excursion of one channel: it starts beyond `startLevel` and
  // ends at the first later point back at or inside `endLevel`.
  struct Watch {
    EventKind kind = EventKind::Dip;
    int channel = 0;
    bool below = true;  // dips and interruptions: below the level; else above it
    double startLevel = 0.0, endLevel = 0.0;
    bool inside = false;
    Event event;  // the running event while inside
  };
  struct Shape {
    std::array<bool, 2> present{};
    std::array<std::string, 2> units;
    std::array<double, 2> factors{};  // another scaling is another series
    double interval = 0.0;
    bool operator==(const Shape&) const = default;
  };
  void Restart(const AnalysisSeries& series);
  static void Insert(std::vector<Event>& list, const Event& e);

  EventLimits limits_;
  Shape shape_;
  std::int64_t read_ = 0;
  std::vector<Watch> watches_;
  std::vector<Event> closed_;  // in LevelEventBefore order
  std::vector<Event> events_;  // closed_ with the open ones
};

// Dips, interruptions and swells of the channels in V, and over-currents of
// the channels in A when limits.overCurrent > 0, in LevelEventBefore order.
// The limits must make sense (EventLimitsProblem empty).
std::vector<Event> FindLevelEvents(const AnalysisSeries& series, const EventLimits& limits);

// One transient per STORE TR record, in record order, its extreme in
// primary units.
std::vector<Event> TransientEvents(const StoreFamily& store, const ChannelScaling& scaling);

// Level events and transients ordered by start time (at the same second:
// level events before transients, each in its own order).
std::vector<Event> MergeByStart(std::vector<Event> level, const std::vector<Event>& transients);

// The events of the STORE data (the RMS series and the TR records) or of a
// real-time run, ordered by start time, measured in primary units (the
// limits' nominal voltage is a primary voltage).
std::vector<Event> StoreEvents(const StoreFamily& store, const EventLimits& limits,
                               const ChannelScaling& scaling);
std::vector<Event> RealTimeEvents(const RealTimeFamily& run, const EventLimits& limits,
                                  const ChannelScaling& scaling);

}  // namespace acv
