#include "ui/HelpWindow.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "ui/AppInfo.h"
#include "ui/Artwork.h"

// The help lives in a resource of the acv_ui library; resources of a static
// library are registered by hand (outside any namespace).
static void RegisterHelpResources() {
  Q_INIT_RESOURCE(acvlogger);
}

namespace acv {
namespace {

// An installed program (PREFIX/bin) shows the pages installed with it in
// PREFIX/share/acvlogger/help: the copy a browser shows too, which a
// packager may extend. Anywhere else (a build tree) it shows its built-in copy.
QUrl HelpDocument() {
  const QString installed = QDir::cleanPath(QCoreApplication::applicationDirPath() +
                                            QStringLiteral("/../share/acvlogger/help/index.html"));
  if (QFileInfo::exists(installed)) return QUrl::fromLocalFile(installed);
  return QUrl(QString::fromLatin1(HelpWindow::kHelpDocument));
}

}  // namespace

HelpWindow::HelpWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), browser_(new QTextBrowser(this)) {
  RegisterHelpResources();
  setObjectName(QStringLiteral("helpWindow"));
  setWindowTitle(QString::fromUtf8(kAppCaption) + QStringLiteral(" - Help"));
  setWindowIcon(AppIcon());
  auto* back = new QPushButton(QStringLiteral("< &Back"), this);
  auto* forward = new QPushButton(QStringLiteral("&Forward >"), this);
  auto* contents = new QPushButton(QStringLiteral("&Contents"), this);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(back);
  buttons->addWidget(forward);
  buttons->addWidget(contents);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(buttons);
  layout->addWidget(browser_);
  browser_->setOpenExternalLinks(true);
  browser_->setSource(HelpDocument());
  back->setEnabled(false);
  forward->setEnabled(false);
  connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
  connect(forward, &QPushButton::clicked, browser_, &QTextBrowser::forward);
  connect(contents, &QPushButton::clicked, browser_, &QTextBrowser::home);
  connect(browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);
  resize(760, 640);
}

}  // namespace acv
