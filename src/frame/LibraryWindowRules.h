#pragma once
// The Library window's rules without widgets: the columns and cells of its
// two lists (the sites, and the measurements of the site chosen), the rows
// copied as text, the question before a measurement is removed, and the
// fields of the Site dialog with what its OK checks.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "data/ChannelScaling.h"
#include "data/TimeText.h"
#include "frame/ScalingDialogRules.h"

namespace acv {

// A site as the library lists it.
struct LibrarySiteRow {
  std::string name;
  std::int64_t measurements = 0;
  std::optional<TimeStamp> first, last;  // first point; just after the last point
  std::int64_t points = 0;
};

// A measurement as the library lists it.
struct LibraryMeasurementRow {
  std::int64_t id = 0;
  std::string site;
  std::string kind;  // "store" or "realtime"
  TimeStamp start = 0, end = 0;
  std::int64_t points = 0, duplicates = 0, interval = 0, trRecords = 0;
  std::array<std::string, 2> units;
  std::string source, sha256;
};

// The columns of `library sites` and `library list`, and each row's cells
// in their order; times in the CSV form, local time.
const std::vector<std::string>& SiteColumns();
std::vector<std::string> SiteCells(const LibrarySiteRow& site);
const std::vector<std::string>& MeasurementColumns();
std::vector<std::string> MeasurementCells(const LibraryMeasurementRow& m);

// Rows as tab-separated text for the clipboard: the column titles, then one
// line per row. A tab or line end inside a cell (a site's name may hold
// neither, a source name may) becomes a blank, so that every row stays one
// line of the same columns.
// What a table cell shows of `value` in `column`: a sha256 as its first
// 12 hex digits and an ellipsis, anything else whole. The whole value stays
// the cell's tooltip and goes into copied rows.
std::string ShownCell(const std::string& column, const std::string& value);

std::string RowsCopyText(const std::vector<std::string>& columns,
                         const std::vector<std::vector<std::string>>& rows);

// What the user is asked before a measurement goes.
std::string RemoveQuestion(const LibraryMeasurementRow& m);

// The Site dialog's fields: nominal voltage, line frequency, the four
// scaling fields (as the Channel Scaling dialog has them) and the notes.
struct SiteTexts {
  std::string nominal, frequency;
  ScaleTexts scaling;  // as the Channel Scaling dialog has them
  std::string notes;
  bool operator==(const SiteTexts&) const = default;
};

struct SiteValues {
  double nominal = 230.0, frequency = 50.0;
  ChannelScaling scaling{};
  std::string notes;
  bool operator==(const SiteValues&) const = default;
};

SiteTexts SiteTextsOf(const SiteValues& site);

// OK: the values the fields give, or the message about the first bad field.
struct SiteCheck {
  SiteValues values;
  std::string problem;  // "" when every field is good
};
SiteCheck CheckSiteTexts(const SiteTexts& texts);

// Line frequencies a site may have.
inline constexpr std::array<double, 2> kSiteFrequencies = {50.0, 60.0};

}  // namespace acv
