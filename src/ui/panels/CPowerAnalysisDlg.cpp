#include "ui/panels/CPowerAnalysisDlg.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace acv {
namespace {

const QColor kPanelGrey(230, 230, 230);
const QColor kPanelText(52, 72, 107);

QFont ValueFont() {
  QFont f;
  f.setFamilies({QStringLiteral("Arial Black"), QStringLiteral("Liberation Sans")});
  f.setStyleHint(QFont::SansSerif);
  f.setPixelSize(35);
  f.setWeight(QFont::Black);
  return f;
}

QLineEdit* ValueEdit(const QString& name) {
  auto* edit = new QLineEdit;
  edit->setObjectName(name);
  edit->setReadOnly(true);
  edit->setFocusPolicy(Qt::NoFocus);
  return edit;
}

// One read-only value in large digits under its label.
QLineEdit* AddLarge(QVBoxLayout* layout, QLabel* label, const QString& name) {
  layout->addWidget(label);
  QLineEdit* edit = ValueEdit(name);
  edit->setFont(ValueFont());
  layout->addWidget(edit);
  return edit;
}

// A secondary value in the panel's ordinary text, its label beside it.
QLineEdit* AddSmall(QFormLayout* rows, QLabel* label, const QString& name) {
  QLineEdit* edit = ValueEdit(name);
  rows->addRow(label, edit);
  return edit;
}

QFormLayout* SmallRows(QVBoxLayout* layout) {
  auto* rows = new QFormLayout;
  rows->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
  layout->addLayout(rows);
  return rows;
}

}  // namespace

CPowerAnalysisDlg::CPowerAnalysisDlg(QWidget* owner) : ToolWindow(owner) {
  setObjectName(QStringLiteral("powerAnalysisPanel"));
  setWindowTitle(QStringLiteral("Electric Power Analysis"));
  QPalette look = palette();
  for (QPalette::ColorRole role : {QPalette::Window, QPalette::Base, QPalette::Button}) {
    look.setColor(role, kPanelGrey);
  }
  for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
    look.setColor(role, kPanelText);
  }
  setPalette(look);
  setAutoFillBackground(true);

  auto* outer = new QVBoxLayout(this);
  auto* whole = new QGroupBox(QStringLiteral("BASIC POWER  ANALYSIS"));
  outer->addWidget(whole);
  auto* layout = new QVBoxLayout(whole);

  // Each channel: its RMS, and the phase of its fundamental.
  const std::array<QString, 2> channelNames{QStringLiteral("CH1"), QStringLiteral("CH2")};
  std::array<QLineEdit*, 2> rms{};
  for (std::size_t c = 0; c < 2; ++c) {
    auto* box = new QGroupBox(channelNames[c]);
    auto* inner = new QVBoxLayout(box);
    const QString prefix = channelNames[c].toLower();
    rms[c] = AddLarge(inner, new QLabel(QStringLiteral("RMS")), prefix + QStringLiteral("Rms"));
    phaseLabel_[c] = new QLabel;
    phase_[c] = AddSmall(SmallRows(inner), phaseLabel_[c], prefix + QStringLiteral("Phase"));
    layout->addWidget(box);
  }
  ch1Rms_ = rms[0];
  ch2Rms_ = rms[1];

  auto* powerBox = new QGroupBox(QStringLiteral("POWER FACTOR ANALYSIS"));
  auto* power = new QVBoxLayout(powerBox);
  apparentPower_ =
      AddLarge(power, new QLabel(QStringLiteral("S(VA)")), QStringLiteral("apparentPower"));
  activePower_ =
      AddLarge(power, new QLabel(QStringLiteral("  P(w)")), QStringLiteral("activePower"));
  powerFactorLabel_ = new QLabel;
  powerFactor_ = AddLarge(power, powerFactorLabel_, QStringLiteral("powerFactor"));
  QFormLayout* rows = SmallRows(power);
  reactivePower_ =
      AddSmall(rows, new QLabel(QStringLiteral("Q(var)")), QStringLiteral("reactivePower"));
  phaseDifferenceLabel_ = new QLabel;
  phaseDifference_ = AddSmall(rows, phaseDifferenceLabel_, QStringLiteral("phaseDifference"));
  layout->addWidget(powerBox);
  layout->addStretch(1);
  // 111 x 306 dialog units of the system font.
  resize(167, 497);
}

void CPowerAnalysisDlg::Show(const PowerPanelData& data) {
  const auto text = [](const std::string& s) { return QString::fromStdString(s); };
  ch1Rms_->setText(text(data.RmsText(0)));
  ch2Rms_->setText(text(data.RmsText(1)));
  apparentPower_->setText(text(data.ApparentPowerText()));
  activePower_->setText(text(data.power.activePower));
  reactivePower_->setText(text(data.power.reactivePower));
  powerFactor_->setText(text(data.power.powerFactor));
  phaseDifference_->setText(text(data.power.phaseDifference));
  for (std::size_t c = 0; c < 2; ++c) phase_[c]->setText(text(data.power.phase[c]));
  phaseLabel_[0]->setText(text(data.phaseLabel1));
  phaseLabel_[1]->setText(text(data.phaseLabel2));
  phaseDifferenceLabel_->setText(text(data.phaseDifferenceLabel));
  powerFactorLabel_->setText(text(data.powerFactorLabel));
}

}  // namespace acv
