#include "ui/ReportCommands.h"

#include <QApplication>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProgressDialog>
#include <QScreen>
#include <cmath>
#include <filesystem>

#include "data/RealTimeExport.h"
#include "frame/Commands.h"
#include "frame/DataLists.h"
#include "frame/ReportDisplay.h"
#include "frame/ReportPages.h"
#include "frame/SummaryPages.h"
#include "graph/CDTView.h"
#include "graph/GraphPictureFile.h"
#include "graph/ReportGraph.h"
#include "graph/ReportPdf.h"
#include "graph/ReportRenderer.h"
#include "ui/Prompter.h"

namespace acv {
namespace {

// Long lists show their progress and may be stopped; a few pages go at once.
constexpr int kPagesWithoutProgress = 20;

enum class PageKind { Graph, List, Summary };

PageKind KindOf(int commandId) {
  switch (commandId) {
    case cmd::kPrintList:
    case cmd::kPrintPreviewList:
    case cmd::kExportPdfList:
      return PageKind::List;
    case cmd::kPrintSummary:
    case cmd::kPrintPreviewSummary:
    case cmd::kExportPdfSummary:
      return PageKind::Summary;
    default:
      return PageKind::Graph;
  }
}

ReportFacts FactsOf(const CDTView& view, DisplayMode mode) {
  ReportFacts f;
  f.mode = mode;
  f.info = view.Info();
  f.plotCh1 = view.Display().plotCh1;
  f.plotCh2 = view.Display().plotCh2;
  f.panelHeight = view.Display().panelHeight;
  return f;
}

// A progress window with Cancel over `pages` pages; Report() returns false
// once the user cancelled.
class PageProgress {
 public:
  PageProgress(QWidget* parent, const QString& what, int pages)
      : dialog_(what, QStringLiteral("Cancel"), 0, pages, parent) {
    dialog_.setWindowTitle(QStringLiteral("Test Report"));
    dialog_.setWindowModality(Qt::WindowModal);
    dialog_.setMinimumDuration(pages > kPagesWithoutProgress ? 0 : 1000000);
  }
  bool Report(int done, int total) {
    dialog_.setLabelText(QStringLiteral("Page %1 of %2").arg(done).arg(total));
    dialog_.setValue(done);
    return !dialog_.wasCanceled();
  }

 private:
  QProgressDialog dialog_;
};

}  // namespace

struct ReportCommands::Summary {
  SummaryContent content;
  QImage graph;  // the whole series with its events shaded
  ReportFacts facts;
};

ReportCommands::ReportCommands(Host host) : host_(std::move(host)) {}

bool ReportCommands::PrepareSummary(Summary& summary) {
  const CDTDoc& doc = host_.doc;
  // The run's RMS while a real-time display is on show, the STORE RMS otherwise.
  const bool realTime = IsRealTimeMode(host_.activeMode()) && HoldsRun(doc.RealTime());
  const DisplayMode mode = realTime ? DisplayMode::RealTimeRms : DisplayMode::StoreRms;
  if (const std::string problem = ReportModeProblem(doc, mode, -1); !problem.empty()) {
    host_.prompter.Message(&host_.owner, QString::fromStdString(problem), MessageIcon::Warning);
    return false;
  }
  const AppSettings settings = host_.settings();
  const ReportDisplay display = PrepareReportDisplay(doc, mode, -1, settings);
  const std::string site = !realTime && host_.siteOnShow ? host_.siteOnShow() : std::string();
  if (!site.empty() && host_.siteStretches) {
    // A site's timeline: its gaps between downloads are known to the
    // library, not to the points on show, which hold no value there.
    std::vector<TimeStretch> stretches;
    std::string problem;
    if (!host_.siteStretches(site, &stretches, &problem)) {
      host_.prompter.Message(
          &host_.owner,
          QString::fromStdString("The summary of site " + site + " could not be made: " + problem),
          MessageIcon::Warning);
      return false;
    }
    const auto covered =
        PointsOfStretches(stretches, doc.rmsStartTime, std::llround(doc.rmsInterval), doc.rmsCount);
    summary.content = SummariseSite(doc, settings.eventLimits, site, covered);
  } else {
    const std::string path = host_.documentPath();
    summary.content = SummariseDataSet(doc, realTime, settings.eventLimits,
                                       std::filesystem::path(path).filename().string());
  }
  summary.graph = ReportGraphPicture(
      doc, display, settings, std::make_shared<EventShading>(ShadingOf(doc, summary.content)));
  summary.facts = display.Facts();
  return true;
}

ReportCommands::~ReportCommands() = default;

void ReportCommands::PreviewCompliance(const SummaryContent& content) {
  QPrinter& printer = Printer();
  if (!pageSetUp_) printer.setPageOrientation(QPageLayout::Landscape);
  const auto paint = [&](QPrinter* target) {
    ReportRenderer renderer(ReportFacts{}, ReportDate());
    QPainter painter;
    if (!painter.begin(target)) {
      host_.prompter.Message(&host_.owner, QStringLiteral("The print could not be started."),
                             MessageIcon::Warning);
      return;
    }
    renderer.PaintCompliancePages(painter, *target, content);
  };
  printer.setFromTo(0, 0);
  ShowPreview(printer, QStringLiteral("Print Preview - Compliance"), paint);
}

void ReportCommands::PreviewPage(const QString& title,
                                 const std::function<void(QPainter&, const QRect&)>& paint) {
  QPrinter& printer = Printer();
  if (!pageSetUp_) printer.setPageOrientation(QPageLayout::Landscape);
  printer.setFromTo(0, 0);
  ShowPreview(printer, title, [&](QPrinter* target) {
    QPainter painter;
    if (!painter.begin(target)) {
      host_.prompter.Message(&host_.owner, QStringLiteral("The print could not be started."),
                             MessageIcon::Warning);
      return;
    }
    paint(painter, QRect(0, 0, target->width(), target->height()));
  });
}

void ReportCommands::ShowPreview(QPrinter& printer, const QString& title,
                                 const std::function<void(QPrinter*)>& paint) {
  QPrintPreviewDialog dialog(&printer, &host_.owner);
  dialog.setWindowTitle(title);
  // Readable at once: most of the screen, pages as wide as the window.
  const QRect screen = host_.owner.screen() != nullptr ? host_.owner.screen()->availableGeometry()
                                                       : QRect(0, 0, 1280, 1024);
  dialog.resize(screen.width() * 4 / 5, screen.height() * 9 / 10);
  if (auto* widget = dialog.findChild<QPrintPreviewWidget*>()) widget->fitToWidth();
  QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, paint);
  dialog.exec();
}

