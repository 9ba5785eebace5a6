#include "ui/panels/CCompareDlg.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QVBoxLayout>
#include <algorithm>

#include "graph/CompareOverlayPainter.h"

namespace acv {

class CCompareDlg::Plots : public QWidget {
 public:
  explicit Plots(CCompareDlg* window) : QWidget(window), window_(window) {
    setObjectName(QStringLiteral("compareOverlay"));
    setMinimumSize(320, 240);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    PaintCompareOverlay(p, rect(), window_->overlay_, window_->colours_, window_->note_);
  }

 private:
  CCompareDlg* window_;
};

CCompareDlg::CCompareDlg(const std::string& site, std::vector<CompareSpan> spans, QWidget* owner)
    : ToolWindow(owner),
      site_(site),
      spans_(std::move(spans)),
      plots_(new Plots(this)),
      a_(new QComboBox(this)),
      b_(new QComboBox(this)),
      figures_(new QPlainTextEdit(this)),
      split_(new QSplitter(Qt::Horizontal, this)) {
  setObjectName(QStringLiteral("compareWindow"));
  setWindowTitle(QStringLiteral("Compare - %1").arg(QString::fromStdString(site)));
  for (QComboBox* box : {a_, b_}) {
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMinimumContentsLength(44);
    for (const CompareSpan& s : spans_) {
      box->addItem(QString::fromStdString(s.label + "   " + CompareSpanText(s)));
    }
    box->lineEdit()->setPlaceholderText(QStringLiteral("2026-03-02T00:00:00..2026-03-08T23:59:59"));
  }
  a_->setObjectName(QStringLiteral("spanA"));
  b_->setObjectName(QStringLiteral("spanB"));
  // Before and after: the last two spans offered, the site's last weeks.
  if (spans_.size() >= 2) {
    a_->setCurrentIndex(static_cast<int>(spans_.size()) - 2);
    b_->setCurrentIndex(static_cast<int>(spans_.size()) - 1);
  }
  figures_->setObjectName(QStringLiteral("compareFigures"));
  figures_->setReadOnly(true);
  figures_->setLineWrapMode(QPlainTextEdit::NoWrap);
  figures_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  auto* compare = new QPushButton(QStringLiteral("C&ompare"), this);
  compare->setObjectName(QStringLiteral("compareButton"));
  compare->setDefault(true);
  auto* copy = new QPushButton(QStringLiteral("&Copy"), this);
  auto* print = new QPushButton(QStringLiteral("&Print..."), this);
  auto* preview = new QPushButton(QStringLiteral("Pr&eview..."), this);
  auto* pdf = new QPushButton(QStringLiteral("P&DF..."), this);
  print->setObjectName(QStringLiteral("comparePrint"));
  preview->setObjectName(QStringLiteral("comparePreview"));
  pdf->setObjectName(QStringLiteral("comparePdf"));
  for (QPushButton* b : {copy, print, preview, pdf}) b->setAutoDefault(false);
  // Nothing to put on a page until a comparison has run.
  pageButtons_ = {print, preview, pdf};
  for (QPushButton* b : pageButtons_) b->setEnabled(false);
  connect(compare, &QPushButton::clicked, this, &CCompareDlg::compareRequested);
  connect(copy, &QPushButton::clicked, this, &CCompareDlg::CopyText);
  connect(print, &QPushButton::clicked, this, &CCompareDlg::printRequested);
  connect(preview, &QPushButton::clicked, this, &CCompareDlg::previewRequested);
  connect(pdf, &QPushButton::clicked, this, &CCompareDlg::pdfRequested);

  auto* grid = new QGridLayout;
  grid->addWidget(new QLabel(QStringLiteral("Span &A (before):"), this), 0, 0);
  grid->addWidget(a_, 0, 1);
  grid->addWidget(new QLabel(QStringLiteral("Span &B (after):"), this), 1, 0);
  grid->addWidget(b_, 1, 1);
  grid->addWidget(compare, 0, 2);
  grid->addWidget(copy, 1, 2);
  grid->setColumnStretch(1, 1);
  auto* pages = new QHBoxLayout;
  pages->addStretch();
  for (QPushButton* b : {print, preview, pdf}) pages->addWidget(b);
  static_cast<QLabel*>(grid->itemAtPosition(0, 0)->widget())->setBuddy(a_);
  static_cast<QLabel*>(grid->itemAtPosition(1, 0)->widget())->setBuddy(b_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->addLayout(grid);
  // The figures at their width, the overlay taking what is left.
  split_->setChildrenCollapsible(false);
  split_->addWidget(figures_);
  split_->addWidget(plots_);
  split_->setStretchFactor(1, 1);
  split_->setSizes({500, 600});
  layout->addWidget(split_, 1);
  layout->addLayout(pages);

  auto* copyAction = new QAction(QStringLiteral("Copy"), this);
  copyAction->setShortcut(QKeySequence::Copy);
  copyAction->setShortcutContext(Qt::WindowShortcut);
  connect(copyAction, &QAction::triggered, this, &CCompareDlg::CopyText);
  addAction(copyAction);
  resize(1100, 600);
}

std::optional<CompareSpan> CCompareDlg::Chosen(int which, std::string* problem) const {
  const QComboBox* box = which == 0 ? a_ : b_;
  const int index = box->currentIndex();
  // An offered span as offered; anything else is read as FROM..TO.
  if (index >= 0 && static_cast<std::size_t>(index) < spans_.size() &&
      box->currentText() == box->itemText(index)) {
    return spans_[static_cast<std::size_t>(index)];
  }
  std::optional<CompareSpan> typed = ParseCompareSpan(box->currentText().toStdString(), problem);
  if (!typed) *problem = std::string(which == 0 ? "Span A: " : "Span B: ") + *problem;
  return typed;
}

void CCompareDlg::ChooseText(int which, const QString& text) {
  QComboBox* box = which == 0 ? a_ : b_;
  box->setCurrentIndex(-1);
  box->setEditText(text);
}

void CCompareDlg::ShowFigures(const std::vector<std::string>& lines) {
  lines_ = lines;
  QStringList text;
  for (const std::string& line : lines) text << QString::fromStdString(line);
  figures_->setPlainText(text.join('\n'));
  for (QPushButton* b : pageButtons_) b->setEnabled(!lines.empty());
  // Wide enough for the table below the heading lines where the window
  // allows, so the B - A column is in sight without scrolling; the overlay
  // keeps the rest.
  int widest = 0;
  const qsizetype table = text.indexOf(QString());
  for (qsizetype i = table < 0 ? 0 : table; i < text.size(); ++i) {
    widest = std::max(widest, figures_->fontMetrics().horizontalAdvance(text[i]));
  }
  const int total = split_->width();
  const int wanted =
      widest + 2 * figures_->frameWidth() + figures_->verticalScrollBar()->sizeHint().width() + 16;
  const int width = std::min(wanted, total - plots_->minimumWidth());
  if (width > 0) split_->setSizes({width, total - width});
}

void CCompareDlg::ShowOverlay(CompareOverlay overlay, const PlotColours& colours,
                              std::string note) {
  overlay_ = std::move(overlay);
  colours_ = colours;
  note_ = std::move(note);
  plots_->update();
}

QString CCompareDlg::Text() const {
  return figures_->toPlainText();
}

void CCompareDlg::CopyText() const {
  if (!Text().isEmpty()) QApplication::clipboard()->setText(Text() + '\n');
}

void CCompareDlg::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    close();
    return;
  }
  ToolWindow::keyPressEvent(event);
}

}  // namespace acv
