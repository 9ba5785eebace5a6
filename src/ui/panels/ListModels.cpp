#include "ui/panels/ListModels.h"

#include <algorithm>
#include <array>
#include <limits>

#include "analysis/AnalysisText.h"

namespace acv {
namespace {

int ClampRows(std::int64_t rows) {
  return static_cast<int>(std::clamp<std::int64_t>(rows, 0, std::numeric_limits<int>::max()));
}

QVariant Title(std::span<const ListColumn> columns, int section, Qt::Orientation orientation,
               int role) {
  if (orientation != Qt::Horizontal || section < 0 ||
      static_cast<std::size_t>(section) >= columns.size()) {
    return {};
  }
  if (role == Qt::DisplayRole) {
    return QString::fromLatin1(columns[static_cast<std::size_t>(section)].title);
  }
  if (role == Qt::TextAlignmentRole) return int(Qt::AlignLeft | Qt::AlignVCenter);
  return {};
}

}  // namespace

DataListModel::DataListModel(const CDTDoc& doc, QObject* parent)
    : QAbstractTableModel(parent), doc_(doc) {}

int DataListModel::CurrentRows() const {
  return ClampRows(DataListRowCount(doc_, mode_));
}

void DataListModel::Rebuild(DisplayMode mode, const DisplaySetup& view) {
  beginResetModel();
  mode_ = mode;
  view_ = view;
  rows_ = CurrentRows();
  endResetModel();
}

bool DataListModel::TakeNewRows() {
  const int rows = CurrentRows();
  if (rows == rows_) return false;
  if (rows < rows_) {
    // Fewer rows means other data: list them afresh.
    Rebuild(mode_, view_);
    return false;
  }
  beginInsertRows({}, rows_, rows - 1);
  rows_ = rows;
  endInsertRows();
  return true;
}

void DataListModel::RefreshAll() {
  if (rows_ > 0) emit dataChanged(index(0, 0), index(rows_ - 1, kDataListColumns - 1));
}

int DataListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : rows_;
}

int DataListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kDataListColumns;
}

QVariant DataListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  if (role == Qt::DisplayRole) {
    return QString::fromStdString(DataListCell(doc_, mode_, view_, index.row(), index.column()));
  }
  if (role == Qt::TextAlignmentRole) return int(Qt::AlignLeft | Qt::AlignVCenter);
  return {};
}

QVariant DataListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  return Title(DataListColumns(mode_), section, orientation, role);
}

TrListModel::TrListModel(const CDTDoc& doc, QObject* parent)
    : QAbstractTableModel(parent), doc_(doc) {
  rows_ = ClampRows(TrListRowCount(doc_));
}

void TrListModel::Rebuild() {
  beginResetModel();
  rows_ = ClampRows(TrListRowCount(doc_));
  endResetModel();
}

int TrListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : rows_;
}

int TrListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kTrListColumns;
}

QVariant TrListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  if (role == Qt::DisplayRole) {
    return QString::fromStdString(TrListCell(doc_, index.row(), index.column()));
  }
  if (role == Qt::TextAlignmentRole) return int(Qt::AlignLeft | Qt::AlignVCenter);
  return {};
}

QVariant TrListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  return Title(TrListColumns(), section, orientation, role);
}

// ---- event list ----------------------------------------------------------------

namespace {
// No., Kind, Channel, First, Last, Start, End, Duration, Extreme, Open.
constexpr std::array<int, 10> kEventWidths{50, 95, 65, 65, 65, 135, 135, 80, 95, 50};
}  // namespace

std::span<const int> EventListWidths() {
  return kEventWidths;
}

EventListModel::EventListModel(QObject* parent)
    : QAbstractTableModel(parent), titles_(EventTableHeaders()) {}

void EventListModel::SetEvents(std::vector<Event> events) {
  beginResetModel();
  events_ = std::move(events);
  cachedRow_ = -1;
  endResetModel();
}

int EventListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : ClampRows(static_cast<std::int64_t>(events_.size()));
}

int EventListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(titles_.size());
}

QVariant EventListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  if (role == Qt::DisplayRole) {
    if (index.row() != cachedRow_) {
      cachedRow_ = index.row();
      cachedCells_ = EventTableCells(
          index.row() + 1, events_[static_cast<std::size_t>(index.row())], kSampleTimeFormat);
    }
    const auto column = static_cast<std::size_t>(index.column());
    return column < cachedCells_.size() ? QString::fromStdString(cachedCells_[column]) : QString();
  }
  if (role == Qt::TextAlignmentRole) return int(Qt::AlignLeft | Qt::AlignVCenter);
  return {};
}

QVariant EventListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) return {};
  if (role == Qt::DisplayRole) {
    return QString::fromStdString(titles_[static_cast<std::size_t>(section)]);
  }
  if (role == Qt::TextAlignmentRole) return int(Qt::AlignLeft | Qt::AlignVCenter);
  return {};
}

}  // namespace acv
