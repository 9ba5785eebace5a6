#include "graph/geometry/Scaling.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace acv {
namespace {

void FullTicks(TickSet& ticks, std::int32_t from, std::int32_t to, int offset, int height) {
  const double span = static_cast<double>(to) - static_cast<double>(from);
  // A plot without height cannot be scrolled: the offset term is left out
  // rather than divided by zero.
  const double shift = height > 0 ? span * offset / height : 0.0;
  for (int k = 0; k < kTickCount; ++k) {
    ticks[k] = static_cast<float>(from + k * span * 0.1 - shift);
  }
}

void ZoomedTicks(TickSet& ticks, const ZoomScale& z, int offset, int height) {
  const double shift = height > 0 ? z.step * 10.0 * offset / height : 0.0;
  for (int k = 0; k < kTickCount; ++k) {
    ticks[k] = static_cast<float>(z.low + k * z.step - shift);
  }
}

std::string FormatTick(float v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.2f", static_cast<double>(v));
  return buf;
}

bool IsStoreOrWave(GraphMode mode) {
  return mode == GraphMode::StoreRms || mode == GraphMode::StoreTr ||
         mode == GraphMode::RealTimeEpa;
}

// Start and interval of the X axis times of the current mode.
void TimeBase(const GraphState& s, const CDTDoc& doc, TimeStamp& start, std::int64_t& interval) {
  if (s.mode == GraphMode::StoreRms) {
    start = doc.rmsStartTime;
    const double whole = std::trunc(static_cast<double>(doc.rmsInterval));
    interval = std::isfinite(whole) ? TruncToCount(whole) : 0;
  } else {
    start = doc.rtStartTime;
    interval = doc.rtInterval;
  }
}

// start + interval x point, saturated: an absurd interval from a file must
// not overflow; the time text of such a point is simply empty.
TimeStamp OffsetTime(TimeStamp start, std::int64_t interval, std::int64_t point) {
  std::int64_t offset = 0;
  TimeStamp t = 0;
  if (__builtin_mul_overflow(interval, point, &offset) ||
      __builtin_add_overflow(start, offset, &t)) {
    return INT64_MAX;
  }
  return t;
}

}  // namespace

void LayoutGraph(GraphState& s, const Rect& client) {
  s.clientRect = client;
  const int h = s.panelHeight;
  s.plotRect = {client.left + 110, client.top + h + 70, client.right - 110, client.bottom - 110};
  s.graphBox = {client.left + 20, s.plotRect.top - 18, client.right - 20, s.plotRect.bottom + 55};
}

void ComputeFullViewTicks(GraphState& s) {
  const int height = s.plotRect.Height();
  FullTicks(s.ch1Ticks[kFullView], s.ch1From, s.ch1To, s.ch1Offset[kFullView], height);
  FullTicks(s.ch2Ticks[kFullView], s.ch2From, s.ch2To, s.ch2Offset[kFullView], height);
}

void ComputeZoomedTicks(GraphState& s) {
  const int height = s.plotRect.Height();
  ZoomedTicks(s.ch1Ticks[kZoomedView], s.zoomScale[0], s.ch1Offset[kZoomedView], height);
  ZoomedTicks(s.ch2Ticks[kZoomedView], s.zoomScale[1], s.ch2Offset[kZoomedView], height);
}

void FormatYLabels(GraphState& s) {
  const int slot = s.zoomState == kZoomedView ? kZoomedView : kFullView;
  for (int k = 0; k < kTickCount; ++k) {
    s.ch1Labels[k] = FormatTick(s.ch1Ticks[slot][k]);
    s.ch2Labels[k] = FormatTick(s.ch2Ticks[slot][k]);
  }
}

int YLabelX(const GraphState& s, int channel, const std::string& label) {
  if (channel == 0) return s.clientRect.left + 88 - 5 * static_cast<int>(label.size());
  return s.plotRect.right + 6;
}

int YLabelY(const GraphState& s, int k) {
  return s.plotRect.bottom - (k * s.plotRect.Height()) / 10 - 8;
}

int YTickY(const GraphState& s, int k) {
  return TruncToPixel(k * s.plotRect.Height() * 0.1 + s.plotRect.top);
}

int GridLineY(const GraphState& s, int k) {
  return TruncToPixel(s.plotRect.top + s.plotRect.Height() * k * 0.1);
}

std::int32_t NextZoomLevel(std::int32_t previous, int width) {
  // W cancels out of the rule (each level holds 12/11 of the one before);
  // a plot without width still gets sensible levels from a nominal width.
  const double w = width > 0 ? width : 1200.0;
  const double s = (w - w / 12.0) / (static_cast<double>(previous) - 1.0);
  if (!(s > 0.0)) return previous + 1;
  const std::int64_t next = TruncToCount(w / s + 1.0);
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(next, previous + 1, INT32_MAX));
}

