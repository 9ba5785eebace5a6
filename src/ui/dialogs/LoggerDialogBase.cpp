#include "ui/dialogs/LoggerDialogBase.h"

#include <QLabel>

namespace acv {

LoggerDialogBase::LoggerDialogBase(QWidget* parent) : QDialog(parent) {
  QPalette grey = palette();
  const QColor background(kDialogGrey, kDialogGrey, kDialogGrey);
  grey.setColor(QPalette::Window, background);
  grey.setColor(QPalette::Button, background);
  // The edit fields and spin boxes are grey too, not white.
  grey.setColor(QPalette::Base, background);
  setPalette(grey);
  setAutoFillBackground(true);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

QLabel* LoggerDialogBase::MakeMessageLine(const QString& objectName) {
  messageLine_ = new QLabel(this);
  messageLine_->setObjectName(objectName);
  messageLine_->setWordWrap(true);
  messageLine_->setTextFormat(Qt::PlainText);
  return messageLine_;
}

void LoggerDialogBase::SetButtons(QPushButton* start, QPushButton* cancel) {
  startButton_ = start;
  cancelButton_ = cancel;
}

void LoggerDialogBase::SetStatus(const std::string& status) {
  status_ = status;
  setWindowTitle(QString::fromStdString(status));
}

void LoggerDialogBase::SetMessage(const std::string& text) {
  if (messageLine_ != nullptr) messageLine_->setText(QString::fromStdString(text));
}

QString LoggerDialogBase::MessageText() const {
  return messageLine_ != nullptr ? messageLine_->text() : QString();
}

bool LoggerDialogBase::Begin(DialogContext& context) {
  if (isVisible()) return false;
  context_ = &context;
  if (!Link().BeginConnection(Kind())) return false;
  SetStatus(kStatusConnecting);
  context.DialogOpened(this);
  registered_ = true;
  Prepare();
  return true;
}

int LoggerDialogBase::Run(DialogContext& context) {
  if (!Begin(context)) return QDialog::Rejected;
  return exec();
}

bool LoggerDialogBase::Open(DialogContext& context) {
  if (!Begin(context)) return false;
  setWindowModality(parentWidget() != nullptr ? Qt::WindowModal : Qt::ApplicationModal);
  show();
  return true;
}

LoggerDialogBase::PortCheck LoggerDialogBase::CheckPortAtOpening() {
  if (!Link().loggerFound) return PortCheck::NotMade;
  if (Link().CheckPort()) {
    SetStatus(kStatusConnected);
    return PortCheck::Passed;
  }
  SetStatus(kStatusNotConnected);
  return PortCheck::Failed;
}

bool LoggerDialogBase::StatusAllowsAction() {
  if (status_ == kStatusConnecting) return false;
  if (status_ == kStatusNotConnected) {
    SetMessage(kConnectingFailed);
    return false;
  }
  return true;
}

void LoggerDialogBase::done(int result) {
  QDialog::done(result);
  if (context_ == nullptr) return;
  if (registered_) {
    registered_ = false;
    context_->DialogClosed(this);
  }
  // Closing in any way ends the port search and the periodic port check
  // that opening the dialog started.
  Link().KillConnectTimers();
}

}  // namespace acv
