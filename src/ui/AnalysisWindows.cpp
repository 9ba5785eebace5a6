#include "ui/AnalysisWindows.h"

#include <QDialog>
#include <QFileInfo>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QTimer>
#include <algorithm>

#include "frame/Commands.h"
#include "graph/CDTView.h"
#include "graph/ReportPdf.h"
#include "graph/geometry/BesidePlot.h"
#include "graph/geometry/Colours.h"
#include "graph/geometry/Markers.h"
#include "ui/Prompter.h"
#include "ui/ToolWindows.h"
#include "ui/dialogs/CEventLimitsDlg.h"
#include "ui/panels/CDistributionDlg.h"
#include "ui/panels/CEventsDlg.h"
#include "ui/panels/CStatisticsDlg.h"

namespace acv {
namespace {

int CommandOfMode(DisplayMode mode) {
  switch (mode) {
    case DisplayMode::StoreTr:
      return cmd::kStoreTr;
    case DisplayMode::RealTimeRms:
      return cmd::kRealTimeRms;
    default:
      return cmd::kStoreRms;
  }
}

QString EventsCaption(DataPart part) {
  switch (part) {
    case DataPart::Store:
      return QStringLiteral("STORE Events");
    case DataPart::RealTime:
      return QStringLiteral("REAL TIME Events");
    case DataPart::None:
      break;
  }
  return QStringLiteral("Events");
}

}  // namespace

AnalysisWindows::AnalysisWindows(Host host)
    : QObject(&host.owner), host_(std::move(host)), analysis_(host_.doc) {
  CDTView& view = host_.view;
  connect(&view, &CDTView::displayChanged, this, &AnalysisWindows::Refresh);
  // The markers and the view, never the pointer cursor: the span stays what
  // the user set up while the mouse crosses the plot.
  connect(&view, &CDTView::markersChanged, this, &AnalysisWindows::RefreshStatistics);
  connect(&view, &CDTView::visibleSpanChanged, this, &AnalysisWindows::RefreshStatistics);
  connect(&view, &CDTView::markersChanged, this, &AnalysisWindows::RefreshDistribution);
  connect(&view, &CDTView::visibleSpanChanged, this, &AnalysisWindows::RefreshDistribution);
}

CStatisticsDlg* AnalysisWindows::Statistics() const {
  return statistics_;
}

CEventsDlg* AnalysisWindows::Events() const {
  return events_;
}

CDistributionDlg* AnalysisWindows::Distribution() const {
  return distribution_;
}

QDialog* AnalysisWindows::LimitsDialog() const {
  return limitsDialog_;
}

void AnalysisWindows::DataChanged() {
  analysis_.DataChanged();
  distributionStale_ = true;
  // The shading read the data that are gone. The display for the new data
  // is set up after this call; the windows follow it then, or at the latest
  // from the event loop when the display stays as it was.
  shading_ = nullptr;
  host_.view.SetEventShading(nullptr);
  QTimer::singleShot(0, this, &AnalysisWindows::Refresh);
}

void AnalysisWindows::SetStoreRuns(SeriesRuns runs) {
  analysis_.SetStoreRuns(std::move(runs));
}

void AnalysisWindows::RunGrew() {
  analysis_.RunGrew();
  distributionStale_ = true;
  Refresh();
}

void AnalysisWindows::Refresh() {
  CDTView& view = host_.view;
  analysis_.ShowDisplay(view.Mode(), view.Display().trRecord);
  analysis_.SetLimits(host_.settings.eventLimits);
  // The same shading stays on the graph: no full repaint at a real-time
  // point that changed no event.
  std::shared_ptr<const EventShading> shading = analysis_.Shading();
  if (shading != shading_) {
    shading_ = shading;
    view.SetEventShading(std::move(shading));
  }
  RefreshEvents();
  RefreshStatistics();
  RefreshDistribution();
}

StatisticsSpan AnalysisWindows::ChosenSpan() {
  const CDTView& view = host_.view;
  const qint64 a = view.MarkerPoint(Marker::A);
  const qint64 b = view.MarkerPoint(Marker::B);
  // The visible span chosen in the Statistics window: B counts as not there.
  const bool between = statistics_ != nullptr ? statistics_->BetweenChosen() : b >= 0;
  return ChooseStatisticsSpan(a, between ? b : -1, view.VisiblePoints(), analysis_.Series().count);
}

void AnalysisWindows::RefreshStatistics() {
  if (statistics_ == nullptr) return;
  const CDTView& view = host_.view;
  const AnalysisSeries& series = analysis_.Series();
  const qint64 a = view.MarkerPoint(Marker::A);
  const qint64 b = view.MarkerPoint(Marker::B);
  statistics_->SetBetweenAvailable(a >= 0 && b >= 0);
  std::string text = kNoStatisticsText;
  if (series.count > 0) {
    // The visible span chosen: B counts as not there.
    const StatisticsSpan span = ChosenSpan();
    if (!span.Empty()) {
      text =
          StatisticsText(analysis_.SeriesName(), analysis_.Statistics(span), span.betweenCursors);
      const std::string places = MarkerPlacesText(a, b, view.VisiblePoints());
      if (!places.empty()) text += "Markers:     " + places + "\n";
    }
  }
  statistics_->ShowText(QString::fromStdString(text));
}

void AnalysisWindows::RefreshEvents() {
  if (events_ == nullptr) return;
  events_->SetEvents(analysis_.Events(), EventsCaption(analysis_.Part()));
}

QRect AnalysisWindows::BesideGraph(int width, int height, bool bottom) const {
  // Beside the main window where the screen has room, else over the graph's
  // right part below the information panel, as the Data List opens.
  const CDTView& view = host_.view;
  auto rectOf = [](const QRect& r) {
    return Rect{r.left(), r.top(), r.right() + 1, r.bottom() + 1};
  };
  const int panel = std::max(0, view.Display().panelHeight);
  const QPoint topLeft = view.mapToGlobal(QPoint(0, panel));
  Rect graph{topLeft.x(), topLeft.y(), topLeft.x() + view.width(),
             topLeft.y() + std::max(1, view.height() - panel)};
  // At the bottom it stands on the grey box's lower edge: the readout bar
  // below, with the markers' readout, stays in sight.
  const int boxBottom = view.mapToGlobal(QPoint(0, view.State().graphBox.bottom)).y();
  if (bottom && boxBottom > graph.top) graph.bottom = std::min(graph.bottom, boxBottom + 1);
  const QScreen* screen = view.screen();
  const Rect available = screen != nullptr ? rectOf(screen->availableGeometry()) : graph;
  const Rect place =
      PlaceBesidePlot(available, rectOf(host_.owner.frameGeometry()), graph, width, height, bottom);
  return QRect(place.left, place.top, place.Width(), place.Height());
}

void AnalysisWindows::OpenStatistics() {
  if (statistics_ != nullptr) {
    BringUp(statistics_);
    return;
  }
  statistics_ = new CStatisticsDlg(&host_.owner);
  connect(statistics_, &CStatisticsDlg::spanChoiceChanged, this,
          &AnalysisWindows::RefreshStatistics);
  Refresh();
  const QSize size = statistics_->sizeHint() + QSize(40, 30);
  statistics_->PlaceAt(BesideGraph(size.width(), size.height(), true));
  BringUp(statistics_);
}

void AnalysisWindows::OpenEvents() {
  if (events_ != nullptr) {
    BringUp(events_);
    return;
  }
  events_ = new CEventsDlg(&host_.owner);
  connect(events_, &CEventsDlg::eventChosen, this, &AnalysisWindows::OnEventChosen);
  Refresh();
  int columns = 0;
  for (const int width : EventListWidths()) columns += width;
  const CDTView& view = host_.view;
  events_->PlaceAt(BesideGraph(columns + 30, view.height() * 2 / 5, false));
  BringUp(events_);
  events_->List()->setFocus(Qt::OtherFocusReason);
}

void AnalysisWindows::RefreshDistribution() {
  if (distribution_ == nullptr) return;
  const AnalysisSeries& series = analysis_.Series();
  const StatisticsSpan span = series.count > 0 ? ChosenSpan() : StatisticsSpan{};
  const DistributionFigures& shown = distribution_->Figures();
  // The same span of the same data: the figures stand (a percentile sorts
  // every point of the span).
  if (!distributionStale_ && shown.span.first == span.first && shown.span.last == span.last &&
      shown.seriesName == analysis_.SeriesName()) {
    return;
  }
  distributionStale_ = false;
  distribution_->Show(
      DistributionOf(series, analysis_.SeriesName(), span, host_.settings.eventLimits.nominal),
      GraphPlotColours(host_.settings));
}

void AnalysisWindows::OpenDistribution() {
  if (distribution_ != nullptr) {
    BringUp(distribution_);
    return;
  }
  distribution_ = new CDistributionDlg(&host_.owner);
  connect(distribution_, &CDistributionDlg::printRequested, this,
          &AnalysisWindows::PrintDistribution);
  connect(distribution_, &CDistributionDlg::pdfRequested, this,
          &AnalysisWindows::WriteDistributionPdf);
  Refresh();
  const CDTView& view = host_.view;
  distribution_->PlaceAt(BesideGraph(std::min(980, std::max(640, view.width() * 3 / 5)),
                                     std::min(640, std::max(420, view.height() * 4 / 5)), false));
  BringUp(distribution_);
}

void AnalysisWindows::PrintDistribution() {
  if (distribution_ == nullptr) return;
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageLayout(DefaultReportLayout(QPageLayout::Landscape));
  QPrintDialog dialog(&printer, distribution_);
  if (dialog.exec() != QDialog::Accepted) return;
  QPainter p;
  if (!p.begin(&printer)) {
    host_.prompter.Message(distribution_, QStringLiteral("The printer could not be started."),
                           MessageIcon::Warning);
    return;
  }
  PaintDistributionPage(p, QRect(0, 0, printer.width(), printer.height()), distribution_->Figures(),
                        GraphPlotColours(host_.settings));
}

void AnalysisWindows::WriteDistributionPdf() {
  if (distribution_ == nullptr) return;
  const QString path =
      host_.prompter.SaveFileName(distribution_, QStringLiteral("distribution.pdf"), SaveKind::Pdf);
  if (path.isEmpty()) return;
  const PdfOutcome out =
      acv::WriteDistributionPdf(path, DefaultReportLayout(QPageLayout::Landscape),
                                distribution_->Figures(), GraphPlotColours(host_.settings));
  if (!out.written) {
    host_.prompter.Message(
        distribution_,
        QStringLiteral("The PDF was not written: %1").arg(QString::fromStdString(out.error)),
        MessageIcon::Warning);
  }
}

void AnalysisWindows::OnEventChosen(int row) {
  const std::vector<Event>& events = events_->Model()->Events();
  if (row < 0 || static_cast<std::size_t>(row) >= events.size()) return;
  const std::optional<EventTarget> target =
      TargetOfEvent(events[static_cast<std::size_t>(row)], analysis_.Part(), host_.doc);
  if (!target) return;
  CDTView& view = host_.view;
  if (view.Mode() != target->mode) host_.runCommand(CommandOfMode(target->mode));
  if (view.Mode() != target->mode) return;  // the command was refused
  if (target->trRecord >= 0) {
    host_.tools.ShowTrRecord(target->trRecord);
    host_.tools.SelectTrRecord(target->trRecord);
  }
  view.ShowSpan(target->first, target->last);
}

void AnalysisWindows::EditLimits() {
  if (limitsDialog_ != nullptr) {
    limitsDialog_->raise();
    return;
  }
  auto* dialog = new CEventLimitsDlg(host_.prompter, host_.settings.eventLimits, host_.settingsPath,
                                     &host_.owner);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  connect(dialog, &QDialog::accepted, this, [this, dialog] {
    host_.settings.eventLimits = dialog->Accepted();
    distributionStale_ = true;  // the bins of a voltage follow its nominal
    Refresh();
  });
  limitsDialog_ = dialog;
  dialog->open();
}

}  // namespace acv
