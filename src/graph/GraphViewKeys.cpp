// The graph view's pointer cursor, and markers A and B from the keyboard, the
// mouse and other windows: the key translation, placing a marker on a point,
// the one-step zooms and the focus frame. What each key does is decided in geometry/GraphKeys.
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPainter>
#include <algorithm>
#include <optional>

#include "graph/CDTView.h"
#include "graph/geometry/CursorPlacement.h"
#include "graph/geometry/GraphKeys.h"
#include "graph/geometry/Markers.h"
#include "graph/geometry/Zoom.h"

namespace acv {
namespace {

std::optional<GraphKey> GraphKeyOf(const QKeyEvent& event) {
  const bool shift = (event.modifiers() & Qt::ShiftModifier) != 0;
  // Alt moves marker B: Shift alone already moves marker A ten points.
  const bool alt = (event.modifiers() & Qt::AltModifier) != 0;
  switch (event.key()) {
    case Qt::Key_Left:
      if (alt) return shift ? GraphKey::BLeftTen : GraphKey::BLeft;
      return shift ? GraphKey::LeftTen : GraphKey::Left;
    case Qt::Key_Right:
      if (alt) return shift ? GraphKey::BRightTen : GraphKey::BRight;
      return shift ? GraphKey::RightTen : GraphKey::Right;
    case Qt::Key_Home:
      return alt ? GraphKey::BHome : GraphKey::Home;
    case Qt::Key_End:
      return alt ? GraphKey::BEnd : GraphKey::End;
    case Qt::Key_Delete:
      return GraphKey::Remove;
    case Qt::Key_PageUp:
      return GraphKey::PageBack;
    case Qt::Key_PageDown:
      return GraphKey::PageOn;
    // "+" is Shift+"=" on many keyboards; the "=" key alone does the same.
    case Qt::Key_Plus:
    case Qt::Key_Equal:
      return GraphKey::ZoomIn;
    case Qt::Key_Backspace:
      return alt ? GraphKey::Remove : GraphKey::ZoomOut;
    case Qt::Key_Minus:
    case Qt::Key_Escape:
      return GraphKey::ZoomOut;
    default:
      return std::nullopt;
  }
}

}  // namespace

void CDTView::ShowCursorMove(const CursorMove& move) {
  if (!PictureUsable()) return;
  const QRect changed = painter_.ApplyCursorMove(picture_, model_.state, move);
  if (!changed.isEmpty()) update(changed);
}

void CDTView::RestoreCursorLine() {
  GraphState& s = model_.state;
  if (!PictureUsable() || !CursorInsidePlot(s, s.cursorX, s.plotRect.top + 1)) return;
  s.cursorHidden = false;
  painter_.ToggleCursorLine(picture_, s, s.cursorX);
}

void CDTView::NoteMarkers() {
  const qint64 a = MarkerPoint(Marker::A);
  const qint64 b = MarkerPoint(Marker::B);
  if (a == sentA_ && b == sentB_) return;
  const bool aMoved = a != sentA_;
  sentA_ = a;
  sentB_ = b;
  if (aMoved) emit markerAMoved(model_.state.markerAIndex);
  emit markersChanged();
}

qint64 CDTView::SeriesOffset() const {
  // The graph counts a TR record's samples in the array of all records; the
  // analysis counts them from the record's first, whatever X range shows.
  if (mode_ != DisplayMode::StoreTr || setup_.lastPoint <= 0) return 0;
  return TrRecordStart(std::max(setup_.trRecord, 0));
}

qint64 CDTView::MarkerPoint(Marker which) const {
  const std::int64_t index = MarkerIndex(model_.state, which);
  return index < 0 ? -1 : index - SeriesOffset();
}

std::pair<qint64, qint64> CDTView::VisiblePoints() const {
  const PointRange shown = ShownPoints(model_);
  if (ShowsStartScreen() || shown.first > shown.last) return {0, -1};
  return {shown.first - SeriesOffset(), shown.last - SeriesOffset()};
}

void CDTView::PlaceMarker(Marker which, qint64 index) {
  MoveMarker(which, index < 0 ? -1 : index + SeriesOffset());
}

void CDTView::PlaceMarkerAOnGraphPoint(qint64 index) {
  MoveMarker(Marker::A, index);
}

void CDTView::MoveMarker(Marker which, qint64 graphIndex) {
  GraphState& s = model_.state;
  if (ShowsStartScreen()) return;
  bool moved = false;
  if (graphIndex >= 0) {
    if (!CursorUsable(s)) return;
    EnsurePicture();
    moved = BringPointIntoView(model_, graphIndex);
  }
  const std::string readout = s.readoutText;
  // The markers are part of the full paint: a change paints afresh.
  if (acv::PlaceMarker(model_, doc_, which, graphIndex) || moved || s.readoutText != readout) {
    stale_ = true;
    Picture();
    update();
  }
  NoteMarkers();
}

void CDTView::ShowSpan(qint64 first, qint64 last) {
  GraphState& s = model_.state;
  if (ShowsStartScreen() || !CursorUsable(s)) return;
  const qint64 offset = SeriesOffset();
  const std::int64_t low = std::max<std::int64_t>(0, static_cast<std::int64_t>(s.firstPoint) - 1);
  const std::int64_t high = std::max<std::int64_t>(low, static_cast<std::int64_t>(s.lastPoint) - 1);
  const PointSpan view = SpanWithMargin(first + offset, last + offset, low, high);
  // The markers first, so that the paints below draw them.
  acv::PlaceMarker(model_, doc_, Marker::B, std::max(first, last) + offset);
  acv::PlaceMarker(model_, doc_, Marker::A, std::min(first, last) + offset);
  ZoomReset();
  Picture();  // the full view's positions, which the zoom starts from
  if (view.first > low || view.last < high) {
    if (ZoomOntoPoints(model_, view.first, view.last).accepted) {
      stale_ = true;
      Picture();
    }
  }
  update();
  NoteMarkers();
}

void CDTView::ZoomInAt(int x) {
  if (ShowsStartScreen()) return;
  EnsurePicture();
  if (acv::ZoomInAround(model_, x).accepted) MarkStale();
}

bool CDTView::ZoomOutOneLevel() {
  if (ShowsStartScreen()) return false;
  EnsurePicture();
  if (!acv::ZoomOutOneLevel(model_)) return false;
  SyncScrollBars();
  MarkStale();
  return true;
}

void CDTView::keyPressEvent(QKeyEvent* event) {
  const std::optional<GraphKey> key = GraphKeyOf(*event);
  if (!key || ShowsStartScreen()) {
    QWidget::keyPressEvent(event);
    return;
  }
  EnsurePicture();
  const KeyOutcome out = HandleGraphKey(model_, *key);
  if (!out.handled) {
    QWidget::keyPressEvent(event);
    return;
  }
  event->accept();
  if (out.repaint) {
    stale_ = true;
    Picture();  // applies a zoom and sets the scroll bars
    update();
  }
  if (out.markerAPoint) MoveMarker(Marker::A, *out.markerAPoint);
  if (out.markerBPoint) MoveMarker(Marker::B, *out.markerBPoint);
}

void CDTView::ClearCursor() {
  GraphState& s = model_.state;
  s.readoutText.clear();
  s.cursorHidden = true;
  s.markerAIndex = -1;
  s.markerBIndex = -1;
  s.markerText.clear();
  cursorLineWanted_ = false;
  MarkStale();
  NoteMarkers();
}

void CDTView::UpdateFocusPolicy() {
  // The start screen leaves the keyboard to its buttons.
  setFocusPolicy(ShowsStartScreen() ? Qt::NoFocus : Qt::StrongFocus);
}

void CDTView::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  update();
}

void CDTView::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  update();
}

void CDTView::PaintFocusFrame(QPainter& p) {
  if (!hasFocus() || ShowsStartScreen()) return;
  // Two pixels inside the white frame, on the black margin, clear of every
  // child window.
  const QRect frame(QPoint(13, std::max(0, setup_.panelHeight) + 13),
                    QPoint(width() - 14, height() - 14));
  if (frame.width() < 4 || frame.height() < 4) return;
  const QColor colour = palette().color(QPalette::Highlight);
  p.fillRect(QRect(frame.topLeft(), QSize(frame.width(), 2)), colour);
  p.fillRect(QRect(frame.left(), frame.bottom() - 1, frame.width(), 2), colour);
  p.fillRect(QRect(frame.topLeft(), QSize(2, frame.height())), colour);
  p.fillRect(QRect(frame.right() - 1, frame.top(), 2, frame.height()), colour);
}

}  // namespace acv
