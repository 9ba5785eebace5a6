#include "ui/dialogs/CColorSetupDlg.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QVBoxLayout>

#include "graph/GraphPainter.h"
#include "graph/geometry/Colours.h"

namespace acv {
namespace {

QIcon Swatch(int index, QSize size) {
  QPixmap pixmap(size);
  pixmap.fill(ToQColor(colourOf(index)));
  QPainter p(&pixmap);
  p.setPen(Qt::black);
  p.drawRect(0, 0, size.width() - 1, size.height() - 1);
  return QIcon(pixmap);
}

}  // namespace

CColorComboBox::CColorComboBox(QWidget* parent) : QComboBox(parent) {
  setIconSize(QSize(110, 14));
  setMinimumWidth(150);
}

void CColorComboBox::Fill(int index) {
  clear();
  for (int entry : ColourListEntries()) {
    addItem(Swatch(entry, iconSize()), QString(), entry);
    // The name is for screen readers and tests, never shown.
    setItemData(count() - 1,
                QString::fromLatin1(ColourName(entry).data(),
                                    static_cast<qsizetype>(ColourName(entry).size())),
                Qt::AccessibleTextRole);
  }
  // A colour the list skipped as a repeat is shown by its first entry.
  int at = 0;
  for (int i = 0; i < count(); ++i) {
    if (colourOf(itemData(i).toInt()) == colourOf(index)) {
      at = i;
      break;
    }
  }
  setCurrentIndex(at);
}

int CColorComboBox::SelectedIndex() const {
  return currentData().toInt();
}

CColorSetupDlg::CColorSetupDlg(QWidget* parent)
    : SettingsDialogBase(QStringLiteral("Color Setup"), parent),
      background_(new CColorComboBox(this)),
      ch1_(new CColorComboBox(this)),
      ch2_(new CColorComboBox(this)),
      ch3_(new CColorComboBox(this)),
      grid_(new CColorComboBox(this)) {
  setObjectName(QStringLiteral("colorSetupDialog"));
  QGroupBox* group = Group(QStringLiteral("COLOR SETUP"), QStringLiteral("colorGroup"));
  auto* form = new QFormLayout(group);
  const struct {
    CColorComboBox* list;
    const char* label;
    const char* id;
  } rows[] = {{background_, "Background:", "list1140"},
              {ch1_, "CH1:", "list1141"},
              {ch2_, "CH2:", "list1142"},
              {ch3_, "CH3:", "list1144"},
              {grid_, "Grid:", "list1143"}};
  for (const auto& row : rows) {
    row.list->setObjectName(QString::fromLatin1(row.id));
    auto* label = new QLabel(QString::fromLatin1(row.label), group);
    form->addRow(label, row.list);
    // No third channel is ever drawn: its list exists only to carry the value.
    if (row.list == ch3_) {
      for (QWidget* w : {static_cast<QWidget*>(label), static_cast<QWidget*>(ch3_)}) {
        w->setEnabled(false);
        w->setVisible(false);
      }
      form->setRowVisible(ch3_, false);
    }
  }
  PlainFontInside(group);
  Body()->addWidget(group);
}

void CColorSetupDlg::Load(const ColourChoice& c) {
  background_->Fill(c.background);
  ch1_->Fill(c.ch1);
  ch2_->Fill(c.ch2);
  ch3_->Fill(c.ch3);
  grid_->Fill(c.grid);
}

ColourChoice CColorSetupDlg::Choice() const {
  return {background_->SelectedIndex(), ch1_->SelectedIndex(), ch2_->SelectedIndex(),
          ch3_->SelectedIndex(), grid_->SelectedIndex()};
}

}  // namespace acv
