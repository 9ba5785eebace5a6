#include "analysis/Events.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace acv {
namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();

bool Starts(bool below, double level, float v) {
  return below ? v < level : v > level;
}
bool Ends(bool below, double level, float v) {
  return below ? v >= level : v <= level;
}

// The float bound equivalent to comparing a float, widened, with `level`:
// for every float x, x < level exactly when x < FloatAbove(level), and
// x > level exactly when x > FloatBelow(level).
float FloatAbove(double level) {
  const float f = static_cast<float>(level);
  return static_cast<double>(f) < level ? std::nextafter(f, kInf) : f;
}
float FloatBelow(double level) {
  const float f = static_cast<float>(level);
  return static_cast<double>(f) > level ? std::nextafter(f, -kInf) : f;
}

// Whether any of kBlock plain values starts an event below (or above) the
// float bound: one loop without a branch, which the compiler runs over
// several values at once. A damaged value starts nothing: NaN fails both
// tests, an infinity the second.
constexpr int kBlock = 64;
template <bool below>
bool AnyStarts(const float* v, float bound) {
  int starts = 0;
  for (int j = 0; j < kBlock; ++j) {
    const float x = v[j];
    starts |= below ? static_cast<int>(x < bound) & static_cast<int>(x > -kInf)
                    : static_cast<int>(x > bound) & static_cast<int>(x < kInf);
  }
  return starts != 0;
}

// The first point from k on whose value starts an event (count when none);
// a damaged value starts nothing.
std::int64_t NextStart(const ChannelValues& v, std::int64_t k, std::int64_t count, bool below,
                       double level) {
  // Plain values are passed over a block at a time while no value starts.
  if (const float* plain = v.Contiguous()) {
    if (below) {
      const float bound = FloatAbove(level);
      while (count - k >= kBlock && !AnyStarts<true>(plain + k, bound)) k += kBlock;
    } else {
      const float bound = FloatBelow(level);
      while (count - k >= kBlock && !AnyStarts<false>(plain + k, bound)) k += kBlock;
    }
  }
  if (below) {
    for (; k < count; ++k) {
      const float value = v[k];
      if (std::isfinite(value) && value < level) return k;
    }
  } else {
    for (; k < count; ++k) {
      const float value = v[k];
      if (std::isfinite(value) && value > level) return k;
    }
  }
  return count;
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
    const auto begin = [&](std::int64_t k, float value) {
      w.inside = true;
      Event& e = w.event;
      e = Event{};
      e.kind = w.kind;
      e.channel = w.channel;
      e.first = k + 1;
      e.start = s.PointTime(k);
      e.extreme = value;
      e.unit = s.channels[w.channel].unit;
    };
    for (std::int64_t k = read_; k < s.count; ++k) {
      if (!w.inside) {
        // Most points start nothing: a tight loop finds the next that does.
        k = NextStart(v, k, s.count, w.below, w.startLevel);
        if (k == s.count) break;
        begin(k, v[k]);
        continue;
      }
      const float value = v[k];
      // A damaged value neither starts nor ends anything.
      if (!std::isfinite(value)) continue;
      if (!Ends(w.below, w.endLevel, value)) {
        w.event.extreme = w.below ? std::min<double>(w.event.extreme, value)
                                  : std::max<double>(w.event.extreme, value);
        continue;
      }
      Close(w.event, s, k);
      Insert(closed_, w.event);
      w.inside = false;
      if (Starts(w.below, w.startLevel, value)) begin(k, value);
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
