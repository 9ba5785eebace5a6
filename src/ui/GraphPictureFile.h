#pragma once
// File -> Save Graph Picture: the graph as shown, as a PNG of a chosen size
// or as an SVG whose curves, grid and texts stay lines and text. The file
// appears only when complete.
#include <QSize>
#include <QString>
#include <string>

namespace acv {

class CDTView;

// By the name's suffix: ".svg" writes SVG, anything else PNG. size: the
// picture's size in pixels (the view's own when empty). Returns "" or why
// the picture was not written.
std::string SaveGraphPicture(CDTView& view, const QString& path, QSize size = {});

}  // namespace acv
