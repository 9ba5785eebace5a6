#include "ui/panels/CInstrumentPanelDlg.h"

#include <QPainter>
#include <QVBoxLayout>

#include "frame/Commands.h"
#include "ui/Artwork.h"

namespace acv {

PanelPictureButton::PanelPictureButton(int commandId, const QString& text, QWidget* parent)
    : QAbstractButton(parent), commandId_(commandId) {
  setText(text);
  setCursor(Qt::PointingHandCursor);
  setFocusPolicy(Qt::StrongFocus);
  if (const cmd::CommandInfo* info = cmd::FindCommand(commandId)) {
    setToolTip(QString::fromUtf8(info->prompt));
  }
}

QSize PanelPictureButton::sizeHint() const {
  return {kPanelButtonWidth, kPanelButtonHeight};
}

void PanelPictureButton::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  const QPixmap picture = PanelButtonPicture(commandId_, text(), isDown());
  p.drawPixmap(rect(), picture);
  if (!isEnabled()) p.fillRect(rect(), QColor(200, 200, 200, 140));
  if (hasFocus()) {
    p.setPen(QPen(palette().highlight().color(), 1, Qt::DotLine));
    p.drawRect(rect().adjusted(4, 4, -5, -5));
  }
}

CInstrumentPanelDlg::CInstrumentPanelDlg(CommandSink send, QWidget* parent)
    : QWidget(parent), send_(std::move(send)) {
  setObjectName(QStringLiteral("instrumentPanel"));
  setFixedSize(kInstrumentPanelWidth, kInstrumentPanelHeight);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  const std::pair<int, const char*> buttons[] = {
      {cmd::kCorrectTime, "Correct Time"},
      {cmd::kLoggerSetup, "Datalogger Setup"},
      {cmd::kDownload, "Download Data"},
      {cmd::kOpen, "Open Existing Document"},
      {cmd::kHelpTopics, "Help"},
      // Shown here, so the real-time reading can be started without a menu.
      {cmd::kRun, "RUN"},
  };
  for (const auto& [id, text] : buttons) {
    auto* button = new PanelPictureButton(id, QString::fromUtf8(text), this);
    button->setObjectName(QStringLiteral("panelButton%1").arg(id));
    layout->addWidget(button);
    const int commandId = id;
    connect(button, &QAbstractButton::clicked, this, [this, commandId] {
      if (send_) send_(commandId);
    });
  }
}

PanelPictureButton* CInstrumentPanelDlg::ButtonFor(int commandId) const {
  for (PanelPictureButton* b : findChildren<PanelPictureButton*>()) {
    if (b->CommandId() == commandId) return b;
  }
  return nullptr;
}

}  // namespace acv
