#include "graph/ReportRenderer.h"

#include <QFontMetrics>
#include <QPagedPaintDevice>
#include <QPainter>

#include "data/TimeText.h"
#include "frame/CompliancePages.h"

namespace acv {
namespace {

// "Arial" (or its metric twin) whose character cell is `height` pixels high.
QFont CellFont(int height) {
  QFont f;
  f.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
  f.setStyleHint(QFont::SansSerif);
  f.setWeight(QFont::ExtraLight);
  const int trial = std::max(1, height);
  f.setPixelSize(trial);
  const int cell = QFontMetrics(f).height();
  if (cell > 0) f.setPixelSize(std::max(1, trial * trial / cell));
  return f;
}

// The texts are UTF-8, as every text of the program: a file name with
// accents, the band's "±".
QString Utf8(const std::string& s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

std::string ReportDate() {
  return FormatTime(LocalNow(), "%d/%m/%y");
}

ReportRenderer::ReportRenderer(const ReportFacts& facts, std::string date)
    : facts_(facts), date_(std::move(date)) {}

PageUnits ReportRenderer::UnitsOf(const QPainter& p) {
  return UnitsOfPage(p.device()->width(), p.device()->height());
}

void ReportRenderer::UseUnits(const PageUnits& units) {
  if (units.u == units_.u && units.k == units_.k && units.width == units_.width &&
      units.height == units_.height && titleAscent_ > 0) {
    return;
  }
  units_ = units;
  title_ = CellFont(2 * units.u);
  body_ = CellFont(units.u);
  titleAscent_ = QFontMetrics(title_).ascent();
  bodyAscent_ = QFontMetrics(body_).ascent();
}

void ReportRenderer::Text(QPainter& p, const PageText& t, const QFont& font, int ascent) {
  if (t.text.empty()) return;
  if (p.font() != font) p.setFont(font);
  p.drawText(QPoint(t.x, t.y + ascent), Utf8(t.text));
}

void ReportRenderer::PaintGraphPage(QPainter& p, const QImage& graph, int page) {
  UseUnits(UnitsOf(p));
  // The footer's line stays white: the graph's dark surround would swallow it.
  const int bottom = page > 0 ? units_.height - 2 * units_.u : units_.height;
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  p.drawImage(QRect(0, 0, units_.width, bottom), graph);
  p.setPen(Qt::black);
  for (const PageText& t : GraphPageHeader(facts_, units_)) Text(p, t, body_, bodyAscent_);
  if (page > 0) Text(p, PageFooter(page, units_, date_), body_, bodyAscent_);
}

void ReportRenderer::PaintListPage(QPainter& p, int page, const ListText& list) {
  UseUnits(UnitsOf(p));
  if (headers_.empty()) headers_ = list.Headers();
  const ListPageLayout l = LayOutListPage(page, facts_, headers_, list.RowCount(), units_, date_);
  p.setPen(Qt::black);
  Text(p, l.title, title_, titleAscent_);
  for (const PageText& t : l.block) Text(p, t, body_, bodyAscent_);
  if (l.hasRule) p.drawLine(0, l.ruleY, units_.width, l.ruleY);
  for (const PageText& t : l.headers) Text(p, t, body_, bodyAscent_);
  p.setFont(body_);
  int y = l.firstRowY + bodyAscent_;
  for (std::int64_t r = l.rows.first; r < l.rows.end; ++r, y += units_.u) {
    for (std::size_t c = 0; c < l.columnX.size(); ++c) {
      const std::string cell = list.Cell(r, static_cast<int>(c));
      if (!cell.empty()) p.drawText(QPoint(l.columnX[c], y), Utf8(cell));
    }
  }
  Text(p, l.footer, body_, bodyAscent_);
}

void ReportRenderer::PaintSummaryPage(QPainter& p, int page, const SummaryContent& content) {
  UseUnits(UnitsOf(p));
  const SummaryPageLayout l = LayOutSummaryPage(page, content, units_, date_);
  p.setPen(Qt::black);
  Text(p, l.title, title_, titleAscent_);
  for (const PageText& t : l.texts) Text(p, t, body_, bodyAscent_);
  for (const int y : l.rules) p.drawLine(0, y, units_.width, y);
  Text(p, l.footer, body_, bodyAscent_);
}

void ReportRenderer::PaintCompliancePage(QPainter& p, int page, int footerPage,
                                         const SummaryContent& content) {
  UseUnits(UnitsOf(p));
  const SummaryPageLayout l = LayOutCompliancePage(page, footerPage, content, units_, date_);
  p.setPen(Qt::black);
  Text(p, l.title, title_, titleAscent_);
  for (const PageText& t : l.texts) Text(p, t, body_, bodyAscent_);
  for (const int y : l.rules) p.drawLine(0, y, units_.width, y);
  Text(p, l.footer, body_, bodyAscent_);
}

ReportRenderer::Pages ReportRenderer::PaintListPages(
    QPainter& p, QPagedPaintDevice& device, const ListText& list, int from, int to,
    const std::function<bool(int, int)>& progress) {
  const int total = to - from + 1;
  for (int page = from; page <= to; ++page) {
    // A printer that cannot start a page would get every row on one.
    if (page > from && !device.newPage()) return Pages::NewPageFailed;
    PaintListPage(p, page, list);
    if (progress && !progress(page - from + 1, total)) return Pages::Stopped;
  }
  return Pages::All;
}

ReportRenderer::Pages ReportRenderer::PaintSummaryPages(QPainter& p, QPagedPaintDevice& device,
                                                        const SummaryContent& content,
                                                        const QImage& graph) {
  const int pages = SummaryTextPages(content, UnitsOf(p));
  for (int page = 1; page <= pages; ++page) {
    // A device that cannot start a page would get them all on one.
    if (page > 1 && !device.newPage()) return Pages::NewPageFailed;
    PaintSummaryPage(p, page, content);
  }
  const int compliance = CompliancePageCount(content, UnitsOf(p));
  for (int page = 1; page <= compliance; ++page) {
    if (!device.newPage()) return Pages::NewPageFailed;
    PaintCompliancePage(p, page, pages + page, content);
  }
  if (!device.newPage()) return Pages::NewPageFailed;
  // The graph is a page of the report like the others.
  PaintGraphPage(p, graph, pages + compliance + 1);
  return Pages::All;
}

ReportRenderer::Pages ReportRenderer::PaintCompliancePages(QPainter& p, QPagedPaintDevice& device,
                                                           const SummaryContent& content) {
  const int pages = std::max(1, CompliancePageCount(content, UnitsOf(p)));
  for (int page = 1; page <= pages; ++page) {
    if (page > 1 && !device.newPage()) return Pages::NewPageFailed;
    PaintCompliancePage(p, page, page, content);
  }
  return Pages::All;
}

}  // namespace acv
