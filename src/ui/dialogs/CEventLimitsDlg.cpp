#include "ui/dialogs/CEventLimitsDlg.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <vector>

#include "ui/Prompter.h"

namespace acv {
namespace {

struct FieldLook {
  LimitField field;
  const char* label;
  const char* unit;
  const char* id;
};

constexpr FieldLook kFields[] = {
    {LimitField::Nominal, "Nominal voltage Un", "V", "nominalEdit"},
    {LimitField::Dip, "Dip below", "% of Un", "dipEdit"},
    {LimitField::Swell, "Swell above", "% of Un", "swellEdit"},
    {LimitField::Interruption, "Interruption below", "% of Un", "interruptionEdit"},
    {LimitField::Hysteresis, "Hysteresis", "% of Un", "hysteresisEdit"},
    {LimitField::OverCurrent, "Over-current above", "A (empty: none)", "overCurrentEdit"},
    {LimitField::Band, "Band Un ±", "% of Un", "bandEdit"},
    {LimitField::Frequency, "Nominal frequency", "Hz (50 or 60)", "frequencyEdit"},
};

}  // namespace

CEventLimitsDlg::CEventLimitsDlg(Prompter& prompter, const EventLimits& limits,
                                 std::string settingsPath, QWidget* parent)
    : SettingsDialogBase(QStringLiteral("Event Limits"), parent),
      prompter_(prompter),
      settingsPath_(std::move(settingsPath)),
      defaults_(new QPushButton(QStringLiteral("&Defaults"), this)) {
  setObjectName(QStringLiteral("eventLimitsDialog"));
  QGroupBox* group = Group(QStringLiteral("EVENT LIMITS"), QStringLiteral("eventLimitsGroup"));
  auto* grid = new QGridLayout(group);
  int row = 0;
  for (const FieldLook& look : kFields) {
    auto* edit = new QLineEdit(group);
    edit->setObjectName(QString::fromLatin1(look.id));
    edit->setMaximumWidth(110);
    grid->addWidget(new QLabel(QString::fromUtf8(look.label), group), row, 0);
    grid->addWidget(edit, row, 1);
    grid->addWidget(new QLabel(QString::fromLatin1(look.unit), group), row, 2);
    fields_[static_cast<std::size_t>(look.field)] = edit;
    ++row;
  }
  defaults_->setObjectName(QStringLiteral("defaultsButton"));
  grid->addWidget(defaults_, row, 1);
  PlainFontInside(group);
  Body()->addWidget(group);
  connect(defaults_, &QPushButton::clicked, this, [this] { Load(EventLimits{}); });
  // The buttons were made first; the keyboard goes down the fields first.
  std::vector<QWidget*> order(fields_.begin(), fields_.end());
  order.insert(order.end(), {defaults_, OkButton(), CancelButton()});
  for (std::size_t i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
  fields_[0]->setFocus(Qt::OtherFocusReason);
  Load(limits);
}

void CEventLimitsDlg::Load(const EventLimits& limits) {
  const LimitTexts texts = LimitTextsOf(limits);
  for (int i = 0; i < kLimitFieldCount; ++i) {
    fields_[static_cast<std::size_t>(i)]->setText(
        QString::fromStdString(texts[static_cast<std::size_t>(i)]));
  }
}

void CEventLimitsDlg::accept() {
  LimitTexts texts;
  for (int i = 0; i < kLimitFieldCount; ++i) {
    texts[static_cast<std::size_t>(i)] = fields_[static_cast<std::size_t>(i)]->text().toStdString();
  }
  const LimitsCheck check = CheckLimitTexts(texts);
  if (!check.problem.empty()) {
    prompter_.Message(this, QString::fromStdString(check.problem), MessageIcon::Warning);
    return;
  }
  accepted_ = check.limits;
  // The limits apply in any case; a file that cannot be written is said,
  // and the settings are tried again when the program closes.
  if (!settingsPath_.empty()) {
    if (const std::string error = SaveEventLimits(accepted_, settingsPath_); !error.empty()) {
      prompter_.Message(
          this,
          QStringLiteral("The limits apply, but could not be written to %1: %2")
              .arg(QString::fromStdString(settingsPath_), QString::fromStdString(error)),
          MessageIcon::Warning);
    }
  }
  SettingsDialogBase::accept();
}

}  // namespace acv
