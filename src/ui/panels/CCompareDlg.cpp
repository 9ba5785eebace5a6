#include "ui/panels/CCompareDlg.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace acv {

CCompareDlg::CCompareDlg(const std::string& site, std::vector<CompareSpan> spans, QWidget* owner)
    : ToolWindow(owner),
      site_(site),
      spans_(std::move(spans)),
      a_(new QComboBox(this)),
      b_(new QComboBox(this)),
      figures_(new QPlainTextEdit(this)) {
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
  connect(compare, &QPushButton::clicked, this, &CCompareDlg::compareRequested);
  connect(copy, &QPushButton::clicked, this, &CCompareDlg::CopyText);

  auto* grid = new QGridLayout;
  grid->addWidget(new QLabel(QStringLiteral("Span &A (before):"), this), 0, 0);
  grid->addWidget(a_, 0, 1);
  grid->addWidget(new QLabel(QStringLiteral("Span &B (after):"), this), 1, 0);
  grid->addWidget(b_, 1, 1);
  grid->addWidget(compare, 0, 2);
  grid->addWidget(copy, 1, 2);
  grid->setColumnStretch(1, 1);
  static_cast<QLabel*>(grid->itemAtPosition(0, 0)->widget())->setBuddy(a_);
  static_cast<QLabel*>(grid->itemAtPosition(1, 0)->widget())->setBuddy(b_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->addLayout(grid);
  layout->addWidget(figures_, 1);

  auto* copyAction = new QAction(QStringLiteral("Copy"), this);
  copyAction->setShortcut(QKeySequence::Copy);
  copyAction->setShortcutContext(Qt::WindowShortcut);
  connect(copyAction, &QAction::triggered, this, &CCompareDlg::CopyText);
  addAction(copyAction);
  resize(900, 560);
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
  QStringList text;
  for (const std::string& line : lines) text << QString::fromStdString(line);
  figures_->setPlainText(text.join('\n'));
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
