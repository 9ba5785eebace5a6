#include "ui/dialogs/CRealTimeDlg.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QVBoxLayout>

#include "frame/DialogRules.h"
#include "ui/AppInfo.h"
#include "ui/dialogs/ButtonArt.h"
#include "ui/dialogs/CNumberEdit.h"
#include "ui/dialogs/SpinButtons.h"

namespace acv {

namespace {

// A group box with an edit, its arrows and the texts after them.
QGroupBox* FieldGroup(const QString& title, CNumberEdit* edit, SpinButtons* spin,
                      std::initializer_list<QLabel*> labels, QWidget* parent) {
  auto* group = new QGroupBox(title, parent);
  auto* row = new QHBoxLayout(group);
  row->setSpacing(2);
  edit->setFixedWidth(90);
  row->addWidget(edit);
  row->addWidget(spin);
  row->addSpacing(10);
  for (QLabel* label : labels) {
    row->addWidget(label);
    row->addSpacing(6);
  }
  row->addStretch(1);
  return group;
}

QLabel* Text(const QString& text, const QString& objectName, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  if (!objectName.isEmpty()) label->setObjectName(objectName);
  return label;
}

}  // namespace

CRealTimeDlg::CRealTimeDlg(QWidget* parent)
    : LoggerDialogBase(parent),
      rateEdit_(new CNumberEdit(this)),
      rateSpin_(new SpinButtons(rateEdit_, this)),
      pointsEdit_(new CNumberEdit(this)),
      pointsSpin_(new SpinButtons(pointsEdit_, this)),
      runButton_(new PictureButton(QStringLiteral("RUN"), this)),
      cancelButton_(new PictureButton(QStringLiteral("CANCEL"), this)) {
  setObjectName(QStringLiteral("CRealTimeDlg"));
  SetButtons(runButton_, cancelButton_);
  rateEdit_->setObjectName(QStringLiteral("1076"));
  rateSpin_->setObjectName(QStringLiteral("1121"));
  pointsEdit_->setObjectName(QStringLiteral("1077"));
  pointsSpin_->setObjectName(QStringLiteral("1122"));
  runButton_->setObjectName(QStringLiteral("1"));
  cancelButton_->setObjectName(QStringLiteral("2"));
  rateSpin_->SetRange(kRtIntervalMin, kRtIntervalMax);
  pointsSpin_->SetRange(kRtPointsMin, kRtPointsMax);

  auto* rateGroup = FieldGroup(QStringLiteral("SAMPLING RATE"), rateEdit_, rateSpin_,
                               {Text(QStringLiteral("Secs"), QStringLiteral("1032"), this),
                                Text(QStringLiteral("(2-3600) "), {}, this)},
                               this);
  auto* pointsGroup = FieldGroup(QStringLiteral("SAMPLE DATA POINTS"), pointsEdit_, pointsSpin_,
                                 {Text(QStringLiteral("(1-100000)"), {}, this)}, this);
  QLabel* message = MakeMessageLine(QStringLiteral("1157"));
  message->setText(QStringLiteral("Waiting for connecting..."));
  message->setMinimumHeight(message->fontMetrics().lineSpacing() + 4);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(runButton_);
  buttons->addSpacing(24);
  buttons->addWidget(cancelButton_);
  buttons->addStretch(1);

  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(14, 12, 14, 12);
  column->setSpacing(8);
  column->addWidget(rateGroup);
  column->addWidget(pointsGroup);
  column->addWidget(message);
  column->addLayout(buttons);
  setFixedWidth(340);

  connect(rateEdit_, &QLineEdit::textChanged, this, [this] { FieldChanged(true); });
  connect(pointsEdit_, &QLineEdit::textChanged, this, [this] { FieldChanged(false); });
  connect(rateEdit_, &QLineEdit::editingFinished, this, &CRealTimeDlg::FieldLeft);
  connect(pointsEdit_, &QLineEdit::editingFinished, this, &CRealTimeDlg::FieldLeft);
  connect(runButton_, &QPushButton::clicked, this, &CRealTimeDlg::RunPressed);
  connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
}

void CRealTimeDlg::Prepare() {
  attached_ = false;
  rateEdit_->setText(QString::number(Context().RtInterval()));
  pointsEdit_->setText(QString::number(Context().RealTimePoints()));
  SetStatus(kStatusConnecting);
  SetMessage("");
  if (CheckPortAtOpening() == PortCheck::Passed) SetMessage(kRealTimeOwnCheckHint);
  ShowPrompt({});
  attached_ = true;
  rateEdit_->setFocus();
}

void CRealTimeDlg::FieldChanged(bool rateField) {
  if (!attached_) return;
  const RealTimeCheck check = CurrentCheck();
  // No word while typing: the "1" of "10" is on its way to a good value.
  // A prompt still up goes as soon as the fields are good again.
  if (check.prompt.empty()) ShowPrompt({});
  // Only a value the run could use is handed on: a half-typed "1" or an
  // emptied field must not reach the settings file or the time axis of the
  // data on screen. RUN refuses such values anyway.
  if (rateField && check.interval) Context().RtInterval() = *check.interval;
  if (!rateField && check.points) Context().RealTimePoints() = *check.points;
}

void CRealTimeDlg::FieldLeft() {
  if (attached_) ShowPrompt(QString::fromStdString(CurrentCheck().prompt));
}

RealTimeCheck CRealTimeDlg::CurrentCheck() const {
  return CheckRealTimeFields(rateEdit_->text().toStdString(), pointsEdit_->text().toStdString());
}

void CRealTimeDlg::RunPressed() {
  if (Status() == kStatusConnecting) return;
  const RealTimeCheck check = CurrentCheck();
  if (!check.Valid()) {
    ShowPrompt(QString::fromStdString(check.prompt));
    return;
  }
  if (!StatusAllowsAction()) return;
  Context().RtInterval() = *check.interval;
  Context().RealTimePoints() = *check.points;
  LoggerLink& link = Link();
  link.downloadMode = 0;
  link.realTimeMode = 1;
  link.StartTransfer();
  accept();
}

void CRealTimeDlg::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
      event->accept();
      return;
    default:
      LoggerDialogBase::keyPressEvent(event);
  }
}

void CRealTimeDlg::done(int result) {
  // The field loses the focus as the dialog goes: that is no leaving to check.
  attached_ = false;
  ShowPrompt({});
  LoggerDialogBase::done(result);
}

void CRealTimeDlg::ShowPrompt(const QString& text) {
  if (prompt_) {
    prompt_(text);
    return;
  }
  if (text.isEmpty()) {
    if (promptBox_ != nullptr) promptBox_->hide();
    return;
  }
  if (promptBox_ == nullptr) {
    promptBox_ = new QMessageBox(QMessageBox::Warning, QString::fromLatin1(kAppCaption), text,
                                 QMessageBox::Ok, this);
    promptBox_->setWindowModality(Qt::NonModal);
    // The user goes on typing in the field while the box says what is wrong.
    promptBox_->setAttribute(Qt::WA_ShowWithoutActivating);
  }
  promptBox_->setText(text);
  promptBox_->show();
}

}  // namespace acv
