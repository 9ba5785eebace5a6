#include "ui/panels/CDistributionDlg.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "graph/DistributionPainter.h"

namespace acv {

class CDistributionDlg::Plots : public QWidget {
 public:
  explicit Plots(CDistributionDlg* window) : QWidget(window), window_(window) {
    setObjectName(QStringLiteral("distributionPlots"));
    setMinimumSize(560, 280);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    PaintDistribution(p, rect(), window_->figures_, window_->colours_);
  }

 private:
  CDistributionDlg* window_;
};

CDistributionDlg::CDistributionDlg(QWidget* owner)
    : ToolWindow(owner), heading_(new QLabel(this)), plots_(new Plots(this)) {
  setObjectName(QStringLiteral("distributionWindow"));
  setWindowTitle(QStringLiteral("Distribution"));
  heading_->setObjectName(QStringLiteral("distributionHeading"));
  heading_->setTextFormat(Qt::PlainText);
  heading_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* copy = new QPushButton(QStringLiteral("&Copy"), this);
  auto* print = new QPushButton(QStringLiteral("&Print..."), this);
  auto* pdf = new QPushButton(QStringLiteral("P&DF..."), this);
  for (QPushButton* b : {copy, print, pdf}) b->setAutoDefault(false);
  connect(copy, &QPushButton::clicked, this, &CDistributionDlg::CopyText);
  connect(print, &QPushButton::clicked, this, &CDistributionDlg::printRequested);
  connect(pdf, &QPushButton::clicked, this, &CDistributionDlg::pdfRequested);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(copy);
  buttons->addWidget(print);
  buttons->addWidget(pdf);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->addWidget(heading_);
  layout->addWidget(plots_, 1);
  layout->addLayout(buttons);

  auto* copyAction = new QAction(QStringLiteral("Copy"), this);
  copyAction->setShortcut(QKeySequence::Copy);
  copyAction->setShortcutContext(Qt::WindowShortcut);
  connect(copyAction, &QAction::triggered, this, &CDistributionDlg::CopyText);
  addAction(copyAction);
  resize(980, 620);
}

void CDistributionDlg::Show(DistributionFigures figures, const PlotColours& colours) {
  figures_ = std::move(figures);
  colours_ = colours;
  QStringList lines;
  for (const std::string& line : DistributionHeading(figures_))
    lines << QString::fromStdString(line);
  heading_->setText(lines.join('\n'));
  plots_->update();
}

QString CDistributionDlg::Text() const {
  if (figures_.span.Empty() || figures_.Empty()) return {};
  return QString::fromStdString(DistributionText(figures_));
}

void CDistributionDlg::CopyText() const {
  const QString text = Text();
  if (!text.isEmpty()) QApplication::clipboard()->setText(text);
}

void CDistributionDlg::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    close();
    return;
  }
  ToolWindow::keyPressEvent(event);
}

}  // namespace acv
