#include "graph/geometry/Scroll.h"

#include <algorithm>
#include <cstdint>

namespace acv {
namespace {

// The last position of the horizontal bar: its range ends one point after
// the series. (Bounding by the range rather than by lastPoint keeps a TR
// record far into the data from scrolling thousands of points past its end.)
std::int64_t HorizontalEnd(const GraphState& s) {
  return std::max<std::int64_t>(0, static_cast<std::int64_t>(s.lastPoint) + 1 - s.firstPoint);
}

void SetHorizontalPosition(GraphState& s, std::int64_t position) {
  const std::int64_t shift = static_cast<std::int64_t>(s.scrollBase) + 1 - position;
  s.scrollShift = static_cast<std::int32_t>(std::clamp<std::int64_t>(shift, INT32_MIN, INT32_MAX));
}

}  // namespace

int HorizontalPosition(const GraphState& s) {
  const std::int64_t pos = static_cast<std::int64_t>(s.scrollBase) - s.scrollShift + 1;
  return static_cast<int>(std::clamp<std::int64_t>(pos, INT32_MIN, INT32_MAX));
}

bool ScrollHorizontal(GraphState& s, ScrollAction action, int position, int mouseX) {
  const std::int64_t pos = HorizontalPosition(s);
  const std::int64_t end = HorizontalEnd(s);
  const int width = s.plotRect.Width();
  const std::int32_t before = s.scrollShift;
  switch (action) {
    case ScrollAction::LineBack:
      if (pos >= 1) SetHorizontalPosition(s, pos - 1);
      break;
    case ScrollAction::LineForward:
      if (pos < end) SetHorizontalPosition(s, pos + 1);
      break;
    case ScrollAction::PageBack:
    case ScrollAction::PageForward: {
      if (!(s.pointStep > 0.0)) break;
      const std::int64_t page = TruncToCount((width + 120) / s.pointStep) + 1;
      // Pages stop at the data's ends: the first page starts with the
      // first point at the plot's left edge, the last ends with the last
      // point at its right edge, not an empty plot beyond it; a view the
      // thumb or the lines moved further stays put.
      if (action == ScrollAction::PageBack) {
        if (pos > 1) SetHorizontalPosition(s, std::max<std::int64_t>(1, pos - page));
      } else {
        const std::int64_t last =
            std::max<std::int64_t>(0, end - TruncToCount(width / s.pointStep));
        if (pos < last) SetHorizontalPosition(s, std::min(pos + page, last));
      }
      break;
    }
    case ScrollAction::ThumbTrack: {
      std::int64_t target = position;
      const std::int64_t count = static_cast<std::int64_t>(s.lastPoint) - s.firstPoint + 1;
      // A 16-bit thumb position cannot address more points: the pointer's x
      // along the bar is used instead.
      if (count > 32767 && width > 60) {
        if (mouseX < s.plotRect.left + 30) {
          target = 0;
        } else if (mouseX > s.plotRect.right - 30) {
          target = count;
        } else {
          target = TruncToCount(static_cast<double>(mouseX - s.plotRect.left - 30) / (width - 60) *
                                static_cast<double>(count));
        }
      }
      SetHorizontalPosition(s, std::clamp<std::int64_t>(target, 0, end));
      break;
    }
    case ScrollAction::Other:
      break;
  }
  s.hScroll.position = HorizontalPosition(s);
  return s.scrollShift != before;
}

bool ScrollVertical(GraphState& s, int channel, ScrollAction action, int position) {
  const int slot = s.zoomState == kZoomedView ? kZoomedView : kFullView;
  int& offset = channel == 0 ? s.ch1Offset[slot] : s.ch2Offset[slot];
  ScrollBarState& bar = channel == 0 ? s.ch1Scroll : s.ch2Scroll;
  const int half = std::max(0, s.plotRect.Height() / 2);
  const int before = offset;
  switch (action) {
    case ScrollAction::LineBack:
      offset -= 1;
      break;
    case ScrollAction::LineForward:
      offset += 1;
      break;
    case ScrollAction::PageBack:
      offset -= half;
      break;
    case ScrollAction::PageForward:
      offset += half;
      break;
    case ScrollAction::ThumbTrack:
      offset = position;
      break;
    case ScrollAction::Other:
      break;
  }
  offset = std::clamp(offset, -half, half);
  bar.position = offset;
  if (offset == before) return false;
  s.followSkipOnce = true;
  return true;
}

Rect HorizontalScrollArea(const GraphState& s) {
  const Rect& p = s.plotRect;
  return {p.left - 60, p.top - 10, p.right + 60, p.bottom + 35};
}

Rect VerticalScrollArea(const GraphState& s) {
  const Rect& p = s.plotRect;
  return {p.left - 70, p.top - 10, p.right + 70, p.bottom + 35};
}

}  // namespace acv
