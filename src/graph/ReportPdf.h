#pragma once
// The printed pages written into a PDF file: the graph page, or every list
// page, through the program's one file writer. A file appears only when it
// is complete, so a failure or a cancel leaves no partial file (and an older
// file of that name intact); a device is written in place; writing over one
// of `inputs` (the files the pages were made from) is refused.
#include <QImage>
#include <QPageLayout>
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "frame/ReportPages.h"
#include "frame/SummaryPages.h"
#include "graph/DistributionPainter.h"

namespace acv {

struct PdfOutcome {
  bool written = false;
  bool cancelled = false;
  std::string error;  // why it was not written ("" when written or cancelled)
};

// A4 portrait with 10 mm margins.
QPageLayout DefaultReportLayout(QPageLayout::Orientation orientation);

PdfOutcome WriteGraphPdf(const QString& path, const QPageLayout& layout, const QImage& graph,
                         const ReportFacts& facts, std::vector<std::string> inputs = {});

// The summary report: its text pages, then the graph page (`graph`, with
// the events shaded) with its text header.
PdfOutcome WriteSummaryPdf(const QString& path, const QPageLayout& layout,
                           const SummaryContent& content, const QImage& graph,
                           const ReportFacts& facts, std::vector<std::string> inputs = {});

// The Distribution window's plots on one page.
PdfOutcome WriteDistributionPdf(const QString& path, const QPageLayout& layout,
                                const DistributionFigures& figures, const PlotColours& colours,
                                std::vector<std::string> inputs = {});

// One page that `paint` draws into the page's rectangle, titled `title`.
PdfOutcome WritePagePdf(const QString& path, const QPageLayout& layout, const QString& title,
                        const std::function<void(QPainter&, const QRect&)>& paint,
                        std::vector<std::string> inputs = {});

// Pages from .. to (from 1; to 0: the last page). progress(done, total)
// after each page; false from it cancels.
PdfOutcome WriteListPdf(const QString& path, const QPageLayout& layout, const ReportFacts& facts,
                        const ListText& list, const std::function<bool(int, int)>& progress = {},
                        int from = 1, int to = 0, std::vector<std::string> inputs = {});

}  // namespace acv
