#include "ui/panels/CPowerAnalysisDlg.h"

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

// One read-only value in large digits with its label, in a group box.
QLineEdit* AddValue(QVBoxLayout* layout, const QString& group, const QString& label,
                    const QString& name) {
  auto* box = new QGroupBox(group);
  auto* inner = new QVBoxLayout(box);
  inner->addWidget(new QLabel(label));
  auto* edit = new QLineEdit;
  edit->setObjectName(name);
  edit->setReadOnly(true);
  edit->setFocusPolicy(Qt::NoFocus);
  edit->setFont(ValueFont());
  inner->addWidget(edit);
  layout->addWidget(box);
  return edit;
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
  ch1Rms_ =
      AddValue(layout, QStringLiteral("CH1"), QStringLiteral("RMS"), QStringLiteral("ch1Rms"));
  ch2Rms_ =
      AddValue(layout, QStringLiteral("CH2"), QStringLiteral("RMS"), QStringLiteral("ch2Rms"));
  apparentPower_ = AddValue(layout, QStringLiteral("POWER FACTOR ANALYSIS"),
                            QStringLiteral("S(VA)"), QStringLiteral("apparentPower"));
  layout->addStretch(1);
  // 111 x 306 dialog units of the system font.
  resize(167, 497);
}

void CPowerAnalysisDlg::Show(const PowerPanelData& data) {
  ch1Rms_->setText(QString::fromStdString(data.channel[0].rms));
  ch2Rms_->setText(QString::fromStdString(data.channel[1].rms));
  apparentPower_->setText(QString::fromStdString(data.apparentPower));
}

}  // namespace acv
