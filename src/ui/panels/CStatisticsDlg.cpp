#include "ui/panels/CStatisticsDlg.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace acv {

CStatisticsDlg::CStatisticsDlg(QWidget* owner)
    : ToolWindow(owner),
      text_(new QLabel(this)),
      between_(new QRadioButton(QStringLiteral("&Between A and B"), this)),
      visible_(new QRadioButton(QStringLiteral("&Visible span"), this)) {
  setObjectName(QStringLiteral("statisticsWindow"));
  setWindowTitle(QStringLiteral("Statistics"));
  text_->setObjectName(QStringLiteral("statisticsText"));
  // Columns of figures line up only in a fixed-pitch font.
  text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  text_->setTextFormat(Qt::PlainText);
  text_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  text_->setAutoFillBackground(true);
  QPalette white = text_->palette();
  white.setColor(QPalette::Window, Qt::white);
  text_->setPalette(white);
  between_->setObjectName(QStringLiteral("betweenMarkersChoice"));
  visible_->setObjectName(QStringLiteral("visibleSpanChoice"));
  between_->setEnabled(false);
  visible_->setChecked(true);
  connect(between_, &QRadioButton::clicked, this, &CStatisticsDlg::spanChoiceChanged);
  connect(visible_, &QRadioButton::clicked, this, &CStatisticsDlg::spanChoiceChanged);
  auto* choice = new QHBoxLayout;
  choice->setContentsMargins(8, 4, 8, 4);
  choice->addWidget(between_);
  choice->addWidget(visible_);
  choice->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addLayout(choice);
  layout->addWidget(text_);
  text_->setContentsMargins(8, 6, 8, 6);

  setContextMenuPolicy(Qt::ActionsContextMenu);
  auto* copy = new QAction(QStringLiteral("Copy"), this);
  copy->setObjectName(QStringLiteral("copyStatisticsAction"));
  copy->setShortcut(QKeySequence::Copy);
  copy->setShortcutContext(Qt::WindowShortcut);
  connect(copy, &QAction::triggered, this, &CStatisticsDlg::CopyText);
  addAction(copy);
}

void CStatisticsDlg::ShowText(const QString& text) {
  if (text_->text() == text) return;
  text_->setText(text);
}

void CStatisticsDlg::SetBetweenAvailable(bool available) {
  if (between_->isEnabled() == available) return;
  between_->setEnabled(available);
  (available ? between_ : visible_)->setChecked(true);
}

bool CStatisticsDlg::BetweenChosen() const {
  return between_->isEnabled() && between_->isChecked();
}

QString CStatisticsDlg::Text() const {
  return text_->text();
}

void CStatisticsDlg::CopyText() const {
  QApplication::clipboard()->setText(Text());
}

void CStatisticsDlg::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    close();
    return;
  }
  ToolWindow::keyPressEvent(event);
}

}  // namespace acv
