#include "ui/GraphPictureFile.h"

#include <QFileInfo>
#include <QPainter>
#include <QSaveFile>
#include <QSvgGenerator>

#include "graph/CDTView.h"

namespace acv {
namespace {

// Large enough for any print, small enough to stay far from memory limits.
constexpr int kLargestSide = 10000;

std::string Failed(const QString& path, const QString& why) {
  return "The picture " + path.toStdString() + " was not written: " + why.toStdString();
}

}  // namespace

std::string SaveGraphPicture(CDTView& view, const QString& path, QSize size) {
  if (size.isEmpty()) size = view.size();
  if (size.width() < 1 || size.height() < 1 || size.width() > kLargestSide ||
      size.height() > kLargestSide) {
    return Failed(path,
                  QStringLiteral("the size must be 1 to %1 pixels each way").arg(kLargestSide));
  }
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return Failed(path, file.errorString());
  const bool svg =
      QFileInfo(path).suffix().compare(QStringLiteral("svg"), Qt::CaseInsensitive) == 0;
  bool painted = false;
  if (svg) {
    QSvgGenerator generator;
    generator.setOutputDevice(&file);
    generator.setSize(view.size());
    generator.setViewBox(QRect(QPoint(0, 0), view.size()));
    generator.setTitle(QStringLiteral("Graph"));
    view.PaintGraphOn(generator);
    painted = true;
  } else {
    painted = view.GraphPicture(false, size).save(&file, "PNG");
  }
  if (!painted) {
    file.cancelWriting();
    return Failed(path, QStringLiteral("the picture could not be encoded"));
  }
  if (!file.commit()) return Failed(path, file.errorString());
  return {};
}

}  // namespace acv
