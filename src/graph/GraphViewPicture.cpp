// The graph view's face painted for a page or a picture file.
#include <algorithm>

#include "graph/CDTView.h"

namespace acv {

int CDTView::StripHeight() const {
  return std::max(0, setup_.panelHeight);
}

QSize CDTView::GraphPictureSize() const {
  return QSize(width(), std::max(1, height() - StripHeight()));
}

QImage CDTView::GraphPicture(bool printing, QSize size) {
  // A zoom still pending is applied first, so the picture is what the screen shows.
  EnsurePicture();
  // On the screen the information strip, a widget of its own, lies over the
  // top of the face; a picture file leaves its band out rather than showing
  // it empty. A page keeps it: the printed header goes there.
  const int strip = printing ? 0 : StripHeight();
  if (size.isEmpty()) size = printing ? this->size() : GraphPictureSize();
  const QSize painted = size.expandedTo(QSize(1, 1)) + QSize(0, strip);
  QImage image(painted, QImage::Format_RGB32);
  GraphModel copy = model_;
  GraphPainter::Options options = painter_.options();
  options.printing = printing;
  options.eventLegendUnderPlot = true;  // no scroll bar over a picture
  GraphPainter painter(options);
  painter.Paint(image, copy, doc_);
  const GraphState& s = copy.state;
  if (!s.cursorHidden && painted == this->size()) painter.ToggleCursorLine(image, s, s.cursorX);
  return strip > 0 ? image.copy(0, strip, painted.width(), painted.height() - strip) : image;
}

void CDTView::PaintGraphOn(QPaintDevice& device) {
  EnsurePicture();
  GraphModel copy = model_;
  painter_.PaintVector(device, copy, doc_);
}

}  // namespace acv
