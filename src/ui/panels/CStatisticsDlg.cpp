#include "ui/panels/CStatisticsDlg.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

namespace acv {

CStatisticsDlg::CStatisticsDlg(QWidget* owner) : ToolWindow(owner), text_(new QLabel(this)) {
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
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
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
