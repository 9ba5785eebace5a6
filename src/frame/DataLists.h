#pragma once
// The two list windows as text: the Data List (every point of the display on
// show, with its number, time and channel values) and the TR File List (the
// TR records by number and trigger time). Each cell is computed on request
// from the data set, so a list of a quarter million rows costs nothing until
// a row is looked at. The list windows and the printed list pages both read
// their rows here.
#include <algorithm>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "data/CDTDoc.h"
#include "frame/DisplayModes.h"
#include "frame/FrameState.h"
#include "frame/ReportPages.h"

namespace acv {

inline constexpr int kDataListColumns = 4;  // No., Time, CH1 (or S(VA)), CH2
inline constexpr int kTrListColumns = 3;    // File No., Time, (empty)

struct ListColumn {
  const char* title;
  int width;  // pixels; 0 hides the column
};

// The Data List's four columns in the given display.
std::span<const ListColumn> DataListColumns(DisplayMode mode);
// The TR File List's three columns.
std::span<const ListColumn> TrListColumns();

// Rows of the Data List: every STORE RMS sample, the 251 samples of the
// shown TR record, the 590 samples of the real-time wave, or every real-time
// point taken so far. None on the start screen.
std::int64_t DataListRowCount(const CDTDoc& doc, DisplayMode mode);

// The text of one Data List cell (row 0-based). `view` says which channels
// the display shows, with which units, and which TR record. Values are "%.1f",
// a blank and the unit; a value that reads as 0.0 is "LO" except in STORE TR
// and REAL TIME EPA, whose raw wave samples pass through zero. A channel the
// display does not show, and any row the data set does not hold, are empty.
std::string DataListCell(const CDTDoc& doc, DisplayMode mode, const DisplaySetup& view,
                         std::int64_t row, int column);

// "STORE RMS Data List": the window's caption in the given display.
std::string DataListCaption(DisplayMode mode);

// Rows of the TR File List and the text of one cell.
std::int64_t TrListRowCount(const CDTDoc& doc);
std::string TrListCell(const CDTDoc& doc, std::int64_t row, int column);

// Rows as tab-separated text under a line of titles: only the given columns,
// each row once, in ascending order, rows outside 0 .. count - 1 left out.
// `title(c)` and `cell(row, c)` give the texts.
template <typename Title, typename Cell>
std::string TabSeparatedRows(const std::vector<int>& columns, std::vector<std::int64_t> rows,
                             std::int64_t count, Title title, Cell cell) {
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  auto line = [&columns](auto text_of) {
    std::string text;
    for (std::size_t i = 0; i < columns.size(); ++i) {
      if (i > 0) text += '\t';
      text += text_of(columns[i]);
    }
    return text + '\n';
  };
  std::string text = line(title);
  for (std::int64_t row : rows) {
    if (row < 0 || row >= count) continue;
    text += line([&](int c) { return cell(row, c); });
  }
  return text;
}

// The given Data List rows as tab-separated text: a line of column titles,
// then one line per row in ascending order, each ended by a newline. Columns
// that stay empty in this display (a channel not shown, the hidden fourth
// column of S(VA)) are left out.
std::string DataListCopyText(const CDTDoc& doc, DisplayMode mode, const DisplaySetup& view,
                             std::vector<std::int64_t> rows);

// The same for TR File List rows (record number and trigger time).
std::string TrListCopyText(const CDTDoc& doc, std::vector<std::int64_t> rows);

// Whether a Data List built for `listed` would read differently for the
// display now on show in the same mode (another TR record, other channels or
// units): then it must be built again. Rows added by new real-time points
// are no such change.
bool DataListOutdated(DisplayMode mode, const DisplaySetup& listed, const DisplaySetup& now);

// The Data List row of a graph point (0-based index as the cursor counts it)
// and back; -1 when the point has no row.
std::int64_t DataListRowOfPoint(const CDTDoc& doc, DisplayMode mode, const DisplaySetup& view,
                                std::int64_t point);
std::int64_t GraphPointOfRow(const CDTDoc& doc, DisplayMode mode, const DisplaySetup& view,
                             std::int64_t row);

// The Data List as the printed list pages read it: the same rows, titles and
// cell texts as the window shows, for the display given.
class DataListText : public ListText {
 public:
  DataListText(const CDTDoc& doc, DisplayMode mode, const DisplaySetup& view)
      : doc_(doc), mode_(mode), view_(view) {}

  std::int64_t RowCount() const override;
  std::vector<std::string> Headers() const override;
  std::string Cell(std::int64_t row, int column) const override;

 private:
  const CDTDoc& doc_;
  DisplayMode mode_;
  DisplaySetup view_;
};

}  // namespace acv
