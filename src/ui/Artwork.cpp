#include "ui/Artwork.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <numbers>

#include "frame/Commands.h"

namespace acv {
namespace {

const QColor kInk(40, 56, 88);
const QColor kAccent(200, 60, 40);
const QColor kWave(30, 130, 70);

// "Arial", or the face with its metrics where Arial itself is not installed.
QFont ArialFont() {
  QFont f;
  f.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
  f.setStyleHint(QFont::SansSerif);
  return f;
}

// A sine-like path across r with the given number of periods.
QPainterPath WavePath(const QRectF& r, double periods, double damping = 0.0) {
  QPainterPath path;
  const int steps = 64;
  for (int i = 0; i <= steps; ++i) {
    const double t = static_cast<double>(i) / steps;
    const double envelope = std::exp(-damping * t);
    const double y =
        r.center().y() - envelope * r.height() / 2 * std::sin(t * periods * 2 * std::numbers::pi);
    const QPointF p(r.left() + t * r.width(), y);
    if (i == 0)
      path.moveTo(p);
    else
      path.lineTo(p);
  }
  return path;
}

void DrawPrinter(QPainter& p, const QRectF& r) {
  const double u = r.width() / 16;
  p.setBrush(QColor(230, 232, 236));
  p.drawRect(QRectF(r.left() + 4 * u, r.top() + 1 * u, 8 * u, 5 * u));
  p.setBrush(QColor(170, 176, 188));
  p.drawRoundedRect(QRectF(r.left() + 1 * u, r.top() + 6 * u, 14 * u, 6 * u), u, u);
  p.setBrush(Qt::white);
  p.drawRect(QRectF(r.left() + 4 * u, r.top() + 10 * u, 8 * u, 5 * u));
}

// The symbol of a command inside r (a square), in the program's colours.
void DrawSymbol(QPainter& p, int id, const QRectF& r) {
  const double u = r.width() / 16;
  QPen pen(kInk, std::max(1.0, u));
  pen.setJoinStyle(Qt::RoundJoin);
  pen.setCapStyle(Qt::RoundCap);
  p.setPen(pen);
  switch (id) {
    case cmd::kSave: {
      p.setBrush(QColor(70, 110, 170));
      p.drawRoundedRect(r.adjusted(u, u, -u, -u), u, u);
      p.setBrush(Qt::white);
      p.drawRect(QRectF(r.left() + 4 * u, r.top() + 1 * u, 8 * u, 5 * u));
      p.setBrush(QColor(210, 214, 222));
      p.drawRect(QRectF(r.left() + 4 * u, r.top() + 9 * u, 8 * u, 6 * u));
      break;
    }
    case cmd::kOpen: {
      p.setBrush(QColor(236, 196, 90));
      QPainterPath folder;
      folder.moveTo(r.left() + u, r.top() + 3 * u);
      folder.lineTo(r.left() + 6 * u, r.top() + 3 * u);
      folder.lineTo(r.left() + 7 * u, r.top() + 5 * u);
      folder.lineTo(r.left() + 15 * u, r.top() + 5 * u);
      folder.lineTo(r.left() + 15 * u, r.top() + 14 * u);
      folder.lineTo(r.left() + u, r.top() + 14 * u);
      folder.closeSubpath();
      p.drawPath(folder);
      break;
    }
    case cmd::kCorrectTime: {
      p.setBrush(Qt::white);
      p.drawEllipse(r.adjusted(u, u, -u, -u));
      const QPointF c = r.center();
      p.drawLine(c, QPointF(c.x(), r.top() + 4 * u));
      p.setPen(QPen(kAccent, std::max(1.0, u)));
      p.drawLine(c, QPointF(r.left() + 11 * u, c.y() + 2 * u));
      break;
    }
    case cmd::kLoggerSetup: {
      for (int i = 0; i < 3; ++i) {
        const double y = r.top() + (3 + 5 * i) * u;
        p.drawLine(QPointF(r.left() + 2 * u, y), QPointF(r.right() - 2 * u, y));
        p.setBrush(i == 1 ? kAccent : QColor(70, 110, 170));
        const double x = r.left() + (4 + 4 * ((i * 2) % 3)) * u;
        p.drawRoundedRect(QRectF(x - 1.5 * u, y - 2 * u, 3 * u, 4 * u), u / 2, u / 2);
      }
      break;
    }
    case cmd::kDownload: {
      p.setBrush(QColor(70, 150, 90));
      QPainterPath arrow;
      arrow.moveTo(r.left() + 6 * u, r.top() + u);
      arrow.lineTo(r.left() + 10 * u, r.top() + u);
      arrow.lineTo(r.left() + 10 * u, r.top() + 6 * u);
      arrow.lineTo(r.left() + 13 * u, r.top() + 6 * u);
      arrow.lineTo(r.left() + 8 * u, r.top() + 11 * u);
      arrow.lineTo(r.left() + 3 * u, r.top() + 6 * u);
      arrow.lineTo(r.left() + 6 * u, r.top() + 6 * u);
      arrow.closeSubpath();
      p.drawPath(arrow);
      p.setBrush(Qt::NoBrush);
      p.drawPolyline(QPolygonF(
          {QPointF(r.left() + u, r.top() + 10 * u), QPointF(r.left() + u, r.top() + 14 * u),
           QPointF(r.right() - u, r.top() + 14 * u), QPointF(r.right() - u, r.top() + 10 * u)}));
      break;
    }
    case cmd::kDataList:
    case cmd::kTotalTypesList: {
      p.setBrush(Qt::white);
      p.drawRect(r.adjusted(2 * u, u, -2 * u, -u));
      for (int i = 0; i < 4; ++i) {
        const double y = r.top() + (4 + 3 * i) * u;
        p.drawLine(QPointF(r.left() + 4 * u, y), QPointF(r.right() - 4 * u, y));
      }
      break;
    }
    case cmd::kPrintGraph:
    case cmd::kPrintPreviewGraph: {
      DrawPrinter(p, r);
      p.setPen(QPen(kWave, std::max(1.0, u)));
      p.drawPath(WavePath(QRectF(r.left() + 4.5 * u, r.top() + 11 * u, 7 * u, 3 * u), 1.5));
      break;
    }
    case cmd::kPrintList:
    case cmd::kPrintPreviewList: {
      DrawPrinter(p, r);
      p.drawLine(QPointF(r.left() + 5 * u, r.top() + 12 * u),
                 QPointF(r.left() + 11 * u, r.top() + 12 * u));
      p.drawLine(QPointF(r.left() + 5 * u, r.top() + 13.5 * u),
                 QPointF(r.left() + 11 * u, r.top() + 13.5 * u));
      break;
    }
    case cmd::kHelpTopics: {
      p.setBrush(QColor(70, 110, 170));
      p.drawEllipse(r.adjusted(u, u, -u, -u));
      QFont f = p.font();
      f.setBold(true);
      f.setPixelSize(std::max(6, static_cast<int>(11 * u)));
      p.setFont(f);
      p.setPen(Qt::white);
      p.drawText(r, Qt::AlignCenter, QStringLiteral("?"));
      break;
    }
    case cmd::kStoreRms: {
      p.setBrush(Qt::NoBrush);
      p.drawLine(QPointF(r.left() + u, r.top() + u), QPointF(r.left() + u, r.bottom() - u));
      p.drawLine(QPointF(r.left() + u, r.bottom() - u), QPointF(r.right() - u, r.bottom() - u));
      p.setPen(QPen(kAccent, std::max(1.0, 1.3 * u)));
      QPolygonF steps;
      const double ys[] = {9, 7, 8, 5, 6, 4, 5};
      for (int i = 0; i < 7; ++i) steps << QPointF(r.left() + (2 + 2 * i) * u, r.top() + ys[i] * u);
      p.drawPolyline(steps);
      break;
    }
    case cmd::kStoreTr: {
      p.setPen(QPen(QColor(150, 150, 160), std::max(1.0, u / 2)));
      p.drawLine(QPointF(r.left() + u, r.center().y()), QPointF(r.right() - u, r.center().y()));
      p.setPen(QPen(kAccent, std::max(1.0, 1.2 * u)));
      p.drawPath(WavePath(r.adjusted(u, 2 * u, -u, -2 * u), 3.0, 2.5));
      break;
    }
    case cmd::kRun: {
      p.setBrush(QColor(60, 150, 80));
      p.drawPolygon(QPolygonF({QPointF(r.left() + 4 * u, r.top() + 2 * u),
                               QPointF(r.right() - 2 * u, r.center().y()),
                               QPointF(r.left() + 4 * u, r.bottom() - 2 * u)}));
      break;
    }
    case cmd::kStop: {
      p.setBrush(kAccent);
      p.drawRect(r.adjusted(3 * u, 3 * u, -3 * u, -3 * u));
      break;
    }
    case cmd::kPreviousMeasurement: {
      p.setBrush(Qt::white);
      p.drawEllipse(r.adjusted(2 * u, 2 * u, -u, -u));
      p.drawLine(QPointF(r.left() + 8.5 * u, r.top() + 8.5 * u),
                 QPointF(r.left() + 8.5 * u, r.top() + 4.5 * u));
      p.drawLine(QPointF(r.left() + 8.5 * u, r.top() + 8.5 * u),
                 QPointF(r.left() + 11 * u, r.top() + 10 * u));
      p.setBrush(kInk);
      p.drawPolygon(
          QPolygonF({QPointF(r.left(), r.top() + 5 * u), QPointF(r.left() + 4 * u, r.top() + 5 * u),
                     QPointF(r.left() + 2 * u, r.top() + 8 * u)}));
      break;
    }
    default: {
      // The logger itself.
      p.setBrush(QColor(250, 200, 60));
      p.drawRoundedRect(r.adjusted(3 * u, u, -3 * u, -u), 2 * u, 2 * u);
      p.setBrush(QColor(200, 230, 210));
      p.drawRect(QRectF(r.left() + 5 * u, r.top() + 3 * u, 6 * u, 4 * u));
      p.setPen(QPen(kWave, std::max(1.0, u / 2)));
      p.drawPath(WavePath(QRectF(r.left() + 5.5 * u, r.top() + 3.5 * u, 5 * u, 3 * u), 1.0));
      break;
    }
  }
}

QPixmap SymbolPixmap(int id, int size) {
  QPixmap pm(size, size);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  DrawSymbol(p, id, QRectF(0, 0, size, size));
  return pm;
}

}  // namespace

QIcon AppIcon() {
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64, 128, 256}) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const double u = size / 16.0;
    QLinearGradient g(0, 0, 0, size);
    g.setColorAt(0, QColor(250, 214, 80));
    g.setColorAt(1, QColor(224, 160, 30));
    p.setPen(QPen(kInk, std::max(1.0, u / 2)));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(2 * u, 0.5 * u, 12 * u, 15 * u), 2 * u, 2 * u);
    p.setBrush(QColor(20, 40, 30));
    p.drawRect(QRectF(3.5 * u, 2 * u, 9 * u, 6 * u));
    p.setPen(QPen(QColor(90, 240, 140), std::max(1.0, 0.7 * u)));
    p.drawPath(WavePath(QRectF(4 * u, 2.8 * u, 8 * u, 4.4 * u), 1.5));
    p.setPen(Qt::NoPen);
    p.setBrush(kAccent);
    p.drawEllipse(QPointF(5.5 * u, 11.5 * u), 1.3 * u, 1.3 * u);
    p.setBrush(kInk);
    p.drawEllipse(QPointF(10.5 * u, 11.5 * u), 1.3 * u, 1.3 * u);
    icon.addPixmap(pm);
  }
  return icon;
}

