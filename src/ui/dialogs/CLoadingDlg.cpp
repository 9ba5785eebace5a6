#include "ui/dialogs/CLoadingDlg.h"

#include <QCloseEvent>
#include <QProgressBar>
#include <QVBoxLayout>
#include <algorithm>

namespace acv {

namespace {
// The window's client area: 128 x 12 dialog units of the 8-point dialog font.
constexpr int kClientWidth = 192;
constexpr int kClientHeight = 20;
}  // namespace

CLoadingDlg::CLoadingDlg(QWidget* parent) : QDialog(parent), bar_(new QProgressBar(this)) {
  setObjectName(QStringLiteral("CLoadingDlg"));
  setWindowTitle(QStringLiteral("Loading..."));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  setModal(false);
  bar_->setObjectName(QStringLiteral("1153"));
  bar_->setTextVisible(false);
  bar_->setRange(0, 100);
  bar_->setValue(0);
  auto* fill = new QVBoxLayout(this);
  fill->setContentsMargins(0, 0, 0, 0);
  fill->addWidget(bar_);
  setFixedSize(kClientWidth, kClientHeight);
}

void CLoadingDlg::Begin(int rangeMax, int position) {
  SetRange(rangeMax);
  SetPosition(position);
  show();
}

void CLoadingDlg::SetRange(int rangeMax) {
  bar_->setRange(0, std::max(rangeMax, 0));
}

void CLoadingDlg::SetPosition(int position) {
  bar_->setValue(std::clamp(position, bar_->minimum(), bar_->maximum()));
}

int CLoadingDlg::Position() const {
  return bar_->value();
}

int CLoadingDlg::Maximum() const {
  return bar_->maximum();
}

void CLoadingDlg::Finish() {
  finishing_ = true;
  close();
  finishing_ = false;
}

void CLoadingDlg::PlaceOver(const QRect& viewGlobalRect) {
  move(viewGlobalRect.left() + (viewGlobalRect.width() - width()) / 2,
       viewGlobalRect.top() + 4 * height());
}

void CLoadingDlg::closeEvent(QCloseEvent* event) {
  if (finishing_)
    event->accept();
  else
    event->ignore();
}

}  // namespace acv
