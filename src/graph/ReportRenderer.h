#pragma once
// Draws the printed pages onto any paged device (a printer, the preview, a
// PDF file): the graph page (the graph picture stretched over the page and
// the text header) and the "Test Report" list pages. Where each text goes is
// decided in frame/ReportPages; this only draws it, with "Arial" sized to the
// page's row unit.
#include <QFont>
#include <QImage>
#include <QString>
#include <functional>
#include <string>

#include "frame/ReportPages.h"
#include "frame/SummaryPages.h"

class QPagedPaintDevice;
class QPainter;

namespace acv {

// Today's date as the footer shows it ("%d/%m/%y").
std::string ReportDate();

class ReportRenderer {
 public:
  ReportRenderer(const ReportFacts& facts, std::string date);

  // The page units of the painter's device.
  static PageUnits UnitsOf(const QPainter& p);

  // `page`: its number in a longer report, whose footer it then carries
  // below the graph; 0 for the graph page alone.
  void PaintGraphPage(QPainter& p, const QImage& graph, int page = 0);
  void PaintListPage(QPainter& p, int page, const ListText& list);
  // Text page `page` (from 1) of the summary report.
  void PaintSummaryPage(QPainter& p, int page, const SummaryContent& content);
  // Compliance page `page` (from 1), with `footerPage` in its footer.
  void PaintCompliancePage(QPainter& p, int page, int footerPage, const SummaryContent& content);

  // Pages from .. to (from 1) of the list, a new page before each but the
  // first. progress(done, total) after each page; false from it stops.
  enum class Pages { All, Stopped, NewPageFailed };
  Pages PaintListPages(QPainter& p, QPagedPaintDevice& device, const ListText& list, int from,
                       int to, const std::function<bool(int, int)>& progress = {});
  // Every page of the summary report: its text pages, its compliance pages,
  // then the graph page (`graph`, with the events shaded).
  Pages PaintSummaryPages(QPainter& p, QPagedPaintDevice& device, const SummaryContent& content,
                          const QImage& graph);
  // The compliance pages alone (a site's verdict).
  Pages PaintCompliancePages(QPainter& p, QPagedPaintDevice& device, const SummaryContent& content);

 private:
  void UseUnits(const PageUnits& units);
  void Text(QPainter& p, const PageText& t, const QFont& font, int ascent);

  ReportFacts facts_;
  std::string date_;
  PageUnits units_;
  QFont title_, body_;
  int titleAscent_ = 0, bodyAscent_ = 0;
  std::vector<std::string> headers_;
};

}  // namespace acv
