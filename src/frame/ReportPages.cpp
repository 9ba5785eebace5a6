#include "frame/ReportPages.h"

#include <algorithm>
#include <charconv>
#include <string_view>

namespace acv {
namespace {

bool HasHeaderBlock(const ReportFacts& f) {
  return f.mode != DisplayMode::StoreTr && f.mode != DisplayMode::RealTimeEpa;
}

// The mode, rate, start and count lines and the extremes of the shown
// channels, starting at y = u + dy.
std::vector<PageText> InfoBlock(const ReportFacts& f, const PageUnits& p, int dy) {
  const int right = static_cast<int>(0.4 * p.width);
  const InfoTexts& t = f.info;
  std::vector<PageText> lines{
      {0, p.u + dy, "MODE: " + t.modeText},
      {right, p.u + dy, "SAMPLING RATE: " + t.rateText},
      {0, 2 * p.u + dy, "START TIME: " + t.startText},
      {right, 2 * p.u + dy, "DATANO: " + t.countText},
  };
  if (f.plotCh1 && f.plotCh2) {
    lines.push_back({0, 3 * p.u + dy, "CH1 DATA MAX: " + t.max1Text});
    lines.push_back({right, 3 * p.u + dy, "CH1 DATA MIN: " + t.min1Text});
    lines.push_back({0, 4 * p.u + dy, "CH2 DATA MAX: " + t.max2Text});
    lines.push_back({right, 4 * p.u + dy, "CH2 DATA MIN: " + t.min2Text});
  } else if (f.plotCh1 || f.plotCh2) {
    const std::string name = f.plotCh1 ? "CH1" : "CH2";
    lines.push_back({0, 3 * p.u + dy, name + " MAX: " + (f.plotCh1 ? t.max1Text : t.max2Text)});
    lines.push_back({right, 3 * p.u + dy, name + " MIN: " + (f.plotCh1 ? t.min1Text : t.min2Text)});
  }
  return lines;
}

}  // namespace

PageUnits UnitsOfPage(int width, int height) {
  return {width, height, height / 70, width / 50};
}

std::vector<PageText> GraphPageHeader(const ReportFacts& facts, const PageUnits& units) {
  if (facts.panelHeight == 0 || !HasHeaderBlock(facts)) return {};
  return InfoBlock(facts, units, 0);
}

int FirstPageRows(DisplayMode mode) {
  return mode == DisplayMode::StoreTr || mode == DisplayMode::RealTimeEpa ? kRowsPerPage : 55;
}

int ListPageCount(std::int64_t rows, DisplayMode mode) {
  const int f = FirstPageRows(mode);
  if (rows <= f) return 1;
  return static_cast<int>(1 + (rows - f + kRowsPerPage - 1) / kRowsPerPage);
}

RowWindow RowsOfPage(int page, std::int64_t rows, DisplayMode mode) {
  const std::int64_t f = FirstPageRows(mode);
  RowWindow w;
  if (page <= 1) {
    w.end = std::min(rows, f);
  } else {
    w.first = std::min(rows, f + static_cast<std::int64_t>(page - 2) * kRowsPerPage);
    w.end = std::min(rows, w.first + kRowsPerPage);
  }
  return w;
}

std::vector<int> ColumnPositions(const std::vector<std::string>& headers, int k) {
  std::vector<int> x;
  std::int64_t characters = 0;
  for (const std::string& h : headers) {
    // A header counts with at most 100 characters, as the list hands it out.
    characters += static_cast<std::int64_t>(std::min<std::size_t>(h.size(), 100));
    x.push_back(static_cast<int>(3 * k * characters));
  }
  return x;
}

ListPageLayout LayOutListPage(int page, const ReportFacts& facts,
                              const std::vector<std::string>& headers, std::int64_t rowCount,
                              const PageUnits& p, const std::string& date) {
  ListPageLayout l;
  const int dy = 2 * p.k;
  l.title = {p.width / 2 - 6 * p.k, 0, "Test Report"};
  const bool block = page == 1 && HasHeaderBlock(facts);
  if (block) {
    l.block = InfoBlock(facts, p, dy);
    l.hasRule = true;
    l.ruleY = static_cast<int>(5.5 * p.u) + dy;
  }
  l.columnX = ColumnPositions(headers, p.k);
  const int headerY = (block ? 6 * p.u : p.u) + dy;
  for (std::size_t i = 0; i < headers.size(); ++i) {
    l.headers.push_back({l.columnX[i], headerY, headers[i].substr(0, 100)});
  }
  l.rows = RowsOfPage(page, rowCount, facts.mode);
  l.firstRowY = p.u * (block ? 7 : 2) + dy;
  l.footer = PageFooter(page, p, date);
  return l;
}

PageText PageFooter(int page, const PageUnits& units, const std::string& date) {
  return {units.width / 2 - 5 * units.k, units.height - units.u,
          date + "  page" + std::to_string(page)};
}

PageSpan PrintedPages(int fromPage, int toPage, int pages) {
  const int last = std::max(pages, 1);
  PageSpan span;
  span.from = fromPage > 0 ? std::min(fromPage, last) : 1;
  span.to = toPage > 0 ? std::clamp(toPage, span.from, last) : last;
  return span;
}

std::string PictureSizeText(int width, int height) {
  return std::to_string(width) + " x " + std::to_string(height);
}

std::optional<PictureSize> ParsePictureSize(const std::string& text) {
  // Two whole numbers around an "x"; from_chars refuses what does not fit an int.
  const std::size_t x = text.find_first_of("xX");
  if (x == std::string::npos) return std::nullopt;
  auto number = [](std::string_view part) -> std::optional<int> {
    const std::size_t first = part.find_first_not_of(' ');
    const std::size_t last = part.find_last_not_of(' ');
    if (first == std::string_view::npos) return std::nullopt;
    part = part.substr(first, last - first + 1);
    int value = 0;
    const auto [end, error] = std::from_chars(part.data(), part.data() + part.size(), value);
    if (error != std::errc() || end != part.data() + part.size() || value <= 0) return std::nullopt;
    return value;
  };
  const std::string_view all(text);
  const std::optional<int> width = number(all.substr(0, x));
  const std::optional<int> height = number(all.substr(x + 1));
  if (!width || !height) return std::nullopt;
  return PictureSize{*width, *height};
}

}  // namespace acv
