// The graph view's cursor from the keyboard and from other windows: the key
// translation, placing the cursor on a point, the one-step zooms and the
// focus frame. What each key does is decided in geometry/GraphKeys.
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPainter>
#include <optional>

#include "graph/CDTView.h"
#include "graph/geometry/CursorPlacement.h"
#include "graph/geometry/GraphKeys.h"
#include "graph/geometry/Zoom.h"

namespace acv {
namespace {

std::optional<GraphKey> GraphKeyOf(const QKeyEvent& event) {
  const bool shift = (event.modifiers() & Qt::ShiftModifier) != 0;
  switch (event.key()) {
    case Qt::Key_Left:
      return shift ? GraphKey::LeftTen : GraphKey::Left;
    case Qt::Key_Right:
      return shift ? GraphKey::RightTen : GraphKey::Right;
    case Qt::Key_Home:
      return GraphKey::Home;
    case Qt::Key_End:
      return GraphKey::End;
    case Qt::Key_PageUp:
      return GraphKey::PageBack;
    case Qt::Key_PageDown:
      return GraphKey::PageOn;
    // "+" is Shift+"=" on many keyboards; the "=" key alone does the same.
    case Qt::Key_Plus:
    case Qt::Key_Equal:
      return GraphKey::ZoomIn;
    case Qt::Key_Minus:
    case Qt::Key_Escape:
    case Qt::Key_Backspace:
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
  if (move.readoutChanged) emit cursorPointChanged(model_.state.cursorIndex);
}

void CDTView::PlaceCursorOnPoint(qint64 index) {
  if (ShowsStartScreen() || !CursorUsable(model_.state)) return;
  EnsurePicture();
  if (BringPointIntoView(model_, index)) {
    stale_ = true;
    Picture();  // the moved view first, then the cursor on it
    update();
  }
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
}

void CDTView::ClearCursor() {
  GraphState& s = model_.state;
  s.readoutText.clear();
  s.cursorHidden = true;
  MarkStale();
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
