#include "ui/panels/CLibraryDlg.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "frame/LibraryWindowRules.h"

namespace acv {
namespace {

QTableWidget* MakeTable(QWidget* parent, const char* name, QAbstractItemView::SelectionMode mode) {
  auto* table = new QTableWidget(parent);
  table->setObjectName(QString::fromLatin1(name));
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->setSelectionMode(mode);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setWordWrap(false);
  table->verticalHeader()->hide();
  table->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  table->horizontalHeader()->setHighlightSections(false);
  table->horizontalHeader()->setStretchLastSection(true);
  return table;
}

// The whole value of a cell that shows less of it.
constexpr int kWholeValue = Qt::UserRole + 1;

void Fill(QTableWidget* table, const std::vector<std::string>& columns,
          const std::vector<std::vector<std::string>>& rows) {
  table->clearContents();
  table->setColumnCount(static_cast<int>(columns.size()));
  QStringList titles;
  for (const std::string& c : columns) titles << QString::fromStdString(c);
  table->setHorizontalHeaderLabels(titles);
  table->setRowCount(static_cast<int>(rows.size()));
  for (std::size_t r = 0; r < rows.size(); ++r) {
    for (std::size_t c = 0; c < rows[r].size() && c < columns.size(); ++c) {
      const std::string& value = rows[r][c];
      const std::string shown = ShownCell(columns[c], value);
      auto* item = new QTableWidgetItem(QString::fromStdString(shown));
      if (shown != value) {
        item->setToolTip(QString::fromStdString(value));
        item->setData(kWholeValue, QString::fromStdString(value));
      }
      table->setItem(static_cast<int>(r), static_cast<int>(c), item);
    }
  }
  table->resizeColumnsToContents();
}

QString Cell(const QTableWidget* table, int row, int column) {
  const QTableWidgetItem* item = table->item(row, column);
  if (item == nullptr) return {};
  const QVariant whole = item->data(kWholeValue);
  return whole.isValid() ? whole.toString() : item->text();
}

std::vector<int> SelectedRows(const QTableWidget* table) {
  std::vector<int> rows;
  for (const QModelIndex& index : table->selectionModel()->selectedRows()) {
    rows.push_back(index.row());
  }
  std::sort(rows.begin(), rows.end());
  return rows;
}

}  // namespace

CLibraryDlg::CLibraryDlg(QWidget* owner)
    : ToolWindow(owner),
      location_(new QLabel(this)),
      sites_(MakeTable(this, "librarySites", QAbstractItemView::SingleSelection)),
      measurements_(MakeTable(this, "libraryMeasurements", QAbstractItemView::ExtendedSelection)),
      add_(new QPushButton(QStringLiteral("&Add"), this)),
      remove_(new QPushButton(QStringLiteral("&Remove"), this)),
      site_(new QPushButton(QStringLiteral("&Site..."), this)),
      open_(new QPushButton(QStringLiteral("&Open"), this)),
      timeline_(new QPushButton(QStringLiteral("&Timeline"), this)),
      compliance_(new QPushButton(QStringLiteral("Com&pliance"), this)),
      compare_(new QPushButton(QStringLiteral("Co&mpare..."), this)) {
  setObjectName(QStringLiteral("libraryWindow"));
  setWindowTitle(QStringLiteral("Library"));
  location_->setObjectName(QStringLiteral("libraryLocation"));
  location_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  location_->setWordWrap(true);

  // The data on show, or data files: a choice under the one button.
  add_->setObjectName(QStringLiteral("libraryAdd"));
  auto* addMenu = new QMenu(add_);
  addMenu->addAction(QStringLiteral("The &Data on Show"), this, &CLibraryDlg::addShownRequested);
  addMenu->addAction(QStringLiteral("Data &Files..."), this, &CLibraryDlg::addFilesRequested);
  add_->setMenu(addMenu);
  const std::pair<QPushButton*, void (CLibraryDlg::*)()> buttons[] = {
      {remove_, &CLibraryDlg::removeRequested},
      {site_, &CLibraryDlg::editSiteRequested},
      {open_, &CLibraryDlg::openRequested},
      {timeline_, &CLibraryDlg::timelineRequested},
      {compliance_, &CLibraryDlg::complianceRequested},
      {compare_, &CLibraryDlg::compareRequested}};
  for (const auto& [button, signal] : buttons) connect(button, &QPushButton::clicked, this, signal);
  remove_->setObjectName(QStringLiteral("libraryRemove"));
  site_->setObjectName(QStringLiteral("librarySite"));
  open_->setObjectName(QStringLiteral("libraryOpen"));
  timeline_->setObjectName(QStringLiteral("libraryTimeline"));
  compliance_->setObjectName(QStringLiteral("libraryCompliance"));
  compare_->setObjectName(QStringLiteral("libraryCompare"));
  remove_->setToolTip(QStringLiteral("Remove the measurement chosen from the library"));
  site_->setToolTip(QStringLiteral("The site's nominal voltage, frequency, scaling and notes"));
  open_->setToolTip(QStringLiteral("Show the measurement chosen as data, as a file would be"));
  timeline_->setToolTip(QStringLiteral("Show the site's measurements as one timeline"));
  compliance_->setToolTip(QStringLiteral("The site's weekly verdict, in the print preview"));
  compare_->setToolTip(QStringLiteral("Compare two spans of the site"));

  connect(sites_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
    UpdateButtons();
    if (filling_) return;
    if (!SelectedRows(sites_).empty()) copyFrom_ = sites_;
    emit siteChosen();
  });
  connect(measurements_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
    UpdateButtons();
    if (!filling_ && !SelectedRows(measurements_).empty()) copyFrom_ = measurements_;
  });
  connect(measurements_, &QTableWidget::cellDoubleClicked, this, &CLibraryDlg::openRequested);

  auto* lists = new QSplitter(Qt::Vertical, this);
  lists->addWidget(sites_);
  lists->addWidget(measurements_);
  lists->setStretchFactor(0, 1);
  lists->setStretchFactor(1, 2);
  auto* row = new QHBoxLayout;
  for (QPushButton* b : {add_, remove_, site_, open_, timeline_, compliance_, compare_}) {
    b->setAutoDefault(false);
    row->addWidget(b);
  }
  row->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->addWidget(location_);
  layout->addWidget(lists, 1);
  layout->addLayout(row);

  setContextMenuPolicy(Qt::ActionsContextMenu);
  auto* copy = new QAction(QStringLiteral("Copy"), this);
  copy->setObjectName(QStringLiteral("copyLibraryAction"));
  copy->setShortcut(QKeySequence::Copy);
  copy->setShortcutContext(Qt::WindowShortcut);
  connect(copy, &QAction::triggered, this, &CLibraryDlg::CopySelection);
  addAction(copy);
  auto* reload = new QAction(QStringLiteral("Read Again"), this);
  reload->setShortcut(QKeySequence::Refresh);
  reload->setShortcutContext(Qt::WindowShortcut);
  connect(reload, &QAction::triggered, this, &CLibraryDlg::reloadRequested);
  addAction(reload);
  UpdateButtons();
  resize(860, 520);
}

