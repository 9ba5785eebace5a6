#pragma once
// A QIODevice over the program's one file writer (data/FileIO.h), so that
// Qt's own writers (PDF pages, images, SVG) save as every other file does:
// a regular file appears whole or not at all, a device or a pipe is written
// in place, a folder or one of the command's inputs is refused.
#include <QIODevice>
#include <string>
#include <vector>

#include "data/FileIO.h"

namespace acv {

class FileWriterDevice : public QIODevice {
 public:
  explicit FileWriterDevice(const std::string& path, std::vector<std::string> inputs = {});

  // Opens for writing only; on false Error() says why.
  bool open(OpenMode mode) override;
  bool isSequential() const override { return true; }
  // Puts the file in place once everything was written; false with Error()
  // otherwise. Without Commit() the target stays as it was.
  bool Commit();
  const std::string& Error() const { return error_; }

 protected:
  qint64 readData(char* data, qint64 maxSize) override;
  qint64 writeData(const char* data, qint64 size) override;

 private:
  AtomicFileWriter writer_;
  std::string error_;
};

}  // namespace acv
