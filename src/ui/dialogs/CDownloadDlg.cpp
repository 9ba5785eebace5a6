#include "ui/dialogs/CDownloadDlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "ui/dialogs/ButtonArt.h"

namespace acv {

CDownloadDlg::CDownloadDlg(QWidget* parent)
    : LoggerDialogBase(parent),
      downloadButton_(new PictureButton(QStringLiteral("Download"), this)),
      cancelButton_(new PictureButton(QStringLiteral("Cancel"), this)),
      realTimeButton_(new PictureButton(QStringLiteral("REAL TIME"), this)) {
  setObjectName(QStringLiteral("CDownloadDlg"));
  SetButtons(downloadButton_, cancelButton_);
  downloadButton_->setObjectName(QStringLiteral("1"));
  cancelButton_->setObjectName(QStringLiteral("2"));
  realTimeButton_->setObjectName(QStringLiteral("1174"));
  realTimeButton_->hide();
  realTimeButton_->setEnabled(false);
  // Enter presses "Download" (which still checks the status), Escape cancels.
  downloadButton_->setDefault(true);

  QLabel* message = MakeMessageLine(QStringLiteral("1157"));
  message->setText(QString::fromLatin1(kWaitingForConnecting));
  message->setFixedHeight(2 * message->fontMetrics().lineSpacing() + 6);
  message->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(downloadButton_);
  buttons->addWidget(realTimeButton_);
  buttons->addSpacing(24);
  buttons->addWidget(cancelButton_);
  buttons->addStretch(1);

  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(16, 14, 16, 12);
  column->setSpacing(12);
  column->addWidget(message);
  column->addLayout(buttons);
  setFixedWidth(380);

  connect(downloadButton_, &QPushButton::clicked, this, [this] { StartPressed(true); });
  connect(realTimeButton_, &QPushButton::clicked, this, [this] { StartPressed(false); });
  connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
}

void CDownloadDlg::Prepare() {
  SetStatus(kStatusConnecting);
  SetMessage(kWaitingForConnecting);
  downloadButton_->setEnabled(true);
  switch (CheckPortAtOpening()) {
    case PortCheck::Passed:
      SetMessage(kDownloadOwnCheckHint);
      break;
    case PortCheck::Failed:
      downloadButton_->setEnabled(false);
      break;
    case PortCheck::NotMade:
      break;
  }
  downloadButton_->setFocus();
}

void CDownloadDlg::StartPressed(bool download) {
  if (!StatusAllowsAction()) return;
  LoggerLink& link = Link();
  link.downloadMode = download ? 1 : 0;
  link.realTimeMode = download ? 0 : 1;
  link.StartTransfer();
  accept();
  if (download) Context().SetDataUnsaved();
}

}  // namespace acv