void CLibraryDlg::SetLocation(const QString& text) {
  location_->setText(text);
}

void CLibraryDlg::SetSites(const std::vector<std::string>& columns,
                           const std::vector<std::vector<std::string>>& rows) {
  const std::string chosen = ChosenSite();
  filling_ = true;
  Fill(sites_, columns, rows);
  // The site stays chosen; a library with one site has it chosen at once.
  // The caller lists its measurements.
  ChooseSite(!chosen.empty() ? chosen : rows.size() == 1 ? rows[0][0] : std::string());
  filling_ = false;
}

void CLibraryDlg::SetMeasurements(const std::vector<std::string>& columns,
                                  const std::vector<std::vector<std::string>>& rows) {
  const std::vector<std::int64_t> selected = SelectedMeasurements();
  filling_ = true;
  Fill(measurements_, columns, rows);
  if (!selected.empty()) SelectMeasurement(selected.front());
  filling_ = false;
  UpdateButtons();
}

std::string CLibraryDlg::ChosenSite() const {
  const std::vector<int> rows = SelectedRows(sites_);
  return rows.empty() ? std::string() : Cell(sites_, rows.front(), 0).toStdString();
}

void CLibraryDlg::ChooseSite(const std::string& name) {
  for (int r = 0; r < sites_->rowCount(); ++r) {
    if (Cell(sites_, r, 0).toStdString() == name) {
      sites_->selectRow(r);
      return;
    }
  }
  sites_->clearSelection();
}

