#include "ui/dialogs/CSiteDlg.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "ui/Prompter.h"

namespace acv {
namespace {

constexpr const char* kScaleIds[kScaleFieldCount] = {"siteRatio1", "siteScale1", "siteRatio2",
                                                     "siteScale2"};

}  // namespace

CSiteDlg::CSiteDlg(Prompter& prompter, const std::string& name, const SiteValues& site,
                   QWidget* parent)
    : SettingsDialogBase(QStringLiteral("Site %1").arg(QString::fromStdString(name)), parent),
      prompter_(prompter),
      accepted_(site) {
  setObjectName(QStringLiteral("siteDialog"));
  const SiteTexts texts = SiteTextsOf(site);
  QGroupBox* group = Group(QStringLiteral("SITE"), QStringLiteral("siteGroup"));
  auto* grid = new QGridLayout(group);
  int row = 0;
  const auto field = [&](const QString& label, const std::string& text, const char* id,
                         const QString& unit) {
    auto* edit = new QLineEdit(QString::fromStdString(text), group);
    edit->setObjectName(QString::fromLatin1(id));
    edit->setMaximumWidth(110);
    grid->addWidget(new QLabel(label, group), row, 0);
    grid->addWidget(edit, row, 1);
    grid->addWidget(new QLabel(unit, group), row, 2);
    ++row;
    return edit;
  };
  nominal_ = field(QStringLiteral("Nominal voltage Un"), texts.nominal, "siteNominal",
                   QStringLiteral("V, primary"));
  frequency_ = field(QStringLiteral("Line frequency"), texts.frequency, "siteFrequency",
                     QStringLiteral("Hz (50 or 60)"));
  for (std::size_t f = 0; f < kScaleFieldCount; ++f) {
    scaling_[f] =
        field(QString::fromLatin1(ScaleFieldName(f)), texts.scaling[f], kScaleIds[f],
              QString::fromLatin1(f % 2 == 0 ? "primary per secondary" : "V or A per count"));
  }
  grid->addWidget(new QLabel(QStringLiteral("Notes"), group), row, 0, Qt::AlignTop);
  notes_ = new QPlainTextEdit(QString::fromStdString(texts.notes), group);
  notes_->setObjectName(QStringLiteral("siteNotes"));
  notes_->setTabChangesFocus(true);
  notes_->setFixedHeight(notes_->fontMetrics().height() * 4 + 12);
  grid->addWidget(notes_, row, 1, 1, 2);
  ++row;
  auto* hint = new QLabel(
      QStringLiteral("A new nominal voltage or scaling finds the events of the site's "
                     "measurements again. The stored points stay as the logger sent them."),
      group);
  hint->setWordWrap(true);
  grid->addWidget(hint, row, 0, 1, 3);
  PlainFontInside(group);
  Body()->addWidget(group);
  nominal_->setFocus(Qt::OtherFocusReason);
}

void CSiteDlg::accept() {
  SiteTexts texts;
  texts.nominal = nominal_->text().toStdString();
  texts.frequency = frequency_->text().toStdString();
  for (std::size_t f = 0; f < kScaleFieldCount; ++f)
    texts.scaling[f] = scaling_[f]->text().toStdString();
  texts.notes = notes_->toPlainText().toStdString();
  const SiteCheck check = CheckSiteTexts(texts);
  if (!check.problem.empty()) {
    prompter_.Message(this, QString::fromStdString(check.problem), MessageIcon::Warning);
    return;
  }
  accepted_ = check.values;
  SettingsDialogBase::accept();
}

}  // namespace acv
