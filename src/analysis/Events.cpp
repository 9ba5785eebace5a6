#include "analysis/Events.h"

#include <algorithm>
#include <cmath>

namespace acv {
namespace {

// One kind of excursion of one channel: it starts beyond `startLevel` and
// ends at the first later point back at or inside `endLevel`.
struct Watch {
  EventKind kind;
  bool below;  // a dip: below the level; else above it
  double startLevel, endLevel;
};

bool Starts(const Watch& w, float v) {
  return w.below ? v < w.startLevel : v > w.startLevel;
}
bool Ends(const Watch& w, float v) {
  return w.below ? v >= w.endLevel : v <= w.endLevel;
}

void FindExcursions(const AnalysisSeries& s, int c, const Watch& w, double interruptionLevel,
                    std::vector<Event>& out) {
  const ChannelValues& v = s.channels[c].values;
  bool inside = false;
  Event e;
  const auto close = [&](std::int64_t afterLast, bool open) {
    e.last = afterLast;  // 1-based number of the last point
    e.end = s.PointTime(afterLast);
    e.durationS = static_cast<double>(e.last - e.first + 1) * s.interval;
    e.open = open;
    if (w.kind == EventKind::Dip && e.extreme < interruptionLevel) {
      e.kind = EventKind::Interruption;
    }
    out.push_back(e);
    inside = false;
  };
  for (std::int64_t k = 0; k < s.count; ++k) {
    const float value = v[k];
    // A damaged value neither starts nor ends anything.
    if (!std::isfinite(value)) continue;
    if (inside) {
      if (Ends(w, value)) {
        close(k, false);
      } else {
        e.extreme =
            w.below ? std::min<double>(e.extreme, value) : std::max<double>(e.extreme, value);
        continue;
      }
    }
    if (Starts(w, value)) {
      inside = true;
      e = Event{};
      e.kind = w.kind;
      e.channel = c;
      e.first = k + 1;
      e.start = s.PointTime(k);
      e.extreme = value;
      e.unit = s.channels[c].unit;
    }
  }
  if (inside) close(s.count, true);
}

void SortByStart(std::vector<Event>& events) {
  std::stable_sort(events.begin(), events.end(),
                   [](const Event& a, const Event& b) { return a.start < b.start; });
}

}  // namespace

const char* EventKindName(EventKind kind) {
  switch (kind) {
    case EventKind::Dip:
      return "dip";
    case EventKind::Interruption:
      return "interruption";
    case EventKind::Swell:
      return "swell";
    case EventKind::OverCurrent:
      return "over-current";
    case EventKind::Transient:
      return "transient";
  }
  return "";
}

std::vector<Event> FindLevelEvents(const AnalysisSeries& s, const EventLimits& limits) {
  std::vector<Event> events;
  for (int c = 0; c < 2; ++c) {
    const SeriesChannel& ch = s.channels[c];
    if (!ch.present) continue;
    if (ch.unit == "V") {
      const double h = limits.Hysteresis();
      FindExcursions(s, c, {EventKind::Dip, true, limits.DipLevel(), limits.DipLevel() + h},
                     limits.InterruptionLevel(), events);
      FindExcursions(s, c, {EventKind::Swell, false, limits.SwellLevel(), limits.SwellLevel() - h},
                     0.0, events);
    } else if (ch.unit == "A" && limits.overCurrent > 0.0) {
      const double end = limits.overCurrent * (1.0 - kOverCurrentHysteresisPct / 100.0);
      FindExcursions(s, c, {EventKind::OverCurrent, false, limits.overCurrent, end}, 0.0, events);
    }
  }
  std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
    return a.first != b.first ? a.first < b.first : a.channel < b.channel;
  });
  return events;
}

std::vector<Event> TransientEvents(const StoreFamily& store) {
  std::vector<Event> events;
  for (int r = 0; r < store.trCount; ++r) {
    const AnalysisSeries record = TrRecordSeries(store, r);
    if (record.count == 0) continue;  // an unknown channel code or a short array
    const int c = record.channels[0].present ? 0 : 1;
    const ChannelValues& v = record.channels[c].values;
    Event e;
    e.kind = EventKind::Transient;
    e.channel = c;
    e.start = e.end = record.PointTime(0);
    e.durationS = static_cast<double>(record.count) * record.interval;
    e.unit = record.channels[c].unit;
    e.record = r;
    for (std::int64_t k = 0; k < record.count; ++k) {
      if (std::isfinite(v[k]) && std::fabs(v[k]) > std::fabs(e.extreme)) e.extreme = v[k];
    }
    events.push_back(e);
  }
  return events;
}

std::vector<Event> StoreEvents(const StoreFamily& store, const EventLimits& limits) {
  std::vector<Event> events = FindLevelEvents(StoreRmsSeries(store), limits);
  std::vector<Event> transients = TransientEvents(store);
  events.insert(events.end(), transients.begin(), transients.end());
  SortByStart(events);
  return events;
}

std::vector<Event> RealTimeEvents(const RealTimeFamily& run, const EventLimits& limits) {
  std::vector<Event> events = FindLevelEvents(RealTimeRmsSeries(run), limits);
  SortByStart(events);
  return events;
}

}  // namespace acv
