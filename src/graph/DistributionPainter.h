#pragma once
// Draws the Distribution window's small plots, on screen and on a printed
// page: per channel the histogram with its cumulative probability and the
// daily profile, in the graph's colours and axis font. What goes where is
// decided in frame/DistributionFigures; this only draws it.
#include <QColor>
#include <QRect>
#include <array>

#include "frame/DistributionFigures.h"

class QPainter;

namespace acv {

// The colours the plots use: the graph's background, grid and channels.
struct PlotColours {
  QColor background{Qt::black}, grid{Qt::darkGray}, text{Qt::white};
  std::array<QColor, 2> channels{QColor(Qt::red), QColor(Qt::green)};
};

// The plots of every present channel in `rect`, a row a channel.
void PaintDistribution(QPainter& p, const QRect& rect, const DistributionFigures& f,
                       const PlotColours& colours);
// A printed page: a title, the heading lines and the plots below them.
void PaintDistributionPage(QPainter& p, const QRect& page, const DistributionFigures& f,
                           const PlotColours& colours);

}  // namespace acv
