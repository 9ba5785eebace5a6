#pragma once
// Table models of the list windows. The Data List model holds no row: it
// knows its row count and the display it lists, and data() asks the list
// rules (frame/DataLists) for each cell the view paints. The event list holds
// its events (a few thousand at most) and makes a row's texts when painted.
#include <QAbstractTableModel>
#include <vector>

#include "analysis/Events.h"
#include "data/CDTDoc.h"
#include "frame/DataLists.h"

namespace acv {

class DataListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit DataListModel(const CDTDoc& doc, QObject* parent = nullptr);

  // Lists the display afresh: columns, titles and row count.
  void Rebuild(DisplayMode mode, const DisplaySetup& view);
  // The data set grew (a real-time point): rows are appended, nothing else
  // changes. Returns true when rows were added.
  bool TakeNewRows();
  // Every cell may read differently (the real-time wave was replaced).
  void RefreshAll();

  DisplayMode Mode() const { return mode_; }
  const DisplaySetup& View() const { return view_; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  int CurrentRows() const;

  const CDTDoc& doc_;
  DisplayMode mode_ = DisplayMode::None;
  DisplaySetup view_;
  int rows_ = 0;
};

class TrListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit TrListModel(const CDTDoc& doc, QObject* parent = nullptr);

  // The records changed (a download or a load): count them again.
  void Rebuild();

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  const CDTDoc& doc_;
  int rows_ = 0;
};

class EventListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit EventListModel(QObject* parent = nullptr);

  // Lists these events afresh.
  void SetEvents(std::vector<Event> events);
  const std::vector<Event>& Events() const { return events_; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  std::vector<Event> events_;
  std::vector<std::string> titles_;
  // The texts of the row painted last: a row is painted cell by cell.
  mutable int cachedRow_ = -1;
  mutable std::vector<std::string> cachedCells_;
};

// The event list's column widths, in the order of its titles.
std::span<const int> EventListWidths();

}  // namespace acv
