#pragma once
// Draws the Distribution window's small plots, on screen and on a printed
// page: per channel the histogram with its cumulative probability and the
// daily profile, in the graph's colours and axis font. What goes where is
// decided in frame/DistributionFigures; this only draws it.
#include <QColor>
#include <QRect>
#include <array>
#include <functional>
#include <string>

#include "frame/DistributionFigures.h"

class QPainter;

namespace acv {

// The colours the plots use: the graph's background, grid and channels.
struct PlotColours {
  QColor background{Qt::black}, grid{Qt::darkGray}, text{Qt::white};
  std::array<QColor, 2> channels{QColor(Qt::red), QColor(Qt::green)};
};

struct AppSettings;

// The graph's colours of the settings, with text that stands out on the
// graph's background.
PlotColours GraphPlotColours(const AppSettings& settings);

// One small plot's frame, grid lines at the ticks and tick labels, its
// title above it and the x unit under its right end; `xText` labels the x
// ticks (TickText when unset), `right` a second y axis's ticks.
void PaintPlotAxes(QPainter& p, const PlotArea& a, const PlotAxis& x, const PlotAxis& y,
                   const PlotAxis* right, const PlotColours& colours, const QString& title,
                   const QString& xUnit, const std::function<std::string(double)>& xText = {});

// The plots of every present channel in `rect`, a row a channel.
void PaintDistribution(QPainter& p, const QRect& rect, const DistributionFigures& f,
                       const PlotColours& colours);
// A printed page: a title, the heading lines and the plots below them.
void PaintDistributionPage(QPainter& p, const QRect& page, const DistributionFigures& f,
                           const PlotColours& colours);

}  // namespace acv
