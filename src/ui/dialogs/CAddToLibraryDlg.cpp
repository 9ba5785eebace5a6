#include "ui/dialogs/CAddToLibraryDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace acv {

CAddToLibraryDlg::CAddToLibraryDlg(const LibrarySiteOffer& offer, QWidget* parent)
    : QDialog(parent), offer_(offer) {
  setObjectName(QStringLiteral("addToLibraryDialog"));
  setWindowTitle(QStringLiteral("Add to Library"));
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  auto* library = new QLabel(QString::fromStdString(offer.library), this);
  library->setTextInteractionFlags(Qt::TextSelectableByMouse);
  form->addRow(QStringLiteral("Library:"), library);
  site_ = new QComboBox(this);
  site_->setObjectName(QStringLiteral("siteBox"));
  site_->setEditable(true);
  site_->setInsertPolicy(QComboBox::NoInsert);
  site_->setMinimumContentsLength(32);
  for (const std::string& name : offer.sites) site_->addItem(QString::fromStdString(name));
  site_->setEditText(QString::fromStdString(offer.site));
  site_->lineEdit()->setPlaceholderText(QStringLiteral("a site of the library, or a new name"));
  form->addRow(QStringLiteral("&Site:"), site_);
  layout->addLayout(form);
  everyDownload_ =
      new QCheckBox(QStringLiteral("Add every &download to this site without asking"), this);
  everyDownload_->setObjectName(QStringLiteral("everyDownload"));
  everyDownload_->setChecked(offer.addEveryDownload);
  layout->addWidget(everyDownload_);
  problem_ = new QLabel(this);
  problem_->setObjectName(QStringLiteral("siteProblem"));
  layout->addWidget(problem_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
  add_ = buttons->addButton(QStringLiteral("&Add"), QDialogButtonBox::AcceptRole);
  add_->setObjectName(QStringLiteral("addButton"));
  add_->setDefault(true);
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(site_, &QComboBox::editTextChanged, this, &CAddToLibraryDlg::CheckName);
  CheckName();
}

void CAddToLibraryDlg::CheckName() {
  const std::string problem = SiteNameProblem(site_->currentText().toStdString());
  problem_->setText(QString::fromStdString(problem));
  add_->setEnabled(problem.empty());
}

LibrarySiteOffer CAddToLibraryDlg::Choice() const {
  LibrarySiteOffer choice = offer_;
  choice.site = CleanSiteName(site_->currentText().toStdString());
  choice.addEveryDownload = everyDownload_->isChecked();
  return choice;
}

}  // namespace acv
