// Help, About and printing of the graph.
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "frame/Commands.h"
#include "graph/CDTView.h"
#include "ui/AboutDialog.h"
#include "ui/CMainFrame.h"
#include "ui/HelpWindow.h"

namespace acv {
namespace {

// The graph as it is on screen, scaled to fill the page.
void RenderGraphPage(QPrinter* printer, CDTView* view) {
  QPainter painter(printer);
  const QPixmap picture = view->grab();
  const QRect page = painter.viewport();
  QSize size = picture.size();
  size.scale(page.size(), Qt::KeepAspectRatio);
  painter.setViewport(page.x(), page.y(), size.width(), size.height());
  painter.setWindow(picture.rect());
  painter.drawPixmap(0, 0, picture);
}

}  // namespace

void CMainFrame::OnHelp() {
  if (help_ == nullptr) help_ = new HelpWindow(this);
  help_->show();
  help_->raise();
  help_->activateWindow();
}

void CMainFrame::OnAbout() {
  auto* about = new AboutDialog(this);
  about->setAttribute(Qt::WA_DeleteOnClose);
  about->open();
}

void CMainFrame::OnPrint(int commandId) {
  if (printer_ == nullptr) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  // The list pages come with the data list; until then both print the graph.
  const bool preview = commandId == cmd::kPrintPreviewGraph || commandId == cmd::kPrintPreviewList;
  printer_->setPageOrientation(QPageLayout::Landscape);
  if (preview) {
    QPrintPreviewDialog dialog(printer_.get(), this);
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* printer) { RenderGraphPage(printer, view_); });
    dialog.exec();
    return;
  }
  QPrintDialog dialog(printer_.get(), this);
  if (dialog.exec() == QDialog::Accepted) RenderGraphPage(printer_.get(), view_);
}

void CMainFrame::OnPrintSetup() {
  if (printer_ == nullptr) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  QPageSetupDialog dialog(printer_.get(), this);
  dialog.exec();
}

}  // namespace acv
