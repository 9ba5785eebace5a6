#include "ui/dialogs/SpinButtons.h"

#include <QKeyEvent>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "logger/CommandBuilders.h"
#include "ui/dialogs/CNumberEdit.h"

namespace acv {

namespace {

QToolButton* MakeArrow(Qt::ArrowType arrow, QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setArrowType(arrow);
  button->setAutoRepeat(true);
  button->setFocusPolicy(Qt::NoFocus);
  button->setFixedSize(18, 11);
  return button;
}

}  // namespace

SpinButtons::SpinButtons(CNumberEdit* buddy, QWidget* parent)
    : QWidget(parent),
      buddy_(buddy),
      up_(MakeArrow(Qt::UpArrow, this)),
      down_(MakeArrow(Qt::DownArrow, this)) {
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  column->addWidget(up_);
  column->addWidget(down_);
  setFixedWidth(18);
  connect(up_, &QToolButton::clicked, this, [this] { StepBy(1); });
  connect(down_, &QToolButton::clicked, this, [this] { StepBy(-1); });
  buddy_->installEventFilter(this);
}

void SpinButtons::SetRange(int lowest, int highest) {
  lowest_ = std::min(lowest, highest);
  highest_ = std::max(lowest, highest);
}

void SpinButtons::StepBy(int steps) {
  if (!isEnabled() || !buddy_->isEnabled()) return;
  const long long next =
      static_cast<long long>(ParseLeadingInt(buddy_->text().toStdString())) + steps;
  const long long value = std::clamp<long long>(next, lowest_, highest_);
  const QString text = QString::number(value);
  if (text != buddy_->text()) buddy_->setText(text);
}

bool SpinButtons::eventFilter(QObject* watched, QEvent* event) {
  if (watched == buddy_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
      StepBy(key == Qt::Key_Up ? 1 : -1);
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace acv
