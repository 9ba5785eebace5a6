#pragma once
// The printed pages, as positions and texts without any drawing: the units
// of a page, the text header of the graph page, and the "Test Report" list
// pages (title, the block of page 1, column positions, the rows of each page,
// the footer) with their page count. The same pages go to a printer, to the
// preview and into PDF files; a renderer only draws what these functions
// say. Positions are device pixels of the page, y the top of the text.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "frame/DisplayModes.h"

namespace acv {

// W and V: the page's width and height in device pixels; u the row unit
// (V / 70), k the column unit (W / 50).
struct PageUnits {
  int width = 0, height = 0, u = 0, k = 0;
};
PageUnits UnitsOfPage(int width, int height);

struct PageText {
  int x = 0, y = 0;
  std::string text;
  bool operator==(const PageText&) const = default;
};

// What the pages show of the display: its mode, the info texts, the shown
// channels and the info panel's height (0 when it is switched off).
struct ReportFacts {
  DisplayMode mode = DisplayMode::None;
  InfoTexts info;
  bool plotCh1 = false, plotCh2 = false;
  int panelHeight = kInfoPanelHeight;
};

// The text header of the graph page; empty in STORE TR, REAL TIME EPA and
// with the info panel off.
std::vector<PageText> GraphPageHeader(const ReportFacts& facts, const PageUnits& units);

// ---- list pages -------------------------------------------------------------------

// Rows of the first page: 60 in STORE TR and REAL TIME EPA (no block there),
// 55 otherwise; every further page holds 60.
inline constexpr int kRowsPerPage = 60;
int FirstPageRows(DisplayMode mode);
int ListPageCount(std::int64_t rows, DisplayMode mode);

// The pages a print dialog's range asks for, 1-based and inclusive: 0 for
// "from" or "to" means the first or the last page; the range is kept inside
// 1..pages and never ends before it starts.
struct PageSpan {
  int from = 1;
  int to = 1;
  bool operator==(const PageSpan&) const = default;
};
PageSpan PrintedPages(int fromPage, int toPage, int pages);

// The size of a saved picture as the user types it, "1920 x 1080".
struct PictureSize {
  int width = 0;
  int height = 0;
  bool operator==(const PictureSize&) const = default;
};
std::string PictureSizeText(int width, int height);
// Blanks around the numbers and a capital X are fine; anything but two
// positive whole numbers gives nothing.
std::optional<PictureSize> ParsePictureSize(const std::string& text);

// The rows [first, end) of page p (from 1). Each page's rows follow from its
// number alone, so pages may be asked for in any order.
struct RowWindow {
  std::int64_t first = 0, end = 0;
};
RowWindow RowsOfPage(int page, std::int64_t rows, DisplayMode mode);

// The list's text: column headers in display order and each cell's text.
class ListText {
 public:
  virtual ~ListText() = default;
  virtual std::int64_t RowCount() const = 0;
  virtual std::vector<std::string> Headers() const = 0;
  virtual std::string Cell(std::int64_t row, int column) const = 0;
};

// Where the texts of one list page go, apart from the rows themselves.
struct ListPageLayout {
  PageText title;                 // "Test Report", in the title font (2u)
  std::vector<PageText> block;    // page 1 outside STORE TR and EPA
  bool hasRule = false;           // the line under the block
  int ruleY = 0;                  // from (0, ruleY) to (W, ruleY)
  std::vector<PageText> headers;  // column headers
  std::vector<int> columnX;       // x of each column
  RowWindow rows;
  int firstRowY = 0;  // y of the window's first row; each next row u lower
  PageText footer;    // "dd/mm/yy  page" + the page number
};

// The footer of every printed report page: `date` (today's, "%d/%m/%y"),
// "  page" and the page number, centred a line above the page's bottom.
PageText PageFooter(int page, const PageUnits& units, const std::string& date);

// `date`: today's date as "%d/%m/%y".
ListPageLayout LayOutListPage(int page, const ReportFacts& facts,
                              const std::vector<std::string>& headers, std::int64_t rowCount,
                              const PageUnits& units, const std::string& date);

// x of column i: 3k times the characters of the headers 0 .. i.
std::vector<int> ColumnPositions(const std::vector<std::string>& headers, int k);

}  // namespace acv