void BuildZoomLevels(GraphState& s) {
  s.zoomLevels.fill(0);
  s.zoomLevels[0] = 100;
  for (int n = 1; n < kZoomLevelCount; ++n) {
    s.zoomLevels[n] = NextZoomLevel(s.zoomLevels[n - 1], s.plotRect.Width());
    if (s.zoomLevels[n] > 99999) break;
  }
}

void FitZoomLevel(GraphState& s, std::int64_t points) {
  if (s.zoomLevels[0] != 100) BuildZoomLevels(s);
  int level = 0;
  while (level < kZoomLevelCount - 1 && s.zoomLevels[level] < points) {
    if (s.zoomLevels[level + 1] <= s.zoomLevels[level]) {
      s.zoomLevels[level + 1] = NextZoomLevel(s.zoomLevels[level], s.plotRect.Width());
    }
    ++level;
  }
  s.zoomLevel = level;
}

bool UpdatePointStep(GraphState& s, std::int32_t rtCount) {
  const int width = s.plotRect.Width();
  if (s.realTimeStopped == 1 || IsStoreOrWave(s.mode)) {
    const std::int64_t span = static_cast<std::int64_t>(s.lastPoint) - s.firstPoint;
    // One point (or a range without extent) spans the plot with one step.
    s.pointStep = (s.lastPoint < 2 || span <= 0) ? width : static_cast<double>(width) / span;
    return false;
  }
  if (rtCount <= 1) {
    s.zoomState = kFullView;
    s.zoomLevel = 0;
    s.scrollShift = 0;
    s.scrollBase = 0;
    s.ch1Offset[kFullView] = 0;
    s.ch2Offset[kFullView] = 0;
  }
  if (s.zoomLevels[0] != 100) BuildZoomLevels(s);
  s.zoomLevel = std::clamp(s.zoomLevel, 0, kZoomLevelCount - 1);
  bool advanced = false;
  const std::int64_t shown = static_cast<std::int64_t>(rtCount) - s.firstPoint;
  while (s.zoomLevel < kZoomLevelCount - 1 && shown >= s.zoomLevels[s.zoomLevel]) {
    const std::int32_t previous = s.zoomLevels[s.zoomLevel];
    ++s.zoomLevel;
    s.zoomLevels[s.zoomLevel] = NextZoomLevel(previous, width);
    advanced = true;
  }
  s.pointStep = static_cast<double>(width) / (s.zoomLevels[s.zoomLevel] - 1);
  return advanced;
}

std::int64_t XLabelSpacing(std::int64_t n) {
  if (n > 3) return static_cast<std::int64_t>(n * 0.25);
  if (n == 3) return n / 3;
  if (n == 2) return static_cast<std::int64_t>(n * 0.5);
  return 1;
}

std::vector<XLabel> ComputeXLabels(const GraphState& s, const CDTDoc& doc, double x0) {
  std::vector<XLabel> labels;
  const double step = s.pointStep;
  const int width = s.plotRect.Width();
  if (!(step > 0.0) || width <= 0) return labels;
  const std::int64_t n = TruncToCount(width / step);
  const std::int64_t spacing = XLabelSpacing(n);
  TimeStamp start = 0;
  std::int64_t interval = 0;
  TimeBase(s, doc, start, interval);
  labels.resize(kXLabelCount);
  for (int k = 0; k < kXLabelCount; ++k) {
    XLabel& label = labels[k];
    const std::int64_t q = static_cast<std::int64_t>(s.scrollBase) + k * spacing;
    label.position = x0 + step * static_cast<double>(q);
    label.x = TruncToPixel(label.position);
    label.shown = label.position >= s.plotRect.left && label.position <= s.plotRect.right;
    if (!label.shown) continue;
    if (CountsPoints(s.mode)) {
      label.text = std::to_string(q - s.scrollShift + 1);
    } else {
      const std::int64_t point =
          static_cast<std::int64_t>(s.firstPoint) - 1 + s.scrollBase - s.scrollShift + k * spacing;
      const TimeStamp t = OffsetTime(start, interval, point);
      label.text = FormatTime(t, "%H:%M:%S");
      label.date = FormatTime(t, "%d/%m/%y");
    }
    label.textX = label.x - (7 * static_cast<int>(label.text.size())) / 2;
  }
  return labels;
}

XLabel SinglePointLabel(const GraphState& s, const CDTDoc& doc) {
  XLabel label;
  label.shown = true;
  if (CountsPoints(s.mode)) {
    label.text = "1";
    label.x = label.textX = s.plotRect.left;
  } else {
    const TimeStamp start = s.mode == GraphMode::StoreRms ? doc.rmsStartTime : doc.rtStartTime;
    label.text = FormatTime(start, "%H:%M:%S");
    label.date = FormatTime(start, "%d/%m/%y");
    label.x = s.plotRect.left;
    label.textX = s.plotRect.left - 23;
  }
  label.position = label.x;
  return label;
}

}  // namespace acv
