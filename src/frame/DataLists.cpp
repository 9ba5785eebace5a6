#include "frame/DataLists.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>

#include "data/NumberText.h"
#include "graph/geometry/SeriesSource.h"

namespace acv {
namespace {

constexpr std::array<ListColumn, kDataListColumns> kChannelColumns{
    {{"No.", 50}, {"Time", 180}, {"CH1", 130}, {"CH2", 130}}};
// S(VA) is one value per point: the fourth column is there but hidden.
constexpr std::array<ListColumn, kDataListColumns> kApparentPowerColumns{
    {{"No.", 50}, {"Time", 180}, {"S(VA)", 130}, {"", 0}}};
constexpr std::array<ListColumn, kTrListColumns> kTrColumns{
    {{"File No.", 62}, {"Time", 160}, {"", 160}}};

// Where the shown TR record's samples begin in the array of all records.
std::int64_t TrOffset(const DisplaySetup& view) {
  return TrRecordStart(std::max(view.trRecord, 0)) + std::max(view.firstPoint - 1, 0);
}

// The data index of a row: the TR sample of the shown record, otherwise the
// row itself.
std::int64_t DataIndex(DisplayMode mode, const DisplaySetup& view, std::int64_t row) {
  return mode == DisplayMode::StoreTr ? TrOffset(view) + row : row;
}

std::string ValueText(DisplayMode mode, float value, const std::string& unit, int waveDecimals) {
  // Raw wave samples pass through zero; a measured value of zero means no
  // usable signal. A scaled sample keeps the decimals of one count.
  const bool raw = mode == DisplayMode::StoreTr || mode == DisplayMode::RealTimeEpa;
  std::string text;
  if (raw) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", std::max(1, waveDecimals), static_cast<double>(value));
    text = buf;
  } else {
    text = MeasuredText(value, 1);
  }
  return text == kLevelLow ? text : text + " " + unit;
}

std::string ChannelCell(const CDTDoc& doc, DisplayMode mode, const DisplaySetup& view,
                        std::int64_t index, int channel) {
  const bool shown = channel == 0 ? view.plotCh1 : view.plotCh2;
  if (!shown) return {};
  if (channel == 1 && mode == DisplayMode::RealTimeS) return {};
  const SeriesSource source(doc, GraphModeOf(mode));
  if (!source.Has(channel, index)) return {};
  return ValueText(mode, source.Value(channel, index),
                   channel == 0 ? view.ch1UnitText : view.ch2UnitText,
                   source.WaveDecimals(channel));
}

// Whether a column has any text in this display.
bool ColumnUsed(DisplayMode mode, const DisplaySetup& view, int column) {
  if (DataListColumns(mode)[static_cast<std::size_t>(column)].width == 0) return false;
  if (column == 2) return view.plotCh1;
  if (column == 3) return view.plotCh2;
  return true;
}

}  // namespace

std::span<const ListColumn> DataListColumns(DisplayMode mode) {
  if (mode == DisplayMode::RealTimeS) return kApparentPowerColumns;
  return kChannelColumns;
}

std::span<const ListColumn> TrListColumns() {
  return kTrColumns;
}

std::int64_t DataListRowCount(const CDTDoc& doc, DisplayMode mode) {
  switch (mode) {
    case DisplayMode::None:
      return 0;
    case DisplayMode::StoreRms:
      return std::max(doc.rmsCount, 0);
    case DisplayMode::StoreTr:
      return kTrWavePoints;
    case DisplayMode::RealTimeEpa:
      return kEpaPoints;
    default:
      return std::max(doc.rtCount, 0);
  }
}

std::string DataListCell(const CDTDoc& doc, DisplayMode mode, const DisplaySetup& view,
                         std::int64_t row, int column) {
  if (row < 0 || row >= DataListRowCount(doc, mode)) return {};
  const std::int64_t index = DataIndex(mode, view, row);
  switch (column) {
    case 0:
      return std::to_string(row + 1);
    case 1:
      return FormatTime(PointTime(doc, GraphModeOf(mode), index), kSampleTimeFormat);
    case 2:
      return ChannelCell(doc, mode, view, index, 0);
    case 3:
      return ChannelCell(doc, mode, view, index, 1);
    default:
      return {};
  }
}

std::string DataListCaption(DisplayMode mode) {
  return std::string(ModeName(mode)) + " Data List";
}

std::int64_t TrListRowCount(const CDTDoc& doc) {
  // Never more rows than trigger times.
  return std::clamp<std::int64_t>(doc.trCount, 0, static_cast<std::int64_t>(doc.trTimes.size()));
}

std::string TrListCell(const CDTDoc& doc, std::int64_t row, int column) {
  if (row < 0 || row >= TrListRowCount(doc)) return {};
  switch (column) {
    case 0:
      return std::to_string(row + 1);
    case 1:
      return FormatTime(doc.trTimes[static_cast<std::size_t>(row)], kSampleTimeFormat);
    default:
      return {};
  }
}

std::string DataListCopyText(const CDTDoc& doc, DisplayMode mode, const DisplaySetup& view,
                             std::vector<std::int64_t> rows) {
  std::vector<int> columns;
  for (int c = 0; c < kDataListColumns; ++c) {
    if (ColumnUsed(mode, view, c)) columns.push_back(c);
  }
  const auto titles = DataListColumns(mode);
  return TabSeparatedRows(
      columns, std::move(rows), DataListRowCount(doc, mode),
      [&](int c) { return std::string(titles[static_cast<std::size_t>(c)].title); },
      [&](std::int64_t row, int c) { return DataListCell(doc, mode, view, row, c); });
}

std::string TrListCopyText(const CDTDoc& doc, std::vector<std::int64_t> rows) {
  // The third column has no title and never a value.
  return TabSeparatedRows(
      {0, 1}, std::move(rows), TrListRowCount(doc),
      [](int c) { return std::string(kTrColumns[static_cast<std::size_t>(c)].title); },
      [&](std::int64_t row, int c) { return TrListCell(doc, row, c); });
}

bool DataListOutdated(DisplayMode mode, const DisplaySetup& listed, const DisplaySetup& now) {
  if (mode == DisplayMode::StoreTr && TrOffset(listed) != TrOffset(now)) return true;
  return listed.plotCh1 != now.plotCh1 || listed.plotCh2 != now.plotCh2 ||
         listed.ch1UnitText != now.ch1UnitText || listed.ch2UnitText != now.ch2UnitText;
}

std::int64_t DataListRowOfPoint(const CDTDoc& doc, DisplayMode mode, const DisplaySetup& view,
                                std::int64_t point) {
  const std::int64_t row = mode == DisplayMode::StoreTr ? point - TrOffset(view) : point;
  return row >= 0 && row < DataListRowCount(doc, mode) ? row : -1;
}

std::int64_t GraphPointOfRow(const CDTDoc& doc, DisplayMode mode, const DisplaySetup& view,
                             std::int64_t row) {
  if (row < 0 || row >= DataListRowCount(doc, mode)) return -1;
  return DataIndex(mode, view, row);
}

std::int64_t DataListText::RowCount() const {
  return DataListRowCount(doc_, mode_);
}

std::vector<std::string> DataListText::Headers() const {
  std::vector<std::string> titles;
  for (const ListColumn& column : DataListColumns(mode_)) titles.emplace_back(column.title);
  return titles;
}

std::string DataListText::Cell(std::int64_t row, int column) const {
  return DataListCell(doc_, mode_, view_, row, column);
}

}  // namespace acv
