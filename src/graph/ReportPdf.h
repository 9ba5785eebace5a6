#pragma once
// The printed pages written into a PDF file: the graph page, or every list
// page. The file appears only when it is complete: it is written under a
// temporary name beside the target and renamed at the end, so a failure or
// a cancel leaves no partial file (and an older file of that name intact).
#include <QImage>
#include <QPageLayout>
#include <QString>
#include <functional>
#include <string>

#include "frame/ReportPages.h"

namespace acv {

struct PdfOutcome {
  bool written = false;
  bool cancelled = false;
  std::string error;  // why it was not written ("" when written or cancelled)
};

// A4 portrait with 10 mm margins.
QPageLayout DefaultReportLayout(QPageLayout::Orientation orientation);

PdfOutcome WriteGraphPdf(const QString& path, const QPageLayout& layout, const QImage& graph,
                         const ReportFacts& facts);

// progress(done, total) after each page; false from it cancels.
PdfOutcome WriteListPdf(const QString& path, const QPageLayout& layout, const ReportFacts& facts,
                        const ListText& list, const std::function<bool(int, int)>& progress = {});

}  // namespace acv
