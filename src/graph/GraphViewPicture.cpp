// The graph view's face painted for a page or a picture file.
#include "graph/CDTView.h"

namespace acv {

QImage CDTView::GraphPicture(bool printing, QSize size) {
  // A zoom still pending is applied first, so the picture is what the screen shows.
  EnsurePicture();
  if (size.isEmpty()) size = this->size();
  QImage image(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
  GraphModel copy = model_;
  GraphPainter::Options options = painter_.options();
  options.printing = printing;
  GraphPainter painter(options);
  painter.Paint(image, copy, doc_);
  const GraphState& s = copy.state;
  if (!s.cursorHidden && size == this->size()) painter.ToggleCursorLine(image, s, s.cursorX);
  return image;
}

void CDTView::PaintGraphOn(QPaintDevice& device) {
  EnsurePicture();
  GraphModel copy = model_;
  painter_.PaintVector(device, copy, doc_);
}

}  // namespace acv
