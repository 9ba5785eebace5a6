// Event bands on the plot: from the first point to the point after the
// last, touching bands of one kind merged, clipped to the plot; a transient
// a narrow band at the point of its trigger time.
#include <gtest/gtest.h>

#include "graph/geometry/EventBands.h"

namespace acv {
namespace {

TEST(EventBands, CoverTheirPointsMergeAndClip) {
  StoreFamily store;
  store.rmsCount = 200;
  store.hasCh1 = 1;
  store.rmsCh1.assign(200, 230.0f);
  store.rmsUnitCh1 = "V";
  store.rmsInterval = 60.0f;
  store.rmsStartTime = 1772359200;
  GraphState s;
  s.plotRect = {100, 50, 1100, 450};
  s.firstPoint = 1;
  s.lastPoint = 101;
  const XMapping x{100.0, 10.0};  // x of 0-based point p: 100 + 10 p

  const auto level = [](EventKind kind, std::int64_t first, std::int64_t last) {
    Event e;
    e.kind = kind;
    e.first = first;
    e.last = last;
    return e;
  };
  Event transient;
  transient.kind = EventKind::Transient;
  transient.start = store.rmsStartTime + 49 * 60 + 30;  // during point 49 (0-based)
  const std::vector<Event> events{level(EventKind::Dip, 3, 4), level(EventKind::Dip, 5, 5),
                                  transient, level(EventKind::Swell, 100, 120),
                                  level(EventKind::Swell, 150, 160)};
  EXPECT_EQ(EventBands(events, StoreRmsSeries(store, {}), s, x),
            (std::vector<EventBand>{{120, 150, EventKind::Dip},
                                    {589, 592, EventKind::Transient},
                                    {1090, 1100, EventKind::Swell}}));

  // Scrolled by 2 points: everything 20 pixels to the right.
  s.scrollShift = 2;
  EXPECT_EQ(EventBands({level(EventKind::Dip, 3, 4)}, StoreRmsSeries(store, {}), s, x).front(),
            (EventBand{140, 160, EventKind::Dip}));
}

TEST(EventBands, ShadingsAlikeWhileTheyPaintTheSameBands) {
  RealTimeFamily run;
  run.rtCount = 1000;
  run.rtHasCh1 = 1;
  run.rtRms.assign(1000, ChannelPair{230.0f, 0.0f});
  run.rtUnitCh1 = "V";
  GraphModel m;
  m.state.mode = GraphMode::RealTimeRms;
  m.state.plotRect = {100, 50, 1100, 450};
  m.state.firstPoint = 1;
  m.state.lastPoint = 1000;
  m.buffers.pointX[kFullView] = {100.0, 1.0};  // a point a pixel
  auto shading = [&](std::int64_t last, double extreme) {
    Event dip;
    dip.first = 900;
    dip.last = last;
    dip.extreme = extreme;
    dip.open = true;
    EventShading s;
    s.mode = GraphMode::RealTimeRms;
    s.series = RealTimeRmsSeries(run, {});
    s.events = {dip};
    return s;
  };
  const EventShading open = shading(950, 180.0);
  const EventShading deeper = shading(950, 170.0);
  const EventShading longer = shading(951, 180.0);
  EXPECT_TRUE(ShadesAlike(&open, &deeper, m));   // another depth: the same band
  EXPECT_FALSE(ShadesAlike(&open, &longer, m));  // a pixel longer
  m.buffers.pointX[kFullView] = {100.0, 0.25};   // four points a pixel
  EXPECT_TRUE(ShadesAlike(&open, &longer, m));
  EXPECT_FALSE(ShadesAlike(&open, nullptr, m));
  EventShading elsewhere = open;
  elsewhere.mode = GraphMode::StoreRms;  // not shown in this mode: as none
  EXPECT_TRUE(ShadesAlike(&elsewhere, nullptr, m));
}

}  // namespace
}  // namespace acv
