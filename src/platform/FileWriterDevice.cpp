#include "platform/FileWriterDevice.h"

#include <ostream>

namespace acv {

FileWriterDevice::FileWriterDevice(const std::string& path, std::vector<std::string> inputs)
    : writer_(path, std::move(inputs)) {}

bool FileWriterDevice::open(OpenMode mode) {
  if ((mode & ReadOnly) != 0) {
    error_ = "cannot write '" + writer_.Target() + "': it is opened for writing only";
    return false;
  }
  error_ = writer_.Open();
  if (!error_.empty()) {
    setErrorString(QString::fromStdString(error_));
    return false;
  }
  return QIODevice::open(mode | Unbuffered);
}

bool FileWriterDevice::Commit() {
  if (!isOpen()) return false;
  error_ = writer_.Commit();
  close();
  return error_.empty();
}

qint64 FileWriterDevice::readData(char*, qint64) {
  return -1;
}

qint64 FileWriterDevice::writeData(const char* data, qint64 size) {
  std::ostream& out = writer_.Stream();
  out.write(data, static_cast<std::streamsize>(size));
  // The error itself, with its words, comes from Commit().
  return out ? size : -1;
}

}  // namespace acv
