#include "analysis/Events.h"

#include <algorithm>
#include <cmath>

namespace acv {
namespace {

bool Starts(bool below, double level, float v) {
  return below ? v < level : v > level;
}
bool Ends(bool below, double level, float v) {
  return below ? v >= level : v <= level;
}

// Ends an event after its last point, `afterLast` (1-based, so also the
// 0-based index of the point after it).
void Close(Event& e, const AnalysisSeries& s, std::int64_t afterLast) {
  e.last = afterLast;
  e.end = s.PointTime(afterLast);
  e.durationS = static_cast<double>(e.last - e.first + 1) * s.interval;
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

bool LevelEventBefore(const Event& a, const Event& b) {
  if (a.first != b.first) return a.first < b.first;
  if (a.channel != b.channel) return a.channel < b.channel;
  return a.kind < b.kind;
}

void EventScanner::Restart(const AnalysisSeries& s) {
  read_ = 0;
  closed_.clear();
  watches_.clear();
  for (int c = 0; c < 2; ++c) {
    shape_.present[c] = s.channels[c].present;
    shape_.units[c] = s.channels[c].unit;
    shape_.factors[c] = s.channels[c].values.Factor();
  }
  shape_.interval = s.interval;
  const double h = limits_.Hysteresis();
  for (int c = 0; c < 2; ++c) {
    const SeriesChannel& ch = s.channels[c];
    if (!ch.present) continue;
    const auto watch = [&](EventKind kind, bool below, double start, double end) {
      Watch w;
      w.kind = kind;
      w.channel = c;
      w.below = below;
      w.startLevel = start;
      w.endLevel = end;
      watches_.push_back(w);
    };
    if (ch.unit == "V") {
      watch(EventKind::Dip, true, limits_.DipLevel(), limits_.DipLevel() + h);
      watch(EventKind::Interruption, true, limits_.InterruptionLevel(),
            limits_.InterruptionLevel() + h);
      watch(EventKind::Swell, false, limits_.SwellLevel(), limits_.SwellLevel() - h);
    } else if (ch.unit == "A" && limits_.overCurrent > 0.0) {
      watch(EventKind::OverCurrent, false, limits_.overCurrent,
            limits_.overCurrent * (1.0 - kOverCurrentHysteresisPct / 100.0));
    }
  }
}

void EventScanner::Insert(std::vector<Event>& list, const Event& e) {
  // Events close roughly in the order they start: the place is near the end.
  list.insert(std::upper_bound(list.begin(), list.end(), e, LevelEventBefore), e);
}

void EventScanner::Extend(const AnalysisSeries& s) {
  Shape shape;
  for (int c = 0; c < 2; ++c) {
    shape.present[c] = s.channels[c].present;
    shape.units[c] = s.channels[c].unit;
    shape.factors[c] = s.channels[c].values.Factor();
  }
  shape.interval = s.interval;
  if (read_ == 0 || s.count < read_ || !(shape == shape_)) Restart(s);
  for (Watch& w : watches_) {
    const ChannelValues& v = s.channels[w.channel].values;
    for (std::int64_t k = read_; k < s.count; ++k) {
      const float value = v[k];
      // A damaged value neither starts nor ends anything.
      if (!std::isfinite(value)) continue;
      if (w.inside) {
        if (!Ends(w.below, w.endLevel, value)) {
          w.event.extreme = w.below ? std::min<double>(w.event.extreme, value)
                                    : std::max<double>(w.event.extreme, value);
          continue;
        }
        Close(w.event, s, k);
        Insert(closed_, w.event);
        w.inside = false;
      }
      if (Starts(w.below, w.startLevel, value)) {
        w.inside = true;
        Event& e = w.event;
        e = Event{};
        e.kind = w.kind;
        e.channel = w.channel;
        e.first = k + 1;
        e.start = s.PointTime(k);
        e.extreme = value;
        e.unit = s.channels[w.channel].unit;
      }
    }
  }
  read_ = s.count;
  events_ = closed_;
  for (Watch& w : watches_) {
    if (!w.inside) continue;
    Event e = w.event;
    Close(e, s, read_);
    e.open = true;
    Insert(events_, e);
  }
}

std::vector<Event> FindLevelEvents(const AnalysisSeries& s, const EventLimits& limits) {
  EventScanner scanner(limits);
  scanner.Extend(s);
  return scanner.Events();
}

std::vector<Event> TransientEvents(const StoreFamily& store, const ChannelScaling& scaling) {
  std::vector<Event> events;
  for (int r = 0; r < store.trCount; ++r) {
    const AnalysisSeries record = TrRecordSeries(store, r, scaling);
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

std::vector<Event> MergeByStart(std::vector<Event> level, const std::vector<Event>& transients) {
  level.insert(level.end(), transients.begin(), transients.end());
  std::stable_sort(level.begin(), level.end(),
                   [](const Event& a, const Event& b) { return a.start < b.start; });
  return level;
}

std::vector<Event> StoreEvents(const StoreFamily& store, const EventLimits& limits,
                               const ChannelScaling& scaling) {
  return MergeByStart(FindLevelEvents(StoreRmsSeries(store, scaling), limits),
                      TransientEvents(store, scaling));
}

std::vector<Event> RealTimeEvents(const RealTimeFamily& run, const EventLimits& limits,
                                  const ChannelScaling& scaling) {
  return MergeByStart(FindLevelEvents(RealTimeRmsSeries(run, scaling), limits), {});
}

}  // namespace acv
