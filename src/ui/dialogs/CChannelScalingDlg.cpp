#include "ui/dialogs/CChannelScalingDlg.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <vector>

#include "data/IniFile.h"
#include "ui/Prompter.h"

namespace acv {
namespace {

constexpr const char* kUnits[kScaleFieldCount] = {"primary per secondary", "V or A per count",
                                                  "primary per secondary", "V or A per count"};
constexpr const char* kIds[kScaleFieldCount] = {"ratio1Edit", "scale1Edit", "ratio2Edit",
                                                "scale2Edit"};

}  // namespace

CChannelScalingDlg::CChannelScalingDlg(Prompter& prompter, const ChannelScaling& scaling,
                                       std::string settingsPath, QWidget* parent)
    : SettingsDialogBase(QStringLiteral("Channel Scaling"), parent),
      prompter_(prompter),
      settingsPath_(std::move(settingsPath)),
      accepted_(scaling) {
  setObjectName(QStringLiteral("channelScalingDialog"));
  QGroupBox* group = Group(QStringLiteral("CHANNEL SCALING"), QStringLiteral("scalingGroup"));
  auto* grid = new QGridLayout(group);
  const ScaleTexts texts = ScaleTextsOf(scaling);
  for (std::size_t f = 0; f < kScaleFieldCount; ++f) {
    auto* edit = new QLineEdit(QString::fromStdString(texts[f]), group);
    edit->setObjectName(QString::fromLatin1(kIds[f]));
    edit->setMaximumWidth(110);
    const int row = static_cast<int>(f);
    grid->addWidget(new QLabel(QString::fromLatin1(ScaleFieldName(f)), group), row, 0);
    grid->addWidget(edit, row, 1);
    grid->addWidget(new QLabel(QString::fromLatin1(kUnits[f]), group), row, 2);
    fields_[f] = edit;
  }
  auto* howTo = new QLabel(QString::fromLatin1(kScaleHowTo), group);
  howTo->setObjectName(QStringLiteral("scaleHowTo"));
  howTo->setWordWrap(true);
  grid->addWidget(howTo, static_cast<int>(kScaleFieldCount), 0, 1, 3);
  PlainFontInside(group);
  Body()->addWidget(group);
  // The buttons were made first; the keyboard goes down the fields first.
  std::vector<QWidget*> order(fields_.begin(), fields_.end());
  order.insert(order.end(), {OkButton(), CancelButton()});
  for (std::size_t i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
  fields_[0]->setFocus(Qt::OtherFocusReason);
}

void CChannelScalingDlg::accept() {
  ScaleTexts texts;
  for (std::size_t f = 0; f < kScaleFieldCount; ++f) texts[f] = fields_[f]->text().toStdString();
  const ScalingCheck check = CheckScaleTexts(texts);
  if (!check.problem.empty()) {
    prompter_.Message(this, QString::fromStdString(check.problem), MessageIcon::Warning);
    fields_.at(check.field)->setFocus(Qt::OtherFocusReason);
    fields_.at(check.field)->selectAll();
    return;
  }
  accepted_ = check.scaling;
  // The scaling applies in any case; a file that cannot be written is said,
  // and the settings are tried again when the program closes.
  if (!settingsPath_.empty()) {
    IniFile ini = IniFile::Load(settingsPath_);
    WriteChannelScaling(ini, accepted_);
    if (const std::string error = ini.Save(settingsPath_); !error.empty()) {
      prompter_.Message(
          this,
          QStringLiteral("The scaling applies, but could not be written to %1: %2")
              .arg(QString::fromStdString(settingsPath_), QString::fromStdString(error)),
          MessageIcon::Warning);
    }
  }
  SettingsDialogBase::accept();
}

}  // namespace acv
