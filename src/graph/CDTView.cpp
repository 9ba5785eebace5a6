#include "graph/CDTView.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QWheelEvent>
#include <algorithm>
#include <limits>
#include <optional>
#include <utility>

#include "graph/geometry/CursorPlacement.h"
#include "graph/geometry/GraphFrame.h"
#include "graph/geometry/Readout.h"
#include "graph/geometry/TrMarks.h"
#include "graph/geometry/Zoom.h"
#include "logger/TimerHost.h"
#include "platform/QtTimerHost.h"

namespace acv {
namespace {

std::int32_t ToInt32(std::int64_t v) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      v, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// Whether two setups lay out the same graph; the X range may have grown.
bool SameLayout(const DisplaySetup& a, const DisplaySetup& b) {
  return a.displayMode == b.displayMode && a.firstPoint == b.firstPoint &&
         a.panelHeight == b.panelHeight && a.plotCh1 == b.plotCh1 && a.plotCh2 == b.plotCh2 &&
         a.ch1UnitText == b.ch1UnitText && a.ch2UnitText == b.ch2UnitText &&
         a.ch1From == b.ch1From && a.ch1To == b.ch1To && a.ch2From == b.ch2From &&
         a.ch2To == b.ch2To && a.trRecord == b.trRecord;
}

}  // namespace

CDTView::CDTView(const CDTDoc& doc, QWidget* parent) : QWidget(parent), doc_(doc) {
  setObjectName(QStringLiteral("graphView"));
  // The cached picture covers every pixel, so nothing needs erasing first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumWidth(10);
  setMouseTracking(true);
  ownTimers_ = std::make_unique<QtTimerHost>();
  UseTimerHost(ownTimers_.get());
  CreateControls();
  painter_.options().eventLegendUnderPlot = false;  // the toolbar shows it
  TakeSettings(look_);
  CopyDisplayIntoState();
  UpdateFocusPolicy();
}

CDTView::~CDTView() {
  if (timers_ != nullptr) timers_->SetCallback(nullptr);
}

void CDTView::UseTimerHost(TimerHost* timers) {
  if (timers_ != nullptr) {
    for (int id : {viewtimer::kResizeRepaint, viewtimer::kDragWatch, viewtimer::kFirstZoomReset}) {
      timers_->Kill(id);
    }
  }
  timers_ = timers != nullptr ? timers : ownTimers_.get();
  timers_->SetCallback([this](int id) { OnViewTimer(id); });
}

void CDTView::SetStartScreenPanel(QWidget* panel) {
  startPanel_ = panel;
  if (panel == nullptr) return;
  panel->setParent(this);
  PlaceStartPanel();
}

void CDTView::SetInfoPanel(QWidget* panel) {
  infoPanel_ = panel;
  if (panel == nullptr) return;
  panel->setParent(this);
  PlaceInfoPanel();
}

void CDTView::PlaceInfoPanel() {
  if (infoPanel_ == nullptr) return;
  const int h = std::max(0, setup_.panelHeight);
  infoPanel_->setGeometry(0, 0, width(), h);
  infoPanel_->setVisible(!ShowsStartScreen() && h > 0);
  if (infoPanel_->isVisible()) infoPanel_->update();
}

void CDTView::TakeSettings(const AppSettings& settings) {
  look_ = settings;
  GraphState& s = model_.state;
  s.backgroundColour = settings.backgroundColour;
  s.ch1Colour = settings.ch1Colour;
  s.ch2Colour = settings.ch2Colour;
  s.gridColour = settings.gridColour;
  auto flag = [](int v) { return static_cast<std::uint8_t>(v == 1 ? 1 : 0); };
  s.showCh1 = flag(settings.showCh1);
  s.showCh2 = flag(settings.showCh2);
  s.showCh3 = flag(settings.showCh3);
  s.capLevelShown = flag(settings.capLevelShown);
  s.ch2AlarmShown = flag(settings.ch2AlarmShown);
  s.ch3AlarmShown = flag(settings.ch3AlarmShown);
  s.markPoints = flag(settings.markPoints);
  s.yGrid = flag(settings.yGrid);
  s.xGrid = flag(settings.xGrid);
  MarkStale();
}

void CDTView::CopyDisplayIntoState() {
  GraphState& s = model_.state;
  s.displayMode = static_cast<std::uint8_t>(std::clamp(setup_.displayMode, 0, 2));
  s.mode = GraphModeOf(mode_);
  // The main window counts a TR record's points from 1; the graph reads
  // them from the array of all records, so the record's offset is added.
  std::int64_t offset = 0;
  if (mode_ == DisplayMode::StoreTr && setup_.trRecord > 0) {
    offset = TrRecordStart(setup_.trRecord);
  }
  const bool hasRange = setup_.lastPoint > 0;
  s.firstPoint = ToInt32(setup_.firstPoint + (hasRange ? offset : 0));
  s.lastPoint = ToInt32(setup_.lastPoint + (hasRange ? offset : 0));
  s.panelHeight = std::max(0, setup_.panelHeight);
  s.plotCh1 = setup_.plotCh1 ? 1 : 0;
  s.plotCh2 = setup_.plotCh2 ? 1 : 0;
  s.ch1UnitText = setup_.ch1UnitText;
  s.ch2UnitText = setup_.ch2UnitText;
  s.ch1From = setup_.ch1From;
  s.ch1To = setup_.ch1To;
  s.ch2From = setup_.ch2From;
  s.ch2To = setup_.ch2To;
}

void CDTView::ApplyDisplay(const DisplaySetup& setup) {
  const DisplaySetup before = setup_;
  setup_ = setup;
  CopyDisplayIntoState();
  PlaceStartPanel();
  PlaceInfoPanel();
  PlaceControls();
  UpdateFocusPolicy();
  // Another TR record is other data: its points are not the readout's.
  if (setup.trRecord != before.trRecord) ClearCursor();
  spanOutdated_ = true;
  emit displayChanged();
  // During a run every point lengthens the range; the real-time update
  // draws what that changes, without a repaint.
  const bool runGrows = model_.state.realTimeStopped == 0 &&
                        FollowsRealTimeCount(model_.state.mode) && SameLayout(before, setup);
  if (!runGrows) MarkStale();
}

void CDTView::SetInfoTexts(const InfoTexts& info) {
  info_ = info;
  if (infoPanel_ != nullptr) infoPanel_->update();
  emit displayChanged();
}

void CDTView::SetDisplayMode(DisplayMode mode) {
  if (mode == mode_) return;
  mode_ = mode;
  CopyDisplayIntoState();
  UpdateEventLegend();
  // The readout described a point of the display just left.
  ClearCursor();
  spanOutdated_ = true;
  emit displayChanged();
}

void CDTView::SetRealTimeStopped(bool stopped) {
  const std::uint8_t value = stopped ? 1 : 0;
  if (model_.state.realTimeStopped == value) return;
  // The X axis is scaled differently with and without a run.
  model_.state.realTimeStopped = value;
  MarkStale();
}

void CDTView::ZoomReset() {
  ++zoomResets_;
  acv::ZoomReset(model_.state);
  spanOutdated_ = true;
  SyncScrollBars();
  MarkStale();
}

void CDTView::FitRealTimeSpan(int points) {
  if (points <= 0) return;
  GraphState& s = model_.state;
  // The compression levels follow the plot width, so lay it out first.
  if (width() > 0 && height() > 0) LayoutGraph(s, Rect{0, 0, width(), height()});
  const int level = s.zoomLevel;
  FitZoomLevel(s, points);
  // A new level moves every point: the picture must be painted afresh.
  if (s.zoomLevel != level) MarkStale();
}

void CDTView::RealTimePointAdded() {
  GraphState& s = model_.state;
  if (s.displayMode == kStartScreen) return;
  if (!FollowsRealTimeCount(s.mode)) {
    // The EPA wave is replaced as a whole at every point: only a repaint
    // shows it, and not while a rubber band is on the screen.
    if (s.dragShown == 0) MarkStale();
    return;
  }
  const IncrementalAction action = IncrementalUpdate(model_, doc_);
  SyncScrollBars();
  if (action == IncrementalAction::None) return;
  if (action != IncrementalAction::DrawNewest || stale_ || !PictureUsable()) {
    MarkStale();
    return;
  }
  const QRect changed = painter_.PaintNewestSegments(picture_, model_, doc_);
  if (!changed.isEmpty()) update(changed);
}

void CDTView::SetEventShading(std::shared_ptr<const EventShading> shading) {
  // A run's open event grows at every point, mostly within the pixel column
  // its band already covers: a picture whose bands would be painted the same
  // is kept, or a long run would be painted afresh at every point.
  const bool samePicture = !stale_ && PictureUsable() &&
                           ShadesAlike(painter_.options().events.get(), shading.get(), model_);
  painter_.options().events = std::move(shading);
  UpdateEventLegend();
  if (samePicture) return;
  stale_ = true;
  update();
}

void CDTView::DataChanged() {
  // The pyramids of the old data are not to be extended.
  model_.buffers.ForgetData();
  CopyDisplayIntoState();
  PlaceStartPanel();
  PlaceInfoPanel();
  PlaceControls();
  UpdateFocusPolicy();
  // The readout may describe a point of data no longer there.
  ClearCursor();
  spanOutdated_ = true;
}

bool CDTView::OnCommand(int commandId) {
  switch (commandId) {
    case viewcmd::kZoomOut:
      ZoomReset();
      return true;
    default:
      return false;
  }
}

void CDTView::OnViewTimer(int id) {
  switch (id) {
    case viewtimer::kResizeRepaint:
      timers_->Kill(id);
      MarkStale();
      return;
    case viewtimer::kDragWatch:
      // The pointer is grabbed while the button is down, so the last move
      // seen is where it is, also outside the view.
      if (DragWatchCancels(model_.state, lastMouse_.x(), lastMouse_.y())) {
        timers_->Kill(id);
        MarkStale();
      } else if (!model_.state.dragging) {
        timers_->Kill(id);
      }
      return;
    case viewtimer::kFirstZoomReset:
      timers_->Kill(id);
      ZoomReset();
      return;
    default:
      return;
  }
}

// ---- the cached picture -----------------------------------------------------

void CDTView::MarkStale() {
  stale_ = true;
  update();
}

qreal CDTView::PictureRatio() const {
  return devicePixelRatio();
}

QSize CDTView::PictureSize() const {
  // Rounded as the window's own backing store is, so that the picture
  // covers every device pixel of the view.
  return (QSizeF(size()) * PictureRatio()).toSize();
}

bool CDTView::PictureUsable() const {
  return !picture_.isNull() && picture_.size() == PictureSize() &&
         picture_.devicePixelRatio() == PictureRatio();
}

bool CDTView::EnsurePicture() {
  if (!stale_ && PictureUsable()) return false;
  if (width() <= 0 || height() <= 0) return false;
  // The picture has the screen's pixels: on a scaled screen it is finer
  // than the layout, which stays in the view's own (layout) pixels.
  if (picture_.size() != PictureSize() || picture_.devicePixelRatio() != PictureRatio()) {
    picture_ = QImage(PictureSize(), QImage::Format_RGB32);
    picture_.setDevicePixelRatio(PictureRatio());
  }
  // A fresh picture has no pointer cursor; its line comes back where the
  // pointer is.
  painter_.Paint(picture_, model_, doc_);
  if (cursorLineWanted_) RestoreCursorLine();
  if (!ShowsStartScreen()) {
    // The first graph ever shown starts in the full view of its data.
    if (!graphShownOnce_) {
      graphShownOnce_ = true;
      timers_->Start(viewtimer::kFirstZoomReset, 50);
    }
  }
  stale_ = false;
  ++fullPaints_;
  if (doc_.rmsExternal != nullptr) {
    const std::string failure = doc_.rmsExternal->Failure();
    if (!failure.empty() && failure != toldReadFailure_) {
      toldReadFailure_ = failure;
      emit libraryReadFailed(QString::fromStdString(failure));
    }
  }
  const std::pair<qint64, qint64> span = VisiblePoints();
  if (spanOutdated_ || span != sentSpan_) {
    spanOutdated_ = false;
    sentSpan_ = span;
    emit visibleSpanChanged();
  }
  return true;
}

const QImage& CDTView::Picture() {
  if (EnsurePicture()) SyncScrollBars();
  return picture_;
}

void CDTView::paintEvent(QPaintEvent* event) {
  if (EnsurePicture()) {
    // An accepted zoom sets the scroll bars when it is applied by the
    // paint; the bars are children, so they follow after this paint.
    QMetaObject::invokeMethod(
        this, [this] { SyncScrollBars(); }, Qt::QueuedConnection);
  }
  if (picture_.isNull()) return;
  QPainter p(this);
  // The source rectangle is in the picture's own (device) pixels.
  const QRect r = event->rect();
  const qreal ratio = picture_.devicePixelRatio();
  p.drawImage(QRectF(r), picture_, QRectF(QPointF(r.topLeft()) * ratio, QSizeF(r.size()) * ratio));
  PaintFocusFrame(p);
}

bool CDTView::event(QEvent* event) {
  // Moved to a screen of another pixel ratio: paint afresh at that ratio.
  if (event->type() == QEvent::ScreenChangeInternal) MarkStale();
  // A pointer leaving the view quickly (to another window) may send no move
  // outside the plot first: the pointer cursor goes with it all the same.
  if (event->type() == QEvent::Leave && !ShowsStartScreen() && PictureUsable()) {
    ShowCursorMove(MoveCursor(model_, doc_, -1, -1));
    cursorLineWanted_ = false;
  }
  return QWidget::event(event);
}

void CDTView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  PlaceStartPanel();
  PlaceInfoPanel();
  PlaceControls();
  stale_ = true;
  timers_->Start(viewtimer::kResizeRepaint, 50);
}

