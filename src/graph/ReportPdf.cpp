#include "graph/ReportPdf.h"

#include <QPainter>
#include <QPdfWriter>

#include "graph/ReportRenderer.h"
#include "platform/FileWriterDevice.h"

namespace acv {
namespace {

// Opens the file, lets paint() fill the writer, and commits the file only
// when paint() painted every page.
template <typename Paint>
PdfOutcome WritePdf(const QString& path, const QPageLayout& layout, std::vector<std::string> inputs,
                    Paint paint, const QString& title = QStringLiteral("Test Report")) {
  PdfOutcome out;
  FileWriterDevice file(path.toStdString(), std::move(inputs));
  if (!file.open(QIODevice::WriteOnly)) {
    out.error = file.Error();
    return out;
  }
  ReportRenderer::Pages pages = ReportRenderer::Pages::Stopped;
  {
    QPdfWriter writer(&file);
    writer.setCreator(QStringLiteral("acvlogger"));
    writer.setTitle(title);
    writer.setPageLayout(layout);
    QPainter painter;
    if (!painter.begin(&writer)) {
      out.error = "cannot write '" + path.toStdString() + "': the PDF could not be started";
      return out;
    }
    pages = paint(painter, writer);
    painter.end();
  }
  if (pages != ReportRenderer::Pages::All) {
    // The file is left as it was: no half a document under its name.
    out.cancelled = pages == ReportRenderer::Pages::Stopped;
    if (!out.cancelled) {
      out.error = "cannot write '" + path.toStdString() + "': a page could not be started";
    }
    return out;
  }
  if (!file.Commit()) {
    out.error = file.Error();
    return out;
  }
  out.written = true;
  return out;
}

}  // namespace

QPageLayout DefaultReportLayout(QPageLayout::Orientation orientation) {
  return QPageLayout(QPageSize(QPageSize::A4), orientation, QMarginsF(10, 10, 10, 10),
                     QPageLayout::Millimeter);
}

PdfOutcome WriteGraphPdf(const QString& path, const QPageLayout& layout, const QImage& graph,
                         const ReportFacts& facts, std::vector<std::string> inputs) {
  return WritePdf(path, layout, std::move(inputs), [&](QPainter& p, QPdfWriter&) {
    ReportRenderer(facts, ReportDate()).PaintGraphPage(p, graph);
    return ReportRenderer::Pages::All;
  });
}

PdfOutcome WriteSummaryPdf(const QString& path, const QPageLayout& layout,
                           const SummaryContent& content, const QImage& graph,
                           const ReportFacts& facts, std::vector<std::string> inputs) {
  return WritePdf(
      path, layout, std::move(inputs),
      [&](QPainter& p, QPdfWriter& writer) {
        return ReportRenderer(facts, ReportDate()).PaintSummaryPages(p, writer, content, graph);
      },
      QStringLiteral("Summary Report"));
}

PdfOutcome WriteDistributionPdf(const QString& path, const QPageLayout& layout,
                                const DistributionFigures& figures, const PlotColours& colours,
                                std::vector<std::string> inputs) {
  return WritePdf(
      path, layout, std::move(inputs),
      [&](QPainter& p, QPdfWriter&) {
        PaintDistributionPage(p, QRect(0, 0, p.device()->width(), p.device()->height()), figures,
                              colours);
        return ReportRenderer::Pages::All;
      },
      QStringLiteral("Distribution"));
}

PdfOutcome WritePagePdf(const QString& path, const QPageLayout& layout, const QString& title,
                        const std::function<void(QPainter&, const QRect&)>& paint,
                        std::vector<std::string> inputs) {
  return WritePdf(
      path, layout, std::move(inputs),
      [&](QPainter& p, QPdfWriter&) {
        paint(p, QRect(0, 0, p.device()->width(), p.device()->height()));
        return ReportRenderer::Pages::All;
      },
      title);
}

PdfOutcome WriteListPdf(const QString& path, const QPageLayout& layout, const ReportFacts& facts,
                        const ListText& list, const std::function<bool(int, int)>& progress,
                        int from, int to, std::vector<std::string> inputs) {
  return WritePdf(path, layout, std::move(inputs), [&](QPainter& p, QPdfWriter& writer) {
    ReportRenderer renderer(facts, ReportDate());
    const int last = to > 0 ? to : ListPageCount(list.RowCount(), facts.mode);
    return renderer.PaintListPages(p, writer, list, from, last, progress);
  });
}

}  // namespace acv