QPrinter& ReportCommands::Printer() {
  if (printer_ == nullptr) {
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer_->setPageSize(QPageSize(QPageSize::A4));
  }
  return *printer_;
}

void ReportCommands::PrintSetup() {
  QPageSetupDialog dialog(&Printer(), &host_.owner);
  if (dialog.exec() == QDialog::Accepted) pageSetUp_ = true;
}

void ReportCommands::Print(int commandId) {
  const PageKind kind = KindOf(commandId);
  const bool list = kind == PageKind::List;
  const bool preview = commandId == cmd::kPrintPreviewGraph ||
                       commandId == cmd::kPrintPreviewList ||
                       commandId == cmd::kPrintPreviewSummary;
  Summary summary;
  if (kind == PageKind::Summary && !PrepareSummary(summary)) return;
  QPrinter& printer = Printer();
  // The graph is wider than high, the list a column of rows; the user's
  // own choice in Print Setup wins.
  if (!pageSetUp_) {
    printer.setPageOrientation(list ? QPageLayout::Portrait : QPageLayout::Landscape);
  }
  const DisplayMode mode = host_.activeMode();
  const ReportFacts facts = kind == PageKind::Summary ? summary.facts : FactsOf(host_.view, mode);
  const DataListText rows(host_.doc, mode, host_.view.Display());
  const int pages = list ? ListPageCount(rows.RowCount(), mode) : 1;
  const QImage graph = kind == PageKind::Graph ? host_.view.GraphPicture(true) : QImage();

  // Paints the pages the printer's range asks for (all when none).
  auto paint = [&](QPrinter* target) {
    ReportRenderer renderer(facts, ReportDate());
    QPainter painter;
    if (!painter.begin(target)) {
      host_.prompter.Message(&host_.owner, QStringLiteral("The print could not be started."),
                             MessageIcon::Warning);
      return;
    }
    if (kind == PageKind::Graph) {
      renderer.PaintGraphPage(painter, graph);
      return;
    }
    ReportRenderer::Pages painted = ReportRenderer::Pages::All;
    if (kind == PageKind::Summary) {
      painted = renderer.PaintSummaryPages(painter, *target, summary.content, summary.graph);
    } else {
      const auto [from, to] = PrintedPages(target->fromPage(), target->toPage(), pages);
      PageProgress progress(&host_.owner, QStringLiteral("Printing the list..."), to - from + 1);
      painted = renderer.PaintListPages(
          painter, *target, rows, from, to,
          [&progress](int done, int total) { return progress.Report(done, total); });
    }
    if (painted == ReportRenderer::Pages::All || preview) return;
    painter.end();
    target->abort();
    if (painted == ReportRenderer::Pages::NewPageFailed) {
      host_.prompter.Message(&host_.owner,
                             QStringLiteral("The printer could not start a new page; the print "
                                            "was stopped."),
                             MessageIcon::Warning);
    }
  };

  printer.setFromTo(0, 0);
  if (preview) {
    ShowPreview(printer,
                list                        ? QStringLiteral("Print Preview - List")
                : kind == PageKind::Summary ? QStringLiteral("Print Preview - Summary")
                                            : QStringLiteral("Print Preview - Graph"),
                paint);
    return;
  }
  QPrintDialog dialog(&printer, &host_.owner);
  dialog.setMinMax(1, pages);
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, list);
  if (dialog.exec() != QDialog::Accepted) return;
  if (printer.printRange() != QPrinter::PageRange) printer.setFromTo(0, 0);
  if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
    // "Print to file" is a PDF like any other the program writes: it
    // appears whole or not at all, and never replaces a device or an input.
    const QString path = printer.outputFileName();
    PdfOutcome out;
    if (list) {
      const auto [from, to] = PrintedPages(printer.fromPage(), printer.toPage(), pages);
      PageProgress progress(&host_.owner, QStringLiteral("Printing the list..."), to - from + 1);
      out = WriteListPdf(
          path, printer.pageLayout(), facts, rows,
          [&progress](int done, int total) { return progress.Report(done, total); }, from, to);
    } else if (kind == PageKind::Summary) {
      out = WriteSummaryPdf(path, printer.pageLayout(), summary.content, summary.graph, facts);
    } else {
      out = WriteGraphPdf(path, printer.pageLayout(), graph, facts);
    }
    if (!out.error.empty()) {
      host_.prompter.Message(&host_.owner, QString::fromStdString(out.error), MessageIcon::Warning);
    }
    return;
  }
  paint(&printer);
}

