// Printing, print preview and page setup, the same pages as PDF files, and
// pictures of the graph. The pages themselves are laid out in
// frame/ReportPages and drawn by graph/ReportRenderer; this file runs the
// dialogs around them.
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

#include "frame/Commands.h"
#include "frame/DataLists.h"
#include "graph/CDTView.h"
#include "graph/GraphPictureFile.h"
#include "graph/ReportPdf.h"
#include "graph/ReportRenderer.h"
#include "ui/CMainFrame.h"
#include "ui/Prompter.h"

namespace acv {
namespace {

// Long lists show their progress and may be stopped; a few pages go at once.
constexpr int kPagesWithoutProgress = 20;

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

QPrinter& CMainFrame::Printer() {
  if (printer_ == nullptr) {
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer_->setPageSize(QPageSize(QPageSize::A4));
  }
  return *printer_;
}

void CMainFrame::OnPrintSetup() {
  QPageSetupDialog dialog(&Printer(), this);
  if (dialog.exec() == QDialog::Accepted) pageSetUp_ = true;
}

void CMainFrame::OnPrint(int commandId) {
  const bool list = commandId == cmd::kPrintList || commandId == cmd::kPrintPreviewList;
  const bool preview = commandId == cmd::kPrintPreviewGraph || commandId == cmd::kPrintPreviewList;
  QPrinter& printer = Printer();
  // The graph is wider than high, the list a column of rows; the user's
  // own choice in Print Setup wins.
  if (!pageSetUp_) {
    printer.setPageOrientation(list ? QPageLayout::Portrait : QPageLayout::Landscape);
  }
  const DisplayMode mode = frame_.ActiveMode();
  const ReportFacts facts = FactsOf(*view_, mode);
  const DataListText rows(doc_, mode, view_->Display());
  const int pages = list ? ListPageCount(rows.RowCount(), mode) : 1;
  const QImage graph = list ? QImage() : view_->GraphPicture(true);

  // Paints the pages the printer's range asks for (all when none).
  auto paint = [&](QPrinter* target) {
    ReportRenderer renderer(facts, ReportDate());
    QPainter painter;
    if (!painter.begin(target)) {
      prompter_->Message(this, QStringLiteral("The print could not be started."),
                         MessageIcon::Warning);
      return;
    }
    if (!list) {
      renderer.PaintGraphPage(painter, graph);
      return;
    }
    const int from = target->fromPage() > 0 ? std::min(target->fromPage(), pages) : 1;
    const int to = target->toPage() > 0 ? std::clamp(target->toPage(), from, pages) : pages;
    PageProgress progress(this, QStringLiteral("Printing the list..."), to - from + 1);
    const ReportRenderer::Pages painted = renderer.PaintListPages(
        painter, *target, rows, from, to,
        [&progress](int done, int total) { return progress.Report(done, total); });
    if (painted == ReportRenderer::Pages::All || preview) return;
    painter.end();
    target->abort();
    if (painted == ReportRenderer::Pages::NewPageFailed) {
      prompter_->Message(this,
                         QStringLiteral("The printer could not start a new page; the print "
                                        "was stopped."),
                         MessageIcon::Warning);
    }
  };

  printer.setFromTo(0, 0);
  if (preview) {
    QPrintPreviewDialog dialog(&printer, this);
    dialog.setWindowTitle(list ? QStringLiteral("Print Preview - List")
                               : QStringLiteral("Print Preview - Graph"));
    // Readable at once: most of the screen, pages as wide as the window.
    const QRect screen =
        this->screen() != nullptr ? this->screen()->availableGeometry() : QRect(0, 0, 1280, 1024);
    dialog.resize(screen.width() * 4 / 5, screen.height() * 9 / 10);
    if (auto* widget = dialog.findChild<QPrintPreviewWidget*>()) widget->fitToWidth();
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this, paint);
    dialog.exec();
    return;
  }
  QPrintDialog dialog(&printer, this);
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
      const int from = printer.fromPage() > 0 ? std::min(printer.fromPage(), pages) : 1;
      const int to = printer.toPage() > 0 ? std::clamp(printer.toPage(), from, pages) : pages;
      PageProgress progress(this, QStringLiteral("Printing the list..."), to - from + 1);
      out = WriteListPdf(
          path, printer.pageLayout(), facts, rows,
          [&progress](int done, int total) { return progress.Report(done, total); }, from, to);
    } else {
      out = WriteGraphPdf(path, printer.pageLayout(), graph, facts);
    }
    if (!out.error.empty()) {
      prompter_->Message(this, QString::fromStdString(out.error), MessageIcon::Warning);
    }
    return;
  }
  paint(&printer);
}

void CMainFrame::OnExportPdf(int commandId) {
  const bool list = commandId == cmd::kExportPdfList;
  const QString path = prompter_->SaveFileName(
      this, list ? QStringLiteral("Test Report.pdf") : QStringLiteral("Graph.pdf"), SaveKind::Pdf);
  if (path.isEmpty()) return;
  const QPageLayout::Orientation orientation =
      list ? QPageLayout::Portrait : QPageLayout::Landscape;
  QPageLayout layout = DefaultReportLayout(orientation);
  if (pageSetUp_) layout = Printer().pageLayout();
  const DisplayMode mode = frame_.ActiveMode();
  const ReportFacts facts = FactsOf(*view_, mode);
  PdfOutcome out;
  if (list) {
    const DataListText rows(doc_, mode, view_->Display());
    PageProgress progress(this, QStringLiteral("Writing the PDF..."),
                          ListPageCount(rows.RowCount(), mode));
    out = WriteListPdf(path, layout, facts, rows,
                       [&progress](int done, int total) { return progress.Report(done, total); });
  } else {
    out = WriteGraphPdf(path, layout, view_->GraphPicture(true), facts);
  }
  if (!out.error.empty()) {
    prompter_->Message(this, QString::fromStdString(out.error), MessageIcon::Warning);
  }
}

void CMainFrame::OnSaveGraphPicture() {
  const QString path =
      prompter_->SaveFileName(this, QStringLiteral("Graph.png"), SaveKind::Picture);
  if (path.isEmpty()) return;
  QSize size = view_->GraphPictureSize();
  if (!path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
    // The window's size, or any other the user types ("1920 x 1080").
    bool ok = false;
    const QString typed = QInputDialog::getText(
        this, QStringLiteral("Save Graph Picture"), QStringLiteral("Picture size in pixels:"),
        QLineEdit::Normal, QStringLiteral("%1 x %2").arg(size.width()).arg(size.height()), &ok);
    if (!ok) return;
    const QStringList parts = typed.split(QLatin1Char('x'), Qt::SkipEmptyParts);
    const int width = parts.value(0).trimmed().toInt();
    const int height = parts.value(1).trimmed().toInt();
    if (parts.size() != 2 || width <= 0 || height <= 0) {
      prompter_->Message(
          this, QStringLiteral("Please type the size as width x height, e.g. 1920 x 1080."),
          MessageIcon::Warning);
      return;
    }
    size = QSize(width, height);
  }
  const std::string error = SaveGraphPicture(*view_, path, size);
  if (!error.empty()) prompter_->Message(this, QString::fromStdString(error), MessageIcon::Warning);
}

}  // namespace acv
