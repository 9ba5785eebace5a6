#pragma once
// Data sets and graph models for the geometry tests. The standard client is
// 1020 x 580 pixels with the information strip hidden, which gives a plot of
// (110, 70, 910, 470): 800 pixels wide and 400 high.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "data/CDTDoc.h"
#include "graph/geometry/CursorPlacement.h"
#include "graph/geometry/GraphFrame.h"
#include "graph/geometry/GraphKeys.h"
#include "graph/geometry/Markers.h"

namespace acv::test {

inline constexpr Rect kClient{0, 0, 1020, 580};
inline constexpr Rect kPlot{110, 70, 910, 470};

inline CDTDoc StoreRmsDoc(std::vector<float> ch1, std::vector<float> ch2 = {}) {
  CDTDoc doc;
  doc.rmsCount = static_cast<std::int32_t>(ch1.size());
  doc.hasCh1 = 1;
  doc.rmsCh1 = std::move(ch1);
  doc.hasCh2 = ch2.empty() ? 0 : 1;
  doc.rmsCh2 = std::move(ch2);
  doc.rmsUnitCh1 = "V";
  doc.rmsUnitCh2 = "A";
  doc.rmsInterval = 10.0f;
  doc.rmsStartTime = 1'000'000'000;  // 09/09/01 01:46:40 UTC
  return doc;
}

// A graph of the STORE RMS series of doc with Y ranges 0..10 (CH1) and
// 0..100 (CH2).
inline GraphModel GraphOf(const CDTDoc& doc, GraphMode mode = GraphMode::StoreRms) {
  GraphModel m;
  GraphState& s = m.state;
  s.displayMode = kGraphFace;
  s.mode = mode;
  s.panelHeight = 0;
  s.firstPoint = 1;
  s.lastPoint = doc.rmsCount;
  s.ch1From = 0;
  s.ch1To = 10;
  s.ch2From = 0;
  s.ch2To = 100;
  s.plotCh1 = doc.hasCh1;
  s.plotCh2 = doc.hasCh2;
  s.ch1UnitText = doc.rmsUnitCh1;
  s.ch2UnitText = doc.rmsUnitCh2;
  return m;
}

inline std::vector<float> Constant(std::size_t n, float v) {
  return std::vector<float>(n, v);
}

// A real-time data set with room for `capacity` points, none taken yet.
inline CDTDoc RealTimeDoc(std::size_t capacity) {
  CDTDoc doc;
  doc.rtRms.assign(capacity, ChannelPair{5.0f, 50.0f});
  doc.rtFreq.assign(capacity, ChannelPair{50.0f, 50.0f});
  doc.rtHasCh1 = 1;
  doc.rtHasCh2 = 1;
  doc.rtUnitCh1 = "V";
  doc.rtUnitCh2 = "A";
  doc.rtInterval = 2;
  doc.rtStartTime = 0;
  return doc;
}

// A REAL TIME RMS graph during a run, after the first paint.
inline GraphModel RealTimeGraph(CDTDoc& doc, std::int32_t points) {
  doc.rtCount = points;
  GraphModel m;
  GraphState& s = m.state;
  s.displayMode = kGraphFace;
  s.mode = GraphMode::RealTimeRms;
  s.realTimeStopped = 0;
  s.panelHeight = 0;
  s.firstPoint = 1;
  s.lastPoint = points;
  s.ch1To = 10;
  s.ch2To = 100;
  s.plotCh1 = 1;
  s.plotCh2 = 1;
  LayoutGraph(s, kClient);
  BuildZoomLevels(s);
  PrepareGraphPaint(m, doc, kClient);
  FinishGraphPaint(s);
  return m;
}

// Adds one real-time point of the given channel 1 value, as the run does.
inline void AddPoint(CDTDoc& doc, GraphModel& m, float ch1) {
  doc.rtRms[static_cast<std::size_t>(doc.rtCount)].ch1 = ch1;
  ++doc.rtCount;
  m.state.lastPoint = doc.rtCount;
}

// Paints (geometry only) and ends the paint as the painter does.
inline GraphFrame PaintOnce(GraphModel& m, const CDTDoc& doc, const Rect& client = kClient) {
  GraphFrame frame = PrepareGraphPaint(m, doc, client);
  FinishGraphPaint(m.state);
  return frame;
}

// 101 points of 5.0, 8 px apart over the 800 px plot, painted once; keys
// and marker places carried out as the view carries them out.
class KeyedGraph : public ::testing::Test {
 protected:
  KeyedGraph() : doc_(StoreRmsDoc(Constant(101, 5.0f))) {
    m_ = GraphOf(doc_);
    PaintOnce(m_, doc_);
  }
  KeyOutcome Press(GraphKey key) {
    const KeyOutcome out = HandleGraphKey(m_, key);
    if (out.repaint) PaintOnce(m_, doc_);
    if (out.markerAPoint) Place(Marker::A, *out.markerAPoint);
    if (out.markerBPoint) Place(Marker::B, *out.markerBPoint);
    return out;
  }
  void Place(Marker which, std::int64_t point) {
    if (point >= 0 && BringPointIntoView(m_, point)) PaintOnce(m_, doc_);
    PlaceMarker(m_, doc_, which, point);
  }

  CDTDoc doc_;
  GraphModel m_;
};

}  // namespace acv::test
