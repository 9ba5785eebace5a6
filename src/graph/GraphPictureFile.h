#pragma once
// File -> Save Graph Picture: the graph as shown, as a PNG of a chosen size
// or as an SVG whose curves, grid and texts stay lines and text. The file
// appears only when complete.
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>
#include <functional>
#include <string>
#include <vector>

namespace acv {

class CDTView;

// By the name's suffix: ".svg" writes SVG, anything else PNG. size: the
// picture's size in pixels (the graph's on the screen when empty: the view
// without the information strip above it). Returns "" or why the picture
// was not written.
std::string SaveGraphPicture(CDTView& view, const QString& path, QSize size = {});

// Any picture the program writes (graph pictures, screenshots), through the
// program's one file writer, in the format its name's extension names (PNG
// when it names none). Writing over one of `inputs` is refused. Returns ""
// or the writer's error.
std::string SavePictureFile(const QImage& image, const QString& path,
                            std::vector<std::string> inputs = {});
// An SVG of what paint() draws inside `viewBox` (the SVG's size), through
// the same writer.
std::string SaveSvgFile(const QString& path, const QRect& viewBox,
                        const std::function<void(QPaintDevice&)>& paint,
                        std::vector<std::string> inputs = {});

}  // namespace acv
