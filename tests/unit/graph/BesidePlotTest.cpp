// Where the Events and Statistics windows open: beside the main window when
// the screen has room, else over the graph's right half.
#include <gtest/gtest.h>

#include "graph/geometry/BesidePlot.h"

namespace acv {
namespace {

TEST(BesidePlot, OutsideTheMainWindowWhereTheScreenHasRoom) {
  const Rect screen{0, 0, 1920, 1080};
  const Rect graph{400, 100, 1200, 700};  // inside the main window
  struct Case {
    const char* name;
    Rect mainWindow;
    int width, height;
    bool bottom;
    Rect place;
  };
  const Case cases[] = {
      {"room at the right", {100, 50, 1300, 800}, 400, 300, false, {1300, 100, 1700, 400}},
      {"bottom on the graph's bottom",
       {100, 50, 1300, 800},
       400,
       300,
       true,
       {1300, 400, 1700, 700}},
      {"room only at the left", {500, 50, 1700, 800}, 400, 300, false, {100, 100, 500, 400}},
      {"a full screen: over the graph's right half",
       {0, 0, 1920, 1080},
       600,
       300,
       false,
       {800, 100, 1200, 400}},
      {"taller than the graph, kept on the screen",
       {0, 0, 1920, 1080},
       300,
       2000,
       true,
       {900, 100, 1200, 700}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PlaceBesidePlot(screen, c.mainWindow, graph, c.width, c.height, c.bottom), c.place)
        << c.name;
  }
}

}  // namespace
}  // namespace acv
