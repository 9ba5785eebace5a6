#include "ui/Prompter.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QStringList>
#include <algorithm>

#include "ui/AppInfo.h"
#include "ui/dialogs/CAddToLibraryDlg.h"

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

Answer DialogPrompter::AskYesNoCancel(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::Question, QString::fromUtf8(kAppCaption), text,
                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
  box.setDefaultButton(QMessageBox::Yes);
  box.setEscapeButton(QMessageBox::Cancel);
  switch (box.exec()) {
    case QMessageBox::Yes:
      return Answer::Yes;
    case QMessageBox::No:
      return Answer::No;
    default:
      return Answer::Cancel;
  }
}

QString DialogPrompter::SaveFileName(QWidget* parent, const QString& proposedName, SaveKind kind) {
  const std::vector<SaveFilter> filters = SaveFiltersFor(kind);
  QStringList labels;
  for (const SaveFilter& f : filters) labels << QString::fromStdString(f.label);
  QFileDialog dialog(parent, QStringLiteral("Save As"),
                     lastFolder_.isEmpty() ? QDir::homePath() : lastFolder_);
  dialog.setNameFilters(labels);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  // The dialog's own question would name the typed name, not the file the
  // extension rule makes of it; it is asked below about the real one.
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.selectFile(proposedName);
  for (;;) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    const QString chosen = dialog.selectedFiles().constFirst();
    const auto filter = static_cast<std::size_t>(
        std::max<qsizetype>(0, labels.indexOf(dialog.selectedNameFilter())));
    QString target = QString::fromStdString(SaveTargetFor(kind, chosen.toStdString(), filter));
    const QFileInfo info(target);
    if (info.exists() || info.isSymLink()) {
      QMessageBox box(
          QMessageBox::Warning, QStringLiteral("Confirm Save As"),
          QStringLiteral("%1 already exists.\nDo you want to replace it?").arg(info.fileName()),
          QMessageBox::Yes | QMessageBox::No, parent);
      box.setDefaultButton(QMessageBox::No);
      if (box.exec() != QMessageBox::Yes) {
        dialog.selectFile(chosen);
        continue;
      }
    }
    lastFolder_ = info.absolutePath();
    return target;
  }
}

QString DialogPrompter::OpenFileName(QWidget* parent, const QString& filter) {
  QString chosen =
      QFileDialog::getOpenFileName(parent, QStringLiteral("Open"),
                                   lastFolder_.isEmpty() ? QDir::homePath() : lastFolder_, filter);
  if (!chosen.isEmpty()) lastFolder_ = QFileInfo(chosen).absolutePath();
  return chosen;
}

QStringList Prompter::OpenFileNames(QWidget* parent, const QString& filter) {
  const QString one = OpenFileName(parent, filter);
  return one.isEmpty() ? QStringList() : QStringList{one};
}

QStringList DialogPrompter::OpenFileNames(QWidget* parent, const QString& filter) {
  QStringList chosen =
      QFileDialog::getOpenFileNames(parent, QStringLiteral("Add to Library"),
                                    lastFolder_.isEmpty() ? QDir::homePath() : lastFolder_, filter);
  if (!chosen.isEmpty()) lastFolder_ = QFileInfo(chosen.front()).absolutePath();
  return chosen;
}

std::optional<LibrarySiteOffer> DialogPrompter::ChooseLibrarySite(QWidget* parent,
                                                                  const LibrarySiteOffer& offer) {
  CAddToLibraryDlg dialog(offer, parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Choice();
}

std::optional<QString> DialogPrompter::ChooseItem(QWidget* parent, const QString& title,
                                                  const QString& label, const QStringList& items) {
  bool ok = false;
  const QString chosen = QInputDialog::getItem(parent, title, label, items, 0, false, &ok);
  if (!ok || chosen.isEmpty()) return std::nullopt;
  return chosen;
}

}  // namespace acv
