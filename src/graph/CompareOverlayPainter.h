#pragma once
// Draws the Compare window's overlay, on screen and on a printed page: per
// channel one small plot with span A in the channel's colour and span B in
// a lighter shade of it, both from the time elapsed since their start, and
// a legend naming the spans. Where each line goes is decided in
// frame/CompareOverlay; this only draws it.
#include <QRect>
#include <string>
#include <vector>

#include "frame/CompareOverlay.h"
#include "graph/DistributionPainter.h"

class QPainter;

namespace acv {

// The shade span B is drawn in.
QColor SpanBColour(const QColor& channel);

// The plots of the channels either span has, one row each, under the
// legend; `note` (a span too large to draw, say) stands in their place when
// neither span has a channel to draw.
void PaintCompareOverlay(QPainter& p, const QRect& rect, const CompareOverlay& overlay,
                         const PlotColours& colours, const std::string& note = {});

// A printed page: a title, the figures (the Compare window's text, in a
// fixed-width font) and the overlay below them.
void PaintComparePage(QPainter& p, const QRect& page, const std::string& title,
                      const std::vector<std::string>& figures, const CompareOverlay& overlay,
                      const PlotColours& colours, const std::string& note = {});

}  // namespace acv
