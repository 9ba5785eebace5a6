#include "ui/dialogs/SettingsDialogBase.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPalette>
#include <QVBoxLayout>

#include "ui/dialogs/ButtonArt.h"
#include "ui/dialogs/LoggerDialogBase.h"

namespace acv {

SettingsDialogBase::SettingsDialogBase(const QString& title, QWidget* parent)
    : QDialog(parent),
      body_(new QVBoxLayout),
      ok_(new PictureButton(QStringLiteral("OK"), this)),
      cancel_(new PictureButton(QStringLiteral("Cancel"), this)) {
  setWindowTitle(title);
  QPalette grey = palette();
  grey.setColor(QPalette::Window, QColor(kDialogGrey, kDialogGrey, kDialogGrey));
  setPalette(grey);
  setAutoFillBackground(true);
  ok_->setObjectName(QStringLiteral("okButton"));
  cancel_->setObjectName(QStringLiteral("cancelButton"));
  ok_->setDefault(true);
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok_);
  buttons->addSpacing(20);
  buttons->addWidget(cancel_);
  buttons->addStretch(1);
  auto* outer = new QVBoxLayout(this);
  outer->addLayout(body_);
  outer->addSpacing(10);
  outer->addLayout(buttons);
}

QGroupBox* SettingsDialogBase::Group(const QString& title, const QString& objectName) {
  auto* group = new QGroupBox(title, this);
  group->setObjectName(objectName);
  QFont heading;
  heading.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
  heading.setPixelSize(14);
  heading.setWeight(QFont::Medium);
  heading.setBold(true);
  group->setFont(heading);
  return group;
}

}  // namespace acv

namespace acv {

void SettingsDialogBase::PlainFontInside(QGroupBox* group) {
  // Every attribute set explicitly: an attribute left unset would be taken
  // from the bold heading font of the group.
  QFont plain = font();
  plain.setFamilies(font().families());
  plain.setWeight(QFont::Normal);
  plain.setBold(false);
  plain.setPointSizeF(font().pointSizeF());
  for (QWidget* child : group->findChildren<QWidget*>()) child->setFont(plain);
}

}  // namespace acv
