#include "ui/dialogs/CLoggerSetupDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/dialogs/ButtonArt.h"
#include "ui/dialogs/CNumberEdit.h"
#include "ui/dialogs/SpinButtons.h"

namespace acv {

namespace {

constexpr int kAutoPowerOffOn = 2;  // the bit number of 0x04 in the flags byte
constexpr int kCirculateOn = 3;     // the bit number of 0x08
constexpr int kRateSpinMax = 60;
constexpr int kLevelSpinMax = 1000;

QRadioButton* Radio(const QString& text, const QString& id, QWidget* parent) {
  auto* radio = new QRadioButton(text, parent);
  radio->setObjectName(id);
  return radio;
}

// An ON/OFF pair in its own group box, so each pair is exclusive by itself.
QGroupBox* OnOffGroup(const QString& title, const QString& id, QRadioButton* on, QRadioButton* off,
                      QWidget* parent) {
  auto* group = new QGroupBox(title, parent);
  group->setObjectName(id);
  auto* row = new QHBoxLayout(group);
  row->addSpacing(20);
  row->addWidget(on);
  row->addSpacing(40);
  row->addWidget(off);
  row->addStretch(1);
  return group;
}

// The level controls exist with their ids but are never shown or used.
void HideAndDisable(std::initializer_list<QWidget*> widgets) {
  for (QWidget* widget : widgets) {
    widget->hide();
    widget->setEnabled(false);
  }
}

int IndexOr(int index, int count, int fallback) {
  return index >= 0 && index < count ? index : fallback;
}

}  // namespace

CLoggerSetupDlg::CLoggerSetupDlg(QWidget* parent)
    : LoggerDialogBase(parent),
      rateEdit_(new CNumberEdit(this)),
      rateSpin_(new SpinButtons(rateEdit_, this)),
      unitList_(new QComboBox(this)),
      powerOffOn_(Radio(QStringLiteral("ON"), QStringLiteral("1150"), this)),
      powerOffOff_(Radio(QStringLiteral("OFF"), QStringLiteral("1151"), this)),
      circulateOn_(Radio(QStringLiteral("ON"), QStringLiteral("1152"), this)),
      circulateOff_(Radio(QStringLiteral("OFF"), QStringLiteral("1153"), this)),
      riseEdit_(new CNumberEdit(this)),
      dropEdit_(new CNumberEdit(this)),
      riseUnit_(new QComboBox(this)),
      dropUnit_(new QComboBox(this)),
      setupButton_(new PictureButton(QStringLiteral("Setup"), this)),
      defaultButton_(new PictureButton(QStringLiteral("Default"), this)),
      cancelButton_(new PictureButton(QStringLiteral("Cancel"), this)) {
  setObjectName(QStringLiteral("CLoggerSetupDlg"));
  SetButtons(setupButton_, cancelButton_);
  rateEdit_->setObjectName(QStringLiteral("1078"));
  rateSpin_->setObjectName(QStringLiteral("1130"));
  rateSpin_->SetRange(0, kRateSpinMax);
  unitList_->setObjectName(QStringLiteral("1131"));
  unitList_->addItems({QStringLiteral("Second"), QStringLiteral("Minute"), QStringLiteral("Hour")});
  setupButton_->setObjectName(QStringLiteral("1"));
  defaultButton_->setObjectName(QStringLiteral("1044"));
  cancelButton_->setObjectName(QStringLiteral("2"));
  setupButton_->setDefault(true);

  // Hidden level controls: rise 1134 + spin 1135, drop 1080 + spin 1132,
  // their unit lists (sorted, so index 0 is "A" and 1 is "V") and two check
  // boxes without behaviour.
  riseEdit_->setObjectName(QStringLiteral("1134"));
  dropEdit_->setObjectName(QStringLiteral("1080"));
  auto* riseSpin = new SpinButtons(riseEdit_, this);
  auto* dropSpin = new SpinButtons(dropEdit_, this);
  riseSpin->setObjectName(QStringLiteral("1135"));
  dropSpin->setObjectName(QStringLiteral("1132"));
  riseSpin->SetRange(0, kLevelSpinMax);
  dropSpin->SetRange(0, kLevelSpinMax);
  riseUnit_->setObjectName(QStringLiteral("1167"));
  dropUnit_->setObjectName(QStringLiteral("1168"));
  for (QComboBox* list : {riseUnit_, dropUnit_})
    list->addItems({QStringLiteral("A"), QStringLiteral("V")});
  auto* riseCheck = new QCheckBox(QStringLiteral("Sudden Rise Detection Level Setup"), this);
  auto* dropCheck = new QCheckBox(QStringLiteral("Sudden Drop Detection Level Setup"), this);
  riseCheck->setObjectName(QStringLiteral("1159"));
  dropCheck->setObjectName(QStringLiteral("1160"));
  HideAndDisable(
      {riseEdit_, dropEdit_, riseSpin, dropSpin, riseUnit_, dropUnit_, riseCheck, dropCheck});

  auto* rateGroup = new QGroupBox(QStringLiteral("LOGGER RMS SAMPING RATE SETUP"), this);
  rateGroup->setObjectName(QStringLiteral("1158"));
  auto* rateRow = new QHBoxLayout(rateGroup);
  rateRow->setSpacing(2);
  rateRow->addSpacing(20);
  rateEdit_->setFixedWidth(70);
  rateRow->addWidget(rateEdit_);
  rateRow->addWidget(rateSpin_);
  rateRow->addSpacing(24);
  unitList_->setFixedWidth(110);
  rateRow->addWidget(unitList_);
  rateRow->addStretch(1);

  QLabel* message = MakeMessageLine(QStringLiteral("1161"));
  message->setMinimumHeight(message->fontMetrics().lineSpacing() + 4);

  auto* buttons = new QHBoxLayout;
  buttons->setSpacing(14);
  buttons->addStretch(1);
  buttons->addWidget(setupButton_);
  buttons->addWidget(defaultButton_);
  buttons->addWidget(cancelButton_);
  buttons->addStretch(1);

  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(16, 12, 16, 12);
  column->setSpacing(8);
  column->addWidget(rateGroup);
  column->addWidget(OnOffGroup(QStringLiteral("LOGGER AUTO POWER OFF SETUP"),
                               QStringLiteral("1165"), powerOffOn_, powerOffOff_, this));
  column->addWidget(OnOffGroup(QStringLiteral("LOGGER CIRCULATE LOGGING SETUP"),
                               QStringLiteral("1166"), circulateOn_, circulateOff_, this));
  column->addWidget(message);
  column->addLayout(buttons);
  setFixedWidth(440);

  connect(rateEdit_, &QLineEdit::textChanged, this, &CLoggerSetupDlg::RateChanged);
  connect(unitList_, &QComboBox::currentIndexChanged, this, &CLoggerSetupDlg::UnitChanged);
  connect(setupButton_, &QPushButton::clicked, this, &CLoggerSetupDlg::SetupPressed);
  connect(defaultButton_, &QPushButton::clicked, this, &CLoggerSetupDlg::DefaultPressed);
  connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
}

SetupDialogValues CLoggerSetupDlg::Values() const {
  SetupDialogValues values;
  values.command.sampleRateText = rateEdit_->text().toStdString();
  values.command.sampleRateUnit = unitList_->currentIndex();
  values.command.autoPowerOff = powerOffOn_->isChecked() ? kAutoPowerOffOn : 0;
  values.command.circulateLogging = circulateOn_->isChecked() ? kCirculateOn : 0;
  values.command.riseLevelSetting = riseEdit_->text().toStdString();
  values.command.dropLevelSetting = dropEdit_->text().toStdString();
  values.riseLevelUnit = riseUnit_->currentIndex();
  values.dropLevelUnit = dropUnit_->currentIndex();
  return values;
}

void CLoggerSetupDlg::ShowValues(const SetupDialogValues& values) {
  const SetupValues& command = values.command;
  // A unit index the lists do not have (a hand-edited settings file) is
  // shown as the unit the command would carry: seconds, volts.
  unitList_->setCurrentIndex(IndexOr(command.sampleRateUnit, unitList_->count(), kUnitSecond));
  rateEdit_->setText(QString::fromStdString(command.sampleRateText));
  (command.autoPowerOff == kAutoPowerOffOn ? powerOffOn_ : powerOffOff_)->setChecked(true);
  (command.circulateLogging == kCirculateOn ? circulateOn_ : circulateOff_)->setChecked(true);
  riseEdit_->setText(QString::fromStdString(command.riseLevelSetting));
  dropEdit_->setText(QString::fromStdString(command.dropLevelSetting));
  riseUnit_->setCurrentIndex(IndexOr(values.riseLevelUnit, riseUnit_->count(), 1));
  dropUnit_->setCurrentIndex(IndexOr(values.dropLevelUnit, dropUnit_->count(), 1));
}

void CLoggerSetupDlg::Prepare() {
  attached_ = false;
  SetMessage("");
  const AppSettings& settings = Context().Settings();
  SetupDialogValues values;
  values.command = {settings.sampleRateText,   settings.sampleRateUnit,
                    settings.autoPowerOff,     settings.circulateLogging,
                    settings.riseLevelSetting, settings.dropLevelSetting};
  values.riseLevelUnit = settings.riseLevelUnit;
  values.dropLevelUnit = settings.dropLevelUnit;
  ShowValues(values);
  SetStatus(kStatusConnecting);
  setupButton_->setEnabled(true);
  if (CheckPortAtOpening() == PortCheck::Failed) setupButton_->setEnabled(false);
  attached_ = true;
  rateEdit_->setFocus();
}

void CLoggerSetupDlg::RateChanged() {
  if (!attached_) return;
  const QString clamped = QString::fromStdString(
      SetupRateTextWhileTyping(rateEdit_->text().toStdString(), unitList_->currentIndex()));
  if (clamped != rateEdit_->text()) rateEdit_->setText(clamped);
}

void CLoggerSetupDlg::UnitChanged() {
  if (!attached_) return;
  const QString rate = QString::fromStdString(
      SetupRateTextOnUnitChange(rateEdit_->text().toStdString(), unitList_->currentIndex()));
  if (rate != rateEdit_->text()) rateEdit_->setText(rate);
}

void CLoggerSetupDlg::DefaultPressed() {
  ShowValues(SetupDialogValues{});
}

void CLoggerSetupDlg::SetupPressed() {
  if (!StatusAllowsAction()) return;
  // Sent and kept as the dialog holds them; a rate outside its unit's range
  // (only a hand-edited settings file holds one) is clamped in the byte
  // sent, the text stays as the user left it.
  const SetupDialogValues values = Values();
  const CommandFrame frame = BuildSetupFrame(values.command);

  AppSettings& settings = Context().Settings();
  settings.autoPowerOff = values.command.autoPowerOff;
  settings.circulateLogging = values.command.circulateLogging;
  settings.sampleRateText = values.command.sampleRateText;
  settings.sampleRateUnit = values.command.sampleRateUnit;
  settings.riseLevelUnit = values.riseLevelUnit;
  settings.dropLevelUnit = values.dropLevelUnit;
  settings.riseLevelSetting = values.command.riseLevelSetting;
  settings.dropLevelSetting = values.command.dropLevelSetting;

  LoggerLink& link = Link();
  link.commandFrame = frame;
  link.SendCommandFrame();
  link.SetThreshold(1);
  accept();
  Context().ArmSavePrompts();
}

}  // namespace acv
