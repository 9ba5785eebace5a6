#include "graph/geometry/GraphFrame.h"

#include "graph/geometry/Markers.h"
#include "graph/geometry/Segments.h"
#include "graph/geometry/SeriesSource.h"
#include "graph/geometry/Zoom.h"

namespace acv {
namespace {

void UpdateScaleValidity(GraphState& s) {
  const int slot = s.zoomState == kZoomedView ? kZoomedView : kFullView;
  s.yScaleValid[0] = MakeYScale(s.plotRect, s.ch1Ticks[slot]).valid;
  s.yScaleValid[1] = MakeYScale(s.plotRect, s.ch2Ticks[slot]).valid;
}

// Whether the newest segment of a plotted channel crosses the plot's top or
// bottom line, which the fast path cannot draw without its cover fills.
bool NewestCrossesEdge(const GraphModel& m, const SeriesSource& source, std::int32_t rtCount) {
  const GraphState& s = m.state;
  for (int c = 0; c < 2; ++c) {
    if ((c == 0 ? s.plotCh1 : s.plotCh2) != 1) continue;
    const auto seg = NewestSegment(m, source, c, rtCount);
    if (!seg) continue;
    if (CrossesLine(seg->a.y, seg->b.y, s.plotRect.top) ||
        CrossesLine(seg->a.y, seg->b.y, s.plotRect.bottom)) {
      return true;
    }
  }
  return false;
}

}  // namespace

bool RecomputeScaling(GraphModel& m, const CDTDoc& doc, bool applyPending) {
  GraphState& s = m.state;
  const bool advanced = UpdatePointStep(s, doc.rtCount);
  const SeriesSource source(doc, s.mode);
  if (s.zoomState != kZoomedView) {
    m.buffers.pointX[kFullView] = {static_cast<double>(s.plotRect.left), s.pointStep};
    ComputeFullViewTicks(s);
    ComputeY(m, source, kFullView);
  } else {
    if (applyPending && s.zoomPending == 1) ApplyPendingZoom(m);
    ComputeZoomedTicks(s);
    ComputeY(m, source, kZoomedView);
    s.pointStep = m.buffers.pointX[kZoomedView].step;
  }
  UpdateScaleValidity(s);
  FormatYLabels(s);
  return advanced;
}

GraphFrame PrepareGraphPaint(GraphModel& m, const CDTDoc& doc, const Rect& client) {
  GraphState& s = m.state;
  LayoutGraph(s, client);
  if (s.hasLastPlotRect && !(s.plotRect == s.lastPlotRect)) {
    RemapForResize(m, s.lastPlotRect, s.plotRect);
  }
  RecomputeScaling(m, doc, true);

  GraphFrame frame;
  const double x0 = m.buffers.pointX[CurrentSlot(s)].origin;
  frame.xLabels = ComputeXLabels(s, doc, x0);
  for (std::size_t k = 0; k < frame.xLabels.size(); ++k) s.xLabels[k] = frame.xLabels[k].text;
  if (s.lastPoint == 1) {
    frame.singleLabel = true;
    frame.single = SinglePointLabel(s, doc);
  }
  // Whether a marker is off the screen follows the zoom and scroll just laid out.
  s.markerText = MarkerReadoutText(m, doc);
  return frame;
}

void FinishGraphPaint(GraphState& s) {
  s.zoomPending = 0;
  s.cursorHidden = true;
  s.dragCornerShown = false;
  // A plot without width keeps the last usable rectangle, so that a zoom
  // can still be carried over when the window grows again.
  if (s.plotRect.Width() > 0) {
    s.lastPlotRect = s.plotRect;
    s.hasLastPlotRect = true;
  }
}

IncrementalAction IncrementalUpdate(GraphModel& m, const CDTDoc& doc) {
  GraphState& s = m.state;
  if (s.displayMode == kStartScreen) return IncrementalAction::None;
  const SeriesSource source(doc, s.mode);
  const bool advanced = RecomputeScaling(m, doc, false);
  if (s.dragShown == 1) return IncrementalAction::None;
  if (advanced) return IncrementalAction::RepaintWithErase;
  if (doc.rtCount < 3) return IncrementalAction::Repaint;
  if (s.zoomState != kZoomedView) {
    return NewestCrossesEdge(m, source, doc.rtCount) ? IncrementalAction::Repaint
                                                     : IncrementalAction::DrawNewest;
  }
  if (s.realTimeStopped == 1 || !FollowsRealTimeCount(s.mode)) return IncrementalAction::None;
  // Follow the data once the point before the newest reaches the right edge.
  const std::int64_t k =
      static_cast<std::int64_t>(s.lastPoint) - 2 - (s.firstPoint - 1) + s.scrollShift;
  if (m.buffers.pointX[kZoomedView].At(k) >= s.plotRect.right) {
    if (s.followSkipOnce) {
      s.followSkipOnce = false;
    } else {
      s.scrollShift -= 1;
    }
    s.hScroll.position = s.scrollBase - s.scrollShift + 1;
    return IncrementalAction::Repaint;
  }
  // Until then the new points appear in the zoomed view as they come, as
  // long as the newest segment lies wholly between the plot's side edges.
  const auto seg = NewestSegment(m, source, 0, doc.rtCount);
  if (seg) {
    if (seg->b.x < s.plotRect.left) return IncrementalAction::None;
    if (seg->a.x < s.plotRect.left || seg->b.x > s.plotRect.right)
      return IncrementalAction::Repaint;
  }
  return NewestCrossesEdge(m, source, doc.rtCount) ? IncrementalAction::Repaint
                                                   : IncrementalAction::DrawNewest;
}

}  // namespace acv
