#include "ui/panels/CInfoPanelDlg.h"

#include <QFontMetrics>
#include <QPainter>
#include <QScrollBar>

namespace acv {
namespace {

const QColor kPanelGrey(230, 230, 230);

QFont PanelFont(const char* family, int pixelSize, QFont::Weight weight) {
  QFont f;
  // Liberation Sans has Arial's metrics where Arial itself is missing.
  f.setFamilies({QString::fromLatin1(family), QStringLiteral("Liberation Sans")});
  f.setStyleHint(QFont::SansSerif);
  f.setPixelSize(pixelSize);
  f.setWeight(weight);
  return f;
}

}  // namespace

CInfoPanelDlg::CInfoPanelDlg(QWidget* parent)
    : QWidget(parent),
      bodyFont_(PanelFont("Arial", 14, QFont::Normal)),
      headingFont_(PanelFont("Arial Black", 12, QFont::Black)),
      scrollBar_(new QScrollBar(Qt::Vertical, this)) {
  setObjectName(QStringLiteral("infoPanel"));
  setAttribute(Qt::WA_OpaquePaintEvent);
  scrollBar_->setObjectName(QStringLiteral("infoPanelScrollBar"));
  scrollBar_->setRange(0, 0);
  scrollBar_->setPageStep(2);
  scrollBar_->setEnabled(false);
  scrollBar_->setFocusPolicy(Qt::NoFocus);
  LayOut();
}

void CInfoPanelDlg::Show(DisplayMode mode, bool plotCh1, bool plotCh2, const InfoTexts& texts) {
  mode_ = mode;
  plotCh1_ = plotCh1;
  plotCh2_ = plotCh2;
  texts_ = texts;
  LayOut();
  update();
}

void CInfoPanelDlg::LayOut() {
  const int barWidth = scrollBar_->sizeHint().width();
  scrollBar_->setGeometry(width() - barWidth, 0, barWidth, height());
  // The client area ends at the scroll bar.
  face_ = LayOutInfoPanel(mode_, plotCh1_, plotCh2_, texts_, std::max(0, width() - barWidth),
                          scrollBar_->value());
}

void CInfoPanelDlg::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  LayOut();
}

void CInfoPanelDlg::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const int w = std::max(0, width() - scrollBar_->width());
  p.fillRect(QRect(0, 0, w, height()), kPanelGrey);
  p.setPen(Qt::black);
  const int bodyAscent = QFontMetrics(bodyFont_).ascent();
  const int headingAscent = QFontMetrics(headingFont_).ascent();
  auto draw = [&](const InfoPanelText& t) {
    p.setFont(t.heading ? headingFont_ : bodyFont_);
    p.drawText(t.x, t.y + (t.heading ? headingAscent : bodyAscent), QString::fromStdString(t.text));
  };
  for (const InfoPanelText& t : face_.texts) draw(t);
  for (int y : face_.lines) p.drawLine(0, y, w, y);
  if (!face_.headingBand) return;
  p.fillRect(QRect(0, 0, w, 20), kPanelGrey);
  draw(face_.heading);
  for (int y : face_.headingLines) p.drawLine(0, y, w, y);
}

}  // namespace acv
