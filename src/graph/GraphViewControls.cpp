// The graph view's children: the three scroll bars, the graph toolbar and
// the start screen's button panel, where they go and how the bars drive the
// view.
#include <QAction>
#include <QCursor>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QToolBar>

#include "graph/CDTView.h"
#include "graph/geometry/Scaling.h"
#include "graph/geometry/Scroll.h"

namespace acv {
namespace {

ScrollAction ToScrollAction(int sliderAction) {
  switch (sliderAction) {
    case QAbstractSlider::SliderSingleStepSub:
      return ScrollAction::LineBack;
    case QAbstractSlider::SliderSingleStepAdd:
      return ScrollAction::LineForward;
    case QAbstractSlider::SliderPageStepSub:
      return ScrollAction::PageBack;
    case QAbstractSlider::SliderPageStepAdd:
      return ScrollAction::PageForward;
    // Dragging the thumb, and Home/End, which put the thumb at an end.
    case QAbstractSlider::SliderMove:
    case QAbstractSlider::SliderToMinimum:
    case QAbstractSlider::SliderToMaximum:
      return ScrollAction::ThumbTrack;
    default:
      return ScrollAction::Other;
  }
}

// A magnifying glass with a minus sign: the zoom-out button.
QIcon ZoomOutIcon() {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(30, 30, 30), 1.6));
  p.setBrush(QColor(235, 245, 255));
  p.drawEllipse(QRectF(1.5, 1.5, 9.0, 9.0));
  p.drawLine(QPointF(4.0, 6.0), QPointF(8.0, 6.0));
  p.setPen(QPen(QColor(30, 30, 30), 2.6, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(10.0, 10.0), QPointF(14.5, 14.5));
  p.end();
  return QIcon(pixmap);
}

void SyncBar(QScrollBar* bar, const ScrollBarState& state) {
  const QSignalBlocker block(bar);
  // A disabled bar is empty: a thumb would claim there is somewhere to
  // scroll to. Its range comes back when the view zooms again.
  if (state.enabled) {
    bar->setRange(state.minimum, std::max(state.minimum, state.maximum));
  } else {
    bar->setRange(0, 0);
  }
  bar->setPageStep(std::max(1, state.page));
  bar->setSingleStep(1);
  bar->setSliderPosition(state.enabled ? state.position : 0);
  bar->setEnabled(state.enabled);
}

}  // namespace

void CDTView::CreateControls() {
  auto makeBar = [this](Qt::Orientation orientation, int id) {
    auto* bar = new QScrollBar(orientation, this);
    bar->setObjectName(QStringLiteral("scrollBar%1").arg(id));
    bar->setEnabled(false);  // usable only in a zoomed view
    bar->setFocusPolicy(Qt::NoFocus);
    bar->hide();
    return bar;
  };
  hBar_ = makeBar(Qt::Horizontal, 100);
  ch2Bar_ = makeBar(Qt::Vertical, 101);
  ch1Bar_ = makeBar(Qt::Vertical, 102);
  connect(hBar_, &QAbstractSlider::actionTriggered, this,
          [this](int action) { OnHorizontalAction(action); });
  connect(ch1Bar_, &QAbstractSlider::actionTriggered, this,
          [this](int action) { OnVerticalAction(0, action); });
  connect(ch2Bar_, &QAbstractSlider::actionTriggered, this,
          [this](int action) { OnVerticalAction(1, action); });

  toolBar_ = new QToolBar(this);
  toolBar_->setObjectName(QStringLiteral("graphToolbar"));
  toolBar_->setIconSize(QSize(16, 16));
  toolBar_->setMovable(false);
  // A bar of the button face over the black surround, as toolbars look.
  QPalette face = toolBar_->palette();
  face.setColor(QPalette::Window, kButtonFace);
  toolBar_->setPalette(face);
  toolBar_->setAutoFillBackground(true);
  QAction* zoomOut = toolBar_->addAction(ZoomOutIcon(), QStringLiteral("Zoom Out"));
  zoomOut->setObjectName(QStringLiteral("zoomOutAction"));
  zoomOut->setData(viewcmd::kZoomOut);
  zoomOut->setToolTip(QStringLiteral("Zoom Out: back to the full view"));
  connect(zoomOut, &QAction::triggered, this, [this] { OnCommand(viewcmd::kZoomOut); });
  // The event legend keeps to the right end of the bar.
  auto* spacer = new QWidget(toolBar_);
  spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
  toolBar_->addWidget(spacer);
  eventLegend_ = new QLabel(toolBar_);
  eventLegend_->setObjectName(QStringLiteral("eventLegend"));
  eventLegend_->setTextFormat(Qt::RichText);
  toolBar_->addWidget(eventLegend_);
  toolBar_->hide();
}

