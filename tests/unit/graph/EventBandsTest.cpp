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
  EXPECT_EQ(EventBands(events, StoreRmsSeries(store), s, x),
            (std::vector<EventBand>{{120, 150, EventKind::Dip},
                                    {589, 592, EventKind::Transient},
                                    {1090, 1100, EventKind::Swell}}));

  // Scrolled by 2 points: everything 20 pixels to the right.
  s.scrollShift = 2;
  EXPECT_EQ(EventBands({level(EventKind::Dip, 3, 4)}, StoreRmsSeries(store), s, x).front(),
            (EventBand{140, 160, EventKind::Dip}));
}

}  // namespace
}  // namespace acv
