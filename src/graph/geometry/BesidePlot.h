#pragma once
// Where a window about the graph (the Events and Statistics windows) opens:
// beside the plot, so that it hides nothing of the span it points at.
#include "graph/geometry/Pixels.h"

namespace acv {

// Rectangles here are screen pixels, right and bottom exclusive.
// The screen's free room at the right of the main window comes first, then
// at its left, the window's top on the graph's top (or its bottom on the
// graph's bottom). On a screen the main window fills, it goes over the
// graph's right part as the Data List does: at most half the graph wide,
// on its top or bottom edge. Always inside the screen and at least 1 x 1.
Rect PlaceBesidePlot(const Rect& screen, const Rect& mainWindow, const Rect& graph, int width,
                     int height, bool bottom);

}  // namespace acv
