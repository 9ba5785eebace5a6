#include "graph/GraphPictureFile.h"

#include <QFileInfo>
#include <QPainter>
#include <QSvgGenerator>

#include "graph/CDTView.h"
#include "platform/FileWriterDevice.h"

namespace acv {
namespace {

// Large enough for any print, small enough to stay far from memory limits.
constexpr int kLargestSide = 10000;

std::string Failed(const QString& path, const QString& why) {
  return "The picture " + path.toStdString() + " was not written: " + why.toStdString();
}

std::string NotWritten(const std::string& writerError) {
  return writerError.empty() ? writerError : "The picture was not written: " + writerError;
}

}  // namespace

std::string SaveGraphPicture(CDTView& view, const QString& path, QSize size) {
  if (size.isEmpty()) size = view.GraphPictureSize();
  if (size.width() < 1 || size.height() < 1 || size.width() > kLargestSide ||
      size.height() > kLargestSide) {
    return Failed(path,
                  QStringLiteral("the size must be 1 to %1 pixels each way").arg(kLargestSide));
  }
  if (QFileInfo(path).suffix().compare(QStringLiteral("svg"), Qt::CaseInsensitive) != 0) {
    return NotWritten(SavePictureFile(view.GraphPicture(false, size), path));
  }
  // The face is painted whole; the view box shows the graph below the strip.
  const QSize graph = view.GraphPictureSize();
  return NotWritten(SaveSvgFile(path, QRect(QPoint(0, view.height() - graph.height()), graph),
                                [&view](QPaintDevice& svg) { view.PaintGraphOn(svg); }));
}

std::string SaveSvgFile(const QString& path, const QRect& viewBox,
                        const std::function<void(QPaintDevice&)>& paint,
                        std::vector<std::string> inputs) {
  FileWriterDevice file(path.toStdString(), std::move(inputs));
  if (!file.open(QIODevice::WriteOnly)) return file.Error();
  {
    QSvgGenerator generator;
    generator.setOutputDevice(&file);
    generator.setSize(viewBox.size());
    generator.setViewBox(viewBox);
    generator.setTitle(QStringLiteral("Graph"));
    paint(generator);
  }
  file.Commit();
  return file.Error();
}

std::string SavePictureFile(const QImage& image, const QString& path,
                            std::vector<std::string> inputs) {
  const QByteArray format = QFileInfo(path).suffix().toLower().toLatin1();
  FileWriterDevice file(path.toStdString(), std::move(inputs));
  if (!file.open(QIODevice::WriteOnly)) return file.Error();
  // Without Commit() the target stays as it was.
  if (!image.save(&file, format.isEmpty() ? "png" : format.constData())) {
    return "cannot write '" + path.toStdString() + "': the picture could not be encoded";
  }
  file.Commit();
  return file.Error();
}

}  // namespace acv