QIcon CommandIcon(int commandId) {
  if (cmd::FindCommand(commandId) == nullptr) return {};
  QIcon icon;
  for (int size : {16, 24, 32}) icon.addPixmap(SymbolPixmap(commandId, size));
  return icon;
}

QPixmap PanelButtonPicture(int commandId, const QString& text, bool pressed) {
  QPixmap pm(kPanelButtonWidth, kPanelButtonHeight);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  QRectF face(2, 2, kPanelButtonWidth - 4, kPanelButtonHeight - 4);
  QLinearGradient g(face.topLeft(), face.bottomLeft());
  g.setColorAt(0, pressed ? QColor(170, 186, 210) : QColor(250, 251, 253));
  g.setColorAt(1, pressed ? QColor(230, 236, 244) : QColor(190, 200, 214));
  p.setPen(QPen(QColor(90, 104, 128), 1.5));
  p.setBrush(g);
  p.drawRoundedRect(face, 10, 10);
  DrawSymbol(p, commandId, QRectF(14, 14, 48, 48));
  QFont f = ArialFont();
  f.setPixelSize(17);
  f.setBold(true);
  p.setFont(f);
  p.setPen(kInk);
  p.drawText(QRectF(70, 4, kPanelButtonWidth - 80, kPanelButtonHeight - 8),
             Qt::AlignVCenter | Qt::AlignLeft | Qt::TextWordWrap, text);
  return pm;
}

