#pragma once
// Where the events lie on the graph of an RMS series: one shaded band per
// event over the points it covers (a transient: a narrow band at the point
// of its trigger time), clipped to the plot, in one colour per kind.
#include <cstdint>
#include <vector>

#include "analysis/AnalysisSeries.h"
#include "analysis/Events.h"
#include "graph/geometry/GraphState.h"
#include "graph/geometry/Pixels.h"
#include "graph/geometry/PointBuffers.h"

namespace acv {

struct EventBand {
  int left = 0, right = 0;  // pixels, right > left
  EventKind kind = EventKind::Dip;
  bool operator==(const EventBand&) const = default;
};

// What the graph shades: the events of one series, shown while the graph is
// in the mode that draws that series. The series reads the data set in
// place, so the shading is rebuilt whenever the data set changes.
struct EventShading {
  GraphMode mode = GraphMode::StoreRms;
  AnalysisSeries series;
  std::vector<Event> events;
};

// `x`: the current zoom state's mapping of points to x (its origin is the
// x of point firstPoint - 1; the curves are drawn shifted by scrollShift).
// Events of one kind whose bands touch are merged, so a long list costs no
// more than the plot has pixels.
std::vector<EventBand> EventBands(const std::vector<Event>& events, const AnalysisSeries& series,
                                  const GraphState& state, const XMapping& x);

// Whether two shadings paint the same bands and legend on the graph as it
// is laid out now (null: no shading).
bool ShadesAlike(const EventShading* a, const EventShading* b, const GraphModel& m);

// The colour of a kind, 0xRRGGBB (drawn translucent over the curves).
std::uint32_t EventKindColour(EventKind kind);

// The kinds that occur, in the order of EventKind: the legend's entries.
std::vector<EventKind> KindsPresent(const std::vector<Event>& events);

}  // namespace acv
