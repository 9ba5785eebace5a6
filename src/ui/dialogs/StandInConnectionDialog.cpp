#include "ui/dialogs/StandInConnectionDialog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "logger/CommandBuilders.h"
#include "logger/RealTimeRun.h"

namespace acv {
namespace {

const char* StartText(DialogKind kind) {
  switch (kind) {
    case DialogKind::Download:
      return "Download";
    case DialogKind::RealTime:
      return "RUN";
    case DialogKind::LoggerSetup:
      return "Setup";
    case DialogKind::CorrectTime:
      return "OK";
  }
  return "OK";
}

}  // namespace

StandInConnectionDialog::StandInConnectionDialog(DialogKind kind, QWidget* parent)
    : QDialog(parent),
      kind_(kind),
      message_(new QLabel(this)),
      start_(new QPushButton(QString::fromLatin1(StartText(kind)), this)),
      cancel_(new QPushButton(QStringLiteral("Cancel"), this)) {
  setObjectName(QStringLiteral("standInDialog"));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  QPalette grey = palette();
  grey.setColor(QPalette::Window, QColor(225, 225, 225));
  setPalette(grey);
  setAutoFillBackground(true);
  message_->setObjectName(QStringLiteral("messageLine"));
  message_->setWordWrap(true);
  message_->setTextFormat(Qt::PlainText);
  message_->setMinimumHeight(36);
  auto* layout = new QVBoxLayout(this);
  if (kind == DialogKind::RealTime) {
    interval_ = new QSpinBox(this);
    interval_->setRange(kMinRealTimeInterval, kMaxRealTimeInterval);
    interval_->setSuffix(QStringLiteral(" s"));
    points_ = new QSpinBox(this);
    points_->setRange(1, kMaxRealTimePoints);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("SAMPLING RATE (2-3600):"), interval_);
    form->addRow(QStringLiteral("SAMPLE DATA POINTS (1-100000):"), points_);
    layout->addLayout(form);
  }
  layout->addWidget(message_);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(start_);
  buttons->addWidget(cancel_);
  layout->addLayout(buttons);
  // Enter must not start a transfer by accident.
  start_->setAutoDefault(false);
  cancel_->setAutoDefault(false);
  connect(start_, &QPushButton::clicked, this, &StandInConnectionDialog::OnStart);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
  setMinimumWidth(420);
}

bool StandInConnectionDialog::Open(DialogContext& context) {
  if (isVisible()) return false;
  context_ = &context;
  if (!context.Link().BeginConnection()) return false;
  SetStatus(kStatusConnecting);
  SetMessage(kind_ == DialogKind::CorrectTime ? "" : "Waiting for connecting...");
  if (interval_ != nullptr) {
    interval_->setValue(context.RtInterval());
    points_->setValue(context.RealTimePoints());
  }
  context.DialogOpened(this);
  registered_ = true;
  // A logger found before: check at once that its port can still be opened.
  if (context.Link().loggerFound) {
    SetStatus(context.Link().CheckPort() ? kStatusConnected : kStatusNotConnected);
  }
  setWindowModality(parentWidget() != nullptr ? Qt::WindowModal : Qt::ApplicationModal);
  show();
  return true;
}

QString StandInConnectionDialog::MessageText() const {
  return message_->text();
}

void StandInConnectionDialog::SetStatus(const std::string& status) {
  status_ = status;
  setWindowTitle(QString::fromStdString(status));
}

void StandInConnectionDialog::SetMessage(const std::string& text) {
  message_->setText(QString::fromStdString(text));
}

void StandInConnectionDialog::OnStart() {
  if (context_ == nullptr || status_ == kStatusConnecting) return;
  if (status_ == kStatusNotConnected) {
    SetMessage(kConnectingFailed);
    return;
  }
  switch (kind_) {
    case DialogKind::Download:
      StartDownload();
      break;
    case DialogKind::RealTime:
      StartRealTime();
      break;
    case DialogKind::LoggerSetup:
      SendSetup();
      break;
    case DialogKind::CorrectTime:
      SendClock();
      break;
  }
}

void StandInConnectionDialog::StartDownload() {
  LoggerLink& link = context_->Link();
  link.downloadMode = 1;
  link.realTimeMode = 0;
  DialogContext* context = context_;
  accept();  // the dialog is gone before the first reply can arrive
  link.StartTransfer();
  link.KillConnectTimers();
  context->SetDataUnsaved();
}

void StandInConnectionDialog::StartRealTime() {
  LoggerLink& link = context_->Link();
  context_->RtInterval() = interval_->value();
  context_->RealTimePoints() = points_->value();
  link.downloadMode = 0;
  link.realTimeMode = 1;
  accept();
  link.StartTransfer();
  link.KillConnectTimers();
}

void StandInConnectionDialog::SendSetup() {
  LoggerLink& link = context_->Link();
  const AppSettings& s = context_->Settings();
  SetupValues values;
  values.sampleRateText = s.sampleRateText;
  values.sampleRateUnit = s.sampleRateUnit;
  values.autoPowerOff = s.autoPowerOff;
  values.circulateLogging = s.circulateLogging;
  values.riseLevelSetting = s.riseLevelSetting;
  values.dropLevelSetting = s.dropLevelSetting;
  link.commandFrame = BuildSetupFrame(values);
  link.SendCommandFrame();
  link.SetThreshold(1);
  DialogContext* context = context_;
  accept();
  link.KillConnectTimers();
  context->ArmSavePrompts();
}

void StandInConnectionDialog::SendClock() {
  LoggerLink& link = context_->Link();
  const LocalFields now = BreakDownLocal(context_->Now());
  const int year = ClampClockField(ClockField::Year, now.year);
  link.commandFrame = BuildClockFrame(year, now.month, now.day, now.hour, now.minute, now.second);
  link.SendCommandFrame();
  link.SetThreshold(1);
  auto& texts = context_->Settings().lastClockText;
  const int fields[] = {year, now.month, now.day, now.hour, now.minute, now.second};
  for (std::size_t i = 0; i < texts.size(); ++i) texts[i] = std::to_string(fields[i]);
  accept();
  link.KillConnectTimers();
}

void StandInConnectionDialog::done(int result) {
  if (registered_ && context_ != nullptr) {
    registered_ = false;
    context_->DialogClosed(this);
    context_->Link().KillConnectTimers();
  }
  QDialog::done(result);
}

}  // namespace acv