QPixmap InstrumentTreePicture() {
  QPixmap pm(28, 50);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(kInk, 1));
  p.setBrush(QColor(250, 200, 60));
  p.drawRoundedRect(QRectF(2.5, 2.5, 23, 45), 4, 4);
  p.setBrush(QColor(20, 40, 30));
  p.drawRect(QRectF(5.5, 6.5, 17, 12));
  p.setPen(QPen(QColor(90, 240, 140), 1));
  p.drawPath(WavePath(QRectF(6.5, 8, 15, 9), 1.5));
  p.setPen(Qt::NoPen);
  p.setBrush(kAccent);
  p.drawEllipse(QPointF(9, 38), 3, 3);
  p.setBrush(kInk);
  p.drawEllipse(QPointF(19, 38), 3, 3);
  return pm;
}

QPixmap SplashPicture() {
  QPixmap pm(kSplashWidth, kSplashHeight);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sky(0, 0, 0, kSplashHeight);
  sky.setColorAt(0, QColor(22, 38, 66));
  sky.setColorAt(1, QColor(44, 78, 120));
  p.fillRect(pm.rect(), sky);
  // Two phase-shifted waves: voltage and current.
  const QRectF band(20, 150, kSplashWidth - 40, 120);
  p.setPen(QPen(QColor(255, 210, 80, 220), 3));
  p.drawPath(WavePath(band, 3.0));
  p.save();
  p.translate(18, 0);
  p.setPen(QPen(QColor(110, 230, 160, 200), 3));
  p.drawPath(WavePath(band.adjusted(0, 25, 0, -25), 3.0));
  p.restore();
  p.setPen(QColor(255, 255, 255, 60));
  for (int x = 20; x < kSplashWidth - 20; x += 40) p.drawLine(x, 140, x, 280);
  QFont title = ArialFont();
  title.setPixelSize(34);
  title.setBold(true);
  p.setFont(title);
  p.setPen(Qt::white);
  p.drawText(QRectF(24, 28, kSplashWidth - 48, 44), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("AC Voltage-Current"));
  QFont sub = ArialFont();
  sub.setPixelSize(18);
  p.setFont(sub);
  p.setPen(QColor(210, 224, 240));
  p.drawText(QRectF(24, 76, kSplashWidth - 48, 26), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("Data logger software  \u2022  version 1.0"));
  p.drawText(QRectF(24, kSplashHeight - 36, kSplashWidth - 48, 24),
             Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("Loading\u2026"));
  return pm;
}

}  // namespace acv
