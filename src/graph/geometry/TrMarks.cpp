#include "graph/geometry/TrMarks.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "graph/geometry/Segments.h"

namespace acv {

std::vector<TrMark> TrMarks(const GraphModel& m, const CDTDoc& doc) {
  const GraphState& s = m.state;
  std::vector<TrMark> marks;
  if (s.displayMode != kGraphFace || s.mode != GraphMode::StoreRms || s.lastPoint <= 0 ||
      !(s.pointStep > 0.0) || !(doc.rmsInterval > 0.0f)) {
    return marks;
  }
  const XMapping& xs = m.buffers.pointX[CurrentSlot(s)];
  const double interval = doc.rmsInterval;
  const std::size_t records =
      std::min<std::size_t>({static_cast<std::size_t>(std::max(doc.trCount, 0)), doc.trTimes.size(),
                             doc.trChannel.size()});
  int lastX = s.plotRect.left - 1;
  for (std::size_t r = 0; r < records; ++r) {
    // The trigger time as a (fractional) sample index of the RMS series.
    const double index = static_cast<double>(doc.trTimes[r] - doc.rmsStartTime) / interval;
    if (index < s.firstPoint - 1 || index > s.lastPoint - 1) continue;
    const double column = index - s.firstPoint + 1 + s.scrollShift;
    const double x = xs.origin + xs.step * column;
    if (x < s.plotRect.left || x > s.plotRect.right) continue;
    // A channel the view options hide shows no marks either.
    const bool shown = (doc.trChannel[r] == kChannel2 ? s.showCh2 : s.showCh1) == 1;
    if (!shown) continue;
    marks.push_back({static_cast<int>(r), TruncToPixel(x), doc.trChannel[r]});
  }
  // The records are in trigger order as the logger stores them, but a file
  // may hold any order: keep the first record of each column, left to right.
  std::stable_sort(marks.begin(), marks.end(),
                   [](const TrMark& a, const TrMark& b) { return a.x < b.x; });
  std::vector<TrMark> unique;
  for (const TrMark& mark : marks) {
    if (mark.x == lastX) continue;
    unique.push_back(mark);
    lastX = mark.x;
  }
  return unique;
}

Rect TrMarkRect(const GraphState& s, int x) {
  const int bottom = s.plotRect.bottom;
  return {x - kTrMarkHalfWidth, bottom - kTrMarkHeight, x + kTrMarkHalfWidth + 1, bottom};
}

int TrMarkAt(const GraphModel& m, const CDTDoc& doc, int x, int y) {
  const GraphState& s = m.state;
  int best = -1;
  int bestDistance = kTrMarkGrab + kTrMarkHalfWidth + 1;
  for (const TrMark& mark : TrMarks(m, doc)) {
    const Rect r = TrMarkRect(s, mark.x);
    if (y < r.top - kTrMarkGrab || y > r.bottom + kTrMarkGrab) continue;
    const int distance = std::abs(x - mark.x);
    if (distance < bestDistance) {
      best = mark.record;
      bestDistance = distance;
    }
  }
  return best;
}

}  // namespace acv
