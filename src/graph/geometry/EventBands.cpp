#include "graph/geometry/EventBands.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "graph/geometry/Segments.h"

namespace acv {

std::vector<EventBand> EventBands(const std::vector<Event>& events, const AnalysisSeries& series,
                                  const GraphState& state, const XMapping& mapping) {
  std::vector<EventBand> bands;
  if (series.count == 0 || state.lastPoint <= 0) return bands;
  const Rect& plot = state.plotRect;
  // The x of 0-based point p, as the curves are drawn (shifted by scrolling).
  const auto x = [&](double p) {
    return mapping.origin + mapping.step * (p - state.firstPoint + 1 + state.scrollShift);
  };
  std::array<int, 5> lastOfKind;
  lastOfKind.fill(-1);
  for (const Event& e : events) {
    double left = 0, right = 0;
    if (e.kind == EventKind::Transient) {
      const double at = x(static_cast<double>(series.PointAtTime(e.start)));
      left = at - 1;
      right = at + 2;
    } else {
      left = x(static_cast<double>(e.first - 1));
      right = x(static_cast<double>(e.last));
    }
    if (right < plot.left || left > plot.right) continue;
    EventBand band{static_cast<int>(std::max<double>(left, plot.left)),
                   static_cast<int>(std::min<double>(right, plot.right)), e.kind};
    band.right = std::max(band.right, band.left + 1);
    int& last = lastOfKind[static_cast<std::size_t>(e.kind)];
    if (last >= 0 && band.left <= bands[static_cast<std::size_t>(last)].right &&
        band.right >= bands[static_cast<std::size_t>(last)].left) {
      EventBand& merged = bands[static_cast<std::size_t>(last)];
      merged.left = std::min(merged.left, band.left);
      merged.right = std::max(merged.right, band.right);
      continue;
    }
    last = static_cast<int>(bands.size());
    bands.push_back(band);
  }
  return bands;
}

bool ShadesAlike(const EventShading* a, const EventShading* b, const GraphModel& m) {
  const GraphState& s = m.state;
  // What the painter shows of a shading: nothing in another mode or without events.
  auto shown = [&](const EventShading* e) {
    return e != nullptr && e->mode == s.mode && !e->events.empty() ? e : nullptr;
  };
  a = shown(a);
  b = shown(b);
  if (a == b) return true;
  if (a == nullptr || b == nullptr) return false;
  if (KindsPresent(a->events) != KindsPresent(b->events)) return false;
  const XMapping& x = m.buffers.pointX[static_cast<std::size_t>(CurrentSlot(s))];
  return EventBands(a->events, a->series, s, x) == EventBands(b->events, b->series, s, x);
}

std::uint32_t EventKindColour(EventKind kind) {
  switch (kind) {
    case EventKind::Dip:
      return 0xFF9900;
    case EventKind::Interruption:
      return 0xFF3030;
    case EventKind::Swell:
      return 0x3399FF;
    case EventKind::OverCurrent:
      return 0xCC44CC;
    case EventKind::Transient:
      return 0xFFE000;
  }
  return 0x808080;
}

std::vector<EventKind> KindsPresent(const std::vector<Event>& events) {
  std::array<bool, 5> seen{};
  for (const Event& e : events) seen[static_cast<std::size_t>(e.kind)] = true;
  std::vector<EventKind> kinds;
  for (std::size_t k = 0; k < seen.size(); ++k) {
    if (seen[k]) kinds.push_back(static_cast<EventKind>(k));
  }
  return kinds;
}

}  // namespace acv
