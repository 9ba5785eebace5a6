#include "ui/Prompter.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "ui/AppInfo.h"

namespace acv {
namespace {

QMessageBox::Icon BoxIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Information:
      return QMessageBox::Information;
    case MessageIcon::Warning:
      return QMessageBox::Warning;
    case MessageIcon::Question:
      return QMessageBox::Question;
    case MessageIcon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

void DialogPrompter::Message(QWidget* parent, const QString& text, MessageIcon icon) {
  QMessageBox box(BoxIcon(icon), QString::fromUtf8(kAppCaption), text, QMessageBox::Ok, parent);
  box.exec();
}

bool DialogPrompter::AskYesNo(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::Question, QString::fromUtf8(kAppCaption), text,
                  QMessageBox::Yes | QMessageBox::No, parent);
  box.setDefaultButton(QMessageBox::Yes);
  return box.exec() == QMessageBox::Yes;
}

QString DialogPrompter::SaveFileName(QWidget* parent, const QString& proposedName,
                                     const QString& filter) {
  QFileDialog dialog(parent, QStringLiteral("Save As"),
                     lastFolder_.isEmpty() ? QDir::homePath() : lastFolder_, filter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix(QStringLiteral("stdata"));
  dialog.selectFile(proposedName);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  QString chosen = dialog.selectedFiles().constFirst();
  lastFolder_ = QFileInfo(chosen).absolutePath();
  return chosen;
}

QString DialogPrompter::OpenFileName(QWidget* parent, const QString& filter) {
  QString chosen =
      QFileDialog::getOpenFileName(parent, QStringLiteral("Open"),
                                   lastFolder_.isEmpty() ? QDir::homePath() : lastFolder_, filter);
  if (!chosen.isEmpty()) lastFolder_ = QFileInfo(chosen).absolutePath();
  return chosen;
}

}  // namespace acv