// ---- mouse --------------------------------------------------------------------

void CDTView::mousePressEvent(QMouseEvent* event) {
  lastMouse_ = event->position().toPoint();
  if (event->button() != Qt::LeftButton) return;
  if (ShowsStartScreen()) return;
  setFocus(Qt::MouseFocusReason);
  EnsurePicture();
  pressedAt_ = lastMouse_;
  pressStartedDrag_ = false;
  if ((event->modifiers() & Qt::ShiftModifier) != 0) {
    // Shift+click places marker B and starts no rubber band.
    const GraphState& s = model_.state;
    if (CursorUsable(s) && CursorInsidePlot(s, lastMouse_.x(), lastMouse_.y())) {
      MoveMarker(Marker::B, NearestPoint(model_, lastMouse_.x()));
    }
    return;
  }
  // A plain click places marker A, but only the release tells a click from
  // a drag: the band starts now either way.
  if (BeginDrag(model_.state, lastMouse_.x(), lastMouse_.y())) {
    pressStartedDrag_ = true;
    timers_->Start(viewtimer::kDragWatch, 10);
  }
}

void CDTView::mouseMoveEvent(QMouseEvent* event) {
  lastMouse_ = event->position().toPoint();
  GraphState& s = model_.state;
  if (ShowsStartScreen() || s.lastPoint <= 0 || s.cursorEnabled != 1) return;
  EnsurePicture();
  if (!PictureUsable()) return;
  QRect changed;
  if (s.dragging) {
    changed = painter_.ApplyBandUpdate(picture_, MoveDrag(s, lastMouse_.x(), lastMouse_.y()));
  } else {
    ShowCursorMove(MoveCursor(model_, doc_, lastMouse_.x(), lastMouse_.y()));
    // Leaving the plot takes the line away until the pointer or a key
    // brings it back.
    cursorLineWanted_ = !s.cursorHidden;
    return;
  }
  if (!changed.isEmpty()) update(changed);
}

