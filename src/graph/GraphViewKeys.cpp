// The graph view's cursor from the keyboard and from other windows: the key
// translation, placing the cursor on a point, the one-step zooms and the
// focus frame. What each key does is decided in geometry/GraphKeys.
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPainter>
#include <algorithm>
#include <optional>

#include "graph/CDTView.h"
#include "graph/geometry/CursorB.h"
#include "graph/geometry/CursorPlacement.h"
#include "graph/geometry/GraphKeys.h"
#include "graph/geometry/Zoom.h"

namespace acv {
namespace {

std::optional<GraphKey> GraphKeyOf(const QKeyEvent& event) {
  const bool shift = (event.modifiers() & Qt::ShiftModifier) != 0;
  // Alt moves cursor B: Shift alone already moves cursor A ten points.
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
      return GraphKey::BRemove;
    case Qt::Key_PageUp:
      return GraphKey::PageBack;
    case Qt::Key_PageDown:
      return GraphKey::PageOn;
    // "+" is Shift+"=" on many keyboards; the "=" key alone does the same.
    case Qt::Key_Plus:
    case Qt::Key_Equal:
      return GraphKey::ZoomIn;
    case Qt::Key_Backspace:
      return alt ? GraphKey::BRemove : GraphKey::ZoomOut;
    case Qt::Key_Minus:
    case Qt::Key_Escape:
      return GraphKey::ZoomOut;
    default:
      return std::nullopt;
  }
}

}  // namespace

void CDTView::ShowCursorMove(const CursorMove& move) {
  GraphState& s = model_.state;
  if (move.readoutChanged) s.deltaText = DeltaReadoutText(s, doc_);
  if (PictureUsable()) {
    const QRect changed = painter_.ApplyCursorMove(picture_, s, move);
    if (!changed.isEmpty()) update(changed);
  }
  if (move.readoutChanged) emit cursorPointChanged(s.cursorIndex);
  NoteCursors();
}

void CDTView::RestoreCursorLine() {
  GraphState& s = model_.state;
  if (s.readoutText.empty() || !PictureUsable()) return;
  if (const std::optional<int> column = PointColumn(model_, s.cursorIndex)) {
    s.cursorX = *column;
    s.cursorHidden = false;
    painter_.ToggleCursorLine(picture_, s, s.cursorX);
  }
}

void CDTView::NoteCursors() {
  const qint64 a = CursorPoint();
  const qint64 b = CursorBPoint();
  if (a == sentA_ && b == sentB_) return;
  sentA_ = a;
  sentB_ = b;
  emit cursorsChanged();
}

qint64 CDTView::SeriesOffset() const {
  // The graph counts a TR record's samples in the array of all records; the
  // analysis counts them from the record's first, whatever X range shows.
  if (mode_ != DisplayMode::StoreTr || setup_.lastPoint <= 0) return 0;
  return static_cast<qint64>(std::max(setup_.trRecord, 0)) * kTrWavePoints;
}

qint64 CDTView::CursorPoint() const {
  const GraphState& s = model_.state;
  return s.readoutText.empty() ? -1 : s.cursorIndex - SeriesOffset();
}

qint64 CDTView::CursorBPoint() const {
  const GraphState& s = model_.state;
  return s.cursorBIndex < 0 ? -1 : s.cursorBIndex - SeriesOffset();
}

std::pair<qint64, qint64> CDTView::VisiblePoints() const {
  const PointRange shown = ShownPoints(model_);
  if (ShowsStartScreen() || shown.first > shown.last) return {0, -1};
  return {shown.first - SeriesOffset(), shown.last - SeriesOffset()};
}

void CDTView::PlaceCursorB(qint64 index) {
  MoveCursorB(index < 0 ? -1 : index + SeriesOffset());
}

void CDTView::MoveCursorB(qint64 graphIndex) {
  GraphState& s = model_.state;
  if (ShowsStartScreen()) return;
  bool moved = false;
  if (graphIndex >= 0) {
    if (!CursorUsable(s)) return;
    EnsurePicture();
    moved = BringPointIntoView(model_, graphIndex);
  }
  if (acv::PlaceCursorB(model_, doc_, graphIndex) || moved) {
    stale_ = true;
    Picture();
    update();
  }
  NoteCursors();
}

void CDTView::ShowSpan(qint64 first, qint64 last) {
  GraphState& s = model_.state;
  if (ShowsStartScreen() || !CursorUsable(s)) return;
  const qint64 offset = SeriesOffset();
  const std::int64_t low = std::max<std::int64_t>(0, static_cast<std::int64_t>(s.firstPoint) - 1);
  const std::int64_t high = std::max<std::int64_t>(low, static_cast<std::int64_t>(s.lastPoint) - 1);
  const PointSpan view = SpanWithMargin(first + offset, last + offset, low, high);
  // B first, so that the paints below draw it; A then goes on like a key.
  acv::PlaceCursorB(model_, doc_, std::max(first, last) + offset);
  ZoomReset();
  Picture();  // the full view's positions, which the zoom starts from
  if (view.first > low || view.last < high) {
    if (ZoomOntoPoints(model_, view.first, view.last).accepted) {
      stale_ = true;
      Picture();
    }
  }
  update();
  PlaceCursorOnPoint(std::min(first, last) + offset);
  NoteCursors();
}

void CDTView::PlaceCursorOnPoint(qint64 index) {
  if (ShowsStartScreen() || !CursorUsable(model_.state)) return;
  EnsurePicture();
  if (BringPointIntoView(model_, index)) {
    stale_ = true;
    Picture();  // the moved view first, then the cursor on it
    update();
  }
  cursorLineWanted_ = true;
  ShowCursorMove(PlaceCursor(model_, doc_, index));
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
  if (out.cursorPoint) PlaceCursorOnPoint(*out.cursorPoint);
  if (out.cursorBPoint) MoveCursorB(*out.cursorBPoint);
}

void CDTView::ClearCursor() {
  GraphState& s = model_.state;
  s.readoutText.clear();
  s.cursorHidden = true;
  s.cursorBIndex = -1;
  s.deltaText.clear();
  cursorLineWanted_ = false;
  MarkStale();
  NoteCursors();
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