std::vector<std::int64_t> CLibraryDlg::SelectedMeasurements() const {
  std::vector<std::int64_t> ids;
  const int current = measurements_->currentRow();
  const std::vector<int> rows = SelectedRows(measurements_);
  if (std::find(rows.begin(), rows.end(), current) != rows.end()) {
    ids.push_back(Cell(measurements_, current, 0).toLongLong());
  }
  for (const int r : rows) {
    if (r != current) ids.push_back(Cell(measurements_, r, 0).toLongLong());
  }
  return ids;
}

void CLibraryDlg::SelectMeasurement(std::int64_t id) {
  for (int r = 0; r < measurements_->rowCount(); ++r) {
    if (Cell(measurements_, r, 0).toLongLong() == id) {
      measurements_->selectRow(r);
      return;
    }
  }
}

std::string CLibraryDlg::CurrentKind() const {
  const std::vector<std::int64_t> ids = SelectedMeasurements();
  if (ids.empty()) return {};
  for (int r = 0; r < measurements_->rowCount(); ++r) {
    if (Cell(measurements_, r, 0).toLongLong() == ids.front())
      return Cell(measurements_, r, 2).toStdString();
  }
  return {};
}

QString CLibraryDlg::SelectionText() const {
  const QTableWidget* table = copyFrom_ != nullptr ? copyFrom_ : sites_;
  std::vector<std::string> columns;
  for (int c = 0; c < table->columnCount(); ++c) {
    const QTableWidgetItem* title = table->horizontalHeaderItem(c);
    columns.push_back(title != nullptr ? title->text().toStdString() : std::string());
  }
  std::vector<std::vector<std::string>> rows;
  for (const int r : SelectedRows(table)) {
    std::vector<std::string> cells;
    cells.reserve(static_cast<std::size_t>(table->columnCount()));
    for (int c = 0; c < table->columnCount(); ++c) cells.push_back(Cell(table, r, c).toStdString());
    rows.push_back(std::move(cells));
  }
  if (rows.empty()) return {};
  return QString::fromStdString(RowsCopyText(columns, rows));
}

void CLibraryDlg::CopySelection() const {
  const QString text = SelectionText();
  if (!text.isEmpty()) QApplication::clipboard()->setText(text);
}

void CLibraryDlg::EnableTimeline(bool enabled) {
  timelineOffered_ = enabled;
  UpdateButtons();
}

void CLibraryDlg::EnableCompliance(bool enabled) {
  complianceOffered_ = enabled;
  UpdateButtons();
}

void CLibraryDlg::EnableCompare(bool enabled) {
  compareOffered_ = enabled;
  UpdateButtons();
}

void CLibraryDlg::UpdateButtons() {
  const bool site = !SelectedRows(sites_).empty();
  const bool measurement = !SelectedRows(measurements_).empty();
  remove_->setEnabled(measurement);
  open_->setEnabled(measurement);
  site_->setEnabled(site);
  timeline_->setEnabled(site && timelineOffered_);
  compliance_->setEnabled(site && complianceOffered_);
  compare_->setEnabled(site && compareOffered_);
}

void CLibraryDlg::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    close();
    return;
  }
  ToolWindow::keyPressEvent(event);
}

}  // namespace acv
