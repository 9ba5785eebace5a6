#include "platform/QtSerialControl.h"

#include <linux/serial.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <QMetaObject>

namespace acv {

namespace {

constexpr qint32 kBaudRate = 115200;

// Qt reports a device that another program holds as PermissionError too
// (lock file and exclusive mode); the file's access rights tell the two apart.
SerialError OpenFailure(QSerialPort::SerialPortError error, const std::string& device,
                        const std::string& qtText) {
  using Kind = SerialError::Kind;
  switch (error) {
    case QSerialPort::DeviceNotFoundError:
      return SerialError(Kind::NotFound, "No such serial device: " + device);
    case QSerialPort::PermissionError:
      if (::access(device.c_str(), R_OK | W_OK) != 0) {
        return SerialError(Kind::NoPermission,
                           "Permission denied on " + device +
                               ": add yourself to the 'dialout' group (sudo usermod -aG dialout "
                               "$USER) and log in again.");
      }
      [[fallthrough]];
    case QSerialPort::OpenError:
      return SerialError(Kind::Busy, device +
                                         " is in use by another program (a modem manager, for "
                                         "example); close that program and try again.");
    default:
      return SerialError(Kind::Other, "Cannot open " + device + ": " + qtText);
  }
}

}  // namespace

QtSerialControl::QtSerialControl(PortMap map, QObject* parent)
    : QObject(parent), map_(std::move(map)) {
  clock_.start();
  connect(&port_, &QSerialPort::readyRead, this, [this] { OnReadyRead(); });
  connect(&port_, &QSerialPort::errorOccurred, this,
          [this](QSerialPort::SerialPortError error) { OnError(error); });
}

QtSerialControl::~QtSerialControl() {
  handler_ = nullptr;
  Close();
}

std::string QtSerialControl::OpenDevice() const {
  return port_.isOpen() ? port_.portName().toStdString() : std::string();
}

void QtSerialControl::SetPortOpen(bool open) {
  if (open) {
    if (!port_.isOpen()) Open();
  } else {
    Close();
  }
}

void QtSerialControl::Open() {
  const std::string device = map_.OpenPath(commPort_);
  if (device.empty()) {
    throw SerialError(SerialError::Kind::NotFound,
                      "Port " + std::to_string(commPort_) + " has no serial device");
  }
  // A full path is used as it is, so pseudo-terminals can be named too.
  port_.setPortName(QString::fromStdString(device));
  port_.setBaudRate(kBaudRate);
  port_.setDataBits(QSerialPort::Data8);
  port_.setParity(QSerialPort::NoParity);
  port_.setStopBits(QSerialPort::OneStop);
  port_.setFlowControl(QSerialPort::NoFlowControl);
  if (!port_.open(QIODevice::ReadWrite)) {
    const QSerialPort::SerialPortError error = port_.error();
    const std::string qtText = port_.errorString().toStdString();
    port_.clearError();
    throw OpenFailure(error, device, qtText);
  }
  ++generation_;
  buffer_.clear();
  arrivals_ = ArrivalPauses();
  event_ = kCommEventNone;
  if (lowLatency_) ApplyLowLatency();
}

void QtSerialControl::Close() {
  if (!port_.isOpen()) return;
  port_.close();
  port_.clearError();
  ++generation_;
  buffer_.clear();
  arrivals_.Taken();
}

void QtSerialControl::OnReadyRead() {
  Take(port_.readAll());
  ScheduleThresholdCheck();
}

void QtSerialControl::Take(const QByteArray& data) {
  if (data.isEmpty()) return;
  bytesArrived_ += static_cast<std::uint64_t>(data.size());
  arrivals_.Arrived(buffer_.size(), clock_.elapsed());
  buffer_.insert(buffer_.end(), data.begin(), data.end());
}

void QtSerialControl::ScheduleThresholdCheck() {
  if (checkQueued_) return;
  checkQueued_ = true;
  QMetaObject::invokeMethod(
      this,
      [this] {
        checkQueued_ = false;
        // The buffer is emptied at every open and close, so a check queued
        // for an earlier opening finds nothing to announce.
        if (!port_.isOpen() || threshold_ <= 0) return;
        if (buffer_.size() >= static_cast<std::size_t>(threshold_)) Notify(kCommEventReceive);
      },
      Qt::QueuedConnection);
}

void QtSerialControl::OnError(QSerialPort::SerialPortError error) {
  ++errorSignals_;
  // Failures of open() are reported by Open() itself.
  if (error == QSerialPort::NoError || !port_.isOpen()) return;
  if (error == QSerialPort::ReadError || error == QSerialPort::ResourceError) {
    if (lossQueued_) return;
    lossQueued_ = true;
    const std::uint64_t generation = generation_;
    QMetaObject::invokeMethod(
        this,
        [this, generation] {
          lossQueued_ = false;
          if (generation != generation_) return;  // closed (or reopened) meanwhile
          Close();
          Notify(kCommEventPortLost);
        },
        Qt::QueuedConnection);
    return;
  }
  port_.clearError();
  const std::uint64_t generation = generation_;
  QMetaObject::invokeMethod(
      this,
      [this, generation] {
        if (generation == generation_) Notify(kCommEventLineError);
      },
      Qt::QueuedConnection);
}

void QtSerialControl::Notify(int event) {
  event_ = event;
  if (handler_) handler_();
}

void QtSerialControl::SetRThreshold(int bytes) {
  threshold_ = bytes;
  // A lowered threshold may already be met by what is buffered.
  ScheduleThresholdCheck();
}

void QtSerialControl::DiscardInput() {
  buffer_.clear();
  arrivals_.Taken();
  if (port_.isOpen()) {
    port_.clear(QSerialPort::Input);
    (void)port_.readAll();
  }
}

void QtSerialControl::DiscardOutput() {
  if (port_.isOpen()) port_.clear(QSerialPort::Output);
}

void QtSerialControl::Output(std::span<const std::uint8_t> bytes) {
  if (!port_.isOpen()) throw SerialError(SerialError::Kind::NotOpen, "The serial port is not open");
  const auto size = static_cast<qint64>(bytes.size());
  const qint64 written = port_.write(reinterpret_cast<const char*>(bytes.data()), size);
  if (written != size) {
    throw SerialError(SerialError::Kind::Other,
                      "Cannot write to " + OpenDevice() + ": " + port_.errorString().toStdString());
  }
  port_.flush();
}

std::vector<std::uint8_t> QtSerialControl::Input() {
  if (port_.isOpen()) Take(port_.readAll());
  std::vector<std::uint8_t> out;
  out.swap(buffer_);
  arrivals_.Taken();
  return out;
}

void QtSerialControl::SetLowLatency(bool on) {
  lowLatency_ = on;
  if (port_.isOpen()) ApplyLowLatency();
}

void QtSerialControl::ApplyLowLatency() {
  // USB adapters hold received bytes for a latency timer (16 ms by default)
  // unless asked not to; pseudo-terminals have no such setting.
  const int fd = static_cast<int>(port_.handle());
  if (fd < 0) return;
  serial_struct info{};
  if (::ioctl(fd, TIOCGSERIAL, &info) != 0) return;
  if (lowLatency_)
    info.flags |= ASYNC_LOW_LATENCY;
  else
    info.flags &= ~ASYNC_LOW_LATENCY;
  (void)::ioctl(fd, TIOCSSERIAL, &info);
}

}  // namespace acv
