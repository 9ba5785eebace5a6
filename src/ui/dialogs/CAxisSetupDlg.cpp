#include "ui/dialogs/CAxisSetupDlg.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>
#include <span>

#include "ui/Prompter.h"
#include "ui/dialogs/CNumberEdit.h"
#include "ui/dialogs/SpinButtons.h"

namespace acv {
namespace {

struct FieldLook {
  AxisField field;
  const char* label;
  const char* editId;
  int row;
  int column;
};

constexpr FieldLook kYFields[] = {
    {AxisField::Ch1From, "CH1 From", "edit1141", 0, 0},
    {AxisField::Ch1To, "To", "edit1080", 0, 1},
    {AxisField::Ch2From, "CH2 From", "edit1145", 1, 0},
    {AxisField::Ch2To, "To", "edit1082", 1, 1},
};
constexpr FieldLook kXFields[] = {
    {AxisField::XFrom, "From", "edit1143", 0, 0},
    {AxisField::XTo, "To", "edit1081", 0, 1},
};

}  // namespace

CAxisSetupDlg::CAxisSetupDlg(Prompter& prompter, Context context, QWidget* parent)
    : SettingsDialogBase(QStringLiteral("Axis Setup"), parent),
      prompter_(prompter),
      context_(std::move(context)) {
  setObjectName(QStringLiteral("axisSetupDialog"));
  auto build = [this](QGroupBox* group, std::span<const FieldLook> looks, int lowest, int highest) {
    auto* grid = new QGridLayout(group);
    for (const FieldLook& look : looks) {
      auto* edit = new CNumberEdit(group);
      edit->setObjectName(QString::fromLatin1(look.editId));
      edit->setMaximumWidth(110);
      auto* spin = new SpinButtons(edit, group);
      spin->SetRange(lowest, highest);
      const int column = look.column * 3;
      grid->addWidget(new QLabel(QString::fromLatin1(look.label), group), look.row, column);
      grid->addWidget(edit, look.row, column + 1);
      grid->addWidget(spin, look.row, column + 2);
      fields_[static_cast<std::size_t>(look.field)] = edit;
      const AxisField field = look.field;
      connect(edit, &QLineEdit::textChanged, this, [this, field] { OnEdited(field); });
    }
    PlainFontInside(group);
    Body()->addWidget(group);
  };
  build(Group(QStringLiteral("Y AXIS SETUP"), QStringLiteral("yAxisGroup")), kYFields, -kAxisYLimit,
        kAxisYLimit);
  build(Group(QStringLiteral("X AXIS SETUP"), QStringLiteral("xAxisGroup")), kXFields, 0,
        std::max(0, context_.pointCount));
  // A TR record always spans its 251 samples.
  const bool xFixed = context_.mode == DisplayMode::StoreTr;
  Field(AxisField::XFrom)->setEnabled(!xFixed);
  Field(AxisField::XTo)->setEnabled(!xFixed);
}

void CAxisSetupDlg::Load(const AxisValues& values) {
  const AxisTexts texts = AxisTextsOf(values);
  for (int i = 0; i < kAxisFieldCount; ++i) {
    fields_[static_cast<std::size_t>(i)]->setText(
        QString::fromStdString(texts[static_cast<std::size_t>(i)]));
  }
}

AxisTexts CAxisSetupDlg::Texts() const {
  AxisTexts texts;
  for (int i = 0; i < kAxisFieldCount; ++i) {
    texts[static_cast<std::size_t>(i)] = fields_[static_cast<std::size_t>(i)]->text().toStdString();
  }
  return texts;
}

void CAxisSetupDlg::OnEdited(AxisField field) {
  CNumberEdit* edit = Field(field);
  const QString corrected = QString::fromStdString(
      AxisTextWhileTyping(field, edit->text().toStdString(), context_.pointCount));
  if (corrected == edit->text()) return;
  const int cursor = edit->cursorPosition();
  edit->setText(corrected);
  edit->setCursorPosition(std::min(cursor, static_cast<int>(corrected.size())));
}

void CAxisSetupDlg::accept() {
  const bool running = context_.runInProgress && context_.runInProgress();
  const int rtCount = context_.rtCount ? context_.rtCount() : 0;
  const AxisCheck check = CheckAxisFields(Texts(), running, context_.mode, rtCount);
  for (const std::string& message : check.messages) {
    prompter_.Message(this, QString::fromStdString(message), MessageIcon::None);
  }
  if (!check.Valid()) return;
  accepted_ = check.values;
  SettingsDialogBase::accept();
}

}  // namespace acv
