#include "ui/dialogs/CViewOptionsDlg.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

namespace acv {
namespace {

struct BoxLook {
  ViewOption option;
  const char* text;
  const char* id;
  bool shown;
};

constexpr BoxLook kBoxes[kViewOptionCount] = {
    {ViewOption::Ch1, "CH1", "check1152", true},
    {ViewOption::Ch2, "CH2", "check1155", true},
    {ViewOption::Ch3, "CH3", "check1161", false},
    {ViewOption::CapLevel, "CAP Detection level", "check1153", false},
    {ViewOption::Ch2Alarm, "CH2 Alarm", "check1156", false},
    {ViewOption::Ch3Alarm, "CH3 Alarm", "check1162", false},
    {ViewOption::MarkPoints, "Mark Points", "check1158", true},
    {ViewOption::YGrid, "Y Axis", "check1160", true},
    {ViewOption::XGrid, "X Axis", "check1159", true},
};

}  // namespace

CViewOptionsDlg::CViewOptionsDlg(const ViewOptionValues& options, std::uint8_t plotStyle,
                                 const std::function<void(std::uint8_t)>& setPlotStyle,
                                 QWidget* parent)
    : SettingsDialogBase(QStringLiteral("View "), parent),
      style0_(new QRadioButton(QStringLiteral("Line"), this)),
      style1_(new QRadioButton(QStringLiteral("Points"), this)) {
  setObjectName(QStringLiteral("viewOptionsDialog"));
  QGroupBox* group = Group(QStringLiteral("VIEW"), QStringLiteral("viewGroup"));
  auto* grid = new QGridLayout(group);
  int shownRow = 0;
  for (const BoxLook& look : kBoxes) {
    auto* box = new QCheckBox(QString::fromLatin1(look.text), group);
    box->setObjectName(QString::fromLatin1(look.id));
    box->setChecked(options[static_cast<std::size_t>(look.option)]);
    boxes_[static_cast<std::size_t>(look.option)] = box;
    if (look.shown) {
      grid->addWidget(box, shownRow / 2, shownRow % 2);
      ++shownRow;
    } else {
      box->hide();
    }
  }
  PlainFontInside(group);
  Body()->addWidget(group);

  // The hidden "PLOT GRAPH" group: its buttons act at the click.
  auto* plotGroup = new QGroupBox(QStringLiteral("PLOT GRAPH"), this);
  plotGroup->setObjectName(QStringLiteral("plotGraphGroup"));
  style0_->setObjectName(QStringLiteral("radio1163"));
  style1_->setObjectName(QStringLiteral("radio1164"));
  auto* plotRow = new QVBoxLayout(plotGroup);
  plotRow->addWidget(style0_);
  plotRow->addWidget(style1_);
  (plotStyle == 0 ? style0_ : style1_)->setChecked(true);
  plotGroup->hide();
  connect(style0_, &QRadioButton::clicked, this, [setPlotStyle] { setPlotStyle(0); });
  connect(style1_, &QRadioButton::clicked, this, [setPlotStyle] { setPlotStyle(1); });
}

ViewOptionValues CViewOptionsDlg::Options() const {
  ViewOptionValues options{};
  for (int i = 0; i < kViewOptionCount; ++i) {
    options[static_cast<std::size_t>(i)] = boxes_[static_cast<std::size_t>(i)]->isChecked();
  }
  return options;
}

}  // namespace acv
