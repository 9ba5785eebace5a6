#include "graph/geometry/BesidePlot.h"

#include <algorithm>

namespace acv {

Rect PlaceBesidePlot(const Rect& screen, const Rect& mainWindow, const Rect& graph, int width,
                     int height, bool bottom) {
  width = std::clamp(width, 1, std::max(1, screen.Width()));
  height = std::clamp(height, 1, std::max(1, screen.Height()));
  int left = 0;
  Rect against = graph;  // the edges the window lines up with
  if (screen.right - mainWindow.right >= width) {
    left = mainWindow.right;
  } else if (mainWindow.left - screen.left >= width) {
    left = mainWindow.left - width;
  } else {
    // No room outside: over the graph's right part, the curves at its left
    // in sight.
    width = std::clamp(width, 1, std::max(1, graph.Width() / 2));
    height = std::clamp(height, 1, std::max(1, graph.Height()));
    left = graph.right - width;
  }
  const int wanted = bottom ? against.bottom - height : against.top;
  const int top = std::clamp(wanted, screen.top, std::max(screen.top, screen.bottom - height));
  left = std::clamp(left, screen.left, std::max(screen.left, screen.right - width));
  return {left, top, left + width, top + height};
}

}  // namespace acv
