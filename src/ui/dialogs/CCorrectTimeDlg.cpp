#include "ui/dialogs/CCorrectTimeDlg.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "ui/dialogs/ButtonArt.h"
#include "ui/dialogs/CNumberEdit.h"
#include "ui/dialogs/SpinButtons.h"

namespace acv {

namespace {

struct FieldLook {
  ClockField field;
  const char* editId;
  const char* spinId;
  const char* label;
};

constexpr FieldLook kFields[kClockFields] = {
    {ClockField::Year, "1128", "1116", "Year"},   {ClockField::Month, "1077", "1117", "Month"},
    {ClockField::Day, "1078", "1118", "Day"},     {ClockField::Hour, "1079", "1119", ""},
    {ClockField::Minute, "1080", "1120", "   :"}, {ClockField::Second, "1081", "1121", "  :"},
};

// Label, edit and arrows of one field, side by side in a group's row.
void AddField(QHBoxLayout* row, const QString& label, CNumberEdit* edit, SpinButtons* spin,
              int editWidth, QWidget* parent) {
  if (!label.isEmpty()) {
    auto* text = new QLabel(label, parent);
    row->addWidget(text);
  }
  edit->setFixedWidth(editWidth);
  row->addWidget(edit);
  row->addWidget(spin);
  row->addSpacing(12);
}

}  // namespace

CCorrectTimeDlg::CCorrectTimeDlg(QWidget* parent)
    : LoggerDialogBase(parent),
      okButton_(new PictureButton(QStringLiteral("OK"), this)),
      cancelButton_(new PictureButton(QStringLiteral("Cancel"), this)) {
  setObjectName(QStringLiteral("CCorrectTimeDlg"));
  SetButtons(okButton_, cancelButton_);
  okButton_->setObjectName(QStringLiteral("1"));
  cancelButton_->setObjectName(QStringLiteral("2"));
  okButton_->setDefault(true);

  auto* dateGroup = new QGroupBox(QStringLiteral("CORRECT DATE"), this);
  auto* timeGroup = new QGroupBox(QStringLiteral("CORRECT TIMEPIECE"), this);
  auto* dateRow = new QHBoxLayout(dateGroup);
  auto* timeRow = new QHBoxLayout(timeGroup);
  for (QHBoxLayout* row : {dateRow, timeRow}) {
    row->setSpacing(3);
    row->addSpacing(8);
  }
  for (const FieldLook& look : kFields) {
    const int i = static_cast<int>(look.field);
    fields_[i] = new CNumberEdit(this);
    fields_[i]->setObjectName(QString::fromLatin1(look.editId));
    spins_[i] = new SpinButtons(fields_[i], this);
    spins_[i]->setObjectName(QString::fromLatin1(look.spinId));
    const IntRange range = ClockSpinRange(look.field);
    spins_[i]->SetRange(range.lowest, range.highest);
    const bool isDate = i < 3;
    AddField(isDate ? dateRow : timeRow, QString::fromLatin1(look.label), fields_[i], spins_[i],
             look.field == ClockField::Year ? 52 : 34, this);
    const ClockField field = look.field;
    connect(fields_[i], &QLineEdit::textChanged, this, [this, field] { FieldChanged(field); });
  }
  dateRow->addStretch(1);
  timeRow->addStretch(1);
  connect(Field(ClockField::Year), &QLineEdit::editingFinished, this, &CCorrectTimeDlg::YearLeft);

  QLabel* message = MakeMessageLine(QStringLiteral("1161"));
  message->setMinimumHeight(message->fontMetrics().lineSpacing() + 4);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(okButton_);
  buttons->addSpacing(24);
  buttons->addWidget(cancelButton_);
  buttons->addStretch(1);

  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(16, 12, 16, 12);
  column->setSpacing(8);
  column->addWidget(dateGroup);
  column->addWidget(timeGroup);
  column->addWidget(message);
  column->addLayout(buttons);
  setFixedWidth(380);

  connect(okButton_, &QPushButton::clicked, this, &CCorrectTimeDlg::OkPressed);
  connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
}

ClockTexts CCorrectTimeDlg::Texts() const {
  ClockTexts texts;
  for (int i = 0; i < kClockFields; ++i) texts[i] = fields_[i]->text().toStdString();
  return texts;
}

void CCorrectTimeDlg::Prepare() {
  attached_ = false;
  const ClockTexts now = ClockTextsFor(BreakDownLocal(Context().Now()));
  for (int i = 0; i < kClockFields; ++i) fields_[i]->setText(QString::fromStdString(now[i]));
  SetMessage("");
  SetStatus(kStatusConnecting);
  CheckPortAtOpening();  // sets the status only; no button depends on it here
  attached_ = true;
  Field(ClockField::Year)->setFocus();
}

void CCorrectTimeDlg::FieldChanged(ClockField field) {
  if (!attached_) return;
  CNumberEdit* edit = Field(field);
  const QString clamped =
      QString::fromStdString(ClockTextWhileTyping(field, edit->text().toStdString()));
  if (clamped != edit->text()) edit->setText(clamped);
}

void CCorrectTimeDlg::YearLeft() {
  CNumberEdit* year = Field(ClockField::Year);
  const QString settled =
      QString::fromStdString(ClockTextSettled(ClockField::Year, year->text().toStdString()));
  if (settled != year->text()) year->setText(settled);
}

void CCorrectTimeDlg::OkPressed() {
  if (!StatusAllowsAction()) return;
  YearLeft();  // a year still being typed is put into its range before it is sent
  const ClockTexts texts = Texts();
  // An impossible date would set the logger's clock to nonsense: say so and
  // let the user correct it.
  if (const std::string problem = ClockDateProblem(texts); !problem.empty()) {
    SetMessage(problem);
    Field(ClockField::Day)->setFocus();
    Field(ClockField::Day)->selectAll();
    return;
  }
  Context().Settings().lastClockText = texts;
  LoggerLink& link = Link();
  link.commandFrame = ClockFrameFromTexts(texts);
  link.SetThreshold(1);
  link.SendCommandFrame();
  accept();
}

}  // namespace acv
