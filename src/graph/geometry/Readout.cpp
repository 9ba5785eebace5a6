#include "graph/geometry/Readout.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "data/NumberText.h"
#include "graph/geometry/CursorPlacement.h"
#include "graph/geometry/Segments.h"
#include "graph/geometry/SeriesSource.h"

namespace acv {

int ValueDecimals(GraphMode mode, int waveDecimals) {
  switch (mode) {
    case GraphMode::StoreTr:
    case GraphMode::RealTimeEpa:
      return waveDecimals;
    case GraphMode::RealTimeS:
      return 0;
    case GraphMode::StoreRms:
    case GraphMode::RealTimeRms:
    case GraphMode::RealTimeFreq:
      return 1;
  }
  return 1;
}

bool CursorInsidePlot(const GraphState& s, int x, int y) {
  const Rect& p = s.plotRect;
  return !(y > p.bottom || y < p.top + 1 || x < p.left || x > p.right);
}

std::int64_t NearestPoint(const GraphModel& m, int x) {
  const GraphState& s = m.state;
  const std::int64_t first = s.firstPoint;
  const std::int64_t last = s.lastPoint;
  if (last == 1) return 0;
  const double step = s.pointStep;
  std::int64_t w = first - 1;
  if (step > 0.0) {
    const double x0 = m.buffers.pointX[CurrentSlot(s)].origin;
    const std::int64_t column = TruncToCount((x - x0) / step);
    w = column + first - 1 - s.scrollShift;
    // Points at x0 + step * column and one step further: the right one wins
    // only when strictly nearer.
    const double left = x0 + step * static_cast<double>(column);
    const double right = left + step;
    if (x - left > right - x) ++w;
  }
  if (w >= last) w = last - 1;
  if (w < first) w = first - 1;
  return w;
}

std::string FormatChannelValue(GraphMode mode, float value, const std::string& unit,
                               int waveDecimals) {
  if (mode == GraphMode::RealTimeFreq) {
    if (value >= 400.0f) return "OL";
    if (value <= 40.0f) return kLevelLow;
  }
  if (mode == GraphMode::StoreTr || mode == GraphMode::RealTimeEpa) {
    // Wave samples: zero is a sample like any other, never "LO".
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", waveDecimals, static_cast<double>(value));
    return text + unit;
  }
  const std::string text = MeasuredText(value, ValueDecimals(mode));
  return text == kLevelLow ? text : text + unit;
}

std::int64_t PointNumber(const GraphState& s, std::int64_t index) {
  return s.mode == GraphMode::StoreTr ? index - s.firstPoint + 2 : index + 1;
}

std::optional<std::string> ReadoutText(const GraphState& s, const CDTDoc& doc, std::int64_t index) {
  if (index < 0 || index >= s.lastPoint) return std::nullopt;
  const SeriesSource source(doc, s.mode);
  std::string line = "Data Point No.:" + std::to_string(PointNumber(s, index)) +
                     "  Time:" + FormatTime(PointTime(doc, s.mode, index), kSampleTimeFormat);
  if (s.mode == GraphMode::RealTimeS) {
    if (!source.Has(0, index)) return std::nullopt;
    return line + "   S(VA): " + FormatChannelValue(s.mode, source.Value(0, index), s.ch1UnitText);
  }
  if (s.plotCh1 == 1) {
    if (!source.Has(0, index)) return std::nullopt;
    line += "   CH1: " + FormatChannelValue(s.mode, source.Value(0, index), s.ch1UnitText,
                                            source.WaveDecimals(0));
  }
  if (s.plotCh2 == 1) {
    if (!source.Has(1, index)) return std::nullopt;
    line += "   CH2: " + FormatChannelValue(s.mode, source.Value(1, index), s.ch2UnitText,
                                            source.WaveDecimals(1));
  }
  return line;
}

Rect ReadoutBar(const GraphState& s) {
  const Rect& p = s.plotRect;
  const int left = p.left - 80;
  const int top = p.bottom + 75;
  return {left, top, left + p.Width() + 178, top + 20};
}

Rect DeltaReadoutBox(const GraphState& s, int readoutWidth, int deltaWidth) {
  constexpr int kGap = 24;
  // Clear of the focus frame, which runs just inside the bar's right end.
  constexpr int kRightMargin = 8;
  const Rect bar = ReadoutBar(s);
  const int height = bar.Height();
  const int right = bar.right - kRightMargin;
  const int left = std::max(bar.left, right - deltaWidth);
  if (bar.left + readoutWidth + kGap <= right - deltaWidth) {
    return {left, bar.top, right, bar.bottom};
  }
  return {left, bar.top - height, right, bar.top};
}

Rect ReadoutArea(const GraphState& s) {
  Rect area = ReadoutBar(s);
  if (!s.markerText.empty()) area.top -= area.Height();
  return area;
}

bool ShowReadoutOf(GraphState& s, const CDTDoc& doc, std::int64_t index) {
  std::optional<std::string> text = ReadoutText(s, doc, index);
  if (!text) return false;
  s.readoutText = std::move(*text);
  return true;
}

CursorMove MoveCursor(GraphModel& m, const CDTDoc& doc, int x, int y) {
  GraphState& s = m.state;
  CursorMove move;
  if (!CursorUsable(s)) return move;
  if (!s.cursorHidden) {
    move.eraseOld = true;
    move.oldX = s.cursorX;
    s.cursorHidden = true;
  }
  // Off the plot the line goes and the readout keeps the point last read.
  if (!CursorInsidePlot(s, x, y)) return move;
  const std::int64_t index = NearestPoint(m, x);
  s.cursorIndex = static_cast<int>(index);
  s.cursorX = x;
  s.cursorHidden = false;
  move.drawNew = true;
  move.readoutChanged = ShowReadoutOf(s, doc, index);
  return move;
}

}  // namespace acv
