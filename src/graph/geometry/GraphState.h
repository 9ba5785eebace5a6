#pragma once
// Everything the graph view knows about its face between two paints: the
// display mode it shows, the layout of the last paint, the axis ranges and
// ticks, the horizontal scaling, the zoom, scroll, cursor and drag state, and
// the user's view options and colours. Plain data: the rules that fill it are
// in the other geometry files, and the widget only forwards events to them.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "graph/geometry/Pixels.h"

namespace acv {

// The display modes the graph can show, valued by their index into the
// per-mode Y-axis table (the display kind minus one).
enum class GraphMode : std::uint8_t {
  StoreRms = 0,
  StoreTr = 1,
  RealTimeEpa = 2,
  RealTimeRms = 3,
  RealTimeFreq = 5,
  RealTimeS = 6,
};

inline constexpr int modeIndex(GraphMode mode) {
  return static_cast<int>(mode);
}

// Modes whose X range follows the real-time point count.
inline constexpr bool FollowsRealTimeCount(GraphMode mode) {
  return mode == GraphMode::RealTimeRms || mode == GraphMode::RealTimeFreq ||
         mode == GraphMode::RealTimeS;
}

// Modes whose X axis counts points instead of showing times.
inline constexpr bool CountsPoints(GraphMode mode) {
  return mode == GraphMode::StoreTr || mode == GraphMode::RealTimeEpa;
}

// Face of the view.
inline constexpr std::uint8_t kStartScreen = 0;
inline constexpr std::uint8_t kGraphFace = 1;
inline constexpr std::uint8_t kListFace = 2;

inline constexpr int kTickCount = 11;
inline constexpr int kXLabelCount = 10;
inline constexpr int kZoomLevelCount = 100;

// Slots of the tick and offset pairs and of the position buffers.
inline constexpr int kFullView = 0;
inline constexpr int kZoomedView = 1;

using TickSet = std::array<float, kTickCount>;

struct ScrollBarState {
  bool enabled = false;
  int minimum = 0;
  int maximum = 0;
  int page = 1;
  int position = 0;
};

// Low tick and tick step of one channel in the zoomed view.
struct ZoomScale {
  double low = 0.0;
  double step = 0.0;
};

// One zoom level as it was before the next zoom nested on it, so that the
// zooms can be taken back one at a time.
struct ZoomStep {
  std::uint8_t zoomState = 0;
  std::array<TickSet, 2> baseTicks{};  // full-view slot of channel 1 and 2
  std::array<ZoomScale, 2> zoomScale{};
  XMapping fullX, zoomedX;
  std::int32_t scrollShift = 0, scrollBase = 0;
  std::array<int, 2> zoomedOffset{};  // channel 1 and 2
  ScrollBarState hScroll, ch1Scroll, ch2Scroll;
};

struct GraphState {
  // ---- face and mode ---------------------------------------------------------
  std::uint8_t displayMode = kStartScreen;
  GraphMode mode = GraphMode::StoreRms;
  std::uint8_t realTimeStopped = 1;  // mirrors the main frame: no run in progress
  int panelHeight = 120;

  // ---- layout of the last paint ----------------------------------------------
  Rect clientRect;
  Rect plotRect;
  Rect graphBox;
  Rect lastPlotRect;  // plot rectangle of the previous graph paint
  bool hasLastPlotRect = false;

  // ---- axes ----------------------------------------------------------------
  std::int32_t firstPoint = 0;  // 1-based, inclusive
  std::int32_t lastPoint = 0;
  std::int32_t ch1From = 0, ch1To = 0, ch2From = 0, ch2To = 0;
  std::array<TickSet, 2> ch1Ticks{};  // [full view, zoomed]
  std::array<TickSet, 2> ch2Ticks{};
  std::array<int, 2> ch1Offset{};  // vertical scroll offsets in pixels
  std::array<int, 2> ch2Offset{};
  // Horizontal distance between two consecutive points, in pixels; in the
  // zoomed view the zoomed distance. A double, so that positions far from the
  // first point keep sub-pixel accuracy.
  double pointStep = 0.0;
  std::array<std::int32_t, kZoomLevelCount> zoomLevels{};
  int zoomLevel = 0;
  std::int32_t scrollShift = 0;  // curves are drawn shifted by this many points
  std::int32_t scrollBase = 0;   // points left of the plot at the last zoom
  std::uint8_t plotCh1 = 0, plotCh2 = 0;
  std::string ch1UnitText, ch2UnitText;
  std::array<std::string, kTickCount> ch1Labels, ch2Labels;
  std::array<std::string, kXLabelCount> xLabels;  // first line of each X label
  // Whether the ticks of a channel span a range, so that values map to pixels.
  std::array<bool, 2> yScaleValid{};

  // ---- view options (settings VIEW1..VIEW9) ----------------------------------
  std::uint8_t showCh1 = 1, showCh2 = 1, showCh3 = 1;
  std::uint8_t capLevelShown = 0, ch2AlarmShown = 0, ch3AlarmShown = 0;
  std::uint8_t markPoints = 0, yGrid = 1, xGrid = 1;
  std::uint8_t plotStyle = 0;  // carried by the View dialog; draws nothing different

  // ---- colour indices (main frame) -------------------------------------------
  int backgroundColour = 13;
  int ch1Colour = 0;
  int ch2Colour = 1;
  int gridColour = 2;

  // ---- zoom -----------------------------------------------------------------
  std::uint8_t zoomState = kFullView;
  std::uint8_t zoomPending = 0;
  std::uint8_t cursorEnabled = 1;
  std::uint8_t dragShown = 0;
  double zoomX0 = 0, zoomY0 = 0, zoomX1 = 0, zoomY1 = 0;  // zoomRect
  std::array<ZoomScale, 2> zoomScale{};                   // per channel
  std::array<TickSet, 2> savedTicks{};  // the full-view ticks a nested zoom replaced
  bool followSkipOnce = false;          // set by a vertical scroll
  bool pendingFromFullView = false;     // the pending zoom started from the full view
  std::vector<ZoomStep> zoomHistory;    // the levels below the current zoom, oldest first

  // ---- rubber band and pointer cursor ------------------------------------------
  bool dragging = false;
  bool dragUnmoved = true;
  PixelPoint dragCorner;  // corner of the rubber band drawn last
  bool dragCornerShown = false;
  // The pointer cursor: a dotted line that follows the mouse over the plot,
  // for reading values; it never marks anything.
  int cursorX = 0;
  bool cursorHidden = true;
  int cursorIndex = 0;
  // The readout line: the point last read, under the pointer or at marker A.
  std::string readoutText;

  // ---- markers A and B --------------------------------------------------------
  // The two ends of a measured span, placed on purpose (a click, the keys,
  // another window) and kept on their points through zooms, scrolls and
  // pointer moves until moved, removed or until the data they mark go.
  // Drawn by every full paint as solid lines, never inverted. 0-based like
  // cursorIndex; -1: not placed.
  std::int64_t markerAIndex = -1;
  std::int64_t markerBIndex = -1;
  // Which points A and B are (and whether they are off the screen) and the
  // differences B - A; empty without either marker.
  std::string markerText;

  // ---- scroll bars: horizontal (100), channel 1 left (102), channel 2 right (101)
  ScrollBarState hScroll, ch1Scroll, ch2Scroll;
};

}  // namespace acv