void CDTView::mouseReleaseEvent(QMouseEvent* event) {
  lastMouse_ = event->position().toPoint();
  if (event->button() != Qt::LeftButton) return;
  timers_->Kill(viewtimer::kDragWatch);
  if (ShowsStartScreen()) return;
  const bool drawable = !stale_ && PictureUsable();
  const ReleaseOutcome out = ReleaseDrag(model_, lastMouse_.x(), lastMouse_.y());
  const bool click = std::exchange(pressStartedDrag_, false);
  if (!out.handled) return;
  if (out.eraseBand && drawable) painter_.ToggleRubberBand(picture_, out.band);
  if (click && !out.accepted) {
    const std::optional<std::int64_t> point =
        ClickedPoint(model_, {pressedAt_.x(), pressedAt_.y()}, {lastMouse_.x(), lastMouse_.y()});
    if (point) {
      MoveMarker(Marker::A, *point);
      return;
    }
  }
  // An accepted zoom is applied by this repaint.
  MarkStale();
}

void CDTView::mouseDoubleClickEvent(QMouseEvent* event) {
  // A double click starts no second drag; on a TR mark it opens that record.
  lastMouse_ = event->position().toPoint();
  if (event->button() != Qt::LeftButton || ShowsStartScreen()) return;
  EnsurePicture();  // the marks are where the last paint put them
  const int record = TrMarkAt(model_, doc_, lastMouse_.x(), lastMouse_.y());
  if (record >= 0) emit trMarkActivated(record);
}

void CDTView::wheelEvent(QWheelEvent* event) {
  const int delta = event->angleDelta().y();
  if (delta == 0 || ShowsStartScreen()) {
    event->ignore();
    return;
  }
  // Forward zooms in around the pointer as "+" does around the cursor; back
  // takes one zoom level back. One level per notch, however the wheel or
  // touchpad splits the notch.
  const int x = static_cast<int>(event->position().x());
  for (int steps = wheel_.Take(delta); steps != 0; steps += steps > 0 ? -1 : 1) {
    if (steps > 0) {
      ZoomInAt(x);
    } else {
      ZoomOutOneLevel();
    }
  }
  event->accept();
}

}  // namespace acv