void CDTView::UpdateEventLegend() {
  const std::shared_ptr<const EventShading>& shading = painter_.options().events;
  QString html;
  if (shading && shading->mode == model_.state.mode) {
    for (const EventKind kind : KindsPresent(shading->events)) {
      const QColor colour(static_cast<QRgb>(EventKindColour(kind)));
      html += QStringLiteral(
                  "<span style=\"background-color:%1\">&nbsp;&nbsp;&nbsp;</span>"
                  "&nbsp;%2&nbsp;&nbsp;&nbsp;")
                  .arg(colour.name(), QString::fromLatin1(EventKindName(kind)));
    }
  }
  eventLegend_->setText(html);
  eventLegend_->setToolTip(html.isEmpty() ? QString()
                                          : QStringLiteral("Events shaded in the graph"));
}

void CDTView::PlaceStartPanel() {
  if (startPanel_ == nullptr) return;
  if (!ShowsStartScreen()) {
    startPanel_->hide();
    return;
  }
  startPanel_->setGeometry(0, (height() - startPanel_->height()) / 2, startPanel_->width(),
                           startPanel_->height());
  startPanel_->show();
}

void CDTView::PlaceControls() {
  // The same layout the next paint will use.
  GraphState layout;
  layout.panelHeight = model_.state.panelHeight;
  LayoutGraph(layout, Rect{0, 0, width(), height()});
  const Rect& plot = layout.plotRect;
  hBar_->setGeometry(plot.left, plot.bottom + 35, std::max(0, plot.Width()), 20);
  ch1Bar_->setGeometry(20, plot.top, 20, std::max(0, plot.Height()));
  ch2Bar_->setGeometry(width() - 40, plot.top, 20, std::max(0, plot.Height()));
  toolBar_->setGeometry(20, plot.top - 45, std::max(0, width() - 40), 35);
  const bool graph = !ShowsStartScreen();
  for (QWidget* child : {static_cast<QWidget*>(hBar_), static_cast<QWidget*>(ch1Bar_),
                         static_cast<QWidget*>(ch2Bar_), static_cast<QWidget*>(toolBar_)}) {
    child->setVisible(graph);
  }
}

void CDTView::SyncScrollBars() {
  const GraphState& s = model_.state;
  SyncBar(hBar_, s.hScroll);
  SyncBar(ch1Bar_, s.ch1Scroll);
  SyncBar(ch2Bar_, s.ch2Scroll);
}

void CDTView::OnHorizontalAction(int action) {
  GraphState& s = model_.state;
  const ScrollAction what = ToScrollAction(action);
  if (what == ScrollAction::Other) return;
  // Long series address the points by the pointer's place along the bar.
  const int mouseX = mapFromGlobal(QCursor::pos()).x();
  const bool moved = ScrollHorizontal(s, what, hBar_->sliderPosition(), mouseX);
  // The bar shows where the view really is, whatever the action asked for.
  hBar_->setSliderPosition(s.hScroll.position);
  if (moved) MarkStale();
}

void CDTView::OnVerticalAction(int channel, int action) {
  GraphState& s = model_.state;
  const ScrollAction what = ToScrollAction(action);
  if (what == ScrollAction::Other) return;
  QScrollBar* bar = channel == 0 ? ch1Bar_ : ch2Bar_;
  const bool moved = ScrollVertical(s, channel, what, bar->sliderPosition());
  bar->setSliderPosition((channel == 0 ? s.ch1Scroll : s.ch2Scroll).position);
  if (moved) MarkStale();
}

}  // namespace acv