void ReportCommands::ExportPdf(int commandId) {
  const PageKind kind = KindOf(commandId);
  const bool list = kind == PageKind::List;
  Summary summary;
  if (kind == PageKind::Summary && !PrepareSummary(summary)) return;
  const QString path =
      host_.prompter.SaveFileName(&host_.owner,
                                  list                        ? "Test Report.pdf"
                                  : kind == PageKind::Summary ? "Summary Report.pdf"
                                                              : "Graph.pdf",
                                  SaveKind::Pdf);
  if (path.isEmpty()) return;
  const QPageLayout::Orientation orientation =
      list ? QPageLayout::Portrait : QPageLayout::Landscape;
  QPageLayout layout = DefaultReportLayout(orientation);
  if (pageSetUp_) layout = Printer().pageLayout();
  const DisplayMode mode = host_.activeMode();
  const ReportFacts facts = FactsOf(host_.view, mode);
  PdfOutcome out;
  if (list) {
    const DataListText rows(host_.doc, mode, host_.view.Display());
    PageProgress progress(&host_.owner, QStringLiteral("Writing the PDF..."),
                          ListPageCount(rows.RowCount(), mode));
    out = WriteListPdf(path, layout, facts, rows,
                       [&progress](int done, int total) { return progress.Report(done, total); });
  } else if (kind == PageKind::Summary) {
    out = WriteSummaryPdf(path, layout, summary.content, summary.graph, summary.facts);
  } else {
    out = WriteGraphPdf(path, layout, host_.view.GraphPicture(true), facts);
  }
  if (!out.error.empty()) {
    host_.prompter.Message(&host_.owner, QString::fromStdString(out.error), MessageIcon::Warning);
  }
}

void ReportCommands::SaveGraphPicture() {
  const QString path =
      host_.prompter.SaveFileName(&host_.owner, QStringLiteral("Graph.png"), SaveKind::Picture);
  if (path.isEmpty()) return;
  QSize size = host_.view.GraphPictureSize();
  if (!path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
    // The graph's size on the screen, or any other the user types ("1920 x 1080").
    bool ok = false;
    const QString typed = QInputDialog::getText(
        &host_.owner, QStringLiteral("Save Graph Picture"),
        QStringLiteral("Picture size in pixels:"), QLineEdit::Normal,
        QString::fromStdString(PictureSizeText(size.width(), size.height())), &ok);
    if (!ok) return;
    const std::optional<PictureSize> chosen = ParsePictureSize(typed.toStdString());
    if (!chosen) {
      host_.prompter.Message(
          &host_.owner, QStringLiteral("Please type the size as width x height, e.g. 1920 x 1080."),
          MessageIcon::Warning);
      return;
    }
    size = QSize(chosen->width, chosen->height);
  }
  const std::string error = acv::SaveGraphPicture(host_.view, path, size);
  if (!error.empty())
    host_.prompter.Message(&host_.owner, QString::fromStdString(error), MessageIcon::Warning);
}

}  // namespace acv
