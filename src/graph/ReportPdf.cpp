#include "graph/ReportPdf.h"

#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include "graph/ReportRenderer.h"

namespace acv {
namespace {

// Opens the file, lets paint() fill the writer, and commits the file only
// when paint() says it finished.
template <typename Paint>
PdfOutcome WritePdf(const QString& path, const QPageLayout& layout, Paint paint) {
  PdfOutcome out;
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) {
    out.error = "cannot write " + path.toStdString() + ": " + file.errorString().toStdString();
    return out;
  }
  bool finished = false;
  {
    QPdfWriter writer(&file);
    writer.setCreator(QStringLiteral("acvlogger"));
    writer.setTitle(QStringLiteral("Test Report"));
    writer.setPageLayout(layout);
    QPainter painter;
    if (!painter.begin(&writer)) {
      file.cancelWriting();
      out.error = "cannot write " + path.toStdString();
      return out;
    }
    finished = paint(painter, writer);
    painter.end();
  }
  if (!finished) {
    file.cancelWriting();
    out.cancelled = true;
    return out;
  }
  if (!file.commit()) {
    out.error = "cannot write " + path.toStdString() + ": " + file.errorString().toStdString();
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
                         const ReportFacts& facts) {
  return WritePdf(path, layout, [&](QPainter& p, QPdfWriter&) {
    ReportRenderer(facts, ReportDate()).PaintGraphPage(p, graph);
    return true;
  });
}

PdfOutcome WriteListPdf(const QString& path, const QPageLayout& layout, const ReportFacts& facts,
                        const ListText& list, const std::function<bool(int, int)>& progress) {
  return WritePdf(path, layout, [&](QPainter& p, QPdfWriter& writer) {
    ReportRenderer renderer(facts, ReportDate());
    const int pages = ListPageCount(list.RowCount(), facts.mode);
    return renderer.PaintListPages(p, writer, list, 1, pages, progress);
  });
}

}  // namespace acv
